#include "old_data_conversion.h"

#include "framework/core/progress.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/config/configuration.h"
#include "old_archive_converter.h"

#include <QMap>
#include <QSet>

#include <functional>

namespace {

const QString kProcess = QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::Process");
// Rows read per statement where the conversion walks a table in C++.
constexpr int kPageRows = 5000;
// Rows per INSERT where the conversion writes row by row.
constexpr int kBatchRows = 100;
// Material types of the generated materials.
constexpr int kGeneratedGroupType = 0x70FFF;
constexpr int kSyringesBackType = 0x60001;
constexpr int kNeedlesBackType = 0x60002;
// Old settings numbers that survive, and their numbers in the current
// schema: the conversion's own renumbering, then the later schema step that
// multiplied every number but 1 by 100.
const QList<QPair<qint64, int>> kOrgInfoNumbers = {
    {2147483640, 1}, {2, 2},   {4, 5},   {5, 6},  {7, 7},  {8, 9},   {9, 8},   {11, 10},
    {12, 12},        {13, 13}, {14, 11}, {15, 3}, {18, 4}, {24, 15}, {26, 14},
};
// The settings that make the organisation card, in the order of its columns.
const int kOrgCardNumbers[15] = {200, 300,  400,  500,  550,  600,  700, 800,
                                 900, 1000, 1100, 1200, 1300, 1400, 1500};

constexpr CxTr Tr;

// A value of a row as an SQL literal: NULL, a checked number, or a quoted text.
QString Literal(const CxResult& res, const char* column, bool numeric) {
    const int pos = res.FieldPos(QString::fromLatin1(column), 1);
    if (pos < 0 || res.IsNull(pos))
        return QStringLiteral("NULL");
    const QString value = res.SFieldValue(pos);
    if (numeric) {
        bool ok = false;
        const qint64 n = value.trimmed().toLongLong(&ok);
        return ok ? QString::number(n) : QStringLiteral("NULL");
    }
    return SafeSQL(value);
}

QString Number(const CxResult& res, const char* column) {
    return Literal(res, column, true);
}
QString Text(const CxResult& res, const char* column) {
    return Literal(res, column, false);
}

// The entry's name without a leading "(...)" and without outer blanks.
QString NormalisedName(const QString& name) {
    QString out = name;
    if (out.startsWith(u'(')) {
        const qsizetype close = out.indexOf(u')');
        if (close >= 0)
            out = out.mid(close + 1);
    }
    return out.trimmed();
}

// The text of an item of the direction and consulting list of the
// configuration in use; empty without a configuration.
QString GroupTitle(int code) {
    xConfiguration* config = CurrentConfiguration();
    if (!config)
        return QString();
    return config->GetCurrentLanguage()->DirectionAndConsulting.IDToString(code, QString());
}

// Writes rows in multi-row INSERTs of kBatchRows through exec.
class BatchInsert {
public:
    BatchInsert(std::function<bool(const QString&)> exec, QString head, QString tail = QString())
        : m_exec(std::move(exec)), m_head(std::move(head)), m_tail(std::move(tail)) {}
    bool Add(const QString& values) {
        m_rows << u'(' + values + u')';
        return m_rows.size() < kBatchRows || Flush();
    }
    bool Flush() {
        if (m_rows.isEmpty())
            return true;
        const bool ok = m_exec(m_head + m_rows.join(u',') + m_tail);
        m_rows.clear();
        return ok;
    }

private:
    std::function<bool(const QString&)> m_exec;
    QString m_head, m_tail;
    QStringList m_rows;
};

// Each "%s" of a text in turn by the next value.
QString Fill(QString text, const QStringList& values) {
    qsizetype at = 0;
    for (const QString& value : values) {
        at = text.indexOf(QStringLiteral("%s"), at);
        if (at < 0)
            break;
        text.replace(at, 2, value);
        at += value.size();
    }
    return text;
}

} // namespace

// One step of the conversion: announces itself, and drops its staging table
// however the step ends.
class COldDataConversion::CConvertingTable {
public:
    CConvertingTable(COldDataConversion* conversion, const QString& source, const QString& target)
        : m_host(conversion->m_host), m_source(source) {
        const QString context = QStringLiteral(
            "CSQLRestoreWizard_Converter_Kelda1::CConvertingTable::CConvertingTable");
        conversion->m_target = target;
        if (target.isEmpty())
            m_host->Info(Fill(Tr(QStringLiteral("Удаление таблицы %s"), context), {source}));
        else
            m_host->Info(Fill(Tr(QStringLiteral("Преобразование таблицы %s в %s."), context),
                              {source, target}));
    }
    ~CConvertingTable() {
        if (!m_source.isEmpty())
            m_host->Query(QStringLiteral("drop table if exists ") + m_source);
    }

private:
    COldArchiveConverter* m_host;
    QString m_source;
};

const QStringList& COldDataConversion::UnconvertedTables() {
    static const QStringList names = {
        QStringLiteral("orvel_blanks"),
        QStringLiteral("orvel_config"),
        QStringLiteral("orvel_dataprocessorscripts"),
        QStringLiteral("orvel_epidmain"),
        QStringLiteral("orvel_epiddata"),
        QStringLiteral("orvel_exchange"),
        QStringLiteral("orvel_exchangedata"),
        QStringLiteral("orvel_qmlinks"),
        QStringLiteral("orvel_qmpolls"),
        QStringLiteral("orvel_qmpollsdet"),
        QStringLiteral("orvel_qmquestionnaires"),
        QStringLiteral("orvel_qmquestions"),
        QStringLiteral("orvel_qmvariants"),
        QStringLiteral("orvel_rellist"),
        QStringLiteral("orvel_reports"),
        QStringLiteral("orvel_settings"),
    };
    return names;
}

bool COldDataConversion::Exec(const QString& statement) {
    const CxResult res = m_host->Query(statement);
    if (res.isValid())
        return true;
    if (m_error && m_error->isEmpty()) {
        // Old archives can hold what the current tables keep unique twice
        // (a client code, an id): the user learns which table, in words.
        if (res.Error().serverCode == kSQLErrDuplicateEntry && !m_target.isEmpty())
            *m_error = Tr(QStringLiteral("В архиве повторяются записи, которые должны быть "
                                         "единственными в таблице «%1»; архив не "
                                         "восстановлен"),
                          QStringLiteral("msgOldArchiveRepeatedRows"))
                           .arg(TableCaption(m_target));
        else
            *m_error = Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess);
    }
    return false;
}

std::function<bool(const QString&)> COldDataConversion::Executor() {
    return [this](const QString& statement) { return Exec(statement); };
}

bool COldDataConversion::CheckMappings(QString* error) {
    m_host->Info(QStringLiteral(" - ") + Tr(QStringLiteral("загрузка файла конвертации "
                                                           "справочников"),
                                            QStringLiteral("msgLoadingDirConvert")));
    m_directoryMap.clear();
    bool allMapped = true;
    CxResult dirs = m_host->Query(QStringLiteral(
        "SELECT ROWID,nDirectoryType,cString FROM orvel_directories WHERE nDirectoryType IN "
        "(5,6) AND IFNULL(nGroupID,0)<>0 ORDER BY ROWID"));
    if (!dirs.isValid()) {
        *error = Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess);
        return false;
    }
    while (dirs.FetchRow()) {
        const QString key = CDirMappingFile::DirectoryKey(int(dirs.LFieldValue(1)),
                                                          NormalisedName(dirs.SFieldValue(2)));
        int value = 0;
        if (m_mapping->Lookup(key, &value)) {
            m_directoryMap.insert(dirs.SFieldValue(0).toLongLong(), value);
        } else {
            m_mapping->AddMissing(key);
            allMapped = false;
        }
    }
    for (qint64 last = std::numeric_limits<qint64>::min();;) {
        CxResult rows = m_host->Query(
            QStringLiteral("SELECT ROWID FROM orvel_dailygeneral WHERE nCount<>0 AND ROWID>%1 "
                           "ORDER BY ROWID LIMIT %2")
                .arg(last)
                .arg(kPageRows));
        if (!rows.isValid()) {
            *error = Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess);
            return false;
        }
        while (rows.FetchRow()) {
            last = rows.SFieldValue(0).toLongLong();
            const QString key = CDirMappingFile::DailyGeneralKey(last);
            int value = 0;
            if (!m_mapping->Lookup(key, &value)) {
                m_mapping->AddMissing(key);
                allMapped = false;
            }
        }
        if (rows.RowsCount() < kPageRows)
            break;
    }
    if (!allMapped)
        *error = Tr(QStringLiteral("Дополнительный файл конвертации не содержит некоторую "
                                   "информацию. Вышлите файл {file} разработчику"),
                    QStringLiteral("msgDir3FileGenerated"))
                     .replace(QStringLiteral("{file}"), m_mapping->Path());
    return allMapped;
}

bool COldDataConversion::Run(CvProgress* progress, QString* error) {
    m_error = error;
    // The map of old codes lives on the connection: whatever way the run
    // ends, it goes, or the next run on this connection could not make it.
    struct DirectoryMapDrop {
        COldArchiveConverter* host;
        ~DirectoryMapDrop() {
            host->Query(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS __conv_dirmap"));
        }
    } dropMap{m_host};
    using Step = bool (COldDataConversion::*)();
    const Step steps[] = {
        &COldDataConversion::OrgInfo,           &COldDataConversion::OwnOrganisationCard,
        &COldDataConversion::TrainingList,      &COldDataConversion::Directories,
        &COldDataConversion::DailyGeneral,      &COldDataConversion::DailyVisits,
        &COldDataConversion::WriteDirectoryMap, &COldDataConversion::Clients,
        &COldDataConversion::DrugUse,           &COldDataConversion::RiskBehavior,
        &COldDataConversion::SocialStatus,      &COldDataConversion::HealthStatus,
        &COldDataConversion::DailyReports,      &COldDataConversion::Profiles,
    };
    if (progress)
        progress->SetRange(int(std::size(steps)), Tr(QStringLiteral("Ковертация базы"),
                                                     QStringLiteral("msgDBConverting")));
    for (Step step : steps) {
        if (m_host->IsCancelled()) {
            *error = Tr(QStringLiteral("Операция прервана пользователем"),
                        QStringLiteral("msgExchangeCancelled"));
            return false;
        }
        if (!(this->*step)()) {
            if (error->isEmpty())
                *error = Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess);
            return false;
        }
        if (progress)
            progress->Step();
    }
    for (const QString& name : UnconvertedTables())
        CConvertingTable drop(this, name, QString());
    return true;
}

// Settings of the own organisation: the surviving numbers, renumbered.
bool COldDataConversion::OrgInfo() {
    CConvertingTable step(this, QStringLiteral("orvel_orginfo"), QStringLiteral("orginfo"));
    QString cases;
    QStringList kept;
    for (const auto& [old, now] : kOrgInfoNumbers) {
        const int current = now == 1 ? 1 : now * 100;
        cases += QStringLiteral(" WHEN %1 THEN %2").arg(old).arg(current);
        kept << QString::number(old);
    }
    return Exec(QStringLiteral("INSERT INTO orginfo (nRecordID,cValue,nRegionDataID) SELECT CASE "
                               "ROWID%1 END,cValue,0 FROM orvel_orginfo WHERE nRegionID<1 AND "
                               "ROWID IN (%2) ORDER BY ROWID ON DUPLICATE KEY UPDATE "
                               "cValue=VALUES(cValue)")
                    .arg(cases, kept.join(u',')));
}

// The organisation card of the current schema, made from the settings as the
// schema step that introduced the card makes it.
bool COldDataConversion::OwnOrganisationCard() {
    QString sql = QStringLiteral(
        "INSERT IGNORE INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cSogName,cCity,cRegion,"
        "cAddress,cPhone,cEMail,cWWW,cBoss,cBossPhone,cProjRuk,cProjRukPhone,cDonors,"
        "cProjectDate) SELECT orginfo.nRegionDataID,IFNULL(orginfo.cValue,'')");
    for (int k = 0; k < 15; ++k)
        sql += QStringLiteral(",IFNULL(x%1.cValue,'')").arg(k);
    sql += QStringLiteral(" FROM orginfo");
    for (int k = 0; k < 15; ++k)
        sql += QStringLiteral(" LEFT JOIN orginfo AS x%1 ON x%1.nRecordID=%2 AND "
                              "x%1.nRegionDataID=orginfo.nRegionDataID")
                   .arg(k)
                   .arg(kOrgCardNumbers[k]);
    return Exec(sql + QStringLiteral(" WHERE orginfo.nRecordID=1"));
}

bool COldDataConversion::TrainingList() {
    // The participants of the old trainings are not carried over: the
    // current schema's empty trainingssubdata stays as it is.
    CConvertingTable step(this, QStringLiteral("orvel_traininglist"),
                          QStringLiteral("traininglist"));
    return Exec(QStringLiteral(
        "INSERT INTO traininglist (ROWID,nTopicID,nNumberOfClients,nTimeInHours,dDate,cTrainers,"
        "cComment,nForType,nGroupID,bIsFolder,cName,nRegionDataID) SELECT ROWID,nTopicID,"
        "nNumberOfClients,nTimeInHours,dDate,cTrainers,cComment,nForType,IFNULL(nGroupID,0),"
        "IFNULL(bIsFolder,0),cName,0 FROM orvel_traininglist"));
}

bool COldDataConversion::Directories() {
    CConvertingTable step(this, QStringLiteral("orvel_directories"), QStringLiteral("dir"));
    CxResult res = m_host->Query(QStringLiteral("SELECT * FROM orvel_directories ORDER BY ROWID"));
    if (!res.isValid())
        return false;
    BatchInsert dir(Executor(),
                    QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,nDirType,cString,"
                                   "cDescription,nType,nPubType,nSource,nAuditory,nCircul,"
                                   "nProdType,nUseType,bHidden,nTown,nRegionDataID) VALUES "));
    QSet<QString> uniqueNames;
    const QString deflt = QStringLiteral("DEFAULT");
    while (res.FetchRow()) {
        const long group = res.LFieldValue(QStringLiteral("nGroupID"));
        if (group == 0)
            continue;
        const qint64 rowId = res.SFieldValue(QStringLiteral("ROWID")).toLongLong();
        m_highestOldId = std::max(m_highestOldId, rowId);
        const int kind = int(res.LFieldValue(QStringLiteral("nDirectoryType")));
        if (kind != 1 && kind != 2 && kind != 3 && kind != 4 && kind != 7)
            continue; // kinds 5 and 6 live on through the mapping file only
        const QString name = NormalisedName(res.SFieldValue(QStringLiteral("cString")));
        // Names that differ only in letter case would collide in the current
        // table: a later one gets dots until it is unique.
        QString suffix;
        while (uniqueNames.contains(
            QStringLiteral("%1.%2%3").arg(kind).arg(name, suffix).toCaseFolded()))
            suffix += u'.';
        uniqueNames.insert(QStringLiteral("%1.%2%3").arg(kind).arg(name, suffix).toCaseFolded());

        QString type = deflt, pub = deflt, source = deflt, auditory = deflt, circul = deflt,
                prod = deflt, use = deflt;
        QString description = Text(res, "cDescription");
        switch (kind) {
        case 1: {
            // A later schema step renumbered the service-point type 7 to 999.
            type = Number(res, "nWorkplaceType");
            if (type == QLatin1String("7"))
                type = QStringLiteral("999");
            break;
        }
        case 2:
            description = SafeSQL(res.SFieldValue(QStringLiteral("cDescription")) + u' ' +
                                  res.SFieldValue(QStringLiteral("cOtherInfo")));
            break;
        case 3:
            type = Number(res, "nType");
            // Two material types that a later schema step renumbered.
            if (type == QLatin1String("196609"))
                type = QStringLiteral("524289");
            else if (type == QLatin1String("196623"))
                type = QStringLiteral("524290");
            pub = Number(res, "nMaxValue");
            source = Number(res, "nDefValue");
            auditory = Number(res, "nMinValue");
            circul = Number(res, "nCircul");
            break;
        case 4:
            type = Number(res, "nType");
            prod = Number(res, "nMinValue");
            use = Number(res, "nMaxValue");
            break;
        }
        const QString values =
            QStringList{QString::number(rowId),
                        QString::number(group != kind ? group : 0),
                        QStringLiteral("IFNULL(%1,0)").arg(Number(res, "bIsFolder")),
                        QString::number(kind),
                        SafeSQL(name + suffix),
                        description,
                        type,
                        pub,
                        source,
                        auditory,
                        circul,
                        prod,
                        use,
                        QStringLiteral("0"),
                        QStringLiteral("0"),
                        QStringLiteral("0")}
                .join(u',');
        if (!dir.Add(values))
            return false;
    }
    return dir.Flush();
}

bool COldDataConversion::DailyGeneral() {
    CConvertingTable step(this, QStringLiteral("orvel_dailygeneral"),
                          QStringLiteral("dailyredirects"));
    struct Group {
        qint64 id;
        int flags;
    };
    QMap<int, Group> groups;
    QList<int> order; // groups in the order their materials got their ids
    // Two old figures of one report that land on one material and kind add up.
    BatchInsert redirects(Executor(),
                          QStringLiteral("INSERT INTO dailyredirects (nItem,nConsultKey,nVedID,"
                                         "nReportID,nCount,nRegionDataID) VALUES "),
                          QStringLiteral(" ON DUPLICATE KEY UPDATE nCount=nCount+VALUES(nCount)"));
    for (qint64 last = std::numeric_limits<qint64>::min();;) {
        CxResult rows = m_host->Query(
            QStringLiteral("SELECT ROWID,nGroupID,nCount FROM orvel_dailygeneral WHERE "
                           "nCount<>0 AND ROWID>%1 ORDER BY ROWID LIMIT %2")
                .arg(last)
                .arg(kPageRows));
        if (!rows.isValid())
            return false;
        while (rows.FetchRow()) {
            last = rows.SFieldValue(0).toLongLong();
            int value = 0;
            if (!m_mapping->Lookup(CDirMappingFile::DailyGeneralKey(last), &value) || value == -1)
                continue;
            const int code = (value >> 16) & 0xFFFF;
            const int flags = value & 0xFFFF;
            auto it = groups.find(code);
            if (it == groups.end()) {
                it = groups.insert(code, {++m_highestOldId, flags});
                order << code;
            } else {
                it->flags |= flags;
            }
            if (!redirects.Add(QStringLiteral("%1,%2,0,%3,%4,0")
                                   .arg(it->id)
                                   .arg(flags)
                                   .arg(Number(rows, "nGroupID"), Number(rows, "nCount"))))
                return false;
        }
        if (rows.RowsCount() < kPageRows)
            break;
    }
    if (!redirects.Flush())
        return false;

    const QString generated = SafeSQL(Tr(QStringLiteral("Сгенерировано при конвертации"),
                                         QStringLiteral("msgGenWhileConverting")));
    BatchInsert materials(Executor(),
                          QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,nDirType,"
                                         "cString,nType,nPubType,nSource,nAuditory,nCircul,"
                                         "nSpecFlags,nConfigGroup,cDescription,bHidden,nTown,"
                                         "nRegionDataID) VALUES "));
    auto material = [&](qint64 id, const QString& name, int type, int flags, int group) {
        return materials.Add(QStringLiteral("%1,0,0,3,%2,%3,0,0,0,0,%4,%5,%6,0,0,0")
                                 .arg(id)
                                 .arg(SafeSQL(name))
                                 .arg(type)
                                 .arg(flags)
                                 .arg(group)
                                 .arg(generated));
    };
    for (int code : std::as_const(order)) {
        const Group& g = groups[code];
        // The configuration group 1004 is 9999 since a later schema step.
        if (!material(g.id, GroupTitle(code) + QStringLiteral(" (Auto-%1)").arg(code),
                      kGeneratedGroupType, g.flags, code == 1004 ? 9999 : code))
            return false;
    }
    m_syringesItem = int(++m_highestOldId);
    m_needlesItem = int(++m_highestOldId);
    return material(m_syringesItem,
                    Tr(QStringLiteral("Собрано шприцев"), QStringLiteral("msgSyrBack")) +
                        QStringLiteral(" (Auto)"),
                    kSyringesBackType, 0, 0) &&
           material(m_needlesItem,
                    Tr(QStringLiteral("Собрано игл"), QStringLiteral("msgNeedleBack")) +
                        QStringLiteral(" (Auto)"),
                    kNeedlesBackType, 0, 0) &&
           materials.Flush();
}

bool COldDataConversion::DailyVisits() {
    CConvertingTable step(this, QStringLiteral("orvel_dailyvisits"), QStringLiteral("dailyvisits"));
    // Without its two indexes the table takes the rows much faster; they are
    // built once at the end.
    const QString failed = Tr(QStringLiteral("Ошибка"), kProcess);
    if (!m_host
             ->Query(QStringLiteral("ALTER TABLE dailyvisits DROP INDEX nClientID,DROP INDEX "
                                    "nReportID"))
             .isValid()) {
        *m_error = failed;
        return false;
    }
    // Returned syringes (-3) and needles (-2) are booked on the generated
    // materials; other negative items are no material.
    if (!Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,NPP,"
                             "nVedID,nRegionDataID) SELECT IFNULL(nReportID,0),IFNULL(nClientID,0),"
                             "CASE WHEN nItem=-3 THEN %1 WHEN nItem=-2 THEN %2 ELSE "
                             "IFNULL(nItem,0) END,IFNULL(nCount,0),IFNULL(NPP,0),0,0 FROM "
                             "orvel_dailyvisits WHERE nItem IS NULL OR nItem>=0 OR nItem IN "
                             "(-2,-3)")
                  .arg(m_syringesItem)
                  .arg(m_needlesItem)))
        return false;
    m_host->Info(Tr(QStringLiteral("Восстановление индексов... Может занять много времени"),
                    QStringLiteral("msgIndexRestoring")));
    if (!m_host
             ->Query(QStringLiteral("ALTER TABLE dailyvisits ADD INDEX nClientID "
                                    "(nClientID,nReportID), ADD INDEX nReportID "
                                    "(nReportID,nClientID)"))
             .isValid()) {
        *m_error = failed;
        return false;
    }
    return true;
}

// The old ids of directory entries of kinds 5 and 6 and what they became,
// for the steps that move codes through it.
bool COldDataConversion::WriteDirectoryMap() {
    if (!Exec(QStringLiteral("CREATE TEMPORARY TABLE __conv_dirmap (nOld BIGINT NOT NULL PRIMARY "
                             "KEY,nNew INT NOT NULL)")))
        return false;
    BatchInsert map(Executor(), QStringLiteral("INSERT INTO __conv_dirmap (nOld,nNew) VALUES "));
    for (auto it = m_directoryMap.cbegin(); it != m_directoryMap.cend(); ++it)
        if (!map.Add(QStringLiteral("%1,%2").arg(it.key()).arg(it.value())))
            return false;
    return map.Flush();
}

bool COldDataConversion::Clients() {
    CConvertingTable step(this, QStringLiteral("orvel_clientdata"), QStringLiteral("clientdata"));
    // The vulnerable groups as the later schema steps split them: the main
    // group is the first of 64, 1, 2, 4, 8, 16, 32 that is set (else the
    // value stays whole), the others go to nClientType2.
    const QString main = QStringLiteral(
        "CASE WHEN nClientType&64 THEN 64 WHEN nClientType&1 THEN 1 WHEN nClientType&2 THEN 2 "
        "WHEN nClientType&4 THEN 4 WHEN nClientType&8 THEN 8 WHEN nClientType&16 THEN 16 WHEN "
        "nClientType&32 THEN 32 ELSE nClientType END");
    return Exec(QStringLiteral(
               "INSERT INTO clientdata (ROWID,cClientCode,dEnterDate,dUpdateDate,nBirthYear,"
               "dStartInPrjDate,nSex,cComment,nGroupID,bIsFolder,bSecondary,cOClientCode,"
               "nEthnicity,nRelCount,nRegionDataID) SELECT ROWID,cClientCode,dFirstDate,"
               "dUpdateDate,IF(nBirthYear<=1945 OR nBirthYear>=2007,1900,nBirthYear),"
               "dStartInPrjDate,nSex,cComment,IFNULL(nGroupID,0),IFNULL(bIsFolder,0),"
               "IFNULL(bSecondary,0),cClientCode,0,0,0 FROM orvel_clientdata")) &&
           Exec(QStringLiteral("INSERT INTO clientdatachanges (nClientID,dDate,nClientType,"
                               "nClientType2,nLastLinkID,nRegionDataID) SELECT ROWID,"
                               "IF(IFNULL(dStartInPrjDate,'0000-00-00')='0000-00-00',"
                               "'1900-01-01',dStartInPrjDate),%1,nClientType^(%1),ROWID,0 FROM "
                               "orvel_clientdata WHERE IFNULL(bIsFolder,0)=0")
                    .arg(main)) &&
           Exec(QStringLiteral("UPDATE clientdata JOIN clientdatachanges ON "
                               "clientdatachanges.nClientID=clientdata.ROWID SET "
                               "clientdata.bPDI=IF(clientdatachanges.nClientType2&128,1,0)")) &&
           // A code that keeps the coding rules has no separate original code.
           Exec(QStringLiteral(
               "UPDATE `clientdata` set cOClientCode='' where "
               "UPPER(cClientCode)=UPPER(cOClientCode) AND CHAR_LENGTH(cClientCode)=8 and upper( "
               "substr(cClientCode,1,3))>'999' and substr(cClientCode,4,2) between 1 and 31 and "
               "substr(cClientCode,6,2)=(nBirthYear%100) and (case nSex when 1 then 'Ч' when 2 "
               "then 'Ж' when 3 then 'Т' end)=upper(substr(cClientCode,8,1))")) &&
           Exec(QStringLiteral(
               "update `clientdata`,(select * from (select "
               "ROWID,nBirthYear,nSex,upper(if(locate('`',cClientCode),substr(cClientCode,1,"
               "locate('`',cClientCode)-1),cClientCode)) as cClientCode from clientdata) as t1 "
               "where CHAR_LENGTH(cClientCode)=8 and substr(cClientCode,1,3)>'999' and "
               "substr(cClientCode,4,2) between 1 and 31 and "
               "substr(cClientCode,6,2)=(nBirthYear%100) and (case nSex when 1 then 'Ч' when 2 "
               "then 'Ж' when 3 then 'Т' end)=substr(cClientCode,8,1)) as t2 set bNewCode=1 where "
               "clientdata.rowid=t2.rowid"));
}

bool COldDataConversion::DrugUse() {
    CConvertingTable step(this, QStringLiteral("orvel_drugusedata"), QStringLiteral("drugusedata"));
    CxResult unmapped = m_host->Query(QStringLiteral(
        "SELECT d.nParticipation FROM orvel_drugusedata AS d LEFT JOIN __conv_dirmap AS m ON "
        "m.nOld=d.nParticipation WHERE d.nParticipation<>-1 AND m.nOld IS NULL LIMIT 1"));
    if (!unmapped.isValid())
        return false;
    if (unmapped.FetchRow()) {
        const QString text = QStringLiteral("18218, ") +
                             Tr(QStringLiteral("Внутренняя ошибка"), kProcess) +
                             QStringLiteral(": ") + unmapped.SFieldValue(0);
        m_host->Warning(text, 0);
        *m_error = text;
        return false;
    }
    return Exec(QStringLiteral(
        "INSERT INTO drugusedata (nClientID,dUpdateDate,nBasicDrug,nMainRoute,nSecondaryDrug,"
        "nUseFrequency,nParticipation,nDrugStartDate,dDate,nLastLinkID,nRegionDataID) SELECT "
        "d.ROWID,d.dUpdateDate,d.nBasicDrug,d.nMainRoute,d.nSecondaryDrug,d.nUseFrequency,"
        "IF(IFNULL(d.nParticipation,-1)=-1,d.nParticipation,m.nNew),d.nDrugStartDate,CURDATE(),"
        "d.ROWID,0 FROM orvel_drugusedata AS d LEFT JOIN __conv_dirmap AS m ON "
        "m.nOld=d.nParticipation"));
}

bool COldDataConversion::RiskBehavior() {
    CConvertingTable step(this, QStringLiteral("orvel_riskbehavior"),
                          QStringLiteral("riskbehavior"));
    return Exec(QStringLiteral(
        "INSERT INTO riskbehavior (nClientID,nUseDirtySyr,nDesinfectionWay,nGivingUsed,"
        "nLastInjectWith,nUsingCondom,nLastSexualPart,dDate,dUpdateDate,nLastLinkID,"
        "nRegionDataID) SELECT ROWID,nUseDirtySyr,nDesinfectionWay,nGivingUsed,nLastInjectWith,"
        "nUsingCondom,CASE nLastSexualPart WHEN 1 THEN 0 WHEN 2 THEN 1 ELSE 99 END,"
        "IFNULL(dFirstDate,'1900-01-01'),dUpdateDate,ROWID,0 FROM orvel_riskbehavior"));
}

bool COldDataConversion::SocialStatus() {
    CConvertingTable step(this, QStringLiteral("orvel_socialstatus"),
                          QStringLiteral("socialstatus"));
    // 0 ("not known") became 99 in four answers by later schema steps.
    return Exec(QStringLiteral(
        "INSERT INTO socialstatus (nClientID,nEploymentStatus,cOtherEployment,nPlaceOfLiving,"
        "nEducationLevel,nLegalProblem,nChildCount,dUpdateDate,bRegPolice,bNarcoDisp,dDate,"
        "nLastLinkID,nRegionDataID) SELECT ROWID,IF(nEploymentStatus=0,99,nEploymentStatus),"
        "cOtherEployment,IF(nPlaceOfLiving=0,99,nPlaceOfLiving),IF(nEducationLevel=0,99,"
        "nEducationLevel),IF(nLegalProblem=0,99,nLegalProblem),nChildCount,dUpdateDate,"
        "bRegPolice,bNarcoDisp,'1900-01-01',ROWID,0 FROM orvel_socialstatus"));
}

bool COldDataConversion::HealthStatus() {
    CConvertingTable step(this, QStringLiteral("orvel_healthstatus"),
                          QStringLiteral("healthstatus"));
    CxResult unmapped = m_host->Query(QStringLiteral(
        "SELECT h.nDisease FROM orvel_healthstatus AS h LEFT JOIN __conv_dirmap AS m ON "
        "m.nOld=h.nDisease WHERE IFNULL(h.nStatus,0)<>0 AND IFNULL(h.nDisease,-1)<>-1 AND "
        "m.nOld IS NULL"));
    if (!unmapped.isValid())
        return false;
    while (unmapped.FetchRow())
        m_host->Warning(Tr(QStringLiteral("Пропущена запись с ошибкой, код заболевания: {code}"),
                           QStringLiteral("msgMissedErrorRecordHealthCode"))
                            .replace(QStringLiteral("{code}"), unmapped.SFieldValue(0)),
                        1);
    // The start of treatment was a text: its year when it reads as a date.
    // (The server reads an empty or partial text as a date of year 0.)
    const QString year = QStringLiteral(
        "NULLIF(YEAR(COALESCE(STR_TO_DATE(h.nTreatmentStartDate,'%d.%m.%Y'),"
        "STR_TO_DATE(h.nTreatmentStartDate,'%Y-%m-%d'),STR_TO_DATE(h.nTreatmentStartDate,"
        "'%d/%m/%Y'))),0)");
    return Exec(QStringLiteral("INSERT INTO healthstatus (nClientID,nStatus,nTreatmentStartDate,"
                               "nDisease,nRegionDataID) SELECT h.nClientID,h.nStatus,%1,m.nNew,0 "
                               "FROM orvel_healthstatus AS h JOIN __conv_dirmap AS m ON "
                               "m.nOld=h.nDisease WHERE IFNULL(h.nStatus,0)<>0 ON DUPLICATE KEY "
                               "UPDATE nStatus=VALUES(nStatus),"
                               "nTreatmentStartDate=VALUES(nTreatmentStartDate)")
                    .arg(year));
}

bool COldDataConversion::DailyReports() {
    CConvertingTable step(this, QStringLiteral("orvel_dailyreport"), QStringLiteral("dailyreport"));
    // No worker or service point is -1 now; every old report belongs to
    // project 1, as the later schema steps set them.
    return Exec(QStringLiteral(
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,cComment,"
        "nGroupID,bIsFolder,nProject,nRegionDataID) SELECT ROWID,dDate,IFNULL(nWorker1,-1),"
        "IFNULL(nWorker2,-1),IFNULL(nWorker3,-1),IFNULL(nWorkPlace,-1),cComment,"
        "IFNULL(nGroupID,0),IFNULL(bIsFolder,0),1,0 FROM orvel_dailyreport"));
}

// The users' stored settings start empty.
bool COldDataConversion::Profiles() {
    return Exec(QStringLiteral("drop table if exists profiles")) &&
           Exec(QStringLiteral(
               "CREATE TABLE `profiles` (`cUser` char(32) collate ucs2_unicode_ci default "
               "NULL,`cPath` varchar(255) collate ucs2_unicode_ci default NULL,`cValue` "
               "mediumtext collate ucs2_unicode_ci,UNIQUE KEY `cUser` (`cUser`,`cPath`)) "
               "ENGINE=InnoDB DEFAULT CHARSET=ucs2 COLLATE=ucs2_unicode_ci"));
}

#include "accounting_export.h"

#include "db/schema/cache_tables.h"
#include "framework/core/enums/enum2.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/config/configuration.h"
#include "model/enums/behaviour_enums.h"
#include "model/enums/client_enums.h"
#include "model/enums/directory_enums.h"
#include "model/enums/material_type.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr int kPageRows = 50000;

constexpr CxTr Tr("CDBFOut::DoDataExchange");

// Types whose values the server writes without quotes.
bool IsUnquotedType(const QString& type) {
    static const char* const names[] = {"tinyint", "smallint", "mediumint", "int",   "integer",
                                        "bigint",  "decimal",  "numeric",   "float", "double",
                                        "real",    "year",     "bit"};
    const QString word = type.trimmed().toLower().section(u'(', 0, 0).section(u' ', 0, 0);
    for (const char* n : names)
        if (word == QLatin1String(n))
            return true;
    return false;
}

// Character sets whose every character takes two bytes or more: the server
// writes such texts without escapes.
bool IsWideCollation(const QString& collation) {
    const QString c = collation.toLower();
    return c.startsWith(QLatin1String("ucs2")) || c.startsWith(QLatin1String("utf16")) ||
           c.startsWith(QLatin1String("utf32"));
}

QString ErrorOf(const CxResult& res) {
    return DescribeSQLError(res.Error());
}

} // namespace

void COutfileLine::Field(const char* data, qsizetype length, bool enclosed, bool escaped) {
    if (!m_first)
        m_bytes += ',';
    m_first = false;
    if (!data) {
        m_bytes += "\\N";
        return;
    }
    if (enclosed)
        m_bytes += '"';
    const char separator = enclosed ? '"' : ',';
    for (qsizetype i = 0; i < length; ++i) {
        const char c = data[i];
        if (escaped && (c == '\\' || c == separator || c == '\n' || c == '\0')) {
            m_bytes += '\\';
            m_bytes += c ? c : '0';
        } else {
            m_bytes += c;
        }
    }
    if (enclosed)
        m_bytes += '"';
}

QByteArray COutfileLine::Take() {
    m_bytes += '\n';
    m_first = true;
    return std::exchange(m_bytes, QByteArray());
}

CAccountingExport::CAccountingExport(CxSQL* sql) : m_base(sql) {}
CAccountingExport::~CAccountingExport() = default;

QString CAccountingExport::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("1cOut"));
}

bool CAccountingExport::Connect(QString* error) {
    if (m_sql)
        return true;
    m_sql.reset(m_base ? m_base->Clone(nullptr) : nullptr);
    // Results come as the server holds them, so the code page 1251 texts of
    // the selects arrive as their bytes.
    if (!m_sql || !m_sql->Execute(QStringLiteral("SET character_set_results=binary")).isValid()) {
        m_sql.reset();
        if (error)
            *error = Tr(QStringLiteral("Не удалось открыть соединение с сервером")) + u'\n' +
                     CTarvikApp::TakeErrorMessages();
        return false;
    }
    return true;
}

bool CAccountingExport::ExportQuery(const QString& folder, const QString& select,
                                    const QString& name, QString* error) {
    if (!Connect(error))
        return false;
    const QString path = QDir(folder).filePath(name + QStringLiteral(".csv"));
    auto fail = [&](const QString& why) {
        // No file of a former run may pass for this one's.
        QFile::remove(path);
        if (error)
            *error = why;
        return false;
    };
    // The rows in the server's order, numbered, so they can be read page by
    // page and the column types are the server's own.
    const QString table = QStringLiteral("tmp_acc_%1")
                              .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    CxResult made = m_sql->Execute(
        QStringLiteral("CREATE TEMPORARY TABLE %1 (`__row` BIGINT NOT NULL AUTO_INCREMENT PRIMARY "
                       "KEY) ")
            .arg(table) +
        select);
    if (!made.isValid())
        return fail(ErrorOf(made));
    struct Dropper {
        CxSQL* sql;
        QString table;
        ~Dropper() {
            sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + table);
        }
    } dropper{m_sql.get(), table};

    CxResult columns = m_sql->Execute(QStringLiteral("SHOW FULL COLUMNS FROM ") + table);
    if (!columns.isValid())
        return fail(ErrorOf(columns));
    QList<bool> enclosed, escaped;
    columns.FetchRow(); // __row
    while (columns.FetchRow()) {
        enclosed << !IsUnquotedType(QString::fromLatin1(columns.Base()->RawTextOrEmpty(1)));
        escaped << !IsWideCollation(QString::fromLatin1(columns.Base()->RawTextOrEmpty(2)));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(Tr(QStringLiteral("Не удалось создать файл ")) +
                    QDir::toNativeSeparators(path) + u'\n' + file.errorString());
    COutfileLine line;
    qint64 last = 0;
    for (;;) {
        CxResult page = m_sql->Execute(
            QStringLiteral("SELECT * FROM %1 WHERE `__row`>%2 ORDER BY `__row` LIMIT %3")
                .arg(table)
                .arg(last)
                .arg(kPageRows));
        if (!page.isValid()) {
            file.cancelWriting();
            return fail(ErrorOf(page));
        }
        CxResultBase* rows = page.Base();
        const int fields = rows->FieldsCount();
        qint64 count = 0;
        QByteArray chunk;
        while (rows->FetchRow(-1)) {
            last = QByteArray(rows->RawField(0)).toLongLong();
            for (int i = 1; i < fields; ++i) {
                const char* value = rows->RawField(i);
                line.Field(value, value ? qsizetype(rows->FieldLength(i)) : 0,
                           enclosed.value(i - 1, true), escaped.value(i - 1, true));
            }
            chunk += line.Take();
            ++count;
        }
        if (file.write(chunk) != chunk.size()) {
            file.cancelWriting();
            return fail(Tr(QStringLiteral("Ошибка записи файла ")) +
                        QDir::toNativeSeparators(path) + u'\n' + file.errorString());
        }
        if (count < kPageRows)
            break;
    }
    if (!file.commit())
        return fail(Tr(QStringLiteral("Ошибка записи файла ")) + QDir::toNativeSeparators(path) +
                    u'\n' + file.errorString());
    return true;
}

bool CAccountingExport::ExportList(const QString& folder, const CEnum2& list, const QString& name,
                                   QString* error) {
    if (!Connect(error))
        return false;
    const QString table = QStringLiteral("tmp_acclist_%1")
                              .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    CxResult made = m_sql->Execute(
        QStringLiteral("CREATE TEMPORARY TABLE %1 (id INT NOT NULL,string varchar(255))")
            .arg(table));
    if (!made.isValid()) {
        if (error)
            *error = ErrorOf(made);
        return false;
    }
    struct Dropper {
        CxSQL* sql;
        QString table;
        ~Dropper() {
            sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + table);
        }
    } dropper{m_sql.get(), table};
    QStringList rows;
    POSITION pos = list.InitScan_sEnum2();
    while (list.ScanNext_sEnum2(pos))
        rows << QStringLiteral("(%1,%2)")
                    .arg(list.Index_sEnum2(pos))
                    .arg(SafeSQL(list.Current_sEnum2(pos)->GetText()));
    if (!rows.isEmpty()) {
        CxResult filled =
            m_sql->Execute(QStringLiteral("INSERT INTO %1 VALUES ").arg(table) + rows.join(u','));
        if (!filled.isValid()) {
            if (error)
                *error = ErrorOf(filled);
            return false;
        }
    }
    return ExportQuery(folder,
                       QStringLiteral("SELECT id,convert(string USING cp1251) FROM ") + table, name,
                       error);
}

QList<CAccountingFile> CAccountingExport::Files() {
    xConfiguration* config = CurrentConfiguration();
    xLanguage* language = config ? config->GetCurrentLanguage() : nullptr;
    auto groupColumns = [](const CEnum2& flags, const QString& column) {
        QString columns;
        POSITION pos = flags.InitScan_sEnum2();
        while (flags.ScanNext_sEnum2(pos))
            columns += QStringLiteral(",IF(%1&%2,1,0)").arg(column).arg(flags.Index_sEnum2(pos));
        return columns;
    };
    return {
        {QStringLiteral("orginfo"),
         QStringLiteral("SELECT ROWID,convert(cOrgID USING cp1251) FROM orginf"), nullptr},
        {QStringLiteral("drugtype"), QString(), g_pDrugsEnum.Get()},
        {QStringLiteral("wrpltype"), QString(), g_pNodeType.Get()},
        {QStringLiteral("mattype"), QString(), g_pMaterialType.Get()},
        {QStringLiteral("clntgrp"), QString(), g_pClientGroup.Get()},
        {QStringLiteral("matgr"), QString(), language ? &language->MatGroups : nullptr},
        {QStringLiteral("spec"), QString(), language ? &language->Speciality : nullptr},
        {QStringLiteral("Towns"),
         QStringLiteral("SELECT ROWID,nGroupID,convert(cShortName USING cp1251) FROM towns"),
         nullptr},
        {QStringLiteral("Mat"),
         QStringLiteral("SELECT nType,nType-65536 FROM dir where dir.nDirType=3 and not bIsFolder "
                        "group By nType"),
         nullptr},
        {QStringLiteral("WrkPlace"),
         QStringLiteral("SELECT ROWID,convert(cString USING cp1251),nType,nTown,nRegionDataID FROM "
                        "dir WHERE dir.nDirType=1 and not bIsFolder"),
         nullptr},
        {QStringLiteral("Clients"),
         QStringLiteral(
             "SELECT gROWID,convert(cGClientCode USING cp1251),convert(cOClientCode USING "
             "cp1251),nClientID,nWorkPlace,nWorker1,dFirstDate,nRegionDataID,nBirthYear,nSex,"
             "bSecondary,bPDI FROM _cache_clients"),
         nullptr},
        {QStringLiteral("Fast"),
         QStringLiteral(
             "SELECT nReportID,dailyreport.nRegionDataID,dir.nType AS "
             "nType,nClientID,dDate,nWorkplace,nWorker1,nCount FROM dailyreport JOIN dailyvisits "
             "ON dailyvisits.nReportID=dailyreport.ROWID JOIN dir ON dir.ROWID=dailyvisits.nItem"),
         nullptr},
        {QStringLiteral("Workers"),
         QStringLiteral("SELECT ROWID,convert(cString USING cp1251),nRegionDataID,nSpeciality FROM "
                        "dir WHERE dir.nDirType=2 and not bIsFolder"),
         nullptr},
        {QStringLiteral("ClDaCh"),
         QStringLiteral("SELECT nClientID,dDate,nClientType,nRegionDataID") +
             groupColumns(*g_pClientGroup.Get(), QStringLiteral("nClientType2")) +
             QStringLiteral(" FROM clientdatachanges"),
         nullptr},
        {QStringLiteral("DrugData"),
         QStringLiteral("SELECT nClientID,dDate,nBasicDrug,nSecondaryDrug") +
             groupColumns(*g_pMainRouteEnum.Get(), QStringLiteral("nMainRoute")) +
             QStringLiteral(
                 ",nUseFrequency,nParticipation,nDrugStartDate,nRegionDataID FROM drugusedata"),
         nullptr},
        {QStringLiteral("SocStat"),
         QStringLiteral("SELECT nClientID,dDate,nEploymentStatus,convert(cOtherEployment USING "
                        "cp1251),nPlaceOfLiving,nEducationLevel,nLegalProblem,nChildCount,"
                        "bRegPolice,bNarcoDisp,bVolonter,nRegionDataID FROM socialstatus"),
         nullptr},
        {QStringLiteral("riskbeh"),
         QStringLiteral("SELECT "
                        "nClientID,dDate,nUseDirtySyr,nDesinfectionWay,nGivingUsed,nLastInjectWith,"
                        "nUsingCondom,nLastSexualPart,nRegionDataID FROM riskbehavior"),
         nullptr},
    };
}

bool CAccountingExport::Run(const QString& folder, CvProgress* progress, CvRunLog* log,
                            QStringList* failures) {
    failures->clear();
    auto report = [&](const QString& name, const QString& why) {
        *failures << name;
        if (log)
            log->AddWarning(name + QStringLiteral(": ") + why, 0);
    };
    if (progress)
        progress->BeginProgress(Tr(QStringLiteral("Выгрузка в DBF")), -1);
    if (!QDir().mkpath(folder)) {
        report(folder, Tr(QStringLiteral("Не удалось создать папку")));
        if (progress)
            progress->EndProgress(failures->join(u'\n'));
        return false;
    }

    const QList<CAccountingFile> files = Files();
    CCacheHold hold(m_base);
    if (progress)
        progress->SetRange(int(files.size()), Tr(QStringLiteral("Выгрузка таблиц")));
    for (const CAccountingFile& step : files) {
        if (progress && progress->IsCancelled()) {
            report(step.name, Tr(QStringLiteral("Выгрузка прервана пользователем")));
            break;
        }
        QString why;
        // The work tables are built after the organisations' file, before
        // the first list (as the export always did), and held until the
        // clients' file that reads them is written.
        if (&step == &files[1] && m_buildWorkTables &&
            (!hold.Acquire(progress, &why) || !m_buildWorkTables(&why)))
            report(QStringLiteral("_cache_clients"), why);
        why.clear();
        bool ok;
        if (!step.select.isEmpty())
            ok = ExportQuery(folder, step.select, step.name, &why);
        else if (step.list)
            ok = ExportList(folder, *step.list, step.name, &why);
        else
            ok = (why = Tr(QStringLiteral("Нет конфигурации"))).isEmpty();
        if (!ok)
            report(step.name, why);
        if (progress)
            progress->Step();
    }
    const bool ok = failures->isEmpty();
    if (progress)
        progress->EndProgress(ok ? QStringLiteral("Ok") : failures->join(u'\n'));
    return ok;
}

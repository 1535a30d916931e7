#include "sql_db_updater.h"

#include "cache_tables.h"
#include "framework/core/backup/sql_restore.h"
#include "framework/core/sql/sql_init.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "schema_steps.h"
#include "watched_tables.h"

namespace {
constexpr CxTr Tr("CSQLDBUpdater::OnUpdate");

QString ColumnsToNotNull(const QString& table, const QString& columns) {
    QStringList clauses;
    for (const QString& c : columns.split(u','))
        clauses << QStringLiteral("CHANGE %1 %1 INT NOT NULL DEFAULT 0").arg(c);
    return QStringLiteral("ALTER TABLE `%1` ").arg(table) + clauses.join(u',');
}

struct Registrar {
    Registrar() { RegisterDBUpdater(&SchemaUpdater()); }
} s_registrar;
} // namespace

CSQLDBUpdater& SchemaUpdater() {
    static CSQLDBUpdater updater;
    return updater;
}

QString CSQLDBUpdater::GetAppKey() const {
    return QStringLiteral("kelda2");
}

void CSQLDBUpdater::OnDataUpdated(int flags) {
    DropCacheTables(GetSQL());
    CxSQLDBUpdater::OnDataUpdated(flags);
}

QString SchemaStepText(const SchemaStep& step) {
    if (step.sql)
        return QString::fromUtf8(step.sql);
    if (step.number == 476)
        return ColumnsToNotNull(QStringLiteral("dailyvisits"),
                                QStringLiteral("nReportID,nClientID,nItem,nCount,NPP,nVedID,"
                                               "nRegionDataID"));
    if (step.number == 477)
        return ColumnsToNotNull(QStringLiteral("dailyreport"),
                                QStringLiteral("nRegionDataID,nProject"));
    return QString();
}

void CSQLDBUpdater::Steps(int from, int to) {
    for (int i = 0; i < kSchemaStepCount && !IsFailed(); ++i) {
        const SchemaStep& step = kSchemaSteps[i];
        if (step.number < from || step.number > to)
            continue;
        const QString text = SchemaStepText(step);
        switch (step.kind) {
        case SchemaStepKind::Old:
            UpdateOld(step.number, text);
            break;
        case SchemaStepKind::Single:
            Update(step.number, text);
            break;
        case SchemaStepKind::Multi:
            MultiUpdate(step.number, text);
            break;
        }
    }
}

void CSQLDBUpdater::OnUpdate() {
    m_warnings.clear();
    m_cacheClear.reset();
    if (!CheckProfileTable()) {
        Fail(QStringLiteral("Profile error"));
        return;
    }
    Steps(0, 23);
    if (IsFailed())
        return;
    RepairDirectoryOrder();
    Steps(24, 176);
    if (IsFailed())
        return;
    CheckMultiRecord(QStringLiteral("drugusedata"), QStringLiteral("nClientID"),
                     QStringLiteral("nLastLinkID"), QStringLiteral("dDate"));
    Steps(177, 178);
    if (IsFailed())
        return;
    CheckMultiRecord(QStringLiteral("riskbehavior"), QStringLiteral("nClientID"),
                     QStringLiteral("nLastLinkID"), QStringLiteral("dDate"));
    Steps(179, 180);
    if (IsFailed())
        return;
    CheckMultiRecord(QStringLiteral("socialstatus"), QStringLiteral("nClientID"),
                     QStringLiteral("nLastLinkID"), QStringLiteral("dDate"));
    Steps(181, 184);
    if (IsFailed())
        return;
    CheckMultiRecord(QStringLiteral("clientdatachanges"), QStringLiteral("nClientID"),
                     QStringLiteral("nLastLinkID"), QStringLiteral("dDate"));
    Steps(185, 198);
    if (IsFailed())
        return;
    CheckMultiRecord(QStringLiteral("jreabil"), QStringLiteral("nClientID"),
                     QStringLiteral("nLastLinkID"), QStringLiteral("dDate"));
    Steps(199, 393);
    if (IsFailed())
        return;

    if (GetDBVersion() == 394)
        SetVariable(QStringLiteral("AppName"), GetAppKey());
    Steps(394, 394);
    if (IsFailed() || !OnCheckAppName())
        return;

    Steps(395, 441);
    if (IsFailed())
        return;
    if (GetDBVersion() == 442)
        DropCacheTables(GetSQL());
    Steps(442, 478);
    if (IsFailed())
        return;
    AddTableName(QStringLiteral("orginf"));
    Steps(479, 479);
    if (IsFailed())
        return;
    if (GetDBVersion() == 480)
        MigrateOrganisationCard();
    Steps(480, 484);
    if (IsFailed())
        return;
    if (GetDBVersion() == 485)
        MigrateOrganisationCard();
    Steps(485, 485);
    if (IsFailed())
        return;

    CheckStorageEngines();
    if (IsFailed())
        return;
    DropStagingTables();
    SetInfoMessage(Tr(QStringLiteral("Проверка таблицы беременных")));
    Query(QStringLiteral("update clientpregdata set nChildID=NULL WHERE nChildID=0"));
    const char* const links[][2] = {
        {"drugusedata", "nClientID"},          {"dailyvisitssubhdr", "nReportID"},
        {"dailyvisits", "nReportID"},          {"clientdatachanges", "nClientID"},
        {"healthstatus", "nClientID"},         {"clientprojectdata", "nClientID"},
        {"clientprojectsummary", "nClientID"}, {"riskbehavior", "nClientID"},
        {"socialstatus", "nClientID"},
    };
    for (const auto& link : links)
        RemoveIncorrect(QString::fromLatin1(link[0]), QString::fromLatin1(link[1]));

    RegisterWatchedTables(GetSQL());
    m_cacheClear = std::make_unique<CCacheClear>(GetSQL());
}

void CSQLDBUpdater::RepairDirectoryOrder() {
    CxResult dup = Query(
        QStringLiteral("SELECT COUNT(*) AS nCnt FROM dir GROUP BY nDirType,nOrder HAVING nCnt>1"));
    if (!dup.isValid() || !dup.FetchRow())
        return;
    SetInfoMessage(Tr(QStringLiteral("Обновляется индекс сортировки")));
    // Numbers every entry from 1 in the order of its old number and text; the
    // row id keeps the order of equal entries stable.
    Query(QStringLiteral("UPDATE dir JOIN (SELECT ROWID AS nID,ROW_NUMBER() OVER (ORDER BY "
                         "nOrder,cString,ROWID) AS nPos FROM dir) AS t ON t.nID=dir.ROWID SET "
                         "dir.nOrder=t.nPos"));
}

void CSQLDBUpdater::MigrateOrganisationCard() {
    static const int ids[15] = {200, 300,  400,  500,  550,  600,  700, 800,
                                900, 1000, 1100, 1200, 1300, 1400, 1500};
    // The card's fields are narrower than the facts they come from: a longer
    // fact goes in cut to the field (the connection would refuse it whole),
    // the user is told which, and the full text stays in orginfo.
    QStringList cardIds{QStringLiteral("1")};
    for (int id : ids)
        cardIds << QString::number(id);
    CxResult longer = Query(
        QStringLiteral("SELECT nRegionDataID,nRecordID FROM orginfo WHERE (nRecordID=1 AND "
                       "CHAR_LENGTH(cValue)>64) OR (nRecordID IN (%1) AND CHAR_LENGTH(cValue)>254) "
                       "ORDER BY nRegionDataID,nRecordID")
            .arg(cardIds.mid(1).join(u',')));
    QStringList cut;
    while (longer.FetchRow())
        cut << QStringLiteral("%1/%2").arg(longer.SFieldValue(0), longer.SFieldValue(1));
    if (!cut.isEmpty()) {
        QString text =
            Tr(QStringLiteral("В карточку организации вошли не полностью сведения, длиннее поля "
                              "карточки (организация/параметр: {list}); полный текст сохранён в "
                              "таблице orginfo."))
                .replace(QStringLiteral("{list}"), cut.join(QStringLiteral(", ")));
        if (!m_warnings.contains(text)) // the migration runs twice on the way
            m_warnings << text;
        SetWarning();
        SetInfoMessage(text);
    }

    QString sql = QStringLiteral(
        "INSERT IGNORE INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cSogName,cCity,cRegion,"
        "cAddress,cPhone,cEMail,cWWW,cBoss,cBossPhone,cProjRuk,cProjRukPhone,cDonors,"
        "cProjectDate) SELECT orginfo.nRegionDataID,LEFT(orginfo.cValue,64)");
    for (int k = 0; k < 15; ++k)
        sql += QStringLiteral(",LEFT(x%1.cValue,254)").arg(k);
    sql += QStringLiteral("  FROM orginfo ");
    for (int k = 0; k < 15; ++k)
        sql += QStringLiteral(" LEFT JOIN orginfo AS x%1 ON x%1.nRecordID=%2 AND "
                              "x%1.nRegionDataID=orginfo.nRegionDataID")
                   .arg(k)
                   .arg(ids[k]);
    sql += QStringLiteral(" WHERE orginfo.nRecordID=1");
    if (!Query(sql).isValid())
        FailQuery(sql);
}

void CSQLDBUpdater::CheckStorageEngines() {
    auto notInnoDB = [this](QStringList* tables) -> bool {
        CxResult list = Query(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"));
        if (!list.isValid())
            return false;
        QStringList names;
        while (list.FetchRow())
            names << list.SFieldValue(0);
        for (const QString& name : names) {
            if (IsCacheTableName(name))
                continue;
            CxResult create = Query(QStringLiteral("SHOW CREATE TABLE `%1`").arg(name));
            if (!create.isValid() || !create.FetchRow()) {
                Fail(Tr(QStringLiteral("Ошибка получения информации о создании базы данных"),
                        QStringLiteral("msgTableCreateInfoReadError")));
                return false;
            }
            if (!create.SFieldValue(1).contains(QStringLiteral("InnoDB")))
                *tables << name;
        }
        return true;
    };
    QStringList tables;
    if (!notInnoDB(&tables))
        return;
    for (const QString& name : tables) {
        if (!Query(QStringLiteral("alter table `%1` ENGINE=InnoDB").arg(name)).isValid()) {
            Fail(Tr(QStringLiteral("Ошибка обновления 2")));
            return;
        }
    }
    tables.clear();
    if (!notInnoDB(&tables))
        return;
    if (!tables.isEmpty()) {
        const QString text =
            Tr(QStringLiteral("Ваша база все еще содержит ошибки! \nРекомендуется сделать "
                              "резервную копию и связаться с разработчиком!"));
        m_warnings << text;
        SetWarning();
        SetInfoMessage(text);
    }
}

void CSQLDBUpdater::DropStagingTables() {
    SetInfoMessage(Tr(QStringLiteral("Проверка базы данных")));
    QString restore;
    if (CSQLRestore::CleanInterrupted(GetSQL(), &restore) && !restore.isEmpty()) {
        SetInfoMessage(restore);
        CTarvikApp::AddErrorMessage(restore);
    }
    CxResult list = Query(QStringLiteral("show tables like 'orvel\\_%'"));
    QStringList names;
    while (list.isValid() && list.FetchRow())
        names << list.SFieldValue(0);
    for (const QString& name : names) {
        SetInfoMessage(Tr(QStringLiteral("Удаление временной таблицы {table}"))
                           .replace(QStringLiteral("{table}"), name));
        Query(QStringLiteral("DROP TABLE `%1`").arg(name));
    }
}

void CSQLDBUpdater::CheckMultiRecord(const QString& table, const QString& ownerField,
                                     const QString& keyField, const QString& dateField) {
    const QString context = QStringLiteral("CSQLDBUpdater::CheckMultiRecord");
    auto tr = [&](const QString& text) {
        return Tr(text, context).replace(QStringLiteral("{table}"), table);
    };
    SetInfoMessage(tr(QStringLiteral("Проверка индекса \"Дата\" в таблице {table}")));
    CxResult undated = Query(QStringLiteral("SELECT %1,ROWID FROM %2 WHERE ISNULL(%3) ORDER BY %1")
                                 .arg(ownerField, table, dateField));
    if (undated.isValid() && undated.RowsCount() > 0) {
        SetInfoMessage(
            tr(QStringLiteral(
                   "Обнаружено {records} запись(и,ей) с неправильным значение поля дата"))
                .replace(QStringLiteral("{records}"), QString::number(undated.RowsCount())));
        SetWarning();
        while (undated.FetchRow()) {
            const QString rowId = undated.SFieldValue(1);
            SetInfoMessage(
                tr(QStringLiteral("Исправление в таблице {table}. Код записи {recordid}"))
                    .replace(QStringLiteral("{recordid}"), rowId));
            // Each later date gets past a client that already has a record on
            // the earlier one (one record per client and date).
            bool fixed = false;
            for (const char* date : {"1900-01-01", "1900-01-02", "1900-01-03"}) {
                CxResult upd = Query(QStringLiteral("UPDATE IGNORE %1 SET %2='%3' WHERE ROWID=%4")
                                         .arg(table, dateField, QString::fromLatin1(date), rowId));
                if (upd.isValid() && upd.AffectedRows() == 1) {
                    fixed = true;
                    break;
                }
            }
            if (!fixed)
                SetInfoMessage(tr(QStringLiteral("Неудалось обновить")));
        }
    }

    SetInfoMessage(tr(QStringLiteral("Анализ признака последней записи в таблице {table}")));
    CxResult unlinked = Query(
        QStringLiteral("SELECT ROWID,{cOriginField},COUNT(*) AS nCnt,MAX({cKeyField}) AS Max, "
                       "MAX({cOrderField}) AS Last  FROM {cTable} GROUP BY {cOriginField} HAVING "
                       "ISNULL(Max)")
            .replace(QStringLiteral("{cOriginField}"), ownerField)
            .replace(QStringLiteral("{cKeyField}"), keyField)
            .replace(QStringLiteral("{cOrderField}"), dateField)
            .replace(QStringLiteral("{cTable}"), table));
    if (unlinked.isValid() && unlinked.RowsCount() > 0) {
        SetInfoMessage(
            tr(QStringLiteral("Обнаружено {records} запись(и,ей) с неправильным признаком "
                              "последней записи"))
                .replace(QStringLiteral("{records}"), QString::number(unlinked.RowsCount())));
        while (unlinked.FetchRow()) {
            if (unlinked.IsNull(1))
                continue;
            const QString owner = unlinked.SFieldValue(1);
            SetInfoMessage(
                tr(QStringLiteral("Исправление в таблице {table}. Код записи {recordid}"))
                    .replace(QStringLiteral("{recordid}"), unlinked.SFieldValue(0)));
            const QString last =
                unlinked.IsNull(4)
                    ? QStringLiteral("ISNULL(%1)").arg(dateField)
                    : QStringLiteral("%1='%2'").arg(dateField, unlinked.SFieldValue(4));
            CxResult upd = Query(QStringLiteral("UPDATE %1 SET %2=%3 WHERE %4=%3 AND %5 LIMIT 1")
                                     .arg(table, keyField, owner, ownerField, last));
            if (!upd.isValid())
                SetInfoMessage(tr(QStringLiteral("Неудалось обновить")));
        }
    }

    SetInfoMessage(
        Tr(QStringLiteral("Анализ структуры справочника"), QStringLiteral("msgAnalizeDirStruct")));
    CxResult orphan = Query(QStringLiteral("SELECT * FROM dir WHERE ISNULL(nGroupID) LIMIT 1"));
    if (orphan.isValid() && orphan.FetchRow())
        Query(QStringLiteral("UPDATE dir SET nGroupID=0 where isnull(nGroupID)"));
}

void CSQLDBUpdater::RemoveIncorrect(const QString& table, const QString& column) {
    SetInfoMessage(Tr(QStringLiteral("Проверка поля-связки для таблицы {table}"),
                      QStringLiteral("CSQLDBUpdater::RemoveIncorrect"))
                       .replace(QStringLiteral("{table}"), table));
    Query(QStringLiteral("DELETE FROM %1 WHERE %2=-1").arg(table, column));
}

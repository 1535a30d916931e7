#include "org_merge.h"

#include "db/schema/cache_tables.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/run_steps.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

namespace {

QString QuoteName(const QString& name) {
    QString n = name;
    return u'`' + n.replace(u'`', QStringLiteral("``")) + u'`';
}

// One run's transaction and its reporting: a failure rolls back and keeps the
// first reason.
class OrgRun : public CvRunSteps {
public:
    OrgRun(CxSQL* sql, CvProgress* progress, CvRunLog* log, const QString& context)
        : CvRunSteps(progress, log), m_sql(sql), m_context(context) {}

    QString Tr(const QString& text) const { return CTarvikApp::TranslateString(text, m_context); }

    bool Tables(QStringList* tables) {
        CxResult res;
        if (!Query(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"), &res))
            return false;
        while (res.FetchRow())
            *tables << res.SFieldValue(0);
        return true;
    }
    bool Query(const QString& statement, CxResult* out = nullptr) {
        return RunStatement(m_sql, statement, out);
    }
    // The column names of a table, read through a row of it, so a table the
    // server cannot read stops the run here.
    bool Columns(const QString& table, QStringList* columns) {
        CxResult res = m_sql->Execute(QStringLiteral("SELECT * FROM ") + QuoteName(table) +
                                      QStringLiteral(" LIMIT 1"));
        if (!res.isValid())
            return Fail(Tr(QStringLiteral("Ошибка чтения таблицы {table}"))
                            .replace(QLatin1String("{table}"), table) +
                        u'\n' + DescribeSQLError(res.Error()));
        for (int i = 0; i < res.FieldsCount(); ++i)
            *columns << res.FieldName(i);
        return true;
    }
    bool Begin() { return Query(QStringLiteral("START TRANSACTION")) && (m_open = true); }
    bool Commit() {
        if (Cancelled() || !Query(QStringLiteral("COMMIT")))
            return Rollback();
        m_open = false;
        return true;
    }
    bool Rollback() {
        if (m_open)
            m_sql->RollbackAfterFailure(&m_error);
        m_open = false;
        return false;
    }
    bool Cancelled() {
        if (m_progress && m_progress->IsCancelled())
            return !Fail(Tr(QStringLiteral("Прервано пользователем; база данных не изменена")));
        return false;
    }
    using CvRunSteps::Fail;
    // The failure happened on this table: its name goes before the reason.
    void NameTable(const QString& table) {
        m_error = Tr(QStringLiteral("Ошибка обработки таблицы")) + u' ' + table + u'\n' + m_error;
    }
    // Rolls back, tells the log and the caller; answers false.
    bool Finish(bool ok, QString* error) {
        if (!ok) {
            Rollback();
            if (m_log)
                m_log->AddWarning(m_error, 0);
            if (error)
                *error = m_error;
        }
        if (m_progress)
            m_progress->EndProgress(ok ? QStringLiteral("Ok") : m_error);
        return ok;
    }
    void DropWorkTables() {
        // The work tables are derived from the rows just changed.
        if (!DropCacheTables(m_sql) && m_log)
            m_log->AddWarning(Tr(QStringLiteral("Не удалось удалить рабочие таблицы отчетов; "
                                                "они будут построены заново при следующем "
                                                "изменении данных")),
                              1);
    }

    CxSQL* m_sql;
    QString m_context;
    bool m_open = false;
};

bool HasColumn(const QStringList& columns, const QString& name) {
    return columns.contains(name, Qt::CaseInsensitive);
}

QString CutSuffix(const QString& table, const QString& column) {
    const QString c = table + u'.' + column;
    return QStringLiteral("update %1 set %2=substr(%2,1,locate('`',%2)-1) where locate('`', %2)")
        .arg(table, c);
}

} // namespace

bool MergeOrganisations(CxSQL* sql, CvProgress* progress, CvRunLog* log, QString* error) {
    OrgRun run(sql, progress, log, QStringLiteral("CMergeOrgsWizard::Process"));
    if (progress)
        progress->BeginProgress(
            CTarvikApp::TranslateString(QStringLiteral("Объединение организаций"),
                                        QStringLiteral("msgMergeOrgWiz")),
            -1);
    QStringList tables;
    bool ok = run.Tables(&tables) && run.Begin();
    if (ok && progress)
        progress->SetRange(int(tables.size()) + 4, run.Tr(QStringLiteral("Обработка таблиц")));
    const QString keys[][2] = {{QStringLiteral("clientdata"), QStringLiteral("cClientCode")},
                               {QStringLiteral("clientdata"), QStringLiteral("cOClientCode")},
                               {QStringLiteral("clientdata"), QStringLiteral("cGlobalCode")},
                               {QStringLiteral("dir"), QStringLiteral("cString")}};
    for (const auto& key : keys) {
        ok = ok && !run.Cancelled() && run.Query(CutSuffix(key[0], key[1]));
        if (ok && progress)
            progress->Step();
    }
    for (const QString& table : tables) {
        if (!ok || run.Cancelled()) {
            ok = false;
            break;
        }
        if (progress)
            progress->Step();
        if (IsCacheTableName(table))
            continue;
        QStringList columns;
        if (!(ok = run.Columns(table, &columns)))
            break;
        // The old organisation table keeps its own numbering; the load
        // register must go on naming the organisation of each load.
        if (table.compare(QLatin1String("orginfo"), Qt::CaseInsensitive) == 0 ||
            table.compare(QLatin1String("cmp_loadids"), Qt::CaseInsensitive) == 0)
            continue;
        if (log)
            log->AddInfoMessage(QStringLiteral("."), 0);
        if (HasColumn(columns, QStringLiteral("nRegionDataID")))
            ok = run.Query(QStringLiteral("update ") + QuoteName(table) +
                           QStringLiteral(" set nRegionDataID=0 WHERE NOT (nRegionDataID<=>0)"));
    }
    ok = ok && run.Commit();
    if (ok) {
        run.DropWorkTables();
        if (log)
            log->AddInfoMessage(CTarvikApp::TranslateString(QStringLiteral("Успешно объединено"),
                                                            QStringLiteral("msgMergeSuccess")),
                                1);
    }
    return run.Finish(ok, error);
}

bool RemoveOrganisation(CxSQL* sql, int orgId, CvProgress* progress, CvRunLog* log,
                        QString* error) {
    OrgRun run(sql, progress, log, QStringLiteral("CRemoveOrgWizard::Process"));
    if (progress)
        progress->BeginProgress(CTarvikApp::TranslateString(QStringLiteral("Удаление организации"),
                                                            QStringLiteral("msgOrgDelete")),
                                -1);
    if (log)
        log->AddInfoMessage(CTarvikApp::TranslateString(QStringLiteral("Анализ базы данных"),
                                                        QStringLiteral("msgDBAnalize")),
                            1);
    if (orgId <= 0) {
        run.Fail(run.Tr(QStringLiteral("Собственную организацию удалить нельзя")));
        return run.Finish(false, error);
    }
    const QString id = QString::number(orgId);
    QStringList tables;
    bool ok = run.Tables(&tables);
    if (ok && progress)
        progress->SetRange(int(tables.size()),
                           CTarvikApp::TranslateString(QStringLiteral("Обработка таблиц"),
                                                       QStringLiteral("msgProcessingTables")));
    ok = ok && run.Begin();
    // The loads this organisation sent, whose snapshots go with it.
    QStringList loads;
    if (ok && tables.contains(QStringLiteral("cmp_loadids"), Qt::CaseInsensitive)) {
        CxResult res;
        ok = run.Query(QStringLiteral("SELECT nLoadID FROM cmp_loadids WHERE nRegionDataID=") + id,
                       &res);
        while (ok && res.FetchRow())
            loads << QString::number(res.LFieldValue(0));
    }
    for (const QString& table : tables) {
        if (!ok || run.Cancelled()) {
            ok = false;
            break;
        }
        if (progress)
            progress->Step();
        if (IsCacheTableName(table))
            continue;
        if (log)
            log->AddInfoMessage(
                CTarvikApp::TranslateString(QStringLiteral("Обработка таблицы {table}..."),
                                            QStringLiteral("msgProcessingTable"))
                    .replace(QLatin1String("{table}"), table),
                1);
        QStringList columns;
        if (!(ok = run.Columns(table, &columns)))
            break;
        const QString key = table.compare(QLatin1String("orginf"), Qt::CaseInsensitive) == 0
                                ? QStringLiteral("ROWID")
                                : QStringLiteral("nRegionDataID");
        QString condition;
        if (HasColumn(columns, key))
            condition = key + u'=' + id;
        else if (table.startsWith(QLatin1String("cmp_"), Qt::CaseInsensitive) &&
                 HasColumn(columns, QStringLiteral("nLoadID")) && !loads.isEmpty())
            condition = QStringLiteral("nLoadID IN (") + loads.join(u',') + u')';
        if (condition.isEmpty())
            continue;
        if (!(ok = run.Query(QStringLiteral("DELETE FROM ") + QuoteName(table) +
                             QStringLiteral(" WHERE ") + condition))) {
            run.NameTable(table);
            break;
        }
        if (log)
            log->AddInfoMessage(u' ' + run.Tr(QStringLiteral("Обработано")), 0);
    }
    ok = ok && run.Commit();
    if (ok)
        run.DropWorkTables();
    return run.Finish(ok, error);
}

QString RemoveOrgDescription(const QString& orgId) {
    return CTarvikApp::TranslateString(
               QStringLiteral(
                   "<h1>Удаление организации <u>«{orgid}»</u></h1>\n\n<warning>Внимание! "
                   "Будут удалены все данные присланные из организации</warning>\n\n"
                   "Что бы приступить к удалению организации <u>«{orgid}»</u> нажмите "
                   "«Выполнить»"),
               QStringLiteral("msgDeleteOrganizationDesc"))
        .replace(QLatin1String("{orgid}"), orgId.toHtmlEscaped());
}

#include "optimize_db.h"

#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

namespace {
constexpr CxTr Tr("OptimizeDB");
} // namespace

bool OptimizeDB(CxSQL* sql, CvProgress* progress, CvRunLog* log, QString* error) {
    QStringList failures;
    auto finish = [&](bool ok) {
        if (!ok && error)
            *error = failures.join(u'\n');
        if (!ok && log)
            log->AddWarning(failures.join(u'\n'), 0);
        if (progress)
            progress->EndProgress(ok ? Tr(QStringLiteral("Готово")) : failures.join(u'\n'));
        return ok;
    };
    if (progress)
        progress->BeginProgress(Tr(QStringLiteral("Оптимизация базы данных")), -1);
    CxResult list = sql->Execute(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"));
    if (!list.isValid()) {
        failures << DescribeSQLError(list.Error());
        return finish(false);
    }
    QStringList tables;
    while (list.FetchRow()) {
        const QString name = list.SFieldValue(0);
        if (!name.startsWith(QLatin1String("_cache_"), Qt::CaseInsensitive))
            tables << name;
    }
    if (progress)
        progress->SetRange(int(tables.size()), Tr(QStringLiteral("Оптимизация таблиц")));
    for (const QString& table : tables) {
        if (progress && progress->IsCancelled()) {
            failures << Tr(QStringLiteral("Оптимизация прервана пользователем"));
            return finish(false);
        }
        QString quoted = table;
        quoted.replace(u'`', QStringLiteral("``"));
        CxResult res = sql->Execute(QStringLiteral("OPTIMIZE TABLE `%1`").arg(quoted));
        QStringList problems;
        if (!res.isValid())
            problems << res.Error().text;
        // One row per message; errors come as rows, not as a failed statement.
        while (res.FetchRow())
            if (res.SFieldValue(QStringLiteral("Msg_type"))
                    .compare(QLatin1String("error"), Qt::CaseInsensitive) == 0)
                problems << res.SFieldValue(QStringLiteral("Msg_text"));
        if (problems.isEmpty()) {
            if (log)
                log->AddInfoMessage(table + QStringLiteral(": OK"), 1);
        } else {
            failures << table + QStringLiteral(": ") + problems.join(QStringLiteral("; "));
        }
        if (progress)
            progress->Step();
    }
    return finish(failures.isEmpty());
}

#include "sql_export_wizard.h"

#include "exchange_sql.h"
#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "sql_import_wizard.h"

#include <QDateTime>
#include <QUuid>

#include <future>
#include <vector>

namespace {

constexpr CxTr Tr;

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString Cancelled() {
    return Tr(QStringLiteral("Операция прервана пользователем"),
              QStringLiteral("msgExchangeCancelled"));
}

// Ends the reading transaction on every way out.
class ReadSnapshot {
public:
    explicit ReadSnapshot(CxSQL* sql) : m_sql(sql) {
        m_open =
            sql->Execute(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT")).isValid();
    }
    ~ReadSnapshot() {
        if (m_open)
            m_sql->ExecuteCleanup(QStringLiteral("ROLLBACK")); // the snapshot only read
    }
    bool IsOpen() const { return m_open; }

private:
    CxSQL* m_sql;
    bool m_open;
};

} // namespace

bool CSQLExportWizard::Export(CxSQL* sql, const QString& path, CvProgress* progress,
                              QString* error) {
    using namespace ExchangeSQL;
    m_rows.clear();
    m_attributes.clear();
    m_helper->m_pSQL = sql;

    const QString own = m_helper->GetOwnOrgID().trimmed();
    if (own.isEmpty())
        return Fail(error, Tr(QStringLiteral("Не задан код своей организации. Заполните "
                                             "сведения об организации перед отправкой данных."),
                              QStringLiteral("msgExchangeNoOwnOrg")));
    m_helper->SetAppID(m_attributes);
    m_attributes.insert(QStringLiteral("cOrgID"), own);
    m_attributes.insert(QStringLiteral("PackageID"),
                        QUuid::createUuid().toString(QUuid::WithoutBraces));
    // Milliseconds, so that two packages of one sender always tell which is
    // the later.
    m_attributes.insert(QStringLiteral("Created"),
                        QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));

    // One reading of the database for every page of every table, so the
    // package never mixes states before and after another user's change.
    ReadSnapshot snapshot(sql);
    if (!snapshot.IsOpen())
        return Fail(error, StatementError(sql, QStringLiteral("START TRANSACTION")));

    // Whose each row is: the organisations behind the numbers of the rows,
    // read in the same snapshot as the rows.
    QMap<int, QString> origins;
    if (!m_helper->GetOrigins(&origins, error))
        return false;
    for (auto it = origins.cbegin(); it != origins.cend(); ++it) {
        m_attributes.insert(OriginAttribute(it.key()), it.value());
        QString stamp;
        if (it.key() != 0 && !CSQLImportWizard::LastPackageStamp(sql, it.value(), &stamp, error))
            return false;
        if (!stamp.isEmpty())
            m_attributes.insert(OriginCreatedAttribute(it.key()), stamp);
    }

    struct Planned {
        CSQLExchangeTable table;
        QList<CSQLExchangeColumn> columns;
        qint64 rows = 0;
    };
    QList<Planned> plan;
    qint64 total = 0;
    for (const CSQLExchangeTable& table : m_helper->GetExchangeTables()) {
        Planned p{table, {}, 0};
        if (!TableColumns(sql, table.name, &p.columns, error))
            return false;
        const QString count = QStringLiteral("SELECT COUNT(*) FROM ") + Quoted(table.name);
        CxResult res = sql->Execute(count);
        if (!res.isValid() || !res.FetchRow())
            return Fail(error, StatementError(sql, count));
        p.rows = res.SFieldValue(0).toLongLong();
        total += p.rows;
        plan.append(p);
    }

    CSQLExchangePackageWriter writer;
    if (!writer.Open(path, error))
        return false;
    if (progress)
        progress->BeginProgress(
            Tr(QStringLiteral("Выгрузка данных"), QStringLiteral("msgExchangeExporting")),
            int(std::min<qint64>(total, INT_MAX)));

    std::vector<const char*> values;
    std::vector<unsigned long> lengths;
    for (const Planned& p : std::as_const(plan)) {
        if (progress)
            progress->SetRange(int(std::min<qint64>(p.rows, INT_MAX)), TableCaption(p.table.name));
        if (!writer.BeginTable(p.table.name, p.columns, error))
            return false;
        QStringList names;
        for (const CSQLExchangeColumn& c : p.columns)
            names << Quoted(c.name);
        const QString head = QStringLiteral("SELECT ") + names.join(u',') +
                             QStringLiteral(" FROM ") + Quoted(p.table.name);
        values.resize(size_t(p.columns.size()));
        lengths.resize(size_t(p.columns.size()));
        int keyIndex = -1;
        for (qsizetype i = 0; i < p.columns.size(); ++i)
            if (p.columns[i].name.compare(p.table.key, Qt::CaseInsensitive) == 0 &&
                p.columns[i].numeric)
                keyIndex = int(i);
        const QString pageColumn =
            p.table.pageColumn.isEmpty() ? QString() : Quoted(p.table.pageColumn);

        // Pages in key order, each after the last key of the one before. A
        // table without a key is read by ranges of its page column (first
        // the rows where it is NULL), each range ending where the page's
        // rows do; without one, in the order of all its columns.
        auto keyPage = [&](const QByteArray& after) {
            QString page = head;
            if (!after.isEmpty())
                page +=
                    QStringLiteral(" WHERE ") + names[keyIndex] + u'>' + QString::fromLatin1(after);
            return page + QStringLiteral(" ORDER BY ") + names[keyIndex] +
                   QStringLiteral(" LIMIT %1").arg(kPageRows);
        };
        // The server reads the next page of a keyed table while this thread
        // writes the last one; the connection serves one statement at a time.
        auto read = [sql](const QString& statement) {
            return std::async(std::launch::async,
                              [sql, statement] { return sql->Execute(statement); });
        };
        std::future<CxResult> next;
        QString nextPage;
        if (keyIndex >= 0) {
            nextPage = keyPage(QByteArray());
            next = read(nextPage);
        }
        QString lastBound;
        bool nullsDone = false, lastPage = false;
        qint64 written = 0;
        while (!lastPage) {
            if (progress && progress->IsCancelled()) {
                writer.Abandon();
                return Fail(error, Cancelled());
            }
            QString page = head;
            CxResult res;
            if (keyIndex >= 0) {
                page = nextPage;
                res = next.get();
            } else if (!pageColumn.isEmpty() && !nullsDone) {
                page += QStringLiteral(" WHERE ") + pageColumn + QStringLiteral(" IS NULL");
                nullsDone = true;
            } else if (!pageColumn.isEmpty()) {
                const QString after = lastBound.isEmpty()
                                          ? pageColumn + QStringLiteral(" IS NOT NULL")
                                          : pageColumn + u'>' + lastBound;
                const QString bound = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 "
                                                     "LIMIT 1 OFFSET %4")
                                          .arg(pageColumn, Quoted(p.table.name), after)
                                          .arg(kPageRows - 1);
                CxResult boundRes = sql->Execute(bound);
                if (!boundRes.isValid()) {
                    writer.Abandon();
                    return Fail(error, StatementError(sql, bound));
                }
                page += QStringLiteral(" WHERE ") + after;
                if (boundRes.FetchRow()) {
                    lastBound = QString::number(boundRes.SFieldValue(0).toLongLong());
                    page += QStringLiteral(" AND ") + pageColumn + QStringLiteral("<=") + lastBound;
                } else {
                    lastPage = true;
                }
            } else {
                page += QStringLiteral(" ORDER BY ") + names.join(u',') +
                        QStringLiteral(" LIMIT %1 OFFSET %2").arg(kPageRows).arg(written);
            }
            if (keyIndex < 0)
                res = sql->Execute(page);
            if (!res.isValid()) {
                writer.Abandon();
                return Fail(error, StatementError(sql, page));
            }
            CxResultBase* rows = res.Base();
            const qint64 inPage = rows->RowsCount();
            if (keyIndex >= 0 && inPage == kPageRows && rows->FetchRow(inPage - 1)) {
                nextPage = keyPage(
                    QByteArray(rows->RawField(keyIndex), qsizetype(rows->FieldLength(keyIndex))));
                next = read(nextPage);
            }
            for (qint64 r = 0; r < inPage && rows->FetchRow(r == 0 ? 0 : -1); ++r) {
                for (qsizetype i = 0; i < p.columns.size(); ++i) {
                    values[size_t(i)] = rows->RawField(int(i));
                    lengths[size_t(i)] = rows->FieldLength(int(i));
                }
                writer.WriteRow(values.data(), lengths.data());
            }
            written += inPage;
            if (progress && inPage > 0)
                progress->Step(QString(), int(inPage));
            if (pageColumn.isEmpty() || keyIndex >= 0)
                lastPage = inPage < kPageRows;
        }
        if (!writer.EndTable(error))
            return false;
        m_rows.insert(p.table.name, written);
    }
    if (!writer.Finish(m_attributes, error))
        return false;
    if (progress)
        progress->EndProgress();
    return true;
}

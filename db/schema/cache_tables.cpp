#include "cache_tables.h"

#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QHash>
#include <mutex>

namespace {
// The builders of work tables wait this long for the lock too.
constexpr int kLockWaitSeconds = 999999;
// How long a waiting build sleeps on one holder before it looks again
// whether it was stopped.
constexpr int kHolderWaitSeconds = 1;
const QString kStaleMark = QStringLiteral("_cache_stale");

constexpr CxTr Tr;

// The connection's holds: how deep they nest and the slot they took.
struct HeldSlot {
    int depth = 0;
    QString name;
};
std::mutex g_heldMutex;
QHash<CxSQL*, HeldSlot> g_held;

QString SlotName(const QString& prefix, int slot) {
    return prefix + QString::number(slot);
}

// The slot names of the connection's database: a digest of its name, so the
// builds of different databases on one server never meet.
QString SlotPrefix(CxSQL* sql) {
    CxResult res = sql->Execute(
        QStringLiteral("SELECT CONCAT('kwt_',LEFT(MD5(IFNULL(DATABASE(),'')),20),'_')"));
    return res.FetchRow() ? res.SFieldValue(0) : QString();
}

// The slots held by other connections (the first of them in `first`), and
// which slots are held at all.
int OtherHolders(CxSQL* sql, const QString& prefix, int* first = nullptr,
                 QList<bool>* used = nullptr) {
    QStringList columns;
    for (int slot = 0; slot < CCacheHold::kCacheHoldSlots; ++slot)
        columns << QStringLiteral("IS_USED_LOCK('%1')").arg(SlotName(prefix, slot));
    CxResult res = sql->Execute(QStringLiteral("SELECT CONNECTION_ID(),") + columns.join(u','));
    if (first)
        *first = -1;
    if (!res.FetchRow())
        return -1;
    const QString self = res.SFieldValue(0);
    int others = 0;
    for (int slot = 0; slot < CCacheHold::kCacheHoldSlots; ++slot) {
        const bool held = !res.IsNull(slot + 1);
        if (used)
            used->append(held);
        if (held && res.SFieldValue(slot + 1) != self) {
            if (first && *first < 0)
                *first = slot;
            ++others;
        }
    }
    return others;
}

bool MarkStale(CxSQL* sql) {
    return sql
        ->Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + kStaleMark +
                  QStringLiteral(" (n INT) ENGINE=MyISAM"))
        .isValid();
}

// Drops every work table, the stale mark with them; "dblock" is held.
bool DropAll(CxSQL* sql) {
    CxResult tables = sql->Execute(QStringLiteral("SHOW TABLES"));
    if (!tables.isValid())
        return false;
    QStringList names;
    while (tables.FetchRow()) {
        const QString name = tables.SFieldValue(0);
        if (IsCacheTableName(name))
            names << name;
    }
    bool all = true;
    for (const QString& name : names) {
        QString quoted = name;
        quoted.replace(u'`', QStringLiteral("``"));
        if (!sql->Execute(QStringLiteral("DROP TABLE `%1`").arg(quoted)).isValid())
            all = false;
    }
    return all;
}

void NoLockMessage() {
    CTarvikApp::AddErrorMessage(
        Tr(QStringLiteral("Не удалось дождаться блокировки базы данных для удаления "
                          "рабочих таблиц отчетов"),
           "DropCacheTables"));
}
} // namespace

bool IsCacheTableName(const QString& name) {
    return name.left(7).toLower() == QStringLiteral("_cache_");
}

bool CacheTablesStale(CxSQL* sql) {
    CxResult res = sql->Execute(QStringLiteral("SHOW TABLES LIKE '\\\\_cache\\\\_stale'"));
    return res.FetchRow();
}

bool DropCacheTables(CxSQL* sql) {
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    if (!sql || !sql->IsConnected())
        return false;
    const QString prefix = SlotPrefix(sql);
    if (prefix.isEmpty())
        return false;
    // Other builds read the tables: they go when the last of those ends. The
    // mark comes first and the holders are counted again, so a holder that
    // ended meanwhile has either seen the mark or is gone from the count.
    if (OtherHolders(sql, prefix) > 0) {
        if (!MarkStale(sql))
            return false;
        if (OtherHolders(sql, prefix) > 0)
            return true;
    }
    CxSQLLockGuard lock(sql, kLockWaitSeconds);
    if (!lock.Locked()) {
        NoLockMessage();
        return false;
    }
    // Builds take their holds under the lock: none can begin now.
    const int holders = OtherHolders(sql, prefix);
    if (holders < 0)
        return false;
    return holders > 0 ? MarkStale(sql) : DropAll(sql);
}

CCacheHold::CCacheHold(CxSQL* sql) : m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

CCacheHold::~CCacheHold() {
    Release();
}

bool CCacheHold::Acquire(CvProgress* progress, QString* error) {
    if (m_held)
        return true;
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_sql || !m_sql->IsConnected())
        return fail(Tr(QStringLiteral("Нет соединения с базой данных"), "CCacheHold"));
    {
        std::lock_guard guard(g_heldMutex);
        auto held = g_held.find(m_sql);
        if (held != g_held.end()) {
            ++held->depth;
            return m_held = true;
        }
    }
    const QString prefix = SlotPrefix(m_sql);
    if (prefix.isEmpty())
        return fail(m_sql->GetSqlErrorString());
    const QString waiting =
        Tr(QStringLiteral("Ожидание окончания отчетов, начатых до изменения данных"), "CCacheHold");
    for (;;) {
        if (progress && progress->IsCancelled())
            return fail(Tr(QStringLiteral("Формирование отчета прервано пользователем"),
                           "msgReportCancelled"));
        if (!m_sql->Lock(kLockWaitSeconds))
            return fail(Tr(QStringLiteral("Не удалось получить блокировку базы данных для "
                                          "построения таблицы"),
                           "msgCantLockForTable"));
        int first = -1;
        QList<bool> used;
        const int others = OtherHolders(m_sql, prefix, &first, &used);
        bool stale = others >= 0 && CacheTablesStale(m_sql);
        if (others < 0 || (stale && others == 0 && !DropAll(m_sql))) {
            m_sql->Unlock();
            return fail(m_sql->GetSqlErrorString());
        }
        if (stale && others == 0)
            stale = false;
        if (!stale) {
            for (int slot = 0; slot < kCacheHoldSlots; ++slot) {
                if (used.value(slot))
                    continue;
                CxResult got = m_sql->Execute(
                    QStringLiteral("SELECT GET_LOCK('%1',0)").arg(SlotName(prefix, slot)));
                if (got.FetchRow() && got.SFieldValue(0) == QLatin1String("1")) {
                    m_sql->Unlock();
                    std::lock_guard guard(g_heldMutex);
                    g_held.insert(m_sql, HeldSlot{1, SlotName(prefix, slot)});
                    return m_held = true;
                }
            }
        }
        m_sql->Unlock();
        // Stale tables still read by others (or every slot taken): wait for
        // one of them to end.
        if (progress)
            progress->Step(waiting, 0);
        if (first >= 0) {
            const QString name = SlotName(prefix, first);
            CxResult got = m_sql->Execute(
                QStringLiteral("SELECT GET_LOCK('%1',%2)").arg(name).arg(kHolderWaitSeconds));
            if (got.FetchRow() && got.SFieldValue(0) == QLatin1String("1"))
                m_sql->ExecuteCleanup(QStringLiteral("SELECT RELEASE_LOCK('%1')").arg(name));
        }
    }
}

void CCacheHold::Release() {
    if (!m_held)
        return;
    m_held = false;
    QString name;
    {
        std::lock_guard guard(g_heldMutex);
        auto held = g_held.find(m_sql);
        if (held == g_held.end() || --held->depth > 0)
            return;
        name = held->name;
        g_held.erase(held);
    }
    if (!m_sql->IsConnected())
        return; // the server gave the slot back with the connection
    // A release that fails has lost the connection, which gives the slot back.
    static_cast<void>(m_sql->Execute(QStringLiteral("SELECT RELEASE_LOCK('%1')").arg(name)));
    // The last holder of stale tables drops them.
    const QString prefix = name.left(name.lastIndexOf(u'_') + 1);
    if (!CacheTablesStale(m_sql) || OtherHolders(m_sql, prefix) != 0)
        return;
    CxSQLLockGuard lock(m_sql, kLockWaitSeconds);
    if (lock.Locked() && CacheTablesStale(m_sql) && OtherHolders(m_sql, prefix) == 0)
        DropAll(m_sql);
}

#include "schema_lock.h"

#include "framework/core/app/program_marks.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"

#include <QCryptographicHash>

namespace {
constexpr int kSliceSeconds = 10;
constexpr int kLongestWaitSeconds = 15 * 60;

QString LockName(const QString& database) {
    const QString prefix = ProgramMarks().schemaLockPrefix;
    const QString name = prefix + database.toLower();
    if (name.size() <= 64) // the server's limit for a lock name
        return name;
    return prefix + QString::fromLatin1(QCryptographicHash::hash(database.toLower().toUtf8(),
                                                                 QCryptographicHash::Md5)
                                            .toHex());
}
} // namespace

CxSchemaWorkLock::CxSchemaWorkLock(CxSQL* sql, const QString& database,
                                   const std::function<void(const QString&)>& waiting)
    : m_sql(sql), m_name(LockName(database)) {
    for (int waited = 0; m_sql && waited < kLongestWaitSeconds; waited += kSliceSeconds) {
        CxResult res = m_sql->Execute(
            QStringLiteral("SELECT GET_LOCK(%1,%2)").arg(SafeSQL(m_name)).arg(kSliceSeconds));
        if (!res.FetchRow() || res.IsNull(0))
            return;
        if (res.LFieldValue(0) == 1) {
            m_locked = true;
            return;
        }
        if (waited == 0 && waiting)
            waiting(QStringLiteral("Ожидание: с базой данных %1 работает другая копия программы")
                        .arg(database));
    }
}

CxSchemaWorkLock::~CxSchemaWorkLock() {
    if (m_locked && m_sql->IsConnected())
        m_sql->ExecuteCleanup(QStringLiteral("SELECT RELEASE_LOCK(%1)").arg(SafeSQL(m_name)));
}

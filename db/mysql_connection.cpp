#include "mysql_connection.h"

#include "change_watcher.h"
#include "framework/core/tarvik_app.h"
#include "mysql_result.h"

CxMySQL::CxMySQL() {
    m_handle = mysql_init(nullptr);
}

CxMySQL::~CxMySQL() {
    MySQLWatchdog().Stop(this); // the watcher must not run statements on a dead connection
    Close();
}

int CxMySQL::Connect(const SQLConnectXML* info) {
    if (info)
        m_info.Copy(*info);
    const QByteArray host = m_info.get_Server().toLocal8Bit();
    const QByteArray user = m_info.get_User().toLocal8Bit();
    const QByteArray pass = m_info.get_Pass().toLocal8Bit();
    const QByteArray db = m_info.get_Database().toLocal8Bit();
    const QByteArray socket = m_info.get_Socket().toLocal8Bit();
    const unsigned int port = static_cast<unsigned int>(m_info.get_Port().toLong());

    if (m_handle)
        mysql_close(m_handle);
    m_lockDepth = 0;
    m_handle = mysql_init(nullptr);
    if (!m_handle) {
        m_connected = 0;
        return 0;
    }
    if (!mysql_real_connect(m_handle, host.isEmpty() ? nullptr : host.constData(), user.constData(),
                            pass.constData(), db.isEmpty() ? nullptr : db.constData(), port,
                            socket.isEmpty() ? nullptr : socket.constData(), 0)) {
        CTarvikApp::AddErrorMessage(GetSqlErrorString());
        m_connected = 0;
        return 0;
    }
    const QByteArray previous = mysql_character_set_name(m_handle);
    if (mysql_set_character_set(m_handle, "utf8") != 0) {
        CTarvikApp::AddErrorMessage(GetSqlErrorString());
        mysql_set_character_set(m_handle, previous.constData());
        m_connected = 0;
        return 0;
    }
    Execute(QStringLiteral("set character_set_server=utf8"));
    // The schema and the statements of the program assume a server without
    // strict mode (silent truncation and zero dates, as on the servers the
    // data was first kept on).
    Execute(QStringLiteral("SET SESSION sql_mode='NO_ENGINE_SUBSTITUTION'"));
    m_connected = 1;
    return 1;
}

CxSQL* CxMySQL::Clone(const SQLConnectXML* info) {
    auto* clone = new CxMySQL;
    if (!clone->Connect(info ? info : &m_info)) {
        delete clone;
        return nullptr;
    }
    return clone;
}

int CxMySQL::SelectDatabase(const QString& name) {
    if (!m_handle)
        return 0;
    if (mysql_select_db(m_handle, name.toLocal8Bit().constData()) != 0) {
        CTarvikApp::AddErrorMessage(GetSqlErrorString());
        return 0;
    }
    m_info.put_Database(name);
    return 1;
}

void CxMySQL::Close() {
    if (m_handle)
        mysql_close(m_handle);
    m_handle = nullptr;
    m_connected = 0;
    m_lockDepth = 0;
}

int CxMySQL::GetErrorCode() {
    switch (m_handle ? mysql_errno(m_handle) : 0) {
    case 1022:
        return SQLERR_DUPLICATE_KEY;
    case 1049:
        return SQLERR_UNKNOWN_DATABASE;
    case 2000:
        return SQLERR_UNKNOWN_CLIENT;
    case 2001:
    case 2002:
    case 2003:
    case 2004:
    case 2012:
    case 2016:
        return SQLERR_CANT_CONNECT;
    case 2005:
        return SQLERR_UNKNOWN_HOST;
    case 2006:
    case 2013:
        return SQLERR_CONNECTION_LOST;
    case 2007:
    case 2009:
        return SQLERR_PROTOCOL;
    case 2008:
        return SQLERR_OUT_OF_MEMORY;
    default:
        return -1;
    }
}

QString CxMySQL::GetSqlErrorString() {
    if (!m_handle)
        return SQLErrorText(SQLERR_CANT_CONNECT);
    const QString mysqlText = QString::fromUtf8(mysql_error(m_handle));
    const int code = GetErrorCode();
    if (code != -1)
        return QStringLiteral("%1\n(%2)").arg(SQLErrorText(code), mysqlText);
    return mysqlText + u'\n' +
           CTarvikApp::TranslateString(QStringLiteral("Код ошибки MySQL: "),
                                       QStringLiteral("CxMySQL::GetSqlErrorString")) +
           QString::number(mysql_errno(m_handle));
}

namespace {
// Mirrors what XML-safe logging needs: the statement goes into the error list
// that may be shown as HTML.
QString SafeXML(const QString& text) {
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
    return out;
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}
} // namespace

QString CxMySQL::ChangedTable(const QString& statement) {
    const QString upper = statement.toUpper();
    static const QString verbs[] = {QStringLiteral("UPDATE "), QStringLiteral("DELETE "),
                                    QStringLiteral("INSERT "), QStringLiteral("REPLACE ")};
    qsizetype at = -1;
    for (const QString& verb : verbs) {
        const qsizetype pos = upper.indexOf(verb);
        if (pos >= 0 && (at < 0 || pos < at))
            at = pos;
    }
    if (at < 0)
        return QString();
    const QStringList words = upper.mid(at).split(u' ');
    static const QStringList skipped = {QStringLiteral("LOW_PRIORITY"), QStringLiteral("QUICK"),
                                        QStringLiteral("FROM"),         QStringLiteral("IGNORE"),
                                        QStringLiteral("DELAYED"),      QStringLiteral("INTO")};
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word.isEmpty())
            return QString();
        if (skipped.contains(word))
            continue;
        qsizetype start = 0;
        while (start < word.size() && !word[start].isLetterOrNumber())
            ++start;
        qsizetype end = start;
        while (end < word.size() && IsNameChar(word[end]))
            ++end;
        return word.mid(start, end - start);
    }
    return QString();
}

CxResult CxMySQL::Execute(const QString& statement, qint64* insertId) {
    auto* rows = new MYSQLRES(m_handle);
    CxResult result(rows);
    const QByteArray utf8 = statement.toUtf8();
    QStringList finished;
    {
        QMutexLocker lock(&m_statementLock);
        if (m_handle && mysql_real_query(m_handle, utf8.constData(), utf8.size()) == 0) {
            if (insertId)
                *insertId = static_cast<qint64>(mysql_insert_id(m_handle));
            rows->SetResult(mysql_store_result(m_handle));
            rows->SetAffectedRows(static_cast<qint64>(mysql_affected_rows(m_handle)));
        } else {
            CxSQLError error{m_handle ? mysql_errno(m_handle) : 2006u, GetSqlErrorString(),
                             statement};
            CTarvikApp::AddErrorMessage(SafeXML(statement.left(250)));
            CTarvikApp::AddErrorMessage(error.text);
            if (insertId)
                *insertId = -1;
            result.SetError(std::move(error));
        }

        const QString table = ChangedTable(statement);
        if (!table.isEmpty())
            m_pending.insert(table);
        const QString upper = statement.toUpper();
        if (upper.startsWith(QStringLiteral("COMMIT"))) {
            EnableUpdates();
        } else if (upper.startsWith(QStringLiteral("ROLLBACK"))) {
            m_pending.clear();
            EnableUpdates();
        }
        if (IsUpdateEnabled() && !m_pending.isEmpty()) {
            for (const QString& name : std::as_const(m_pending))
                finished << name.toUpper();
            m_pending.clear();
        }
        if (upper.startsWith(QStringLiteral("START TRANSACTION")) ||
            upper.startsWith(QStringLiteral("BEGIN")))
            DisableUpdates();
    }
    OnTablesChanged(finished);
    return result;
}

void CxMySQL::OnTablesChanged(const QStringList& tables) {
    MySQLWatchdog().AddChanges(tables);
}

CxResult CxMySQL::ExecuteRaw(const QByteArray& utf8Statement) {
    auto* rows = new MYSQLRES(m_handle);
    CxResult result(rows);
    QMutexLocker lock(&m_statementLock);
    if (m_handle &&
        mysql_real_query(m_handle, utf8Statement.constData(), utf8Statement.size()) == 0) {
        rows->SetResult(mysql_store_result(m_handle));
    } else {
        CxSQLError error{m_handle ? mysql_errno(m_handle) : 2006u, GetSqlErrorString(),
                         QString::fromUtf8(utf8Statement)};
        CTarvikApp::AddErrorMessage(error.text);
        result.SetError(std::move(error));
    }
    return result;
}

void CxMySQL::ShutdownServer() {
    if (m_handle && mysql_shutdown(m_handle, SHUTDOWN_DEFAULT) != 0)
        CTarvikApp::AddErrorMessage(GetSqlErrorString());
}

int CxMySQL::Lock(int timeoutSeconds) {
    if (m_lockDepth > 0) {
        ++m_lockDepth;
        return 1;
    }
    CxResult res = Execute(QStringLiteral("SELECT GET_LOCK('dblock',%1)").arg(timeoutSeconds));
    if (!res.FetchRow() || res.IsNull(0))
        return 0;
    const int got = res.SFieldValue(0).toInt() != 0 ? 1 : 0;
    if (got)
        m_lockDepth = 1;
    return got;
}

void CxMySQL::Unlock() {
    if (m_lockDepth > 1) {
        --m_lockDepth;
        return;
    }
    m_lockDepth = 0;
    Execute(QStringLiteral("SELECT RELEASE_LOCK('dblock')"));
}

int CxMySQL::BeginTransaction() {
    return Execute(QStringLiteral("START TRANSACTION")).isValid();
}
int CxMySQL::CommitTransaction() {
    return Execute(QStringLiteral("COMMIT")).isValid();
}
int CxMySQL::RollbackTransaction() {
    return Execute(QStringLiteral("ROLLBACK")).isValid();
}

int CxMySQL::StartWatchdog() {
    MySQLWatchdog().Start(this);
    return 1;
}

void CxMySQL::WatchTable(const QString& table) {
    MySQLWatchdog().WatchTable(table);
}

int CxMySQL::SuspendWatchdog(int flag) {
    return MySQLWatchdog().Suspend(flag);
}

int CxMySQL::ListTables(QStringList& tables) {
    tables.clear();
    CxResult res = Execute(QStringLiteral("SHOW TABLES"));
    while (res.FetchRow())
        tables << res.SFieldValue(0);
    return static_cast<int>(tables.size());
}

int CxMySQL::RenameTable(const QString& oldName, const QString& newName) {
    return Execute(QStringLiteral("RENAME TABLE %1 TO %2").arg(oldName, newName)).isValid();
}

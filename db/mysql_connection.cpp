#include "mysql_connection.h"

#include "change_watcher.h"
#include "framework/core/sql/sql_lexer.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "mysql_result.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <errmsg.h>
#include <mysqld_error.h>
#include <thread>

namespace {
// Pauses between automatic connection attempts: doubled after each failure
// up to the last, so a server that is back is found within a few seconds.
constexpr int kFirstReconnectPauseMs = 500;
constexpr int kLongestReconnectPauseMs = 4000;
// The named lock is waited for in slices well below the read time limit.
constexpr int kLockSliceSeconds = 60;

bool IsConnectionLoss(unsigned code) {
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST ||
           code == CR_SERVER_LOST_EXTENDED || code == ER_SERVER_SHUTDOWN ||
           code == ER_CONNECTION_KILLED;
}

int FrameworkCode(unsigned code) {
    switch (code) {
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

QString ErrorText(unsigned code, const QString& mysqlText) {
    const int known = FrameworkCode(code);
    if (known != -1)
        return QStringLiteral("%1\n(%2)").arg(SQLErrorText(known), mysqlText);
    return mysqlText + u'\n' +
           CTarvikApp::TranslateString(QStringLiteral("Код ошибки MySQL: "),
                                       QStringLiteral("CxMySQL::GetSqlErrorString")) +
           QString::number(code);
}

const QString kNoConnection =
    QStringLiteral("Нет соединения с сервером базы данных; программа подключается снова.");
const QString kTransactionCut =
    QStringLiteral("Транзакция прервана: соединение с сервером базы данных было потеряно, и "
                   "сервер отменил её изменения. Повторите действие.");

bool Query(MYSQL* handle, const char* statement) {
    return mysql_real_query(handle, statement, static_cast<unsigned long>(strlen(statement))) == 0;
}

// Opens a session ready for the program: time limits, no reconnection inside
// the client library (the connection restores its session itself), utf8 on
// the connection, no strict mode. Touches nothing but its arguments, so it
// also runs on the background thread of an automatic reconnection.
MYSQL* OpenSession(const SQLConnectXML& info, const CxMySQL::Timeouts& timeouts, unsigned* code,
                   QString* text) {
    MYSQL* handle = mysql_init(nullptr);
    if (!handle) {
        *code = CR_OUT_OF_MEMORY;
        *text = QStringLiteral("mysql_init");
        return nullptr;
    }
    mysql_options(handle, MYSQL_OPT_CONNECT_TIMEOUT, &timeouts.connect);
    mysql_options(handle, MYSQL_OPT_READ_TIMEOUT, &timeouts.read);
    mysql_options(handle, MYSQL_OPT_WRITE_TIMEOUT, &timeouts.write);
    const my_bool reconnect = 0;
    mysql_options(handle, MYSQL_OPT_RECONNECT, &reconnect);

    const QByteArray host = info.get_Server().toLocal8Bit();
    const QByteArray user = info.get_User().toLocal8Bit();
    const QByteArray pass = info.get_Pass().toLocal8Bit();
    const QByteArray db = info.get_Database().toLocal8Bit();
    const QByteArray socket = info.get_Socket().toLocal8Bit();
    const unsigned port = static_cast<unsigned>(info.get_Port().toLong());
    // The schema and the statements of the program assume a server without
    // strict mode (zero dates, as on the servers the data was first kept on);
    // writes that would lose text are refused by the connection instead.
    const bool ready =
        mysql_real_connect(handle, host.isEmpty() ? nullptr : host.constData(), user.constData(),
                           pass.constData(), db.isEmpty() ? nullptr : db.constData(), port,
                           socket.isEmpty() ? nullptr : socket.constData(), 0) &&
        mysql_set_character_set(handle, "utf8") == 0 &&
        Query(handle, "set character_set_server=utf8") &&
        Query(handle, "SET SESSION sql_mode='NO_ENGINE_SUBSTITUTION'");
    if (ready)
        return handle;
    *code = mysql_errno(handle);
    *text = QString::fromUtf8(mysql_error(handle));
    mysql_close(handle);
    return nullptr;
}

// Whether the program's event loop runs on this thread, so a reconnection in
// the background can report back; otherwise the next statement reconnects.
bool EventLoopRuns() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread() &&
           QThread::currentThread()->loopLevel() > 0;
}

bool OnApplicationThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// The table named after the verb and its modifiers, as written.
QString ChangedTableName(const QList<CxSQLToken>& tokens) {
    qsizetype i = 0;
    const QString verb = SQLStatementVerb(tokens, &i);
    if (!SQLWritesValues(verb) && verb != QLatin1String("DELETE"))
        return QString();
    static const QLatin1StringView skipped[] = {
        QLatin1StringView("LOW_PRIORITY"), QLatin1StringView("HIGH_PRIORITY"),
        QLatin1StringView("QUICK"),        QLatin1StringView("FROM"),
        QLatin1StringView("IGNORE"),       QLatin1StringView("DELAYED"),
        QLatin1StringView("INTO")};
    while (i < tokens.size() &&
           std::any_of(std::begin(skipped), std::end(skipped),
                       [&](QLatin1StringView word) { return tokens[i].Is(word); }))
        ++i;
    if (i >= tokens.size() || !tokens[i].IsName())
        return QString();
    // database.table names the table after the dot
    if (i + 2 < tokens.size() && tokens[i + 1].IsSymbol('.') && tokens[i + 2].IsName())
        return tokens[i + 2].text;
    return tokens[i].text;
}

// The name in the last pair of the given quotes of a server message
// ("... for column `db`.`t`.`c` at row 1", "... for column 'c' at row 1").
QString QuotedTail(const QString& message, QChar quote) {
    const qsizetype end = message.lastIndexOf(quote);
    const qsizetype start = end > 0 ? message.lastIndexOf(quote, end - 1) : -1;
    return start >= 0 ? message.mid(start + 1, end - start - 1) : QString();
}
} // namespace

struct CxMySQL::Attempt {
    std::thread worker;
    MYSQL* handle = nullptr;
    unsigned code = 0;
    QString text;
};

struct CxMySQL::Notices {
    QStringList log;     // lines for the error list
    QStringList channel; // messages on kSQLConnectionChannel
    bool lost = false;
};

namespace {
// Every text that enters SQL goes through the client library's own escaping.
// It needs a handle only for the character set, and every connection of the
// program speaks utf8, so one handle that never connects serves all of them
// (and any thread: escaping reads nothing else of it).
void InstallClientLibraryEscaper() {
    static MYSQL* const handle = [] {
        MYSQL* h = mysql_init(nullptr);
        if (h)
            mysql_options(h, MYSQL_SET_CHARSET_NAME, "utf8");
        return h;
    }();
    if (!handle)
        return;
    SetSQLEscaper([](const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        QByteArray out(utf8.size() * 2 + 1, Qt::Uninitialized);
        const unsigned long n = mysql_real_escape_string(handle, out.data(), utf8.constData(),
                                                         static_cast<unsigned long>(utf8.size()));
        out.truncate(static_cast<qsizetype>(n));
        return QString::fromUtf8(out);
    });
}
} // namespace

CxMySQL::CxMySQL() {
    static const bool installed = (InstallClientLibraryEscaper(), true);
    Q_UNUSED(installed);
}

CxMySQL::~CxMySQL() {
    MySQLWatchdog().Stop(this); // the watcher must not run statements on a dead connection
    Close();
    m_reconnectTimer.reset();
}

bool CxMySQL::Connect(const SQLConnectXML* info) {
    if (info)
        m_info.Copy(*info);
    Close();
    unsigned code = 0;
    QString text;
    MYSQL* handle = OpenSession(m_info, m_timeouts, &code, &text);
    QMutexLocker lock(&m_statementLock);
    m_pending.clear();
    EnableUpdates();
    if (!handle) {
        SetLastError(code, text, QString());
        lock.unlock();
        CTarvikApp::AddErrorMessage(GetSqlErrorString());
        return false;
    }
    m_handle = handle;
    m_state = State::Connected;
    m_lastError = {};
    return true;
}

CxSQL* CxMySQL::Clone(const SQLConnectXML* info) {
    auto* clone = new CxMySQL;
    clone->SetTimeouts(m_timeouts);
    if (!clone->Connect(info ? info : &m_info)) {
        delete clone;
        return nullptr;
    }
    return clone;
}

bool CxMySQL::SelectDatabase(const QString& name) {
    QMutexLocker lock(&m_statementLock);
    if (m_state != State::Connected)
        return false;
    if (mysql_select_db(m_handle, name.toLocal8Bit().constData()) != 0) {
        SetLastError(mysql_errno(m_handle), QString::fromUtf8(mysql_error(m_handle)), QString());
        const QString text = m_lastError.text;
        lock.unlock();
        CTarvikApp::AddErrorMessage(text);
        return false;
    }
    m_info.put_Database(name);
    return true;
}

void CxMySQL::Close() {
    StopReconnecting();
    QMutexLocker lock(&m_statementLock);
    if (m_handle) {
        // The server frees a closed session's locks only when it gets round
        // to it; released here, the lock is free when Close returns.
        if (m_state == State::Connected && m_lockDepth > 0)
            Query(m_handle, "DO RELEASE_LOCK('dblock')");
        mysql_close(m_handle);
    }
    m_handle = nullptr;
    m_state = State::Closed;
    m_lockDepth = 0;
    m_tablesLocked = false;
    m_transactionBroken = {};
}

int CxMySQL::GetErrorCode() {
    return FrameworkCode(m_lastError.serverCode);
}

QString CxMySQL::GetSqlErrorString() {
    if (m_lastError.isSet())
        return m_lastError.text;
    if (!m_handle)
        return SQLErrorText(SQLERR_CANT_CONNECT);
    return ErrorText(mysql_errno(m_handle), QString::fromUtf8(mysql_error(m_handle)));
}

void CxMySQL::SetLastError(unsigned code, const QString& mysqlText, const QString& statement) {
    m_lastError = CxSQLError{code, ErrorText(code, mysqlText), statement, QString()};
}

QString CxMySQL::ChangedTable(const QString& statement) {
    return ChangedTableName(SQLTokens(statement, 32)).toUpper();
}

unsigned CxMySQL::ServerStatus() const {
    unsigned status = 0;
    if (m_handle)
        mariadb_get_infov(m_handle, MARIADB_CONNECTION_SERVER_STATUS, &status);
    return status;
}

bool CxMySQL::Internal(const char* statement) {
    if (Query(m_handle, statement))
        return true;
    SetLastError(mysql_errno(m_handle), QString::fromUtf8(mysql_error(m_handle)),
                 QString::fromLatin1(statement));
    return false;
}

CxResult CxMySQL::Execute(const QString& statement, qint64* insertId) {
    return Run(statement.toUtf8(), statement, insertId, true);
}

CxResult CxMySQL::ExecuteRaw(const QByteArray& utf8Statement) {
    return Run(utf8Statement, QString::fromUtf8(utf8Statement), nullptr, false);
}

CxResult CxMySQL::ExecuteStreamed(const QString& statement) {
    // A result read row by row holds its connection until its last row, so
    // it gets a connection of its own that goes with it.
    std::unique_ptr<CxMySQL> own(static_cast<CxMySQL*>(Clone(nullptr)));
    if (!own) {
        CxResult failed(new MYSQLRES(nullptr));
        failed.SetError(CxSQLError{CR_SERVER_GONE_ERROR, kNoConnection, statement, QString()});
        return failed;
    }
    MYSQL* handle = own->m_handle;
    const QByteArray utf8 = statement.toUtf8();
    MYSQL_RES* rows = nullptr;
    if (mysql_real_query(handle, utf8.constData(), static_cast<unsigned long>(utf8.size())) == 0)
        rows = mysql_use_result(handle);
    if (!rows) {
        own->SetLastError(mysql_errno(handle), QString::fromUtf8(mysql_error(handle)), statement);
        const CxSQLError error = own->m_lastError;
        CTarvikApp::AddErrorMessage(statement.left(250));
        CTarvikApp::AddErrorMessage(error.text);
        CxResult failed(new MYSQLRES(nullptr));
        failed.SetError(error);
        return failed;
    }
    auto* streamed = new MYSQLRES(handle);
    streamed->SetStream(rows, std::move(own), statement);
    return CxResult(streamed);
}

CxResult CxMySQL::Run(const QByteArray& utf8, const QString& statement, qint64* insertId,
                      bool track) {
    auto* rows = new MYSQLRES(nullptr);
    CxResult result(rows);
    // The leading words are enough to classify a statement; a long INSERT
    // is not read to its end.
    const QList<CxSQLToken> tokens = SQLTokens(statement, 32);
    const QString verb = SQLStatementVerb(tokens);
    const SQLTransactionControl control = SQLTransactionControlOf(tokens);
    Notices notices;
    QStringList finished;
    CxSQLError error;
    bool ok = false;
    {
        QMutexLocker lock(&m_statementLock);
        if (m_state == State::Lost)
            TryReconnectNow(notices);
        if (m_transactionBroken.isSet()) {
            // Every statement of the broken transaction fails; ending it
            // (any way) ends the broken state, and only ROLLBACK ends it cleanly.
            CxSQLError broken = m_transactionBroken;
            if (control != SQLTransactionControl::None)
                m_transactionBroken = {};
            if (control == SQLTransactionControl::Rollback) {
                ok = true;
                if (m_state == State::Connected)
                    Internal("ROLLBACK");
                m_lastError = {};
            } else {
                broken.statement = statement;
                m_lastError = broken;
            }
        } else if (m_state != State::Connected) {
            m_lastError = CxSQLError{CR_SERVER_GONE_ERROR, kNoConnection, statement, QString()};
        } else {
            bool transactionUndone = false;
            ok = RunChecked(utf8, statement, rows, insertId, SQLWritesValues(verb),
                            &transactionUndone);
            if (!ok && IsConnectionLoss(m_lastError.serverCode))
                OnLost(notices, control != SQLTransactionControl::None);
            if (transactionUndone) {
                m_pending.clear();
                EnableUpdates();
                m_transactionBroken = m_lastError;
                m_transactionBroken.text =
                    QStringLiteral("Транзакция отменена целиком, её изменения не сохранены: ") +
                    m_lastError.text;
            }
        }

        if (ok && (verb == QLatin1String("LOCK") || verb == QLatin1String("UNLOCK")))
            m_tablesLocked = verb == QLatin1String("LOCK");
        if (ok && control == SQLTransactionControl::Begin)
            m_tablesLocked = false; // a transaction's start releases table locks

        if (track) {
            if (ok) {
                const QString table = ChangedTableName(tokens).toUpper();
                if (!table.isEmpty())
                    m_pending.insert(table);
            }
            const bool open = !IsUpdateEnabled();
            const unsigned status = ok ? ServerStatus() : 0;
            bool committed = false, rolledBack = false, opens = false;
            switch (control) {
            case SQLTransactionControl::Begin:
                committed = ok && open; // START TRANSACTION commits the open one
                opens = ok;
                break;
            case SQLTransactionControl::Commit:
                // A COMMIT cut by a lost connection may have been carried out:
                // announcing too much only makes lists read again.
                committed = ok || IsConnectionLoss(m_lastError.serverCode);
                rolledBack = !committed;
                break;
            case SQLTransactionControl::Rollback:
                rolledBack = true;
                break;
            case SQLTransactionControl::None:
                if (ok && open && !(status & SERVER_STATUS_IN_TRANS))
                    committed = true; // a statement that commits implicitly
                else if (ok && !open && (status & SERVER_STATUS_IN_TRANS))
                    opens = true; // a transaction begun another way
                else if (!ok && open && m_lastError.serverCode == ER_LOCK_DEADLOCK)
                    rolledBack = true; // the server rolled the whole transaction back
                break;
            }
            if (rolledBack)
                m_pending.clear();
            if (rolledBack || committed)
                EnableUpdates();
            if (IsUpdateEnabled() && !m_pending.isEmpty()) {
                finished = m_pending.values();
                m_pending.clear();
            }
            if (opens)
                DisableUpdates();
        }
        if (!ok)
            error = m_lastError;
    }

    if (!ok) {
        CTarvikApp::AddErrorMessage(statement.left(250));
        CTarvikApp::AddErrorMessage(error.text);
        if (insertId)
            *insertId = -1;
        result.SetError(std::move(error));
    }
    for (const QString& line : std::as_const(notices.log))
        CTarvikApp::AddErrorMessage(line);
    for (const QString& message : std::as_const(notices.channel))
        CTarvikApp::SendForNotify(QString::fromLatin1(kSQLConnectionChannel), message);
    if (notices.lost)
        ScheduleReconnect();
    OnTablesChanged(finished);
    return result;
}

bool CxMySQL::RunChecked(const QByteArray& utf8, const QString& statement, MYSQLRES* rows,
                         qint64* insertId, bool writes, bool* transactionUndone) {
    // A write runs where it can be undone. Outside a transaction it gets one
    // of its own (under LOCK TABLES: autocommit off for the moment, as
    // starting a transaction would release the table locks). Inside the
    // caller's transaction a refusal undoes the whole transaction: a
    // savepoint before every write would cost each write a round trip.
    enum class Guard { None, Transaction, Caller, AutocommitOff };
    Guard guard = Guard::None;
    if (writes) {
        const unsigned status = ServerStatus();
        if ((status & SERVER_STATUS_IN_TRANS) || !(status & SERVER_STATUS_AUTOCOMMIT))
            guard = Guard::Caller;
        else if (m_tablesLocked)
            guard = Guard::AutocommitOff;
        else
            guard = Guard::Transaction;
        if (guard == Guard::Transaction && !Internal("START TRANSACTION"))
            return false;
        if (guard == Guard::AutocommitOff && !Internal("SET autocommit=0"))
            return false;
    }
    auto undo = [&] {
        const CxSQLError keep = m_lastError;
        if (guard != Guard::None)
            Query(m_handle, "ROLLBACK");
        if (guard == Guard::AutocommitOff)
            Query(m_handle, "SET autocommit=1");
        m_lastError = keep;
    };

    if (mysql_real_query(m_handle, utf8.constData(), static_cast<unsigned long>(utf8.size())) !=
        0) {
        SetLastError(mysql_errno(m_handle), QString::fromUtf8(mysql_error(m_handle)), statement);
        // A failed statement in the caller's transaction is undone by the
        // server; the transaction goes on.
        if (guard != Guard::Caller && !IsConnectionLoss(m_lastError.serverCode))
            undo();
        return false;
    }
    if (insertId)
        *insertId = static_cast<qint64>(mysql_insert_id(m_handle));
    MYSQL_RES* stored = mysql_store_result(m_handle);
    if (!stored && mysql_field_count(m_handle) > 0) {
        // The rows did not arrive (the connection broke while they came).
        SetLastError(mysql_errno(m_handle), QString::fromUtf8(mysql_error(m_handle)), statement);
        return false;
    }
    rows->SetResult(stored);
    rows->SetAffectedRows(static_cast<qint64>(mysql_affected_rows(m_handle)));

    if (guard != Guard::None) {
        CxSQLError refusal;
        if (mysql_warning_count(m_handle) > 0 && RefusedWrite(statement, &refusal)) {
            undo();
            m_lastError = refusal;
            rows->SetAffectedRows(0);
            *transactionUndone = guard == Guard::Caller;
            return false;
        }
        if (guard == Guard::Transaction && !Internal("COMMIT"))
            return false;
        if (guard == Guard::AutocommitOff && !(Internal("COMMIT") && Internal("SET autocommit=1")))
            return false;
    }
    m_lastError = {};
    return true;
}

bool CxMySQL::RefusedWrite(const QString& statement, CxSQLError* refusal) {
    if (!Query(m_handle, "SHOW WARNINGS"))
        return false;
    MYSQL_RES* warnings = mysql_store_result(m_handle);
    if (!warnings)
        return false;
    QString column;
    enum { None, Characters, Length, LengthIfText } kind = None;
    while (MYSQL_ROW row = mysql_fetch_row(warnings)) {
        if (!row[0] || !row[1] || !row[2] || qstrcmp(row[0], "Warning") != 0)
            continue;
        const int code = atoi(row[1]);
        const QString message = QString::fromUtf8(row[2]);
        if (code == ER_TRUNCATED_WRONG_VALUE_FOR_FIELD &&
            message.startsWith(QLatin1String("Incorrect string value"))) {
            kind = Characters;
            column = QuotedTail(message.left(message.lastIndexOf(QLatin1String(" at row"))), u'`');
        } else if (code == ER_DATA_TOO_LONG) {
            kind = Length;
            column = QuotedTail(message, u'\'');
        } else if (code == WARN_DATA_TRUNCATED) {
            // Also said of dates and numbers, which the session's non-strict
            // rules keep as they always did; text is what must not be cut.
            kind = LengthIfText;
            column = QuotedTail(message, u'\'');
        }
        if (kind != None)
            break;
    }
    mysql_free_result(warnings);
    if (kind == None)
        return false;

    if (kind == LengthIfText) {
        const QString table = ChangedTableName(SQLTokens(statement, 32));
        QString type;
        const QByteArray show =
            QStringLiteral("SHOW COLUMNS FROM `%1` WHERE Field=%2")
                .arg(QString(table).replace(u'`', QStringLiteral("``")), SafeSQL(column))
                .toUtf8();
        if (!table.isEmpty() && mysql_real_query(m_handle, show.constData(),
                                                 static_cast<unsigned long>(show.size())) == 0) {
            if (MYSQL_RES* columns = mysql_store_result(m_handle)) {
                if (MYSQL_ROW row = mysql_fetch_row(columns))
                    type = QString::fromUtf8(row[1]).toLower();
                mysql_free_result(columns);
            }
        }
        // A column that cannot be looked up counts as text: refusing is the
        // safe side.
        static const char* const textTypes[] = {"char", "text", "enum", "set", "binary", "blob"};
        const bool text = type.isEmpty() || std::any_of(std::begin(textTypes), std::end(textTypes),
                                                        [&](const char* t) {
                                                            return type.contains(QLatin1String(t));
                                                        });
        if (!text)
            return false;
    }
    const QString text =
        kind == Characters
            ? QStringLiteral("Поле «%1»: текст содержит знаки, которые это поле не может хранить "
                             "(например, эмодзи). Ничего не записано.")
            : QStringLiteral("Поле «%1»: текст длиннее, чем вмещает это поле. Ничего не записано.");
    *refusal = CxSQLError{kind == Characters ? unsigned(ER_TRUNCATED_WRONG_VALUE_FOR_FIELD)
                                             : unsigned(ER_DATA_TOO_LONG),
                          text.arg(column), statement, column};
    return true;
}

void CxMySQL::OnLost(Notices& notices, bool transactionEnding) {
    if (m_handle)
        mysql_close(m_handle);
    m_handle = nullptr;
    m_state = State::Lost;
    m_tablesLocked = false;
    m_backoffMs = 0;
    notices.lost = true;
    notices.log << QStringLiteral("Соединение с сервером базы данных потеряно. Программа "
                                  "подключится снова, как только сервер ответит.");
    if (m_lockDepth > 0) {
        m_lockDepth = 0;
        notices.log << QStringLiteral("Блокировка базы данных «dblock» снята вместе с "
                                      "соединением: работа, которой она была нужна, прервана.");
    }
    if (!IsUpdateEnabled()) {
        m_pending.clear();
        EnableUpdates();
        if (!transactionEnding) {
            m_transactionBroken = CxSQLError{CR_SERVER_LOST, kTransactionCut, QString(), QString()};
            notices.log << kTransactionCut;
        }
    }
    notices.channel << QString::fromLatin1(kSQLConnectionLost);
}

void CxMySQL::Install(MYSQL* handle, Notices& notices) {
    m_handle = handle;
    m_state = State::Connected;
    m_backoffMs = 0;
    m_lastError = {};
    notices.log << QStringLiteral("Соединение с сервером базы данных восстановлено.");
    notices.channel << QString::fromLatin1(kSQLConnectionRestored);
}

void CxMySQL::TryReconnectNow(Notices& notices) {
    if (m_attempt)
        return; // one is under way in the background
    if (EventLoopRuns()) {
        // The statement fails at once; the attempt reports back through the
        // event loop, so the window never waits for a server that is away.
        StartBackgroundAttempt();
        return;
    }
    unsigned code = 0;
    QString text;
    if (MYSQL* handle = OpenSession(m_info, m_timeouts, &code, &text))
        Install(handle, notices);
}

void CxMySQL::ScheduleReconnect() {
    if (m_state != State::Lost || !OnApplicationThread())
        return; // without the application's thread the next statement tries
    if (!m_reconnectTimer) {
        m_reconnectTimer = std::make_unique<QTimer>();
        m_reconnectTimer->setSingleShot(true);
        QObject::connect(m_reconnectTimer.get(), &QTimer::timeout,
                         [this] { StartBackgroundAttempt(); });
    }
    m_backoffMs =
        m_backoffMs ? qMin(m_backoffMs * 2, kLongestReconnectPauseMs) : kFirstReconnectPauseMs;
    m_reconnectTimer->start(m_backoffMs);
}

void CxMySQL::StartBackgroundAttempt() {
    if (m_state != State::Lost || m_attempt || !OnApplicationThread())
        return;
    if (!m_reconnectTimer)
        ScheduleReconnect(); // makes the timer that receives the answer
    m_attempt = std::make_unique<Attempt>();
    Attempt* attempt = m_attempt.get();
    QObject* receiver = m_reconnectTimer.get();
    attempt->worker = std::thread([this, attempt, receiver, info = m_info, t = m_timeouts] {
        mysql_thread_init();
        attempt->handle = OpenSession(info, t, &attempt->code, &attempt->text);
        mysql_thread_end();
        QMetaObject::invokeMethod(
            receiver, [this] { FinishBackgroundAttempt(); }, Qt::QueuedConnection);
    });
}

void CxMySQL::FinishBackgroundAttempt() {
    if (!m_attempt)
        return;
    m_attempt->worker.join();
    MYSQL* handle = std::exchange(m_attempt->handle, nullptr);
    m_attempt.reset();
    Notices notices;
    {
        QMutexLocker lock(&m_statementLock);
        if (handle && m_state == State::Lost) {
            Install(handle, notices);
            handle = nullptr;
        }
    }
    if (handle)
        mysql_close(handle);
    for (const QString& line : std::as_const(notices.log))
        CTarvikApp::AddErrorMessage(line);
    for (const QString& message : std::as_const(notices.channel))
        CTarvikApp::SendForNotify(QString::fromLatin1(kSQLConnectionChannel), message);
    if (m_state == State::Lost)
        ScheduleReconnect();
}

void CxMySQL::StopReconnecting() {
    if (m_reconnectTimer)
        m_reconnectTimer->stop();
    if (m_attempt) {
        m_attempt->worker.join();
        if (m_attempt->handle)
            mysql_close(m_attempt->handle);
        m_attempt.reset();
    }
}

void CxMySQL::OnTablesChanged(const QStringList& tables) {
    MySQLWatchdog().AddChanges(tables);
}

bool CxMySQL::Lock(int timeoutSeconds) {
    if (m_lockDepth > 0) {
        ++m_lockDepth;
        return true;
    }
    int remaining = qMax(0, timeoutSeconds);
    do {
        const int slice = qMin(remaining, kLockSliceSeconds);
        CxResult res = Execute(QStringLiteral("SELECT GET_LOCK('dblock',%1)").arg(slice));
        if (!res.FetchRow() || res.IsNull(0))
            return false;
        if (res.SFieldValue(0).toInt() != 0) {
            m_lockDepth = 1;
            return true;
        }
        remaining -= slice;
    } while (remaining > 0);
    return false;
}

void CxMySQL::Unlock() {
    if (m_lockDepth == 0)
        return; // not held, or gone with a lost connection
    // A release that fails has lost the connection, and the server gave the
    // lock back with it: nothing is left to undo.
    if (--m_lockDepth == 0)
        static_cast<void>(Execute(QStringLiteral("SELECT RELEASE_LOCK('dblock')")));
}

bool CxMySQL::BeginTransaction() {
    return Execute(QStringLiteral("START TRANSACTION")).isValid();
}
bool CxMySQL::CommitTransaction() {
    return Execute(QStringLiteral("COMMIT")).isValid();
}
bool CxMySQL::RollbackTransaction() {
    return Execute(QStringLiteral("ROLLBACK")).isValid();
}

void CxMySQL::StartWatchdog() {
    MySQLWatchdog().Start(this);
}

void CxMySQL::WatchTable(const QString& table) {
    MySQLWatchdog().WatchTable(table);
}

void CxMySQL::SuspendWatchdog(int flag) {
    MySQLWatchdog().Suspend(flag);
}

bool CxMySQL::ListTables(QStringList& tables) {
    tables.clear();
    CxResult res = Execute(QStringLiteral("SHOW TABLES"));
    while (res.FetchRow())
        tables << res.SFieldValue(0);
    return res.isValid();
}

bool CxMySQL::RenameTable(const QString& oldName, const QString& newName) {
    return Execute(QStringLiteral("RENAME TABLE %1 TO %2").arg(oldName, newName)).isValid();
}

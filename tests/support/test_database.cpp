#include "test_database.h"

#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <stdexcept>

namespace {
QString SocketPath() {
    const QString dir = qEnvironmentVariable("KELDA_TEST_DB_DIR");
    QFile file(dir + QStringLiteral("/socket.path"));
    if (dir.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the private test database is not running (KELDA_TEST_DB_DIR)");
    return QString::fromLocal8Bit(file.readAll()).trimmed();
}
} // namespace

SQLConnectXML TestDatabase::ServerInfo() {
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(SocketPath());
    return info;
}

TestDatabase::TestDatabase(const QString& purpose) {
    m_name = QStringLiteral("kt_%1_%2_%3")
                 .arg(purpose)
                 .arg(QCoreApplication::applicationPid())
                 .arg(QRandomGenerator::global()->bounded(1000000));
    m_admin = std::make_unique<CxMySQL>();
    SQLConnectXML server = ServerInfo();
    if (!m_admin->Connect(&server))
        throw std::runtime_error(CTarvikApp::TakeErrorMessages().toStdString());
    m_admin->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    if (!m_admin
             ->Execute(
                 QStringLiteral("CREATE DATABASE `%1` DEFAULT CHARACTER SET utf8").arg(m_name))
             .isValid())
        throw std::runtime_error(CTarvikApp::TakeErrorMessages().toStdString());
    m_connection = std::make_unique<CxMySQL>();
    SQLConnectXML info = Info();
    if (!m_connection->Connect(&info))
        throw std::runtime_error(CTarvikApp::TakeErrorMessages().toStdString());
}

TestDatabase::~TestDatabase() {
    m_connection.reset();
    if (m_admin)
        m_admin->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
}

SQLConnectXML TestDatabase::Info() const {
    SQLConnectXML info = ServerInfo();
    info.put_Database(m_name);
    return info;
}

CxResult TestDatabase::Exec(const QString& statement) const {
    CxResult res = m_connection->Execute(statement);
    if (!res.isValid())
        throw std::runtime_error(
            (statement + u'\n' + CTarvikApp::TakeErrorMessages()).toStdString());
    return res;
}

QString TestDatabase::Scalar(const QString& statement) const {
    CxResult res = Exec(statement);
    return res.FetchRow() ? res.SFieldValue(0) : QString();
}

bool TestDatabase::HoldsDbLock() const {
    return Scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                 "WHERE ID = IS_USED_LOCK('dblock') AND DB = DATABASE()")) !=
           QLatin1String("0");
}

QString TestDatabase::ResultRows(CxResult res) {
    QStringList rows;
    while (res.FetchRow()) {
        QStringList cells;
        for (int i = 0; i < res.FieldsCount(); ++i)
            cells << (res.IsNull(i) ? QStringLiteral("NULL") : res.SFieldValue(i));
        rows << cells.join(u'|');
    }
    return rows.join(u';');
}

// Connecting with the user's help: the answer that worked is remembered in a
// file that is the user's alone (it holds the password), and the launcher's
// environment, named after the application, picks the server.
#include "db/mysql_connection.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {
constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                       QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
} // namespace

class TestSqlConnect : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    SQLConnectXML Unreachable() const {
        SQLConnectXML info = TestDatabase::ServerInfo();
        info.put_Socket(m_dir.filePath(QStringLiteral("no-server.sock")));
        return info;
    }

private slots:
    void cleanup() {
        g_pBaseSQLConnection.reset();
        SetSQLConnectAsk({});
    }

    void rememberedAnswerIsTheUsersAlone() {
        TestDatabase db(QStringLiteral("conn"));
        const QString user = QStringLiteral("kconn_%1").arg(QCoreApplication::applicationPid());
        const QString password = QStringLiteral("Пароль:1'");
        db.Exec(QStringLiteral("DROP USER IF EXISTS '%1'@'localhost'").arg(user));
        db.Exec(QStringLiteral("CREATE USER '%1'@'localhost' IDENTIFIED BY '%2'")
                    .arg(user, QStringLiteral("Пароль:1\\'")));
        db.Exec(QStringLiteral("GRANT ALL ON `%1`.* TO '%2'@'localhost'").arg(db.Name(), user));

        // An old file that everybody may read, and a umask that lets new
        // files be read by everybody.
        const QString file = m_dir.filePath(QStringLiteral("sub/connection.conf"));
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("[Connection]\nServer=old\n");
        }
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
        const mode_t umaskBefore = umask(0);
        SetSQLConnectMemoryFile(file);
        int asked = 0;
        SetSQLConnectAsk([&](SQLConnectXML& info, const QString&) {
            ++asked;
            info = db.Info();
            info.put_User(user);
            info.put_Pass(password);
            return true;
        });
        SQLConnectXML info = Unreachable();
        CxSQL* sql = DoSQLConnect(new CxMySQL, &info, QByteArray());
        umask(umaskBefore);
        db.Exec(QStringLiteral("DROP USER '%1'@'localhost'").arg(user));

        QVERIFY2(sql, qPrintable(CTarvikApp::TakeErrorMessages()));
        QCOMPARE(asked, 1);
        QCOMPARE(QFile::permissions(file) & kOthers, QFile::Permissions());
        CxProfileManager remembered(file);
        const QString section = QStringLiteral("Connection");
        QCOMPARE(remembered.GetProfileString(section, QStringLiteral("Password"), {}), password);
        QCOMPARE(remembered.GetProfileString(section, QStringLiteral("User"), {}), user);
        QCOMPARE(remembered.GetProfileString(section, QStringLiteral("Server"), {}),
                 QStringLiteral("localhost"));
    }

    void environmentNamedAfterTheApplicationPicksTheServer() {
        TestDatabase db(QStringLiteral("env"));
        const QString nameBefore = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("Probe-2"));
        qputenv("PROBE_2_SOCKET", TestDatabase::ServerInfo().get_Socket().toLocal8Bit());
        SetSQLConnectMemoryFile(m_dir.filePath(QStringLiteral("env.conf")));
        int asked = 0;
        SetSQLConnectAsk([&](SQLConnectXML&, const QString&) {
            ++asked;
            return false;
        });
        SQLConnectXML info = Unreachable();
        info.put_Database(db.Name());
        CxSQL* sql = DoSQLConnect(new CxMySQL, &info, QByteArray());
        qunsetenv("PROBE_2_SOCKET");
        QCoreApplication::setApplicationName(nameBefore);

        QVERIFY2(sql, qPrintable(CTarvikApp::TakeErrorMessages()));
        QCOMPARE(asked, 0);
        QCOMPARE(info.get_Socket(), TestDatabase::ServerInfo().get_Socket());
        // Unnamed, the connection goes by its database.
        QCOMPARE(info.get_Name(), db.Name());
        QCOMPARE(sql->GetConnectInfo()->get_Name(), db.Name());
        // Nobody answered, so nothing was remembered.
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("env.conf"))));
    }
};

QTEST_GUILESS_MAIN(TestSqlConnect)
#include "test_sql_connect.moc"

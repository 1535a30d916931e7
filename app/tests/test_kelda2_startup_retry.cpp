// What the start-up does when it cannot go on: the user is asked, with the
// reason, whether to try again; giving up ends the start cleanly, trying
// again after a repair ends in a connected start. Also the application's
// answers to the framework (strings, pointers, resource ids).
#include "app/kelda2_app.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/sql/sql_init.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "model/options/kelda_options.h"
#include "tests/support/schema_test_database.h"

#include <QTemporaryDir>
#include <QTest>

class TestKelda2StartupRetry : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    void Remember(const QString& socket, const QString& database) {
        CxProfileManager memory(m_dir->filePath(QStringLiteral("connection.conf")));
        const QString s = QStringLiteral("Connection");
        memory.WriteProfileString(s, QStringLiteral("Server"), QStringLiteral("localhost"));
        memory.WriteProfileString(s, QStringLiteral("Socket"), socket);
        memory.WriteProfileString(s, QStringLiteral("User"), QStringLiteral("root"));
        memory.WriteProfileString(s, QStringLiteral("Database"), database);
    }

private slots:
    void initTestCase() {
        // The configuration and settings files of this run stay in a folder
        // of its own (other runs on the machine keep theirs).
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toLocal8Bit());
        SetSQLConnectMemoryFile(m_dir->filePath(QStringLiteral("connection.conf")));
    }

    void noServerAsksAndCancelEndsTheStart() {
        Remember(m_dir->filePath(QStringLiteral("no-server.sock")), QStringLiteral("app_kelda"));
        QStringList reasons;
        SetSQLConnectAsk([&](SQLConnectXML&, const QString& reason) {
            reasons << reason;
            return false;
        });
        CKelda2App app;
        CTarvikApp::SetConfig(app.OnCreateConfigObject());
        RegisterDBUpdater(&SchemaUpdater());
        QVERIFY(!app.OnApplicationInit());
        QCOMPARE(reasons.size(), 1);
        QVERIFY2(reasons[0].startsWith(QStringLiteral("Не удалось подключиться к базе данных.")),
                 qPrintable(reasons[0]));
        QVERIFY(!g_pBaseSQLConnection);
        app.ExitInstance();
    }

    void failedStepAsksAgainWithTheReason() {
        SchemaTestDatabase db(QStringLiteral("retry"));
        db.Exec(
            QStringLiteral("UPDATE dbsettings SET cValue='otherapp' WHERE cVariable='AppName'"));
        Remember(TestDatabase::ServerInfo().get_Socket(), db.Name());

        QStringList reasons;
        bool plainStoreMeanwhile = false;
        int minAgeMeanwhile = 0;
        SetSQLConnectAsk([&](SQLConnectXML& info, const QString& reason) {
            reasons << reason;
            plainStoreMeanwhile =
                dynamic_cast<CxProfileManager*>(CTarvikApp::GetProfileManager()) != nullptr;
            minAgeMeanwhile = g_pOption_ClientData->m_MinAge.Get();
            if (reasons.size() > 1)
                return false;
            // The user puts the database right and tries again.
            db.Exec(QStringLiteral("UPDATE dbsettings SET cValue='kelda2' WHERE "
                                   "cVariable='AppName'"));
            return info.get_Database() == db.Name();
        });
        CKelda2App app;
        CTarvikApp::SetConfig(app.OnCreateConfigObject());
        RegisterDBUpdater(&SchemaUpdater());
        QVERIFY(app.OnApplicationInit());
        QCOMPARE(reasons.size(), 1);
        QVERIFY2(reasons[0].contains(QStringLiteral("otherapp")), qPrintable(reasons[0]));
        QVERIFY(plainStoreMeanwhile);
        QCOMPARE(minAgeMeanwhile, 10);
        QVERIFY(dynamic_cast<CxSQLProfileManager*>(CTarvikApp::GetProfileManager()));
        app.ExitInstance();
        QVERIFY(!g_pBaseSQLConnection);
    }

    void failedStepAndCancelEndsTheStart() {
        SchemaTestDatabase db(QStringLiteral("retry"));
        db.Exec(
            QStringLiteral("UPDATE dbsettings SET cValue='otherapp' WHERE cVariable='AppName'"));
        Remember(TestDatabase::ServerInfo().get_Socket(), db.Name());
        int asked = 0;
        SetSQLConnectAsk([&](SQLConnectXML&, const QString&) {
            ++asked;
            return false;
        });
        CKelda2App app;
        CTarvikApp::SetConfig(app.OnCreateConfigObject());
        RegisterDBUpdater(&SchemaUpdater());
        QVERIFY(!app.OnApplicationInit());
        QCOMPARE(asked, 1);
        app.ExitInstance();
    }

    void appStrings_data() {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("expected");
        QTest::newRow("module key") << 2u << "kelda2";
        QTest::newRow("version") << 3u << "2.0.1.14042";
        QTest::newRow("product") << 4u << "Kelda2";
        QTest::newRow("module key again") << 5u << "kelda2";
        QTest::newRow("6") << 6u << "19289";
        QTest::newRow("release") << 7u << "2.0.1.14042 Release";
        QTest::newRow("outside the table: the framework's") << 8u << "";
    }
    void appStrings() {
        QFETCH(uint, id);
        QFETCH(QString, expected);
        CKelda2App app;
        QCOMPARE(app.GetAppString(id), expected);
    }

    void appPointersAndResources() {
        CKelda2App app;
        auto* posh = static_cast<CxMap<long, QString>*>(app.GetAppPointer("CSelectedPOSH"));
        QVERIFY(posh);
        QCOMPARE(posh->GetCount(), 0);
        QVERIFY(!app.GetAppPointer("cselectedposh"));
        CTarvikApp::RegisterAppPointer(QStringLiteral("cselectedposh"), &app);
        QCOMPARE(app.GetAppPointer("cselectedposh"), static_cast<void*>(&app));
        CTarvikApp::RegisterAppPointer(QStringLiteral("cselectedposh"), nullptr);
        QCOMPARE(app.GetHTMLResourceID(0), 1341u);
        QCOMPARE(app.GetHTMLResourceID(1), 0u);
        QCOMPARE(app.GetHTMLResourceID(2), ~0u);
        QCOMPARE(app.GetToolTipText(999999, QStringLiteral("подсказка")),
                 QStringLiteral("подсказка"));
        const QString credits = CKelda2App::CreditsText();
        QVERIFY(credits.contains(QStringLiteral("2011")));
        QVERIFY(!credits.contains(QStringLiteral("{ENDYEAR}")));
    }

    void cleanupTestCase() { SetSQLConnectAsk({}); }
};

QTEST_MAIN(TestKelda2StartupRetry)
#include "test_kelda2_startup_retry.moc"

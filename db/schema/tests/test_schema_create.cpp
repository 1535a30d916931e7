// A database made from nothing: created from the script, taken to the
// current version, with exactly the final tables, columns and keys.
#include "db/schema/creation_script.h"
#include "db/schema/current_schema_script.h"
#include "db/schema/schema_steps.h"
#include "db/schema/sql_db_updater.h"
#include "final_schema_expected.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/sql/sql_init.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>

class TestSchemaCreate : public QObject {
    Q_OBJECT

    QString m_name;
    std::unique_ptr<CxMySQL> m_server;
    std::unique_ptr<CxMySQL> m_sql;

    QStringList Rows(const QString& statement) {
        CxResult res = m_server->Execute(statement);
        if (!res.isValid())
            qFatal("%s", qPrintable(statement + CTarvikApp::TakeErrorMessages()));
        QStringList out;
        while (res.FetchRow()) {
            QStringList cells;
            for (int i = 0; i < res.FieldsCount(); ++i)
                cells << (res.IsNull(i) ? QStringLiteral("<none>") : res.SFieldValue(i));
            out << cells.join(u'|');
        }
        return out;
    }
    QStringList Snapshot(QString database = QString()) {
        if (database.isEmpty())
            database = m_name;
        return Rows(QStringLiteral("SELECT TABLE_NAME,COLUMN_NAME,COLUMN_TYPE,IS_NULLABLE,"
                                   "COLUMN_DEFAULT,COLLATION_NAME FROM information_schema.COLUMNS "
                                   "WHERE TABLE_SCHEMA='%1' ORDER BY 1,ORDINAL_POSITION")
                        .arg(database)) +
               Rows(QStringLiteral("SELECT TABLE_NAME,INDEX_NAME,SEQ_IN_INDEX,COLUMN_NAME FROM "
                                   "information_schema.STATISTICS WHERE TABLE_SCHEMA='%1' ORDER "
                                   "BY 1,2,3")
                        .arg(database)) +
               Rows(QStringLiteral("SELECT * FROM `%1`.dbsettings ORDER BY 1").arg(database));
    }
    // Every table's definition as the server gives it (engine, character
    // sets and row format included), without the counter of its next id.
    QStringList Definitions(const QString& database) {
        QStringList out;
        static const QRegularExpression counter(QStringLiteral(" AUTO_INCREMENT=\\d+"));
        for (const QString& table :
             Rows(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                 "TABLE_SCHEMA='%1' ORDER BY 1")
                      .arg(database)))
            out << Rows(QStringLiteral("SHOW CREATE TABLE `%1`.`%2`").arg(database, table))
                       .join(u'\n')
                       .remove(counter);
        return out;
    }

private slots:
    void initTestCase() {
        m_name = QStringLiteral("kt_create_%1").arg(QCoreApplication::applicationPid());
        m_server = std::make_unique<CxMySQL>();
        SQLConnectXML server = TestDatabase::ServerInfo();
        QVERIFY(m_server->Connect(&server));
        m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));

        m_sql = std::make_unique<CxMySQL>();
        SQLConnectXML info = server;
        info.put_Database(m_name);
        QString error;
        QCOMPARE(SQLConnectOrCreate(m_sql.get(), info, kDatabaseCreationScript, &error),
                 SQLConnectResult::Connected);
        QCOMPARE(Rows(QStringLiteral("SELECT cValue FROM dbsettings WHERE "
                                     "cVariable='DatabaseVersion'")
                          .replace(QStringLiteral("dbsettings"), m_name + ".dbsettings")),
                 QStringList{QStringLiteral("66")});
        RegisterDBUpdater(&SchemaUpdater());
        QVERIFY(InitSQL(m_sql.get()));
        QVERIFY2(SchemaUpdater().Warnings().isEmpty(),
                 qPrintable(SchemaUpdater().Warnings().join(u'\n')));
    }
    void cleanupTestCase() {
        RegisterDBUpdater(nullptr);
        m_sql.reset();
        if (m_server)
            m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    }

    void versionAndAppName() {
        QCOMPARE(Rows(QStringLiteral("SELECT cVariable,cValue FROM `%1`.dbsettings ORDER BY 1")
                          .arg(m_name)),
                 (QStringList{QStringLiteral("AppName|kelda2"),
                              QStringLiteral("DatabaseVersion|%1").arg(kCurrentSchemaVersion),
                              QStringLiteral("DatabaseVersion.Dorvin|4")}));
    }

    // Exactly the final tables and the framework's own: nothing made on the
    // way is left.
    void exactlyTheFinalTables() {
        QStringList expected{QStringLiteral("dirtemplates"), QStringLiteral("temptablesdata"),
                             QStringLiteral("watchdog")};
        for (const ExpectedTable& t : kExpectedTables)
            expected << QString::fromLatin1(t.name).toLower();
        expected.sort();
        QStringList actual =
            Rows(QStringLiteral("SELECT LOWER(TABLE_NAME) FROM information_schema.TABLES WHERE "
                                "TABLE_SCHEMA='%1' ORDER BY 1")
                     .arg(m_name));
        QCOMPARE(actual, expected);
        QCOMPARE(Rows(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                     "TABLE_SCHEMA='%1' AND ENGINE<>'InnoDB'")
                          .arg(m_name)),
                 QStringList());
    }

    void finalTable_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("charset");
        for (const ExpectedTable& t : kExpectedTables)
            QTest::newRow(t.name) << QString::fromLatin1(t.name) << QString::fromLatin1(t.charset);
    }
    void finalTable() {
        QFETCH(QString, table);
        QFETCH(QString, charset);
        QStringList expectedColumns;
        for (const ExpectedColumn& c : kExpectedColumns)
            if (table == QLatin1String(c.table))
                expectedColumns << QStringLiteral("%1|%2|%3|%4|%5")
                                       .arg(c.position)
                                       .arg(QString::fromLatin1(c.name),
                                            QString::fromLatin1(c.type),
                                            QString::fromLatin1(c.nullable),
                                            c.defaultValue ? QString::fromUtf8(c.defaultValue)
                                                           : QStringLiteral("<none>"));
        QCOMPARE(Rows(QStringLiteral("SELECT ORDINAL_POSITION,COLUMN_NAME,COLUMN_TYPE,IS_NULLABLE,"
                                     "COLUMN_DEFAULT FROM information_schema.COLUMNS WHERE "
                                     "TABLE_SCHEMA='%1' AND TABLE_NAME='%2' ORDER BY 1")
                          .arg(m_name, table)),
                 expectedColumns);

        QStringList expectedKeys;
        for (const ExpectedKey& k : kExpectedKeys)
            if (table == QLatin1String(k.table))
                expectedKeys << QStringLiteral("%1|%2|%3")
                                    .arg(QString::fromLatin1(k.name).toLower())
                                    .arg(k.nonUnique)
                                    .arg(QString::fromLatin1(k.columns).toLower());
        expectedKeys.sort();
        QCOMPARE(Rows(QStringLiteral("SELECT LOWER(INDEX_NAME),NON_UNIQUE,LOWER(GROUP_CONCAT("
                                     "COLUMN_NAME ORDER BY SEQ_IN_INDEX)) FROM "
                                     "information_schema.STATISTICS WHERE TABLE_SCHEMA='%1' AND "
                                     "TABLE_NAME='%2' GROUP BY INDEX_NAME,NON_UNIQUE ORDER BY 1")
                          .arg(m_name, table)),
                 expectedKeys);

        const QString collation = Rows(QStringLiteral("SELECT TABLE_COLLATION FROM "
                                                      "information_schema.TABLES WHERE "
                                                      "TABLE_SCHEMA='%1' AND TABLE_NAME='%2'")
                                           .arg(m_name, table))
                                      .value(0);
        QVERIFY2(collation.startsWith(charset == QLatin1String("utf8")
                                          ? QStringLiteral("utf8")
                                          : QStringLiteral("ucs2_unicode_ci")),
                 qPrintable(collation));
    }

    // The next start runs no step and leaves the schema and settings as they are.
    void secondStartChangesNothing() {
        const QStringList before = Snapshot();
        QVERIFY(InitSQL(m_sql.get()));
        QCOMPARE(Snapshot(), before);
    }

    // A database made from the current-schema script and taken on by the
    // updater is the one the creation script and every step make.
    void currentSchemaScriptMakesTheSameDatabase() {
        const QString name = m_name + QStringLiteral("_script");
        m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        QVERIFY(m_server
                    ->Execute(QStringLiteral("CREATE DATABASE `%1` DEFAULT CHARACTER SET ucs2 "
                                             "COLLATE ucs2_unicode_ci")
                                  .arg(name))
                    .isValid());
        QStringList made, scripted, madeTables, scriptedTables;
        {
            CxMySQL sql;
            SQLConnectXML info = TestDatabase::ServerInfo();
            info.put_Database(name);
            QVERIFY(sql.Connect(&info));
            bool ok = true;
            for (const QString& statement :
                 CxSQL::SplitScript(QString::fromUtf8(kCurrentSchemaScript)))
                ok = ok && sql.Execute(statement).isValid();
            CSQLDBUpdater updater;
            ok = ok && updater.Run(&sql);
            made = Snapshot();
            scripted = Snapshot(name);
            madeTables = Definitions(m_name);
            scriptedTables = Definitions(name);
            m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
            QVERIFY2(ok, qPrintable(CTarvikApp::TakeErrorMessages()));
        }
        QCOMPARE(scripted, made);
        QCOMPARE(scriptedTables, madeTables);
    }

    void missingDatabaseWithoutScript() {
        CxMySQL sql;
        SQLConnectXML info = TestDatabase::ServerInfo();
        info.put_Database(m_name + QStringLiteral("_none"));
        QString error;
        QCOMPARE(SQLConnectOrCreate(&sql, info, QByteArray(), &error),
                 SQLConnectResult::DatabaseMissing);
        QVERIFY(!error.isEmpty());
    }

    // A script that breaks half way leaves no half-made database behind.
    void failedCreationDropsTheDatabase() {
        CxMySQL sql;
        SQLConnectXML info = TestDatabase::ServerInfo();
        const QString name = m_name + QStringLiteral("_broken");
        info.put_Database(name);
        QString error;
        const QByteArray script = "CREATE DATABASE $$$DATABASENAME$$$;USE $$$DATABASENAME$$$;"
                                  "CREATE TABLE a (x int);CREATE TABLE a (x int);";
        QCOMPARE(SQLConnectOrCreate(&sql, info, script, &error), SQLConnectResult::Failed);
        QVERIFY(error.contains(QStringLiteral("CREATE TABLE a")));
        QCOMPARE(Rows(QStringLiteral("SHOW DATABASES LIKE '%1'").arg(name)), QStringList());
        CTarvikApp::ClearErrorMessages();
    }

    // A creation cut off half way (the marker still there, or not a single
    // table yet) is made anew at the next connection.
    void cutOffCreationIsFinished_data() {
        QTest::addColumn<QStringList>("remnants");
        QTest::newRow("no table yet") << QStringList();
        QTest::newRow("marker and some tables")
            << QStringList{QStringLiteral("CREATE TABLE dbcreating (x int)"),
                           QStringLiteral("CREATE TABLE accessgroups (x int)"),
                           QStringLiteral("CREATE TABLE clientdata (ROWID int)")};
    }
    void cutOffCreationIsFinished() {
        QFETCH(QStringList, remnants);
        TestDatabase db(QStringLiteral("cut"));
        for (const QString& statement : remnants)
            db.Exec(statement);
        CxMySQL sql;
        QString error;
        QCOMPARE(SQLConnectOrCreate(&sql, db.Info(), kDatabaseCreationScript, &error),
                 SQLConnectResult::Connected);
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cValue FROM dbsettings WHERE "
                                          "cVariable='DatabaseVersion'")),
                 QStringLiteral("66"));
        QCOMPARE(db.Scalar(QStringLiteral("SHOW TABLES LIKE 'dbcreating'")), QString());
        QVERIFY(db.Rows(QStringLiteral("SHOW COLUMNS FROM clientdata"))
                    .contains(QStringLiteral("cClientCode")));
        // A database that was made to its end is left as it is.
        db.Exec(QStringLiteral("INSERT INTO clientdata (cClientCode) VALUES ('kept')"));
        QCOMPARE(SQLConnectOrCreate(&sql, db.Info(), kDatabaseCreationScript, &error),
                 SQLConnectResult::Connected);
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cClientCode FROM clientdata")),
                 QStringLiteral("kept"));
    }

    void unreachableServerFails() {
        CxMySQL sql;
        SQLConnectXML info = TestDatabase::ServerInfo();
        info.put_Socket(QStringLiteral("/nonexistent/kelda.sock"));
        info.put_Database(m_name);
        QString error;
        QCOMPARE(SQLConnectOrCreate(&sql, info, kDatabaseCreationScript, &error),
                 SQLConnectResult::Failed);
        QVERIFY(!error.isEmpty());
        CTarvikApp::ClearErrorMessages();
    }

    // A failing step stops the update where it failed: the version stays, the
    // error names the step, and the every-start work does not run. (Step 483
    // renames orginf.ROWID; here the column is gone, so the step can neither
    // be recognised as done nor carried out.)
    void failedStepStops() {
        SchemaTestDatabase db(QStringLiteral("fail"));
        db.Exec(
            QStringLiteral("UPDATE dbsettings SET cValue='483' WHERE cVariable='DatabaseVersion'"));
        db.Exec(QStringLiteral("ALTER TABLE orginf DROP ROWID"));
        db.Exec(QStringLiteral("CREATE TABLE orvel_left (x int)"));
        CTarvikApp::ClearErrorMessages();
        CSQLDBUpdater updater;
        QVERIFY(!updater.Run(db.Connection()));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cValue FROM dbsettings WHERE "
                                          "cVariable='DatabaseVersion'")),
                 QStringLiteral("483"));
        const QString errors = CTarvikApp::TakeErrorMessages();
        QVERIFY2(errors.contains(QStringLiteral("483")) &&
                     errors.contains(QStringLiteral("orginf")),
                 qPrintable(errors));
        QCOMPARE(db.Scalar(QStringLiteral("SHOW TABLES LIKE 'orvel_left'")),
                 QStringLiteral("orvel_left"));
        QVERIFY(!updater.CacheClear());
    }
};

QTEST_GUILESS_MAIN(TestSchemaCreate)
#include "test_schema_create.moc"

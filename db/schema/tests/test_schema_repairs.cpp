// The every-start checks of the schema update on a current database.
#include "db/schema/sql_db_updater.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>

class TestSchemaRepairs : public QObject {
    Q_OBJECT

    static QString Rows(const SchemaTestDatabase& db, const QString& statement) {
        return db.Rows(statement);
    }
    static void Start(const SchemaTestDatabase& db) {
        CSQLDBUpdater updater;
        QVERIFY2(updater.Run(db.Connection()), qPrintable(CTarvikApp::TakeErrorMessages()));
    }

private slots:
    // Tables are put back to InnoDB, work tables keep their engine, staging
    // tables of an interrupted restore go.
    void enginesAndStagingTables() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("ALTER TABLE dir ENGINE=MyISAM"));
        db.Exec(QStringLiteral("CREATE TABLE _cache_fast (x int) ENGINE=MyISAM"));
        db.Exec(QStringLiteral("CREATE TABLE _CACHE_Up (x int) ENGINE=MyISAM"));
        db.Exec(QStringLiteral("CREATE TABLE orvel_clients (x int)"));
        db.Exec(QStringLiteral("CREATE TABLE orvel_dir (x int)"));
        db.Exec(QStringLiteral("CREATE TABLE orvelkeep (x int)"));
        Start(db);
        QCOMPARE(Rows(db, QStringLiteral("SELECT LOWER(TABLE_NAME),ENGINE FROM "
                                         "information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
                                         "AND (ENGINE<>'InnoDB' OR TABLE_NAME='dir' OR TABLE_NAME "
                                         "LIKE 'orvel%') ORDER BY 1")),
                 QStringLiteral("dir|InnoDB;orvelkeep|InnoDB;_cache_fast|MyISAM;_cache_up|MyISAM"));
    }

    // Undated history rows get the first free of three early dates, and the
    // newest row of each client gets the link.
    void datedHistory_data() {
        QTest::addColumn<QString>("table");
        for (const char* t : {"drugusedata", "riskbehavior", "socialstatus", "jreabil"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void datedHistory() {
        QFETCH(QString, table);
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO %1 (ROWID,nClientID,dDate,nLastLinkID) VALUES "
                               "(1,7,'1900-01-01',NULL),(2,7,NULL,NULL),(3,7,NULL,NULL),"
                               "(4,8,'2010-05-01',NULL),(5,8,'2011-05-01',NULL),"
                               "(6,9,'2012-01-01',NULL),(7,9,'2013-01-01',9)")
                    .arg(table));
        Start(db);
        QCOMPARE(Rows(db, QStringLiteral("SELECT ROWID,nClientID,dDate,nLastLinkID FROM %1 ORDER "
                                         "BY ROWID")
                              .arg(table)),
                 QStringLiteral("1|7|1900-01-01|NULL;2|7|1900-01-02|NULL;3|7|1900-01-03|7;"
                                "4|8|2010-05-01|NULL;5|8|2011-05-01|8;"
                                "6|9|2012-01-01|NULL;7|9|2013-01-01|9"));
    }

    void linkPlaceholderRowsRemoved_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("extra");
        QTest::newRow("drugusedata") << "drugusedata"
                                     << "nClientID"
                                     << "";
        QTest::newRow("dailyvisitssubhdr") << "dailyvisitssubhdr"
                                           << "nReportID"
                                           << "";
        QTest::newRow("dailyvisits") << "dailyvisits"
                                     << "nReportID"
                                     << "";
        QTest::newRow("clientdatachanges") << "clientdatachanges"
                                           << "nClientID"
                                           << "dDate";
        QTest::newRow("healthstatus") << "healthstatus"
                                      << "nClientID"
                                      << "";
        QTest::newRow("clientprojectdata") << "clientprojectdata"
                                           << "nClientID"
                                           << "";
        QTest::newRow("clientprojectsummary") << "clientprojectsummary"
                                              << "nClientID"
                                              << "";
        QTest::newRow("riskbehavior") << "riskbehavior"
                                      << "nClientID"
                                      << "";
        QTest::newRow("socialstatus") << "socialstatus"
                                      << "nClientID"
                                      << "";
    }
    void linkPlaceholderRowsRemoved() {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, extra);
        SchemaTestDatabase db;
        const QString cols = extra.isEmpty() ? column : column + u',' + extra;
        const QString more = extra.isEmpty() ? QString() : QStringLiteral(",'2001-01-01'");
        db.Exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (-1%3),(5%3)").arg(table, cols, more));
        Start(db);
        QCOMPARE(Rows(db, QStringLiteral("SELECT %1 FROM %2").arg(column, table)),
                 QStringLiteral("5"));
    }

    // The directory's sort order is renumbered only when two entries of one
    // type share a number.
    void directoryOrder_data() {
        QTest::addColumn<QString>("orders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("gaps kept") << "(1,'B',10),(1,'A',5),(3,'C',5)"
                                   << "A|5;B|10;C|5";
        QTest::newRow("duplicates renumbered") << "(1,'B',10),(1,'A',10),(3,'C',5)"
                                               << "A|2;B|3;C|1";
    }
    void directoryOrder() {
        QFETCH(QString, orders);
        QFETCH(QString, expected);
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO dir (nDirType,cString,nOrder) VALUES ") + orders);
        Start(db);
        QCOMPARE(Rows(db, QStringLiteral("SELECT cString,nOrder FROM dir ORDER BY cString")),
                 expected);
    }

    void pregnancyChildLink() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO clientpregdata (nClientID,nChildID) VALUES (1,0)"));
        Start(db);
        QCOMPARE(Rows(db, QStringLiteral("SELECT nChildID FROM clientpregdata")),
                 QStringLiteral("NULL"));
    }
};

QTEST_GUILESS_MAIN(TestSchemaRepairs)
#include "test_schema_repairs.moc"

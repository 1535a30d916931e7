// Merging and removal of organisations on three organisations' data: exactly
// what changes and what does not; a failure half way or a table that cannot
// be read leaves everything as it was.
#include "exchange/core/org_merge.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>

namespace {

// The own organisation 0 and the received 5 and 6, with their loads 1 and 2.
void Fill(TestDatabase& db) {
    const char* statements[] = {
        "INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'OWN'),(5,'ORG5'),(6,'ORG6')",
        "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,cGlobalCode,bIsFolder,nGroupID,"
        "nEthnicity,nRelCount,nRegionDataID) VALUES (1,'АБВ0190Ч',NULL,'АБВ0190Ч',0,0,0,0,0),"
        "(2,'ГДЕ0285Ж`52','ГДЕ0285Ж`52','ГДЕ0285Ж`52',0,0,0,0,5),"
        "(3,'ЖЗИ0380Ч`63','`63','ЖЗИ0380Ч`63',0,0,0,0,6),(4,'`7',NULL,NULL,0,0,0,0,NULL)",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID) VALUES (1,0,0,'Пункт',1,1,0,0,0),(2,0,0,'Пункт 2`51',1,1,0,0,5),"
        "(3,0,0,'Шприц`61',3,65537,0,0,6)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,bIsFolder,"
        "nRegionDataID) VALUES (1,'2021-01-01',-1,1,0,0,0),(2,'2021-01-02',-1,2,0,0,5),"
        "(3,'2021-01-03',-1,3,0,0,6)",
        "INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,nRegionDataID) VALUES "
        "(1,1,1,3,1,0),(2,2,2,3,2,5),(3,3,3,3,3,6)",
        "INSERT INTO orginfo (ROWID,nRecordID,cParameter,cValue,nRegionDataID) VALUES "
        "(1,1,'p','v',0),(2,1,'p','v5',5),(3,1,'p','v6',6)",
        "INSERT INTO strtoid VALUES (1,1,'s',0),(2,1,'s5',5),(3,1,'s6',6)",
        "INSERT INTO cmp_loadids VALUES (1,5,'2021-01-10'),(2,6,'2021-02-10')",
        "INSERT INTO cmp_dailyreport VALUES (2,1,'2021-01-02',-1,-1,-1,2,11),"
        "(3,2,'2021-01-03',-1,-1,-1,3,12)",
        "INSERT INTO cmp_visits VALUES (2,1,2,2,3,2),(3,2,3,3,3,3)",
        "INSERT INTO cmp_dir VALUES (2,1,'Пункт`51'),(3,2,'Шприц`61')",
        "INSERT INTO cmp_clients VALUES (2,1,'ГДЕ0285Ж`52'),(3,2,'ЖЗИ0380Ч`63')",
        // A name that only works quoted.
        "CREATE TABLE `extra-data` (n INT, nRegionDataID INT) ENGINE=InnoDB",
        "INSERT INTO `extra-data` VALUES (1,0),(2,5),(3,6)",
        "CREATE TABLE _cache_fast (nRegionDataID INT) ENGINE=MyISAM",
        "INSERT INTO _cache_fast VALUES (5)",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}

QMap<QString, QString> Checksums(TestDatabase& db) {
    QMap<QString, QString> out;
    CxResult tables = db.Exec(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"));
    QStringList names;
    while (tables.FetchRow())
        names << tables.SFieldValue(0);
    for (const QString& t : names) {
        if (t == QLatin1String("m_unreadable"))
            continue;
        CxResult sum = db.Exec(QStringLiteral("CHECKSUM TABLE `%1`").arg(t));
        sum.FetchRow();
        out.insert(t, sum.SFieldValue(1));
    }
    return out;
}

// The tables whose checksum differs between two states.
QStringList Changed(const QMap<QString, QString>& before, const QMap<QString, QString>& after) {
    QStringList changed;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (after.value(it.key(), QStringLiteral("(gone)")) != it.value())
            changed << it.key();
    return changed;
}

class Cancel : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString& = QString(), int = 1) override { ++steps; }
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return steps >= at; }
    int steps = 0;
    int at = 0;
};

} // namespace

class TestOrgMerge : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CTarvikApp::ClearErrorMessages(); }

    void mergeMakesEverythingOwnData() {
        SchemaTestDatabase db;
        Fill(db);
        const auto before = Checksums(db);
        CvRunLogLines log;
        QString error;
        QVERIFY2(MergeOrganisations(db.Connection(), nullptr, &log, &error), qPrintable(error));
        const auto after = Checksums(db);
        QCOMPARE(Changed(before, after),
                 (QStringList{"_cache_fast", "clientdata", "dailyreport", "dailyvisits", "dir",
                              "extra-data", "strtoid"}));
        QCOMPARE(db.Rows(QStringLiteral(
                     "SELECT ROWID,cClientCode,IFNULL(cOClientCode,'-'),"
                     "IFNULL(cGlobalCode,'-'),nRegionDataID FROM clientdata ORDER BY ROWID")),
                 QStringLiteral("1|АБВ0190Ч|-|АБВ0190Ч|0;2|ГДЕ0285Ж|ГДЕ0285Ж|ГДЕ0285Ж|0;"
                                "3|ЖЗИ0380Ч||ЖЗИ0380Ч|0;4||-|-|0"));
        QCOMPARE(db.Rows(QStringLiteral("SELECT cString,nRegionDataID FROM dir ORDER BY ROWID")),
                 QStringLiteral("Пункт|0;Пункт 2|0;Шприц|0"));
        for (const char* t : {"dailyreport", "dailyvisits", "strtoid", "extra-data"})
            QCOMPARE(db.Scalar(
                         QStringLiteral("SELECT COUNT(*) FROM `%1` WHERE nRegionDataID<>0").arg(t)),
                     QStringLiteral("0"));
        // The load register still names who sent each load; the old
        // organisation table is left alone; the work table is gone.
        QCOMPARE(db.Rows(QStringLiteral("SELECT nLoadID,nRegionDataID FROM cmp_loadids")),
                 QStringLiteral("1|5;2|6"));
        QVERIFY(!after.contains(QStringLiteral("_cache_fast")));
        QCOMPARE(log.lines.last(), QStringLiteral("Успешно объединено"));
        QCOMPARE(log.lines.count(QStringLiteral(".")), before.size() - 3);

        // Merged once more: nothing left to change.
        const auto merged = Checksums(db);
        QVERIFY(MergeOrganisations(db.Connection(), nullptr, nullptr, &error));
        QCOMPARE(Changed(merged, Checksums(db)), QStringList());
    }

    void removalDeletesOneOrganisation() {
        SchemaTestDatabase db;
        Fill(db);
        const auto before = Checksums(db);
        CvRunLogLines log;
        QString error;
        QVERIFY2(RemoveOrganisation(db.Connection(), 5, nullptr, &log, &error), qPrintable(error));
        QCOMPARE(Changed(before, Checksums(db)),
                 (QStringList{"_cache_fast", "clientdata", "cmp_clients", "cmp_dailyreport",
                              "cmp_dir", "cmp_loadids", "cmp_visits", "dailyreport", "dailyvisits",
                              "dir", "extra-data", "orginf", "orginfo", "strtoid"}));
        for (const char* t : {"clientdata", "dailyreport", "dailyvisits", "dir", "orginfo",
                              "strtoid", "extra-data"})
            QCOMPARE(
                db.Rows(QStringLiteral("SELECT DISTINCT IFNULL(nRegionDataID,'null') FROM `%1` "
                                       "ORDER BY 1")
                            .arg(t)),
                QString::fromLatin1(t) == QLatin1String("clientdata") ? QStringLiteral("0;6;null")
                                                                      : QStringLiteral("0;6"));
        QCOMPARE(db.Rows(QStringLiteral("SELECT ROWID FROM orginf ORDER BY ROWID")),
                 QStringLiteral("0;6"));
        QCOMPARE(db.Rows(QStringLiteral("SELECT nLoadID FROM cmp_loadids")), QStringLiteral("2"));
        for (const char* t : {"cmp_dailyreport", "cmp_visits", "cmp_dir", "cmp_clients"})
            QCOMPARE(db.Rows(QStringLiteral("SELECT DISTINCT nLoadID FROM %1").arg(t)),
                     QStringLiteral("2"));
        QVERIFY(log.lines.contains(QStringLiteral("Обработка таблицы dailyvisits...")));
    }

    void ownOrganisationIsNotRemoved() {
        SchemaTestDatabase db;
        Fill(db);
        const auto before = Checksums(db);
        QString error;
        QVERIFY(!RemoveOrganisation(db.Connection(), 0, nullptr, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(Changed(before, Checksums(db)), QStringList());
    }

    // The server refuses a statement half way, a table cannot be read, or
    // the user stops: everything stays as it was.
    void failureHalfWayChangesNothing_data() {
        QTest::addColumn<bool>("merge");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("expected");
        const QString trigger = "CREATE TRIGGER refuse BEFORE %1 ON dailyvisits FOR EACH ROW "
                                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused half way'";
        const QString unreadable =
            "CREATE TABLE m_part (n INT) ENGINE=MyISAM;"
            "CREATE TABLE m_unreadable (n INT) ENGINE=MRG_MyISAM UNION=(m_part);"
            "DROP TABLE m_part";
        QTest::newRow("merge: statement refused")
            << true << trigger.arg("UPDATE") << "refused half way";
        QTest::newRow("merge: table unreadable") << true << unreadable << "m_unreadable";
        QTest::newRow("merge: stopped") << true << "stop"
                                        << "";
        // Two organisations' names that are one once the suffix is cut.
        QTest::newRow("merge: names collide")
            << true << "UPDATE dir SET cString='Пункт`51' WHERE ROWID=2"
            << "Duplicate entry";
        QTest::newRow("removal: statement refused")
            << false << trigger.arg("DELETE") << "refused half way";
        QTest::newRow("removal: table unreadable") << false << unreadable << "m_unreadable";
        QTest::newRow("removal: stopped") << false << "stop"
                                          << "";
    }

    void failureHalfWayChangesNothing() {
        QFETCH(bool, merge);
        QFETCH(QString, trouble);
        QFETCH(QString, expected);
        SchemaTestDatabase db;
        Fill(db);
        Cancel progress;
        progress.at = 1 << 30;
        if (trouble == QLatin1String("stop"))
            progress.at = 12; // after some tables are done
        else
            for (const QString& s : trouble.split(u';'))
                db.Exec(s);
        const auto before = Checksums(db);
        CvRunLogLines log;
        QString error;
        const bool ok = merge ? MergeOrganisations(db.Connection(), &progress, &log, &error)
                              : RemoveOrganisation(db.Connection(), 5, &progress, &log, &error);
        QVERIFY(!ok);
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY(log.lines.last().startsWith(QLatin1String("error: ")));
        if (!trouble.startsWith(QLatin1String("UPDATE dir")))
            QVERIFY(progress.steps > 3); // it was half way
        QCOMPARE(Changed(before, Checksums(db)), QStringList());
    }

    void removalDescriptionEscapesTheIdentifier() {
        const QString text = RemoveOrgDescription(QStringLiteral("<b>A&B</b>"));
        QVERIFY(text.contains(QStringLiteral("«&lt;b&gt;A&amp;B&lt;/b&gt;»")));
        QVERIFY(text.startsWith(QStringLiteral("<h1>Удаление организации <u>")));
        QVERIFY(!text.contains(QLatin1String("{orgid}")));
    }
};

QTEST_GUILESS_MAIN(TestOrgMerge)
#include "test_org_merge.moc"

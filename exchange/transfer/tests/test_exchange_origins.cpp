// Packages between three generated installations on one server: every row
// keeps the organisation it came from, whichever way it travels. After each
// step every organisation's rows are held exactly once in every database
// that has them, with the same content as in the organisation's own database
// (compared by their names, codes, dates and counts, not by local numbers); a
// second round changes nothing of what either holds; an older package is refused unless confirmed,
// and an organisation's rows passed on older than those the receiver holds
// of it are left out unless confirmed; a package without origins is read as
// all the sender's own.
#include "bench/datagen/data_generator.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/table_fingerprint.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

CDataGenOptions Tiny(quint64 seed) {
    CDataGenOptions o;
    o.points = 2;
    o.workers = 3;
    o.materials = 12;
    o.clients = 30;
    o.years = 1;
    o.visits = 400;
    o.history = 2;
    o.trainingsPerYear = 3;
    o.seed = seed;
    return o;
}

// An installation of its own organisation.
std::unique_ptr<SchemaTestDatabase> Installation(const char* purpose, const char* org,
                                                 quint64 seed) {
    auto db = std::make_unique<SchemaTestDatabase>(QString::fromLatin1(purpose));
    CDataGenerator generator(Tiny(seed));
    QString error;
    if (!generator.Fill(db->Connection(), &error))
        qFatal("%s", qPrintable(error));
    db->Exec(QStringLiteral("UPDATE orginf SET cOrgID='%1',cOrgName='Организация %1' WHERE ROWID=0")
                 .arg(QString::fromLatin1(org)));
    return db;
}

// What the tables hold of one organisation, told by names, codes, dates and
// counts (keys cut at their suffix), so that its own database and every
// database that received it can be compared; "-" when the organisation is
// unknown there.
QString OrgContent(const TestDatabase& db, const QString& org) {
    const QString number =
        db.Scalar(QStringLiteral("SELECT ROWID FROM orginf WHERE cOrgID='%1'").arg(org));
    if (number.isEmpty())
        return QStringLiteral("-");
    auto key = [](const char* column) {
        return QStringLiteral("SUBSTRING_INDEX(%1,'`',1)").arg(QString::fromLatin1(column));
    };
    const QString parts[] = {
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',nDirType,%1,bIsFolder))) FROM dir "
                       "WHERE nRegionDataID=%N")
            .arg(key("cString")),
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',%1,nBirthYear,nSex))) FROM "
                       "clientdata WHERE nRegionDataID=%N")
            .arg(key("cClientCode")),
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',%1,h.dDate,h.nClientType))) FROM "
                       "clientdatachanges h LEFT JOIN clientdata c ON c.ROWID=h.nClientID WHERE "
                       "h.nRegionDataID=%N")
            .arg(key("c.cClientCode")),
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',r.dDate,%1,%2,r.nCrc))) FROM "
                       "dailyreport r LEFT JOIN dir p ON p.ROWID=r.nWorkPlace LEFT JOIN dir w ON "
                       "w.ROWID=r.nWorker1 WHERE r.nRegionDataID=%N")
            .arg(key("p.cString"), key("w.cString")),
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',r.dDate,%1,%2,%3,v.nCount))) FROM "
                       "dailyvisits v LEFT JOIN dailyreport r ON r.ROWID=v.nReportID LEFT JOIN "
                       "dir p ON p.ROWID=r.nWorkPlace LEFT JOIN clientdata c ON "
                       "c.ROWID=v.nClientID LEFT JOIN dir m ON m.ROWID=v.nItem WHERE "
                       "v.nRegionDataID=%N")
            .arg(key("p.cString"), key("c.cClientCode"), key("m.cString")),
        QStringLiteral("SELECT COUNT(*),SUM(CRC32(CONCAT_WS('|',t.dDate,%1,s.nClientID>0))) FROM "
                       "trainingssubdata s JOIN traininglist t ON t.ROWID=s.nTrainingID LEFT "
                       "JOIN dir k ON k.ROWID=t.nTopicID WHERE t.nRegionDataID=%N")
            .arg(key("k.cString")),
    };
    QStringList out;
    for (QString part : parts)
        out << db.Rows(part.replace(QStringLiteral("%N"), number));
    return out.join(u' ');
}

// The organisations whose rows a database holds, with their visit counts.
QString Holders(const TestDatabase& db) {
    return db.Rows(
        "SELECT o.cOrgID,COUNT(*) FROM dailyvisits v JOIN orginf o ON o.ROWID=v.nRegionDataID "
        "GROUP BY o.cOrgID ORDER BY o.cOrgID");
}

// Every table but the records of received packages (loads and settings).
QString DataFingerprint(const TestDatabase& db) {
    QStringList out;
    for (const QString& line : TableFingerprint(db).split(u';'))
        if (!line.contains(QLatin1String(".cmp_")) && !line.contains(QLatin1String(".dbsettings")))
            out << line.mid(line.indexOf(u'.'));
    return out.join(u';');
}

// A helper of an older program: its packages say nothing of origins.
class NoOriginsHelper : public CKeldaSQLImportWizard_Helper {
public:
    bool GetOrigins(QMap<int, QString>* origins, QString*) override {
        origins->clear();
        return true;
    }
};

QDateTime Morning(int day) {
    return QDateTime(QDate(2026, 3, day), QTime(9, 0), QTimeZone::utc());
}

// The package again, with another creation stamp.
QString Restamp(const QString& path, const QDateTime& stamp) {
    CSQLExchangePackageReader reader;
    CSQLExchangePackageWriter writer;
    const QString out = path + QStringLiteral(".restamped");
    QString error;
    bool ok = reader.Open(path, &error) && writer.Open(out, &error);
    for (const CSQLExchangeTableInfo& table : reader.Tables()) {
        ok = ok && reader.BeginTable(table.name, &error) &&
             writer.BeginTable(table.name, table.columns, &error);
        CSQLExchangeRow row;
        while (ok && reader.ReadRow(row))
            writer.WriteRow(row);
        ok = ok && reader.EndTable(&error) && writer.EndTable(&error);
    }
    CSQLExchangeAttributes attributes = reader.Attributes();
    attributes[QStringLiteral("Created")] = stamp.toString(Qt::ISODateWithMs);
    if (!ok || !writer.Finish(attributes, &error))
        qFatal("%s", qPrintable(error));
    return out;
}

} // namespace

class TestExchangeOrigins : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_packages = 0;

    QString Send(const TestDatabase& from, bool origins = true) {
        const QString path = m_dir.filePath(QStringLiteral("p%1.k2x").arg(++m_packages));
        CKeldaSQLImportWizard_Helper helper;
        NoOriginsHelper old;
        CSQLExportWizard wizard(origins ? &helper : &old);
        QString error;
        if (!wizard.Export(from.Connection(), path, nullptr, &error))
            qFatal("%s", qPrintable(error));
        return path;
    }
    bool Receive(const TestDatabase& to, const QString& path, QString* error = nullptr,
                 bool acceptOlder = false, bool* older = nullptr,
                 QStringList* olderOrigins = nullptr) {
        CKeldaSQLImportWizard_Helper helper;
        CSQLImportWizard wizard(&helper);
        wizard.SetAcceptOlder(acceptOlder);
        QString e;
        const bool ok = wizard.Import(to.Connection(), path, nullptr, nullptr, &e);
        if (error)
            *error = e;
        if (older)
            *older = wizard.RefusedAsOlder();
        if (olderOrigins)
            *olderOrigins = wizard.OlderOrigins();
        return ok;
    }
    void Pass(const TestDatabase& from, const TestDatabase& to) {
        QString error;
        QVERIFY2(Receive(to, Send(from), &error), qPrintable(error));
    }
    // Whether the visit B made of A's client (counted 77) points at a client
    // the database files under ORG-A.
    static QString VisitOfA(const TestDatabase& db) {
        return db.Rows("SELECT c.nRegionDataID=(SELECT ROWID FROM orginf WHERE cOrgID='ORG-A') "
                       "FROM dailyvisits v JOIN clientdata c ON c.ROWID=v.nClientID WHERE "
                       "v.nCount=77");
    }

private slots:
    // A -> B -> A, three times. A's own rows come back to A as A's (never as
    // B's), B's arrive once; a row B made on A's client and A's material
    // points at A's own rows in A, and at A's rows in B when they come again
    // under other ids. A round without changes leaves every table as it was.
    void roundTrip() {
        auto a = Installation("ra", "ORG-A", 11);
        auto b = Installation("rb", "ORG-B", 12);
        const QString ownA = OrgContent(*a, "ORG-A"), ownB = OrgContent(*b, "ORG-B");
        Pass(*a, *b);
        QCOMPARE(OrgContent(*b, "ORG-A"), ownA);
        QCOMPARE(OrgContent(*b, "ORG-B"), ownB);
        // B's worker records a visit of A's client with A's material in a
        // report of B, and a history row of that client.
        b->Exec("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,nRegionDataID) SELECT "
                "(SELECT MIN(ROWID) FROM dailyreport WHERE nRegionDataID=0 AND NOT bIsFolder),"
                "(SELECT MIN(ROWID) FROM clientdata WHERE nRegionDataID>0),(SELECT MIN(ROWID) FROM "
                "dir WHERE nRegionDataID>0 AND nDirType=3),77,0");
        b->Exec("INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nRegionDataID) SELECT "
                "MIN(ROWID),'2030-01-01',1,0 FROM clientdata WHERE nRegionDataID>0");
        const QString bAfterWork = OrgContent(*b, "ORG-B");
        Pass(*b, *a);
        QCOMPARE(OrgContent(*a, "ORG-A"), ownA);
        QCOMPARE(OrgContent(*a, "ORG-B"), bAfterWork);
        QCOMPARE(Holders(*a), Holders(*b));
        // The visit and the history row point at A's own client and material.
        QCOMPARE(
            a->Rows("SELECT c.nRegionDataID,m.nRegionDataID FROM dailyvisits v JOIN clientdata "
                    "c ON c.ROWID=v.nClientID JOIN dir m ON m.ROWID=v.nItem WHERE v.nCount=77"),
            QStringLiteral("0|0"));
        QCOMPARE(a->Rows("SELECT c.nRegionDataID FROM clientdatachanges h JOIN clientdata c ON "
                         "c.ROWID=h.nClientID WHERE h.dDate='2030-01-01'"),
                 QStringLiteral("0"));
        // B registers a client and a material of its own: A's rows, loaded
        // again, then take other ids in B, and B's visit of A's client must
        // follow them.
        b->Exec("INSERT INTO clientdata (cClientCode,nBirthYear,nSex,bIsFolder,nGroupID,"
                "nEthnicity,nRelCount,nRegionDataID) VALUES ('НОВ0101М',2001,1,0,0,0,0,0)");
        b->Exec("INSERT INTO dir (nGroupID,bIsFolder,cString,nDirType,bHidden,nTown,"
                "nRegionDataID) VALUES (0,0,'Новый материал',3,0,0,0)");
        const QString firstB = OrgContent(*b, "ORG-A") + OrgContent(*b, "ORG-B");
        Pass(*a, *b);
        Pass(*b, *a);
        QCOMPARE(OrgContent(*b, "ORG-A") + OrgContent(*b, "ORG-B"), firstB);
        QCOMPARE(b->Rows("SELECT c.nRegionDataID>0,m.nRegionDataID>0 FROM dailyvisits v JOIN "
                         "clientdata c ON c.ROWID=v.nClientID JOIN dir m ON m.ROWID=v.nItem WHERE "
                         "v.nCount=77"),
                 QStringLiteral("1|1"));
        QCOMPARE(OrgContent(*a, "ORG-A"), ownA);
        QCOMPARE(OrgContent(*a, "ORG-B"), OrgContent(*b, "ORG-B"));
        QCOMPARE(Holders(*a), Holders(*b));
        // Nothing changed since: another round leaves every table as it was.
        const QString twiceA = DataFingerprint(*a), twiceB = DataFingerprint(*b);
        Pass(*a, *b);
        Pass(*b, *a);
        QCOMPARE(DataFingerprint(*a), twiceA);
        QCOMPARE(DataFingerprint(*b), twiceB);
    }

    // A point sends to its region, the region to the national office, then
    // the point to the national office directly and the region again (with
    // the point's older rows, which the office keeps as it has them): each
    // organisation's rows are held once everywhere, under the receiver's own
    // number for it, with the card it has at home.
    void chain() {
        auto p = Installation("cp", "ORG-P", 21);
        auto r = Installation("cr", "ORG-R", 22);
        auto n = Installation("cn", "ORG-N", 23);
        const QString ownP = OrgContent(*p, "ORG-P"), ownR = OrgContent(*r, "ORG-R"),
                      ownN = OrgContent(*n, "ORG-N");
        Pass(*p, *r);
        Pass(*r, *n);
        auto check = [&]() {
            QCOMPARE(OrgContent(*n, "ORG-P"), ownP);
            QCOMPARE(OrgContent(*n, "ORG-R"), ownR);
            QCOMPARE(OrgContent(*n, "ORG-N"), ownN);
            QCOMPARE(n->Scalar("SELECT COUNT(*) FROM orginf"), QStringLiteral("3"));
            QCOMPARE(n->Scalar("SELECT cOrgName FROM orginf WHERE cOrgID='ORG-P'"),
                     QStringLiteral("Организация ORG-P"));
        };
        check();
        Pass(*p, *n);
        check();
        // The region passes on the point's rows older than those the office
        // now has from the point: they stay as the office has them.
        QStringList older;
        QString error;
        QVERIFY2(Receive(*n, Send(*r), &error, false, nullptr, &older), qPrintable(error));
        QCOMPARE(older.size(), 1);
        QVERIFY2(older[0].contains(QStringLiteral("ORG-P")), qPrintable(older[0]));
        check();
        const QString once = DataFingerprint(*n);
        Pass(*r, *n);
        QCOMPARE(DataFingerprint(*n), once);
        // And back down: the region takes the office's rows and nothing more
        // of its own or of the point.
        Pass(*n, *r);
        QCOMPARE(OrgContent(*r, "ORG-R"), ownR);
        QCOMPARE(OrgContent(*r, "ORG-P"), ownP);
        QCOMPARE(OrgContent(*r, "ORG-N"), ownN);
    }

    // A package older than the last one from its sender is refused with both
    // dates and leaves the receiver as it was; confirmed, it goes in.
    void olderPackageRefused() {
        auto a = Installation("oa", "ORG-A", 31);
        auto b = Installation("ob", "ORG-B", 32);
        const QString atFirst = OrgContent(*a, "ORG-A");
        const QString first = Restamp(Send(*a), Morning(1));
        a->Exec("DELETE FROM dailyvisits WHERE ROWID%5=0");
        const QString second = Restamp(Send(*a), Morning(2));
        QString error;
        QVERIFY2(Receive(*b, second, &error), qPrintable(error));
        const QString before = TableFingerprint(*b);
        bool older = false;
        QVERIFY(!Receive(*b, first, &error, false, &older));
        QVERIFY(older);
        const QString local = QStringLiteral("dd.MM.yyyy HH:mm:ss");
        QVERIFY2(error.contains(QStringLiteral("ORG-A")) &&
                     error.contains(Morning(1).toLocalTime().toString(local)) &&
                     error.contains(Morning(2).toLocalTime().toString(local)),
                 qPrintable(error));
        QCOMPARE(TableFingerprint(*b), before);
        // The later package again is no older than itself.
        QVERIFY2(Receive(*b, second, &error), qPrintable(error));
        QVERIFY2(Receive(*b, first, &error, true), qPrintable(error));
        QCOMPARE(OrgContent(*b, "ORG-A"), atFirst);
        QVERIFY(OrgContent(*b, "ORG-A") != OrgContent(*a, "ORG-A"));
    }

    // C has A's second package from A; B passes on A's first one: A's rows
    // in B's package are left out with a message naming A and both dates,
    // B's own arrive (a visit B made of A's client points at C's copy of that
    // client), every organisation once. Confirmed, A's older rows go in. A's
    // rows passed on newer than C's replace them without a question, and then
    // A's own package older than those is refused as older.
    void olderRowsPassedOn() {
        auto a = Installation("pa", "ORG-A", 51);
        auto b = Installation("pb", "ORG-B", 52);
        auto c = Installation("pc", "ORG-C", 53);
        const QString ownC = OrgContent(*c, "ORG-C");
        const QString atFirst = OrgContent(*a, "ORG-A");
        const QString first = Restamp(Send(*a), Morning(1));
        a->Exec("DELETE FROM dailyvisits WHERE ROWID%5=0");
        const QString atSecond = OrgContent(*a, "ORG-A");
        const QString second = Restamp(Send(*a), Morning(2));
        QVERIFY(atFirst != atSecond);
        QString error;
        QVERIFY2(Receive(*b, first, &error), qPrintable(error));
        QVERIFY2(Receive(*c, second, &error), qPrintable(error));
        b->Exec("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,nRegionDataID) SELECT "
                "(SELECT MIN(ROWID) FROM dailyreport WHERE nRegionDataID=0 AND NOT bIsFolder),"
                "(SELECT MIN(ROWID) FROM clientdata WHERE nRegionDataID>0),(SELECT MIN(ROWID) FROM "
                "dir WHERE nRegionDataID=0 AND nDirType=3),77,0");
        const QString ownB = OrgContent(*b, "ORG-B");
        const QString fromB = Restamp(Send(*b), Morning(3));

        QStringList older;
        QVERIFY2(Receive(*c, fromB, &error, false, nullptr, &older), qPrintable(error));
        const QString local = QStringLiteral("dd.MM.yyyy HH:mm:ss");
        QCOMPARE(older.size(), 1);
        QVERIFY2(older[0].contains(QStringLiteral("ORG-A")) &&
                     older[0].contains(QStringLiteral("ORG-B")) &&
                     older[0].contains(Morning(1).toLocalTime().toString(local)) &&
                     older[0].contains(Morning(2).toLocalTime().toString(local)),
                 qPrintable(older[0]));
        QCOMPARE(OrgContent(*c, "ORG-A"), atSecond);
        QCOMPARE(OrgContent(*c, "ORG-B"), ownB);
        QCOMPARE(OrgContent(*c, "ORG-C"), ownC);
        QCOMPARE(c->Scalar("SELECT COUNT(*) FROM orginf"), QStringLiteral("3"));
        QCOMPARE(VisitOfA(*c), QStringLiteral("1"));
        // The same package again changes nothing.
        const QString once = DataFingerprint(*c);
        QVERIFY2(Receive(*c, fromB, &error), qPrintable(error));
        QCOMPARE(DataFingerprint(*c), once);

        // Confirmed: A's rows become those B passed on.
        QVERIFY2(Receive(*c, fromB, &error, true, nullptr, &older), qPrintable(error));
        QVERIFY(older.isEmpty());
        QCOMPARE(OrgContent(*c, "ORG-A"), atFirst);
        QCOMPARE(OrgContent(*c, "ORG-B"), ownB);
        QCOMPARE(OrgContent(*c, "ORG-C"), ownC);
        QCOMPARE(VisitOfA(*c), QStringLiteral("1"));

        // A's newer rows passed on by B replace C's without a question.
        a->Exec("DELETE FROM dailyvisits WHERE ROWID%7=0");
        const QString atThird = OrgContent(*a, "ORG-A");
        QVERIFY2(Receive(*b, Restamp(Send(*a), Morning(4)), &error), qPrintable(error));
        QVERIFY2(Receive(*c, Restamp(Send(*b), Morning(5)), &error, false, nullptr, &older),
                 qPrintable(error));
        QVERIFY(older.isEmpty());
        QCOMPARE(OrgContent(*c, "ORG-A"), atThird);
        QCOMPARE(OrgContent(*c, "ORG-B"), ownB);
        QCOMPARE(VisitOfA(*c), QStringLiteral("1"));

        // A's own second package is now older than what C has of A.
        const QString before = TableFingerprint(*c);
        bool refused = false;
        QVERIFY(!Receive(*c, second, &error, false, &refused));
        QVERIFY(refused);
        QVERIFY2(error.contains(QStringLiteral("ORG-A")) &&
                     error.contains(Morning(2).toLocalTime().toString(local)) &&
                     error.contains(Morning(4).toLocalTime().toString(local)),
                 qPrintable(error));
        QCOMPARE(TableFingerprint(*c), before);
    }

    // A package of an older program names no origins: every row in it is
    // the sender's, as such packages were always read.
    void packageWithoutOrigins() {
        auto a = Installation("wa", "ORG-A", 41);
        auto b = Installation("wb", "ORG-B", 42);
        Pass(*a, *b);
        QString error;
        QVERIFY2(Receive(*a, Send(*b, false), &error), qPrintable(error));
        const int all = b->Scalar("SELECT COUNT(*) FROM dailyvisits").toInt();
        QCOMPARE(a->Scalar("SELECT COUNT(*) FROM dailyvisits v JOIN orginf o ON "
                           "o.ROWID=v.nRegionDataID WHERE o.cOrgID='ORG-B'")
                     .toInt(),
                 all);
    }
};

QTEST_GUILESS_MAIN(TestExchangeOrigins)
#include "test_exchange_origins.moc"

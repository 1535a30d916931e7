// Organisation keys, the material list, the own organisation's card and what
// the organisation list offers.
#include "db/mysql_connection.h"
#include "exchange/core/org_card.h"
#include "framework/core/app/record_commands.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/orgs/org_keys.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QTest>

class TestOrgKeys : public QObject {
    Q_OBJECT

private slots:
    void stripOrgSuffix_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("suffix") << "ABC`12"
                                << "ABC";
        QTest::newRow("none") << "АБВ0190Ч"
                              << "АБВ0190Ч";
        QTest::newRow("leading back-quote") << "`12"
                                            << "";
        QTest::newRow("only the first counts") << "A`1`2"
                                               << "A";
        QTest::newRow("empty") << ""
                               << "";
    }
    void stripOrgSuffix() {
        QFETCH(QString, key);
        QFETCH(QString, stripped);
        QCOMPARE(StripOrgSuffix(key), stripped);
    }

    void ownOrgID() {
        SchemaTestDatabase db;
        QCOMPARE(GetOwnOrgID(db.Connection()), QString());
        db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (5,'OTHER')"));
        QCOMPARE(GetOwnOrgID(db.Connection()), QString());
        db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'Своя \\'')"));
        QCOMPARE(GetOwnOrgID(db.Connection()), QStringLiteral("Своя '"));
    }

    void materialList_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("entries");
        // 1 and 2 plain (by name: Б, А), 3 hidden, 4 of the class offered only
        // when chosen, 5 of that class but flagged, 6 a folder, 7 not a material.
        QTest::newRow("nothing chosen") << QList<int>{} << "0 А 2;0 Б 1;0 Особый 5";
        QTest::newRow("chosen in the caller's order, whatever their flags")
            << QList<int>{4, 3, 1, 99, 6} << "0 А 2;0 Особый 5;1 Консультация 4;1 Скрытый 3;1 Б 1";
    }
    void materialList() {
        QFETCH(QList<int>, chosen);
        QFETCH(QString, entries);
        SchemaTestDatabase db;
        db.Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nSpecFlags) VALUES (1,0,0,'Б',3,65537,0,0,0),(2,0,NULL,'А',3,65538,0,0,0),"
            "(3,0,0,'Скрытый',3,65537,1,0,0),(4,0,0,'Консультация',3,458753,0,0,0),"
            "(5,0,0,'Особый',3,458754,0,0,1),(6,0,1,'Папка',3,0,0,0,0),(7,0,0,'Пункт',1,1,0,0,0)"));
        CxListSelOrderEntries list{{true, QStringLiteral("old"), 42}};
        QVERIFY(LoadMaterialList(list, chosen, db.Connection()));
        QStringList got;
        for (const CxListSelOrder_Struct& e : list)
            got << QStringLiteral("%1 %2 %3").arg(int(e.selected)).arg(e.text).arg(e.id);
        QCOMPARE(got.join(u';'), entries);
    }

    void materialListFailure() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("DROP TABLE dir"));
        CxListSelOrderEntries list{{true, QStringLiteral("old"), 42}};
        QVERIFY(!LoadMaterialList(list, {1}, db.Connection()));
        QVERIFY(list.isEmpty());
        CTarvikApp::ClearErrorMessages();
    }

    void loadMatError() {
        CTarvikApp::ClearErrorMessages();
        AddLoadMatError(18150, 77);
        QCOMPARE(CTarvikApp::GetErrorMessages(),
                 QStringList{QStringLiteral(
                     "Ошибка загрузки материала с кодом 77\n(позиция ошибки 18150)")});
        CTarvikApp::ClearErrorMessages();
    }

    void ownCard() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (7,'ORG7')"));
        COrgInfoCard card;
        QString error;
        QVERIFY(card.Load(db.Connection(), &error));
        QVERIFY(card.IsNew());
        QCOMPARE(card.Facts().size(), 16);
        QCOMPARE(card.Facts().first().column, QStringLiteral("cOrgID"));
        QCOMPARE(card.Facts().first().caption, QStringLiteral("Идентификатор организации."));
        QCOMPARE(card.Facts().last().column, QStringLiteral("cProjectDate"));
        for (const COrgFact& f : card.Facts())
            QVERIFY(f.value.isEmpty());
        bool exists = true;
        QVERIFY(OwnOrgCardExists(db.Connection(), &exists, &error));
        QVERIFY(!exists);

        // A new card is inserted as row 0, every value as typed.
        card.Facts()[0].value = QStringLiteral("OWN");
        card.Facts()[1].value = QStringLiteral("«Своя» 'организация'");
        QVERIFY2(card.Save(db.Connection(), &error), qPrintable(error));
        QCOMPARE(db.Rows(QStringLiteral(
                     "SELECT ROWID,cOrgID,cOrgName,cPhone FROM orginf ORDER BY ROWID")),
                 QStringLiteral("0|OWN|«Своя» 'организация'|;7|ORG7||"));
        QVERIFY(OwnOrgCardExists(db.Connection(), &exists, &error));
        QVERIFY(exists);

        // Read again and changed: updated in place.
        COrgInfoCard again;
        QVERIFY(again.Load(db.Connection(), &error));
        QVERIFY(!again.IsNew());
        QCOMPARE(again.Facts()[1].value, QStringLiteral("«Своя» 'организация'"));
        again.Facts()[7].value = QStringLiteral("+7 000");
        QVERIFY(again.Save(db.Connection(), &error));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cPhone FROM orginf WHERE ROWID=0")),
                 QStringLiteral("+7 000"));

        // Another copy removed the row after the card was read: refused, the
        // removal stands.
        db.Exec(QStringLiteral("DELETE FROM orginf WHERE ROWID=0"));
        again.Facts()[7].value = QStringLiteral("+7 111");
        QVERIFY(!again.Save(db.Connection(), &error));
        QVERIFY(again.ChangedMeanwhile());
        QVERIFY2(error.contains(QStringLiteral("в другом окне")), qPrintable(error));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM orginf WHERE ROWID=0")),
                 QStringLiteral("0"));
        // Another copy made the row after this card was read empty: refused,
        // the other card stays; read again, the card saves over it.
        COrgInfoCard late;
        QVERIFY(late.Load(db.Connection(), &error));
        QVERIFY(late.IsNew());
        db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'OTHER')"));
        late.Facts()[0].value = QStringLiteral("OWN");
        late.Facts()[7].value = QStringLiteral("+7 000");
        QVERIFY(!late.Save(db.Connection(), &error));
        QVERIFY(late.ChangedMeanwhile());
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0")),
                 QStringLiteral("OTHER"));
        QVERIFY(late.Load(db.Connection(), &error));
        QVERIFY(!late.IsNew());
        QCOMPARE(late.Facts()[0].value, QStringLiteral("OTHER"));
        late.Facts()[0].value = QStringLiteral("OWN");
        late.Facts()[7].value = QStringLiteral("+7 000");
        QVERIFY2(late.Save(db.Connection(), &error), qPrintable(error));
        QVERIFY(!late.ChangedMeanwhile());
        QCOMPARE(db.Rows(QStringLiteral("SELECT cOrgID,cPhone FROM orginf WHERE ROWID=0")),
                 QStringLiteral("OWN|+7 000"));

        // An identifier another organisation has: refused, nothing written.
        late.Facts()[0].value = QStringLiteral("ORG7");
        late.Facts()[7].value = QStringLiteral("lost");
        QVERIFY(!late.Save(db.Connection(), &error));
        QVERIFY(error.contains(QLatin1String("ORG7")));
        QCOMPARE(db.Rows(QStringLiteral("SELECT cOrgID,cPhone FROM orginf WHERE ROWID=0")),
                 QStringLiteral("OWN|+7 000"));
        CTarvikApp::ClearErrorMessages();
    }

    // Two copies of the program have the own card open on two connections:
    // the first saves; the second's save is refused and leaves the first's
    // facts; read again, the second saves, twice in a row.
    void twoCopiesSaveOwnCard() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'OWN')"));
        CxMySQL other;
        SQLConnectXML info = db.Info();
        QVERIFY(other.Connect(&info));
        COrgInfoCard first, second;
        QString error;
        QVERIFY(first.Load(db.Connection(), &error));
        QVERIFY(second.Load(&other, &error));
        first.Facts()[7].value = QStringLiteral("первая копия");
        QVERIFY2(first.Save(db.Connection(), &error), qPrintable(error));
        second.Facts()[6].value = QStringLiteral("вторая копия");
        QVERIFY(!second.Save(&other, &error));
        QVERIFY(second.ChangedMeanwhile());
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cPhone FROM orginf WHERE ROWID=0")),
                 QStringLiteral("первая копия"));
        QVERIFY(second.Load(&other, &error));
        QCOMPARE(second.Facts()[7].value, QStringLiteral("первая копия"));
        second.Facts()[6].value = QStringLiteral("вторая копия");
        QVERIFY2(second.Save(&other, &error), qPrintable(error));
        second.Facts()[6].value = QStringLiteral("ещё раз");
        QVERIFY2(second.Save(&other, &error), qPrintable(error));
        QVERIFY(!first.Save(db.Connection(), &error)); // now the first meets the second's
        QCOMPARE(db.Rows(QStringLiteral("SELECT cPhone FROM orginf WHERE ROWID=0")),
                 QStringLiteral("первая копия"));
        CTarvikApp::ClearErrorMessages();
    }

    void orgList() {
        auto* config = new xKDConfiguration;
        QVERIFY(config->ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE/></CONFIGURATION>"),
                                    QStringLiteral("test")));
        CTarvikApp::SetConfig(config);
        g_SelfTablesKelda.Init(0);
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO orginf VALUES (5,'ORG5','Пятая','П5','С5','Город5',"
                               "'Обл5','','','','','','','','','',''),(0,'OWN','Своя','П0','С0',"
                               "'Город0','Обл0','','','','','','','','','','')"));
        CxResult res = db.Exec(OrgListSelect()); // by identifier
        QStringList names;
        for (int i = 0; i < res.FieldsCount(); ++i)
            names << res.FieldName(i);
        QCOMPARE(names, (QStringList{"ROWID", "cOrgID", "cOrgName", "cPrjName", "cCity", "cRegion",
                                     "cSogName"}));
        QCOMPARE(TestDatabase::ResultRows(res),
                 QStringLiteral("5|ORG5|Пятая|П5|Город5|Обл5|С5;0|OWN|Своя|П0|Город0|Обл0|С0"));
        CTarvikApp::SetConfig(nullptr);
        g_SelfTablesKelda.Init(0);
    }

    void listCommands_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<qint64>("selected");
        QTest::addColumn<bool>("ownCard");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("open own card") << int(ID_RECORD_EDIT) << qint64(0) << true << true;
        QTest::newRow("open other card") << int(kOrgCmdOpenCard2) << qint64(5) << true << false;
        QTest::newRow("open nothing") << int(ID_RECORD_EDIT) << qint64(-1) << true << false;
        QTest::newRow("remove other") << int(ID_RECORD_DELETE) << qint64(5) << true << true;
        QTest::newRow("remove own") << int(ID_RECORD_DELETE) << qint64(0) << true << false;
        QTest::newRow("remove nothing") << int(ID_RECORD_DELETE) << qint64(-1) << true << false;
        QTest::newRow("new while the own card is missing")
            << int(ID_RECORD_NEW) << qint64(-1) << false << true;
        QTest::newRow("new while it exists") << int(ID_RECORD_NEW) << qint64(0) << true << false;
        QTest::newRow("search panel") << int(kOrgCmdSearchPanel) << qint64(-1) << true << true;
        QTest::newRow("other command") << 1234 << qint64(0) << true << false;
    }
    void listCommands() {
        QFETCH(int, command);
        QFETCH(qint64, selected);
        QFETCH(bool, ownCard);
        QFETCH(bool, enabled);
        QCOMPARE(OrgListCommandEnabled(command, selected, ownCard), enabled);
    }
};

QTEST_GUILESS_MAIN(TestOrgKeys)
#include "test_org_keys.moc"

#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "tests/support/test_database.h"

#include <QTest>

namespace {
QString Document(const QString& towns) {
    return QStringLiteral("<CONFIGURATION><LANGUAGE ID='1'><TOWNS>%1</TOWNS></LANGUAGE>"
                          "<LANGUAGE ID='2'><TOWNS><Item ID='9' Title='Другой'/></TOWNS>"
                          "</LANGUAGE></CONFIGURATION>")
        .arg(towns);
}

const QString kTowns = QStringLiteral("<Item ID='5' Title='Город' Group='3'/>"
                                      "<Item ID='3' Title='Область'/>"
                                      "<Item ID='7' Title='О&apos;Хара' Group='3'/>");
} // namespace

class TestTownsStore : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

    QString Rows() {
        QStringList rows;
        CxResult res = db->Exec(
            QStringLiteral("SELECT ROWID,nGroupID,cShortName,cFullName FROM towns ORDER BY ROWID"));
        while (res.FetchRow())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(res.SFieldValue(0), res.SFieldValue(1), res.SFieldValue(2),
                             res.SFieldValue(3));
        return rows.join(u';');
    }

private slots:
    void initTestCase() {
        db = std::make_unique<TestDatabase>(QStringLiteral("towns"));
        db->Exec(QStringLiteral(
            "CREATE TABLE towns (ROWID INT NOT NULL PRIMARY KEY, nGroupID INT NOT NULL, "
            "cShortName varchar(255) NOT NULL, cFullName varchar(255) NOT NULL, "
            "UNIQUE INDEX (cFullName), KEY i1 (nGroupID)) ENGINE=InnoDB DEFAULT CHARSET=ucs2 "
            "COLLATE=ucs2_unicode_ci"));
        db->Exec(QStringLiteral("INSERT INTO towns VALUES (100,0,'Старый','Старый')"));
    }
    void cleanupTestCase() { db.reset(); }

    void copiesTownsAndEmptiesLists() {
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(Document(kTowns), QString()));
        QVERIFY(config.StoreTowns(db->Connection()));
        QCOMPARE(Rows(), QStringLiteral("3|0|Область|Область;5|3|Город|Город, Область;"
                                        "7|3|О'Хара|О'Хара, Область"));
        QCOMPARE(
            db->Scalar(QStringLiteral("SELECT IFNULL(IS_USED_LOCK('dblock') = CONNECTION_ID(),0)")),
            QStringLiteral("0"));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(static_cast<xLanguage*>(config.GetLanguageAt(i))->Towns.GetCount_sEnum2(), 0);
        QVERIFY(config.BuildText().contains(QStringLiteral("<TOWNS>\n</TOWNS>")));

        // A store with an empty list leaves the table alone.
        QVERIFY(config.StoreTowns(db->Connection()));
        QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM towns")), QStringLiteral("3"));
    }

    // The second batch breaks the unique full name: the rows of before stay,
    // and so does the list, so that a later store can try again.
    void failingBatchKeepsPreviousRows() {
        const QString before = Rows();
        QString towns;
        for (int id = 1; id <= 10004; ++id)
            towns += QStringLiteral("<Item ID='%1' Title='Н%1'/>").arg(id);
        towns += QStringLiteral("<Item ID='20000' Title='Н1'/>");
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(Document(towns), QString()));
        CTarvikApp::ClearErrorMessages();
        QVERIFY(!config.StoreTowns(db->Connection()));
        QCOMPARE(Rows(), before);
        QCOMPARE(config.GetCurrentLanguage()->Towns.GetCount_sEnum2(), 10005);
        QVERIFY(CTarvikApp::TakeErrorMessages().contains(QStringLiteral("прежний список")));
        QCOMPARE(
            db->Scalar(QStringLiteral("SELECT IFNULL(IS_USED_LOCK('dblock') = CONNECTION_ID(),0)")),
            QStringLiteral("0"));

        // Without the duplicate the large list goes in whole.
        config.GetCurrentLanguage()->Towns.Add(20000, QString(), QStringLiteral("Н20000"));
        QVERIFY(config.StoreTowns(db->Connection()));
        QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM towns")), QStringLiteral("10005"));
    }
};

QTEST_GUILESS_MAIN(TestTownsStore)
#include "test_towns_store.moc"

// The choice of service points: the tree in each grouping, the selection it
// stores, the temporary table of the chosen points and the header paragraph.
#include "db/digests.h"
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/posh_selection.h"
#include "tests/support/schema_test_database.h"
#include "work_table_fixture.h"

#include <QTest>
#include <memory>

namespace {
QString Dump(const QList<CPoshTreeNode>& nodes, int parent = -1, int level = 0) {
    QString text;
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).parent != parent)
            continue;
        text += QString(level * 2, u' ') + nodes.at(i).caption;
        if (nodes.at(i).pointId)
            text += QStringLiteral("#%1").arg(nodes.at(i).pointId);
        text += u'\n' + Dump(nodes, i, level + 1);
    }
    return text;
}
} // namespace

class TestPosh : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void groupings_data();
    void groupings();
    void unknownTown();
    void storedSelection();
    void pointsOfType();
    void temporaryTable();
    void headerParagraph();
    void storedGrouping();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestPosh::initTestCase() {
    InstallConfig(TestMatGroups());
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("posh"));
    LoadWorkTableFixture(*m_db);
}

void TestPosh::groupings_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("tree");
    QTest::newRow("organisation") << int(kPoshByOrg)
                                  << "ORG1\n  Аптека#2\n  Центр#1\nORG5\n  Выезд#3\n";
    // A town shows below the towns it lies in; a town whose parent is
    // missing stands at the top of its level.
    QTest::newRow("town, organisation")
        << int(kPoshByTownOrg)
        << "Город А\n  ORG1\n    Центр#1\n  Район Б\n    ORG1\n      Аптека#2\n"
           "Город В\n  ORG5\n    Выезд#3\n";
    QTest::newRow("organisation, town") << int(kPoshByOrgTown)
                                        << "ORG1\n  Город А\n    Центр#1\n    Район Б\n      "
                                           "Аптека#2\nORG5\n  Город В\n    Выезд#3\n";
    QTest::newRow("type, organisation")
        << int(kPoshByTypeOrg)
        << "Аптека\n  ORG1\n    Аптека#2\nМобильный\n  ORG1\n    Центр#1\n  ORG5\n    Выезд#3\n";
    QTest::newRow("type, town, organisation")
        << int(kPoshByTypeTownOrg)
        << "Аптека\n  Город А\n    Район Б\n      ORG1\n        Аптека#2\nМобильный\n  Город А\n"
           "    ORG1\n      Центр#1\n  Город В\n    ORG5\n      Выезд#3\n";
    QTest::newRow("type, organisation, town")
        << int(kPoshByTypeOrgTown)
        << "Аптека\n  ORG1\n    Город А\n      Район Б\n        Аптека#2\nМобильный\n  ORG1\n"
           "    Город А\n      Центр#1\n  ORG5\n    Город В\n      Выезд#3\n";
    QTest::newRow("a value not listed") << 3302 << "ORG1\n  Аптека#2\n  Центр#1\nORG5\n  Выезд#3\n";
}

void TestPosh::groupings() {
    QFETCH(int, mode);
    QFETCH(QString, tree);
    QList<CPoshTreeNode> nodes;
    QString error;
    QVERIFY2(BuildPoshTree(m_db->Connection(), mode, nodes, &error), qPrintable(error));
    QCOMPARE(Dump(nodes), tree);
    // Parents come before their children, so a view can add them in order.
    for (int i = 0; i < nodes.size(); ++i)
        QVERIFY(nodes.at(i).parent < i);
}

void TestPosh::unknownTown() {
    m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,"
                              "nDirType,nType,nRegionDataID) VALUES (4,0,0,0,77,'Новый',1,1,5)"));
    QList<CPoshTreeNode> nodes;
    QVERIFY(BuildPoshTree(m_db->Connection(), kPoshByTownOrg, nodes));
    QVERIFY(Dump(nodes).contains(QStringLiteral("Ошибка\n  ORG5\n    Новый#4\n")));
    m_db->Exec(QStringLiteral("DELETE FROM dir WHERE ROWID=4"));
}

void TestPosh::storedSelection() {
    // Group items carry 0 and are not points; the points come out by id,
    // whatever the order of the tree that ticked them.
    CPoshSelection::Store({{3, QStringLiteral("Выезд")},
                           {0, QStringLiteral("ORG1")},
                           {1, QStringLiteral("Центр")},
                           {0, QStringLiteral("Город А")}});
    QCOMPARE(CPoshSelection::SelectedIDs(), QList<long>({1, 3}));
    QCOMPARE(CPoshSelection::Get()->Find(3)->value, QStringLiteral("Выезд"));
    QVERIFY(!CPoshSelection::Get()->Find(0));
    CPoshSelection::Store({});
    QVERIFY(CPoshSelection::Get()->IsEmpty());
}

void TestPosh::pointsOfType() {
    const auto points = [this](long type) {
        QList<long> ids{42};
        QString error;
        const bool ok = PoshPointsOfType(m_db->Connection(), type, ids, &error);
        return ok && error.isEmpty() ? ids : QList<long>{-42};
    };
    QCOMPARE(points(1), QList<long>({1, 3}));
    QCOMPARE(points(-1), QList<long>({1, 2, 3}));
    QCOMPARE(points(99), QList<long>());
    QList<long> types;
    QVERIFY(PoshPointTypes(m_db->Connection(), types));
    QCOMPARE(types, QList<long>({1, 3}));
    // A directory that cannot be read is a failure with its reason, not a
    // type without points.
    m_db->Exec(QStringLiteral("RENAME TABLE dir TO dir_away"));
    QString error;
    QList<long> ids{42};
    const bool pointsRead = PoshPointsOfType(m_db->Connection(), 1, ids, &error);
    const QString pointsError = error;
    error.clear();
    const bool typesRead = PoshPointTypes(m_db->Connection(), types, &error);
    m_db->Exec(QStringLiteral("RENAME TABLE dir_away TO dir"));
    QVERIFY(!pointsRead);
    QVERIFY2(pointsError.contains(QLatin1String("dir")), qPrintable(pointsError));
    QVERIFY(ids.isEmpty());
    QVERIFY(!typesRead);
    QVERIFY(!error.isEmpty());
}

void TestPosh::temporaryTable() {
    CPoshSelection::Store({{3, QStringLiteral("Выезд")}, {1, QStringLiteral("Центр")}});
    QString name;
    {
        CSelectedPOSH table(m_db->Connection());
        name = table.Create();
        QCOMPARE(name, QStringLiteral("_tmpPP") + MD5HexOfText(QStringLiteral("1,3")));
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID FROM ") + name), QStringLiteral("1;3"));
        QCOMPARE(table.GetNames(), QStringList({QStringLiteral("Центр"), QStringLiteral("Выезд")}));
        QCOMPARE(table.Create(), name); // made again: the same name
    }
    // Gone with its object.
    QVERIFY(!m_db->Connection()->Execute(QStringLiteral("SELECT 1 FROM ") + name).isValid());
    CTarvikApp::ClearErrorMessages();
    CPoshSelection::Store({});
    CSelectedPOSH empty(m_db->Connection());
    QCOMPARE(empty.Create(), QStringLiteral("_tmpPP") + MD5HexOfText(QString()));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM ") + empty.GetName()),
             QStringLiteral("0"));
}

void TestPosh::headerParagraph() {
    CPoshSelection::Store({});
    QCOMPARE(CPoshFilter::GetPoshList(m_db->Connection()), QString());
    // Every point of ORG1 chosen: "все"; of ORG5 none: not named.
    CPoshSelection::Store({{1, QStringLiteral("Центр")}, {2, QStringLiteral("Аптека & Ко")}});
    QCOMPARE(CPoshFilter::GetPoshList(m_db->Connection()), QStringLiteral("<b>ORG1:</b> все<br/>"));
    // One point left out: the chosen names instead; the last group counts too.
    CPoshSelection::Store({{2, QStringLiteral("Аптека & Ко")}, {3, QStringLiteral("Выезд")}});
    QCOMPARE(CPoshFilter::GetPoshList(m_db->Connection()),
             QStringLiteral("<b>ORG1:</b> Аптека &amp; Ко<br/><b>ORG5:</b> все<br/>"));
}

void TestPosh::storedGrouping() {
    QCOMPARE(CurrentPoshGrouping(), int(kPoshByOrg)); // nothing stored yet
    StorePoshGrouping(kPoshByTypeOrgTown);
    QCOMPARE(CurrentPoshGrouping(), int(kPoshByTypeOrgTown));
    StorePoshGrouping(3302); // no such menu command
    QCOMPARE(CurrentPoshGrouping(), int(kPoshByOrg));
    QCOMPARE(PoshGroupings().size(), 6);
}

QTEST_GUILESS_MAIN(TestPosh)
#include "test_posh.moc"

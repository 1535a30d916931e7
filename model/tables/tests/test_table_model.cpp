// The table model on its own: joins (also through another join's alias, one
// alias registered twice), view filters inside joins, folders, sub-tables,
// links, temporary tables from scripts, and modules still registered when the
// program ends.
#include "framework/core/table/cx_database.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/table/self_register.h"
#include "framework/core/table/sql_placeholders.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/temp_tables/sql_win_app_ext.h"
#include "tests/support/test_database.h"

#include <QTest>
#include <unistd.h>

namespace {
struct Model {
    CxTable places{"place", "Places", "Place"};
    CxTable cities{"place", "Cities", "City", "{TABLE}.nKind=1"};
    CxTable visits{"visit", "Visits", "Visit"};

    Model() {
        places.RegisterField(1, "ROWID", "Key", FF_KEY | FF_INT);
        places.RegisterField(2, "cName", "Name", FF_NAME | FF_TEXT)->SetFlags(19114);
        places.RegisterField(3, "bIsFolder", "Folder mark", FF_FOLDERMARK | FF_INT);
        places.RegisterField(4, "{FOLDER}.cName", "Folder", FF_TEXT)
            ->LeftJoin(&places, "{FOLDER}", "{TABLE}.nGroupID={FOLDER}.ROWID", 0);
        places.RegisterField(4, "nGroupID", "Folder", FF_PARENT | FF_INT);
        cities.RegisterField(10, "ROWID", "Key", FF_KEY | FF_INT);
        cities.RegisterField(11, "cName", "City", FF_NAME | FF_TEXT);

        visits.RegisterField(20, "ROWID", "Key", FF_KEY | FF_INT);
        visits.RegisterField(21, "nPlace", "Place", FF_LOOKUP | FF_INT, &places);
        visits.RegisterField(21, "{PLACE}.cName", "Place", FF_JOINED | FF_TEXT)
            ->LeftJoin(&places, "{PLACE}", "{PLACE}.ROWID={TABLE}.nPlace", 0);
        // Hangs on the alias of the join above.
        visits.RegisterField(22, "{CITY}.cName", "City", FF_JOINED | FF_TEXT)
            ->LeftJoin(&cities, "{CITY}", "{CITY}.ROWID={PLACE}.nCity", 0);
        // Same alias again: still one join.
        visits.RegisterField(23, "{PLACE}.nCity", "City code", FF_JOINED | FF_INT)
            ->LeftJoin(&places, "{PLACE}", "{PLACE}.ROWID={TABLE}.nPlace", 0);
        visits.RegisterField(24, "{TABLE}.nCount*2", "Twice", FF_INT);
        places.RegisterSubTable(&visits, "{MAINTABLE}.ROWID={TABLE}.nPlace");
        g_pDatabase->LinkData(places.GetKeyField(), visits.FindField("nPlace"), FKMODE_DEFAULT);
    }
};
// A module that lives until the program ends, as the table set does: when it
// goes, the register must still be there to let it go.
constexpr unsigned kExitGroup = 4711;
struct ExitModule : CSelfRegisterObject {
    void Init(int registerOnly) override {
        if (registerOnly)
            CGlobalRegisterObject::RegisterObject(this, kExitGroup, 0);
    }
    ~ExitModule() override {
        if (!CGlobalRegisterObject::Objects(kExitGroup).contains(this))
            _exit(3);
    }
} g_exitModule;
} // namespace

class TestTableModel : public QObject {
    Q_OBJECT
private slots:
    void modulesOutliveTheRegister();
    void placeholders_data();
    void placeholders();
    void safeSql_data();
    void safeSql();
    void descriptorShape();
    void selectsRun();
    void linksFollowTheirTables();
    void temporaryScripts_data();
    void temporaryScripts();
    void temporaryTables();

private:
    void Fill(TestDatabase& db) {
        db.Exec("CREATE TABLE place (ROWID INT PRIMARY KEY, cName VARCHAR(50), bIsFolder TINYINT,"
                " nGroupID INT, nKind INT, nCity INT)");
        db.Exec("CREATE TABLE visit (ROWID INT PRIMARY KEY, nPlace INT, nCount INT)");
        db.Exec("INSERT INTO place VALUES (1,'Folder',1,0,0,NULL),(2,'Point',0,1,0,3),"
                "(3,'Town',0,0,1,NULL),(4,'Village',0,0,2,NULL),(5,'Odd',0,1,0,4)");
        db.Exec("INSERT INTO visit VALUES (10,2,3),(11,5,1),(12,99,0)");
    }
};

void TestTableModel::modulesOutliveTheRegister() {
    CSelfRegisterObject::RegisterAll();
    QVERIFY(CGlobalRegisterObject::Objects(kExitGroup).contains(&g_exitModule));
}

void TestTableModel::placeholders_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("table and alias") << "{TABLE}.a={X}.b"
                                     << "visit.a=X.b";
    QTest::newRow("literal untouched") << "IF({TABLE}.a=1,'{TABLE}',\"{X}\")"
                                       << "IF(visit.a=1,'{TABLE}',\"{X}\")";
    QTest::newRow("escaped quote") << "'it''s {X}' {X}"
                                   << "'it''s {X}' X";
    QTest::newRow("not a word") << "{ X} {}"
                                << "{ X} {}";
}

void TestTableModel::placeholders() {
    QFETCH(QString, text);
    QFETCH(QString, expanded);
    Model m;
    QCOMPARE(m.visits.ExpandSQL(text), expanded);
}

void TestTableModel::safeSql_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Шприц 2 мл";
    QTest::newRow("quote") << "O'Brien";
    QTest::newRow("backslash and quote") << "a\\' OR 1=1 -- ";
    QTest::newRow("newline and nul") << QString("x\ny") + QChar(0) + "z";
}

void TestTableModel::safeSql() {
    QFETCH(QString, text);
    TestDatabase db("safesql");
    QCOMPARE(db.Scalar("SELECT " + SafeSQL(text)), text);
}

void TestTableModel::descriptorShape() {
    Model m;
    QCOMPARE(m.visits.GetJoins().size(), 2); // PLACE, CITY
    QVERIFY(m.places.HasFolders());
    QCOMPARE(m.places.GetFolderNameField()->GetColumn(), QString("cName"));
    QCOMPARE(m.visits.FindFieldByID(21)->GetLookupTable(), &m.places);
    QCOMPARE(m.visits.FindField("{PLACE}.cName")->GetResultName(), QString("PLACE_cName"));
    QCOMPARE(m.visits.FindField("{TABLE}.nCount*2")->GetResultName(), QString("x24"));
    m.places.SetFlags(18712, 18744, -1, 99);
    QCOMPARE(m.places.GetAttributes(), QList<int>({18712, 18744}));
}

void TestTableModel::selectsRun() {
    TestDatabase db("model");
    Fill(db);
    Model m;

    // Joins through another join, view filter inside the join.
    CxResult r = db.Connection()->Execute(m.visits.BuildListSelect());
    QVERIFY2(r.isValid(), qPrintable(db.Connection()->GetSqlErrorString()));
    QHash<long, QStringList> rows;
    while (r.FetchRow())
        rows[r.LFieldValue("ROWID")] = {r.SFieldValue("PLACE_cName"), r.SFieldValue("CITY_cName"),
                                        r.SFieldValue("x24")};
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[10], QStringList({"Point", "Town", "6"}));
    QCOMPARE(rows[11], QStringList({"Odd", "", "2"})); // nCity 4 is not a city
    QCOMPARE(rows[12], QStringList({"", "", "0"}));

    // Only the joins that the chosen columns need.
    CxSelectOptions justCity;
    justCity.fields = {m.visits.FindField("{CITY}.cName")};
    const QString citySql = m.visits.BuildSelect(justCity);
    QVERIFY(citySql.contains(" AS PLACE ") &&
            citySql.indexOf(" AS PLACE ") < citySql.indexOf(" AS CITY "));
    CxSelectOptions justKey;
    justKey.fields = {m.visits.GetKeyField()};
    QVERIFY(!m.visits.BuildSelect(justKey).contains("JOIN"));

    // Folders: the rows of one folder, folders first, with the parent's name.
    r = db.Connection()->Execute(m.places.BuildListSelect(1));
    QVERIFY(r.isValid());
    QStringList names;
    while (r.FetchRow()) {
        names << r.SFieldValue("cName");
        QCOMPARE(r.SFieldValue("FOLDER_cName"), QString("Folder"));
    }
    QCOMPARE(names, QStringList({"Odd", "Point"}));

    // A view sees only its own rows, also in a record query.
    r = db.Connection()->Execute(m.cities.BuildListSelect());
    QVERIFY(r.isValid());
    QCOMPARE(r.RowsCount(), 1);
    r = db.Connection()->Execute(m.cities.BuildRecordSelect(4));
    QVERIFY(r.isValid());
    QCOMPARE(r.RowsCount(), 0);
    r = db.Connection()->Execute(m.places.BuildRecordSelect(4));
    QCOMPARE(r.RowsCount(), 1);

    // Sub-table rows of one master.
    r = db.Connection()->Execute(m.places.BuildSubTableSelect(0, 5));
    QVERIFY2(r.isValid(), qPrintable(db.Connection()->GetSqlErrorString()));
    QCOMPARE(r.RowsCount(), 1);
    r.FetchRow();
    QCOMPARE(r.LFieldValue("ROWID"), 11L);
}

void TestTableModel::linksFollowTheirTables() {
    const qsizetype before = g_pDatabase->GetLinks().size();
    {
        Model m;
        QCOMPARE(g_pDatabase->GetLinks().size(), before + 1);
        QCOMPARE(g_pDatabase->GetDetailLinks(&m.places).size(), 1);
    }
    QCOMPARE(g_pDatabase->GetLinks().size(), before);
}

void TestTableModel::temporaryScripts_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("two statements")
        << "$$$!CREATE TEMPORARY TABLE $$$ AS SELECT 1 AS a @\n!CREATE INDEX i_$$$ ON $$$ (a)"
        << QStringList{"CREATE TEMPORARY TABLE T AS SELECT 1 AS a", "CREATE INDEX i_T ON T (a)"};
    QTest::newRow("crlf, no placeholder header")
        << "!CREATE TEMPORARY TABLE $$$ (a INT) @\r\n!INSERT INTO $$$ VALUES (1)"
        << QStringList{"CREATE TEMPORARY TABLE T (a INT)", "INSERT INTO T VALUES (1)"};
    QTest::newRow("malformed") << "$$$!CREATE TABLE $$$ (a INT) @\nDROP TABLE x" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestTableModel::temporaryScripts() {
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(CSQLWinAppExt::ParseTemporaryScript(script, "T"), statements);
}

void TestTableModel::temporaryTables() {
    TestDatabase db("temp");
    Fill(db);
    CSQLWinAppExt* ext = CSQLWinAppExt::GetSQLAppExt();
    QVERIFY(ext);
    const QString script = "$$$!CREATE TEMPORARY TABLE $$$ AS SELECT ROWID FROM place WHERE "
                           "nKind=0 @\n!CREATE UNIQUE INDEX i_$$$ ON $$$ (ROWID)";
    const QString name = ext->RegisterTemporaryTable(script, db.Connection());
    QVERIFY(!name.isEmpty());
    QCOMPARE(db.Scalar("SELECT COUNT(*) FROM " + name), QString("3"));
    // Again: rebuilt under the same name, with current rows.
    db.Exec("DELETE FROM place WHERE ROWID=5");
    QCOMPARE(ext->RegisterTemporaryTable(script, db.Connection()), name);
    QCOMPARE(db.Scalar("SELECT COUNT(*) FROM " + name), QString("2"));
    QCOMPARE(ext->GetTemporaryTables().count(name), 1);

    // A failing statement leaves no table behind.
    CTarvikApp::ClearErrorMessages();
    const QString bad =
        "$$$!CREATE TEMPORARY TABLE $$$ AS SELECT 1 AS a @\n!SELECT nothing FROM $$$";
    QVERIFY(ext->RegisterTemporaryTable(bad, db.Connection()).isEmpty());
    QVERIFY(!CTarvikApp::GetErrorMessages().isEmpty());
    QVERIFY(!db.Connection()
                 ->Execute("SELECT 1 FROM " + CSQLWinAppExt::TemporaryTableName(bad))
                 .isValid());

    ext->RemoveTemporaryTables(db.Connection());
    QVERIFY(ext->GetTemporaryTables().isEmpty());
    QVERIFY(!db.Connection()->Execute("SELECT 1 FROM " + name).isValid());
}

QTEST_GUILESS_MAIN(TestTableModel)
#include "test_table_model.moc"

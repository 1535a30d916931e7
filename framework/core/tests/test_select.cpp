// The select builder, the executer over a descriptor and temporary tables,
// run against the real schema.
#include "framework/core/select/executer.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/select/temp_table.h"
#include "framework/core/tarvik_app.h"
#include "test_dir_table.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

class TestSelect : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<TestMaterials> m_table;

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("sel"));
        m_table = std::make_unique<TestMaterials>();
        m_db->Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown) "
            "VALUES (1,0,1,'Папка',3,0,0,0),(2,1,0,'Шприц',3,65537,0,0),(3,0,0,'Игла',3,131073,"
            "0,0),(4,0,0,'Пункт',1,0,0,0)"));
    }
    void cleanupTestCase() {
        m_table.reset();
        m_db.reset();
    }

    void simpleSelectBuilds() {
        CSimpleSelect select;
        select.Select(QStringLiteral("d.cString"));
        select.Select(QStringLiteral("COUNT(*)"));
        select.Join(QStringLiteral("left"), QStringLiteral("dir AS f"),
                    QStringLiteral("f.ROWID=d.nGroupID"));
        select.Where(QStringLiteral("d.nDirType=3"));
        select.Where(QStringLiteral("d.bIsFolder=0 OR d.bIsFolder IS NULL"));
        select.Group(QStringLiteral("d.cString"));
        // Parts given twice by independent callers are kept once.
        select.Select(QStringLiteral("d.cString"));
        select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS f"),
                    QStringLiteral("f.ROWID=d.nGroupID"));
        select.Group(QStringLiteral("d.cString"));
        select.PreQuery(QStringLiteral("SET @x=1"));
        QCOMPARE(select.Build(QStringLiteral("dir AS d")),
                 QStringLiteral("SELECT d.cString,COUNT(*) FROM dir AS d LEFT JOIN dir AS f ON "
                                "f.ROWID=d.nGroupID WHERE (d.nDirType=3) AND (d.bIsFolder=0 OR "
                                "d.bIsFolder IS NULL) GROUP BY d.cString"));
        QVERIFY(select.ExecPreQuery(m_db->Connection()));
        CxResult res = m_db->Connection()->Execute(select.Build(QStringLiteral("dir AS d")));
        QCOMPARE(res.RowsCount(), qint64(2));

        CSimpleSelect failing;
        failing.PreQuery(QStringLiteral("SELECT * FROM no_such_table"));
        CxSQLError error;
        QVERIFY(!failing.ExecPreQuery(m_db->Connection(), &error));
        QVERIFY(error.statement.contains(QStringLiteral("no_such_table")));
    }

    // Parts of a report that need one table ask for it each: the same join
    // and item are made once; one alias on two different terms is refused,
    // and the query built without it still runs.
    void repeatedJoinsAndItems() {
        CSimpleSelect select;
        select.Select(QStringLiteral("d.cString"));
        select.Select(QStringLiteral("f.cString AS cFolder"));
        select.Select(QStringLiteral("d.cString"));
        QVERIFY(select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS f"),
                            QStringLiteral("f.ROWID=d.nGroupID")));
        QVERIFY(select.Join(QStringLiteral("left"), QStringLiteral("dir  AS  f"),
                            QStringLiteral("f.ROWID=d.nGroupID")));
        QVERIFY(select.GetError().isEmpty());
        QVERIFY(!select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS F"),
                             QStringLiteral("F.ROWID=d.ROWID")));
        QVERIFY(!select.Join(QString(), QStringLiteral("dir AS f"),
                             QStringLiteral("f.ROWID=d.nGroupID")));
        QVERIFY(select.GetError().contains(QStringLiteral("F.ROWID=d.ROWID")));
        const QString sql = select.Build(QStringLiteral("dir AS d"));
        QCOMPARE(sql, QStringLiteral("SELECT d.cString,f.cString AS cFolder FROM dir AS d LEFT "
                                     "JOIN dir AS f ON f.ROWID=d.nGroupID"));
        CxResult res = m_db->Connection()->Execute(sql + QStringLiteral(" WHERE d.ROWID=2"));
        QVERIFY(res.FetchRow());
        QCOMPARE(res.SFieldValue(QStringLiteral("cFolder")), QStringLiteral("Папка"));
        QCOMPARE(CSimpleSelect::AliasOf(QStringLiteral("_cache_clients")),
                 QStringLiteral("_cache_clients"));
        QCOMPARE(CSimpleSelect::AliasOf(QStringLiteral("dir WorkPlace")),
                 QStringLiteral("workplace"));
    }

    void executerSelectsThroughTheView() {
        CxExecuter ex(m_table.get(), m_db->Connection());
        ex.ASelByFlags(FF_TEXT);
        ex.AWhereField(FF_KEY | FF_INT, QStringLiteral("="), QStringLiteral("2"));
        CxResult res = ex.ExecSelect();
        QVERIFY(res.FetchRow());
        // The first text column is the name; the joined folder name came
        // along with its join.
        QCOMPARE(res.SFieldValue(0), QStringLiteral("Шприц"));
        QCOMPARE(res.SFieldValue(QStringLiteral("FOLDER_cString")), QStringLiteral("Папка"));
        QCOMPARE(res.SFieldValue(QStringLiteral("x4_text")), QStringLiteral("Шприцы"));

        // The view's filter holds: a row of another kind is not seen.
        CxExecuter other(m_table.get(), m_db->Connection());
        other.ASel(m_table->m_cString);
        other.AWhereField(m_table->m_ROWID, QStringLiteral("="), QStringLiteral("4"));
        QVERIFY(!other.ExecSelect().FetchRow());

        CxExecuter expression(m_table.get(), m_db->Connection());
        expression.ASel(QStringLiteral("MAX({TABLE}.ROWID)"));
        expression.AWhere(QStringLiteral("IFNULL({TABLE}.bIsFolder,0)=0"));
        expression.AWhere(QStringLiteral("NOT {TABLE}.bHidden"));
        CxResult max = expression.ExecSelect();
        QVERIFY(max.FetchRow());
        QCOMPARE(max.LFieldValue(0), 3L);
    }

    void executerRefusesValuesOfTheWrongType() {
        CxExecuter ex(m_table.get(), m_db->Connection());
        ex.AWhereField(m_table->m_ROWID, QStringLiteral("="), QStringLiteral("1 OR 1=1"));
        QVERIFY(!ex.IsValid());
        QVERIFY(ex.BuildSelect().isEmpty());
        QVERIFY(!ex.ExecDelete());
        // Texts are quoted, never pasted.
        CxExecuter text(m_table.get(), m_db->Connection());
        text.AWhereField(m_table->m_cString, QStringLiteral("="), QStringLiteral("x' OR '1'='1"));
        QVERIFY(text.BuildSelect().contains(QStringLiteral("'x\\' OR \\'1\\'=\\'1'")));
        QVERIFY(!text.ExecSelect().FetchRow());
    }

    void executerDeletesWithinTheView() {
        // No condition: nothing is built, so nothing is deleted by accident.
        CxExecuter none(m_table.get(), m_db->Connection());
        QVERIFY(none.BuildDelete().isEmpty());
        QVERIFY(!none.ExecDelete());

        CxExecuter ex(m_table.get(), m_db->Connection());
        ex.AWhereField(m_table->m_ROWID, QStringLiteral(">"), QStringLiteral("2"));
        QCOMPARE(ex.BuildDelete(),
                 QStringLiteral("DELETE FROM dir WHERE (dir.nDirType=3) AND ((dir.ROWID>2))"));
        QVERIFY(ex.ExecDelete());
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID FROM dir ORDER BY ROWID")),
                 QStringLiteral("1;2;4"));
    }

    void tempTableGoesWithItsObject() {
        QString name;
        {
            CxSQLTempTable table(m_db->Connection(), QString(),
                                 QStringLiteral("SELECT ROWID,cString FROM dir"));
            name = table.GetName();
            QVERIFY(name.startsWith(QStringLiteral("tmp")));
            QVERIFY(table.Create());
            QVERIFY(table.CreateIndex(QStringLiteral("ROWID"), true));
            QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(name)),
                     QStringLiteral("3"));
            CxSQLTempTable named(m_db->Connection(), QStringLiteral("tmpnamed"),
                                 QStringLiteral("CREATE TEMPORARY TABLE $$$ (n INT)"));
            QVERIFY(named.Create());
            CxSQLError error;
            QVERIFY(!named.CreateIndex(QStringLiteral("nosuchcolumn"), false, &error));
            QVERIFY(error.isSet());
        }
        QVERIFY(
            !m_db->Connection()->Execute(QStringLiteral("SELECT 1 FROM `%1`").arg(name)).isValid());
        QVERIFY(!m_db->Connection()->Execute(QStringLiteral("SELECT 1 FROM tmpnamed")).isValid());
        CTarvikApp::ClearErrorMessages();
    }
};

QTEST_GUILESS_MAIN(TestSelect)
#include "test_select.moc"

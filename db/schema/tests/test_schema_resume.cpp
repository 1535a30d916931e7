// A start cut off in the middle of the upgrade leaves a step whose statement
// the server carried out while the version was not yet written. Every step
// of the list, run a second time on its own result (the version set back by
// one), must pass and change nothing; one database is walked step by step
// along the template's history, and at the end it must be the template.
#include "db/schema/creation_script.h"
#include "db/schema/schema_steps.h"
#include "framework/core/sql/db_updater.h"
#include "framework/core/sql/schema_expectation.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QCoreApplication>
#include <QTest>

namespace {
// Runs exactly one step per Run, the way the program's updater issues it.
class OneStep : public CxSQLDBUpdater {
public:
    const SchemaStep* step = nullptr;
    void OnUpdate() override {
        const QString text = SchemaStepText(*step);
        switch (step->kind) {
        case SchemaStepKind::Old:
            UpdateOld(step->number, text);
            break;
        case SchemaStepKind::Single:
            Update(step->number, text);
            break;
        case SchemaStepKind::Multi:
            MultiUpdate(step->number, text);
            break;
        }
    }
};

QStringList Column(CxSQL* sql, const QString& statement, int column = 0) {
    QStringList out;
    CxResult res = sql->Execute(statement);
    while (res.FetchRow())
        out << res.SFieldValue(column);
    return out;
}

// The schema as far as the named tables go (every table when none is
// named): the table list and each table's CREATE statement.
QStringList Snapshot(CxSQL* sql, QStringList tables = {}) {
    QStringList all = Column(sql, QStringLiteral("SHOW TABLES"));
    all.sort();
    if (tables.isEmpty())
        tables = all;
    QStringList out{all.join(u',')};
    for (const QString& table : std::as_const(tables))
        if (all.contains(table, Qt::CaseInsensitive))
            out << Column(sql, QStringLiteral("SHOW CREATE TABLE `%1`").arg(table), 1);
    return out;
}
} // namespace

class TestSchemaResume : public QObject {
    Q_OBJECT
    std::unique_ptr<CxMySQL> m_server;

    QString Version(CxSQL* sql) {
        return Column(sql, QStringLiteral("SELECT cValue FROM dbsettings WHERE "
                                          "cVariable='DatabaseVersion'"))
            .value(0);
    }

private slots:
    void initTestCase() {
        m_server = std::make_unique<CxMySQL>();
        SQLConnectXML info = TestDatabase::ServerInfo();
        QVERIFY(m_server->Connect(&info));
    }

    // Walks the steps from the database's version up to `last`, running each
    // twice; answers how many were walked.
    int Walk(CxSQL* sql, int last) {
        OneStep updater;
        int walked = 0;
        for (int i = 0; i < kSchemaStepCount; ++i) {
            const SchemaStep& step = kSchemaSteps[i];
            if (step.number > last)
                break;
            if (QString::number(step.number) != Version(sql))
                continue; // before the database's version, or issued again after it moved
            const QString label =
                QStringLiteral("step %1: %2").arg(step.number).arg(SchemaStepText(step).left(120));
            const CxSchemaExpectation expected =
                CxSchemaExpectation::FromStatements(CxSQL::SplitScript(SchemaStepText(step)));
            if (!expected.IsUnderstood()) {
                QTest::qFail(qPrintable(QStringLiteral("not understood: ") + label), __FILE__,
                             __LINE__);
                return -1;
            }
            const QStringList touched = expected.Tables();

            updater.step = &step;
            CTarvikApp::ClearErrorMessages();
            if (!updater.Run(sql) || Version(sql) != QString::number(step.number + 1)) {
                QTest::qFail(qPrintable(label + u'\n' + CTarvikApp::TakeErrorMessages()), __FILE__,
                             __LINE__);
                return -1;
            }
            const QStringList once = Snapshot(sql, touched);

            // The step's statement is in, its version is not.
            sql->Execute(QStringLiteral("UPDATE dbsettings SET cValue='%1' WHERE "
                                        "cVariable='DatabaseVersion'")
                             .arg(step.number));
            if (!updater.Run(sql) || Version(sql) != QString::number(step.number + 1)) {
                QTest::qFail(qPrintable(QStringLiteral("again: ") + label + u'\n' +
                                        CTarvikApp::TakeErrorMessages()),
                             __FILE__, __LINE__);
                return -1;
            }
            if (Snapshot(sql, touched) != once) {
                QTest::qFail(qPrintable(QStringLiteral("changed: ") + label), __FILE__, __LINE__);
                return -1;
            }
            ++walked;
        }
        return walked;
    }

    // The template's history: the creation script, then every later step.
    void everyStepRunsTwiceWithoutChange() {
        const QString name = QStringLiteral("kt_resume_%1").arg(QCoreApplication::applicationPid());
        m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        SQLConnectXML info = TestDatabase::ServerInfo();
        info.put_Database(name);
        CxMySQL sql;
        QString error;
        QCOMPARE(SQLConnectOrCreate(&sql, info, kDatabaseCreationScript, &error),
                 SQLConnectResult::Connected);
        QCOMPARE(Walk(&sql, kCurrentSchemaVersion), kCurrentSchemaVersion - 66);
        QCOMPARE(Version(&sql), QString::number(kCurrentSchemaVersion));

        // The walked database is the template, table for table.
        SchemaTestDatabase::EnsureTemplate();
        CxMySQL templ;
        SQLConnectXML templateInfo = TestDatabase::ServerInfo();
        templateInfo.put_Database(SchemaTestDatabase::TemplateName());
        QVERIFY(templ.Connect(&templateInfo));
        QCOMPARE(Snapshot(&sql), Snapshot(&templ));
        sql.Close();
        m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    }

    // The steps older than the creation script, from a database that has
    // only the framework's tables (version 0).
    void oldestStepsRunTwiceWithoutChange() {
        TestDatabase db(QStringLiteral("resume0"));
        OneStep none;
        none.step = &kSchemaSteps[0];
        QVERIFY(none.Run(db.Connection())); // framework tables, step 0
        db.Exec(QStringLiteral("UPDATE dbsettings SET cValue='0' WHERE "
                               "cVariable='DatabaseVersion'"));
        QCOMPARE(Walk(db.Connection(), 65), 66);
    }
};

QTEST_GUILESS_MAIN(TestSchemaResume)
#include "test_schema_resume.moc"

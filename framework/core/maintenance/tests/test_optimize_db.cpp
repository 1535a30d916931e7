// Optimisation keeps every row, goes on past a table the server cannot
// optimise and names it.
#include "framework/core/maintenance/optimize_db.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>

class TestOptimizeDB : public QObject {
    Q_OBJECT

    class Stop : public CvProgress {
    public:
        void BeginProgress(const QString&, int) override {}
        void SetRange(int count, const QString&) override { range = count; }
        void Step(const QString& = QString(), int = 1) override { ++steps; }
        void EndProgress(const QString&) override {}
        bool IsCancelled() const override { return steps >= stopAt; }
        int range = 0, steps = 0, stopAt = 1 << 30;
    };

private slots:
    void cleanup() { CTarvikApp::ClearErrorMessages(); }

    void optimisesEveryTable() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("INSERT INTO towns VALUES (1,0,'Город','Город')"));
        db.Exec(QStringLiteral("CREATE TABLE _cache_fast (n INT) ENGINE=MyISAM"));
        const int tables =
            db.Scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                     "WHERE TABLE_SCHEMA=DATABASE()"))
                .toInt();
        Stop progress;
        CvRunLogLines log;
        QString error;
        QVERIFY2(OptimizeDB(db.Connection(), &progress, &log, &error), qPrintable(error));
        QCOMPARE(progress.range, tables - 1); // not the work table
        QCOMPARE(log.lines.size(), tables - 1);
        QVERIFY(log.lines.contains(QStringLiteral("towns: OK")));
        QCOMPARE(db.Rows(QStringLiteral("SELECT * FROM towns")), QStringLiteral("1|0|Город|Город"));
    }

    void failuresAreNamed() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("CREATE TABLE m_part (n INT) ENGINE=MyISAM"));
        db.Exec(QStringLiteral("CREATE TABLE m_broken (n INT) ENGINE=MRG_MyISAM UNION=(m_part)"));
        db.Exec(QStringLiteral("DROP TABLE m_part"));
        Stop progress;
        CvRunLogLines log;
        QString error;
        QVERIFY(!OptimizeDB(db.Connection(), &progress, &log, &error));
        QVERIFY2(error.startsWith(QLatin1String("m_broken: ")), qPrintable(error));
        QCOMPARE(progress.steps, progress.range); // the others were done
        QVERIFY(log.lines.contains(QStringLiteral("towns: OK")));
        QVERIFY(log.lines.last().startsWith(QLatin1String("error: m_broken")));

        progress = Stop();
        progress.stopAt = 3;
        QVERIFY(!OptimizeDB(db.Connection(), &progress, nullptr, &error));
        QCOMPARE(progress.steps, 3);
    }
};

QTEST_GUILESS_MAIN(TestOptimizeDB)
#include "test_optimize_db.moc"

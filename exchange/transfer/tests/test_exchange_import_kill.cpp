// An import killed with SIGKILL at seeded random steps, again and again, then
// run to its end, leaves the receiver exactly as one clean import does, table
// by table: the load's number, the organisation numbers, the ids of the rows
// and the records of received packages included. The child process
// (exchange_import_child) sends itself SIGKILL at the chosen step of its
// progress, so nothing of it runs after that moment; the server rolls back its
// transaction and frees its lock.
#include "bench/datagen/data_generator.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/table_fingerprint.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <random>

namespace {

std::unique_ptr<SchemaTestDatabase> Installation(const char* purpose, const char* org,
                                                 quint64 seed) {
    CDataGenOptions o;
    o.points = 2;
    o.workers = 3;
    o.materials = 12;
    o.clients = 40;
    o.years = 1;
    o.visits = 3000;
    o.history = 2;
    o.trainingsPerYear = 3;
    o.seed = seed;
    auto db = std::make_unique<SchemaTestDatabase>(QString::fromLatin1(purpose));
    CDataGenerator generator(o);
    QString error;
    if (!generator.Fill(db->Connection(), &error))
        qFatal("%s", qPrintable(error));
    db->Exec(QStringLiteral("UPDATE orginf SET cOrgID='%1' WHERE ROWID=0")
                 .arg(QString::fromLatin1(org)));
    return db;
}

// The fingerprint without the database's name, so that two databases compare.
QString Content(const TestDatabase& db) {
    return TableFingerprint(db).remove(db.Name() + u'.');
}

bool Import(const TestDatabase& db, const QString& path, QString* error) {
    CKeldaSQLImportWizard_Helper helper;
    CSQLImportWizard wizard(&helper);
    return wizard.Import(db.Connection(), path, nullptr, nullptr, error);
}

} // namespace

class TestExchangeImportKill : public QObject {
    Q_OBJECT

private slots:
    void killedImportsLeaveNothing() {
        auto a = Installation("ka", "ORG-A", 51);
        // A first package of A is in both receivers, so that the kills fall
        // on replacing an earlier load too.
        auto clean = Installation("kc", "ORG-B", 52);
        auto killed = Installation("kk", "ORG-B", 52);
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.k2x"));
        const QString second = dir.filePath(QStringLiteral("second.k2x"));
        CKeldaSQLImportWizard_Helper helper;
        CSQLExportWizard exporter(&helper);
        QString error;
        QVERIFY2(exporter.Export(a->Connection(), first, nullptr, &error), qPrintable(error));
        a->Exec("DELETE FROM dailyvisits WHERE ROWID%7=0");
        a->Exec("UPDATE clientdata SET nBirthYear=nBirthYear+1 WHERE ROWID%3=0");
        QVERIFY2(exporter.Export(a->Connection(), second, nullptr, &error), qPrintable(error));
        QVERIFY2(Import(*clean, first, &error), qPrintable(error));
        QVERIFY2(Import(*killed, first, &error), qPrintable(error));
        QCOMPARE(Content(*killed), Content(*clean));

        QVERIFY2(Import(*clean, second, &error), qPrintable(error));
        const QString expected = Content(*clean);

        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/exchange_import_child");
        const QStringList arguments{TestDatabase::ServerInfo().get_Socket(), killed->Name(),
                                    second};
        // How many steps a whole import reports.
        int steps = 0;
        {
            auto probe = Installation("kp", "ORG-B", 52);
            QVERIFY2(Import(*probe, first, &error), qPrintable(error));
            QProcess process;
            process.start(child, {arguments[0], probe->Name(), second});
            QVERIFY(process.waitForFinished(120000));
            QCOMPARE(process.exitCode(), 0);
            steps = int(process.readAllStandardOutput().count('\n'));
            QVERIFY(steps > 5);
        }
        // Seeded random steps, and the last two: after the load's record is
        // written and just before the COMMIT.
        std::mt19937 random(20261211);
        std::uniform_int_distribution<int> step(1, steps);
        QList<int> cuts{steps - 1, steps};
        for (int i = 0; i < 6; ++i)
            cuts << step(random);
        for (const int cut : std::as_const(cuts)) {
            QProcess process;
            process.start(child, arguments + QStringList{QString::number(cut)});
            QVERIFY(process.waitForFinished(120000));
            QVERIFY2(process.exitStatus() == QProcess::CrashExit,
                     qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
        }
        QVERIFY2(Import(*killed, second, &error), qPrintable(error));
        QCOMPARE(Content(*killed), expected);
    }
};

QTEST_GUILESS_MAIN(TestExchangeImportKill)
#include "test_exchange_import_kill.moc"

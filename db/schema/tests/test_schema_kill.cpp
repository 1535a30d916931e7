// The first start killed at random moments of making and upgrading its
// database: every following start resumes where the last one was cut off,
// and the database ends exactly like one made in a single start. Also two
// first starts at once. The child
// process (schema_upgrade_child) is killed with SIGKILL, so nothing of it
// runs after the kill; the server finishes any statement it was running.
#include "db/mysql_connection.h"
#include "db/schema/schema_steps.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <random>

namespace {
QStringList Column(CxSQL* sql, const QString& statement, int column = 0) {
    QStringList out;
    CxResult res = sql->Execute(statement);
    while (res.FetchRow())
        out << res.SFieldValue(column);
    return out;
}

// How a child ended, with everything it wrote.
QString Ending(QProcess& process) {
    return QStringLiteral("exit status %1, code %2:\n%3")
        .arg(process.exitStatus())
        .arg(process.exitCode())
        .arg(QString::fromLocal8Bit(process.readAllStandardError()));
}

QStringList Schema(CxSQL* sql) {
    QStringList tables = Column(sql, QStringLiteral("SHOW TABLES"));
    tables.sort();
    QStringList out{tables.join(u',')};
    for (const QString& table : std::as_const(tables))
        out << Column(sql, QStringLiteral("SHOW CREATE TABLE `%1`").arg(table), 1);
    return out;
}
} // namespace

class TestSchemaKill : public QObject {
    Q_OBJECT

private slots:
    void killedStartsResumeToTheFinalSchema() {
        const QString name = QStringLiteral("kt_kill_%1").arg(QCoreApplication::applicationPid());
        CxMySQL server;
        SQLConnectXML info = TestDatabase::ServerInfo();
        QVERIFY(server.Connect(&info));
        server.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));

        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/schema_upgrade_child");
        const QStringList arguments{info.get_Socket(), name};
        // Seeded, so every run kills at the same offsets; the offsets are
        // short against a whole first start, so the kills fall on the
        // database's creation, on many steps and on the repairs after them.
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> offsetMs(0, 150);
        constexpr int kMostKills = 60;
        QStringList cutAt;
        bool finished = false;
        for (int kill = 0; kill < kMostKills && !finished; ++kill) {
            QProcess process;
            process.start(child, arguments);
            QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
            const bool ended = process.waitForFinished(offsetMs(random));
            if (ended) {
                QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                         qPrintable(Ending(process)));
                finished = true;
                break;
            }
            process.kill();
            QVERIFY(process.waitForFinished());
            cutAt << Column(&server, QStringLiteral("SELECT cValue FROM `%1`.dbsettings WHERE "
                                                    "cVariable='DatabaseVersion'")
                                         .arg(name))
                         .value(0, QStringLiteral("-"));
        }
        qInfo("killed %lld times, at versions %s", static_cast<long long>(cutAt.size()),
              qPrintable(cutAt.join(u' ')));
        QVERIFY(cutAt.size() >= 3);
        if (!finished) {
            QProcess process;
            process.start(child, arguments);
            QVERIFY(process.waitForFinished(120000));
            QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                     qPrintable(Ending(process)));
        }

        SQLConnectXML databaseInfo = info;
        databaseInfo.put_Database(name);
        CxMySQL upgraded;
        QVERIFY(upgraded.Connect(&databaseInfo));
        QCOMPARE(Column(&upgraded, QStringLiteral("SELECT cValue FROM dbsettings WHERE "
                                                  "cVariable='DatabaseVersion'")),
                 QStringList{QString::number(kCurrentSchemaVersion)});
        SchemaTestDatabase::EnsureTemplate();
        SQLConnectXML templateInfo = info;
        templateInfo.put_Database(SchemaTestDatabase::TemplateName());
        CxMySQL templ;
        QVERIFY(templ.Connect(&templateInfo));
        QCOMPARE(Schema(&upgraded), Schema(&templ));
        upgraded.Close();
        server.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    }

    // Two copies starting at once on a server without the database: one
    // makes and upgrades it, the other waits and finds it done.
    void twoFirstStartsAtOnce() {
        const QString name = QStringLiteral("kt_twice_%1").arg(QCoreApplication::applicationPid());
        CxMySQL server;
        SQLConnectXML info = TestDatabase::ServerInfo();
        QVERIFY(server.Connect(&info));
        server.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/schema_upgrade_child");
        QProcess first, second;
        first.start(child, {info.get_Socket(), name});
        second.start(child, {info.get_Socket(), name});
        for (QProcess* process : {&first, &second}) {
            QVERIFY(process->waitForFinished(120000));
            QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                     qPrintable(Ending(*process)));
        }
        SQLConnectXML databaseInfo = info;
        databaseInfo.put_Database(name);
        CxMySQL upgraded;
        QVERIFY(upgraded.Connect(&databaseInfo));
        SQLConnectXML templateInfo = info;
        templateInfo.put_Database(SchemaTestDatabase::TemplateName());
        CxMySQL templ;
        QVERIFY(templ.Connect(&templateInfo));
        QCOMPARE(Schema(&upgraded), Schema(&templ));
        upgraded.Close();
        server.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    }
};

QTEST_GUILESS_MAIN(TestSchemaKill)
#include "test_schema_kill.moc"

// One import of an exchange package on its own, for the test that kills it:
// with a step number, it sends itself SIGKILL at that step of the import's
// progress; it prints a line at every step, exits 0 once the import is done,
// 1 with the reason when it fails.
//
// Usage: exchange_import_child <socket> <database> <package> [<step>]
#include "db/mysql_connection.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/core/progress.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
class StepLines : public CvProgress {
public:
    explicit StepLines(long killAt) : m_killAt(killAt) {}
    void BeginProgress(const QString&, int) override { Line(); }
    void SetRange(int, const QString&) override { Line(); }
    void Step(const QString&, int) override { Line(); }
    void EndProgress(const QString&) override {}

private:
    void Line() {
        if (++m_steps == m_killAt)
            std::raise(SIGKILL);
        std::fputs("step\n", stdout);
        std::fflush(stdout);
    }
    long m_killAt;
    long m_steps = 0;
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5)
        return 2;
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(QString::fromLocal8Bit(argv[1]));
    info.put_Database(QString::fromLocal8Bit(argv[2]));
    CxMySQL sql;
    if (!sql.Connect(&info)) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }
    CKeldaSQLImportWizard_Helper helper;
    CSQLImportWizard wizard(&helper);
    StepLines progress(argc == 5 ? std::atol(argv[4]) : 0);
    QString error;
    if (!wizard.Import(&sql, QString::fromLocal8Bit(argv[3]), &progress, nullptr, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

// One import of an exchange package on its own, for the test that kills it:
// prints a line at every step of the import (so the test can cut it at a
// chosen step), exits 0 once the import is done, 1 with the reason when it
// fails.
//
// Usage: exchange_import_child <socket> <database> <package>
#include "db/mysql_connection.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/core/progress.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
class StepLines : public CvProgress {
public:
    void BeginProgress(const QString&, int) override { Line(); }
    void SetRange(int, const QString&) override { Line(); }
    void Step(const QString&, int) override { Line(); }
    void EndProgress(const QString&) override {}

private:
    static void Line() {
        std::fputs("step\n", stdout);
        std::fflush(stdout);
    }
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4)
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
    StepLines progress;
    QString error;
    if (!wizard.Import(&sql, QString::fromLocal8Bit(argv[3]), &progress, nullptr, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

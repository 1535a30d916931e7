// Kelda2: the application object runs the start-up, the event loop and the
// clean-up at exit.
#include "framework/widgets/report_view/rep_pane.h"
#include "kelda2_app.h"
#include "version.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    CRepPane::PrepareApplication();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    QApplication::setApplicationVersion(QLatin1String(kKeldaVersion));
    QApplication::setOrganizationName(QStringLiteral("Kelda2"));
    CKelda2App app;
    return app.Run();
}

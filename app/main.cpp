// Kelda2: the application object runs the start-up, the event loop and the
// clean-up at exit.
#include "kelda2_app.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.1.14042"));
    QApplication::setOrganizationName(QStringLiteral("Kelda2"));
    CKelda2App app;
    return app.Run();
}

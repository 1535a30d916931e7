// Pictures of the program's windows, for a look by eye: the main window, the
// settings dialog and the about box, saved as PNG files. It judges nothing;
// scripts/window-pictures.sh runs it offscreen on a private server.
//
// Usage: kelda2_window_pictures OUTDIR
//   The server comes from KELDA2_SERVER / KELDA2_SOCKET as for the program;
//   the database "app_kelda" is made there when it is missing.
#include "app/command_ids.h"
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "app/version.h"
#include "client_pictures.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_init.h"
#include "framework/widgets/about_dialog.h"
#include "framework/widgets/settings_dialog.h"
#include "framework/widgets/sql_connect_dialog.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {
bool Save(QWidget* window, const QString& file) {
    QCoreApplication::processEvents();
    if (window->grab().save(file))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    return false;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    QApplication::setApplicationVersion(QLatin1String(kKeldaVersion));
    QApplication::setOrganizationName(QStringLiteral("Kelda2"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    // Nobody is there to answer the connection dialog.
    SetSQLConnectAsk([](SQLConnectXML&, const QString& reason) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return false;
    });

    CKelda2App app;
    RegisterDBUpdater(&SchemaUpdater());
    if (!app.InitInstance()) {
        std::fprintf(stderr, "the program did not start: %s\n",
                     qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    bool saved = true;
    CMainFrame* frame = app.MainFrame();
    frame->showNormal();
    frame->resize(1100, 700);
    saved = Save(frame, out.filePath(QStringLiteral("main_frame.png"))) && saved;

    CSettingsDialog settings(frame);
    settings.Build();
    settings.show();
    saved = Save(&settings, out.filePath(QStringLiteral("settings.png"))) && saved;

    CAppAboutDlg about(app.GetAppString(APPSTR_PRODUCT_NAME), app.GetAppString(APPSTR_VERSION_TEXT),
                       CKelda2App::CreditsText(), QString(), IDR_MAINFRAME, frame);
    about.show();
    saved = Save(&about, out.filePath(QStringLiteral("about.png"))) && saved;

    frame->resize(1280, 900);
    saved = SaveClientPictures(frame, out) && saved;

    frame->close();
    app.ExitInstance();
    if (saved)
        std::printf("pictures in %s\n", qPrintable(out.absolutePath()));
    return saved ? 0 : 1;
}

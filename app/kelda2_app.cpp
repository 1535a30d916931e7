#include "kelda2_app.h"

#include "command_ids.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_clear.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "exchange/widgets/org_info_view.h"
#include "framework/core/app/acc_dic.h"
#include "framework/core/app/html_template.h"
#include "framework/core/app/modules_info.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/app/program_marks.h"
#include "framework/core/sql/sql_init.h"
#include "framework/core/table/self_register.h"
#include "framework/core/translation.h"
#include "framework/widgets/about_dialog.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "main_frame.h"
#include "model/config/configuration.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>
#include <QStyleFactory>

namespace {
constexpr CxTr Tr;

// The start-up picture (bitmap IDB_SPLASH): painted, as the program ships no
// picture files; the progress line goes into the text rectangle.
QPixmap SplashPicture(const QRect& textRect) {
    QPixmap picture(500, 320);
    picture.fill(QColor(246, 248, 252));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 500, 96), QColor(40, 90, 160));
    p.fillRect(QRect(0, 96, 500, 4), QColor(210, 40, 50));
    CxIcons::Get(IDR_MAINFRAME).paint(&p, QRect(24, 18, 60, 60));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(100, 18, 380, 44), Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::applicationName());
    font.setPixelSize(14);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(100, 60, 380, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Учет клиентов и услуг проектов снижения вреда"));
    p.setPen(QColor(60, 70, 90));
    p.drawText(QRect(100, 130, 380, 24), Qt::AlignLeft,
               QStringLiteral("Версия ") + QLatin1String(kKeldaVersion));
    p.setPen(QColor(200, 205, 215));
    p.drawRect(textRect.adjusted(-4, -4, 4, 4));
    return picture;
}

QSplashScreen* g_splash = nullptr;

// The table set, the options page and the organisation card's settings page
// register themselves from static libraries, and nothing else in the program
// names them: without this reference the linker would leave them out.
[[gnu::used]] const void* const g_keepSelfRegistered[] = {&g_SelfTablesKelda, &g_pOption_ClientData,
                                                          &g_OrgInfoSettingsPage};
} // namespace

CKelda2App::CKelda2App() {
    // Other copies of the program on the same server wait on this lock, and
    // every installation reads backups by these names: they never change.
    CxProgramMarks marks;
    marks.schemaLockPrefix = QStringLiteral("kelda2_schema:");
    marks.backupHeaderPart = QByteArrayLiteral("Kelda2.Backup");
    marks.backupMagic = QByteArrayLiteral("Kelda2 database backup");
    marks.backupExtension = QStringLiteral("k2backup");
    SetProgramMarks(marks);
}

CKelda2App::~CKelda2App() {
    delete GetMainWnd();
    SetMainWnd(nullptr);
}

bool CKelda2App::InitInstance() {
    int bitmapId = 0;
    int rect[4] = {0, 0, 0, 0};
    std::unique_ptr<QSplashScreen> splash;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) &&
        GetSplashScreenInfo(bitmapId, rect) && bitmapId == IDB_SPLASH) {
        const QRect textRect(QPoint(rect[0], rect[1]), QPoint(rect[2], rect[3]));
        splash = std::make_unique<QSplashScreen>(SplashPicture(textRect));
        splash->show();
        g_splash = splash.get();
        CxSQLDBUpdater::SetProgressHandler([textRect](const QString& text) {
            if (g_splash) {
                g_splash->showMessage(text, Qt::AlignLeft | Qt::AlignBottom, QColor(60, 70, 90));
                QCoreApplication::processEvents();
            }
        });
    }
    const bool result = CPavoApp::InitInstance();
    CxSQLDBUpdater::SetProgressHandler({});
    g_splash = nullptr;
    if (splash && GetMainWnd())
        splash->finish(GetMainWnd());
    return result;
}

bool CKelda2App::GetSplashScreenInfo(int& bitmapId, int textRect[4]) {
    bitmapId = IDB_SPLASH;
    textRect[0] = 100;
    textRect[1] = 290;
    textRect[2] = 480;
    textRect[3] = 310;
    return true;
}

xCfgBase2* CKelda2App::OnCreateConfigObject() {
    return new xKDConfiguration;
}

bool CKelda2App::LoadConfig(bool afterConnect) {
    xConfiguration* config = CurrentConfiguration();
    if (!config || !config->LoadConfig())
        return false;
    // Once connected, towns that the document still lists go into the table
    // towns (storing the document copies them and empties its lists).
    if (afterConnect && config->GetCurrentLanguage()->Towns.GetCount_sEnum2())
        return config->StoreConfig();
    return true;
}

void CKelda2App::InitHelpSystem(const QString&) {
    CPavoApp::InitHelpSystem(QStringLiteral("Kelda2"));
}

bool CKelda2App::OnApplicationInit() {
    // The application's style: the same look on every desktop.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(style);
    LoadAccDic(QStringLiteral("mycompletes"),
               Tr(QStringLiteral("Общий словарь"), "CKelda2App::OnApplicationInit"));
    LoadAccDic(QStringLiteral("names"),
               Tr(QStringLiteral("Имена и отчества"), "CKelda2App::OnApplicationInit"));
    LoadAccDic(QStringLiteral("companynames"),
               Tr(QStringLiteral("Названия компаний"), "CKelda2App::OnApplicationInit"));
    if (!CPavoApp::OnApplicationInit())
        return false;
    LoadConfig(false);

    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_Database(QStringLiteral("app_kelda"));
    info.put_User(QStringLiteral("root"));
    info.put_Name(QString());

    // A step that fails after the connection is shown to the user, who may
    // try again (with other connection data) or end the start: the loop
    // never runs on without the user's say.
    QString reason;
    for (;;) {
        CxSQL* sql = DoSQLConnect(new CxMySQL, &info, CreationScript(), reason);
        if (!sql)
            return false;
        SetProfileManager(
            new CxSQLProfileManager(sql, QStringLiteral("profiles"), QStringLiteral("root")));
        if (InitSQL(sql) && LoadConfig(true) && InitTables())
            break;
        reason = Tr(QStringLiteral("Не удалось подготовить базу данных к работе."),
                    "msgStartupStepFailed") +
                 u'\n' + TakeErrorMessages();
        SetProfileManager(new CxProfileManager(CxProfileManager::DefaultFile()));
    }

    m_cacheClear = SchemaUpdater().TakeCacheClear();
    const QStringList warnings = SchemaUpdater().Warnings();
    if (!warnings.isEmpty() && qobject_cast<QApplication*>(QCoreApplication::instance()) &&
        QGuiApplication::platformName() != QLatin1String("offscreen")) {
        // The start-up picture goes first: it could cover the message.
        if (g_splash)
            g_splash->hide();
        QMessageBox::warning(nullptr, QCoreApplication::applicationName(), warnings.join(u'\n'));
    }
    if (g_pBaseSQLConnection)
        g_pBaseSQLConnection->StartWatchdog();
    return true;
}

bool CKelda2App::OnCreateMainWindow() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::applicationName());
    parser.addHelpOption();
    parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        AddErrorMessage(parser.errorText());
        // The start ends here: the user learns why (the start-up picture
        // goes first, as it could cover the message).
        if (g_splash)
            g_splash->hide();
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QMessageBox::critical(
                nullptr, QCoreApplication::applicationName(),
                Tr(QStringLiteral("Неверные параметры командной строки: %1"),
                   "CKelda2App::OnCreateMainWindow")
                    .arg(parser.unknownOptionNames().isEmpty()
                             ? parser.errorText()
                             : parser.unknownOptionNames().join(QStringLiteral(", "))));
        return false;
    }
    if (!CreateMainFrame())
        return false;
    OpenStartPage();
    return true;
}

bool CKelda2App::CreateMainFrame() {
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME)) {
        delete frame;
        return false;
    }
    SetMainWnd(frame);
    RegisterAppCommands();
    if (frame->RestoreSizingBars()) {
        frame->show();
    } else {
        // The first start fills the screen, also where no window manager
        // maximises windows.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frame->setGeometry(screen->availableGeometry());
        frame->showMaximized();
    }
    frame->activateWindow();

    CGlobalRegisterObject::InitGroup(OBJGROUP_DOC_TEMPLATES);
    return GetMainWnd() != nullptr;
}

bool CKelda2App::OpenStartPage() {
    // The start page opens through its document template, once registered.
    CxCmdUI ui;
    return MainFrame() && MainFrame()->RouteCommand(ID_START_PAGE, &ui) && ui.enabled &&
           MainFrame()->RouteCommand(ID_START_PAGE);
}

int CKelda2App::ExitInstance() {
    RemoveTemporaryTables();
    RegisterDBUpdater(nullptr);
    ShutdownSQL();
    return CPavoApp::ExitInstance();
}

QString CKelda2App::GetAppString(unsigned id) {
    switch (id) {
    case APPSTR_MAKER_SITE:
        return QStringLiteral("kelda2.example");
    case APPSTR_UPDATE_URL:
        return QStringLiteral("https://kelda2.example/update");
    case APPSTR_MODULE_KEY:
    case APPSTR_MODULE_KEY_2:
        return QStringLiteral("kelda2");
    case APPSTR_VERSION:
        return QLatin1String(kKeldaVersion);
    case APPSTR_PRODUCT_NAME:
        return TranslateString(QStringLiteral("Kelda2"), QStringLiteral("CKelda2App::GetAppString"),
                               1);
    case APPSTR_PRODUCT_CODE:
        return QStringLiteral("19289");
    case APPSTR_VERSION_TEXT:
        return QLatin1String(kKeldaVersion) + u' ' + QLatin1String(kKeldaBuild);
    default:
        return CPavoApp::GetAppString(id);
    }
}

QString CKelda2App::GetToolTipText(unsigned id, const QString& defaultText) {
    if (xConfiguration* config = CurrentConfiguration())
        if (const sEnum2* item = config->GetCurrentLanguage()->ToolTips.Lookup_sEnum2(long(id)))
            return item->cText;
    return defaultText;
}

void* CKelda2App::GetAppPointer(const QString& name) {
    if (name == QLatin1String("CSelectedPOSH"))
        return &m_selectedPOSH;
    return CPavoApp::GetAppPointer(name);
}

unsigned CKelda2App::GetHTMLResourceID(int kind) {
    switch (kind) {
    case 0:
        return IDR_ABOUT_TEMPLATE;
    case 1:
        return 0;
    default:
        return unsigned(-1);
    }
}

void* CKelda2App::GetBaseClass(unsigned id, const char* name) {
    if (id == IID_TarvikApp || id == IID_ProgramApp)
        return this;
    return CPavoApp::GetBaseClass(id, name);
}

CMainFrame* CKelda2App::MainFrame() const {
    return qobject_cast<CMainFrame*>(GetMainWnd());
}

QString CKelda2App::CreditsText() {
    QString credits = TranslateString(
        QStringLiteral("<p>Программа создана при поддержке организации "
                       "<a href='https://velmar.example'>Велмар</a>.</p>"
                       "<p>&copy; Команда разработчиков Kelda2, 2004&ndash;{ENDYEAR}. "
                       "<a href='https://kelda2.example'>kelda2.example</a></p>"),
        QStringLiteral("msgAboutMainInfo"), 1);
    return credits.replace(QLatin1String("{ENDYEAR}"), QString::asprintf("%d", 2011));
}

QByteArray CKelda2App::CreationScript() {
    return QByteArray(kDatabaseCreationScript);
}

void CKelda2App::OnAppAbout() {
    AddAppQuery(QStringLiteral("about"), 1);
    CHTMLTemplate about(GetHTMLResourceID(0));
    const QString extra = about.GetSection(QStringLiteral("BODY"));
    CAppAboutDlg dialog(GetAppString(APPSTR_PRODUCT_NAME), GetAppString(APPSTR_VERSION_TEXT),
                        CreditsText() + extra, QString(), IDR_MAINFRAME, GetMainWnd());
    dialog.exec();
}

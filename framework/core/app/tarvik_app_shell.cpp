// The application shell services of CTarvikApp: the start-up sequence, the
// settings store, named application pointers and queued command addresses.
// They work without a running QCoreApplication where they can, so that the
// tests of every layer may call the static services directly.
#include "framework/core/tarvik_app.h"

#include "cmd_handler_info.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/table/self_register.h"
#include "framework/core/xml/cfg_base.h"
#include "profile_manager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <memory>

namespace {
QMutex g_profileMutex;
std::unique_ptr<CxProfileManagerBase> g_profileManager;
QHash<QString, void*> g_appPointers;
QHash<unsigned, QString> g_cmdToURL;
QStringList g_appQueries;

// Before any store is installed (and in the tests of other layers) settings
// live in memory only.
CxProfileManagerBase* CurrentProfileManager() {
    if (!g_profileManager)
        g_profileManager = std::make_unique<CxProfileManager>();
    return g_profileManager.get();
}
} // namespace

int CTarvikApp::Run() {
    int result = 1;
    if (InitInstance())
        result = QCoreApplication::instance() ? QCoreApplication::exec() : 0;
    const int exitResult = ExitInstance();
    return result ? result : exitResult;
}

bool CTarvikApp::InitInstance() {
    CSelfRegisterObject::RegisterAll();
    int bitmapId = 0;
    int textRect[4] = {0, 0, 0, 0};
    GetSplashScreenInfo(bitmapId, textRect);
    // The configuration object is the framework's from here on; its loading
    // is the start-up hook's (LoadConfig).
    if (xCfgBase2* config = OnCreateConfigObject())
        SetConfig(config);
    InitHelpSystem(QString());
    return OnApplicationInit() && OnCreateMainWindow();
}

int CTarvikApp::ExitInstance() {
    return 0;
}

bool CTarvikApp::GetSplashScreenInfo(int&, int[4]) {
    return false;
}

xCfgBase2* CTarvikApp::OnCreateConfigObject() {
    return nullptr;
}

void CTarvikApp::InitHelpSystem(const QString&) {}

bool CTarvikApp::OnApplicationInit() {
    return true;
}

bool CTarvikApp::OnCreateMainWindow() {
    return false;
}

bool CTarvikApp::LoadConfig(bool) {
    xCfgBase2* config = GetConfig();
    return config && config->LoadConfig();
}

QString CTarvikApp::GetAppString(unsigned) {
    return QString();
}

QString CTarvikApp::GetToolTipText(unsigned, const QString& defaultText) {
    return defaultText;
}

void* CTarvikApp::GetAppPointer(const QString& name) {
    QMutexLocker lock(&g_profileMutex);
    return g_appPointers.value(name, nullptr);
}

bool CTarvikApp::OnMapCmdToURL(unsigned id, int code, CxCmdHandlerInfo* info) {
    QString address;
    {
        QMutexLocker lock(&g_profileMutex);
        address = g_cmdToURL.value(id);
    }
    if (code != 0 || address.isEmpty())
        return false;
    if (!info)
        AddAppQuery(address);
    return true;
}

bool CTarvikApp::OnProcessURL(const QString&) {
    return false;
}

void CTarvikApp::SetProfileManager(CxProfileManagerBase* manager) {
    QMutexLocker lock(&g_profileMutex);
    g_profileManager.reset(manager);
}

CxProfileManagerBase* CTarvikApp::GetProfileManager() {
    QMutexLocker lock(&g_profileMutex);
    return CurrentProfileManager();
}

QString CTarvikApp::GetProfileString(const QString& section, const QString& entry,
                                     const QString& defaultValue) {
    QMutexLocker lock(&g_profileMutex);
    return CurrentProfileManager()->GetProfileString(section, entry, defaultValue);
}

bool CTarvikApp::WriteProfileString(const QString& section, const QString& entry,
                                    const QString& value) {
    QMutexLocker lock(&g_profileMutex);
    return CurrentProfileManager()->WriteProfileString(section, entry, value);
}

int CTarvikApp::GetProfileInt(const QString& section, const QString& entry, int defaultValue) {
    QMutexLocker lock(&g_profileMutex);
    return CurrentProfileManager()->GetProfileInt(section, entry, defaultValue);
}

bool CTarvikApp::WriteProfileInt(const QString& section, const QString& entry, int value) {
    QMutexLocker lock(&g_profileMutex);
    return CurrentProfileManager()->WriteProfileInt(section, entry, value);
}

namespace {
QString g_allUsersFile;

QString AllUsersFile() {
    if (!g_allUsersFile.isEmpty())
        return g_allUsersFile;
    const QString user = CxProfileManager::DefaultFile();
    return QFileInfo(user).absolutePath() + QStringLiteral("/AllUsers.conf");
}
} // namespace

void CTarvikApp::SetAllUsersFile(const QString& fileName) {
    QMutexLocker lock(&g_profileMutex);
    g_allUsersFile = fileName;
}

QString CTarvikApp::GetAllUsersString(const QString& section, const QString& entry,
                                      const QString& defaultValue) {
    QMutexLocker lock(&g_profileMutex);
    CxProfileManager store(AllUsersFile());
    return store.GetProfileString(section, entry, defaultValue);
}

bool CTarvikApp::WriteAllUsersString(const QString& section, const QString& entry,
                                     const QString& value) {
    QMutexLocker lock(&g_profileMutex);
    CxProfileManager store(AllUsersFile());
    return store.WriteProfileString(section, entry, value);
}

void CTarvikApp::RegisterAppPointer(const QString& name, void* pointer) {
    QMutexLocker lock(&g_profileMutex);
    if (pointer)
        g_appPointers.insert(name, pointer);
    else
        g_appPointers.remove(name);
}

void CTarvikApp::RegisterCmdToURL(unsigned id, const QString& address) {
    QMutexLocker lock(&g_profileMutex);
    g_cmdToURL.insert(id, address);
}

void CTarvikApp::AddAppQuery(const QString& address, int) {
    bool first = false;
    {
        QMutexLocker lock(&g_profileMutex);
        first = g_appQueries.isEmpty();
        g_appQueries << address;
    }
    // Addresses run after the current command returns, in the order queued.
    if (first && s_instance && QCoreApplication::instance())
        QMetaObject::invokeMethod(
            s_instance,
            [app = QPointer<CTarvikApp>(s_instance)] {
                if (app)
                    app->ProcessAppQueries();
            },
            Qt::QueuedConnection);
}

void CTarvikApp::PostAppQueries() {
    bool pending = false;
    {
        QMutexLocker lock(&g_profileMutex);
        pending = !g_appQueries.isEmpty();
    }
    if (pending && s_instance && QCoreApplication::instance())
        QMetaObject::invokeMethod(
            s_instance,
            [app = QPointer<CTarvikApp>(s_instance)] {
                if (app)
                    app->ProcessAppQueries();
            },
            Qt::QueuedConnection);
}

QStringList CTarvikApp::TakeAppQueries() {
    QMutexLocker lock(&g_profileMutex);
    QStringList queries;
    queries.swap(g_appQueries);
    return queries;
}

void CTarvikApp::ProcessAppQueries() {
    // A report build lets window messages through while it holds the
    // connection's locks: the addresses wait until it ends (the build's end
    // posts them again).
    if (CRepDoc::IsBuilding())
        return;
    for (const QString& address : TakeAppQueries())
        if (!OnProcessURL(address))
            qInfo().noquote() << "no handler for the command address" << address;
}

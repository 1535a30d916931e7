#pragma once
// The application class of our framework, without widgets: the services that
// every layer uses through static calls (translation of message keys, the
// error list, change notices). The program's application class derives from
// it and adds the start-up hooks and windows.
#include <QObject>
#include <QString>
#include <QStringList>

class CxProfileManagerBase;
class xCfgBase2;
class QWidget;
struct CxCmdHandlerInfo;

// Ids of the application strings (CTarvikApp::GetAppString).
enum CxAppString : unsigned {
    APPSTR_MAKER_SITE = 0,   // the maker's web address
    APPSTR_UPDATE_URL = 1,   // the page of updates
    APPSTR_MODULE_KEY = 2,   // the key of the program's module
    APPSTR_VERSION = 3,      // the version number
    APPSTR_PRODUCT_NAME = 4, // the product's name, translated
    APPSTR_MODULE_KEY_2 = 5, // the module key once more, for the updates
    APPSTR_PRODUCT_CODE = 6, // a number the maker gives the product
    APPSTR_VERSION_TEXT = 7, // the version with its build kind, as the about box shows it
};

// A line of the application's error list: plain text, or HTML written by
// the program (a heading, a link the user may click).
struct CxErrorLine {
    QString text;
    bool html = false;
};

class CTarvikApp : public QObject {
    Q_OBJECT
public:
    CTarvikApp();
    ~CTarvikApp() override;

    static CTarvikApp* Instance() { return s_instance; }

    // A message key ("msgName") or a default text, the caller's context
    // ("Class::Method") and a flag; answers the text in the current language,
    // else the default.
    static QString TranslateString(const QString& textOrKey, const QString& context = QString(),
                                   int flag = 1);

    // The application's error list: callers add a line and go on; the
    // interface shows the list when an operation reports failure. A message
    // is plain text and is shown as it stands, whatever characters it holds
    // (a statement, a server's message); only the program's own markup goes
    // in through AddErrorHtml.
    static void AddErrorMessage(const QString& text, int code = 0);
    static void AddErrorHtml(const QString& html);
    static QStringList GetErrorMessages();
    static QList<CxErrorLine> GetErrorLines();
    static QString TakeErrorMessages();
    static void ClearErrorMessages();
    // A place in the error list: ErrorMessagesSince answers only the lines
    // added after it, so one operation can show its own failure and not the
    // whole history.
    static quint64 ErrorMessageMark();
    static QStringList ErrorMessagesSince(quint64 mark);

    // Announces a message (such as a changed table's name) on a channel to
    // every registered notice processor.
    static void SendForNotify(const QString& channel, const QString& message);

    // The configuration document of the run: the object that
    // OnCreateConfigObject made (or a test hands over); the framework owns it
    // from then on, and a new one replaces (and frees) the old. The program
    // reaches its own lists through its configuration class's accessor.
    static void SetConfig(xCfgBase2* config);
    static xCfgBase2* GetConfig();

    // Application shell: start-up hooks, settings store, named pointers and
    // queued command addresses (defined in framework/core/app/). The hooks
    // answer true when the start may go on.
    int Run();
    virtual bool InitInstance();
    // The exit code of the run.
    virtual int ExitInstance();
    // The start-up picture (its bitmap id) and the rectangle (left, top,
    // right, bottom) for the progress line; false when there is none.
    virtual bool GetSplashScreenInfo(int& bitmapId, int textRect[4]);
    // The configuration document of the run, new (the framework owns it).
    virtual xCfgBase2* OnCreateConfigObject();
    // Names the source of the program's help. This platform has no help
    // viewer, so the framework does nothing with it.
    virtual void InitHelpSystem(const QString& key);
    virtual bool OnApplicationInit();
    virtual bool OnCreateMainWindow();
    // Reads the configuration document (afterConnect: the database is
    // connected, so what the document carries for it may go there).
    virtual bool LoadConfig(bool afterConnect);
    // The application's strings by id (APPSTR_*); empty for an unknown id.
    virtual QString GetAppString(unsigned id);
    virtual QString GetToolTipText(unsigned id, const QString& defaultText);
    virtual void* GetAppPointer(const QString& name);
    // Claims a command that has a command address (code 0): with info only
    // asks (the menu item is enabled), without it queues the address. False
    // when the command is not the application's.
    virtual bool OnMapCmdToURL(unsigned id, int code, CxCmdHandlerInfo* info);
    // Runs a queued command address; false when nobody knows it.
    virtual bool OnProcessURL(const QString& address);
    QWidget* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(QWidget* wnd) { m_pMainWnd = wnd; }
    static void SetProfileManager(CxProfileManagerBase* manager); // takes ownership
    static CxProfileManagerBase* GetProfileManager();
    static QString GetProfileString(const QString& section, const QString& entry,
                                    const QString& defaultValue = QString());
    static bool WriteProfileString(const QString& section, const QString& entry,
                                   const QString& value);
    static int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
    static bool WriteProfileInt(const QString& section, const QString& entry, int value);
    // Settings of the installation shared by every user (counters such as
    // the days since the last backup): a settings file beside the user's
    // configuration ("<configuration folder>/<application name>/AllUsers.conf"), whatever
    // store the run has installed.
    static QString GetAllUsersString(const QString& section, const QString& entry,
                                     const QString& defaultValue = QString());
    static bool WriteAllUsersString(const QString& section, const QString& entry,
                                    const QString& value);
    // Another file for them (tests); empty goes back to the default.
    static void SetAllUsersFile(const QString& fileName);
    static void RegisterAppPointer(const QString& name, void* pointer);
    static void RegisterCmdToURL(unsigned id, const QString& address);
    // A document template (icon, view, document and frame classes), see
    // framework/core/documents/doc_template.h.
    static void RegisterDocTemplate(int icon, const QMetaObject* view, const QMetaObject* document,
                                    const QMetaObject* frame);
    static void AddAppQuery(const QString& address, int flag = 0);
    static QStringList TakeAppQueries();
    // Runs the queued addresses; while a report build runs they wait.
    void ProcessAppQueries();
    // Queues a run of the addresses still waiting (a build ended).
    static void PostAppQueries();

private:
    QWidget* m_pMainWnd = nullptr;
    static CTarvikApp* s_instance;
};

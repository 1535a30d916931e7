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
class xConfiguration;
class QWidget;
struct CxCmdHandlerInfo;

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
    // interface shows the list when an operation reports failure.
    static void AddErrorMessage(const QString& text, int code = 0);
    static QStringList GetErrorMessages();
    static QString TakeErrorMessages();
    static void ClearErrorMessages();

    // Announces a message (such as a changed table's name) on a channel to
    // every registered notice processor.
    static void SendForNotify(const QString& channel, const QString& message);

    // The configuration document: the application hands over the object it
    // created (an xConfiguration); the framework owns it from then on.
    template <class T> static void SetConfig(T* config) { SetConfigObject(config, config); }
    static xConfiguration* GetConfig();
    static void SetConfigObject(xCfgBase2* owner, xConfiguration* config);

    // Application shell: start-up hooks, settings store, named pointers and
    // queued command addresses (defined in framework/core/app/).
    int Run();
    virtual int InitInstance();
    virtual int ExitInstance();
    virtual int GetSplashScreenInfo(int& bitmapId, int textRect[4]);
    virtual xCfgBase2* OnCreateConfigObject();
    virtual void InitHelpSystem(const QString& key);
    virtual int OnApplicationInit();
    virtual int OnCreateMainWindow();
    virtual int LoadConfig(int afterConnect);
    virtual QString GetAppString(unsigned id);
    virtual QString GetToolTipText(unsigned id, const QString& defaultText);
    virtual void* GetAppPointer(const QString& name);
    virtual int OnMapCmdToURL(unsigned id, int code, CxCmdHandlerInfo* info);
    virtual int OnProcessURL(const QString& address);
    QWidget* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(QWidget* wnd) { m_pMainWnd = wnd; }
    QString GetHelpKey() const { return m_helpKey; }
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
    // configuration ("<configuration folder>/Kelda2/AllUsers.conf"), whatever
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
    void ProcessAppQueries();

private:
    QWidget* m_pMainWnd = nullptr;
    QString m_helpKey;

private:
    static CTarvikApp* s_instance;
};

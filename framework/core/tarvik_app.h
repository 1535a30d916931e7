#pragma once
// The application class of our framework, without widgets: the services that
// every layer uses through static calls (translation of message keys, the
// error list, change notices). The program's application class derives from
// it and adds the start-up hooks and windows.
#include <QObject>
#include <QString>
#include <QStringList>

class xCfgBase2;
class xConfiguration;

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

private:
    static CTarvikApp* s_instance;
};

#pragma once
// The error list as the user reads it: a docking bar of the main window that
// shows every line added to the application's error list, newest last. Links
// in a line are command addresses ("command:forceapply" goes to the active
// form) or web addresses. It shows itself when an operation asks it to (a
// save that failed), and the user may hide or empty it.
#include <QDockWidget>

class QTextBrowser;

class CxErrorListWnd : public QDockWidget {
    Q_OBJECT
public:
    explicit CxErrorListWnd(QWidget* parent = nullptr);

    // The main window's error list, made and docked at its bottom on first
    // use; null when the application has no main window.
    static CxErrorListWnd* Get();
    static void Install(class QMainWindow* frame);
    // Brings the list into view (with its newest line).
    static void ShowList();

    QTextBrowser* Browser() const { return m_browser; }
    // The lines shown, as plain text.
    QStringList Lines() const { return m_lines; }
    void Clear();

private:
    void Append(const QString& text, bool html);
    void OpenLink(const QUrl& url);

    QTextBrowser* m_browser;
    QStringList m_lines;
};

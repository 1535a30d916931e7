#pragma once
// The base of every document window's view: a widget over a document, with
// an optional information bar at the top (a title, a line of explanation and
// an icon), the view's own commands, its saved state, and its say on whether
// the window may close. Views are made from their run-time class (the
// constructor is Q_INVOKABLE and takes the parent widget) when a document
// template opens a window.
#include "framework/core/app/base_class.h"
#include "framework/widgets/cmd_target.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class CxDocument;
class QLabel;
class QVBoxLayout;

class CxFormView : public QWidget, public CxCmdTarget, public CBaseClass {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxFormView(QWidget* parent = nullptr);
    ~CxFormView() override;

    CxDocument* GetDocument() const;
    void SetDocument(CxDocument* document);

    // Runs once the window stands and the document is set: the view builds
    // its content and restores its saved state. Answers false when the view
    // cannot show its document (the window then closes at once).
    virtual bool OnInitialUpdate();
    // Sets the document's title when the window opens; by default the view's
    // window title.
    virtual void OnInitialSetTitle(CxDocument* document);
    // The window opened again (or first) with these arguments of its command
    // address: the view shows what they name (a tab, a record).
    virtual void OnOpenArguments(const QStringList& arguments);
    // A command address meant for the active view ("command:forceapply");
    // answers 1 when handled.
    virtual int OnProcessURL(const QString& address);
    // Whether the window may close now; a view with unsaved changes asks.
    virtual bool CanCloseFrame();
    // Closes the view's window (which asks CanCloseFrame).
    void CloseFrame();
    // The application's settings (language, translations) changed.
    virtual void OnSettingsChanged();

    // Commands, two questions: CanProcessCommand says whether the view
    // handles a command and fills its state (enabled, checked);
    // ProcessCommand runs it. The routing runs only an enabled command.
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;
    virtual bool CanProcessCommand(unsigned id, CxCmdUI& ui);
    virtual bool ProcessCommand(unsigned id);

    // The name under which the view keeps its state (column widths, the
    // current tab) in the settings; none: nothing is kept.
    void SetStateVariableName(const QString& name) { m_stateName = name; }
    const QString& GetStateVariableName() const { return m_stateName; }
    virtual void StoreState();
    virtual void RestoreState();
    // The settings section of the view's state: "State\<name>".
    QString StateSection() const;

    // The information bar: "Title\nExplanation" and an icon number.
    void SetInfobarStringIcon(const QString& text, int icon);
    QWidget* Infobar() const { return m_infobar; }
    // Where a view puts its content (below the information bar).
    QVBoxLayout* Body() const { return m_body; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<CxDocument> m_document;
    QString m_stateName;
    QWidget* m_infobar = nullptr;
    QLabel* m_infoIcon = nullptr;
    QLabel* m_infoText = nullptr;
    QVBoxLayout* m_body = nullptr;
    bool m_stateStored = false;
};

#pragma once
// Opens document windows from the document templates and runs the command
// addresses that open or address them:
//   "opendoc:<document or view class>[:<argument>...]" opens the window of
//       that template, or activates the open one, and hands it the
//       arguments (a tab class, record numbers);
//   "sqledit:<form class>:<ROWID>:<edit action>[:wait]" opens a record form
//       (activating the form already open on that record); with "wait" the
//       call returns only when the form has closed;
//   "command:<...>" goes to the active view.
// Windows go into the main frame's MDI area as tabs.
#include "framework/core/record/dx_record.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

class CxDocument;
class CxFormView;
class CxMDIChildWnd;
class CxMDIFrameWnd;
class QWidget;
struct CxDocTemplate;

// A new widget of a run-time class with its parent; null when the class has
// no Q_INVOKABLE constructor taking the parent widget.
QWidget* CxCreateWidget(const QMetaObject* cls, QWidget* parent = nullptr);

class CxDocManager : public QObject {
    Q_OBJECT
public:
    static CxDocManager* Instance();

    // The frame windows open in; by default the application's main window.
    void SetFrame(CxMDIFrameWnd* frame);
    CxMDIFrameWnd* Frame() const;

    // Opens or activates the window of the template of that name (document
    // class first, then view class); null when there is no such template or
    // the window could not be made.
    CxFormView* OpenDocument(const QString& name, const QStringList& arguments = {});
    // Opens another window of the template even when one is open (a second
    // window of a report).
    CxFormView* OpenNewDocument(const QString& name, const QStringList& arguments = {});
    // Opens the form class on a record (key -1 with 2056: a new record). An
    // already allocated record may be handed over (a list that opens another
    // table's record); otherwise the form reads its own. A form already open
    // on the same record is activated instead.
    CxFormView* OpenSQLEditForm(const QString& formClass, qint64 key, int mode,
                                std::unique_ptr<CDXRecordSQL> record = nullptr);
    // Runs an "opendoc:", "sqledit:" or "command:" address; false when it is
    // none of these or could not be run.
    bool ProcessAddress(const QString& address);
    // Whether an "opendoc:" or "sqledit:" address names something that can
    // be opened now (its template is registered).
    bool CanOpen(const QString& address) const;

    QList<CxFormView*> Views() const;
    CxFormView* ActiveView() const;
    // Tells every open view that the settings changed.
    void NotifySettingsChanged();

signals:
    // A window was opened (not when an open one was only activated).
    void viewOpened(CxFormView* view);

private:
    CxDocManager() = default;
    CxFormView* Open(const CxDocTemplate& t, CxDocument* document, const QStringList& arguments);
    CxFormView* FindOpen(const QMetaObject* view, const QMetaObject* document, qint64 key) const;
    void Activate(CxFormView* view);

    QPointer<CxMDIFrameWnd> m_frame;
};

// The names the program's parts use.
CxFormView* OpenDocument(const QString& name, const QStringList& arguments = {});

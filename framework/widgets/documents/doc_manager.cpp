#include "doc_manager.h"

#include "form_view.h"
#include "framework/core/app/runtime_class.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "framework/widgets/mdi_frame_wnd.h"

#include <QEventLoop>
#include <QMdiArea>

namespace {
constexpr CxTr Tr;
} // namespace

QWidget* CxCreateWidget(const QMetaObject* cls, QWidget* parent) {
    if (!cls)
        return nullptr;
    QObject* made = cls->newInstance(Q_ARG(QWidget*, parent));
    auto* widget = qobject_cast<QWidget*>(made);
    if (made && !widget)
        delete made;
    return widget;
}

CxDocManager* CxDocManager::Instance() {
    static auto* manager = new CxDocManager;
    return manager;
}

void CxDocManager::SetFrame(CxMDIFrameWnd* frame) {
    m_frame = frame;
}

CxMDIFrameWnd* CxDocManager::Frame() const {
    if (m_frame)
        return m_frame;
    CTarvikApp* app = CTarvikApp::Instance();
    return app ? qobject_cast<CxMDIFrameWnd*>(app->GetMainWnd()) : nullptr;
}

QList<CxFormView*> CxDocManager::Views() const {
    QList<CxFormView*> views;
    CxMDIFrameWnd* frame = Frame();
    if (!frame || !frame->MDIArea())
        return views;
    for (QMdiSubWindow* sub : frame->MDIArea()->subWindowList())
        if (auto* child = qobject_cast<CxMDIChildWnd*>(sub))
            if (auto* view = qobject_cast<CxFormView*>(child->View()))
                views << view;
    return views;
}

CxFormView* CxDocManager::ActiveView() const {
    CxMDIFrameWnd* frame = Frame();
    CxMDIChildWnd* child = frame ? frame->ActiveChild() : nullptr;
    return child ? qobject_cast<CxFormView*>(child->View()) : nullptr;
}

CxFormView* CxDocManager::FindOpen(const QMetaObject* view, const QMetaObject* document,
                                   qint64 key) const {
    for (CxFormView* v : Views()) {
        if (v->metaObject() != view || !v->GetDocument() ||
            v->GetDocument()->metaObject() != document)
            continue;
        auto* sql = qobject_cast<CxSQLDocument*>(v->GetDocument());
        if (!sql)
            return v;
        // A record form is the same window only on the same stored record.
        if (key > 0 && sql->GetKey() == key)
            return v;
    }
    return nullptr;
}

void CxDocManager::Activate(CxFormView* view) {
    CxMDIFrameWnd* frame = Frame();
    if (!frame || !view)
        return;
    for (QMdiSubWindow* sub : frame->MDIArea()->subWindowList())
        if (auto* child = qobject_cast<CxMDIChildWnd*>(sub); child && child->View() == view) {
            frame->MDIArea()->setActiveSubWindow(sub);
            return;
        }
}

CxFormView* CxDocManager::Open(const CxDocTemplate& t, CxDocument* document,
                               const QStringList& arguments) {
    CxMDIFrameWnd* frame = Frame();
    if (!frame || !frame->MDIArea()) {
        delete document;
        return nullptr;
    }
    document->SetArguments(arguments);
    if (!document->OnNewDocument()) {
        delete document;
        return nullptr;
    }
    auto* view = qobject_cast<CxFormView*>(CxCreateWidget(t.view, nullptr));
    if (!view) {
        CTarvikApp::AddErrorMessage(
            Tr(QStringLiteral("Не удалось создать окно %1."), "msgCantCreateView")
                .arg(QString::fromLatin1(t.view->className())));
        delete document;
        return nullptr;
    }
    auto* child = qobject_cast<CxMDIChildWnd*>(
        CxCreateWidget(t.frame ? t.frame : &CxMDIChildWnd::staticMetaObject, nullptr));
    if (!child) {
        delete view;
        delete document;
        return nullptr;
    }
    // The document lives as long as its window; a window that closes hands
    // over to the one used before it.
    document->setParent(child);
    frame->MDIArea()->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    view->SetDocument(document);
    child->setObjectName(QString::fromLatin1(t.view->className()));
    child->SetView(view);
    if (t.icon)
        child->setWindowIcon(CxIcons::Get(t.icon));
    connect(document, &CxDocument::titleChanged, child,
            [child](const QString& title) { child->setWindowTitle(title); });
    frame->AddChild(child);
    if (!view->OnInitialUpdate()) {
        child->setAttribute(Qt::WA_DeleteOnClose);
        // Nothing to save in a window that could not show its document.
        child->SetView(nullptr);
        child->close();
        delete view;
        return nullptr;
    }
    view->OnInitialSetTitle(document);
    if (!document->GetTitle().isEmpty())
        child->setWindowTitle(document->GetTitle());
    view->OnOpenArguments(arguments);
    frame->MDIArea()->setActiveSubWindow(child);
    // A window that names where its keys go (a journal: its list) has them
    // as it opens, so that Insert and Enter work without a click first.
    if (view->focusProxy())
        view->setFocus(Qt::OtherFocusReason);
    emit viewOpened(view);
    return view;
}

CxFormView* CxDocManager::OpenDocument(const QString& name, const QStringList& arguments) {
    const CxDocTemplate* t = CxDocTemplates::Find(name);
    if (!t)
        return nullptr;
    if (CxFormView* open = FindOpen(t->view, t->document, -1)) {
        open->OnOpenArguments(arguments);
        Activate(open);
        return open;
    }
    auto* document = qobject_cast<CxDocument*>(CxCreateObject(t->document));
    if (!document)
        return nullptr;
    return Open(*t, document, arguments);
}

CxFormView* CxDocManager::OpenNewDocument(const QString& name, const QStringList& arguments) {
    const CxDocTemplate* t = CxDocTemplates::Find(name);
    if (!t)
        return nullptr;
    auto* document = qobject_cast<CxDocument*>(CxCreateObject(t->document));
    if (!document)
        return nullptr;
    return Open(*t, document, arguments);
}

CxFormView* CxDocManager::OpenSQLEditForm(const QString& formClass, qint64 key, int mode,
                                          std::unique_ptr<CDXRecordSQL> record) {
    CxDocTemplate t;
    if (const CxDocTemplate* found = CxDocTemplates::Find(formClass))
        t = *found;
    else
        return nullptr;
    if (mode != EA_NEW)
        if (CxFormView* open = FindOpen(t.view, t.document, key)) {
            Activate(open);
            return open;
        }
    auto* document = qobject_cast<CxSQLDocument*>(CxCreateObject(t.document));
    if (!document)
        return nullptr;
    document->SetKey(key);
    document->SetEditMode(mode);
    document->SetRecord(std::move(record));
    return Open(t, document, {});
}

bool CxDocManager::CanOpen(const QString& address) const {
    const QStringList parts = address.split(u':');
    if (parts.size() < 2)
        return false;
    if (parts[0] == QLatin1String("opendoc") || parts[0] == QLatin1String("sqledit"))
        return CxDocTemplates::Find(parts[1]) != nullptr;
    return false;
}

bool CxDocManager::ProcessAddress(const QString& address) {
    if (address.startsWith(QLatin1String("opendoc:"))) {
        const QStringList parts = address.mid(8).split(u':');
        return OpenDocument(parts.first(), parts.mid(1)) != nullptr;
    }
    if (address.startsWith(QLatin1String("sqledit:"))) {
        const QStringList parts = address.mid(8).split(u':');
        if (parts.size() < 3)
            return false;
        bool keyOk = false, modeOk = false;
        const qint64 key = parts[1].toLongLong(&keyOk);
        const int mode = parts[2].toInt(&modeOk);
        if (!keyOk || !modeOk)
            return false;
        CxFormView* view = OpenSQLEditForm(parts[0], key, mode);
        if (!view)
            return false;
        if (parts.size() > 3 && parts[3] == QLatin1String("wait")) {
            // The caller goes on once the user has closed the form.
            QEventLoop loop;
            connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }
    if (address.startsWith(QLatin1String("command:"))) {
        CxFormView* view = ActiveView();
        return view && view->OnProcessURL(address);
    }
    return false;
}

void CxDocManager::NotifySettingsChanged() {
    for (CxFormView* view : Views())
        view->OnSettingsChanged();
}

CxFormView* OpenDocument(const QString& name, const QStringList& arguments) {
    return CxDocManager::Instance()->OpenDocument(name, arguments);
}

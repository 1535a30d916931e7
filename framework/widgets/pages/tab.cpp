#include "tab.h"

#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/dx_form.h"
#include "framework/widgets/forms/sql_edit_form.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/lists/sql_list_ctrl.h"

#include <QTabBar>
#include <QVBoxLayout>

namespace {
const char* kClass = "cxPageClass";
const char* kPage = "cxPage";
} // namespace

CxTab::CxTab(QWidget* parent) : QTabWidget(parent) {
    setDocumentMode(false);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            GetTabWindow(index, true);
    });
}

int CxTab::AddTab(const QString& title, const QMetaObject* pageClass, int icon) {
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    holder->setProperty(kClass, QVariant::fromValue(static_cast<const void*>(pageClass)));
    holder->setObjectName(pageClass ? QString::fromLatin1(pageClass->className()) : QString());
    const int index = icon ? addTab(holder, CxIcons::Get(icon), title) : addTab(holder, title);
    // The first tab shows at once: its page is made now.
    if (index == currentIndex())
        GetTabWindow(index, true);
    return index;
}

int CxTab::AddTab(const QString& title, QWidget* page, int icon) {
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    if (page) {
        layout->addWidget(page);
        holder->setProperty(kPage, QVariant::fromValue(static_cast<void*>(page)));
        holder->setProperty(kClass,
                            QVariant::fromValue(static_cast<const void*>(page->metaObject())));
        holder->setObjectName(QString::fromLatin1(page->metaObject()->className()));
    }
    return icon ? addTab(holder, CxIcons::Get(icon), title) : addTab(holder, title);
}

void CxTab::RemoveTab(int index) {
    QWidget* holder = Holder(index);
    removeTab(index);
    // A form page leaves its form as it goes.
    delete holder;
}

QWidget* CxTab::Holder(int index) const {
    return widget(index);
}

const QMetaObject* CxTab::GetTabClass(int index) const {
    QWidget* holder = Holder(index);
    return holder ? static_cast<const QMetaObject*>(holder->property(kClass).value<const void*>())
                  : nullptr;
}

int CxTab::FindTabByClass(const QString& className) const {
    for (int i = 0; i < count(); ++i)
        if (const QMetaObject* cls = GetTabClass(i))
            if (QString::fromLatin1(cls->className()) == className)
                return i;
    return -1;
}

QWidget* CxTab::GetTabWindow(int index, bool create) {
    QWidget* holder = Holder(index);
    if (!holder)
        return nullptr;
    if (auto* page = static_cast<QWidget*>(holder->property(kPage).value<void*>()))
        return page;
    if (!create)
        return nullptr;
    const QMetaObject* cls = GetTabClass(index);
    QWidget* page = CxCreateWidget(cls, holder);
    if (!page)
        return nullptr;
    holder->setProperty(kPage, QVariant::fromValue(static_cast<void*>(page)));
    holder->layout()->addWidget(page);
    if (auto* inplace = dynamic_cast<CxInplaceWindow*>(page))
        inplace->CreateInplaceWindow(holder);
    // A form page joins the form that holds the tabs and loads.
    if (auto* form = dynamic_cast<CDXForm*>(page)) {
        if (CDXForm* owner = CDXForm::FindForm(parentWidget())) {
            owner->RegisterChildForm(form);
            if (!form->GetDXRecord())
                form->SetDXRecord(owner);
            form->UpdateData(false);
            if (auto* edit = dynamic_cast<CxSQLEditForm*>(owner))
                edit->WatchChanges(page);
        }
    }
    emit tabWindowCreated(index, page);
    return page;
}

void CxTab::SetTabBgColor(int index, quint32 colorRef) {
    tabBar()->setTabTextColor(index, QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF),
                                            int((colorRef >> 16) & 0xFF)));
}

#include "multi_page.h"

#include "framework/widgets/documents/doc_manager.h"

#include <QStackedWidget>
#include <QVBoxLayout>

CxComboMultiPageCoClassSelector::CxComboMultiPageCoClassSelector(QWidget* parent)
    : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_host)
            m_host->SelectPage(index);
    });
}

void CxComboMultiPageCoClassSelector::showPopup() {
    if (!m_popupDisabled)
        QComboBox::showPopup();
}

void CxComboMultiPageCoClassSelector::Refresh() {
    if (!m_host)
        return;
    const QSignalBlocker block(this);
    clear();
    for (int i = 0; i < m_host->GetPageCount(); ++i)
        addItem(m_host->GetPage(i) ? m_host->GetPage(i)->windowTitle() : QString());
    setCurrentIndex(m_host->GetCurPage());
}

CxMultiPageCoClass::~CxMultiPageCoClass() {
    if (m_selector)
        m_selector->m_host = nullptr;
}

void CxMultiPageCoClass::InitMultiPageCoClass(CxComboMultiPageCoClassSelector* selector,
                                              QWidget* place, const QMetaObject* pageClass) {
    m_selector = selector;
    m_pageClass = pageClass;
    if (selector)
        selector->m_host = this;
    if (place) {
        m_stack = new QStackedWidget(place);
        auto* layout = place->layout() ? place->layout() : new QVBoxLayout(place);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_stack);
    }
}

int CxMultiPageCoClass::AddPage() {
    if (!m_stack)
        return -1;
    QWidget* page = CxCreateWidget(m_pageClass, m_stack);
    if (!page)
        return -1;
    m_stack->addWidget(page);
    m_pages << page;
    if (m_selector)
        m_selector->Refresh();
    MultiPageCoClass_OnShow();
    return int(m_pages.size()) - 1;
}

bool CxMultiPageCoClass::RemovePage() {
    const int index = GetCurPage();
    if (index < 0)
        return false;
    QWidget* page = m_pages.takeAt(index);
    if (page) {
        m_stack->removeWidget(page);
        page->deleteLater();
    }
    if (!m_pages.isEmpty())
        m_stack->setCurrentWidget(m_pages[qMin(index, int(m_pages.size()) - 1)]);
    if (m_selector)
        m_selector->Refresh();
    MultiPageCoClass_OnShow();
    MultiPageCoClass_OnUpdate();
    return true;
}

bool CxMultiPageCoClass::SelectPage(int index) {
    if (index < 0 || index >= m_pages.size() || !m_pages[index])
        return false;
    m_stack->setCurrentWidget(m_pages[index]);
    if (m_selector) {
        const QSignalBlocker block(m_selector.data());
        m_selector->setCurrentIndex(index);
    }
    MultiPageCoClass_OnUpdate();
    return true;
}

int CxMultiPageCoClass::GetCurPage() const {
    if (!m_stack || m_pages.isEmpty())
        return -1;
    return IndexOf(m_stack->currentWidget());
}

QWidget* CxMultiPageCoClass::GetPage(int index) const {
    return index >= 0 && index < m_pages.size() ? m_pages[index].data() : nullptr;
}

int CxMultiPageCoClass::IndexOf(const QWidget* page) const {
    for (int i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page)
            return i;
    return -1;
}

void CxMultiPageCoClass::UpdatePageTitle(QWidget* page) {
    const int index = IndexOf(page);
    if (m_selector && index >= 0 && index < m_selector->count())
        m_selector->setItemText(index, page->windowTitle());
}

void CxMultiPageCoClass::MultiPageCoClass_OnUpdate() {}

void CxMultiPageCoClass::MultiPageCoClass_OnShow() {}

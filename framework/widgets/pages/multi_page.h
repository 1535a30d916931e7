#pragma once
// A host of pages of one class, one page per item of a list (the dated
// history pages of a client's card): a drop-down of the page titles chooses
// the page shown in a place of the host. Pages are added and removed by the
// host; a page's title is its window title.
#include <QComboBox>
#include <QList>
#include <QPointer>

class QStackedWidget;
class CxMultiPageCoClass;

// The drop-down of the page titles.
class CxComboMultiPageCoClassSelector : public QComboBox {
    Q_OBJECT
public:
    explicit CxComboMultiPageCoClassSelector(QWidget* parent = nullptr);
    // While disabled, choosing a page does not open the list (the host moves
    // between pages itself).
    void DisablePopup() { m_popupDisabled = true; }
    void EnablePopup() { m_popupDisabled = false; }
    void showPopup() override;
    // Shows the titles of the host's pages again.
    void Refresh();

private:
    friend class CxMultiPageCoClass;
    CxMultiPageCoClass* m_host = nullptr;
    bool m_popupDisabled = false;
};

class CxMultiPageCoClass {
public:
    virtual ~CxMultiPageCoClass();

    // Connects the host to its selector, the place of the pages (a widget
    // the pages fill) and the class of its pages.
    void InitMultiPageCoClass(CxComboMultiPageCoClassSelector* selector, QWidget* place,
                              const QMetaObject* pageClass);

    // Makes a new page (last) and answers its index, -1 when it could not be
    // made. The new page is not selected.
    virtual int AddPage();
    // Removes the current page; false when there is none.
    virtual bool RemovePage();
    bool SelectPage(int index);
    int GetCurPage() const;
    int GetPageCount() const { return int(m_pages.size()); }
    QWidget* GetPage(int index) const;
    int IndexOf(const QWidget* page) const;
    // The page's title changed (its window title).
    void UpdatePageTitle(QWidget* page);

    // A page became current.
    virtual void MultiPageCoClass_OnUpdate();
    // The set of pages changed (added, removed).
    virtual void MultiPageCoClass_OnShow();

protected:
    CxComboMultiPageCoClassSelector* Selector() const { return m_selector; }

private:
    QPointer<CxComboMultiPageCoClassSelector> m_selector;
    QStackedWidget* m_stack = nullptr;
    const QMetaObject* m_pageClass = nullptr;
    QList<QPointer<QWidget>> m_pages;
};

#pragma once
// Tabs whose pages are made when first shown: a tab is added with the
// run-time class of its page, and the page is made (and, for a page that
// sets itself up in a host, set up; for a form page, joined to the form that
// holds the tabs and loaded) the first time its tab is chosen. A tab that the
// user never opens never reads or writes anything.
#include <QTabWidget>

class CxTab : public QTabWidget {
    Q_OBJECT
public:
    explicit CxTab(QWidget* parent = nullptr);

    // A tab for a page of the class (made later); answers its index.
    int AddTab(const QString& title, const QMetaObject* pageClass, int icon = 0);
    // A tab for a page that already stands.
    int AddTab(const QString& title, QWidget* page, int icon = 0);
    void RemoveTab(int index);
    int GetCount() const { return count(); }
    int GetCurSel() const { return currentIndex(); }
    void SetCurSel(int index) { setCurrentIndex(index); }

    // The page of a tab, made when create is set and it is not yet made.
    QWidget* GetTabWindow(int index, bool create = true);
    QWidget* CreateTabWindow(int index) { return GetTabWindow(index, true); }
    const QMetaObject* GetTabClass(int index) const;
    // The tab whose page class has that name, -1 when none.
    int FindTabByClass(const QString& className) const;
    // The colour of a tab's title, a COLORREF value (0x00bbggrr).
    void SetTabBgColor(int index, quint32 colorRef);

signals:
    // A page was made (and set up).
    void tabWindowCreated(int index, QWidget* page);

private:
    QWidget* Holder(int index) const;
};

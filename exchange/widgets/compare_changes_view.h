#pragma once
// The window of the comparison of loads: the analysis date and the list of
// received loads (one branch per organisation, a check box per load) beside
// the page. "Сравнить" checks the ticked loads (exactly two of one
// organisation) and has the document (CRepCompareChangesDoc) build the page.
// A load received while the window is open joins the list at once; the
// ticks stay.
#include "framework/core/notify_processor.h"
#include "framework/widgets/report_view/rep_view.h"

class CTypedDateEdit;
class CRepCompareChangesDoc;
class QStandardItemModel;
class QTreeView;

class CRepCompareChanges : public CRepView, public CxNotifyProcessor {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepCompareChanges(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    // Fills the list of loads.
    bool OnInitialUpdate() override;
    // Hands the ticked loads and the date to the document; a choice that
    // cannot be compared is told to the user and nothing is built.
    bool OnPreBuild() override;
    QString OnGetExportFileName() override { return QStringLiteral("compare"); }

    // Reads the list of loads afresh (the list is emptied first, the ticked
    // loads that are still there stay ticked); false with a message when it
    // could not be read.
    bool FillTree();
    // A change of the list of loads (a load received or removed).
    void OnNotify(const QString& channel, const QString& message) override;
    // The ticked loads in the list's order, and the organisation of the last
    // one.
    QList<int> TickedLoads(QString* org = nullptr) const;

    QTreeView* Tree() const { return m_tree; }
    QStandardItemModel* TreeModel() const { return m_model; }
    CTypedDateEdit* DateCtrl() const { return m_date; }

    // The numbers of the view's controls.
    enum : int { IDC_LOADS = 1150, IDC_DATE = 1010 };

private:
    CRepCompareChangesDoc* GetCompareDoc() const;

    CTypedDateEdit* m_date;
    QTreeView* m_tree;
    QStandardItemModel* m_model;
};

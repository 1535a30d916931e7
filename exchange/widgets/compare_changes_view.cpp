#include "compare_changes_view.h"

#include "exchange/transfer/compare_changes_doc.h"
#include "exchange/transfer/load_comparison.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/message_box.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

// The load number of an item; 0 for an organisation's item.
constexpr int kLoadRole = Qt::UserRole + 1;
} // namespace

CRepCompareChanges::CRepCompareChanges(QWidget* parent)
    : CRepView(parent), m_date(new CTypedDateEdit(this)), m_tree(new QTreeView(this)),
      m_model(new QStandardItemModel(this)) {
    QVBoxLayout* params = ParamsLayout();
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(Tr("Анализировать на дату:", "CRepCompareChanges"), this));
    m_date->setObjectName(QStringLiteral("analysisDate"));
    dateRow->addWidget(m_date);
    dateRow->addStretch(1);
    params->addLayout(dateRow);
    auto* note =
        new QLabel(Tr("(эта дата не будет включена в анализ)", "CRepCompareChanges"), this);
    note->setWordWrap(true);
    params->addWidget(note);
    auto* treeLabel = new QLabel(
        Tr("Загрузки (отметьте две загрузки одной организации):", "CRepCompareChanges"), this);
    treeLabel->setWordWrap(true);
    params->addWidget(treeLabel);
    m_tree->setObjectName(QStringLiteral("loads"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    params->addWidget(m_tree, 1);
    RegisterControl(IDC_LOADS, m_tree);
    RegisterControl(IDC_DATE, m_date);
    BuildButton()->setText(Tr("Сравнить", "CRepCompareChanges"));
    // The page is ten columns wide: it gets the room.
    Splitter()->setSizes({260, 840});
    RequestForNotify(QStringLiteral("SQL"), QStringLiteral("cmp_loadids"));
}

CRepCompareChangesDoc* CRepCompareChanges::GetCompareDoc() const {
    return qobject_cast<CRepCompareChangesDoc*>(GetRepDoc());
}

bool CRepCompareChanges::OnInitialUpdate() {
    if (!CRepView::OnInitialUpdate())
        return false;
    FillTree();
    return true;
}

void CRepCompareChanges::OnNotify(const QString& channel, const QString& message) {
    (void)channel;
    (void)message;
    FillTree();
}

bool CRepCompareChanges::FillTree() {
    const QList<int> ticked = TickedLoads();
    m_model->clear();
    CRepDoc* doc = GetRepDoc();
    QList<CCompareLoadOrg> tree;
    QString error;
    if (!doc || !ReadCompareLoadTree(doc->GetSQL(), &tree, &error)) {
        CxMessage(this, CxMessageIcon::Error, error);
        return false;
    }
    for (const CCompareLoadOrg& org : tree) {
        auto* parent = new QStandardItem(org.orgId);
        parent->setData(0, kLoadRole);
        parent->setCheckable(true);
        for (const CCompareLoadItem& load : org.loads) {
            auto* item = new QStandardItem(CompareLoadItemText(load));
            item->setData(load.loadId, kLoadRole);
            item->setCheckable(true);
            if (ticked.contains(load.loadId))
                item->setCheckState(Qt::Checked);
            parent->appendRow(item);
        }
        m_model->appendRow(parent);
    }
    m_tree->expandAll();
    return true;
}

QList<int> CRepCompareChanges::TickedLoads(QString* org) const {
    // The list's order: each organisation, then its loads.
    QList<int> ticked;
    for (int i = 0; i < m_model->rowCount(); ++i) {
        QStandardItem* parent = m_model->item(i);
        if (parent->checkState() == Qt::Checked)
            ticked << 0;
        for (int j = 0; j < parent->rowCount(); ++j) {
            QStandardItem* load = parent->child(j);
            if (load->checkState() != Qt::Checked)
                continue;
            ticked << load->data(kLoadRole).toInt();
            if (org)
                *org = parent->text();
        }
    }
    return ticked;
}

bool CRepCompareChanges::OnPreBuild() {
    CRepCompareChangesDoc* doc = GetCompareDoc();
    if (!doc)
        return false;
    QString org;
    const QList<int> ticked = TickedLoads(&org);
    const QString problem = doc->SetChoice(ticked, org, m_date->date());
    if (!problem.isEmpty()) {
        CxMessage(this, CxMessageIcon::Warning, problem, doc->GetReportTitle());
        return false;
    }
    return true;
}

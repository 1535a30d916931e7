#include "period_views.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "model/tables/table_set.h"
#include "reports/visits/core/rep_trainings_doc.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr CxTr Tr;

// Both windows keep the period under these keys.
const char* const kFrom = "FromCRepTrainings";
const char* const kTo = "ToCRepTrainings";
} // namespace

CRepTrainings::CRepTrainings(QWidget* parent)
    : CRepTrainings(parent, Tr("Период с:", "CRepTrainings")) {
    setObjectName(QStringLiteral("CRepTrainings"));
}

CRepTrainings::CRepTrainings(QWidget* parent, const QString& periodCaption)
    : CRepParamsView(parent, QStringLiteral("CRepTrainings")) {
    // One state for both windows: the period is one choice.
    SetStateVariableName(QStringLiteral("CRepTrainings"));
    SetPeriodKeys(kFrom, kTo);
    AddPeriod(periodCaption);
    ParamsLayout()->addStretch(1);
}

bool CRepTrainings::OnPreBuild() {
    if (!CRepParamsView::OnPreBuild())
        return false;
    if (auto* doc = qobject_cast<CRepTrainingsDoc*>(GetRepDoc())) {
        doc->from = GetFrom();
        doc->to = GetTo();
    }
    return true;
}

CRepClientInfo::CRepClientInfo(QWidget* parent)
    : CRepTrainings(parent, Tr("Период:", "CRepClientInfo")), m_client(new CxSqlComboList(this)) {
    setObjectName(QStringLiteral("CRepClientInfo"));
    m_client->setObjectName(QStringLiteral("client"));
    // Under the period, above the stretch that keeps the rows at the top.
    QVBoxLayout* params = ParamsLayout();
    params->insertWidget(params->count() - 1, new QLabel(Tr("Клиент:", "CRepClientInfo"), this));
    params->insertWidget(params->count() - 1, m_client);
    RegisterControl(IDC_CLIENT, m_client);
}

bool CRepClientInfo::OnInitialUpdate() {
    if (g_pClientDataTable)
        m_client->SetControlInfo(g_pClientDataTable);
    return CRepTrainings::OnInitialUpdate();
}

bool CRepClientInfo::OnPreBuild() {
    if (!CRepParamsView::OnPreBuild())
        return false;
    if (auto* doc = qobject_cast<CRepClientInfoDoc*>(GetRepDoc())) {
        doc->from = GetFrom();
        doc->to = GetTo();
        doc->clientId = long(std::max<qint64>(m_client->GetSelectedID(), 0));
    }
    return true;
}

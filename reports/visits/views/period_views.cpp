#include "period_views.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "model/tables/table_set.h"
#include "reports/base/core/rep_base.h"
#include "reports/visits/core/rep_trainings_doc.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString Tr(const char* text, const char* key) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(key), 1);
}

QDateEdit* DateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return edit;
}

// Both windows keep the period under these keys.
const char* const kFrom = "FromCRepTrainings";
const char* const kTo = "ToCRepTrainings";
} // namespace

CRepTrainings::CRepTrainings(QWidget* parent)
    : CRepTrainings(parent, Tr("Период с:", "CRepTrainings")) {
    setObjectName(QStringLiteral("CRepTrainings"));
}

CRepTrainings::CRepTrainings(QWidget* parent, const QString& periodCaption)
    : CRepView(parent), m_from(DateEdit(this, "fromDate")), m_to(DateEdit(this, "toDate")) {
    // One state for both windows: the period is one choice.
    SetStateVariableName(QStringLiteral("CRepTrainings"));
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(periodCaption, this));
    period->addWidget(m_from, 1);
    period->addWidget(new QLabel(QStringLiteral("—"), this));
    period->addWidget(m_to, 1);
    ParamsLayout()->addLayout(period);
    ParamsLayout()->addStretch(1);
    RegisterControl(kRepCtlFrom, m_from);
    RegisterControl(kRepCtlTo, m_to);
    // A fresh window: the last full month.
    const QDate today = QDate::currentDate();
    const QDate thisMonth = today.addDays(1 - today.day());
    m_from->setDate(thisMonth.addMonths(-1));
    m_to->setDate(thisMonth.addDays(-1));
}

QDate CRepTrainings::GetFrom() const {
    return m_from->date();
}

QDate CRepTrainings::GetTo() const {
    return m_to->date();
}

void CRepTrainings::SetPeriod(QDate from, QDate to) {
    m_from->setDate(from);
    m_to->setDate(to);
}

bool CRepTrainings::PeriodIsValid() {
    if (m_from->date() <= m_to->date())
        return true;
    CxMessage(this, 0x30, Tr("Начало периода позже его окончания", "CRepTrainings::OnPreBuild"));
    m_from->setFocus();
    return false;
}

bool CRepTrainings::OnPreBuild() {
    if (!PeriodIsValid())
        return false;
    if (auto* doc = qobject_cast<CRepTrainingsDoc*>(GetRepDoc())) {
        doc->from = m_from->date();
        doc->to = m_to->date();
    }
    return true;
}

void CRepTrainings::StoreState() {
    CRepView::StoreState();
    const QString section = StateSection();
    CTarvikApp::WriteProfileString(section, QString::fromLatin1(kFrom),
                                   m_from->date().toString(Qt::ISODate));
    CTarvikApp::WriteProfileString(section, QString::fromLatin1(kTo),
                                   m_to->date().toString(Qt::ISODate));
}

void CRepTrainings::RestoreState() {
    CRepView::RestoreState();
    const QString section = StateSection();
    const QDate from = QDate::fromString(
        CTarvikApp::GetProfileString(section, QString::fromLatin1(kFrom)), Qt::ISODate);
    const QDate to = QDate::fromString(
        CTarvikApp::GetProfileString(section, QString::fromLatin1(kTo)), Qt::ISODate);
    if (from.isValid())
        m_from->setDate(from);
    if (to.isValid())
        m_to->setDate(to);
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
    if (!PeriodIsValid())
        return false;
    if (auto* doc = qobject_cast<CRepClientInfoDoc*>(GetRepDoc())) {
        doc->from = GetFrom();
        doc->to = GetTo();
        doc->clientId = long(std::max<qint64>(m_client->GetSelectedID(), 0));
    }
    return true;
}

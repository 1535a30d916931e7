#include "client_card.h"

#include "client_base_tab.h"
#include "client_tabs.h"
#include "health_tab.h"
#include "history_tabs.h"
#include "visits_tab.h"

#include "clients/core/client_code_rules.h"
#include "framework/core/app/runtime_class.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/pages/tab.h"
#include "model/tables/table_set.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
struct CardTab {
    const char* title;
    const QMetaObject* (*cls)();
    int icon;
    quint32 color; // COLORREF
};

constexpr quint32 Rgb(int r, int g, int b) {
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

const QList<CardTab>& CardTabs() {
    static const QList<CardTab> tabs{
        {"Базовая информация", &CDClientsBase::GetThisClass, 1258, Rgb(160, 82, 45)},
        {"Наркотики и ЗТ", &CDClientsDrugs::GetThisClass, 1289, Rgb(186, 85, 211)},
        {"Социальный статус", &CDClientsSocial::GetThisClass, 1285, Rgb(186, 85, 211)},
        {"Рискованное поведение", &CDClientsRisc::GetThisClass, 1287, Rgb(186, 85, 211)},
        {"Состояние здоровья", &CDClientsHealth::GetThisClass, 1291, Rgb(186, 85, 211)},
        {"Визиты клиента", &CDClientsVisits::GetThisClass, 1292, Rgb(186, 85, 211)},
    };
    return tabs;
}
} // namespace

void CDClients::RegisterClasses() {
    for (const CardTab& t : CardTabs())
        CxClassRegistry::Register(t.cls());
    for (const QMetaObject* cls :
         {CDClients::GetThisClass(), CDClientBaseChangesSub::GetThisClass(),
          CDClientsDrugsSub::GetThisClass(), CDClientsSocialSub::GetThisClass(),
          CDClientsRiscSub::GetThisClass(), CDClientsVisitsAdd::GetThisClass()})
        CxClassRegistry::Register(cls);
}

CDClients::CDClients(QWidget* parent) : CxSQLEditForm(parent), m_tab(new CxTab(this)) {
    RegisterClasses();
    SetStateVariableName(QStringLiteral("Clients"));
    m_tab->setObjectName(QStringLiteral("clientTabs"));
    Body()->insertWidget(0, m_tab, 1);
    auto* note = new QLabel(
        CTarvikApp::TranslateString(QStringLiteral("При добавлении, некоторые закладки могут быть "
                                                   "скрыты."),
                                    QStringLiteral("CDClients::DoDataExchange"), 1),
        this);
    note->setEnabled(false);
    Body()->insertWidget(1, note);
    resize(860, 640);
}

CxTable* CDClients::GetDXTable() const {
    return g_pClientDataTable.GetPtr();
}

QString CDClients::GetTitleField() const {
    return QStringLiteral("clientdata.cClientCode");
}

qint64 CDClients::GetClientID() const {
    const CDXRecordSQL* record = GetDXRecord();
    return record ? record->GetKey() : -1;
}

CDClientsBase* CDClients::BaseTab() const {
    return m_baseTab >= 0 ? qobject_cast<CDClientsBase*>(m_tab->GetTabWindow(m_baseTab, false))
                          : nullptr;
}

void CDClients::BuildTabs() {
    for (int i = 0; i < CardTabs().size(); ++i) {
        const CardTab& t = CardTabs()[i];
        const int index = m_tab->AddTab(
            CTarvikApp::TranslateString(QString::fromUtf8(t.title),
                                        QStringLiteral("CDClients::DoDataExchange"), 1),
            t.cls(), t.icon);
        m_tab->SetTabBgColor(index, t.color);
        if (i == 0)
            m_baseTab = index;
    }
    m_tab->SetCurSel(m_baseTab);
}

void CDClients::DoDataExchange(CDXX& dx) {
    // The tabs are made once, at the first loading; the base tab's page is
    // made (and loads) at once, the others when first opened.
    if (dx.IsLoad() && m_tab->count() == 0)
        BuildTabs();
}

bool CDClients::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    if (auto* visits =
            qobject_cast<CDClientsVisits*>(m_tab->GetTabWindow(m_tab->GetCurSel(), false)))
        if (visits->OnCmdMsg(id, ui))
            return true;
    return CxSQLEditForm::OnCmdMsg(id, ui);
}

int CDClients::OnProcessURL(const QString& address) {
    if (address == QString::fromUtf16(kForceApplyCommand)) {
        m_forceApply = true;
        Apply();
        m_forceApply = false;
        return 1;
    }
    return CxSQLEditForm::OnProcessURL(address);
}

#include "configurator_form.h"

#include "framework/core/app/runtime_class.h"
#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "org_info_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;
} // namespace

CConfiguratorBaseOrgInfo::CConfiguratorBaseOrgInfo(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    m_card = new COrgInfoView(this);
    layout->addWidget(m_card, 1);
    auto* bottom = new QHBoxLayout;
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("SaveResult"));
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    bottom->addWidget(m_result, 1);
    auto* save = new QPushButton(
        Tr(QStringLiteral("Сохранить"), QStringLiteral("CConfiguratorBaseOrgInfo")), this);
    bottom->addWidget(save);
    layout->addLayout(bottom);
    connect(save, &QPushButton::clicked, this, &CConfiguratorBaseOrgInfo::Save);
    // "Сохранено" must not stand beside changes made after the save.
    connect(m_card->Grid(), &CGridCtrl::itemChanged, m_result, &QLabel::clear);
}

bool CConfiguratorBaseOrgInfo::Save() {
    const quint64 mark = CTarvikApp::ErrorMessageMark();
    if (!m_card->OnApply()) {
        m_result->setText(CTarvikApp::ErrorMessagesSince(mark).join(u'\n'));
        return false;
    }
    m_result->setText(Tr(QStringLiteral("Сохранено"), QStringLiteral("CConfiguratorBaseOrgInfo")));
    return true;
}

CConfiguratorFormAPP::CConfiguratorFormAPP(QWidget* parent) : CxTabFormView(parent) {
    SetStateVariableName(QStringLiteral("Configurator"));
    CxClassRegistry::Register(CConfiguratorBaseOrgInfo::GetThisClass());
}

bool CConfiguratorFormAPP::OnInitialUpdate() {
    Tab()->AddTab(
        Tr(QStringLiteral("Информация об организации"), QStringLiteral("msgInfoAboutOrg")),
        CConfiguratorBaseOrgInfo::GetThisClass());
    return CxTabFormView::OnInitialUpdate();
}

void CConfiguratorFormAPP::OnInitialSetTitle(CxDocument* document) {
    if (document)
        document->SetTitle(Tr(QStringLiteral("Конфигуратор"), QStringLiteral("msgConfigurator")));
}

bool CConfiguratorFormAPP::CanCloseFrame() {
    auto* page = qobject_cast<CConfiguratorBaseOrgInfo*>(Tab()->GetTabWindow(0, false));
    if (!page || !page->Card()->IsModified())
        return true;
    switch (CxAsk(this, CxAskKind::YesNoCancel,
                  Tr(QStringLiteral("Сведения об организации изменены. Сохранить изменения?"),
                     QStringLiteral("CConfiguratorFormAPP")))) {
    case IDYES:
        return page->Save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

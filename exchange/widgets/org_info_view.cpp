#include "org_info_view.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/error_text.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/settings_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

} // namespace

void CSettingsSelfReg_COrgInfoView::Init(int first) {
    if (first)
        CGlobalRegisterObject::RegisterObject(this, OBJGROUP_SETTINGS_PAGES, 0);
}

QString CSettingsSelfReg_COrgInfoView::GetCaption() {
    return Tr(QStringLiteral("Информация об организации"), QStringLiteral("msgOrgInfo"));
}

QWidget* CSettingsSelfReg_COrgInfoView::CreatePage(QWidget* parent) {
    return new COrgInfoView(parent);
}

bool CSettingsSelfReg_COrgInfoView::StoreData(QWidget* page) {
    auto* view = qobject_cast<COrgInfoView*>(page);
    return !view || view->OnApply();
}

CSettingsSelfReg_COrgInfoView g_OrgInfoSettingsPage;

COrgInfoView::COrgInfoView(QWidget* parent, CxSQL* sql)
    : QWidget(parent), m_sql(sql ? sql : g_pBaseSQLConnection.get()) {
    setObjectName(QStringLiteral("OrgInfo"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        Tr(QStringLiteral("Информация об организации:"), QStringLiteral("COrgInfoView")), this));
    m_grid = new CGridCtrl(this);
    layout->addWidget(m_grid, 1);
    m_error = new CxErrorText(this, 3);
    layout->addWidget(m_error);
    connect(m_grid, &CGridCtrl::itemChanged, this, [this] { m_modified = true; });
    Load();
}

bool COrgInfoView::Load() {
    m_grid->Begin();
    m_grid->RegisterColumn(Tr(QStringLiteral("Показатель"), QStringLiteral("msgPokazatel")), 200);
    m_grid->GetColumnDef(0)->SetReadOnly();
    m_grid->RegisterColumn(Tr(QStringLiteral("Значение"), QStringLiteral("msgValue")), 300);
    m_grid->End();
    QString error;
    m_loaded = m_sql && m_card.Load(m_sql, &error);
    if (!m_loaded) {
        m_error->SetText(Tr(QStringLiteral("Не удалось прочитать сведения об организации:"),
                            QStringLiteral("COrgInfoView")) +
                         u'\n' + error);
        m_grid->setEnabled(false);
        return false;
    }
    m_error->SetText(QString());
    m_grid->setEnabled(true);
    const QList<COrgFact>& facts = m_card.Facts();
    m_grid->SetItemCount(int(facts.size()));
    for (int row = 0; row < facts.size(); ++row) {
        m_grid->SetItemText(row, 0, facts[row].caption);
        m_grid->SetItemText(row, 1, facts[row].value);
    }
    // The captions whole; the values take the rest of the width.
    m_grid->resizeColumnToContents(0);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_modified = false;
    return true;
}

bool COrgInfoView::OnApply() {
    // A card that could not be read is not written over.
    if (!m_loaded) {
        CTarvikApp::AddErrorMessage(Tr(QStringLiteral("Сведения об организации не прочитаны; "
                                                      "изменения не сохранены."),
                                       QStringLiteral("COrgInfoView")));
        return false;
    }
    QList<COrgFact>& facts = m_card.Facts();
    for (int row = 0; row < facts.size(); ++row)
        facts[row].value = m_grid->GetItemText(row, 1);
    QString error;
    if (!m_card.Save(m_sql, &error)) {
        CTarvikApp::AddErrorMessage(Tr(QStringLiteral("Не удалось сохранить сведения об "
                                                      "организации:"),
                                       QStringLiteral("COrgInfoView")) +
                                    u'\n' + error);
        // Another copy saved the card meanwhile: its facts can be read anew.
        if (m_card.ChangedMeanwhile() &&
            CxAsk(this, CxAskKind::YesNo, CxRowsFingerprint::ReopenQuestion()) == IDYES)
            Load();
        return false;
    }
    m_modified = false;
    return true;
}

void ShowOrgInfoSettings() {
    CTarvikApp* app = CTarvikApp::Instance();
    CSettingsDialog dialog(app ? app->GetMainWnd() : nullptr);
    dialog.ShowOnly(QStringLiteral("COrgInfoView"));
    dialog.Build();
    CxDoModal(&dialog);
}

#include "visits_page.h"

#include "diary/core/material_pack.h"
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet_store.h"
#include "framework/core/lists/sql_auto_complete.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/message_box.h"
#include "material_chooser.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"
#include "visits_grid.h"
#include "visits_sheet_model.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;
// Packages the button's menu lists at most.
constexpr int kPackagesListed = 500;

void ReportNotes(const QStringList& notes) {
    for (const QString& note : notes)
        CTarvikApp::AddErrorMessage(note);
    if (!notes.isEmpty())
        CxErrorListWnd::ShowList();
}
} // namespace

CDDiaryVisits::CDDiaryVisits(QWidget* parent)
    : CDDiaryPage(parent), m_grid(new CDDiaryVisitsGrid(this)), m_materials(new QPushButton(this)),
      m_package(new QToolButton(this)), m_packageMenu(new QMenu(this)),
      m_service(new CxSqlComboList(this)) {
    setObjectName(QStringLiteral("CDDiaryVisits"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    m_materials->setObjectName(QStringLiteral("materials"));
    m_materials->setText(Tr("Материалы и услуги", "CDDiaryVisits"));
    m_materials->setIcon(CxIcons::Get(1266));
    bar->addWidget(m_materials);
    m_package->setObjectName(QStringLiteral("package"));
    m_package->setText(Tr("Загрузить готовый пакет", "CDDiaryVisits"));
    m_package->setIcon(CxIcons::Get(1266));
    m_package->setIconSize(QSize(16, 16));
    m_package->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_package->setPopupMode(QToolButton::InstantPopup);
    m_package->setMenu(m_packageMenu);
    bar->addWidget(m_package);
    bar->addSpacing(12);
    m_service->setObjectName(QStringLiteral("service"));
    const QString serviceTip =
        CTarvikApp::TranslateString(QStringLiteral("Услуга, которую получил каждый клиент "
                                                   "ведомости (пока в ведомости нет колонок "
                                                   "материалов и услуг)"),
                                    QStringLiteral("DiaryVisitsUsluga"), 1);
    m_service->setToolTip(serviceTip);
    m_service->lineEdit()->setPlaceholderText(Tr("Услуга для всех клиентов", "CDDiaryVisits"));
    bar->addWidget(m_service, 2);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);

    m_grid->SetSheet(&m_sheet);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &CDDiaryVisits::ShowContextMenu);
    connect(m_grid->SheetModel(), &CVisitsSheetModel::sheetEdited, this, &CDDiaryPage::edited);
    connect(m_materials, &QPushButton::clicked, this, &CDDiaryVisits::OnChooseMaterials);
    connect(m_packageMenu, &QMenu::aboutToShow, this, &CDDiaryVisits::FillPackageMenu);
    connect(m_service, &QComboBox::activated, this, &CDDiaryPage::edited);
    connect(m_service->lineEdit(), &QLineEdit::textEdited, this, &CDDiaryPage::edited);
    UpdateServiceState();
}

bool CDDiaryVisits::OnCreatePage(QString* error) {
    if (m_service->GetTable() == nullptr)
        m_service->SetControlInfo(g_pMaterialsTable.GetPtr());
    const qint64 report = ReportKey();
    CVisitsSheet sheet;
    QStringList notes;
    if (report > 0 && !CVisitsSheetStore::Load(g_pBaseSQLConnection.get(), report, GetVedID(),
                                               &sheet, &notes, error))
        return false;
    m_grid->BeginSheetChange();
    m_sheet = std::move(sheet);
    m_grid->EndSheetChange();
    UpdateServiceState();
    ReportNotes(notes);
    return true;
}

void CDDiaryVisits::SetSheet(const CVisitsSheet& sheet) {
    if (m_service->GetTable() == nullptr)
        m_service->SetControlInfo(g_pMaterialsTable.GetPtr());
    m_grid->BeginSheetChange();
    m_sheet = sheet;
    m_grid->EndSheetChange();
    if (m_sheet.ServiceAllowed() && m_sheet.ServiceItem() > 0)
        m_service->SetSelectedID(m_sheet.ServiceItem());
    UpdateServiceState();
    SetCreated();
}

void CDDiaryVisits::UpdateServiceState() {
    // The service counts only while the sheet shows the clients alone.
    m_service->setEnabled(m_sheet.ServiceAllowed());
}

bool CDDiaryVisits::SelectClientRow(qint64 clientId) {
    const int row = m_sheet.FindClientRow(clientId);
    const int column = m_sheet.ClientColumn();
    if (row < 0 || column < 0)
        return false;
    m_grid->SelectItem(row, column);
    return true;
}

void CDDiaryVisits::UpdateColumns(const QList<qint32>& items) {
    QStringList notes;
    QString error;
    m_grid->BeginSheetChange();
    const bool ok = UpdateSheetColumns(g_pBaseSQLConnection.get(), &m_sheet, items, &notes, &error);
    m_grid->EndSheetChange();
    if (!ok)
        notes << error;
    ReportNotes(notes);
    UpdateServiceState();
    emit edited();
}

void CDDiaryVisits::OnChooseMaterials() {
    QList<qint32> items = m_sheet.Items();
    CASelMat chooser(this, &items);
    if (chooser.DoModal() == IDOK)
        UpdateColumns(items);
    m_grid->setFocus();
}

void CDDiaryVisits::FillPackageMenu() {
    m_packageMenu->clear();
    CSQLAutoComplete packages(g_pMatPackTable.GetPtr());
    const auto rows = packages.Match(QString(), kPackagesListed);
    if (rows.isEmpty()) {
        m_packageMenu->addAction(Tr("Пакетов нет", "CDDiaryVisits"))->setEnabled(false);
        return;
    }
    for (const auto& [id, name] : rows)
        m_packageMenu->addAction(name, this, [this, id = id] { OnSelectID(id, kPackageButton); });
}

void CDDiaryVisits::OnSelectID(qint64 packageId, int source) {
    if (source != kPackageButton && source != kAutoLoad)
        return;
    const char* context = "CDDiaryVisits::OnSelectID";
    CMaterialPackage package;
    QString message, error;
    const EPackageRead read =
        ReadMaterialPackage(g_pBaseSQLConnection.get(), packageId, &package, &message, &error);
    if (read == EPackageRead::Missing || read == EPackageRead::Failed) {
        CTarvikApp::AddErrorMessage(error.isEmpty() ? message
                                                    : message + QStringLiteral(": ") + error);
        CxErrorListWnd::ShowList();
        message = QStringLiteral("\n<font color=red>") + message.toHtmlEscaped() +
                  QStringLiteral("</font>");
    } else {
        COption_Diary::SetLastUsedSet(int(packageId));
        if (read == EPackageRead::Loaded) {
            if (source == kAutoLoad) {
                UpdateColumns(package.items);
            } else {
                QList<qint32> items = package.items;
                CASelMat chooser(this, &items);
                if (chooser.DoModal() == IDOK)
                    UpdateColumns(items);
                else
                    message = Tr("Загрузка отменена", context);
            }
        }
        message = QStringLiteral("\n<b>") + message.toHtmlEscaped() + QStringLiteral("</b>");
        if (isVisible())
            QToolTip::showText(m_package->mapToGlobal(QPoint(0, m_package->height())),
                               Tr("Результат выполнения:", context) + message, m_package);
    }
    m_package->setToolTip(Tr("Последняя операция:", context) + message);
    m_grid->setFocus();
}

void CDDiaryVisits::LoadLastPackage() {
    const int last = COption_Diary::GetLastUsedSet();
    if (g_pOption_Diary->m_LoadLastSet.Get() && last != -1)
        OnSelectID(last, kAutoLoad);
}

void CDDiaryVisits::ShowContextMenu(const QPoint& pos) {
    QMenu menu(this);
    menu.addAction(Tr("Выбрать материалы", "CDDiaryVisits::OnCreateContextMenuBefore"), this,
                   &CDDiaryVisits::OnChooseMaterials);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

CDailyReportPage CDDiaryVisits::SavePage() {
    // The service is read only while the sheet shows the clients alone.
    m_sheet.SetServiceItem(m_sheet.ServiceAllowed() ? m_service->GetSelectedID() : -1);
    CDailyReportPage page;
    page.number = GetVedID();
    page.visits = &m_sheet;
    return page;
}

void CDDiaryVisits::ShowRefusal(const CDiaryVerdict& verdict) {
    if (verdict.field == EDiaryField::SheetService) {
        m_service->setFocus(Qt::OtherFocusReason);
        ShowErrorTip(m_service, verdict.text, verdict.title);
        return;
    }
    if (verdict.row >= 0 && verdict.column >= 0)
        m_grid->ShowErrorTip(verdict.row, verdict.column, verdict.text, verdict.title);
    else
        ShowErrorTip(m_grid, verdict.text, verdict.title);
}

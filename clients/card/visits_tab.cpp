#include "visits_tab.h"

#include "diary/core/client_visit_writer.h"
#include "framework/core/enums/enum2.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/export/xlsx_export.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/forms/sql_edit_form.h"
#include "framework/widgets/message_box.h"
#include "model/enums/directory_enums.h"
#include "model/tables/table_set.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr int kKindMask = 0x0fff0000;
constexpr int kKindService = 0x40000;
constexpr int kKindConsultation = 0x70000;
constexpr int kConsultationByCode = 1;
constexpr int kColumnMaterial = 0;
constexpr int kColumnValue = 1;

constexpr CxTr TrAdd("CDClientsVisitsAdd");
} // namespace

// --- CDClientsVisitsAdd -----------------------------------------------------

CDClientsVisitsAdd::CGridCtrlThis::CGridCtrlThis(QWidget* parent) : CGridCtrl(parent) {}

bool CDClientsVisitsAdd::CGridCtrlThis::ItemKind(int row, int* kind, int* specFlags) const {
    QString key;
    if (SaveCell(row, kColumnMaterial, &key) != CELL_VALUE)
        return false;
    CxSQL* sql = g_pBaseSQLConnection.get();
    if (!sql)
        return false;
    CxResult r =
        sql->Execute(QStringLiteral("SELECT dir.nType,dir.nSpecFlags FROM dir WHERE ROWID=") +
                     QString::number(key.toLongLong()));
    if (!r.FetchRow())
        return false;
    *kind = int(r.LFieldValue(0)) & kKindMask;
    *specFlags = int(r.LFieldValue(1));
    return true;
}

QList<QPair<int, QString>> CDClientsVisitsAdd::CGridCtrlThis::ValueChoices(int kind,
                                                                           int specFlags) const {
    QList<QPair<int, QString>> choices;
    if (kind == kKindService) {
        choices.append(
            {1, TrAdd("Предоставлена",
                      "CDClientsVisitsAdd::CGridCtrlThis::OnPreCreateInplaceObjectWindow")});
    } else if (kind == kKindConsultation) {
        const CEnum2* kinds = g_pConsAndDir.Get();
        POSITION pos = kinds->InitScan_sEnum2();
        while (kinds->ScanNext_sEnum2(pos)) {
            const sEnum2* item = kinds->Current_sEnum2(pos);
            if (item->GetCode() != kConsultationByCode && (item->GetCode() & specFlags))
                choices.append({int(item->GetCode()), item->GetText()});
        }
    }
    return choices;
}

QWidget* CDClientsVisitsAdd::CGridCtrlThis::CreateInplaceObject(int row, int column,
                                                                QWidget* parent) {
    int kind = 0, flags = 0;
    if (column == kColumnValue && ItemKind(row, &kind, &flags) &&
        (kind == kKindService || kind == kKindConsultation)) {
        auto* combo = new CxComboList(parent);
        combo->DisableSort();
        for (const auto& [code, text] : ValueChoices(kind, flags))
            combo->AddItem(code, text);
        return combo;
    }
    return CGridCtrl::CreateInplaceObject(row, column, parent);
}

void CDClientsVisitsAdd::CGridCtrlThis::OnItemChanged(int row, int column) {
    CGridCtrl::OnItemChanged(row, column);
    if (column != kColumnMaterial)
        return;
    QString key;
    const int status = SaveCell(row, kColumnMaterial, &key);
    int kind = 0, flags = 0;
    if (status == CELL_EMPTY)
        return;
    if (!ItemKind(row, &kind, &flags)) {
        ShowErrorTip(row, kColumnMaterial,
                     TrAdd("Ошибка", "CDClientsVisitsAdd::CGridCtrlThis::OnAfterEditFormat"));
        SetCellReadOnly(row, kColumnValue, true);
        return;
    }
    SetCellReadOnly(row, kColumnValue, false);
    // A value list of one entry is chosen at once.
    const QList<QPair<int, QString>> choices = ValueChoices(kind, flags);
    if ((kind == kKindService || kind == kKindConsultation) && choices.size() == 1)
        SetItemText(row, kColumnValue, QString::number(choices.first().first));
}

CDClientsVisitsAdd::CDClientsVisitsAdd(QWidget* parent)
    : QWidget(parent), m_date(new CDateTimeEditCtrl(this)), m_workPlace(new CxSqlComboList(this)),
      m_worker(new CxSqlComboList(this)), m_grid(new CGridCtrlThis(this)) {
    m_date->setObjectName(QStringLiteral("visitDate"));
    m_workPlace->setObjectName(QStringLiteral("visitWorkPlace"));
    m_worker->setObjectName(QStringLiteral("visitWorker"));
    m_grid->setObjectName(QStringLiteral("visitGrid"));
    m_workPlace->SetControlInfo(g_pWorkPlaceTable.GetPtr());
    m_worker->SetControlInfo(g_pWorkersTable.GetPtr());
    m_date->SetDate(QDate::currentDate());

    m_grid->Begin();
    const char* ctx = "CDClientsVisitsAdd::CGridCtrlThis::Init";
    m_grid->RegisterColumn(TrAdd("Услуга или материал", ctx), 320);
    m_grid->RegisterColumn(TrAdd("Выполнение или количество", ctx), 220);
    m_grid->GetColumnDef(kColumnMaterial)
        ->SetRuntimeClass(&CxSqlComboList::staticMetaObject)
        .SetTable(g_pMaterialsTable.GetPtr());
    m_grid->End();
    m_grid->SetAutoGrow(true);

    auto* form = new QFormLayout;
    form->addRow(TrAdd("Дата предоставления услуг:"), m_date);
    form->addRow(TrAdd("Пункт предоставления услуг:"), m_workPlace);
    form->addRow(TrAdd("Основной социальный работник:"), m_worker);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_grid, 1);
    connect(m_date, &CDateTimeEditCtrl::dateChanged, this, &CDClientsVisitsAdd::dateChanged);
}

bool CDClientsVisitsAdd::Write(CxSQL* sql, qint64 clientId, QWidget** control, QString* text) {
    if (m_date->HasBadText()) {
        *control = m_date;
        *text = TypedDateError();
        return false;
    }
    CClientVisit visit;
    visit.clientId = clientId;
    visit.date = m_date->GetDate();
    visit.workPlace = m_workPlace->GetSelectedID();
    visit.worker = m_worker->GetSelectedID();
    for (int r = 0; r < m_grid->GetItemCount(); ++r) {
        QString key, value;
        const int status = m_grid->SaveCell(r, kColumnMaterial, &key);
        CClientVisitLine line;
        if (status == CGridCtrl::CELL_NOT_FOUND) {
            m_grid->ShowErrorTip(r, kColumnMaterial,
                                 TrAdd("Ошибка", "CDClientsVisitsAdd::OnApply"));
            *control = m_grid;
            *text = TrAdd("Услуга или материал не найдены в справочнике.",
                          "CDClientsVisitsAdd::OnApply");
            return false;
        }
        if (status == CGridCtrl::CELL_VALUE)
            line.material = key.toLongLong();
        if (m_grid->SaveCell(r, kColumnValue, &value) == CGridCtrl::CELL_VALUE)
            line.value = value;
        visit.lines << line;
    }
    qint64 reportId = -1;
    CDiaryVerdict refusal;
    QString error;
    if (WriteClientVisit(sql, visit, &reportId, &refusal, &error))
        return true;
    if (refusal.ok) {
        *control = this;
        *text = error;
        return false;
    }
    *text = refusal.text;
    switch (refusal.field) {
    case EDiaryField::Date:
        *control = m_date;
        break;
    case EDiaryField::WorkPlace:
        *control = m_workPlace;
        break;
    case EDiaryField::Worker1:
        *control = m_worker;
        break;
    case EDiaryField::VisitMaterial:
    case EDiaryField::VisitValue:
        m_grid->ShowErrorTip(refusal.row,
                             refusal.field == EDiaryField::VisitMaterial ? kColumnMaterial
                                                                         : kColumnValue,
                             refusal.text, refusal.title);
        *control = m_grid;
        break;
    default:
        *control = this;
    }
    return false;
}

// --- CDClientsVisits --------------------------------------------------------

CDClientsVisits::CxSQLListCtrlThis::CxSQLListCtrlThis(CDClientsVisits* tab)
    : CxSQLListCtrlEdit(tab), m_tab(tab) {}

void CDClientsVisits::CxSQLListCtrlThis::OnOpenRow(int row) {
    m_tab->OpenReportOfLine(Model()->RowKey(row));
}

CDClientsVisits::CDClientsVisits(QWidget* parent)
    : CDClientsTabBase(parent), m_list(new CxSQLListCtrlThis(this)), m_pages(new QTabWidget(this)),
      m_open(new QPushButton(ClientTabText("Открыть отчёт", "CDClientsVisits"), this)),
      m_mode(new QPushButton(this)),
      m_add(new QPushButton(ClientTabText("Добавить визит", "CDClientsVisits"), this)) {
    m_list->setObjectName(QStringLiteral("visitsList"));
    m_pages->setObjectName(QStringLiteral("addVisitPages"));
    m_pages->setTabsClosable(true);
    m_pages->hide();
    m_open->setObjectName(QStringLiteral("openReport"));
    m_mode->setObjectName(QStringLiteral("switchMode"));
    m_add->setObjectName(QStringLiteral("addVisit"));
    for (QPushButton* b : {m_open, m_mode, m_add})
        b->setAutoDefault(false);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(ClientTabText("Список визитов:", "CDClientsVisits"), this));
    bar->addStretch(1);
    bar->addWidget(m_open);
    bar->addWidget(m_mode);
    bar->addWidget(m_add);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_pages, 3);
    connect(m_open, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_EDIT); });
    connect(m_mode, &QPushButton::clicked, this, [this] { ProcessCommand(ID_VISITS_SWITCH_MODE); });
    connect(m_add, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_NEW); });
    connect(m_pages, &QTabWidget::tabCloseRequested, this, [this](int index) {
        QWidget* page = m_pages->widget(index);
        m_pages->removeTab(index);
        delete page;
        m_pages->setVisible(m_pages->count() > 0);
    });
    connect(m_list, &CxSQLListCtrl::currentKeyChanged, this,
            [this] { m_open->setEnabled(CanProcessCommand(ID_RECORD_EDIT)); });
}

void CDClientsVisits::SetUpList() {
    CxTable_DailyVisits* t = g_pDailyVisitsTable;
    ClearFilter();
    AddSQLFilter(QStringLiteral("{TABLE}.nClientID=%1").arg(GetClientID()));
    m_list->Begin(t, QStringLiteral("CDClientsVisits"));
    int date = -1;
    if (m_grouped) {
        m_list->RegisterField(t->m_ROWID);
        m_list->RegisterField(t->m_WORKPLACE_cString);
        m_list->RegisterField(t->m_WORKER1_cString);
        m_list->RegisterField(t->m_WORKER2_cString);
        m_list->RegisterField(t->m_WORKER3_cString);
        date = m_list->RegisterField(t->m_REPORT_dDate);
        m_list->AddGroupBy(t->m_nReportID);
    } else {
        date = m_list->RegisterField(t->m_REPORT_dDate);
        m_list->RegisterField(t->m_MATERIAL_cString);
        m_list->RegisterField(t->m_CountOrService);
    }
    m_list->AddFilter(this);
    // The newest visits first.
    m_list->Model()->sort(date, Qt::DescendingOrder);
    m_list->End();
    m_mode->setText(m_grouped ? ClientTabText("Подробно", "CDClientsVisits")
                              : ClientTabText("По отчётам", "CDClientsVisits"));
    m_open->setEnabled(CanProcessCommand(ID_RECORD_EDIT));
    m_listedClient = GetClientID();
}

bool CDClientsVisits::CanProcessCommand(unsigned id) const {
    switch (id) {
    case ID_VISITS_SWITCH_MODE:
    case ID_RECORD_NEW:
        return true;
    case ID_RECORD_EDIT:
    case ID_VISITS_OPEN_REPORT:
        return m_list->CurrentKey() >= 0;
    default:
        return false;
    }
}

bool CDClientsVisits::ProcessCommand(unsigned id) {
    switch (id) {
    case ID_VISITS_SWITCH_MODE:
        m_grouped = !m_grouped;
        SetUpList();
        return true;
    case ID_RECORD_EDIT:
    case ID_VISITS_OPEN_REPORT:
        return m_list->CurrentKey() >= 0 && OpenReportOfLine(m_list->CurrentKey());
    case ID_RECORD_NEW:
        return AddVisitPage() != nullptr;
    default:
        return false;
    }
}

bool CDClientsVisits::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    if (id != kIdToExcel && id != kIdFileToExcel)
        return false;
    return m_list->OnCmdMsg(id, ui);
}

CDClientsVisitsAdd* CDClientsVisits::AddVisitPage() {
    auto* page = new CDClientsVisitsAdd(m_pages);
    const auto title = [](const QDate& date) {
        return date.isValid() ? DateToText(date) : ClientTabText("Визит", "CDClientsVisits");
    };
    const int index = m_pages->addTab(page, title(page->DateEdit()->GetDate()));
    connect(page, &CDClientsVisitsAdd::dateChanged, this, [this, page, title](const QDate& d) {
        m_pages->setTabText(m_pages->indexOf(page), title(d));
    });
    m_pages->setCurrentIndex(index);
    m_pages->show();
    if (CxSQLEditForm* form = EditForm())
        form->WatchChanges(page);
    return page;
}

bool CDClientsVisits::OpenReportOfLine(qint64 visitRowId) {
    CxSQL* sql = Connection();
    CxResult r =
        sql ? sql->Execute(QStringLiteral("SELECT nReportID FROM dailyvisits WHERE ROWID=") +
                           QString::number(visitRowId))
            : CxResult();
    if (!r.isValid() || !r.FetchRow())
        return false;
    const qint64 report = r.LFieldValue(0);
    const QString address = QStringLiteral("sqledit:CDDiary:%1:%2").arg(report).arg(int(EA_EDIT));
    if (!CxDocManager::Instance()->CanOpen(address)) {
        CxMessage(this, CxMessageIcon::Information,
                  ClientTabText("Форма дневного отчёта недоступна в этой версии программы.",
                                "msgDiaryFormNotAvailable"));
        return false;
    }
    CxFormView* view =
        CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("CDDiary"), report, EA_EDIT);
    if (!view)
        return false;
    // The report form selects this client's row of its sheet.
    QMetaObject::invokeMethod(view, "SelectClient", Qt::DirectConnection,
                              Q_ARG(int, int(GetClientID())));
    return true;
}

void CDClientsVisits::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad() && m_listedClient != GetClientID())
        SetUpList();
}

bool CDClientsVisits::OnApply() {
    for (int i = 0; i < m_pages->count(); ++i) {
        auto* page = qobject_cast<CDClientsVisitsAdd*>(m_pages->widget(i));
        if (!page)
            continue;
        QWidget* control = nullptr;
        QString text;
        if (!page->Write(Connection(), GetClientID(), &control, &text)) {
            m_pages->setCurrentIndex(i);
            return FailAt(control, text);
        }
    }
    return true;
}

void CDClientsVisits::OnAfterCommit() {
    // The visits are in their reports now: the pages go, the list shows them.
    while (m_pages->count() > 0) {
        QWidget* page = m_pages->widget(0);
        m_pages->removeTab(0);
        delete page;
    }
    m_pages->hide();
    SetUpList();
}

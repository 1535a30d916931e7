#include "daily_report_form.h"

#include "diary/core/daily_report_store.h"
#include "diary/core/diary_verdict.h"
#include "framework/core/documents/document.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/menu_resource.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "model/config/configuration.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"
#include "redirections_page.h"
#include "visits_page.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
// The icon of daily reports and their sheets.
constexpr int kDiaryIcon = 1293;

constexpr CxTr Tr("CDDiary::DoDataExchange");

// Set while OpenDraft makes its form: the form then makes no sheet and
// applies no defaults of its own.
bool s_openingDraft = false;

// The key of a chosen directory row, or none.
qint64 ChosenRow(const CxSqlComboList* combo) {
    const qint64 key = combo->GetSelectedID();
    return key > 0 ? key : kNoDirRow;
}

void RegisterAddSheetMenu() {
    if (CxMenuResources::Has(CDDiary::IDR_ADD_SHEET_MENU))
        return;
    CxMenuResources::Register(
        CDDiary::IDR_ADD_SHEET_MENU,
        {CxMenuItem::Popup(
            QString(),
            {CxMenuItem::Command(CDDiary::ID_ADD_VISITS_SHEET,
                                 DiaryText("Отчет о визитах клиентов", "CDDiary")),
             CxMenuItem::Command(CDDiary::ID_ADD_REDIRECTIONS_SHEET,
                                 DiaryText("Переадресация и перенаправления", "CDDiary"))})});
}
} // namespace

CDDiary::CDDiary(QWidget* parent)
    : CxSQLEditForm(parent), m_date(new CDateTimeEditCtrl(this)), m_place(new CxSqlComboList(this)),
      m_worker1(new CxSqlComboList(this)), m_worker2(new CxSqlComboList(this)),
      m_worker3(new CxSqlComboList(this)), m_project(new CxComboList(this)),
      m_comment(new QLineEdit(this)), m_tabs(new CxTab(this)), m_addSheet(new QPushButton(this)),
      m_loadingDraft(s_openingDraft) {
    SetStateVariableName(QStringLiteral("Diary"));
    m_date->setObjectName(QStringLiteral("dDate"));
    m_place->setObjectName(QStringLiteral("nWorkPlace"));
    m_worker1->setObjectName(QStringLiteral("nWorker1"));
    m_worker2->setObjectName(QStringLiteral("nWorker2"));
    m_worker3->setObjectName(QStringLiteral("nWorker3"));
    m_project->setObjectName(QStringLiteral("nProject"));
    m_project->DisableSort();
    m_comment->setObjectName(QStringLiteral("cComment"));
    m_comment->setMaxLength(kDailyReportCommentLength);
    m_tabs->setObjectName(QStringLiteral("sheets"));

    // The header, each field after its caption: the day, place and project,
    // then the workers, then the comment across; the sheets get the rest.
    auto* header = new QGridLayout;
    const auto field = [&](int row, int column, const char* caption, QWidget* control) {
        auto* label = new QLabel(Tr(caption), this);
        label->setBuddy(control);
        // A caption that does not fit in one line goes on to a second.
        label->setWordWrap(true);
        header->addWidget(label, row, column * 2, Qt::AlignRight);
        header->addWidget(control, row, column * 2 + 1);
    };
    field(0, 0, "Дата предоставления услуг:", m_date);
    field(0, 1, "Пункт предоставления услуг:", m_place);
    field(0, 2, "Проект:", m_project);
    field(1, 0, "Основной предоставитель услуг:", m_worker1);
    field(1, 1, "Предоставитель услуг:", m_worker2);
    field(1, 2, "Предоставитель услуг:", m_worker3);
    auto* comment = new QLabel(Tr("Комментарий:"), this);
    comment->setBuddy(m_comment);
    header->addWidget(comment, 2, 0, Qt::AlignRight);
    header->addWidget(m_comment, 2, 1, 1, 5);
    for (int c = 1; c < 6; c += 2)
        header->setColumnStretch(c, 1);
    Body()->insertLayout(0, header);
    // Tab goes through the header as it reads, row by row, then to the sheets.
    const QList<QWidget*> order = {m_date,    m_place,   m_project, m_worker1,
                                   m_worker2, m_worker3, m_comment, m_tabs};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_addSheet->setObjectName(QStringLiteral("addSheet"));
    m_addSheet->setText(DiaryText("Добавить ведомость", "CDDiary"));
    m_addSheet->setToolTip(DiaryText("Добавить ведомость", "msgAddVedomost"));
    m_tabs->setCornerWidget(m_addSheet, Qt::TopRightCorner);
    Body()->insertWidget(1, m_tabs, 1);

    RegisterAddSheetMenu();
    connect(m_addSheet, &QPushButton::clicked, this, &CDDiary::OnAddSheet);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CDDiary::PageShown);
    // The last choices are remembered as the user makes them.
    for (CxSqlComboList* combo : {m_place, m_worker1}) {
        connect(combo, &QComboBox::activated, this, &CDDiary::SaveLastState);
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this, &CDDiary::SaveLastState);
    }
    connect(m_project, &QComboBox::activated, this, &CDDiary::SaveLastState);
}

CDDiary::~CDDiary() = default;

CxTable* CDDiary::GetDXTable() const {
    return g_pDailyReportTable.GetPtr();
}

QString CDDiary::GetTitleField() const {
    return QStringLiteral("dailyreport.dDate");
}

QList<CxGuardedRows> CDDiary::GuardedRows(qint64 key) const {
    return DailyReportGuardedRows(key);
}

qint64 CDDiary::ReportKey() const {
    const CDXRecordSQL* record = GetDXRecord();
    return record && GetDXEditMode() != EA_NEW ? record->GetKey() : -1;
}

QString CDDiary::GetVisitsName(int number) const {
    return DailyReportSheetTitle(EDiarySheetKind::Visits, number == -1 ? m_highest : number);
}

QString CDDiary::GetRedirName(int number) const {
    return DailyReportSheetTitle(EDiarySheetKind::Redirections, number == -1 ? m_highest : number);
}

void CDDiary::DoDataExchange(CDXX& dx) {
    CxTable_DailyReport* t = g_pDailyReportTable.GetPtr();
    if (dx.IsLoad() && !m_place->GetTable()) {
        m_place->SetControlInfo(g_pWorkPlaceTable.GetPtr());
        for (CxSqlComboList* worker : {m_worker1, m_worker2, m_worker3})
            worker->SetControlInfo(g_pWorkersTable.GetPtr());
        if (auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig()))
            m_project->SetEnum(&config->GetCurrentLanguage()->PrjList);
    }
    // The header rules of the save say what is missing; the bindings refuse
    // only a name that no row of the directory has.
    const bool fresh = dx.IsLoad() && GetDXEditMode() == EA_NEW && !m_loadingDraft;
    dx.DX(m_date, t->m_dDate);
    m_place->DX(dx, t->m_nWorkPlace);
    if (fresh && g_pOption_Diary->m_LoadLastPlace.Get() && COption_Diary::GetLastPlace() != -1)
        m_place->SetSelectedID(COption_Diary::GetLastPlace());
    m_worker1->DX(dx, t->m_nWorker1);
    if (fresh && g_pOption_Diary->m_LoadLastWorker.Get() && COption_Diary::GetLastWorker() != -1)
        m_worker1->SetSelectedID(COption_Diary::GetLastWorker());
    m_worker2->DX(dx, t->m_nWorker2);
    m_worker3->DX(dx, t->m_nWorker3);
    m_project->DX(dx, t->m_nProject);
    if (fresh && g_pOption_Diary->m_LoadLastProject.Get() && COption_Diary::GetLastProject() != -1)
        m_project->SetCurSelCode(COption_Diary::GetLastProject());
    dx.DX(m_comment, t->m_cComment);
    if (dx.IsLoad()) {
        // Long names show from their beginning.
        for (CxSqlComboList* combo : {m_place, m_worker1, m_worker2, m_worker3})
            combo->lineEdit()->setCursorPosition(0);
        if (!m_tabsBuilt)
            BuildTabs();
        SetInfobarStringIcon(DiaryText("Дневник\nЕжедневный отчет по выдаче материалов и "
                                       "оказанию услуг",
                                       "msgDiaryInfo"),
                             kDiaryIcon);
    }
}

void CDDiary::BuildTabs() {
    m_tabsBuilt = true;
    m_highest = -1;
    if (GetDXEditMode() == EA_NEW) {
        if (m_loadingDraft)
            return;
        if (auto* page = qobject_cast<CDDiaryVisits*>(AddSheet(true)))
            page->LoadLastPackage();
        return;
    }
    CDailyReportSheets sheets;
    QString error;
    if (!LoadDailyReportSheets(g_pBaseSQLConnection.get(), ReportKey(), &sheets, &error)) {
        CTarvikApp::AddErrorMessage(error);
        CxErrorListWnd::ShowList();
        return;
    }
    m_highest = qMax(m_highest, sheets.highest);
    for (const int number : sheets.visits) {
        auto* page = new CDDiaryVisits;
        page->SetVedID(number);
        AddPage(page, GetVisitsName(number));
    }
    for (const int number : sheets.redirections) {
        auto* page = new CDDiaryRedir;
        page->SetVedID(number);
        AddPage(page, GetRedirName(number));
    }
}

CDDiaryPage* CDDiary::AddPage(CDDiaryPage* page, const QString& title) {
    connect(page, &CDDiaryPage::edited, this, [this] { SetModified(true); });
    const int index = m_tabs->AddTab(title, page, kDiaryIcon);
    // The first tab shows at once.
    if (index == m_tabs->currentIndex())
        PageShown(index);
    return page;
}

CDDiaryPage* CDDiary::AddSheet(bool visits) {
    ++m_highest;
    CDDiaryPage* page = visits ? static_cast<CDDiaryPage*>(new CDDiaryVisits)
                               : static_cast<CDDiaryPage*>(new CDDiaryRedir);
    page->SetVedID(m_highest);
    AddPage(page, visits ? GetVisitsName(-1) : GetRedirName(-1));
    m_tabs->setCurrentIndex(m_tabs->count() - 1);
    PageShown(m_tabs->count() - 1);
    return page;
}

void CDDiary::PageShown(int index) {
    CDDiaryPage* page = Page(index);
    if (!page || page->IsCreated())
        return;
    if (page->CreatePage())
        WatchChanges(page);
}

int CDDiary::PageCount() const {
    return m_tabs->count();
}

CDDiaryPage* CDDiary::Page(int index) const {
    return qobject_cast<CDDiaryPage*>(m_tabs->GetTabWindow(index, false));
}

bool CDDiary::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    if (id == ID_ADD_VISITS_SHEET || id == ID_ADD_REDIRECTIONS_SHEET) {
        ui.enabled = GetDXEditMode() != EA_DELETE;
        return true;
    }
    return CxSQLEditForm::CanProcessCommand(id, ui);
}

bool CDDiary::ProcessCommand(unsigned id) {
    if (id == ID_ADD_VISITS_SHEET || id == ID_ADD_REDIRECTIONS_SHEET) {
        AddSheet(id == ID_ADD_VISITS_SHEET);
        SetModified(true);
        return true;
    }
    return CxSQLEditForm::ProcessCommand(id);
}

void CDDiary::OnAddSheet() {
    std::unique_ptr<QMenu> menu(CxMenuResources::Load(IDR_ADD_SHEET_MENU, this));
    QMenu* popup = menu && !menu->actions().isEmpty() ? menu->actions().first()->menu() : nullptr;
    if (!popup)
        return;
    QAction* chosen = popup->exec(m_addSheet->mapToGlobal(QPoint(0, m_addSheet->height())));
    if (const unsigned id = chosen ? CxMenuResources::ItemID(chosen) : 0)
        OnCmdMsg(id, nullptr);
}

void CDDiary::SaveLastState() {
    const qint64 place = m_place->GetSelectedID();
    const qint64 worker = m_worker1->GetSelectedID();
    if (place != -2)
        COption_Diary::SetLastPlace(int(place));
    if (worker != -2)
        COption_Diary::SetLastWorker(int(worker));
    COption_Diary::SetLastProject(int(m_project->GetCurSelCode()));
}

bool CDDiary::SelectClient(int clientId) {
    for (int i = 0; i < m_tabs->count(); ++i) {
        auto* page = qobject_cast<CDDiaryVisits*>(Page(i));
        if (!page || !page->CreatePage())
            continue;
        if (page->SelectClientRow(clientId)) {
            m_tabs->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

CDailyReportHeader CDDiary::Header() const {
    CDailyReportHeader h;
    h.rowId = ReportKey();
    h.date = m_date->GetDate();
    h.workPlace = ChosenRow(m_place);
    h.worker1 = ChosenRow(m_worker1);
    h.worker2 = ChosenRow(m_worker2);
    h.worker3 = ChosenRow(m_worker3);
    h.project = qMax(0L, m_project->GetCurSelCode());
    h.comment = m_comment->text();
    if (const CDXRecordSQL* record = GetDXRecord())
        h.groupId = record->LFieldValue(QStringLiteral("nGroupID"));
    return h;
}

bool CDDiary::Apply() {
    CDXRecordSQL* record = GetDXRecord();
    if (!record)
        return false;
    // A cell still being typed belongs to what is saved.
    for (int i = 0; i < m_tabs->count(); ++i)
        if (CDDiaryPage* page = Page(i); page && page->IsCreated())
            page->CommitEdits();
    const int mode = GetDXEditMode();
    CDailyReportSave save;
    save.action = mode == EA_NEW      ? EDailyReportAction::Insert
                  : mode == EA_DELETE ? EDailyReportAction::Delete
                                      : EDailyReportAction::Update;
    if (save.action != EDailyReportAction::Delete) {
        // The controls' own refusals (a name no directory row has); the
        // record only lends its fields to the check.
        const CDXRecordSQL::State state = record->SaveState();
        const bool checked = UpdateData(true);
        record->RestoreState(state);
        if (!checked) {
            ShowFailure(LastFailure().control, LastFailure().text);
            return false;
        }
    }
    save.header = Header();
    if (save.action != EDailyReportAction::Delete)
        for (int i = 0; i < m_tabs->count(); ++i)
            if (CDDiaryPage* page = Page(i); page && page->IsCreated())
                save.pages << page->SavePage();
    save.confirmDuplicate = [](qint64) { return Yes_NO_(DuplicateReportQuestion()) == IDYES; };
    save.loaded = &Guard();
    CxRowsFingerprint stored;
    save.stored = &stored;

    qint64 id = -1;
    CDiaryVerdict refusal;
    QString error;
    if (!SaveDailyReport(record->GetSQL(), save, &id, &refusal, &error)) {
        if (!refusal.ok) {
            ShowRefusal(refusal);
            if (refusal.key == QLatin1String(kReportChangedMeanwhileKey))
                OfferReopen();
        } else if (!error.isEmpty())
            ShowFailure(OKButton(),
                        DiaryText("Ежедневный отчет не сохранен: %1", "CDDiary::Apply").arg(error));
        // A "no" to the duplicate question leaves the form as it is.
        return false;
    }

    if (save.action != EDailyReportAction::Delete) {
        // The stored row from now on (a new report has its ROWID).
        if (std::unique_ptr<CDXRecordSQL> row =
                AllocateSQLDXRecord(record->GetTableName(), id, 1, record->GetSQL()))
            SetDXRecord(std::move(row), EA_EDIT);
        else
            SetDXEditMode(EA_EDIT);
    }
    OnAfterCommit();
    // The next save starts from what this one stored.
    SetGuard(stored);
    SetModified(false);
    UpdateTitle();
    // The journal that opened the form shows the stored report as its row.
    if (save.action != EDailyReportAction::Delete)
        emit recordSaved(id);
    return true;
}

void CDDiary::UpdateTitle() {
    setWindowTitle(RecordTitle());
    if (GetDocument())
        GetDocument()->SetTitle(windowTitle());
}

QWidget* CDDiary::FieldControl(const CDiaryVerdict& verdict) const {
    switch (verdict.field) {
    case EDiaryField::Date:
        return m_date;
    case EDiaryField::WorkPlace:
        return m_place;
    case EDiaryField::Worker1:
        return m_worker1;
    case EDiaryField::Project:
        return m_project;
    case EDiaryField::Comment:
        return m_comment;
    default:
        return OKButton();
    }
}

void CDDiary::ShowFailure(QWidget* control, const QString& text, const QString& title) {
    const QString message =
        text.isEmpty() ? DiaryText("Не удалось сохранить данные.", "msgSaveFailed") : text;
    ShowErrorList(title.isEmpty() ? message : title + QStringLiteral(": ") + message);
    if (control) {
        control->setFocus(Qt::OtherFocusReason);
        ShowErrorTip(control, message, title);
    }
}

void CDDiary::ShowErrorList(const QString& line) {
    CTarvikApp::AddErrorMessage(line);
    CxErrorListWnd::ShowList();
    // The list takes room from the form: the tip goes where the control
    // stands once the windows are laid out again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

void CDDiary::ShowRefusal(const CDiaryVerdict& verdict) {
    if (verdict.sheet < 0) {
        ShowFailure(FieldControl(verdict), verdict.text, verdict.title);
        return;
    }
    for (int i = 0; i < m_tabs->count(); ++i) {
        CDDiaryPage* page = Page(i);
        if (!page || !page->IsCreated() || page->GetVedID() != verdict.sheet)
            continue;
        m_tabs->setCurrentIndex(i);
        ShowErrorList(m_tabs->tabText(i) + QStringLiteral(": ") + verdict.text);
        page->ShowRefusal(verdict);
        return;
    }
    ShowFailure(OKButton(), verdict.text, verdict.title);
}

void CDDiary::LoadDraft(const CDailyReportDraft& draft) {
    m_loadingDraft = true;
    const CDailyReportHeader& h = draft.header;
    m_date->SetDate(h.date);
    m_place->SetSelectedID(h.workPlace > 0 ? h.workPlace : -1);
    m_worker1->SetSelectedID(h.worker1 > 0 ? h.worker1 : -1);
    m_worker2->SetSelectedID(h.worker2 > 0 ? h.worker2 : -1);
    m_worker3->SetSelectedID(h.worker3 > 0 ? h.worker3 : -1);
    m_project->SetCurSelCode(h.project > 0 ? long(h.project) : -1);
    m_comment->setText(h.comment);
    if (CDXRecordSQL* record = GetDXRecord())
        record->SetFieldValue(QStringLiteral("nGroupID"), long(qMax<qint64>(0, h.groupId)));
    while (m_tabs->count() != 0)
        m_tabs->RemoveTab(0);
    m_highest = -1;
    for (const CVisitsSheet& sheet : draft.sheets) {
        auto* page = new CDDiaryVisits;
        page->SetVedID(++m_highest);
        page->SetSheet(sheet);
        AddPage(page, GetVisitsName(-1));
        WatchChanges(page);
    }
    m_tabs->setCurrentIndex(0);
    m_loadingDraft = false;
    SetModified(true);
}

CDDiary* CDDiary::OpenDraft(const CDailyReportDraft& draft) {
    auto record = std::make_unique<CDXRecordSQL>(nullptr, g_pDailyReportTable->GetSQLTable());
    record->SetFieldValue(QStringLiteral("nGroupID"), long(qMax<qint64>(0, draft.header.groupId)));
    record->SetFieldValue(QStringLiteral("bIsFolder"), 0L);
    s_openingDraft = true;
    auto* form = qobject_cast<CDDiary*>(CxDocManager::Instance()->OpenSQLEditForm(
        QString::fromLatin1(staticMetaObject.className()), -1, EA_NEW, std::move(record)));
    s_openingDraft = false;
    if (form)
        form->LoadDraft(draft);
    return form;
}

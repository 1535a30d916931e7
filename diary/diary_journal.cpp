#include "diary_journal.h"

#include "daily_report_form.h"
#include "diary/core/daily_report_store.h"
#include "diary/core/diary_verdict.h"
#include "diary/core/journal_folder.h"
#include "framework/core/app/runtime_class.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "model/tables/table_set.h"

#include <QDate>
#include <QMenu>
#include <QTableView>

namespace {
constexpr int kDiaryIcon = 1293;

CJDiary::SheetLoader& Loader() {
    static CJDiary::SheetLoader loader;
    return loader;
}
} // namespace

CJDiaryMain::CJDiaryMain(QWidget* parent) : CxTabFormView(parent) {
    SetStateVariableName(QStringLiteral("DiaryMain"));
    CxClassRegistry::Register(CJDiary::GetThisClass());
    CxClassRegistry::Register(CDDiary::GetThisClass());
}

QString CJDiaryMain::GetTitleFormatString() const {
    return DiaryText("Отчетные журналы: %s", "CJDiaryMain::GetTitleFormatString");
}

void CJDiaryMain::OnLoadTab() {
    const int index = Tab()->AddTab(DiaryText("Визиты клиентов", "CJDiaryMain::OnLoadTab"),
                                    CJDiary::GetThisClass(), kDiaryIcon);
    Tab()->SetCurSel(index);
    Tab()->GetTabWindow(index, true);
}

bool CJDiaryMain::OnInitialUpdate() {
    OnLoadTab();
    return CxTabFormView::OnInitialUpdate();
}

void CJDiaryMain::OnSettingsChanged() {
    while (Tab()->GetCount() != 0)
        Tab()->RemoveTab(0);
    OnLoadTab();
    OnInitialSetTitle(GetDocument());
}

void CJDiary::SetSheetLoader(SheetLoader loader) {
    Loader() = std::move(loader);
}

CJDiary::CJDiary(QWidget* parent) : CxSQLListCtrlEdit(parent) {
    SetStateVariableName(QStringLiteral("JDiary"));
}

bool CJDiary::CreateInplaceWindow(QWidget* host) {
    if (!CxSQLListCtrlEdit::CreateInplaceWindow(host))
        return false;
    CxTable_DailyReport* t = g_pDailyReportTable.GetPtr();
    Begin(t, QStringLiteral("CJDiary"));
    for (const CxField* field :
         {t->m_ROWID, t->m_WORKPLACE_cString, t->m_WORKER1_cString, t->m_WORKER2_cString,
          t->m_WORKER3_cString, t->m_nProjectText, t->m_dDate, t->m_cComment, t->m_RGCODE_cOrgID,
          t->m_RGCODE_cOrgName})
        RegisterField(field, QString(), -1);
    EnableFolders(t->m_cComment, t->m_bIsFolder, t->m_nGroupID);
    End();
    SetDXEditorClass(CDDiary::GetThisClass());
    return true;
}

void CJDiary::OnCreateContextMenuAfter(QMenu* menu) {
    CxSQLListCtrlEdit::OnCreateContextMenuAfter(menu);
    if (!menu->isEmpty())
        menu->addSeparator();
    CxCmdUI ui;
    CanProcessCommand(ID_LOAD_SHEETS_HERE, ui);
    QAction* load = menu->addAction(
        DiaryText("Загрузить ведомость в эту папку", "CJDiary::OnCreateContextMenuAfter"), this,
        [this] { ProcessCommand(ID_LOAD_SHEETS_HERE); });
    load->setEnabled(ui.enabled);
}

bool CJDiary::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    if (id == ID_LOAD_SHEETS_HERE) {
        ui.enabled = bool(Loader());
        return true;
    }
    return CxSQLListCtrlEdit::CanProcessCommand(id, ui);
}

bool CJDiary::ProcessCommand(unsigned id) {
    if (id == ID_LOAD_SHEETS_HERE)
        return LoadSheetsHere();
    // A report goes with its sheets; folders are the list's own.
    if (id == EA_DELETE && CurrentKey() >= 0 && !IsCurrentFolder())
        return DeleteReport();
    return CxSQLListCtrlEdit::ProcessCommand(id);
}

bool CJDiary::LoadSheetsHere() {
    if (!Loader())
        return false;
    CDiaryLoadFolder folder;
    QString error;
    if (!ResolveDiaryLoadFolder(g_pBaseSQLConnection.get(), Model()->CurrentFolder(), &folder,
                                &error)) {
        CxMessage(this, CxMessageIcon::Error, error);
        return false;
    }
    if (Yes_NO_(DiaryLoadFolderQuestion(folder.name)) != IDYES)
        return false;
    Loader()(this, folder.id);
    return true;
}

QString CJDiary::RowName(int row) const {
    const CxTable_DailyReport* t = g_pDailyReportTable.GetPtr();
    QString date, place;
    for (int c = 0; c < Model()->columnCount(); ++c) {
        if (Model()->ColumnField(c) == t->m_dDate) {
            date = Model()->RowText(row, c);
            const QDate day = QDate::fromString(date.left(10), Qt::ISODate);
            if (day.isValid())
                date = day.toString(QStringLiteral("dd.MM.yyyy"));
        } else if (Model()->ColumnField(c) == t->m_WORKPLACE_cString)
            place = Model()->RowText(row, c);
    }
    return place.isEmpty() ? date : date + QStringLiteral(", ") + place;
}

bool CJDiary::DeleteReport() {
    const qint64 key = CurrentKey();
    const int row = View()->currentIndex().row();
    if (key < 0 || row < 0)
        return false;
    if (CxAsk(this, CxAskKind::YesNo,
              DiaryText("Удалить запись «%1»?", "msgDeleteRecordAsk").arg(RowName(row))) != IDYES)
        return false;
    CDailyReportSave save;
    save.action = EDailyReportAction::Delete;
    save.header.rowId = key;
    qint64 id = -1;
    CDiaryVerdict refusal;
    QString error;
    if (!SaveDailyReport(g_pBaseSQLConnection.get(), save, &id, &refusal, &error)) {
        const QString text = !refusal.ok ? refusal.text : error;
        CTarvikApp::AddErrorMessage(text);
        CxMessage(this, CxMessageIcon::Warning,
                  DiaryText("Запись нельзя удалить: %1", "msgCantDelete").arg(text));
        return false;
    }
    Model()->Reload();
    return true;
}

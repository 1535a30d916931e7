#include "sql_list_ctrl.h"

#include "framework/core/app/runtime_class.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/field_flags.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/export/excel_export.h"
#include "framework/widgets/export/xlsx_export.h"
#include "framework/widgets/forms/dx_form.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_edit_form.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/message_box.h"
#include "sql_search_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The rows a column's width is fitted to.
constexpr int kFitRows = 100;

constexpr CxTr Tr;

// The list's model with the looks of the widget side: folders with their
// icon and name, column colours.
class ListViewModel : public CxSQLListModel {
public:
    using CxSQLListModel::CxSQLListModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (index.isValid() &&
            (role == Qt::DecorationRole || role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
            const int shown = FolderColumn();
            if (index.column() == shown && CxSQLListModel::data(index, IsFolderRole).toBool()) {
                if (role == Qt::DecorationRole)
                    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
                const int name = NameColumn();
                if (name >= 0 && name != shown)
                    return CxSQLListModel::data(this->index(index.row(), name), role);
            }
        }
        if (role == Qt::ForegroundRole) {
            const QVariant rgb = CxSQLListModel::data(index, TextColorRole);
            if (rgb.isValid())
                return QColor::fromRgba(rgb.toUInt());
        }
        return CxSQLListModel::data(index, role);
    }

private:
    int NameColumn() const {
        for (int c = 0; c < columnCount(); ++c)
            if (ColumnField(c) == FolderNameField())
                return c;
        return -1;
    }
    // Where a folder row shows its icon and name: the first column that is
    // not the key, so that a list whose name column stands far to the right
    // (the daily reports' comment) still shows its folders at once.
    int FolderColumn() const {
        for (int c = 0; c < columnCount(); ++c) {
            const CxField* field = ColumnField(c);
            if (field == FolderNameField() || (field && !field->Is(FF_KEY)))
                return c;
        }
        return 0;
    }
};

// A form without controls around one record, for records the list makes
// itself (folders).
class RecordOnlyForm : public CDXForm {
public:
    explicit RecordOnlyForm(QWidget* widget) : m_widget(widget) {}
    void DoDataExchange(CDXX&) override {}
    QWidget* DXWidget() override { return m_widget; }

private:
    QWidget* m_widget;
};
} // namespace

CxSQLListCtrl::CxSQLListCtrl(QWidget* parent)
    : QWidget(parent), m_model(new ListViewModel(this)), m_view(new QTableView(this)),
      m_search(new CxSQLSearchPanel(this)), m_folderBar(new QWidget(this)),
      m_up(new QToolButton(m_folderBar)), m_path(new QLabel(m_folderBar)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout(m_folderBar);
    bar->setContentsMargins(2, 0, 2, 0);
    m_up->setObjectName(QStringLiteral("folderUp"));
    m_up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    m_up->setToolTip(Tr(QStringLiteral("В папку выше"), "CxSQLListCtrl"));
    m_up->setAutoRaise(true);
    m_path->setObjectName(QStringLiteral("folderPath"));
    bar->addWidget(m_up);
    bar->addWidget(m_path, 1);
    m_folderBar->hide();
    layout->addWidget(m_folderBar);
    m_view->setObjectName(QStringLiteral("list"));
    // The keys given to the list go to its rows (Insert, Enter, Delete).
    setFocusProxy(m_view);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSortingEnabled(true);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    // A column is fitted to the rows on the screen and a few around them, not
    // to a thousand rows at each page read: a user scrolling through a long
    // list reads pages where the rows are.
    m_view->horizontalHeader()->setResizeContentsPrecision(kFitRows);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->installEventFilter(this);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    split->addWidget(m_view);
    split->addWidget(m_search);
    split->setStretchFactor(0, 1);
    m_search->hide();
    m_search->Filter()->SetActive(false);
    layout->addWidget(split, 1);
    connect(m_search, &CxSQLSearchPanel::changed, this, &CxSQLListCtrl::OnSearchChanged);
    connect(m_up, &QToolButton::clicked, this, &CxSQLListCtrl::FolderUp);
    connect(m_view, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OnOpenRow(index.row()); });
    connect(m_view, &QWidget::customContextMenuRequested, this, &CxSQLListCtrl::ShowContextMenu);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            &CxSQLListCtrl::RememberCurrent);
    connect(m_model, &CxSQLListModel::reloaded, this, &CxSQLListCtrl::RestoreCurrent);
    // Rows read later (a new item, the next page) may be wider than the
    // first ones: the columns follow, but a width the user chose stays.
    connect(m_model, &CxSQLListModel::reloaded, this, [this] { FitColumns(false); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { FitColumns(false); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fitting)
            m_userSized.insert(column);
    });
    connect(m_model, &CxSQLListModel::loadFailed, this, [](const CxSQLError&) {
        CTarvikApp::AddErrorMessage(
            Tr(QStringLiteral("Не удалось прочитать строки списка."), "msgListLoadFailed"));
        CxErrorListWnd::ShowList();
    });
}

CxSQLListCtrl::~CxSQLListCtrl() = default;

void CxSQLListCtrl::FitColumns(bool first) {
    // Wide enough for the caption and the rows read so far, up to a width
    // that still leaves room for the other columns; after the first fit
    // never narrower than before, so a column does not jump while the user
    // reads it.
    constexpr int kMinWidth = 60;
    constexpr int kMaxWidth = 420;
    QHeaderView* header = m_view->horizontalHeader();
    m_fitting = true;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (m_userSized.contains(c))
            continue;
        const int before = header->sectionSize(c);
        m_view->resizeColumnToContents(c);
        int width = qBound(kMinWidth, header->sectionSize(c), kMaxWidth);
        if (!first)
            width = qMax(width, before);
        header->resizeSection(c, width);
    }
    m_fitting = false;
}

void CxSQLListCtrl::Begin(CxTable* table, const QString& name) {
    m_model->Begin(table, name);
    if (m_stateName.isEmpty())
        m_stateName = name;
    m_view->setObjectName(name.isEmpty() ? QStringLiteral("list") : name);
}

int CxSQLListCtrl::RegisterField(const CxField* field, const QString& caption, qint64 flags) {
    return m_model->RegisterField(field, caption, flags);
}

void CxSQLListCtrl::EnableFolders(const CxField* name, const CxField* mark, const CxField* parent) {
    m_model->EnableFolders(name, mark, parent);
}

void CxSQLListCtrl::AddFilter(const CxSQLFilter* filter) {
    m_model->AddFilter(filter);
}

void CxSQLListCtrl::AddGroupBy(const CxField* field) {
    m_model->AddGroupBy(field);
}

CxColumnData* CxSQLListCtrl::FindSColumnData(const CxField* field) {
    return m_model->FindSColumnData(field);
}

bool CxSQLListCtrl::End() {
    // The search of the last session narrows the first rows already.
    m_search->SetColumns(m_model->Columns());
    if (!m_stateName.isEmpty()) {
        m_search->RestoreState(
            CTarvikApp::GetProfileString(SearchStateKey(), QStringLiteral("Search")));
        const bool shown =
            CTarvikApp::GetProfileInt(SearchStateKey(), QStringLiteral("SearchPanel"), 0) != 0;
        m_search->setVisible(shown);
        m_search->Filter()->SetActive(shown);
    }
    m_model->AddFilter(m_search->Filter());
    const bool loaded = m_model->End();
    m_view->horizontalHeader()->setSortIndicator(m_model->SortColumn(), m_model->SortOrder());
    m_userSized.clear();
    FitColumns(true);
    RestoreState();
    m_folderBar->setVisible(m_model->HasFolders());
    UpdateFolderBar();
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
    return loaded;
}

bool CxSQLListCtrl::CreateInplaceWindow(QWidget*) {
    return true;
}

qint64 CxSQLListCtrl::CurrentKey() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_model->RowKey(current.row()) : -1;
}

bool CxSQLListCtrl::IsCurrentFolder() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() && m_model->IsFolderRow(current.row());
}

bool CxSQLListCtrl::SelectKey(qint64 key) {
    int row = m_model->FindRow(key);
    if (row < 0 && m_model->HasFolders()) {
        const qint64 folder = m_model->ParentOf(key);
        if (folder >= 0 && folder != m_model->CurrentFolder() && OpenFolder(folder))
            row = m_model->FindRow(key);
    }
    if (row < 0)
        return false;
    m_view->setCurrentIndex(m_model->index(row, 0));
    m_view->scrollTo(m_model->index(row, 0));
    return true;
}

bool CxSQLListCtrl::OpenFolder(qint64 folder) {
    if (!m_model->SetFolder(folder))
        return false;
    UpdateFolderBar();
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
    return true;
}

bool CxSQLListCtrl::FolderUp() {
    if (!m_model->HasFolders() || m_model->CurrentFolder() == 0)
        return false;
    const qint64 from = m_model->CurrentFolder();
    const auto path = m_model->FolderPath();
    const qint64 up = path.size() >= 2 ? path[path.size() - 2].first : 0;
    if (!OpenFolder(up))
        return false;
    // The folder left behind is the current row.
    SelectKey(from);
    return true;
}

void CxSQLListCtrl::UpdateFolderBar() {
    if (!m_model->HasFolders())
        return;
    QStringList names{Tr(QStringLiteral("Корень"), "CxSQLListCtrl")};
    for (const auto& folder : m_model->FolderPath())
        names << folder.second;
    m_path->setText(names.join(QStringLiteral(" / ")));
    m_up->setEnabled(m_model->CurrentFolder() != 0);
}

void CxSQLListCtrl::RememberCurrent() {
    const QModelIndex current = m_view->currentIndex();
    m_rememberedRow = current.isValid() ? current.row() : -1;
    m_rememberedKey = current.isValid() ? m_model->RowKey(current.row()) : -1;
}

void CxSQLListCtrl::RestoreCurrent() {
    int row = -1;
    if (m_rememberedKey >= 0)
        for (int i = 0; i < m_model->rowCount() && row < 0; ++i)
            if (m_model->RowKey(i) == m_rememberedKey)
                row = i;
    // A row that went keeps the place: the row after it becomes current.
    if (row < 0 && m_rememberedRow >= 0 && m_model->rowCount() > 0)
        row = qMin(m_rememberedRow, m_model->rowCount() - 1);
    if (row >= 0)
        m_view->setCurrentIndex(m_model->index(row, qMax(0, m_view->currentIndex().column())));
    m_rememberedKey = -1;
    m_rememberedRow = -1;
    UpdateFolderBar();
}

void CxSQLListCtrl::StoreState() {
    if (!m_stateName.isEmpty())
        CTarvikApp::WriteProfileString(
            QStringLiteral("State\\") + m_stateName, QStringLiteral("Columns"),
            QString::fromLatin1(m_view->horizontalHeader()->saveState().toBase64()));
}

void CxSQLListCtrl::RestoreState() {
    if (m_stateName.isEmpty())
        return;
    const QByteArray state =
        QByteArray::fromBase64(CTarvikApp::GetProfileString(QStringLiteral("State\\") + m_stateName,
                                                            QStringLiteral("Columns"))
                                   .toLatin1());
    // Only a layout of as many columns as the list has now.
    if (!state.isEmpty()) {
        auto* header = m_view->horizontalHeader();
        const int sortColumn = header->sortIndicatorSection();
        const Qt::SortOrder order = header->sortIndicatorOrder();
        if (header->restoreState(state) && header->count() == m_model->columnCount())
            header->setSortIndicator(sortColumn, order);
    }
}

bool CxSQLListCtrl::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    return CxAnswerCommand(
        id, ui, [this](unsigned c, CxCmdUI& state) { return CanProcessCommand(c, state); },
        [this](unsigned c) { return ProcessCommand(c); });
}

QString CxSQLListCtrl::ExportToExcel() {
    // The sheet is named as the window that shows the list.
    QString name;
    for (const QWidget* w = this; w && name.isEmpty(); w = w->parentWidget())
        name = w->windowTitle();
    return CxExportToExcel(this, name,
                           [this, name](const QString& path, CvProgress* progress, QString* error) {
                               return WriteListXlsx(*m_model, name, path, progress, error);
                           });
}

bool CxSQLListCtrl::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    // Every list exports itself, whatever else it answers.
    if (id == kIdToExcel || id == kIdFileToExcel) {
        ui.enabled = GetTable() != nullptr;
        return true;
    }
    if (id != ID_LIST_SEARCH_PANEL)
        return false;
    ui.enabled = m_search->HasFields();
    ui.checkable = true;
    ui.checked = !m_search->isHidden();
    return true;
}

bool CxSQLListCtrl::ProcessCommand(unsigned id) {
    if ((id == kIdToExcel || id == kIdFileToExcel) && GetTable()) {
        ExportToExcel();
        return true;
    }
    if (id != ID_LIST_SEARCH_PANEL || !m_search->HasFields())
        return false;
    ShowSearchPanel(m_search->isHidden());
    return true;
}

void CxSQLListCtrl::ShowSearchPanel(bool show) {
    m_search->setVisible(show);
    if (!m_stateName.isEmpty())
        CTarvikApp::WriteProfileInt(SearchStateKey(), QStringLiteral("SearchPanel"), show ? 1 : 0);
    const bool narrows = m_search->Filter()->HasCriteria();
    m_search->Filter()->SetActive(show);
    if (narrows)
        ReadSearchResult();
}

void CxSQLListCtrl::OnSearchChanged() {
    if (!m_stateName.isEmpty())
        CTarvikApp::WriteProfileString(SearchStateKey(), QStringLiteral("Search"),
                                       m_search->SaveState());
    ReadSearchResult();
}

void CxSQLListCtrl::ReadSearchResult() {
    // Other rows, not more of the same: the first page of the current
    // folder, however far the user had scrolled before.
    m_model->SetFolder(m_model->CurrentFolder());
}

void CxSQLListCtrl::OnOpenRow(int row) {
    if (!m_model->IsFolderRow(row))
        return;
    // The rows of the folder keep the keys the user opened it with.
    const bool hadFocus = m_view->hasFocus();
    OpenFolder(m_model->RowKey(row));
    if (hadFocus)
        m_view->setFocus(Qt::OtherFocusReason);
}

void CxSQLListCtrl::OnCreateContextMenuBefore(QMenu*) {}

void CxSQLListCtrl::OnCreateContextMenuAfter(QMenu*) {}

void CxSQLListCtrl::ShowContextMenu(const QPoint& pos) {
    QMenu menu(this);
    OnCreateContextMenuBefore(&menu);
    OnCreateContextMenuAfter(&menu);
    if (!menu.isEmpty())
        menu.exec(m_view->viewport()->mapToGlobal(pos));
}

bool CxSQLListCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            m_view->currentIndex().isValid()) {
            OnOpenRow(m_view->currentIndex().row());
            return true;
        }
        if (key->key() == Qt::Key_Backspace && FolderUp())
            return true;
        if (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete) {
            const unsigned id = key->key() == Qt::Key_Insert ? EA_NEW : EA_DELETE;
            CxCmdUI ui;
            if (CanProcessCommand(id, ui) && ui.enabled) {
                ProcessCommand(id);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- editing ---

void CDXList::SetDXEditorClass(const QMetaObject* formClass) {
    CxClassRegistry::Register(formClass);
    m_editorName = formClass ? QString::fromLatin1(formClass->className()) : QString();
}

void CDXList::SetDXEditorClass(const QString& formClassName) {
    m_editorName = formClassName;
}

const QMetaObject* CDXList::GetDXEditorClass() const {
    return m_editorName.isEmpty() ? nullptr : CxClassRegistry::Find(m_editorName);
}

std::unique_ptr<CDXRecordSQL> CDXList::AllocateDXRecord(qint64) {
    return nullptr;
}

CxSQLListCtrlEdit::CxSQLListCtrlEdit(QWidget* parent) : CxSQLListCtrl(parent) {}

bool CxSQLListCtrlEdit::OpenRecord(qint64 key, int mode) {
    const QMetaObject* form = GetDXEditorClass();
    if (!form || !GetTable())
        return false;
    std::unique_ptr<CDXRecordSQL> record;
    if (mode == EA_NEW) {
        // A new row belongs to the folder the list shows.
        record =
            std::make_unique<CDXRecordSQL>(Model()->GetConnection(), GetTable()->GetSQLTable());
        if (const CxField* parent = Model()->FolderParentField())
            record->SetFieldValue(parent->GetColumn(), long(Model()->CurrentFolder()));
        if (const CxField* mark = Model()->FolderMarkField())
            record->SetFieldValue(mark->GetColumn(), 0L);
    } else {
        record = AllocateDXRecord(key);
    }
    CxFormView* view = CxDocManager::Instance()->OpenSQLEditForm(
        QString::fromLatin1(form->className()), key, mode, std::move(record));
    if (!view)
        return false;
    // A new record, once saved, is the list's current row: the user sees
    // what was added.
    if (auto* form = qobject_cast<CxSQLEditForm*>(view); form && mode == EA_NEW)
        connect(form, &CxSQLEditForm::recordSaved, this, [this](qint64 saved) {
            Model()->Reload();
            SelectKey(saved);
        });
    OnBeforeReleaseDXForm(view);
    return true;
}

void CxSQLListCtrlEdit::OnPreCreateFolder(CDXX&) {}

bool CxSQLListCtrlEdit::NewFolder(const QString& name) {
    CxSQLListModel* model = Model();
    if (!model->HasFolders() || !GetTable() || name.trimmed().isEmpty())
        return false;
    RecordOnlyForm form(this);
    form.SetDXRecord(
        std::make_unique<CDXRecordSQL>(model->GetConnection(), GetTable()->GetSQLTable()), EA_NEW);
    CDXRecordSQL* record = form.GetDXRecord();
    record->SetFieldValue(model->FolderNameField()->GetColumn(), name.trimmed());
    record->SetFieldValue(model->FolderMarkField()->GetColumn(), 1L);
    record->SetFieldValue(model->FolderParentField()->GetColumn(), long(model->CurrentFolder()));
    CDXX dx(&form, true);
    OnPreCreateFolder(dx);
    CxDXError error;
    if (!record->ApplyDXRecordAction(EA_NEW, &error)) {
        CTarvikApp::AddErrorMessage(error.message);
        CxErrorListWnd::ShowList();
        return false;
    }
    model->Reload();
    SelectKey(record->GetKey());
    return true;
}

bool CxSQLListCtrlEdit::DeleteCurrent() {
    const qint64 key = CurrentKey();
    if (key < 0 || !GetTable())
        return false;
    const QModelIndex current = View()->currentIndex();
    QString name;
    for (int c = 0; c < Model()->columnCount() && name.isEmpty(); ++c)
        if (Model()->ColumnField(c) == GetTable()->GetNameField() ||
            Model()->ColumnField(c) == Model()->FolderNameField())
            name = Model()->RowText(current.row(), c);
    const QString question =
        (IsCurrentFolder() ? Tr(QStringLiteral("Удалить папку «%1»?"), "msgDeleteFolderAsk")
                           : Tr(QStringLiteral("Удалить запись «%1»?"), "msgDeleteRecordAsk"))
            .arg(name);
    CxSQL* sql = Model()->GetConnection() ? Model()->GetConnection() : g_pBaseSQLConnection.get();
    // Another copy of the program may change or delete the row while the
    // question is up: what goes is the row as it was when the user was asked.
    CxRowsFingerprint guard;
    CxDXError error;
    if (!guard.Take(sql,
                    {CxGuardedRows{GetTable()->GetSQLTable(),
                                   QStringLiteral("ROWID=") + QString::number(key),
                                   {}}},
                    &error.message)) {
        CTarvikApp::AddErrorMessage(error.message);
        CxErrorListWnd::ShowList();
        return false;
    }
    if (CxAsk(this, CxAskKind::YesNo, question) != IDYES)
        return false;
    QString reason;
    if (!IsSafeToDelete(GetTable(), key, 0, &reason, Model()->GetConnection())) {
        CxMessage(this, CxMessageIcon::Warning,
                  Tr(QStringLiteral("Запись нельзя удалить: %1"), "msgCantDelete").arg(reason));
        return false;
    }
    // The row and the rows of its sub-tables go together or not at all.
    CDXRecordSQL record(sql, GetTable()->GetSQLTable());
    record.SetDXIndex(QString::number(key));
    bool unchanged = true;
    bool deleted = sql->BeginTransaction() && guard.CheckUnchanged(sql, &unchanged, &error.message);
    if (deleted && !unchanged) {
        error.message = CxRowsFingerprint::ChangedMeanwhileText();
        deleted = false;
    }
    deleted = deleted && DeleteOwnedRows(GetTable(), key, sql, &error.message) &&
              record.ApplyDXRecordAction(EA_DELETE, &error) && sql->CommitTransaction();
    if (!deleted) {
        if (error.message.isEmpty())
            error.message = Tr(QStringLiteral("Не удалось удалить запись."), "msgDeleteFailed");
        sql->RollbackAfterFailure(&error.message);
        CTarvikApp::AddErrorMessage(error.message);
        CxErrorListWnd::ShowList();
        if (!unchanged)
            Model()->Reload(); // the list shows the row as it is now
        return false;
    }
    Model()->Reload();
    return true;
}

bool CxSQLListCtrlEdit::AskFolderName(QString* name) {
    bool ok = false;
    *name = QInputDialog::getText(this, Tr(QStringLiteral("Новая папка"), "CxSQLListCtrlEdit"),
                                  Tr(QStringLiteral("Название папки:"), "CxSQLListCtrlEdit"),
                                  QLineEdit::Normal, QString(), &ok);
    return ok && !name->trimmed().isEmpty();
}

bool CxSQLListCtrlEdit::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    switch (id) {
    case EA_EDIT:
        ui.enabled = CurrentKey() >= 0 && (IsCurrentFolder() || HasDXEditor());
        return true;
    case EA_NEW:
        ui.enabled = HasDXEditor();
        return true;
    case EA_DELETE:
        ui.enabled = CurrentKey() >= 0;
        return true;
    case ID_LIST_NEW_FOLDER:
        ui.enabled = Model()->HasFolders();
        return true;
    default:
        return CxSQLListCtrl::CanProcessCommand(id, ui);
    }
}

bool CxSQLListCtrlEdit::ProcessCommand(unsigned id) {
    // Run directly (a key, a menu of the list), a command still runs only
    // while it is enabled: no edit without a current row.
    CxCmdUI ui;
    if (CanProcessCommand(id, ui) && !ui.enabled)
        return false;
    switch (id) {
    case EA_EDIT:
        if (IsCurrentFolder())
            return OpenFolder(CurrentKey());
        return OpenRecord(CurrentKey(), EA_EDIT);
    case EA_NEW:
        return OpenRecord(-1, EA_NEW);
    case EA_DELETE:
        return DeleteCurrent();
    case ID_LIST_NEW_FOLDER: {
        QString name;
        return AskFolderName(&name) && NewFolder(name);
    }
    default:
        return CxSQLListCtrl::ProcessCommand(id);
    }
}

void CxSQLListCtrlEdit::OnOpenRow(int row) {
    if (Model()->IsFolderRow(row)) {
        CxSQLListCtrl::OnOpenRow(row);
        return;
    }
    OpenRecord(Model()->RowKey(row), EA_EDIT);
}

void CxSQLListCtrlEdit::OnCreateContextMenuBefore(QMenu* menu) {
    const auto add = [&](unsigned id, const QString& text) {
        CxCmdUI ui;
        CanProcessCommand(id, ui);
        // Run once the menu has gone: a window the command opens gets the
        // focus, which the closing menu would otherwise give back to the list.
        QAction* action = menu->addAction(text, this, [this, id] {
            QMetaObject::invokeMethod(
                this, [this, id] { ProcessCommand(id); }, Qt::QueuedConnection);
        });
        action->setEnabled(ui.enabled);
    };
    add(EA_EDIT, Tr(QStringLiteral("Открыть"), "CxSQLListCtrlEdit"));
    add(EA_NEW, Tr(QStringLiteral("Добавить"), "CxSQLListCtrlEdit"));
    add(EA_DELETE, Tr(QStringLiteral("Удалить"), "CxSQLListCtrlEdit"));
    if (Model()->HasFolders()) {
        menu->addSeparator();
        add(ID_LIST_NEW_FOLDER, Tr(QStringLiteral("Создать папку"), "CxSQLListCtrlEdit"));
    }
}

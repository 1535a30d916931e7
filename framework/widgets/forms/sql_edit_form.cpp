#include "sql_edit_form.h"

#include "date_edit.h"
#include "framework/core/documents/document.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/message_box.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;
} // namespace

CxSQLEditForm::CxSQLEditForm(QWidget* parent) : CxFormView(parent) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(Tr(QStringLiteral("ОК"), "CxSQLEditForm"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(Tr(QStringLiteral("Отмена"), "CxSQLEditForm"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    Body()->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &CxSQLEditForm::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &CxSQLEditForm::OnCancel);
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    save->setContext(Qt::WidgetWithChildrenShortcut);
    connect(save, &QShortcut::activated, this, &CxSQLEditForm::OnOK);
}

CxSQLEditForm::~CxSQLEditForm() = default;

QString CxSQLEditForm::GetTitleField() const {
    CxTable* table = GetDXTable();
    const CxField* name = table ? table->GetNameField() : nullptr;
    return name ? table->GetSQLTable() + u'.' + name->GetColumn() : QString();
}

bool CxSQLEditForm::OnInitialUpdate() {
    auto* document = qobject_cast<CxSQLDocument*>(GetDocument());
    CxTable* table = GetDXTable();
    if (!document || !table)
        return false;
    std::unique_ptr<CDXRecordSQL> record = document->TakeRecord();
    const int mode = document->GetEditMode() ? document->GetEditMode() : EA_NEW;
    // The fingerprint comes before the rows are read: a change in between
    // makes the save refuse rather than overwrite it unseen.
    if (mode != EA_NEW &&
        !TakeGuard(record ? record->GetSQL() : g_pBaseSQLConnection.get(), document->GetKey()))
        return false;
    m_guardTaken = mode != EA_NEW;
    if (!record)
        record = AllocateSQLDXRecord(table->GetSQLTable(), mode == EA_NEW ? -1 : document->GetKey(),
                                     mode == EA_NEW ? 0 : 1);
    if (!record) {
        CxMessage(this, CxMessageIcon::Warning,
                  Tr(QStringLiteral("Запись не найдена: возможно, ее удалили."), "msgRecordGone"));
        return false;
    }
    return LoadRecord(std::move(record), mode) && CxFormView::OnInitialUpdate();
}

bool CxSQLEditForm::LoadRecord(std::unique_ptr<CDXRecordSQL> record, int mode) {
    const bool guarded = m_guardTaken;
    m_guardTaken = false;
    if (!guarded) {
        m_guard.Clear();
        if (mode != EA_NEW && record && !TakeGuard(record->GetSQL(), record->GetKey()))
            return false;
    }
    SetDXRecord(std::move(record), mode);
    m_loading = true;
    const bool loaded = UpdateData(false);
    m_loading = false;
    WatchChanges(this);
    m_modified = false;
    UpdateTitle();
    return loaded;
}

void CxSQLEditForm::WatchChanges(QWidget* root) {
    const auto changed = [this] {
        if (!m_loading)
            m_modified = true;
    };
    for (QLineEdit* e : root->findChildren<QLineEdit*>())
        if (!e->property("cxWatched").toBool()) {
            e->setProperty("cxWatched", true);
            connect(e, &QLineEdit::textEdited, this, changed);
            // Enter in a line edit is OK (after the edit has had the key),
            // except the Enter that chose from a completion list. The edit
            // hears that Enter before its list takes it: the list is still
            // open then, and the choice is made only after.
            if (QCompleter* completer = e->completer())
                connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), e, [e] {
                    e->setProperty("cxJustCompleted", true);
                    QTimer::singleShot(0, e, [e] { e->setProperty("cxJustCompleted", {}); });
                });
            connect(e, &QLineEdit::returnPressed, this, [this, e] {
                if (const QCompleter* completer = e->completer();
                    completer && completer->popup() && completer->popup()->isVisible())
                    return;
                QMetaObject::invokeMethod(
                    e,
                    [this, e] {
                        if (!e->property("cxJustCompleted").toBool())
                            OnOK();
                    },
                    Qt::QueuedConnection);
            });
        }
    for (QPlainTextEdit* e : root->findChildren<QPlainTextEdit*>())
        if (!e->property("cxWatched").toBool()) {
            e->setProperty("cxWatched", true);
            connect(e->document(), &QTextDocument::contentsChange, this,
                    [changed](int, int removed, int added) {
                        if (removed || added)
                            changed();
                    });
        }
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->isCheckable() && !b->property("cxWatched").toBool()) {
            b->setProperty("cxWatched", true);
            connect(b, &QAbstractButton::clicked, this, changed);
        }
    for (QComboBox* c : root->findChildren<QComboBox*>())
        if (!c->property("cxWatched").toBool()) {
            c->setProperty("cxWatched", true);
            connect(c, &QComboBox::activated, this, changed);
        }
    for (CDateTimeEditCtrl* d : root->findChildren<CDateTimeEditCtrl*>())
        if (!d->property("cxWatched").toBool()) {
            d->setProperty("cxWatched", true);
            connect(d, &CDateTimeEditCtrl::dateChanged, this, changed);
        }
}

QList<CxGuardedRows> CxSQLEditForm::GuardedRows(qint64 key) const {
    CxTable* table = GetDXTable();
    if (!table)
        return {};
    return {
        CxGuardedRows{table->GetSQLTable(), QStringLiteral("ROWID=") + QString::number(key), {}}};
}

bool CxSQLEditForm::TakeGuard(CxSQL* sql, qint64 key) {
    if (key <= 0 || !sql) {
        m_guard.Clear();
        return true;
    }
    QString error;
    if (m_guard.Take(sql, GuardedRows(key), &error))
        return true;
    CTarvikApp::AddErrorMessage(error);
    return false;
}

bool CxSQLEditForm::OnApply() {
    const int mode = GetDXEditMode();
    if ((mode == EA_EDIT || mode == EA_DELETE) && m_guard.IsTaken() && GetDXRecord()) {
        bool unchanged = true;
        QString error;
        if (!m_guard.CheckUnchanged(GetDXRecord()->GetSQL(), &unchanged, &error))
            return Fail(this, error);
        if (!unchanged) {
            m_changedMeanwhile = true;
            return Fail(this, CxRowsFingerprint::ChangedMeanwhileText());
        }
    }
    if (GetDXEditMode() == EA_DELETE && GetDXRecord() && GetDXTable()) {
        QString reason;
        if (!IsSafeToDelete(GetDXTable(), GetDXRecord()->GetKey(), 0, &reason))
            return Fail(
                this, Tr(QStringLiteral("Запись нельзя удалить: %1"), "msgCantDelete").arg(reason));
        // In the save's transaction: the record's own sub-table rows go too.
        if (!DeleteOwnedRows(GetDXTable(), GetDXRecord()->GetKey(), GetDXRecord()->GetSQL(),
                             &reason))
            return Fail(this, reason);
    }
    return CDXForm::OnApply();
}

bool CxSQLEditForm::CommitTransact() {
    m_saved.Clear();
    CDXRecordSQL* record = GetDXRecord();
    if (record && GetDXEditMode() != EA_DELETE && record->GetKey() > 0) {
        QString error;
        if (!m_saved.Take(record->GetSQL(), GuardedRows(record->GetKey()), &error))
            return false;
    }
    return CDXForm::CommitTransact();
}

bool CxSQLEditForm::Apply() {
    m_changedMeanwhile = false;
    if (!ApplyTransacted()) {
        if (m_changedMeanwhile)
            OfferReopen();
        return false;
    }
    m_modified = false;
    UpdateTitle();
    if (const CDXRecordSQL* record = GetDXRecord())
        emit recordSaved(record->GetKey());
    return true;
}

void CxSQLEditForm::OnAfterCommit() {
    // The next save of this form starts from what this one stored.
    m_guard = m_saved;
    if (auto* document = qobject_cast<CxSQLDocument*>(GetDocument())) {
        if (CDXRecordSQL* record = GetDXRecord())
            document->SetKey(record->GetKey());
        document->SetEditMode(GetDXEditMode());
    }
}

QString CxSQLEditForm::GetRecordCaption() const {
    CxTable* table = GetDXTable();
    return table ? table->GetCaption() : QString();
}

QString CxSQLEditForm::RecordTitle() const {
    const QString caption = GetRecordCaption();
    const CDXRecordSQL* record = GetDXRecord();
    const QString field = SqlFieldFromFullName(GetTitleField());
    QString name = record && !field.isEmpty() ? record->SFieldValue(field).trimmed() : QString();
    if (GetDXEditMode() == EA_NEW)
        name = Tr(QStringLiteral("новая запись"), "msgNewRecord");
    return name.isEmpty() ? caption : caption + QStringLiteral(": ") + name;
}

void CxSQLEditForm::UpdateTitle() {
    setWindowTitle(RecordTitle());
    if (GetDocument())
        GetDocument()->SetTitle(windowTitle());
}

bool CxSQLEditForm::CanCloseFrame() {
    if (!m_modified)
        return true;
    switch (CxAsk(this, CxAskKind::YesNoCancel,
                  Tr(QStringLiteral("Данные изменены. Сохранить изменения?"), "msgSaveChanges"))) {
    case IDYES:
        return Apply();
    case IDNO:
        m_modified = false;
        return true;
    default:
        return false;
    }
}

void CxSQLEditForm::OnOK() {
    if (GetDXEditMode() == EA_DELETE &&
        CxAsk(
            this, CxAskKind::YesNo,
            Tr(QStringLiteral("Удалить запись «%1»?"), "msgDeleteRecordAsk").arg(RecordTitle())) !=
            IDYES)
        return;
    if (!Apply())
        return;
    CloseFrame();
}

void CxSQLEditForm::OnCancel() {
    CloseFrame();
}

void CxSQLEditForm::OfferReopen() {
    if (CxAsk(this, CxAskKind::YesNo, CxRowsFingerprint::ReopenQuestion()) == IDYES)
        ReopenRecord();
}

void CxSQLEditForm::ReopenRecord() {
    // Only a form the document manager opened can be opened again by it.
    auto* document = qobject_cast<CxSQLDocument*>(GetDocument());
    if (!document)
        return;
    const CDXRecordSQL* record = GetDXRecord();
    const qint64 key = record ? record->GetKey() : -1;
    const QString formClass = QString::fromLatin1(metaObject()->className());
    m_modified = false;
    // The closing window no longer stands for the record, so the record opens
    // in a window of its own.
    document->SetKey(-1);
    CloseFrame();
    if (key > 0)
        CxDocManager::Instance()->OpenSQLEditForm(formClass, key, EA_EDIT);
}

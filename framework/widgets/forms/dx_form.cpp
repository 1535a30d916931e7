#include "dx_form.h"

#include "dxx.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/errors/error_tip.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace {
constexpr CxTr Tr;

// Makes the control reachable: the tabs and pages that hold it come to the
// front.
void BringForward(QWidget* control) {
    for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget()) {
        QWidget* parent = w->parentWidget();
        if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
            stack->setCurrentWidget(w);
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(w);
        }
    }
}
} // namespace

CDXForm::CDXForm() = default;

CDXForm::~CDXForm() {
    for (CDXForm* child : std::as_const(m_children))
        child->m_parent = nullptr;
    if (m_parent)
        m_parent->m_children.removeAll(this);
}

CDXRecordSQL* CDXForm::GetDXRecord() const {
    if (m_sharedFrom)
        return m_sharedFrom->GetDXRecord();
    return m_own.get();
}

int CDXForm::GetDXEditMode() const {
    return m_sharedFrom ? m_sharedFrom->GetDXEditMode() : m_mode;
}

void CDXForm::SetDXRecord(std::unique_ptr<CDXRecordSQL> record, int mode) {
    m_own = std::move(record);
    m_mode = mode;
    m_sharedFrom = nullptr;
}

void CDXForm::SetDXRecord(CDXForm* owner) {
    m_own.reset();
    m_sharedFrom = owner == this ? nullptr : owner;
}

void CDXForm::SetDXEditMode(int mode) {
    if (m_sharedFrom)
        m_sharedFrom->SetDXEditMode(mode);
    else
        m_mode = mode;
}

bool CDXForm::UpdateData(bool save) {
    ClearFailure();
    if (!GetDXRecord())
        return Fail(DXWidget(),
                    Tr(QStringLiteral("Форма не связана с записью."), "msgFormNoRecord"));
    CDXX dx(this, save);
    DoDataExchange(dx);
    return !m_failure.isSet();
}

bool CDXForm::Fail(QWidget* control, const QString& text, const CxDXError& error) {
    if (!m_failure.isSet()) {
        m_failure.control = control ? control : DXWidget();
        m_failure.text = text.isEmpty() ? error.message : text;
        m_failure.error = error;
    }
    return false;
}

bool CDXForm::OnApply() {
    if (!m_own)
        return true;
    CxDXError error;
    const int mode = m_mode;
    if (!m_own->ApplyDXRecordAction(mode, &error)) {
        QWidget* control = error.field.isEmpty() ? nullptr : FieldControl(error.field);
        return Fail(control ? control : DXWidget(), error.message, error);
    }
    // A stored new record is edited from now on.
    if (mode == EA_NEW)
        m_mode = EA_EDIT;
    return true;
}

bool CDXForm::OnPreCommit() {
    return true;
}

bool CDXForm::StartTransact() {
    CDXRecordSQL* record = GetDXRecord();
    CxSQL* sql = record ? record->GetSQL() : nullptr;
    return sql && sql->BeginTransaction();
}

bool CDXForm::CommitTransact() {
    CDXRecordSQL* record = GetDXRecord();
    CxSQL* sql = record ? record->GetSQL() : nullptr;
    return sql && sql->CommitTransaction();
}

void CDXForm::RollbackTransact() {
    CDXRecordSQL* record = GetDXRecord();
    if (CxSQL* sql = record ? record->GetSQL() : nullptr)
        sql->RollbackAfterFailure(nullptr);
}

void CDXForm::RegisterChildForm(CDXForm* child) {
    if (!child || child == this || m_children.contains(child))
        return;
    if (child->m_parent)
        child->m_parent->UnregisterChildForm(child);
    child->m_parent = this;
    m_children << child;
}

void CDXForm::UnregisterChildForm(CDXForm* child) {
    if (m_children.removeAll(child) && child)
        child->m_parent = nullptr;
}

CDXForm* CDXForm::FindForm(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* form = dynamic_cast<CDXForm*>(w))
            return form;
    return nullptr;
}

void CDXForm::NoteBinding(const QString& field, QWidget* control) {
    m_bindings.insert(field.toLower(), control);
}

QWidget* CDXForm::FieldControl(const QString& field) const {
    const QString bare = SqlFieldFromFullName(field).toLower();
    if (QWidget* control = m_bindings.value(bare))
        return control;
    for (const CDXForm* child : m_children)
        if (QWidget* control = child->FieldControl(bare))
            return control;
    return nullptr;
}

QList<CDXForm*> CDXForm::FormTree() {
    QList<CDXForm*> tree{this};
    for (CDXForm* child : std::as_const(m_children))
        tree << child->FormTree();
    return tree;
}

void CDXForm::ShowFailure(const CxDXFailure& failure) {
    QWidget* control = failure.control ? failure.control.data() : DXWidget();
    const QString text = failure.text.isEmpty()
                             ? Tr(QStringLiteral("Не удалось сохранить данные."), "msgSaveFailed")
                             : failure.text;
    BringForward(control);
    CTarvikApp::AddErrorMessage(text);
    // The list first: the tip goes where the control stands once the list
    // is in view.
    CxErrorListWnd::ShowList();
    if (control) {
        control->setFocus(Qt::OtherFocusReason);
        ShowErrorTip(control, text);
    }
}

bool CDXForm::ApplyTransacted() {
    const QList<CDXForm*> forms = FormTree();
    struct Saved {
        CDXForm* form;
        CDXRecordSQL::State state;
        int mode;
    };
    QList<Saved> saved;
    for (CDXForm* f : forms)
        if (f->m_own)
            saved << Saved{f, f->m_own->SaveState(), f->m_mode};
    for (CDXForm* f : forms)
        f->ClearFailure();

    CxDXFailure failure;
    const auto failed = [&](CDXForm* f) {
        failure = f->m_failure;
        if (!failure.isSet())
            failure.control = f->DXWidget();
        return false;
    };
    const auto run = [&]() -> bool {
        // A deletion takes nothing from the controls: a value the user would
        // have to fill in first must not keep the row from going.
        for (CDXForm* f : forms)
            if (f->GetDXEditMode() != EA_DELETE && !f->UpdateData(true))
                return failed(f);
        for (CDXForm* f : forms)
            if (!f->OnApply())
                return failed(f);
        for (CDXForm* f : forms)
            if (!f->OnPreCommit())
                return failed(f);
        return true;
    };

    if (!StartTransact()) {
        ShowFailure(CxDXFailure{
            DXWidget(),
            Tr(QStringLiteral("Не удалось начать сохранение данных."), "msgTransactionFailed"),
            CxDXError()});
        return false;
    }
    if (run()) {
        if (CommitTransact()) {
            for (CDXForm* f : forms)
                f->OnAfterCommit();
            return true;
        }
        failure = CxDXFailure{DXWidget(),
                              Tr(QStringLiteral("Не удалось сохранить данные."), "msgSaveFailed"),
                              CxDXError()};
    }
    RollbackTransact();
    // What the save wrote into the records is undone with the transaction.
    for (const Saved& s : saved) {
        s.form->m_own->RestoreState(s.state);
        s.form->m_mode = s.mode;
    }
    ShowFailure(failure);
    return false;
}

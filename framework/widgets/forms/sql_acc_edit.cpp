#include "sql_acc_edit.h"

#include "framework/core/lists/sql_auto_complete.h"
#include "framework/core/lists/sql_choice_model.h"

#include <QCompleter>

CxOldEditSQLAcc::CxOldEditSQLAcc(QWidget* parent)
    : QLineEdit(parent), m_matches(new CxSQLChoiceModel(this)), m_completer(new QCompleter(this)) {
    m_completer->setModel(m_matches);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    setCompleter(m_completer);
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_matches->SetPrefix(text.trimmed()); });
}

CxOldEditSQLAcc::~CxOldEditSQLAcc() = default;

void CxOldEditSQLAcc::SetAutoCompleteTable(CxTable* table) {
    // The completion list lets go of the old source before it goes.
    m_matches->SetSource(nullptr);
    m_source = table ? std::make_unique<CSQLAutoComplete>(table) : nullptr;
    m_matches->SetSource(m_source.get());
}

CxTable* CxOldEditSQLAcc::GetAutoCompleteTable() const {
    return m_source ? m_source->GetTable() : nullptr;
}

bool CxOldEditSQLAcc::SetValueFromROWID(qint64 key) {
    if (!m_source)
        return false;
    const QString text = m_source->TextOfKey(key);
    if (text.isNull())
        return false;
    setText(text);
    return true;
}

int CxOldEditSQLAcc::GetValueAsROWID(QString* value) {
    const QString text = this->text().trimmed();
    if (text.isEmpty())
        return VALUE_EMPTY;
    const qint64 key = m_source ? m_source->KeyOfText(text) : -1;
    if (key < 0)
        return VALUE_NOT_FOUND;
    if (value)
        *value = QString::number(key);
    setModified(false);
    return VALUE_FOUND;
}

void CxOldEditSQLAcc::SetInCell(bool inCell) {
    setFrame(!inCell);
}

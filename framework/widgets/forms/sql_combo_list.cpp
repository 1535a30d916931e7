#include "sql_combo_list.h"

#include "dxx.h"
#include "framework/core/lists/sql_auto_complete.h"
#include "framework/core/lists/sql_choice_model.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/tarvik_app.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>

CxSqlComboList::CxSqlComboList(QWidget* parent)
    : QComboBox(parent), m_list(new CxSQLChoiceModel(this)), m_matches(new CxSQLChoiceModel(this)),
      m_completer(new QCompleter(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setModel(m_list);
    m_completer->setModel(m_matches);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    setCompleter(m_completer);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CxSqlComboList::TextEdited);
    connect(this, &QComboBox::activated, this, [this](int row) {
        m_key = m_list->KeyAt(row);
        m_keyText = itemText(row);
    });
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                m_key = index.data(CxSQLChoiceModel::KeyRole).toLongLong();
                m_keyText = index.data().toString();
            });
}

CxSqlComboList::~CxSqlComboList() = default;

void CxSqlComboList::SetControlInfo(CxTable* table, const QString& condition) {
    m_source = std::make_unique<CSQLAutoComplete>(table);
    m_source->SetSQLFilter(condition);
    m_list->SetSource(m_source.get());
    m_matches->SetSource(m_source.get());
    SetSelectedID(m_key);
}

CxTable* CxSqlComboList::GetTable() const {
    return m_source ? m_source->GetTable() : nullptr;
}

void CxSqlComboList::TextEdited(const QString& text) {
    // The list of matches follows the typing; the popup opens with it.
    m_matches->SetPrefix(text.trimmed());
}

qint64 CxSqlComboList::GetSelectedID() const {
    const QString text = currentText().trimmed();
    if (text.isEmpty())
        return -1;
    if (m_key >= 0 && text == m_keyText.trimmed())
        return m_key;
    const qint64 key = m_source ? m_source->KeyOfText(text) : -1;
    return key >= 0 ? key : -2;
}

void CxSqlComboList::SetSelectedID(qint64 key) {
    m_key = key;
    m_keyText = key >= 0 && m_source ? m_source->TextOfKey(key) : QString();
    if (key >= 0 && m_keyText.isNull())
        m_keyText = CTarvikApp::TranslateString(QStringLiteral("(нет записи %1)"),
                                                QStringLiteral("msgNoRow"), 1)
                        .arg(key);
    setCurrentIndex(m_list->RowOfKey(key));
    setEditText(m_keyText);
}

void CxSqlComboList::DX(CDXX& dx, const CxField* field, int flags) {
    const QString name = CDXX::FieldName(field);
    dx.Note(name, this);
    if (dx.Failed() || name.isEmpty())
        return;
    if (dx.IsLoad()) {
        // 0 (or less) where no row has that key is the table's way of saying
        // "none".
        const qint64 key = dx.FieldIsNull(name) ? -1 : dx.FieldText(name).trimmed().toLongLong();
        SetSelectedID(key <= 0 && m_source && m_source->TextOfKey(key).isNull() ? -1 : key);
        return;
    }
    const qint64 key = GetSelectedID();
    if (key == -2) {
        dx.Fail(this, CTarvikApp::TranslateString(QStringLiteral("«%1» нет в списке «%2»."),
                                                  QStringLiteral("msgNotInList"), 1)
                          .arg(currentText().trimmed(),
                               GetTable() ? GetTable()->GetCaption() : QString()));
        return;
    }
    if (key == -1 && (flags & DXF_REQUIRED)) {
        dx.Fail(this, CTarvikApp::TranslateString(QStringLiteral("Выберите значение из списка."),
                                                  QStringLiteral("msgChooseFromList"), 1));
        return;
    }
    // A stored key that shows no row (the row is gone) stays as it was, and
    // so does a stored "none" (0) while nothing is chosen.
    if (key == m_key && key >= 0 && !dx.FieldIsNull(name) &&
        dx.FieldText(name).trimmed().toLongLong() == key)
        return;
    if (key == -1 && !dx.FieldIsNull(name) && dx.FieldText(name).trimmed().toLongLong() <= 0)
        return;
    dx.StoreValue(name, key < 0 ? QString() : QString::number(key), true);
}

#include "dxx.h"

#include "acc_completer.h"
#include "date_edit.h"
#include "dx_form.h"
#include "framework/core/app/acc_dic.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/cx_field.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace {
constexpr CxTr Tr;

QString RequiredText() {
    return Tr(QStringLiteral("Поле должно быть заполнено."), "msgRequiredField");
}

bool IsNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+$"));
    return number.match(text.trimmed()).hasMatch();
}

QString ControlText(QWidget* control) {
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* text = qobject_cast<QTextEdit*>(control))
        return text->toPlainText();
    return QString();
}

void SetControlText(QWidget* control, const QString& value) {
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(value);
        line->setCursorPosition(0);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->setPlainText(value);
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        text->setPlainText(value);
    }
}

// Radio buttons of one parent exclude each other; to show no choice they must
// let go of that for a moment.
void UncheckAll(const QList<QPair<QAbstractButton*, long>>& buttons) {
    for (const auto& b : buttons) {
        const bool exclusive = b.first->autoExclusive();
        b.first->setAutoExclusive(false);
        b.first->setChecked(false);
        b.first->setAutoExclusive(exclusive);
    }
}
} // namespace

CDXX::CDXX(CDXForm* form, bool save) : m_form(form), m_save(save) {}

CDXRecordSQL* CDXX::Record() const {
    return m_form ? m_form->GetDXRecord() : nullptr;
}

QString CDXX::FieldName(const CxField* field) {
    return field ? SqlFieldFromFullName(field->GetColumn()) : QString();
}

bool CDXX::IsNumberField(const CxField* field) {
    return field && (field->GetFlags() & FF_INT) && !(field->GetFlags() & FF_TEXT);
}

void CDXX::Note(const QString& field, QWidget* control) {
    if (m_form && control)
        m_form->NoteBinding(field, control);
}

QString CDXX::FieldText(const QString& field) const {
    CDXRecordSQL* record = Record();
    return record && !record->IsFieldNull(field) ? record->SFieldValue(field) : QString();
}

bool CDXX::FieldIsNull(const QString& field) const {
    CDXRecordSQL* record = Record();
    return !record || record->IsFieldNull(field);
}

void CDXX::StoreValue(const QString& field, const QString& value, bool isNumber, bool emptyIsNull) {
    CDXRecordSQL* record = Record();
    if (!record || m_failed)
        return;
    const bool none = value.isEmpty();
    if (record->HasField(field)) {
        const bool wasNull = record->IsFieldNull(field);
        const QString old = record->SFieldValue(field);
        // An empty text where NULL was stored is no change; numbers compare
        // as numbers.
        if (isNumber
                ? (none ? wasNull
                        : (!wasNull && old.trimmed().toLongLong() == value.trimmed().toLongLong()))
                : (none ? (wasNull || old.isEmpty()) : (!wasNull && old == value)))
            return;
    } else if (none) {
        // A new row keeps the column's default.
        return;
    }
    if (none && (isNumber || emptyIsNull))
        record->SetFieldNull(field);
    else
        record->SetFieldValue(field,
                              isNumber ? QString::number(value.trimmed().toLongLong()) : value);
}

bool CDXX::Fail(QWidget* control, const QString& text) {
    m_failed = true;
    if (m_form)
        m_form->Fail(control, text);
    return false;
}

CDXXEdit CDXX::DX(QWidget* control, const CxField* field, int flags) {
    if (!field)
        return CDXXEdit(this, control);
    const QString name = FieldName(field);
    const bool number = IsNumberField(field);
    Note(name, control);
    if (m_failed || !control)
        return CDXXEdit(this, control);
    if (auto* date = qobject_cast<CDateTimeEditCtrl*>(control)) {
        const QDate stored = QDate::fromString(FieldText(name).left(10), Qt::ISODate);
        if (IsLoad()) {
            date->SetDate(stored);
        } else {
            // Text that is no date is never taken for an empty field.
            if (date->HasBadText()) {
                Fail(control, TypedDateError());
                return CDXXEdit(this, control);
            }
            if ((flags & DXF_REQUIRED) && date->IsEmpty()) {
                Fail(control, RequiredText());
                return CDXXEdit(this, control);
            }
            // A stored value that shows empty (a zero date, the "no date"
            // of old rows) stays as it is while the user leaves it so.
            if (date->IsEmpty() && !FieldIsNull(name) && IsNoneDate(stored))
                return CDXXEdit(this, control);
            StoreValue(name,
                       date->IsEmpty() ? QString()
                                       : date->GetDate().toString(QStringLiteral("yyyy-MM-dd")),
                       false, true);
        }
        return CDXXEdit(this, control);
    }
    if (IsLoad()) {
        SetControlText(control, FieldText(name));
        return CDXXEdit(this, control);
    }
    const QString text = ControlText(control);
    if ((flags & DXF_REQUIRED) && text.trimmed().isEmpty()) {
        Fail(control, RequiredText());
        return CDXXEdit(this, control);
    }
    if (number && !text.trimmed().isEmpty() && !IsNumber(text)) {
        Fail(control, Tr(QStringLiteral("Введите целое число."), "msgNeedNumber"));
        return CDXXEdit(this, control);
    }
    StoreValue(name, number ? text.trimmed() : text, number);
    return CDXXEdit(this, control);
}

CDXXEdit CDXX::DX(QWidget* control, const QString& field, int flags) {
    const QString name = SqlFieldFromFullName(field);
    Note(name, control);
    if (m_failed || !control)
        return CDXXEdit(this, control);
    if (IsLoad()) {
        SetControlText(control, FieldText(name));
        return CDXXEdit(this, control);
    }
    const QString text = ControlText(control);
    if ((flags & DXF_REQUIRED) && text.trimmed().isEmpty()) {
        Fail(control, RequiredText());
        return CDXXEdit(this, control);
    }
    StoreValue(name, text, false);
    return CDXXEdit(this, control);
}

CDXXEdit& CDXXEdit::SetACC(const QString& dictionary) {
    if (!m_control)
        return *this;
    AttachAccDic(m_control, dictionary);
    if (m_dx->IsSave() && !m_dx->Failed()) {
        const QString text = ControlText(m_control);
        if (qobject_cast<QLineEdit*>(m_control)) {
            AccDicAddWord(dictionary, text);
        } else {
            // From a longer text only its words of some length join.
            static const QRegularExpression words(QStringLiteral("[\\w-]{4,}"),
                                                  QRegularExpression::UseUnicodePropertiesOption);
            QStringList seen;
            for (auto it = words.globalMatch(text); it.hasNext() && seen.size() < 50;) {
                const QString word = it.next().captured();
                if (!seen.contains(word))
                    seen << word;
            }
            AccDicAddWords(dictionary, seen);
        }
    }
    return *this;
}

void CDXX::DXCheck(QAbstractButton* box, const CxField* field, int) {
    const QString name = FieldName(field);
    Note(name, box);
    if (m_failed || !box || name.isEmpty())
        return;
    if (IsLoad()) {
        box->setChecked(FieldText(name).trimmed().toLongLong() != 0);
        return;
    }
    CDXRecordSQL* record = Record();
    const bool stored = FieldText(name).trimmed().toLongLong() != 0;
    if (record && record->HasField(name) && !record->IsFieldNull(name) &&
        stored == box->isChecked())
        return;
    if (record && (!record->HasField(name) || record->IsFieldNull(name)) && !box->isChecked() &&
        record->IsLoaded())
        return;
    if (record)
        record->SetFieldValue(name, box->isChecked() ? 1L : 0L);
}

CDXXRadioGroup CDXX::DXRadioGroup(const CxField* field, int flags) {
    return CDXXRadioGroup(this, FieldName(field), flags);
}

CDXXCheckGroup CDXX::DXCheckGroup(const CxField* field, int flags) {
    return CDXXCheckGroup(this, FieldName(field), flags);
}

CDXXRadioGroup& CDXXRadioGroup::DXButton(QAbstractButton* button, long value) {
    if (button)
        m_buttons.append({button, value});
    return *this;
}

void CDXXRadioGroup::End() {
    if (m_buttons.isEmpty() || m_field.isEmpty())
        return;
    m_dx->Note(m_field, m_buttons.first().first);
    if (m_dx->Failed())
        return;
    if (m_dx->IsLoad()) {
        UncheckAll(m_buttons);
        if (m_dx->FieldIsNull(m_field))
            return;
        const long value = long(m_dx->FieldText(m_field).trimmed().toLongLong());
        for (const auto& b : m_buttons)
            if (b.second == value) {
                b.first->setChecked(true);
                break;
            }
        return;
    }
    for (const auto& b : m_buttons)
        if (b.first->isChecked()) {
            m_dx->StoreValue(m_field, QString::number(b.second), true);
            return;
        }
    // No button chosen: a stored value (one that no button shows) stays.
    if ((m_flags & DXF_REQUIRED) && m_dx->FieldIsNull(m_field))
        m_dx->Fail(m_buttons.first().first,
                   Tr(QStringLiteral("Выберите одно из значений."), "msgChooseValue"));
}

CDXXCheckGroup& CDXXCheckGroup::DXButton(QAbstractButton* box, long bit) {
    if (box)
        m_boxes.append({box, bit});
    return *this;
}

void CDXXCheckGroup::End() {
    if (m_boxes.isEmpty() || m_field.isEmpty())
        return;
    m_dx->Note(m_field, m_boxes.first().first);
    if (m_dx->Failed())
        return;
    const qint64 stored = m_dx->FieldText(m_field).trimmed().toLongLong();
    if (m_dx->IsLoad()) {
        for (const auto& b : m_boxes)
            b.first->setChecked((stored & b.second) == b.second && b.second != 0);
        return;
    }
    qint64 mask = 0, value = 0;
    for (const auto& b : m_boxes) {
        mask |= b.second;
        if (b.first->isChecked())
            value |= b.second;
    }
    // Bits that no box shows keep their stored state.
    const qint64 result = (stored & ~mask) | value;
    if ((m_flags & DXF_REQUIRED) && result == 0) {
        m_dx->Fail(m_boxes.first().first,
                   Tr(QStringLiteral("Отметьте хотя бы одно значение."), "msgCheckSome"));
        return;
    }
    // A stored NULL with no box ticked stays NULL.
    CDXRecordSQL* record = m_dx->Record();
    if (result == 0 && m_dx->FieldIsNull(m_field) && record && record->IsLoaded())
        return;
    m_dx->StoreValue(m_field, QString::number(result), true);
}

void CDXX::DirType(const CxField* field, int type) {
    if (IsSave() && !m_failed && field)
        StoreValue(FieldName(field), QString::number(type), true);
}

void CDXX::SetField(const CxField* field, const QString& value) {
    if (field)
        SetField(FieldName(field), value);
}

void CDXX::SetField(const QString& field, const QString& value) {
    if (CDXRecordSQL* record = Record())
        record->SetFieldValue(field, value);
}

void CDXX::SetField(const QString& field, long value) {
    SetField(field, QString::number(value));
}

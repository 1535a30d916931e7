#include "sql_search_panel.h"

#include "framework/core/enums/enum2.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/table/cx_field.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/date_edit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CxSQLSearchPanel");
// How long typing may pause before the list is read again.
constexpr int kTypingPauseMs = 400;
// The panel's least width, in average characters.
constexpr int kLeastWidthChars = 34;
} // namespace

CxSQLSearchPanel::CxSQLSearchPanel(QWidget* parent)
    : QWidget(parent), m_scroll(new QScrollArea(this)), m_form(nullptr),
      m_clear(new QPushButton(Tr(QStringLiteral("Очистить")), this)), m_delay(new QTimer(this)) {
    setObjectName(QStringLiteral("searchPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    auto* title = new QLabel(Tr(QStringLiteral("Поиск")), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_form = new QWidget(m_scroll);
    new QFormLayout(m_form);
    m_scroll->setWidget(m_form);
    layout->addWidget(m_scroll, 1);
    m_clear->setObjectName(QStringLiteral("searchClear"));
    m_clear->setToolTip(Tr(QStringLiteral("Очистить все поля поиска и показать весь список")));
    layout->addWidget(m_clear);
    connect(m_clear, &QPushButton::clicked, this, &CxSQLSearchPanel::ClearAll);
    FitWidth();
    m_delay->setSingleShot(true);
    m_delay->setInterval(kTypingPauseMs);
    connect(m_delay, &QTimer::timeout, this, &CxSQLSearchPanel::Apply);
}

QWidget* CxSQLSearchPanel::AddEditor(Field& field, bool upper) {
    using Kind = CxSQLSearchFilter::Kind;
    const QString name = QStringLiteral("search_%1_%2")
                             .arg(m_fields.size())
                             .arg(upper ? QStringLiteral("to") : QStringLiteral("from"));
    QWidget* editor = nullptr;
    if (field.kind == Kind::Date) {
        auto* date = new CTypedDateEdit(m_form);
        connect(date, &CTypedDateEdit::dateChanged, this, &CxSQLSearchPanel::Apply);
        connect(date->Editor(), &QLineEdit::returnPressed, this, &CxSQLSearchPanel::Apply);
        editor = date;
    } else if (field.kind == Kind::Choice) {
        auto* choice = new QComboBox(m_form);
        choice->addItem(Tr(QStringLiteral("(любое)")), qlonglong(-1));
        const CEnum2* items = field.field->GetEnum();
        POSITION pos = items->InitScan_sEnum2();
        while (items->ScanNext_sEnum2(pos)) {
            const sEnum2* item = items->Current_sEnum2(pos);
            choice->addItem(item->GetText(), qlonglong(item->GetCode()));
        }
        connect(choice, &QComboBox::activated, this, &CxSQLSearchPanel::Apply);
        editor = choice;
    } else {
        auto* line = new QLineEdit(m_form);
        line->setClearButtonEnabled(true);
        connect(line, &QLineEdit::textChanged, this, [this] {
            if (!m_settingUp)
                m_delay->start();
        });
        connect(line, &QLineEdit::returnPressed, this, &CxSQLSearchPanel::Apply);
        editor = line;
    }
    editor->setObjectName(name);
    editor->setToolTip(field.caption);
    return editor;
}

void CxSQLSearchPanel::SetColumns(const QList<CxColumnData>& columns) {
    using Kind = CxSQLSearchFilter::Kind;
    auto* form = static_cast<QFormLayout*>(m_form->layout());
    while (form->rowCount() > 0)
        form->removeRow(0);
    m_fields.clear();
    m_filter.ClearAll();
    m_applied.clear();
    for (const CxColumnData& column : columns) {
        Field f;
        f.field = column.field;
        f.caption = column.caption;
        f.kind = CxSQLSearchFilter::KindOf(column.field);
        if (f.kind == Kind::None)
            continue;
        f.from = AddEditor(f, false);
        auto* label = new QLabel(f.caption, m_form);
        label->setWordWrap(true);
        if (f.kind == Kind::Number || f.kind == Kind::Date) {
            f.to = AddEditor(f, true);
            auto* range = new QWidget(m_form);
            auto* row = new QHBoxLayout(range);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(new QLabel(Tr(QStringLiteral("с")), range));
            row->addWidget(f.from, 1);
            row->addWidget(new QLabel(Tr(QStringLiteral("по")), range));
            row->addWidget(f.to, 1);
            form->addRow(label);
            form->addRow(range);
        } else {
            form->addRow(label);
            form->addRow(f.from);
        }
        m_fields.append(f);
    }
    FitWidth();
}

// Beside a wide list the splitter gives the panel its least size. Narrower
// than its form, the form scrolls sideways under a cut view: the captions
// end mid-word and the upper bound of a range is out of sight. So the least
// size is a caption of a few words and the widest row of fields, with the
// vertical scroll bar beside them.
void CxSQLSearchPanel::FitWidth() {
    const QMargins margins = layout()->contentsMargins();
    const int form = m_form->minimumSizeHint().width() +
                     m_scroll->verticalScrollBar()->sizeHint().width() +
                     2 * m_scroll->frameWidth() + margins.left() + margins.right();
    setMinimumWidth(qMax(fontMetrics().averageCharWidth() * kLeastWidthChars, form));
}

QString CxSQLSearchPanel::ValueOf(const Field& field, QWidget* editor) {
    if (!editor)
        return QString();
    if (auto* date = qobject_cast<CTypedDateEdit*>(editor)) {
        const QDate d = date->date();
        return d.isValid() ? d.toString(Qt::ISODate) : QString();
    }
    if (auto* choice = qobject_cast<QComboBox*>(editor)) {
        const qlonglong code = choice->currentData().toLongLong();
        return code < 0 ? QString() : QString::number(code);
    }
    (void)field;
    return static_cast<QLineEdit*>(editor)->text().trimmed();
}

void CxSQLSearchPanel::SetValueOf(QWidget* editor, const QString& value) {
    if (!editor)
        return;
    if (auto* date = qobject_cast<CTypedDateEdit*>(editor))
        date->setDate(QDate::fromString(value, Qt::ISODate));
    else if (auto* choice = qobject_cast<QComboBox*>(editor))
        choice->setCurrentIndex(
            qMax(0, choice->findData(value.isEmpty() ? qlonglong(-1) : value.toLongLong())));
    else
        static_cast<QLineEdit*>(editor)->setText(value);
}

bool CxSQLSearchPanel::Collect() {
    using Kind = CxSQLSearchFilter::Kind;
    m_filter.ClearAll();
    for (const Field& f : m_fields) {
        const QString a = ValueOf(f, f.from), b = ValueOf(f, f.to);
        switch (f.kind) {
        case Kind::Text:
            m_filter.SetText(f.field, a);
            break;
        case Kind::Number:
            m_filter.SetNumberRange(f.field, a, b);
            break;
        case Kind::Date:
            m_filter.SetDateRange(f.field, QDate::fromString(a, Qt::ISODate),
                                  QDate::fromString(b, Qt::ISODate));
            break;
        case Kind::Choice:
            m_filter.SetChoice(f.field, a.isEmpty() ? -1 : a.toLongLong());
            break;
        case Kind::None:
            break;
        }
    }
    const QString state = SaveState();
    if (state == m_applied)
        return false;
    m_applied = state;
    return true;
}

void CxSQLSearchPanel::Apply() {
    m_delay->stop();
    if (!m_settingUp && Collect())
        emit changed();
}

void CxSQLSearchPanel::ClearAll() {
    m_settingUp = true;
    for (const Field& f : m_fields) {
        SetValueOf(f.from, QString());
        SetValueOf(f.to, QString());
    }
    m_settingUp = false;
    Apply();
}

QString CxSQLSearchPanel::SaveState() const {
    QJsonObject state;
    for (const Field& f : m_fields) {
        const QString a = ValueOf(f, f.from), b = ValueOf(f, f.to);
        if (!a.isEmpty() || !b.isEmpty())
            state.insert(f.caption, QJsonArray{a, b});
    }
    return state.isEmpty() ? QString()
                           : QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Compact));
}

void CxSQLSearchPanel::RestoreState(const QString& text) {
    const QJsonObject state = QJsonDocument::fromJson(text.toUtf8()).object();
    m_settingUp = true;
    for (const Field& f : m_fields) {
        const QJsonArray values = state.value(f.caption).toArray();
        SetValueOf(f.from, values.at(0).toString());
        SetValueOf(f.to, values.at(1).toString());
    }
    m_settingUp = false;
    Collect();
}

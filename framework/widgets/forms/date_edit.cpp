#include "date_edit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>
#include <QWidgetAction>

namespace {
// The date that stands for "none" (shown as blank).
const QDate kNone(1900, 1, 1);
} // namespace

CDateTimeEditCtrl::CDateTimeEditCtrl(QWidget* parent)
    : QWidget(parent), m_edit(new QDateEdit(this)), m_clear(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_edit->setObjectName(QStringLiteral("date"));
    m_edit->setCalendarPopup(true);
    m_edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_edit->setMinimumDate(kNone);
    m_edit->setSpecialValueText(QStringLiteral(" "));
    m_edit->setDate(kNone);
    m_clear->setObjectName(QStringLiteral("clearDate"));
    m_clear->setText(QStringLiteral("×"));
    m_clear->setAutoRaise(true);
    m_clear->setToolTip(tr("Очистить"));
    // Tab goes from the date to the next field, not to this button.
    m_clear->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_clear);
    setFocusProxy(m_edit);
    connect(m_clear, &QToolButton::clicked, this, [this] { SetDate(QDate()); });
    connect(m_edit, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        m_empty = date == kNone;
        emit dateChanged(GetDate());
    });
}

QDate CDateTimeEditCtrl::GetDate() const {
    return m_empty ? QDate() : m_edit->date();
}

void CDateTimeEditCtrl::SetDate(const QDate& date) {
    const bool empty = !date.isValid() || date <= kNone;
    m_edit->setDate(empty ? kNone : date);
    m_empty = empty;
}

QDate ParseTypedDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const auto year = [](const QString& digits) {
        const int value = digits.toInt();
        if (digits.size() == 4)
            return value;
        if (digits.size() != 2)
            return -1;
        const int pivot = QDate::currentDate().year() % 100;
        return value <= pivot ? 2000 + value : 1900 + value;
    };
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    static const QRegularExpression parts(
        QStringLiteral("^(\\d{1,2})[./,\\- ](\\d{1,2})[./,\\- ](\\d{2}|\\d{4})$"));
    if (const QRegularExpressionMatch m = parts.match(t); m.hasMatch())
        return QDate(year(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
    static const QRegularExpression packed(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2}|\\d{4})$"));
    if (const QRegularExpressionMatch m = packed.match(t); m.hasMatch())
        return QDate(year(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
    return {};
}

CTypedDateEdit::CTypedDateEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_calendar(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_edit->setObjectName(QStringLiteral("dateText"));
    m_edit->setPlaceholderText(QStringLiteral("дд.мм.гггг"));
    m_edit->setMaxLength(10);
    // Room for the whole date and a little more.
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) +
                            12);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setText(QStringLiteral("▾"));
    m_calendar->setToolTip(tr("Выбрать в календаре"));
    m_calendar->setFocusPolicy(Qt::NoFocus);
    m_calendar->setAutoRaise(true);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_calendar);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_edit, &QLineEdit::editingFinished, this, &CTypedDateEdit::Settle);
    connect(m_calendar, &QToolButton::clicked, this, &CTypedDateEdit::ShowCalendar);
}

QDate CTypedDateEdit::date() const {
    return ParseTypedDate(m_edit->text());
}

void CTypedDateEdit::setDate(const QDate& date) {
    m_edit->setText(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    if (date != m_last) {
        m_last = date;
        emit dateChanged(date);
    }
}

QString CTypedDateEdit::text() const {
    return m_edit->text();
}

void CTypedDateEdit::Settle() {
    // A date is written out in full; other text stays for the user to mend.
    if (const QDate typed = date(); typed.isValid())
        setDate(typed);
}

void CTypedDateEdit::ShowCalendar() {
    QMenu popup(this);
    auto* calendar = new QCalendarWidget(&popup);
    calendar->setGridVisible(true);
    const QDate shown = date().isValid() ? date() : QDate::currentDate();
    calendar->setSelectedDate(shown);
    auto* action = new QWidgetAction(&popup);
    action->setDefaultWidget(calendar);
    popup.addAction(action);
    connect(calendar, &QCalendarWidget::clicked, &popup, [this, &popup](const QDate& chosen) {
        setDate(chosen);
        popup.close();
    });
    connect(calendar, &QCalendarWidget::activated, &popup, [this, &popup](const QDate& chosen) {
        setDate(chosen);
        popup.close();
    });
    popup.exec(mapToGlobal(QPoint(0, height())));
}

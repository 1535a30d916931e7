#include "date_edit.h"

#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>
#include <QWidgetAction>

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

QString TypedDateError() {
    return CTarvikApp::TranslateString(
        QStringLiteral("Дата введена неверно. Введите ее как дд.мм.гггг, например 10.12.2026."),
        QStringLiteral("msgBadTypedDate"), 1);
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
    m_edit->setText(DateToText(date));
    if (date != m_last) {
        m_last = date;
        emit dateChanged(date);
    }
}

QString CTypedDateEdit::text() const {
    return m_edit->text();
}

bool CTypedDateEdit::IsEmpty() const {
    return m_edit->text().trimmed().isEmpty();
}

bool CTypedDateEdit::HasBadText() const {
    return !IsEmpty() && !date().isValid();
}

void CTypedDateEdit::Settle() {
    // A date is written out in full, an emptied field says so; other text
    // stays for the user to mend.
    if (const QDate typed = date(); typed.isValid() || IsEmpty())
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

CDateTimeEditCtrl::CDateTimeEditCtrl(QWidget* parent) : CTypedDateEdit(parent) {
    // As wide as a date, not as the form.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void CDateTimeEditCtrl::SetDate(const QDate& date) {
    setDate(IsNoneDate(date) ? QDate() : date);
}

#include "date_edit.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

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

#pragma once
// A date field that may also be empty (a NULL date): empty shows as blank;
// typing a date or choosing one in the calendar fills it, and the clear
// button (or deleting the text) empties it.
#include <QDate>
#include <QWidget>

class QDateEdit;
class QToolButton;

class CDateTimeEditCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CDateTimeEditCtrl(QWidget* parent = nullptr);

    // An invalid date for an empty field.
    QDate GetDate() const;
    void SetDate(const QDate& date);
    bool IsEmpty() const { return !GetDate().isValid(); }
    QDateEdit* Editor() const { return m_edit; }

signals:
    void dateChanged(const QDate& date);

private:
    QDateEdit* m_edit;
    QToolButton* m_clear;
    bool m_empty = true;
};

class QLineEdit;

// A date read as the user typed it: "5.3.2012", "05.03.2012", "5/3/12",
// "05032012", "2012-03-05"; a two-digit year is 20yy up to the current
// year's two digits, else 19yy. An invalid date for anything else (an
// impossible day included).
QDate ParseTypedDate(const QString& text);

// A date field that takes the text as typed: the whole date may be typed
// over in one go (the value is what the text says when it is read), the
// calendar button chooses one, and the text is written out as dd.MM.yyyy
// once the field is left holding a date.
class CTypedDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit CTypedDateEdit(QWidget* parent = nullptr);

    // The date the text says; invalid when it says none.
    QDate date() const;
    void setDate(const QDate& date);
    // The text as it stands.
    QString text() const;
    QLineEdit* Editor() const { return m_edit; }

signals:
    // The field was left (or a date chosen) with a different date.
    void dateChanged(const QDate& date);

private:
    void Settle();
    void ShowCalendar();

    QLineEdit* m_edit;
    QToolButton* m_calendar;
    QDate m_last;
};

#pragma once
// The one date field of the program: the date is typed as people write it
// (or chosen in the calendar), and the field may be empty.
#include <QDate>
#include <QWidget>

class QLineEdit;
class QToolButton;

// A date read as the user typed it: "5.3.2012", "05.03.2012", "5/3/12",
// "05032012", "2012-03-05"; a two-digit year is 20yy up to the current
// year's two digits, else 19yy. An invalid date for anything else (an
// impossible day included).
QDate ParseTypedDate(const QString& text);

// What a field says when it holds text that is no date.
QString TypedDateError();

// A date field that takes the text as typed: the whole date may be typed
// over in one go (the value is what the text says when it is read), the
// calendar button chooses one (opening at the field's date, or at today when
// it holds none), and the text is written out as dd.MM.yyyy once the field
// is left holding a date. Empty text is no date.
class CTypedDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit CTypedDateEdit(QWidget* parent = nullptr);

    // The date the text says; invalid when it says none.
    QDate date() const;
    void setDate(const QDate& date);
    // The text as it stands.
    QString text() const;
    // No text at all (blanks only).
    bool IsEmpty() const;
    // Text that says no date: the user must mend it or empty the field.
    bool HasBadText() const;
    QLineEdit* Editor() const { return m_edit; }

signals:
    // The field was left (or a date chosen) with a different date; an
    // invalid date when it was emptied.
    void dateChanged(const QDate& date);

private:
    void Settle();
    void ShowCalendar();

    QLineEdit* m_edit;
    QToolButton* m_calendar;
    QDate m_last;
};

// The date field of the forms, bound to a date column that may hold NULL:
// empty stands for NULL, and so does the date 01.01.1900 (and any earlier)
// that old rows and column defaults hold for "no date".
class CDateTimeEditCtrl : public CTypedDateEdit {
    Q_OBJECT
public:
    explicit CDateTimeEditCtrl(QWidget* parent = nullptr);

    // An invalid date for an empty field (and for text that is no date:
    // HasBadText tells the two apart).
    QDate GetDate() const { return date(); }
    void SetDate(const QDate& date);
};

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

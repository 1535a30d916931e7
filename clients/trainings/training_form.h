#pragma once
// The training form: one training or other event (traininglist) and its
// participants (trainingssubdata). Participants are typed as a list of client
// codes, worker names or free names, by the training's audience; the form
// resolves the entries as the user types, shows under the list what it did
// not find and what is listed twice, and counts the people (the count is
// typed by hand only while the list is empty). The save writes the training
// first, then its participants under its ROWID, in one transaction; it is
// refused when another copy changed the training or its participants since
// the form read them.
#include "framework/widgets/forms/sql_edit_form.h"

#include <QList>
#include <QPair>

class CDateTimeEditCtrl;
class CHTMLStatic;
class CSQLEditList;
class CxSqlComboList;
class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

class CDTraining : public CxSQLEditForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDTraining(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    QString GetTitleField() const override;
    void DoDataExchange(CDXX& dx) override;
    bool OnApply() override;
    // The training's row and its participants.
    QList<CxGuardedRows> GuardedRows(qint64 key) const override;

    // The audience the buttons show (nForType; the stored one when no button
    // is set).
    int CurrentAudience() const;
    CSQLEditList* Participants() const { return m_participants; }
    CHTMLStatic* CheckLine() const { return m_checkLine; }
    QLineEdit* PeopleCount() const { return m_count; }
    QAbstractButton* AudienceButton(int forType) const;

    // The audience changed: the look-up, the group and automatic adding
    // follow it, and the list is checked again.
    void OnAudienceChanged();
    // Checks the list and shows the result under it; the count follows.
    void CheckParticipants();
    // The check line's height: one line, three when it names wrong codes.
    int CheckLineHeight(bool faults) const;

private:
    QLineEdit* m_name;
    CxSqlComboList* m_topic;
    CDateTimeEditCtrl* m_date;
    CxSqlComboList* m_donor;
    QLineEdit* m_company;
    QLineEdit* m_count;
    QLineEdit* m_hours;
    QList<QPair<QAbstractButton*, long>> m_types;
    QList<QPair<QAbstractButton*, long>> m_audiences;
    QLineEdit* m_trainers;
    QPlainTextEdit* m_comment;
    CSQLEditList* m_participants;
    CHTMLStatic* m_checkLine;
    QString m_label;
    bool m_loading = false;
};

#pragma once
// The base data tab of the client card: the client's code, birth year, sex,
// start date in the project, flags and comment (the client's own row), and
// the dated history of the client's vulnerable groups (clientdatachanges),
// one CDClientBaseChangesSub page per date.
//
// It holds the code rules of the card: the check of a typed code on save
// (with the question of "command:forceapply" and the coding's explanation in
// the error list), bNewCode and cOClientCode; the readable refusal of a code
// another client has; the warning while a typed code belongs to another
// client (checked when the code field loses the focus); the age from the
// birth year against the options MinAge/MaxAge.
#include "client_tabs.h"

class CDClients;
class CHTMLStatic;
class CxComboList;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTimer;

class CDClientsBase : public CDClientsTabBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsBase(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    void DoDataExchange(CDXX& dx) override;
    bool OnApply() override;
    void OnAfterCommit() override;

    // The sex the radio buttons show (kSexNone when none is chosen).
    int CurrentSex() const;
    CClientHistoryHost* Groups() const { return m_groups; }
    QLineEdit* CodeEdit() const { return m_code; }
    QLineEdit* BirthYearEdit() const { return m_birthYear; }
    CHTMLStatic* DuplicateWarning() const { return m_warning; }
    QLabel* AgeText() const { return m_age; }

    // The duplicate check the focus loss runs (public for the card's tests).
    // While a report build holds the connection the check waits for its end.
    void CheckDuplicateCode();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateAgeText();
    void UpdateGroupsTitle();
    void SuggestCode();
    // Tab goes through the controls in the order of the form, the pages of
    // groups (made later) before the comment.
    void ArrangeTabOrder();

    QLineEdit* m_code;
    CHTMLStatic* m_warning;
    QLabel* m_oldCodeLabel;
    QLineEdit* m_birthYear;
    QLabel* m_age;
    class CDateTimeEditCtrl* m_startDate;
    QRadioButton* m_male;
    QRadioButton* m_female;
    QRadioButton* m_trans;
    QCheckBox* m_secondary;
    QCheckBox* m_pdi;
    QGroupBox* m_groupsBox;
    CClientHistoryHost* m_groups;
    QPlainTextEdit* m_comment;
    QTimer* m_warningBlink;
    QTimer* m_ageBlink;
    QTimer* m_codeCheckRetry;

    QString m_oldCode;   // cOClientCode as loaded
    QString m_shownCode; // the code as loaded, for the duplicate check
    bool m_codeWasEmpty = true;
    bool m_busy = false;
    bool m_loaded = false;
};

// A dated page of vulnerable groups: the main group and the additional
// groups valid from the page's date. Groups the page has no box for keep
// their stored bits; the address column, which it does not show, keeps its
// value.
class CDClientBaseChangesSub : public CDClientTabDynDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientBaseChangesSub(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    EClientHistory History() const override { return EClientHistory::ClientDataChanges; }
    void LoadValues(const QHash<QString, QString>& row) override;
    CRuleVerdict CollectValues(QList<QPair<QString, QVariant>>* values, QWidget** control) override;

    CxComboList* MainGroup() const { return m_main; }
    QCheckBox* GroupBox(int bit) const;

private:
    CxComboList* m_main;
    QList<QPair<QCheckBox*, int>> m_boxes;
};

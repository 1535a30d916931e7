#pragma once
// The rules of the client code, the coded identity of a client: eight
// characters И М О ДР ГР П (the first letters of the given names of the
// client, the client's mother and father; two digits of the birth day; the
// last two digits of the birth year; a sex letter Ч, Ж or Т), optionally
// followed by a back-quote and the suffix of the organisation the client came
// from.
//
// The card checks a code on save. A code that breaks the rules is saved only
// after the user confirmed it (the link "command:forceapply" of the error list
// saves again with the force flag, and the card asks a Yes/No question), and
// clientdata.bNewCode records whether the code passed. A code equal to the
// client's old code (cOClientCode) is saved without a question: clients
// registered under an earlier coding keep their code.
#include "rule_verdict.h"

#include <QDate>
#include <QString>

class CxSQL;

// Sex codes of the card's radio group (clientdata.nSex).
constexpr int kSexNone = 0;
constexpr int kSexMale = 1;
constexpr int kSexFemale = 2;
constexpr int kSexTrans = 3;

// The command address through which the error list's link saves the card
// again with the force flag; only this exact text is the command.
inline constexpr char16_t kForceApplyCommand[] = u"command:forceapply";

// The part of a client code that the code rules look at: the text before the
// first back-quote (the organisation suffix is not part of the coded
// identity). The stored code keeps its suffix.
QString ClientCodeForRules(const QString& code);

// The sex letter that the card's sex selection asks of a code: "ч", "ж", "т",
// or "-" when no sex is chosen (which no code ends in, so the code fails).
QString CardSexLetter(int sex);

// The code check: the length (8 without the suffix), then the day and year
// digits (the year digits against the card's birth-year text, modulo 100),
// then the sex letter (lower-cased, Cyrillic included) against the card's sex.
// The three letters at the front are not tested. One message is reported; a
// later test's message replaces an earlier one's.
CRuleVerdict CheckClientCode(const QString& code, const QString& birthYearText, int sex);

// What the card does with its code on save.
enum class ECodeSaveAction {
    Save,   // the save goes on
    Ask,    // ask `question` (Yes/No, no title); any answer but Yes fails the save
    Refuse, // focus the code, add `errorListHtml` to the error list, fail the save
};

struct CClientCodeSave {
    QString code;       // the code to store: the typed text trimmed, suffix kept
    CRuleVerdict check; // the code check's verdict
    ECodeSaveAction action = ECodeSaveAction::Save;
    QString question;      // for Ask
    QString errorListHtml; // for Refuse: the error as a heading and the coding's explanation
    int bNewCode = 1;      // clientdata.bNewCode: 1 when the code passed the check
    QString oClientCode;   // the value clientdata.cOClientCode takes
};

// The decision on save. oldCode is the client's stored cOClientCode (empty
// for a new client); forceApply is set while the card saves through
// "command:forceapply". cOClientCode keeps the code under which the client
// was first saved: it takes the code when it is empty and never changes
// afterwards.
CClientCodeSave DecideClientCodeSave(const QString& typedCode, const QString& birthYearText,
                                     int sex, const QString& oldCode, bool forceApply);

// The explanation of the coding shown under a refused code, with the link
// "command:forceapply" (message key msgNewCodeMSG).
QString NewCodeExplanation();

// The code the card suggests for an empty code field: the first letters of
// the client's, the mother's and the father's given names, the birth day, the
// last two digits of the birth year and the sex letter. Empty whenever the
// card lacks a part (a name, a valid birth date, a sex) or when the result
// would not pass CheckClientCode against the card's birth-year text and sex:
// the suggestion never fills in a code its own rules refuse.
QString SuggestClientCode(const QString& clientName, const QString& motherName,
                          const QString& fatherName, const QDate& birthDate, int sex,
                          const QString& birthYearText);

// Another client (not ownClientId) stored under the code, compared as the
// table compares codes; *otherId is 0 when there is none. Answers false only
// when the query fails (error set).
bool FindOtherClientWithCode(CxSQL* sql, const QString& code, qint64 ownClientId, qint64* otherId,
                             QString* error);

// The warning the card shows (and blinks) while the typed code belongs to
// another client.
QString DuplicateCodeWarningHtml();

// The save's refusal of a code that another row of clientdata (a client or a
// folder) already has. The table holds each code once, so the warning above is
// followed at save by this readable refusal on the code field (asked inside
// the save's transaction, before the card writes its row) instead of the
// server's duplicate-key error. *verdict passes when the code is free; the
// answer is false only when the query fails (error set).
bool CheckClientCodeFree(CxSQL* sql, const QString& code, qint64 ownClientId, CRuleVerdict* verdict,
                         QString* error);

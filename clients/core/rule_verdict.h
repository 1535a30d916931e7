#pragma once
// What a rule of the client register answers: whether the input passes and,
// when it does not, the message the form shows (already in the user's
// language) and the field it concerns, so that a window only has to put the
// message beside that field.
#include <QString>

// The fields a refusal can point at.
enum class EClientField {
    None,
    ClientCode,          // the client-code edit of the base data tab
    BirthYear,           // the birth-year edit of the base data tab
    GroupMsm,            // the MSM check box of a vulnerable-groups page
    GroupCombination,    // the first check box (IDU) of a vulnerable-groups page
    DrugStart,           // the drug-use start edit of a drug-use page
    HealthStatus,        // the "Знает, -" cell of a health grid row
    HealthTreatmentYear, // the treatment-year cell of a health grid row
    PageDate,            // the date of a dated history page
};

struct CRuleVerdict {
    bool ok = true;
    QString key;   // the message key; empty for texts that have none
    QString text;  // the message, translated
    QString title; // the title of the error tip, where the form shows one
    EClientField field = EClientField::None;
    int row = -1; // the grid row or page index the message concerns; -1 when none

    static CRuleVerdict Refuse(EClientField field, const QString& key, const QString& text,
                               int row = -1) {
        CRuleVerdict v;
        v.ok = false;
        v.field = field;
        v.key = key;
        v.text = text;
        v.row = row;
        return v;
    }
};

// A message in the user's language: the default Russian text and its message
// key, or the "Class::Method" context of texts that have no key.
QString ClientRuleText(const char* text, const char* keyOrContext);

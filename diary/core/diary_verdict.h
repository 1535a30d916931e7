#pragma once
// What the daily report's data logic answers when it refuses a save: the
// message (already in the user's language), its title where the form shows a
// tip, and the place it concerns — a header field, the sheet's service, or a
// cell of a sheet — so that the window only has to put the tip there.
#include <QString>

#include "framework/core/translation.h"

enum class EDiaryField {
    None,
    Date,          // the report's (or a visit's) date
    WorkPlace,     // the service point
    Worker1,       // the main worker
    Project,       // the project
    Comment,       // the comment
    Report,        // the report as a whole (a refused delete)
    SheetService,  // the service chosen for a sheet that shows only clients
    SheetCell,     // a cell of a sheet: sheet, row and column are set
    VisitMaterial, // the material of a line of a client's visit (row set)
    VisitValue,    // the value of a line of a client's visit (row set)
};

struct CDiaryVerdict {
    bool ok = true;
    QString key;   // the message key; empty for texts that have none
    QString text;  // the message, translated
    QString title; // the tip's title, where the form shows one
    EDiaryField field = EDiaryField::None;
    int sheet = -1;  // the sheet number (nVedID) of a sheet refusal
    int row = -1;    // the row of a sheet or of a visit's lines
    int column = -1; // the column of a sheet refusal

    static CDiaryVerdict Refuse(EDiaryField field, const QString& text, const QString& key = {},
                                int row = -1, int column = -1) {
        CDiaryVerdict v;
        v.ok = false;
        v.field = field;
        v.text = text;
        v.key = key;
        v.row = row;
        v.column = column;
        return v;
    }
};

// A text in the user's language: the default Russian text and its message key,
// or the "Class::Method" context of texts that have no key.
inline constexpr CxTr DiaryText;

// The refusal of an empty required field: "Поле должно быть заполнено." under
// the field's name.
CDiaryVerdict DiaryRequired(EDiaryField field, const QString& name);

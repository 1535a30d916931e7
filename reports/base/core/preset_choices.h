#pragma once
// What a preset editor offers on its pages: the entries of the report's
// catalogue (report fields for version 2, visits columns for version 1), each
// with the id a preset stores, its title and the bits that say on which
// pages it may be chosen (a field's GetFlags, a column's kind).
#include "framework/core/containers/cx_obj.h"
#include "rep_field.h"

#include <QList>
#include <QString>

struct CRepPresetChoice {
    long id = 0;
    QString title;
    unsigned flags = 0;
};

// The choices of a catalogue of report fields, in catalogue order.
inline QList<CRepPresetChoice> PresetChoicesOf(const CxObjArray<CRepField*>& catalogue) {
    QList<CRepPresetChoice> choices;
    for (CRepField* field : catalogue)
        choices.append({field->GetID(), field->GetTitle(), field->GetFlags()});
    return choices;
}

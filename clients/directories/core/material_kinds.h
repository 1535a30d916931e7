#pragma once
// The kinds a material or service is given on its form, and the material type
// codes (dir.nType) that go with them. A code carries its group in the high
// 16 bits and the subtype in the low 16 bits; daily reports count and every
// report groups by it, so the codes here are fixed values of the data, not
// display choices. Medicines and other materials share group 3 and are told
// apart by the subtype alone.
//
// Besides nType, some kinds keep columns of their own: a booklet its
// audience, publication type and print run, a service its service type, a
// consultation its flags and category. When an item changes kind, the
// columns of the kind it left are cleared and those of the kind it enters
// start empty (as its page shows them); every other column of the row is
// left as it is.
#include <QList>
#include <QString>
#include <QStringList>

enum class EMaterialKind : int {
    None,
    Syringes,
    Needles,
    Booklets,
    Other, // other materials (group 3 without the medicines)
    Services,
    Returned,
    Consultations,
    Medicines,
    Condoms,
};

// One choice of a kind's subtype: the code and its text (untranslated).
struct CMaterialCodeChoice {
    long code;
    const char* text;
};

struct CMaterialKindDef {
    EMaterialKind kind;
    const char* name;    // identifier (object names, tests)
    const char* caption; // the text of the kind's radio button (untranslated)
    // The subtypes the user picks from; empty for a kind of one code.
    QList<CMaterialCodeChoice> choices;
    // The code of a kind without choices, given to an item that enters it.
    long fixedCode = 0;
    // The columns of dir that belong to the kind (besides nType).
    QStringList columns;
};

// The kinds in the order their radio buttons are consulted: syringes,
// needles, booklets, other materials, services, returned materials,
// consultations, medicines, condoms.
const QList<CMaterialKindDef>& MaterialKinds();
// The definition of a kind; null for None.
const CMaterialKindDef* MaterialKind(EMaterialKind kind);

// The kind a stored code opens on: 0x80001 and 0x80002 are condoms, the nine
// medicine codes medicines; otherwise the group (the code with its low 16
// bits cleared) decides: 0x10000 syringes, 0x20000 needles, 0x30000 other
// materials, 0x40000 services, 0x50000 booklets, 0x60000 returned materials,
// 0x70000 consultations; any other code has no kind and must be given one
// before the item is saved again.
EMaterialKind MaterialKindOfCode(long code);

// The nType an item of the kind gets on saving: a code already of the kind
// stays (subtypes without a button of their own included); an item entering a
// kind of one code gets that code; in a kind with choices it gets the chosen
// code (-1: none chosen), and the answer is -1 when nothing fits.
long MaterialCodeOnSave(EMaterialKind kind, long storedCode, long chosenCode);

// The columns to empty when an item stored as one kind is saved as another:
// those of the kind it leaves and those of the kind it enters, each once, in
// a fixed order; none when the kind stays.
QStringList MaterialColumnsToClear(EMaterialKind stored, EMaterialKind chosen);

// Whether a material type may be a member of a material group: a kind of
// material (not a group item nor the mask, whose low 16 bits are 0), and
// neither a service nor a consultation.
bool IsMaterialGroupMember(long code);

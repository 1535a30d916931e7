#pragma once
// What the sheets need to know of the items of the materials directory (dir
// rows of nDirType 3): the name, and the type and flags that decide what a
// column of the item holds.
//
// The type code carries the item's group in its high 16 bits: services are
// group 4 (a column of 0/1), consultations and redirections group 7. A
// consultation records kinds (xConsAndDir, the bits of nSpecFlags): ByCode (1)
// puts it on the visits sheet, one 0/1 column per other kind it carries, and
// its stored cell is the OR of the kinds ticked for the client; without ByCode
// it is counted in people on the redirections sheet, one line per kind.
#include <QHash>
#include <QList>
#include <QString>

class CxSQL;

inline constexpr qint32 kMaterialGroupMask = 0x0fff0000;
inline constexpr qint32 kServiceGroup = 0x40000;
inline constexpr qint32 kConsultationMask = 0x70000;
inline constexpr qint32 kConsultByCode = 1;
// The kinds of a consultation that take a column or a line, in flag order.
inline constexpr qint32 kConsultationFlags[] = {2, 4, 8, 16, 32, 64};

struct CSheetMaterial {
    qint32 id = 0;
    QString name;
    qint32 type = 0;
    qint32 specFlags = 0;
    bool hidden = false;

    bool IsConsultation() const { return (type & kConsultationMask) == kConsultationMask; }
    bool IsService() const { return (type & kMaterialGroupMask) == kServiceGroup; }
    bool ByCode() const { return specFlags & kConsultByCode; }
};

using CSheetMaterials = QHash<qint32, CSheetMaterial>;

// Reads the items of the materials directory among ids (missing ones are
// simply not in the answer) into *materials, adding to what it holds.
bool LoadSheetMaterials(CxSQL* sql, const QList<qint32>& ids, CSheetMaterials* materials,
                        QString* error);

// The display text of a consultation kind; empty for a code that names none.
QString ConsultationFlagText(qint32 flag);

// The error-list line for a directory item that cannot be found (position
// says where it was met): "Ошибка загрузки материала с кодом %d\n(позиция
// ошибки %d)".
QString MaterialLoadErrorText(int position, qint32 item);

#include "material_kinds.h"

namespace {
constexpr long kGroupMask = ~0xFFFFL;

const char kAuditory[] = "nAuditory";
const char kPubType[] = "nPubType";
const char kCircul[] = "nCircul";
const char kSpecFlags[] = "nSpecFlags";
const char kConfigGroup[] = "nConfigGroup";

// Every column that belongs to some kind, in the order they are cleared.
const QStringList& KindColumns() {
    static const QStringList columns{kAuditory, kPubType, kCircul, kSpecFlags, kConfigGroup};
    return columns;
}
} // namespace

const QList<CMaterialKindDef>& MaterialKinds() {
    static const QList<CMaterialKindDef> kinds{
        {EMaterialKind::Syringes,
         "Syringes",
         "Шприцы",
         {{0x10001, "Шприц 1мл"},
          {0x10002, "Шприц 2мл"},
          {0x10003, "Шприц 5мл"},
          {0x10004, "Шприц 10мл"},
          {0x10005, "Шприц 20мл"},
          {0x10006, "Шприц инсулиновый"},
          {0x10fff, "Шприц другой"}},
         0,
         {}},
        {EMaterialKind::Needles,
         "Needles",
         "Иголки",
         {{0x20001, "Иголка 0.4мм"},
          {0x20002, "Иголка 0.45мм"},
          {0x20003, "Иголка 0.5мм"},
          {0x20004, "Иголка 0.6мм"},
          {0x20fff, "Иголки другие"}},
         0,
         {}},
        {EMaterialKind::Booklets,
         "Booklets",
         "Буклеты",
         {},
         0x50005,
         {kAuditory, kPubType, kCircul}},
        {EMaterialKind::Other,
         "Other",
         "Другое",
         {{0x30002, "Спиртовые салфетки"},
          {0x30009, "Салфетки"},
          {0x3000c, "Фильтры"},
          {0x3000d, "Контейнеры"},
          {0x3000e, "Лубриканты"},
          {0x30fff, "Другой материал"}},
         0,
         {}},
        {EMaterialKind::Services, "Services", "Услуги", {}, 0x40fff, {kConfigGroup}},
        {EMaterialKind::Returned,
         "Returned",
         "Возвратные мат-лы",
         {{0x60001, "Шприц"}, {0x60002, "Игла"}},
         0,
         {}},
        {EMaterialKind::Consultations,
         "Consultations",
         "Консультации",
         {},
         0x70fff,
         {kSpecFlags, kConfigGroup}},
        {EMaterialKind::Medicines,
         "Medicines",
         "Медикаменты",
         {{0x30003, "Хлоргексидин"},
          {0x30004, "Йод, зеленка"},
          {0x30005, "Вата"},
          {0x30006, "Бинт"},
          {0x30007, "Перекись водорода"},
          {0x30008, "Лейкопластырь"},
          {0x3000a, "Другие медикаменты"},
          {0x3000b, "Вода для инъекций"},
          {0x30010, "Налоксон"}},
         0,
         {}},
        {EMaterialKind::Condoms,
         "Condoms",
         "Презервативы",
         {{0x80001, "Мужские презервативы"}, {0x80002, "Женские презервативы"}},
         0,
         {}},
    };
    return kinds;
}

const CMaterialKindDef* MaterialKind(EMaterialKind kind) {
    for (const CMaterialKindDef& def : MaterialKinds())
        if (def.kind == kind)
            return &def;
    return nullptr;
}

EMaterialKind MaterialKindOfCode(long code) {
    if (code == 0x80001 || code == 0x80002)
        return EMaterialKind::Condoms;
    for (const CMaterialCodeChoice& c : MaterialKind(EMaterialKind::Medicines)->choices)
        if (c.code == code)
            return EMaterialKind::Medicines;
    switch (code & kGroupMask) {
    case 0x10000:
        return EMaterialKind::Syringes;
    case 0x20000:
        return EMaterialKind::Needles;
    case 0x30000:
        return EMaterialKind::Other;
    case 0x40000:
        return EMaterialKind::Services;
    case 0x50000:
        return EMaterialKind::Booklets;
    case 0x60000:
        return EMaterialKind::Returned;
    case 0x70000:
        return EMaterialKind::Consultations;
    default:
        return EMaterialKind::None;
    }
}

long MaterialCodeOnSave(EMaterialKind kind, long storedCode, long chosenCode) {
    const CMaterialKindDef* def = MaterialKind(kind);
    if (!def)
        return -1;
    if (chosenCode != -1 && MaterialKindOfCode(chosenCode) == kind)
        return chosenCode;
    if (MaterialKindOfCode(storedCode) == kind)
        return storedCode;
    return def->fixedCode ? def->fixedCode : -1;
}

QStringList MaterialColumnsToClear(EMaterialKind stored, EMaterialKind chosen) {
    QStringList clear;
    if (stored == chosen)
        return clear;
    const CMaterialKindDef* left = MaterialKind(stored);
    const CMaterialKindDef* entered = MaterialKind(chosen);
    for (const QString& column : KindColumns())
        if ((left && left->columns.contains(column)) ||
            (entered && entered->columns.contains(column)))
            clear << column;
    return clear;
}

bool IsMaterialGroupMember(long code) {
    const long group = code & 0xFFF0000L;
    return (code & 0xFFFF) != 0 && group != 0x70000 && group != 0x40000;
}

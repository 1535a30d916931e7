#include "directory_generator.h"

#include "clients/directories/core/material_kinds.h"
#include "diary/core/material_pack.h"
#include "framework/core/containers/string_vars.h"
#include "model/config/configuration.h"
#include "model/enums/material_type.h"
#include "row_batch.h"

#include <QHash>
#include <climits>

namespace {
// dir.nDirType of each kind of directory row.
enum DirType {
    DirPoints = 1,
    DirWorkers = 2,
    DirMaterials = 3,
    DirDrugs = 4,
    DirTrainingTypes = 7,
    DirMatGroups = 10,
    DirMatPacks = 11,
    DirDonors = 12,
};

// xConsAndDir: the kinds a consultation records.
enum ConsFlag {
    ConsByCode = 1,
    ConsPrjConsult = 2,
    ConsDirConsult = 4,
    ConsDirPass = 8,
    ConsPositive = 16,
    ConsPrjTreat = 32,
    ConsDirTreat = 64,
};

constexpr int kNull = INT_MIN;
constexpr int kExtraFolderSize = 500;

// One row of dir; kNull columns are stored as NULL.
struct DirRow {
    int id = 0;
    int group = 0;
    bool folder = false;
    QString name;
    QString description;
    int dirType = 0;
    int type = kNull;
    bool hidden = false;
    int sortCode = 100;
    int specFlags = 0;
    int byCode = 0;
    int configGroup = 0;
    int speciality = kNull;
    int service = kNull;
    int donor = kNull;
    int pubType = 0;
    int audience = 0;
    int circulation = kNull;
    int prodType = kNull;
    int useType = kNull;
    int town = 0;
    QString otherInfo; // empty: NULL
};

// The directory rows, with the per-kind order numbers the program keeps
// unique (the schema upgrade renumbers a kind that has two equal ones).
class DirWriter {
public:
    DirWriter(CxSQL* sql, CDataGenWorld& world)
        : m_world(world),
          m_rows(sql, "dir",
                 {"ROWID",      "nGroupID", "bIsFolder",     "cString",     "cDescription",
                  "nDirType",   "nType",    "bHidden",       "nOrder",      "nSortCode",
                  "nSpecFlags", "bByCode",  "nConfigGroup",  "nSpeciality", "nUsluga",
                  "nDonorID",   "nPubType", "nAuditory",     "nCircul",     "nProdType",
                  "nUseType",   "nTown",    "nRegionDataID", "cOtherInfo"},
                 2000) {}

    int Add(DirRow row) {
        row.id = m_world.nextDirId++;
        m_rows.BeginRow();
        m_rows.Int(row.id);
        m_rows.Int(row.group);
        m_rows.Int(row.folder ? 1 : 0);
        m_rows.Text(row.name);
        m_rows.Text(row.description, true);
        m_rows.Int(row.dirType);
        Value(row.type);
        m_rows.Int(row.hidden ? 1 : 0);
        m_rows.Int(++m_order[row.dirType]);
        m_rows.Int(row.sortCode);
        m_rows.Int(row.specFlags);
        m_rows.Int(row.byCode);
        m_rows.Int(row.configGroup);
        Value(row.speciality);
        Value(row.service);
        Value(row.donor);
        m_rows.Int(row.pubType);
        m_rows.Int(row.audience);
        Value(row.circulation);
        Value(row.prodType);
        Value(row.useType);
        m_rows.Int(row.town);
        m_rows.Int(0);
        m_rows.Text(row.otherInfo, true);
        m_rows.EndRow();
        return row.id;
    }
    int Folder(int dirType, const QString& name) {
        DirRow row;
        row.folder = true;
        row.dirType = dirType;
        row.name = name;
        return Add(row);
    }
    bool Finish(QString* error) {
        if (m_rows.Finish())
            return true;
        *error = DescribeSQLError(m_rows.Error());
        return false;
    }
    qint64 Rows() const { return m_rows.Rows(); }

private:
    void Value(int v) {
        if (v == kNull)
            m_rows.Null();
        else
            m_rows.Int(v);
    }

    CDataGenWorld& m_world;
    CRowBatch m_rows;
    QHash<int, int> m_order;
};

QString Str(const char* text) {
    return QString::fromUtf8(text);
}

// --- materials and services -----------------------------------------------

// The catalogue, most common first, so that a smaller directory still holds
// every kind. Names come from the material type enumeration unless given.
struct MaterialDef {
    const char* identifier; // xMaterialType item
    const char* name;       // nullptr: the item's text
    int specFlags;
    int configGroup; // DIRECTIONANDCONSULTING code of a consultation
    int weight;
    bool hidden;
};

const MaterialDef kMaterials[] = {
    {"Syr2ml", nullptr, 0, 0, 30, false},
    {"Condoms", nullptr, 0, 0, 25, false},
    {"Needle05", nullptr, 0, 0, 18, false},
    {"ConsSpec", "Консультация по ВИЧ/СПИДу",
     ConsByCode | ConsPrjConsult | ConsDirConsult | ConsDirPass, 1, 6, false},
    {"AlcoholPreeps", nullptr, 0, 0, 14, false},
    {"Booklets", "Буклет «Профилактика ВИЧ»", 0, 0, 8, false},
    {"Syr5ml", nullptr, 0, 0, 16, false},
    {"BackSyr", nullptr, 0, 0, 10, false},
    {"srvOther", "Социальное сопровождение", 0, 0, 4, false},
    {"ConsSpec", "Тестирование на ВИЧ", ConsByCode | ConsPrjConsult | ConsDirPass | ConsPositive, 2,
     4, false},
    {"Syr1ml", nullptr, 0, 0, 8, false},
    {"Needle06", nullptr, 0, 0, 8, false},
    {"CondomsWoman", nullptr, 0, 0, 5, false},
    {"Chlorhexidine", nullptr, 0, 0, 5, false},
    {"Lubricates", nullptr, 0, 0, 5, false},
    {"ConsSpec", "Направление к фтизиатру", ConsDirConsult | ConsDirPass | ConsDirTreat, 3, 0,
     false},
    {"ConsSpec", "Консультация нарколога", ConsByCode | ConsPrjConsult | ConsDirConsult, 6, 3,
     false},
    {"Syr10ml", nullptr, 0, 0, 5, false},
    {"Needle04", nullptr, 0, 0, 4, false},
    {"BackNeedle", nullptr, 0, 0, 5, false},
    {"Filters", nullptr, 0, 0, 4, false},
    {"Containers", nullptr, 0, 0, 3, false},
    {"Iodine", nullptr, 0, 0, 3, false},
    {"Bandage", nullptr, 0, 0, 3, false},
    {"Nalokson", nullptr, 0, 0, 2, false},
    {"InjectionWater", nullptr, 0, 0, 4, false},
    {"DryPreeps", nullptr, 0, 0, 4, false},
    {"Booklets", "Буклет «Гепатиты B и C»", 0, 0, 4, false},
    {"Booklets", "Буклет «Передозировка: как помочь»", 0, 0, 4, false},
    {"srvOther", "Душ и стирка", 0, 0, 2, false},
    {"srvOther", "Горячее питание", 0, 0, 2, false},
    {"ConsSpec", "Консультация психолога", ConsByCode | ConsPrjConsult, 8, 2, false},
    {"ConsSpec", "Консультация юриста", ConsByCode | ConsPrjConsult | ConsDirConsult, 9, 2, false},
    {"ConsSpec", "Консультация по ИППП",
     ConsPrjConsult | ConsDirConsult | ConsDirPass | ConsPrjTreat, 4, 0, false},
    {"ConsSpec", "Заместительная терапия", ConsDirConsult | ConsDirTreat, 7, 0, false},
    {"Kit", nullptr, 0, 0, 2, false},
    {"CourtPlaster", nullptr, 0, 0, 2, false},
    {"HydrogenPeroxide", nullptr, 0, 0, 1, false},
    {"SyrInsul", nullptr, 0, 0, 1, true},
    {"Syr20ml", nullptr, 0, 0, 1, true},
    {"NeedleOther", nullptr, 0, 0, 1, true},
    {"OtherMat", nullptr, 0, 0, 1, false},
};

// Folders of the materials directory by kind (high part of the type code).
struct MaterialFolderDef {
    int kind;
    const char* name;
};
const MaterialFolderDef kMaterialFolders[] = {
    {0x10000, "Шприцы и иглы"},
    {0x20000, "Шприцы и иглы"},
    {0x30000, "Медикаменты и расходные материалы"},
    {0x40000, "Услуги"},
    {0x50000, "Информационные материалы"},
    {0x60000, "Возвратные материалы"},
    {0x70000, "Консультации и перенаправления"},
    {0x80000, "Презервативы"},
};

struct DrugDef {
    const char* name;
    int type;     // xDrugsEnum
    int prodType; // xProdType
    int useType;  // xMainRouteEnum bits
};
const DrugDef kDrugs[] = {
    {"Героин", 1, 1, 1 | 4},
    {"Метадон уличный", 1, 2, 1 | 2},
    {"Опий кустарный", 1, 1, 1},
    {"Трамадол", 1, 2, 2},
    {"Марихуана", 2, 1, 8},
    {"Кетамин", 3, 2, 1 | 4},
    {"ЛСД", 4, 1, 2},
    {"Амфетамин", 5, 1, 1 | 2 | 4},
    {"Мефедрон", 5, 1, 1 | 4 | 8},
    {"Кокаин", 5, 2, 4},
    {"Феназепам", 6, 2, 2},
    {"Смешанное употребление", 7, 1, 1 | 2},
};

const char* const kTrainingTypes[] = {
    "Снижение вреда при употреблении наркотиков",
    "Профилактика передозировок",
    "Профилактика ВИЧ и гепатитов",
    "Безопасное сексуальное поведение",
    "Группа взаимопомощи",
    "Обучение аутрич-работников",
    "Занятие для родственников клиентов",
    "Информационная акция",
};

// Packages and the kinds of material (high part of the type code) each
// gathers, in this order; 0 ends a list, an empty list takes every kind.
struct PackageDef {
    const char* name;
    int kinds[6];
};
const PackageDef kPackages[] = {
    {"Базовый набор ПИН", {0x10000, 0x20000, 0x30000, 0x80000, 0}},
    {"Набор для РКС", {0x80000, 0x50000, 0x70000, 0}},
    {"Набор для МСМ", {0x80000, 0x70000, 0}},
    {"Пункт обмена: полный набор", {0}},
};

// --- people and places -----------------------------------------------------

const char* const kSurnamesMale[] = {"Иванов",  "Петров",   "Сидоров", "Кузнецов", "Смирнов",
                                     "Попов",   "Васильев", "Соколов", "Михайлов", "Новиков",
                                     "Фёдоров", "Морозов",  "Волков",  "Алексеев", "Лебедев",
                                     "Семёнов", "Егоров",   "Павлов",  "Козлов",   "Степанов"};
const char* const kNamesMale[] = {"Александр", "Дмитрий", "Сергей", "Андрей", "Алексей",
                                  "Игорь",     "Олег",    "Михаил", "Павел",  "Виктор"};
const char* const kNamesFemale[] = {"Елена", "Ольга",  "Наталья",  "Ирина", "Татьяна",
                                    "Анна",  "Марина", "Светлана", "Юлия",  "Екатерина"};
const char* const kPatronymicsMale[] = {"Иванович", "Петрович", "Сергеевич", "Андреевич",
                                        "Викторович"};
const char* const kPatronymicsFemale[] = {"Ивановна", "Петровна", "Сергеевна", "Андреевна",
                                          "Викторовна"};
const char* const kStreets[] = {"ул. Садовая",  "ул. Лесная",    "ул. Школьная", "пр. Мира",
                                "ул. Гагарина", "ул. Заводская", "ул. Речная",   "пер. Почтовый"};

// xNodeType codes of service points, how often, and how a point is called.
struct NodeDef {
    int code;
    int weight;
    const char* prefix;
    bool weekends;
};
const NodeDef kNodes[] = {
    {1, 30, "Мобильный пункт", true},
    {2, 20, "Офис", false},
    {8, 20, "Уличный пункт", true},
    {3, 10, "Аптека", false},
    {4, 10, "Пункт вторичного обмена", false},
    {6, 10, "Комьюнити-центр", false},
};

template <class T, size_t N> constexpr int Count(const T (&)[N]) {
    return int(N);
}

QString WorkerName(int i) {
    const bool female = i % 2 == 1;
    const int surname = (i / 2) % Count(kSurnamesMale);
    const int name = (i / 2 / Count(kSurnamesMale)) % Count(kNamesMale);
    const int patronymic = (i / 2 / Count(kSurnamesMale) / Count(kNamesMale));
    QString text = Str(kSurnamesMale[surname]);
    if (female)
        text += u'а';
    text += u' ' + Str(female ? kNamesFemale[name] : kNamesMale[name]) + u' ' +
            Str(female ? kPatronymicsFemale[patronymic % Count(kPatronymicsFemale)]
                       : kPatronymicsMale[patronymic % Count(kPatronymicsMale)]);
    // Past the list's combinations the names repeat; a number tells them apart.
    const int round = patronymic / Count(kPatronymicsMale);
    if (round > 0)
        text += QStringLiteral(" (%1)").arg(round + 1);
    return text;
}

bool Fail(QString* error, const CxSQLError& e) {
    *error = DescribeSQLError(e);
    return false;
}
} // namespace

QString DescribeSQLError(const CxSQLError& error) {
    QString statement = error.statement.left(300);
    if (error.statement.size() > 300)
        statement += QStringLiteral("...");
    return QStringLiteral("%1 (%2)\n%3")
        .arg(error.text.trimmed())
        .arg(error.serverCode)
        .arg(statement);
}

bool GenerateOrganisation(CxSQL* sql, const CDataGenOptions& options, xKDConfiguration& config,
                          CDataGenWorld& world, QString* error) {
    xLanguage* language = config.GetCurrentLanguage();
    const xTowns& towns = language->Towns;
    POSITION pos = towns.InitScan_sEnum2();
    while (towns.ScanNext_sEnum2(pos)) {
        const sTowns* town = towns.Current(pos);
        if (town->nGroup == 0)
            continue;
        const sTowns* region = towns.Lookup(town->nGroup);
        world.towns.append(
            {int(town->nCode), int(town->nGroup), town->cText, region ? region->cText : QString()});
    }
    if (world.towns.isEmpty()) {
        *error = QStringLiteral("The configuration names no towns (TOWNS).");
        return false;
    }
    const CGenTown& home = world.towns.first();
    const QString period =
        QStringLiteral("%1 – %2").arg(options.FirstDay().toString(QStringLiteral("dd.MM.yyyy")),
                                      options.lastDay.toString(QStringLiteral("dd.MM.yyyy")));
    CRowBatch org(sql, "orginf",
                  {"ROWID", "cOrgID", "cOrgName", "cPrjName", "cSogName", "cCity", "cRegion",
                   "cAddress", "cPhone", "cEMail", "cWWW", "cBoss", "cBossPhone", "cProjRuk",
                   "cProjRukPhone", "cDonors", "cProjectDate"});
    org.BeginRow();
    org.Int(0);
    for (const QString& text :
         {Str("ORG-001"), Str("Общественная организация «Шаг навстречу»"),
          Str("Снижение вреда среди уязвимых групп"), Str("№ 17/ГФ"), home.title, home.regionTitle,
          Str("ул. Садовая, 12, офис 4"), Str("+7 (800) 100-20-30"), Str("info@shag.example.org"),
          Str("www.shag.example.org"), WorkerName(0), Str("+7 (900) 100-00-01"), WorkerName(1),
          Str("+7 (900) 100-00-02"), Str("Глобальный фонд"), period})
        org.Text(text);
    org.EndRow();
    if (!org.Finish())
        return Fail(error, org.Error());
    // The program's own copy of the TOWNS list into the table towns.
    if (!config.StoreTowns(sql)) {
        *error = config.GetLastError();
        return false;
    }
    return true;
}

bool GenerateDirectories(CxSQL* sql, const CDataGenOptions& options, xKDConfiguration& config,
                         CDataGenRandom rnd, CDataGenWorld& world, QString* error) {
    xLanguage* language = config.GetCurrentLanguage();
    DirWriter dir(sql, world);

    // Donors, one per entry of the configuration's list.
    POSITION pos = language->Donors.InitScan_sEnum2();
    while (language->Donors.ScanNext_sEnum2(pos)) {
        const sDonors* donor = language->Donors.Current(pos);
        DirRow row;
        row.dirType = DirDonors;
        row.name = donor->cText;
        row.configGroup = int(donor->nCode);
        world.donors.append(dir.Add(row));
    }
    if (world.donors.isEmpty()) {
        DirRow row;
        row.dirType = DirDonors;
        row.name = Str("Глобальный фонд");
        world.donors.append(dir.Add(row));
    }

    // Service points, in one folder per region, spread over the towns.
    QHash<QString, int> regionFolders;
    for (int i = 0; i < options.points; ++i) {
        const CGenTown& town = world.towns[i % world.towns.size()];
        if (!regionFolders.contains(town.regionTitle)) {
            regionFolders.insert(town.regionTitle, dir.Folder(DirPoints, town.regionTitle));
            world.regions.append(town.regionTitle);
        }
        int weight = 0;
        for (const NodeDef& n : kNodes)
            weight += n.weight;
        int at = rnd.Below(weight);
        const NodeDef* node = &kNodes[0];
        for (const NodeDef& n : kNodes) {
            if (at < n.weight) {
                node = &n;
                break;
            }
            at -= n.weight;
        }
        DirRow row;
        row.dirType = DirPoints;
        row.group = regionFolders.value(town.regionTitle);
        row.name = QStringLiteral("%1 №%2, %3").arg(Str(node->prefix)).arg(i + 1).arg(town.title);
        row.description = QStringLiteral("%1, %2")
                              .arg(Str(kStreets[rnd.Below(Count(kStreets))]))
                              .arg(rnd.Range(1, 120));
        row.type = node->code;
        row.town = town.id;
        CGenPoint point;
        point.id = dir.Add(row);
        point.regionIndex = int(world.regions.indexOf(town.regionTitle));
        point.weight = 0.4 + 1.2 * rnd.Unit();
        point.workChance = 0.55 + 0.4 * rnd.Unit();
        point.weekends = node->weekends;
        point.project = rnd.Chance(0.85) ? 1 : (rnd.Chance(0.5) ? 2 : 4);
        world.points.append(point);
    }

    // Materials and services, in folders by kind.
    QHash<QString, int> materialFolders;
    const int materialCount = options.materials > 0 ? options.materials : Count(kMaterials);
    xMaterialType* types = g_pMaterialType.Get();
    for (int i = 0; i < materialCount; ++i) {
        const MaterialDef& def = kMaterials[i % Count(kMaterials)];
        const sMaterialType* type = types->FindIdentifier(Str(def.identifier));
        if (!type) {
            *error = QStringLiteral("No material type %1").arg(Str(def.identifier));
            return false;
        }
        QString folderName;
        for (const MaterialFolderDef& f : kMaterialFolders) {
            if (f.kind == (type->nCode & xMaterialType::TypeMask))
                folderName = Str(f.name);
        }
        if (!materialFolders.contains(folderName))
            materialFolders.insert(folderName, dir.Folder(DirMaterials, folderName));
        QString name = def.name ? Str(def.name) : type->cText;
        // Past the catalogue the same items come again as further lots.
        if (i >= Count(kMaterials))
            name += QStringLiteral(", партия %1").arg(i / Count(kMaterials) + 1);
        const bool consultation = (type->nCode & 0x70000) == 0x70000;
        DirRow row;
        row.dirType = DirMaterials;
        row.group = materialFolders.value(folderName);
        row.name = name;
        row.type = int(type->nCode);
        row.hidden = def.hidden;
        row.sortCode = (i + 1) * 10;
        row.specFlags = def.specFlags;
        row.byCode = consultation && (def.specFlags & ConsByCode) ? 1 : 0;
        row.configGroup = def.configGroup;
        row.donor = world.donors[i % qMin(2, int(world.donors.size()))];
        if ((type->nCode & xMaterialType::TypeMask) == 0x50000) {
            row.pubType = 2; // thematic publication
            row.audience = 1 | 2 | 8;
            row.circulation = 1000 * rnd.Range(1, 10);
        }
        CGenMaterial material;
        material.id = dir.Add(row);
        material.type = row.type;
        material.specFlags = def.specFlags;
        material.hidden = def.hidden;
        material.weight = def.weight;
        world.materials.append(material);
    }

    // Each point's sheets show its usual items: the common ones and a few of
    // its own choice, consultations counted by client included.
    QList<int> usable;
    for (int m = 0; m < world.materials.size(); ++m) {
        const CGenMaterial& material = world.materials[m];
        if (!material.hidden && material.weight > 0 &&
            (!material.IsConsultation() || material.ByCode()))
            usable.append(m);
    }
    for (CGenPoint& point : world.points) {
        for (int m : usable) {
            const int weight = world.materials[m].weight;
            if (weight >= 14 || rnd.Chance(weight / 14.0))
                point.sheetSet.append(m);
        }
        if (point.sheetSet.isEmpty() && !usable.isEmpty())
            point.sheetSet.append(usable.first());
    }

    // Workers: outreach workers and specialists, spread over the points.
    const int workerCount = options.workers > 0 ? options.workers : 2 * options.points;
    const int outreachFolder = dir.Folder(DirWorkers, Str("Аутрич-работники"));
    const int specialistFolder = dir.Folder(DirWorkers, Str("Специалисты"));
    QList<int> services;
    for (const CGenMaterial& m : world.materials) {
        if (m.Kind() == 0x40000)
            services.append(m.id);
    }
    for (int i = 0; i < workerCount; ++i) {
        const bool specialist = i >= options.points && rnd.Chance(0.25);
        DirRow row;
        row.dirType = DirWorkers;
        row.group = specialist ? specialistFolder : outreachFolder;
        row.name = WorkerName(i);
        row.description = QStringLiteral("Высшее образование, тел. +7 (900) %1-%2-%3")
                              .arg(rnd.Range(100, 999))
                              .arg(rnd.Range(10, 99))
                              .arg(rnd.Range(10, 99));
        // WORKERTYPE and SPECIALITY codes of the configuration.
        row.configGroup = specialist ? (rnd.Chance(0.5) ? 3 : 4) : (rnd.Chance(0.8) ? 1 : 2);
        row.speciality = specialist ? (rnd.Chance(0.5) ? 4 : 2) : 1;
        if (specialist && !services.isEmpty())
            row.service = rnd.Pick(services);
        const int id = dir.Add(row);
        world.workers.append(id);
        world.workerNames.append(row.name);
        world.points[i % world.points.size()].workers.append(id);
    }

    for (const DrugDef& def : kDrugs) {
        DirRow row;
        row.dirType = DirDrugs;
        row.name = Str(def.name);
        row.type = def.type;
        row.prodType = def.prodType;
        row.useType = def.useType;
        world.drugs.append(dir.Add(row));
    }
    for (const char* name : kTrainingTypes) {
        DirRow row;
        row.dirType = DirTrainingTypes;
        row.name = Str(name);
        world.trainingTypes.append(dir.Add(row));
    }
    // Material groups after the group entries of MATGROUPS, with the member
    // types the configuration gives them, and packages of the usable
    // materials; both lists written as their forms write them.
    pos = language->MatGroups.InitScan_sEnum2();
    while (language->MatGroups.ScanNext_sEnum2(pos)) {
        const sMatGroups* group = language->MatGroups.Current(pos);
        if (group->nGroup != 0)
            continue;
        CStringVars members;
        POSITION member = language->MatGroups.InitScan_sEnum2();
        while (language->MatGroups.ScanNext_sEnum2(member)) {
            const sMatGroups* item = language->MatGroups.Current(member);
            if (item->nGroup == group->nCode && IsMaterialGroupMember(item->nCode))
                members.SetVar(QString::number(item->nCode), QStringLiteral("1"));
        }
        DirRow row;
        row.dirType = DirMatGroups;
        row.name = group->cText;
        row.otherInfo = members.Pack();
        dir.Add(row);
    }
    for (const PackageDef& def : kPackages) {
        CDDirMatPackArray items;
        for (int m : usable) {
            const CGenMaterial& material = world.materials[m];
            bool wanted = def.kinds[0] == 0;
            for (int k = 0; !wanted && k < Count(def.kinds) && def.kinds[k]; ++k)
                wanted = material.Kind() == def.kinds[k];
            if (wanted && items.size() < 40)
                items.append(material.id);
        }
        DirRow row;
        row.dirType = DirMatPacks;
        row.name = Str(def.name);
        row.otherInfo = items.SaveToString();
        dir.Add(row);
    }

    // A big directory: further rows of the common kinds, in folders.
    static const int kExtraKinds[] = {DirPoints, DirWorkers,       DirMaterials,
                                      DirDrugs,  DirTrainingTypes, DirDonors};
    static const char* const kExtraNames[] = {"Пункт",    "Сотрудник", "Материал",
                                              "Вещество", "Занятие",   "Донор"};
    QHash<int, int> extraFolders;
    for (int i = 0; dir.Rows() < options.dirRows; ++i) {
        const int k = i % Count(kExtraKinds);
        const int n = i / Count(kExtraKinds);
        if (n % kExtraFolderSize == 0) {
            extraFolders[k] = dir.Folder(
                kExtraKinds[k],
                QStringLiteral("Дополнительные записи, часть %1").arg(n / kExtraFolderSize + 1));
            continue;
        }
        DirRow row;
        row.dirType = kExtraKinds[k];
        row.group = extraFolders.value(k);
        row.name =
            QStringLiteral("%1 (доп.) %2").arg(Str(kExtraNames[k])).arg(n, 6, 10, QLatin1Char('0'));
        if (row.dirType == DirMaterials) {
            const CGenMaterial& like = world.materials[n % world.materials.size()];
            row.type = like.IsConsultation() ? 0x30fff : like.type;
        } else if (row.dirType == DirPoints) {
            row.type = 2;
            row.town = world.towns[n % world.towns.size()].id;
        } else if (row.dirType == DirDrugs) {
            row.type = 7;
        }
        dir.Add(row);
    }
    return dir.Finish(error);
}

// The report field catalogue: its order and identifiers, the SQL every field
// adds to a report's query (checked against the server too), what each field
// reads from a row, the town tree, the age groups and the client-code cut.
#include "db/schema/cache_tables.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/options/kelda_options.h"
#include "period_fixture.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/tests/rep_test_support.h"
#include "reports/period/core/client_fields.h"
#include "reports/period/core/count_fields.h"
#include "reports/period/core/field_list.h"
#include "reports/period/core/kelda_age_groups.h"
#include "reports/period/core/place_fields.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

namespace {
// The fixed fields in catalogue order.
const QList<long> kFixedHead = {20437, 20439, 20440, 20586, 20587, 20446, 20447, 20441, 20899,
                                20589, 20902, 20560, 20442, 20443, 20444, 20438, 20574, 20568,
                                20900, 20573, 20588, 20776, 20575, 20576, 20582, 20583, 20584,
                                20585, 20606, 20605, 20734, 20603, 20604};
const QList<long> kFixedTail = {20581, 20593, 20579, 20580, 20578};

QList<long> Ids(const CRFList& list) {
    QList<long> ids;
    for (CRepField* field : list)
        ids << field->GetID();
    return ids;
}
} // namespace

class TestPeriodFields : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void catalogue();
    void fieldSQL_data();
    void fieldSQL();
    void everyFieldInOneQuery();
    void rowValues_data();
    void rowValues();
    void uniquePersons();
    void townTree();
    void ageGroups();
    void ageAtPeriodEnd();
    void clientCodeCut();
    void stateOnDate();

private:
    std::unique_ptr<CRepBaseData> Run2012() {
        return std::make_unique<CRepBaseData>(m_db->Connection(), QDate(2012, 1, 1),
                                              QDate(2012, 12, 31));
    }
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestPeriodFields::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("fields"));
    LoadPeriodFixture(*m_db);
    DropCacheTables(m_db->Connection());
}

void TestPeriodFields::init() {
    InstallConfig(PeriodTestLists());
    CTarvikApp::ClearErrorMessages();
}

void TestPeriodFields::catalogue() {
    // No material groups: the 38 fixed fields.
    InstallConfig(QString());
    QCOMPARE(Ids(CRFList()), kFixedHead + kFixedTail);
    // Two fields per top-level group, between the project and the point;
    // items of a group make none.
    InstallConfig(QStringLiteral("<MATGROUPS><Item ID='510' Title='Шприцы'/><Item ID='65538' "
                                 "Title='Шприц' Group='510'/><Item ID='5' Title='Пятая'/>"
                                 "</MATGROUPS>"));
    CRFList list;
    const QList<long> groups = {5, 5 + 0x10000000, 510, 510 + 0x10000000};
    QCOMPARE(Ids(list), kFixedHead + groups + kFixedTail);
    QCOMPARE(list.Find(5 + 0x10000000)->GetTitle(), QStringLiteral("Пятая, клиентов"));
    QCOMPARE(list.Find(5 + 0x10000000)->GetFieldName(), QStringLiteral("cli268435461"));
    QCOMPARE(list.Find(510)->GetFieldName(), QStringLiteral("sum510"));
    // Titles, page flags, classes and kinds of a few.
    QCOMPARE(list.Find(20581)->GetTitle(), QStringLiteral("*Пункт предоставления услуг"));
    QCOMPARE(list.Find(20578)->GetTitle(), QStringLiteral("**Количетсво пунктов"));
    QCOMPARE(list.Find(20437)->GetFlags(), 0x14u);
    QCOMPARE(list.Find(20438)->GetFlags(), 0x10017u);
    QCOMPARE(list.Find(20580)->GetCSSClass(), QStringLiteral("d"));
    QCOMPARE(list.Find(20437)->GetCSSClass(), QStringLiteral("cl"));
    QCOMPARE(list.Find(20589)->GetValueKind(), 1L);
    QCOMPARE(list.Find(20902)->GetValueKind(), 3L);
    QCOMPARE(list.Find(20899)->GetValueKind(), 2L);
    QCOMPARE(list.Find(20900)->GetValueKind(), 2L);
    for (CRepField* field : list)
        QCOMPARE(field->GetFootnote(nullptr), -1L);
}

void TestPeriodFields::fieldSQL_data() {
    QTest::addColumn<long>("id");
    // {S} summary, {D} state, {C} client records, {R} regular, {P} the period
    QTest::addColumn<QString>("sql");
    const QString dj =
        QStringLiteral(" JOIN _cache_dpclients0 AS {D} ON {D}.nClientID={S}.nClientID "
                       "AND '2012-12-31' BETWEEN {D}.dStartDate AND {D}.dEndDate");
    const QString cj = QStringLiteral(" JOIN {C} ON {C}.nClientID={S}.nClientID");
    const QString wrkpl =
        QStringLiteral(" LEFT JOIN dir AS wrkpl ON wrkpl.ROWID={S}.nWorkplace AND "
                       "NOT wrkpl.bIsFolder AND wrkpl.nDirType=1");
    const QString first = QStringLiteral(
        " LEFT JOIN dir AS FirstWorkplace ON FirstWorkplace.ROWID={D}.nFirstWorkplace AND NOT "
        "FirstWorkplace.bIsFolder AND FirstWorkplace.nDirType=1");
    const QString posh = QStringLiteral(" LEFT JOIN dir AS Posh ON Posh.ROWID={S}.nWorkplace");
    const QString place =
        QStringLiteral(" LEFT JOIN dir AS WorkPlace ON WorkPlace.ROWID={S}.nWorkplace");
    const auto row = [](long id, const QString& sql) { QTest::addRow("%ld", id) << id << sql; };
    row(20437, "SELECT {C}.cGClientCode FROM {S}" + cj + " GROUP BY {C}.cGClientCode");
    row(20439, "SELECT {C}.nSex FROM {S}" + cj);
    row(20440, "SELECT {C}.bPDI FROM {S}" + cj);
    row(20586, "SELECT ({D}.nClientType2&8192) AS bVolonter FROM {S}" + dj);
    row(20587, "SELECT {C}.bSecondary FROM {S}" + cj);
    row(20446, "SELECT IF({D}.bPDI AND {D}.nClientType=1 AND {D}.dFirstDate BETWEEN {P},1,0) AS "
               "bPDIIDU FROM {S}" +
                   dj);
    row(20447, "SELECT IF({D}.bPDI AND {D}.nClientType=2 AND {D}.dFirstDate BETWEEN {P},1,0) AS "
               "bPDIWCS FROM {S}" +
                   dj);
    row(20441, "SELECT COUNT(DISTINCT {S}.nClientID) AS nClients FROM {S} GROUP BY {S}.nClientID");
    row(20899, "SELECT COUNT(DISTINCT {S}.nClientID) AS nClients FROM {S} GROUP BY {S}.nClientID");
    row(20589, "SELECT {C}.gROWID,{C}.nBirthYear,{C}.nSex FROM {S}" + cj);
    row(20902, "SELECT {C}.gROWID,{C}.nBirthYear,{C}.nSex FROM {S}" + cj);
    row(20560, "SELECT IF(ISNULL({R}.nClientID),0,1) AS nRegVis FROM {S} LEFT JOIN {R} ON "
               "{R}.nClientID={S}.nClientID");
    row(20442, "SELECT SUM(IF(wrkpl.nType=3,1,0)) AS bApteka FROM {S}" + wrkpl);
    row(20443, "SELECT SUM(IF(wrkpl.nType=3 AND {D}.dFirstDate BETWEEN {P} AND  "
               "FirstWorkplace.nType=3,1,0)) AS bNewApteka FROM {S}" +
                   dj + wrkpl + first);
    row(20444, "SELECT IF({D}.dFirstDate BETWEEN {P},1,0) AS bNewClient FROM {S}" + dj);
    row(20438, "SELECT {D}.nClientType FROM {S}" + dj + " GROUP BY {D}.nClientType");
    // Its own groups, not the main group's column.
    row(20574, "SELECT ({D}.nClientType2&-8193) AS nClientType2 FROM {S}" + dj +
                   " GROUP BY ({D}.nClientType2&-8193)");
    row(20568, "SELECT SUM({S}.nVisits) AS nVisits FROM {S}");
    row(20900, "SELECT SUM({S}.nVisits) AS nVisits FROM {S}");
    row(20573, "SELECT {C}.nBirthYear FROM {S}" + cj);
    row(20588,
        "SELECT FirstWorkplace.cString AS cFirstPOU,{D}.nFirstWorkplace FROM {S}" + dj + first);
    row(20776, "SELECT FirstWorkplace.nType AS nFirstWorkplaceType FROM {S}" + dj + first);
    row(20575, "SELECT {D}.nEducationLevel FROM {S}" + dj);
    row(20576, "SELECT {D}.nEploymentStatus FROM {S}" + dj);
    row(20582, "SELECT drmain.nType AS nMainDrug FROM {S}" + dj +
                   " LEFT JOIN dir AS drmain ON drmain.ROWID={D}.nBasicDrug AND "
                   "drmain.nDirType=4");
    row(20583, "SELECT dl2.nType AS nSecDrug FROM {S}" + dj +
                   " LEFT JOIN dir AS dl2 ON dl2.ROWID={D}.nSecondaryDrug AND dl2.nDirType=4");
    row(20584, "SELECT {D}.nUseFrequency FROM {S}" + dj);
    row(20585, "SELECT orginf.cOrgID AS cOrganization,{D}.nRegionDataID FROM {S}" + dj +
                   " LEFT JOIN orginf ON orginf.ROWID={D}.nRegionDataID");
    row(20606, "SELECT COUNT( DISTINCT IF({C}.nSex=1,{S}.nClientID,NULL)) AS nClientsMan FROM {S}" +
                   cj + " GROUP BY {S}.nClientID");
    row(20605, "SELECT COUNT( DISTINCT IF({C}.nSex=2,{S}.nClientID,NULL)) AS nClientsWoman FROM "
               "{S}" +
                   cj + " GROUP BY {S}.nClientID");
    row(20734, "SELECT COUNT( DISTINCT IF({C}.nSex=3,{S}.nClientID,NULL)) AS nClientsTrans FROM "
               "{S}" +
                   cj + " GROUP BY {S}.nClientID");
    row(20603, "SELECT SUM({S}.`sum263148`) AS sum263148 FROM {S}");
    row(20604, "SELECT {S}.nProject FROM {S} GROUP BY {S}.nProject");
    row(510, "SELECT SUM({S}.`sum510`) AS sum510 FROM {S}");
    row(510 + 0x10000000, "SELECT COUNT(DISTINCT IF({S}.`sum510`,{D}.nClientID,NULL)) AS "
                          "cli268435966 FROM {S}" +
                              dj);
    row(20581, "SELECT Posh.cString AS cPoshName,{S}.nWorkplace FROM {S}" + posh +
                   " GROUP BY {S}.nWorkplace");
    row(20593, "SELECT Posh.nType AS nWorkplaceType FROM {S}" + posh + " GROUP BY Posh.nType");
    row(20579, "SELECT WorkPlace.nTown AS nTownID FROM {S}" + place + " GROUP BY WorkPlace.nTown");
    row(20580, "SELECT WorkPlace.nTown AS nTownID FROM {S}" + place + " GROUP BY WorkPlace.nTown");
    row(20578, "SELECT COUNT(DISTINCT {S}.nWorkplace ) AS nWorkplaceCount FROM {S}");
}

void TestPeriodFields::fieldSQL() {
    QFETCH(long, id);
    QFETCH(QString, sql);
    CRFList list;
    CRepField* field = list.Find(id);
    QVERIFY(field);
    auto run = Run2012();
    CSimpleSelect select;
    field->AddSelect(select, run.get());
    field->AddGroup(select, run.get());
    const QString s = run->PrepareSummaryTable();
    const QString expected = CxString::StrTr(
        sql, {{QStringLiteral("{S}"), s},
              {QStringLiteral("{D}"), QStringLiteral("dpd201212310")},
              {QStringLiteral("{C}"), QStringLiteral("_cache_clidata")},
              {QStringLiteral("{R}"), QStringLiteral("_cache_regc2012010120121231")},
              {QStringLiteral("{P}"), QStringLiteral("STR_TO_DATE('20120101','%Y%m%"
                                                     "d') AND STR_TO_DATE('20121231','%Y%m%d')")}});
    QCOMPARE(select.Build(s), expected);
    QVERIFY(m_db->Connection()->Execute(expected).isValid());
}

void TestPeriodFields::everyFieldInOneQuery() {
    // Fields that add the same join or item still make one valid statement.
    CRFList list;
    auto run = Run2012();
    CSimpleSelect select;
    for (CRepField* field : list)
        field->AddSelect(select, run.get());
    for (CRepField* field : list)
        field->AddGroup(select, run.get());
    const QString sql = select.Build(run->PrepareSummaryTable());
    QCOMPARE(sql.count(QStringLiteral("JOIN dir AS FirstWorkplace ")), 1);
    QCOMPARE(sql.count(QStringLiteral("JOIN dir AS Posh ")), 1);
    QCOMPARE(sql.count(QStringLiteral("JOIN _cache_dpclients0 AS dpd201212310 ")), 1);
    CxResult result = m_db->Connection()->Execute(sql);
    QVERIFY2(result.isValid(), qPrintable(result.Error().text));
    for (CRepField* field : list)
        field->Bind(&result);
    QVERIFY(result.FetchRow());
    for (CRepField* field : list) {
        field->GetValue();
        field->GetDetValue();
        field->GetGroupID();
    }
}

void TestPeriodFields::rowValues_data() {
    QTest::addColumn<long>("id");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");     // the column's value in the row
    QTest::addColumn<QString>("detail");    // GetDetValue
    QTest::addColumn<long>("group");        // GetGroupID
    QTest::addColumn<QString>("groupText"); // GetGroupText
    QTest::addColumn<double>("number");     // GetValue
    const auto row = [](const char* name, long id, const char* column, const char* value,
                        const char* detail, long group, const char* groupText, double number) {
        QTest::newRow(name) << id << QString::fromLatin1(column) << QString::fromLatin1(value)
                            << QString::fromUtf8(detail) << group << QString::fromUtf8(groupText)
                            << number;
    };
    row("sex", 20439, "nSex", "2", "Женский", 2, "Женский", 0);
    row("sex unknown", 20439, "nSex", "5", "Ошибка", 5, "Ошибка", 0);
    row("PDI", 20440, "bPDI", "1", "Клиент проекта PDI", 1, "Клиент проекта PDI", 1);
    row("not PDI", 20440, "bPDI", "0", "Не клиент PDI", 0, "Не клиент PDI", 0);
    row("volunteer", 20586, "bVolonter", "8192", "Волонтер", 1, "Волонтер", 0);
    row("not volunteer", 20586, "bVolonter", "0", "Не волонтер", 0, "Не волонтер", 0);
    row("secondary", 20587, "bSecondary", "1", "Вторичного обмена", 1, "Вторичного обмена", 0);
    row("group none", 20438, "nClientType", "0", "Не заполнена", 0, "Не заполнена", 0);
    row("groups joined", 20438, "nClientType", "6", "РКС, МСМ", 6, "РКС, МСМ", 0);
    row("group unknown", 20438, "nClientType", "8388608", "Ошибка: 8388608", 8388608,
        "Ошибка: 8388608", 0);
    row("second groups", 20574, "nClientType2", "5", "ПИН, МСМ", 5, "ПИН, МСМ", 0);
    row("education", 20575, "nEducationLevel", "5", "Высшее", 5, "Высшее", 0);
    row("education unknown", 20575, "nEducationLevel", "42", "Нет данных", -1, "Нет данных", 0);
    row("employment", 20576, "nEploymentStatus", "3", "Студент", 3, "Студент", 0);
    row("drug", 20582, "nMainDrug", "1", "Опиаты", 1, "Опиаты", 0);
    row("drug none", 20582, "nMainDrug", "-5", "Нет данных", 0, "Нет данных", 0);
    row("drug unknown", 20583, "nSecDrug", "77", "Ошибка: 77", 77, "Ошибка: 77", 0);
    row("clients", 20441, "nClients", "3", "1", -1, "", 3);
    row("visits", 20568, "nVisits", "4", "4", -1, "", 4);
    row("regular", 20560, "nRegVis", "1", "Да", 1, "Регулярный клиент", 1);
    row("not regular", 20560, "nRegVis", "0", "Нет", 0, "Не регулярный", 0);
    row("new", 20444, "bNewClient", "1", "Новый клиент", 1, "Новый клиент", 1);
    row("old", 20444, "bNewClient", "0", "Старый клиент", 0, "Старый клиент", 0);
    row("pharmacy", 20442, "bApteka", "2", "Охвачен аптекой", 1, "Охвачен аптекой", 1);
    row("pharmacy new", 20443, "bNewApteka", "0", "Пришел впервые не в аптеку", 0,
        "Пришел впервые не в аптеку", 0);
    row("PDI new", 20446, "bPDIIDU", "1", "Да", 1, "Да", 1);
    row("community centre", 20603, "sum263148", "7", "7", -1, "", 7);
    row("community centre none", 20603, "sum263148", "0", "", -1, "", 0);
    row("projects none", 20604, "nProject", "0", "", 0, "", 0);
    row("project", 20604, "nProject", "2", "РКС", 2, "РКС", 2);
    row("material group", 510, "sum510", "12", "12", -1, "", 12);
    row("material group none", 510, "sum510", "0", "", -1, "", 0);
    row("point type", 20593, "nWorkplaceType", "3", "Аптека", 3, "Аптека", 0);
    row("points", 20578, "nWorkplaceCount", "2", "", -1, "", 2);
    row("age", 20573, "nBirthYear", "1980", "30 и старше", 30, "30 и старше", 0);
    row("age of a child", 20573, "nBirthYear", "2000", "0-17", 0, "0-17", 0);
}

void TestPeriodFields::rowValues() {
    QFETCH(long, id);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, detail);
    QFETCH(long, group);
    QFETCH(QString, groupText);
    QFETCH(double, number);
    CRFList list;
    CRepField* field = list.Find(id);
    QVERIFY(field);
    if (auto* age = dynamic_cast<CRF_AgeGroup*>(field))
        age->SetReferenceYear(2012);
    // A row of another value first: the field must read the second row anew.
    CxResult result = m_db->Connection()->Execute(
        QStringLiteral("SELECT 99 AS %1 UNION ALL SELECT %2").arg(column, value));
    QVERIFY(result.isValid());
    field->Bind(&result);
    QVERIFY(result.FetchRow());
    field->GetDetValue();
    QVERIFY(result.FetchRow());
    QCOMPARE(field->GetGroupID(), group);
    QCOMPARE(field->GetDetValue(), detail);
    QCOMPARE(field->GetGroupText(), groupText);
    QCOMPARE(field->GetValue(), number);
}

void TestPeriodFields::uniquePersons() {
    // Two rows of one person give one key; a bad birth year counts as 1900
    // and is reported once per field.
    CRF_UniqClients field;
    CxResult result = m_db->Connection()->Execute(QStringLiteral(
        "SELECT 7 AS gROWID,1980 AS nBirthYear,1 AS nSex UNION ALL SELECT 7,1980,1 UNION ALL "
        "SELECT 7,1981,1 UNION ALL SELECT 8,2300,2 UNION ALL SELECT 8,1800,2"));
    field.Bind(&result);
    QList<double> keys;
    while (result.FetchRow())
        keys << field.GetValue();
    const double k = ((7.0 * 300 + 80) * 11 + 1);
    QCOMPARE(keys, (QList<double>{k, k, k + 11, (8.0 * 300 + 0) * 11 + 2, (8.0 * 300) * 11 + 2}));
    QCOMPARE(CTarvikApp::GetErrorMessages(),
             QStringList{QStringLiteral("Ошибка в дате рождения.")});
    // In 32 bits, as the keys are counted.
    QCOMPARE(CRF_UniqClients::PersonKey(2000000, 1900, 0), qint32(quint32(2000000u * 3300u)));
}

void TestPeriodFields::townTree() {
    // 1000 top, 1001 in it, 1002 in 1001; a chain of 11 steps from 2011 down
    // to 2000 (its top) and of 10 from 2010; 3000 and 3001 each other's
    // parent; 4000 under a missing town.
    QStringList rows{"(1000,0,'Верх')",      "(1001,1000,'Середина')", "(1002,1001,'Низ')",
                     "(3000,3001,'Круг А')", "(3001,3000,'Круг Б')",   "(4000,4999,'Сирота')",
                     "(2000,0,'Цепь')"};
    for (int i = 2001; i <= 2011; ++i)
        rows << QStringLiteral("(%1,%2,'Звено %1')").arg(i).arg(i - 1);
    TestDatabase db(QStringLiteral("towns"));
    db.Exec(QStringLiteral("CREATE TABLE towns (ROWID INT PRIMARY KEY,nGroupID INT,cShortName "
                           "VARCHAR(255))"));
    db.Exec(QStringLiteral("INSERT INTO towns VALUES ") + rows.join(u','));
    QHash<long, QString> leaves;
    QVERIFY(TownTree::LoadLeafTowns(db.Connection(), leaves));
    QCOMPARE(QSet<long>(leaves.keyBegin(), leaves.keyEnd()), (QSet<long>{1002, 4000, 2011}));
    QHash<long, long> ancestors;
    QHash<long, QString> regions;
    QVERIFY(TownTree::LoadTownList(db.Connection(), ancestors, regions));
    QCOMPARE(ancestors.value(1000), 1000L);
    QCOMPARE(ancestors.value(1002), 1000L);
    QCOMPARE(ancestors.value(2010), 2000L);
    QCOMPARE(ancestors.value(2011), 0L);
    QCOMPARE(ancestors.value(3000), 0L);
    QCOMPARE(ancestors.value(4000), 0L);
    QCOMPARE(regions, (QHash<long, QString>{{1000, "Верх"}, {2000, "Цепь"}}));

    // The fields: a point in a town that has towns inside shows the error.
    CRF_Town town;
    CRF_Obl region;
    town.LoadTowns(db.Connection());
    region.LoadTowns(db.Connection());
    CxResult result = db.Connection()->Execute(
        QStringLiteral("SELECT 1002 AS nTownID UNION ALL SELECT 1001 UNION ALL SELECT 2011"));
    town.Bind(&result);
    region.Bind(&result);
    const QStringList expected = {"Низ|1002|Верх|1000", "Ошибка|-1|Верх|1000",
                                  "Звено 2011|2011|Ошибка|-1"};
    QStringList seen;
    while (result.FetchRow())
        seen << QStringLiteral("%1|%2|%3|%4")
                    .arg(town.GetDetValue())
                    .arg(town.GetGroupID())
                    .arg(region.GetGroupText())
                    .arg(region.GetGroupID());
    QCOMPARE(seen, expected);
}

void TestPeriodFields::ageGroups() {
    const CKeldaAgeGroups2 fixed;
    QCOMPARE(fixed.GetCount(), 13);
    QCOMPARE(fixed.GetAt(0).title, QStringLiteral("0-9"));
    QCOMPARE(fixed.GetAt(10).title, QStringLiteral("50-59"));
    QCOMPARE(fixed.GetAt(11).title, QStringLiteral("60 и старше"));
    QCOMPARE(fixed.GetAt(12).lower, 100L);
    QCOMPARE(fixed.GetGroupNameFromAge(99), QStringLiteral("60 и старше"));
    QCOMPARE(fixed.GetGroupNameFromAge(130), QStringLiteral("Возраст не определен"));
    // An item without a name is titled from its bounds.
    InstallConfig(QStringLiteral("<AGEGROUP><Item ID='0'/><Item ID='18' Name='Взрослые'/>"
                                 "</AGEGROUP>"));
    const CKeldaAgeGroups configured;
    QCOMPARE(configured.GetCount(), 2);
    QCOMPARE(configured.GetAt(0).title, QStringLiteral("0-17"));
    QCOMPARE(configured.GetGroupNameFromAge(40), QStringLiteral("Взрослые"));
}

void TestPeriodFields::ageAtPeriodEnd() {
    // Born 1995: 18 at the end of a period that runs into 2013, 17 at the end
    // of its first sub-period in 2012 (the field follows the run's end as
    // each query is built).
    CRF_AgeGroup field;
    CRepBaseData run(m_db->Connection(), QDate(2012, 6, 1), QDate(2013, 5, 31));
    const auto group = [&] {
        CSimpleSelect select;
        field.AddSelect(select, &run);
        CxResult result = m_db->Connection()->Execute(QStringLiteral("SELECT 1995 AS nBirthYear"));
        field.Bind(&result);
        const bool fetched = result.FetchRow();
        const QString text = fetched ? field.GetGroupText() : QString();
        field.Bind(nullptr);
        return text;
    };
    QCOMPARE(group(), QStringLiteral("18-29"));
    run.To() = QDate(2012, 12, 31);
    QCOMPARE(group(), QStringLiteral("0-17"));
    DropCacheTables(m_db->Connection());
}

void TestPeriodFields::clientCodeCut() {
    g_pOption_RepParam->m_ClipClientCode.Set(0);
    QString code = QStringLiteral("ABC0180M`12`7");
    QCOMPARE(ClipClientCode(code), QStringLiteral("ABC0180M`12`7"));
    g_pOption_RepParam->m_ClipClientCode.Set(1);
    QCOMPARE(ClipClientCode(code), QStringLiteral("ABC0180M`12"));
    QCOMPARE(code, QStringLiteral("ABC0180M`12"));
    QString onlyQuote = QStringLiteral("`5");
    QCOMPARE(ClipClientCode(onlyQuote), QString());
    QString plain = QStringLiteral("ABC0180M");
    QCOMPARE(ClipClientCode(plain), QStringLiteral("ABC0180M"));
    g_pOption_RepParam->m_ClipClientCode.Set(0);
}

void TestPeriodFields::stateOnDate() {
    // A yes/no mark kept as text reads as a number only when it is one; a
    // state recorded after the date is never taken; of two records of one
    // day (a database without the key that forbids them) the one entered
    // last holds.
    m_db->Exec(QStringLiteral("ALTER TABLE socialstatus DROP INDEX nClientID_dDate"));
    m_db->Exec(QStringLiteral("INSERT INTO socialstatus (ROWID,nClientID,dDate,bRegPolice,"
                              "bNarcoDisp) VALUES (1,1,'2012-01-01','1','x'),(2,3,'2013-01-01','1',"
                              "'1'),(4,9,'2012-05-01','1','1'),(3,9,'2012-05-01','0','0')"));
    DropCacheTables(m_db->Connection());
    auto run = Run2012();
    const QString state = run->PrepareSnapshotTables(QDate(2012, 12, 31));
    m_db->Exec(QStringLiteral("DELETE FROM socialstatus"));
    m_db->Exec(QStringLiteral("ALTER TABLE socialstatus ADD UNIQUE INDEX nClientID_dDate "
                              "(nClientID,dDate)"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT nClientID,bRegPolice,bNarcoDisp,nClientType FROM "
                                       "_cache_dpclients0 AS ") +
                        state + QStringLiteral(" WHERE ") +
                        CRepBaseData::SnapshotHolds(state, QDate(2012, 12, 31)) +
                        QStringLiteral(" AND nClientID IN (1,3,7,9) ORDER BY nClientID")),
             QStringLiteral("1|1|0|1;3|0|0|2;7|0|0|0;9|1|1|2"));
    DropCacheTables(m_db->Connection());
}

QTEST_GUILESS_MAIN(TestPeriodFields)
#include "test_period_fields.moc"

// The client register's rules as tables of cases: the client code and its
// save decision, the suggestion, the birth year and age, the vulnerable
// groups, the drug-use start, the health grid, the dated pages' save plan,
// the training audiences, the participant list's entries and check line.
#include "clients/core/birth_year_rules.h"
#include "clients/core/client_code_rules.h"
#include "clients/core/client_history_store.h"
#include "clients/core/drug_start_rules.h"
#include "clients/core/health_rules.h"
#include "clients/core/training_rules.h"
#include "clients/core/vulnerable_group_rules.h"

#include <QTest>

Q_DECLARE_METATYPE(ECodeSaveAction)
Q_DECLARE_METATYPE(EClientField)

namespace {
QDate D(const char* yyyymmdd) {
    return QDate::fromString(QString::fromLatin1(yyyymmdd), QStringLiteral("yyyyMMdd"));
}

// "1@20200101,2@20210101"
QList<CHistoryStoredRow> StoredRows(const QString& text) {
    QList<CHistoryStoredRow> rows;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.trimmed().split(u'@');
        rows.append({parts[0].toLongLong(), D(parts[1].toLatin1().constData())});
    }
    return rows;
}

// "1@20200101, 2@20220101m, -1@" (m: modified; no date after @: none)
QList<CHistoryPage> Pages(const QString& text) {
    QList<CHistoryPage> pages;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        QString s = item.trimmed();
        CHistoryPage page;
        page.modified = s.endsWith(u'm');
        if (page.modified)
            s.chop(1);
        const QStringList parts = s.split(u'@');
        page.rowId = parts[0].toLongLong();
        page.date = D(parts.value(1).toLatin1().constData());
        pages.append(page);
    }
    return pages;
}

template <class T> QString Join(const QList<T>& values) {
    QStringList texts;
    for (const T& v : values)
        texts << QString::number(v);
    return texts.join(u',');
}

// "1:EN:2010" = disease 1, ever tested, knows negative, year 2010 (flags E S N P)
QList<CHealthGridRow> Grid(const QString& text) {
    QList<CHealthGridRow> grid;
    for (const QString& item : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u':');
        CHealthGridRow row;
        row.disease = parts[0].toInt();
        const QString flags = parts.value(1);
        row.testedEver = flags.contains(u'E');
        row.tested6Months = flags.contains(u'S');
        row.knowsNegative = flags.contains(u'N');
        row.knowsPositive = flags.contains(u'P');
        row.treatmentYear = parts.value(2);
        grid.append(row);
    }
    return grid;
}
} // namespace

class TestClientRules : public QObject {
    Q_OBJECT
private slots:
    void clientCode_data();
    void clientCode();
    void codeSave_data();
    void codeSave();
    void refusalExplainsTheCoding();
    void suggestion_data();
    void suggestion();
    void birthYear_data();
    void birthYear();
    void age_data();
    void age();
    void ageText_data();
    void ageText();
    void vulnerableGroups_data();
    void vulnerableGroups();
    void hiddenGroupsKept_data();
    void hiddenGroupsKept();
    void drugStart_data();
    void drugStart();
    void healthRows_data();
    void healthRows();
    void healthGridRowShowsStatus();
    void historyPlan_data();
    void historyPlan();
    void newestPage_data();
    void newestPage();
    void audience_data();
    void audience();
    void checkLine_data();
    void checkLine();
    void peopleCount_data();
    void peopleCount();
    void entries_data();
    void entries();
};

void TestClientRules::clientCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("birthYear");
    QTest::addColumn<int>("sex");
    QTest::addColumn<QString>("key"); // empty: passes

    const QString length = "msgInvalidCodeLength", year = "msgInalidClientCodeYear",
                  other = "msgInvalidClientCodeOther", sex = "msgInvalidClientCodeSex";
    QTest::newRow("conforming") << "АБВ0587ч"
                                << "1987" << kSexMale << "";
    QTest::newRow("upper-case Cyrillic sex letter") << "АБВ0587Ч"
                                                    << "1987" << kSexMale << "";
    QTest::newRow("female") << "АБВ0587Ж"
                            << "1987" << kSexFemale << "";
    QTest::newRow("trans") << "АБВ0587т"
                           << "1987" << kSexTrans << "";
    QTest::newRow("trans card, male code") << "АБВ0587ч"
                                           << "1987" << kSexTrans << sex;
    QTest::newRow("Latin T is not Т") << "АБВ0587T"
                                      << "1987" << kSexTrans << sex;
    QTest::newRow("organisation suffix ignored") << "АБВ0587ч`12"
                                                 << "1987" << kSexMale << "";
    QTest::newRow("empty suffix") << "АБВ0587ч`"
                                  << "1987" << kSexMale << "";
    QTest::newRow("nothing before the quote") << "`АБВ0587ч"
                                              << "1987" << kSexMale << length;
    QTest::newRow("two-digit birth year") << "АБВ0587ч"
                                          << "87" << kSexMale << "";
    QTest::newRow("year differs") << "АБВ0587ч"
                                  << "1986" << kSexMale << year;
    QTest::newRow("non-digit day") << "АБВx587ч"
                                   << "1987" << kSexMale << other;
    QTest::newRow("non-digit day, year differs") << "АБВx587ч"
                                                 << "1986" << kSexMale << other;
    QTest::newRow("letters in the digits") << "123ab87ч"
                                           << "1987" << kSexMale << other;
    QTest::newRow("sign in the day") << "АБВ+587ч"
                                     << "1987" << kSexMale << other;
    QTest::newRow("blank in the day") << "АБВ 587ч"
                                      << "1987" << kSexMale << other;
    QTest::newRow("minus in the day") << "АБВ-587ч"
                                      << "1987" << kSexMale << other;
    QTest::newRow("minus in the year, birth year -1") << "АБВ05-1ч"
                                                      << "-1" << kSexMale << other;
    QTest::newRow("7 characters") << "АБВ587ч"
                                  << "1987" << kSexMale << length;
    QTest::newRow("9 characters") << "АБВГ0587ч"
                                  << "1987" << kSexMale << length;
    QTest::newRow("no sex chosen") << "АБВ0587ч"
                                   << "1987" << kSexNone << sex;
    QTest::newRow("no sex chosen, dash") << "АБВ0587-"
                                         << "1987" << kSexNone << "";
    QTest::newRow("year and sex wrong: the later message") << "АБВ0587ж"
                                                           << "1986" << kSexMale << sex;
    QTest::newRow("empty birth year, year 00") << "АБВ0500ч"
                                               << "" << kSexMale << "";
}

void TestClientRules::clientCode() {
    QFETCH(QString, code);
    QFETCH(QString, birthYear);
    QFETCH(int, sex);
    QFETCH(QString, key);
    const CRuleVerdict v = CheckClientCode(code, birthYear, sex);
    QCOMPARE(v.ok, key.isEmpty());
    QCOMPARE(v.key, key);
    if (!v.ok) {
        QCOMPARE(v.field, EClientField::ClientCode);
        QVERIFY(!v.text.isEmpty());
    }
}

void TestClientRules::codeSave_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("oldCode");
    QTest::addColumn<bool>("force");
    QTest::addColumn<ECodeSaveAction>("action");
    QTest::addColumn<int>("bNewCode");
    QTest::addColumn<QString>("oClientCode");

    // Birth year 1987, male.
    const auto save = ECodeSaveAction::Save, ask = ECodeSaveAction::Ask,
               refuse = ECodeSaveAction::Refuse;
    QTest::newRow("new client, conforming") << "АБВ0587ч"
                                            << "" << false << save << 1 << "АБВ0587ч";
    QTest::newRow("saved again unchanged: old code kept")
        << "АБВ0587ч"
        << "АБВ0587ч" << false << save << 1 << "АБВ0587ч";
    QTest::newRow("code changed later: old code kept")
        << "ГДЕ0587ч"
        << "АБВ0587ч" << false << save << 1 << "АБВ0587ч";
    QTest::newRow("typed with blanks") << "  АБВ0587ч "
                                       << "" << false << save << 1 << "АБВ0587ч";
    QTest::newRow("non-conforming, new") << "АБВ05ч"
                                         << "" << false << refuse << 0 << "АБВ05ч";
    QTest::newRow("non-conforming, forced") << "АБВ05ч"
                                            << "" << true << ask << 0 << "АБВ05ч";
    QTest::newRow("non-conforming, equal to the old code")
        << "АБВ05ч"
        << "АБВ05ч" << false << save << 0 << "АБВ05ч";
    QTest::newRow("old code compared with its suffix")
        << "АБВ05ч`12"
        << "АБВ05ч" << false << refuse << 0 << "АБВ05ч";
    QTest::newRow("conforming, forced: no question") << "АБВ0587ч"
                                                     << "" << true << save << 1 << "АБВ0587ч";
}

void TestClientRules::codeSave() {
    QFETCH(QString, typed);
    QFETCH(QString, oldCode);
    QFETCH(bool, force);
    QFETCH(ECodeSaveAction, action);
    QFETCH(int, bNewCode);
    QFETCH(QString, oClientCode);
    const CClientCodeSave s = DecideClientCodeSave(typed, "1987", kSexMale, oldCode, force);
    QCOMPARE(s.code, typed.trimmed());
    QCOMPARE(s.action, action);
    QCOMPARE(s.bNewCode, bNewCode);
    QCOMPARE(s.oClientCode, oClientCode);
    QCOMPARE(s.question.isEmpty(), action != ECodeSaveAction::Ask);
    QCOMPARE(s.errorListHtml.isEmpty(), action != ECodeSaveAction::Refuse);
}

void TestClientRules::refusalExplainsTheCoding() {
    const CClientCodeSave s = DecideClientCodeSave("АБВ05ч", "1987", kSexMale, "", false);
    QVERIFY(s.errorListHtml.startsWith("<h3>Длина кода клиента должна быть равна 8 "
                                       "символам.</h3>\r\n\r\nНовый код клиентов"));
    QVERIFY(s.errorListHtml.contains("<a href='command:forceapply'>"));
    QCOMPARE(NewCodeExplanation().split(u'\n').size(), 13);
    QCOMPARE(QString::fromUtf16(kForceApplyCommand), QString("command:forceapply"));
}

void TestClientRules::suggestion_data() {
    QTest::addColumn<QString>("mother");
    QTest::addColumn<QDate>("birthDate");
    QTest::addColumn<int>("sex");
    QTest::addColumn<QString>("birthYear");
    QTest::addColumn<QString>("code");

    const QDate born(1987, 5, 3);
    QTest::newRow("male") << "мария" << born << kSexMale << "1987"
                          << "ИМП0387Ч";
    QTest::newRow("female") << "мария" << born << kSexFemale << "1987"
                            << "ИМП0387Ж";
    QTest::newRow("trans") << "мария" << born << kSexTrans << "87"
                           << "ИМП0387Т";
    QTest::newRow("no mother's name") << "" << born << kSexMale << "1987"
                                      << "";
    QTest::newRow("name not a letter") << "1мария" << born << kSexMale << "1987"
                                       << "";
    QTest::newRow("no birth date") << "мария" << QDate() << kSexMale << "1987"
                                   << "";
    QTest::newRow("no sex") << "мария" << born << kSexNone << "1987"
                            << "";
    QTest::newRow("card's year differs") << "мария" << born << kSexMale << "1986"
                                         << "";
}

void TestClientRules::suggestion() {
    QFETCH(QString, mother);
    QFETCH(QDate, birthDate);
    QFETCH(int, sex);
    QFETCH(QString, birthYear);
    QFETCH(QString, code);
    const QString suggested = SuggestClientCode(" иван", mother, "петр", birthDate, sex, birthYear);
    QCOMPARE(suggested, code);
    if (!suggested.isEmpty())
        QVERIFY(CheckClientCode(suggested, birthYear, sex).ok);
}

void TestClientRules::birthYear_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("birthDate");

    QTest::newRow("empty") << "" << true << 0 << QDate();
    QTest::newRow("87") << "87" << true << 1987 << QDate(1987, 1, 1);
    QTest::newRow("30") << "30" << true << 2030 << QDate(2030, 1, 1);
    QTest::newRow("31") << "31" << true << 1931 << QDate(1931, 1, 1);
    QTest::newRow("0") << "0" << true << 2000 << QDate(2000, 1, 1);
    QTest::newRow("-1 stays") << "-1" << true << -1 << QDate();
    QTest::newRow("other negative stays") << "-5" << true << -5 << QDate();
    QTest::newRow("1987 with blanks") << " 1987 " << true << 1987 << QDate(1987, 1, 1);
    QTest::newRow("100 stays") << "100" << true << 100 << QDate(100, 1, 1);
    QTest::newRow("letters") << "abc" << false << 0 << QDate();
    QTest::newRow("letter inside") << "19x7" << false << 0 << QDate();
}

void TestClientRules::birthYear() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, year);
    QFETCH(QDate, birthDate);
    const CBirthYear b = ParseBirthYear(text);
    QCOMPARE(b.valid, valid);
    QCOMPARE(b.year, year);
    QCOMPARE(b.birthDate, birthDate);
}

void TestClientRules::age_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minAge");
    QTest::addColumn<int>("maxAge");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("years");

    // Today is 1 June 2025.
    QTest::newRow("adult") << "1987" << 10 << 100 << true << 38;
    QTest::newRow("two digits") << "87" << 10 << 100 << true << 38;
    QTest::newRow("at MinAge") << "2015" << 10 << 100 << true << 10;
    QTest::newRow("below MinAge") << "2016" << 10 << 100 << false << 9;
    QTest::newRow("at MaxAge") << "1925" << 10 << 100 << true << 100;
    QTest::newRow("above MaxAge") << "1924" << 10 << 100 << false << 101;
    QTest::newRow("80 within the options") << "1945" << 10 << 100 << true << 80;
    QTest::newRow("options allow a child of 6") << "2019" << 4 << 100 << true << 6;
    QTest::newRow("options cap at 60") << "1960" << 10 << 60 << false << 65;
    QTest::newRow("empty") << "" << 10 << 100 << false << 2025;
    QTest::newRow("empty, options allow any age") << "" << 0 << 3000 << false << 2025;
    QTest::newRow("unreadable") << "abc" << 0 << 3000 << false << 2025;
}

void TestClientRules::age() {
    QFETCH(QString, text);
    QFETCH(int, minAge);
    QFETCH(int, maxAge);
    QFETCH(bool, ok);
    QFETCH(int, years);
    const CClientAge a = CheckClientAge(text, QDate(2025, 6, 1), minAge, maxAge);
    QCOMPARE(a.verdict.ok, ok);
    QCOMPARE(a.years, years);
    if (!ok) {
        QCOMPARE(a.verdict.field, EClientField::BirthYear);
        QCOMPARE(a.verdict.text, QString("Год рождения содержит ошибку"));
    }
}

void TestClientRules::ageText_data() {
    QTest::addColumn<int>("years");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("adult") << 38 << true << "Возраст клиента 38";
    QTest::newRow("3, refused") << 3 << false << "Ошибка!!! Возраст клиента 3";
    QTest::newRow("2, refused, months") << 2 << false << "Ошибка!!! Возраст клиента 2 (0 мес.)";
    QTest::newRow("2, allowed") << 2 << true << "Возраст клиента 2 (0 мес.)";
}

void TestClientRules::ageText() {
    QFETCH(int, years);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    CClientAge a;
    a.years = years;
    if (!ok)
        a.verdict = CRuleVerdict::Refuse(EClientField::BirthYear, QString(), "x");
    QCOMPARE(ClientAgeText(a), text);
}

void TestClientRules::vulnerableGroups_data() {
    QTest::addColumn<int>("mainGroup");
    QTest::addColumn<int>("additional");
    QTest::addColumn<int>("sex");
    QTest::addColumn<EClientField>("field"); // None: accepted

    const auto ok = EClientField::None, msm = EClientField::GroupMsm,
               mix = EClientField::GroupCombination;
    QTest::newRow("MSM, woman") << 4 << 0 << kSexFemale << msm;
    QTest::newRow("MSM among the additional, woman") << 1 << 4 << kSexFemale << msm;
    QTest::newRow("MSM, trans") << 4 << 0 << kSexTrans << ok;
    QTest::newRow("MSM, man") << 4 << 0 << kSexMale << ok;
    QTest::newRow("WCS and MSM") << 6 << 0 << kSexMale << mix;
    QTest::newRow("WCS and PRIS") << 0xA << 0 << kSexMale << mix;
    QTest::newRow("MSM and PRIS") << 0xC << 0 << kSexMale << mix;
    QTest::newRow("SOZ alone") << 0x20 << 0 << kSexMale << ok;
    QTest::newRow("OTH alone") << 0x40 << 0 << kSexMale << ok;
    QTest::newRow("SOZ with IDU") << 0x21 << 0 << kSexMale << mix;
    QTest::newRow("OTH with IDU") << 0x41 << 0 << kSexMale << mix;
    QTest::newRow("any additional groups") << 1 << 0x3FFFFB << kSexFemale << ok;
    QTest::newRow("MSM woman before the combination") << 6 << 0 << kSexFemale << msm;
}

void TestClientRules::vulnerableGroups() {
    QFETCH(int, mainGroup);
    QFETCH(int, additional);
    QFETCH(int, sex);
    QFETCH(EClientField, field);
    const CRuleVerdict v = CheckVulnerableGroups(mainGroup, additional, sex);
    QCOMPARE(v.ok, field == EClientField::None);
    QCOMPARE(v.field, field);
    if (field == EClientField::GroupMsm)
        QCOMPARE(v.text, QString("МСМ не может быть женщиной"));
    if (field == EClientField::GroupCombination)
        QCOMPARE(v.text, QString("Такое сочетание уязвимых групп недопустимо"));
}

void TestClientRules::hiddenGroupsKept_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("result");
    QTest::newRow("new page") << 0 << 0x8001 << 0x8001;
    QTest::newRow("hidden LJV and orphan kept")
        << (0x10 | 0x100 | 0x1) << 0x4 << (0x10 | 0x100 | 0x4);
    QTest::newRow("shown box cleared") << (0x2000 | 0x40) << 0 << 0x40;
}

void TestClientRules::hiddenGroupsKept() {
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(int, result);
    QCOMPARE(MergeAdditionalGroups(stored, chosen), result);
}

void TestClientRules::drugStart_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("startYear");
    QTest::addColumn<QString>("label");

    // The current year is 2025.
    QTest::newRow("empty stays empty") << "" << true << true << 0 << "";
    QTest::newRow("blanks stay empty") << "  " << true << true << 0 << "";
    QTest::newRow("0: less than a year") << "0" << false << true << 2025 << "2025 год (0)";
    QTest::newRow("5 years") << "5" << false << true << 2020 << "2020 год (5)";
    QTest::newRow("99 years like any two digits")
        << "99" << false << true << 1926 << "1926 год (99)";
    QTest::newRow("a year") << "1998" << false << true << 1998 << "1998 год (27)";
    QTest::newRow("99 years back") << "1926" << false << true << 1926 << "1926 год (99)";
    QTest::newRow("100 years back") << "1925" << false << false << 1925 << "1925 год (100)";
    QTest::newRow("three digits: the year 100")
        << "100" << false << false << 100 << "100 год (1925)";
    QTest::newRow("future") << "2030" << false << false << 2030 << "2030 год (-5)";
    QTest::newRow("negative") << "-1" << false << false << 2026 << "2026 год (-1)";
    QTest::newRow("not a number") << "abc" << false << false << 0 << "";
}

void TestClientRules::drugStart() {
    QFETCH(QString, text);
    QFETCH(bool, empty);
    QFETCH(bool, ok);
    QFETCH(int, startYear);
    QFETCH(QString, label);
    const CDrugStart s = ParseDrugStart(text, 2025);
    QCOMPARE(s.empty, empty);
    QCOMPARE(s.verdict.ok, ok);
    QCOMPARE(s.startYear, startYear);
    QCOMPARE(DrugStartLabel(s), label);
    if (!ok) {
        QCOMPARE(s.verdict.field, EClientField::DrugStart);
        QCOMPARE(s.verdict.text, QString("Ошибочное значение"));
        QCOMPARE(s.verdict.title, QString("Год начала употребления наркотиков"));
    }
}

void TestClientRules::healthRows_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("statuses"); // per row "status/year"; empty when refused
    QTest::addColumn<EClientField>("field");
    QTest::addColumn<int>("row");

    const auto none = EClientField::None, status = EClientField::HealthStatus,
               year = EClientField::HealthTreatmentYear;
    QTest::newRow("knows +: tested too") << "1:P:"
                                         << "5/0" << none << -1;
    QTest::newRow("knows -: tested too") << "2:N:"
                                         << "9/0" << none << -1;
    QTest::newRow("both bits") << "1:NP:"
                               << "" << status << 0;
    QTest::newRow("tests only") << "3:ES:"
                                << "3/0" << none << -1;
    QTest::newRow("nothing ticked") << "4::"
                                    << "0/0" << none << -1;
    QTest::newRow("treatment 2010, positive") << "1:P:2010"
                                              << "5/2010" << none << -1;
    QTest::newRow("treatment 1899") << "1:P:1899"
                                    << "" << year << 0;
    QTest::newRow("treatment 2101") << "1:P:2101"
                                    << "" << year << 0;
    QTest::newRow("treatment 1900 and 2100") << "1:P:1900;1:P:2100"
                                             << "5/1900,5/2100" << none << -1;
    QTest::newRow("treatment 0") << "1:P:0"
                                 << "5/0" << none << -1;
    QTest::newRow("treatment without positive") << "1:E:2010"
                                                << "" << year << 0;
    QTest::newRow("other disease's year not checked") << "2:E:2010"
                                                      << "1/2010" << none << -1;
    QTest::newRow("unreadable year") << "2::abc"
                                     << "" << year << 0;
    QTest::newRow("second row refused") << "1:P:;2:NP:"
                                        << "" << status << 1;
}

void TestClientRules::healthRows() {
    QFETCH(QString, grid);
    QFETCH(QString, statuses);
    QFETCH(EClientField, field);
    QFETCH(int, row);
    QList<CHealthRow> rows;
    const CRuleVerdict v = BuildHealthRows(Grid(grid), &rows);
    QCOMPARE(v.field, field);
    QCOMPARE(v.row, row);
    QStringList got;
    for (const CHealthRow& r : rows)
        got << QString("%1/%2").arg(r.status).arg(r.treatmentYear);
    QCOMPARE(got.join(u','), statuses);
}

void TestClientRules::healthGridRowShowsStatus() {
    const CHealthGridRow row = HealthGridRow(1, 13, 2010);
    QVERIFY(row.testedEver && !row.tested6Months && row.knowsNegative && row.knowsPositive);
    QCOMPARE(row.treatmentYear, QString("2010"));
    QList<CHealthRow> rows;
    // A stored row read back unchanged builds the same row (0 shows as "0").
    QVERIFY(BuildHealthRows({HealthGridRow(2, 3, 0)}, &rows).ok);
    QCOMPARE(rows, QList<CHealthRow>({{2, 3, 0}}));
}

void TestClientRules::historyPlan_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("deletes");
    QTest::addColumn<QString>("updates");
    QTest::addColumn<QString>("inserts");
    QTest::addColumn<bool>("park");
    QTest::addColumn<QString>("refusal"); // message key
    QTest::addColumn<int>("row");

    const QString two = "1@20200101,2@20210101";
    QTest::newRow("nothing changed: nothing written") << two << "1@20200101,2@20210101"
                                                      << ""
                                                      << ""
                                                      << ""
                                                      << "" << false << "" << -1;
    QTest::newRow("new page") << two << "1@20200101,2@20210101,-1@20250601"
                              << ""
                              << ""
                              << ""
                              << "2" << false << "" << -1;
    QTest::newRow("second page dated as a stored one") << two << "1@20200101,2@20210101,-1@20210101"
                                                       << ""
                                                       << ""
                                                       << ""
                                                       << "" << false << "msgHistoryDateTaken" << 2;
    QTest::newRow("two new pages on one date") << ""
                                               << "-1@20250601,-1@20250601"
                                               << ""
                                               << ""
                                               << ""
                                               << "" << false << "msgHistoryDateTaken" << 1;
    QTest::newRow("date of a row not shown") << two << "1@20200101,-1@20210101"
                                             << ""
                                             << ""
                                             << ""
                                             << "" << false << "msgHistoryDateTaken" << 1;
    QTest::newRow("removed, then a new page on its date") << two << "1@20200101,-1@20210101"
                                                          << "2"
                                                          << "2"
                                                          << ""
                                                          << "1" << false << "" << -1;
    QTest::newRow("changed page keeps its row") << two << "1@20200101m,2@20210101"
                                                << ""
                                                << ""
                                                << "0"
                                                << "" << false << "" << -1;
    QTest::newRow("changed page moved onto another's date")
        << two << "1@20210101m,2@20210101"
        << ""
        << ""
        << ""
        << "" << false << "msgHistoryDateTaken" << 0;
    QTest::newRow("one date moved") << two << "1@20190101m,2@20210101"
                                    << ""
                                    << ""
                                    << "0"
                                    << "" << false << "" << -1;
    QTest::newRow("two rows swap dates") << two << "1@20210101m,2@20200101m"
                                         << ""
                                         << ""
                                         << "0,1"
                                         << "" << true << "" << -1;
    QTest::newRow("changed page whose row has gone") << "1@20200101"
                                                     << "1@20200101,5@20220101m"
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << "1" << false << "" << -1;
    QTest::newRow("unchanged page whose row has gone") << "1@20200101"
                                                       << "1@20200101,5@20220101"
                                                       << ""
                                                       << ""
                                                       << ""
                                                       << "" << false << "" << -1;
    QTest::newRow("removed id of another client ignored") << two << "1@20200101,2@20210101"
                                                          << "77"
                                                          << ""
                                                          << ""
                                                          << "" << false << "" << -1;
    QTest::newRow("removal wins over a page naming the row") << two << "1@20200101,2@20210101m"
                                                             << "2"
                                                             << "2"
                                                             << ""
                                                             << "" << false << "" << -1;
    QTest::newRow("new page without a date") << two << "1@20200101,-1@"
                                             << ""
                                             << ""
                                             << ""
                                             << "" << false << "msgHistoryDateMissing" << 1;
}

void TestClientRules::historyPlan() {
    QFETCH(QString, stored);
    QFETCH(QString, pages);
    QFETCH(QString, removed);
    QFETCH(QString, deletes);
    QFETCH(QString, updates);
    QFETCH(QString, inserts);
    QFETCH(bool, park);
    QFETCH(QString, refusal);
    QFETCH(int, row);
    QList<qint64> removedIds;
    for (const QString& id : removed.split(u',', Qt::SkipEmptyParts))
        removedIds << id.toLongLong();
    const CHistorySavePlan plan = PlanHistorySave(Pages(pages), removedIds, StoredRows(stored));
    QCOMPARE(plan.verdict.key, refusal);
    QCOMPARE(plan.verdict.row, row);
    if (!refusal.isEmpty()) {
        QCOMPARE(plan.verdict.field, EClientField::PageDate);
        QVERIFY(plan.deletes.isEmpty() && plan.updates.isEmpty() && plan.inserts.isEmpty());
        return;
    }
    QCOMPARE(Join(plan.deletes), deletes);
    QCOMPARE(Join(plan.updates), updates);
    QCOMPARE(Join(plan.inserts), inserts);
    QCOMPARE(plan.parkDates, park);
}

void TestClientRules::newestPage_data() {
    QTest::addColumn<QList<QDate>>("dates");
    QTest::addColumn<int>("newest");
    QTest::newRow("none") << QList<QDate>() << -1;
    QTest::newRow("latest in the middle")
        << QList<QDate>{D("20200101"), D("20220101"), D("20210101")} << 1;
    QTest::newRow("equal dates: the earlier page")
        << QList<QDate>{D("20220101"), D("20220101")} << 0;
    QTest::newRow("invalid never wins") << QList<QDate>{QDate(), D("20200101")} << 1;
    QTest::newRow("only invalid") << QList<QDate>{QDate()} << -1;
}

void TestClientRules::newestPage() {
    QFETCH(QList<QDate>, dates);
    QFETCH(int, newest);
    QCOMPARE(NewestHistoryPage(dates), newest);
}

void TestClientRules::audience_data() {
    QTest::addColumn<int>("forType");
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("autoAdd");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("filter");

    QTest::newRow("clients") << 1 << -1 << false << "Коды клиентов:"
                             << "clientdata"
                             << "bIsFolder=0";
    QTest::newRow("workers") << 2 << -1 << false << "Фамилии социальных работников:"
                             << "dir"
                             << "nDirType=2 AND bIsFolder=0";
    QTest::newRow("police") << 3 << 3 << true << "Фамилии:"
                            << "strtoid"
                            << "nGroupID=3";
    QTest::newRow("doctors") << 4 << 4 << true << "Фамилии:"
                             << "strtoid"
                             << "nGroupID=4";
    QTest::newRow("colony staff") << 8 << 8 << true << "Фамилии:"
                                  << "strtoid"
                                  << "nGroupID=8";
    QTest::newRow("stakeholders: no button") << 9 << 999 << true << "Фамилии:"
                                             << "strtoid"
                                             << "nGroupID=999";
    QTest::newRow("none") << 0 << 999 << true << "Фамилии:"
                          << "strtoid"
                          << "nGroupID=999";
}

void TestClientRules::audience() {
    QFETCH(int, forType);
    QFETCH(int, group);
    QFETCH(bool, autoAdd);
    QFETCH(QString, label);
    QFETCH(QString, table);
    QFETCH(QString, filter);
    QCOMPARE(TrainingAudienceGroup(forType), group);
    QCOMPARE(TrainingAudienceAutoAdd(forType), autoAdd);
    QCOMPARE(TrainingParticipantsLabel(forType), label);
    const CEditListLookup lookup = TrainingParticipantLookup(forType);
    QCOMPARE(lookup.table, table);
    QCOMPARE(lookup.filter, filter);
    QCOMPARE(lookup.groupColumn.isEmpty(), !autoAdd);
}

void TestClientRules::checkLine_data() {
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("html");
    const QString red = " <font color=red>Не найдены: <b>",
                  blue = " <font color=blue>Дублируются: <b>";
    QTest::newRow("nothing to report") << ""
                                       << "Коды клиентов:";
    QTest::newRow("both") << "АБВ0587ч; ГДЕ0190ж\nЖЗИ0285ч"
                          << "Коды клиентов:" + red + "АБВ0587ч; ГДЕ0190ж</b></font>, " + blue +
                                 "ЖЗИ0285ч</b></font>";
    QTest::newRow("duplicated only") << "\nЖЗИ0285ч"
                                     << "Коды клиентов:" + blue + "ЖЗИ0285ч</b></font>";
    QTest::newRow("not found only") << "a<b\n"
                                    << "Коды клиентов:" + red + "a&lt;b</b></font>";
}

void TestClientRules::checkLine() {
    QFETCH(QString, error);
    QFETCH(QString, html);
    QCOMPARE(TrainingCheckLineHtml("Коды клиентов:", error), html);
}

void TestClientRules::peopleCount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("listCount");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<int>("count");
    QTest::newRow("empty list: typed by the user") << "" << 0 << true << 0;
    QTest::newRow("blanks only") << " \n\t" << 0 << true << 0;
    QTest::newRow("delimiters only: nobody, locked") << " ;\n" << 0 << false << 0;
    QTest::newRow("one code") << "АБВ0587ч" << 1 << false << 1;
}

void TestClientRules::peopleCount() {
    QFETCH(QString, text);
    QFETCH(int, listCount);
    QFETCH(bool, editable);
    QFETCH(int, count);
    const CTrainingPeople p = TrainingPeopleCount(text, listCount);
    QCOMPARE(p.editable, editable);
    QCOMPARE(p.count, count);
}

void TestClientRules::entries_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("every delimiter") << "a;b\tc\nd\r\ne" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("blanks and empty entries") << " a ; ;b; " << QStringList{"a", "b"};
    QTest::newRow("inner blanks kept")
        << "Иванов Иван; Петров" << QStringList{"Иванов Иван", "Петров"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestClientRules::entries() {
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QCOMPARE(CSQLEditListCore::SplitEntries(text), entries);
}

QTEST_GUILESS_MAIN(TestClientRules)
#include "test_client_rules.moc"

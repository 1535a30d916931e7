#include "model/enums/enums.h"

#include <QTest>

namespace {
using Getter = CEnum2* (*)();
template <class T> Getter GetterOf(CxObjAutoAlloc<T>& holder) {
    static CxObjAutoAlloc<T>* h = &holder;
    return [] { return static_cast<CEnum2*>(h->Get()); };
}
} // namespace
Q_DECLARE_METATYPE(Getter)

class TestEnums : public QObject {
    Q_OBJECT
private slots:
    // Size and mode of every enumeration, and one item of each (by code and
    // by text).
    void enumerations_data() {
        QTest::addColumn<Getter>("get");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("text");
        QTest::newRow("xSex") << GetterOf(g_pSex) << 1 << 5 << 8 << "Child"
                              << "Ребенок";
        QTest::newRow("xClientGroup")
            << GetterOf(g_pClientGroup) << 2 << 20 << 0x200000 << "OTHCONT"
            << "Другие группы-контакты";
        QTest::newRow("xPubType") << GetterOf(g_pPubType) << 1 << 3 << 3 << "Dictionary"
                                  << "Справочник";
        QTest::newRow("xBookAUID") << GetterOf(g_pBookAUID) << 2 << 11 << 1024 << "Transgender"
                                   << "Трансгендер";
        QTest::newRow("xTrainingFor") << GetterOf(g_pTrainingFor) << 1 << 11 << 999 << "GroupByAud"
                                      << "по аудитории";
        QTest::newRow("xConsAndDir") << GetterOf(g_pConsAndDir) << 2 << 7 << 64 << "DirTreat"
                                     << "Получил лечение (по направлению)";
        QTest::newRow("xEployment") << GetterOf(g_pEployment) << 1 << 8 << 99 << "NoDataEmployment"
                                    << "Нет данных";
        QTest::newRow("xLivingPlaceEnum") << GetterOf(g_pLivingPlaceEnum) << 1 << 4 << 3 << "polVil"
                                          << "ПГТ, Село";
        QTest::newRow("xEducationLevelEnum")
            << GetterOf(g_pEducationLevelEnum) << 1 << 7 << 6 << "PrimaryEdu"
            << "Начально образование";
        QTest::newRow("xLegalProblemsEnum")
            << GetterOf(g_pLegalProblemsEnum) << 1 << 4 << 2 << "PunishedWithout"
            << "Условно осужденный";
        QTest::newRow("xCondYesNoNosex: item 0")
            << GetterOf(g_pCondYesNoNosex) << 1 << 4 << 0 << "No"
            << "Нет";
        QTest::newRow("xLastSexual: item 0")
            << GetterOf(g_pLastSexual) << 1 << 4 << 0 << "Nonregual"
            << "Не постоянный";
        QTest::newRow("xLastInjectionWith")
            << GetterOf(g_pLastInjectionWith) << 1 << 6 << 100 << "DoNotAssume"
            << "Не употребляет";
        QTest::newRow("xDesinfectionWay") << GetterOf(g_pDesinfectionWay) << 1 << 7 << 3 << "Bleach"
                                          << "Хлоргексидин, спирт";
        QTest::newRow("xDrugsEnum") << GetterOf(g_pDrugsEnum) << 1 << 7 << 7 << "MultiDrug"
                                    << "Другие вещества/больше одного вещества";
        QTest::newRow("xMainRouteEnum") << GetterOf(g_pMainRouteEnum) << 2 << 4 << 8 << "Smoke"
                                        << "Курение/вдыхание";
        QTest::newRow("xProdType") << GetterOf(g_pProdType) << 1 << 2 << 2 << "Pharmaceutical"
                                   << "Фармацевтический";
        QTest::newRow("xNodeType") << GetterOf(g_pNodeType) << 1 << 20 << 999 << "StatOther"
                                   << "Другие";
        QTest::newRow("xDiseases") << GetterOf(g_pDiseases) << 1 << 5 << 5 << "HIPB"
                                   << "Гепатит B";
        QTest::newRow("xDiseaseStates")
            << GetterOf(g_pDiseaseStates) << 2 << 4 << 8 << "KnowNegative"
            << "Знает, -";
        QTest::newRow("xUseFreqEnum") << GetterOf(g_pUseFreqEnum) << 1 << 5 << 4 << "OneTimeInDay"
                                      << "Раз в день";
        QTest::newRow("xOrgInfoFields") << GetterOf(g_pOrgInfoFields) << 1 << 16 << 550 << "cRegion"
                                        << "Область";
        QTest::newRow("xTrainingType") << GetterOf(g_pTrainingType) << 1 << 4 << 4 << "ProfIgra"
                                       << "Профилактическая игра";
        QTest::newRow("xSocOtherReg") << GetterOf(g_pSocOtherReg) << 2 << 4 << 8 << "Derm"
                                      << "в дерматовенерологическом";
        QTest::newRow("xMaterialType")
            << GetterOf(g_pMaterialType) << 1 << 46 << 0x3000b << "InjectionWater"
            << "Вода для инъекций";
        QTest::newRow("xYesNo") << GetterOf(g_pYesNo) << 1 << 2 << 1 << "Yes"
                                << "Да";
    }
    void enumerations() {
        QFETCH(Getter, get);
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(int, code);
        QFETCH(QString, identifier);
        QFETCH(QString, text);
        CEnum2* e = get();
        QCOMPARE(e, get()); // one singleton
        QCOMPARE(e->GetMode(), mode);
        QCOMPARE(e->GetCount_sEnum2(), count);
        const sEnum2* item = e->Lookup_sEnum2(code);
        QVERIFY(item);
        QCOMPARE(item->cName, identifier);
        QCOMPARE(item->cText, text);
        int found = -1;
        QCOMPARE(e->IDToString(code, QStringLiteral("?"), &found), text);
        QCOMPARE(found, 1);
        QCOMPARE(e->IDToString(123456789, QStringLiteral("?"), &found), QStringLiteral("?"));
        QCOMPARE(found, 0);
        // Texts shared by several items (such as "Нет данных") find the last
        // one added; the test items are chosen to be unique or last.
        QCOMPARE(e->FindString(text, 0, &found), long(code));
        QCOMPARE(found, 1);
        QCOMPARE(e->FindString(text + QStringLiteral("x")), -1L);
    }

    void bitSetTexts_data() {
        QTest::addColumn<Getter>("get");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("consultation 1 and 4")
            << GetterOf(g_pConsAndDir) << 5u
            << "Учет по коду, Направлен на консультацию/ тестирование/ лечение" << 1;
        QTest::newRow("groups by text, not description")
            << GetterOf(g_pClientGroup) << 0x8001u << "ПИН, Партнёры ПИН" << 1;
        QTest::newRow("ascending bit order") << GetterOf(g_pMainRouteEnum) << 15u
                                             << "Инъекции, Перорально, Интерназально, "
                                                "Курение/вдыхание"
                                             << 1;
        QTest::newRow("bits without items skipped")
            << GetterOf(g_pClientGroup) << (2048u | 0x40000u | 2u) << "РКС" << 1;
        QTest::newRow("no bit with an item") << GetterOf(g_pClientGroup) << 2048u << "" << 0;
        QTest::newRow("zero") << GetterOf(g_pConsAndDir) << 0u << "" << 0;
        QTest::newRow("high bit without item")
            << GetterOf(g_pConsAndDir) << 0x80000001u << "Учет по коду" << 1;
    }
    void bitSetTexts() {
        QFETCH(Getter, get);
        QFETCH(uint, value);
        QFETCH(QString, text);
        QFETCH(int, result);
        QString out = QStringLiteral("old");
        QCOMPARE(get()->GetValueText(value, out), result);
        QCOMPARE(out, text);
    }

    void singleValueTextLeavesOutputWithoutItem() {
        QString out = QStringLiteral("old");
        QCOMPARE(g_pSex.Get()->GetValueText(4, out), 0);
        QCOMPARE(out, QStringLiteral("old"));
        QCOMPARE(g_pSex.Get()->GetValueText(2, out), 1);
        QCOMPARE(out, QStringLiteral("Женский"));
    }

    void sharedKeysGiveSharedTexts() {
        QCOMPARE(g_pEployment.Get()->IDToString(99), g_pDesinfectionWay.Get()->IDToString(99));
        QCOMPARE(g_pSex.Get()->IDToString(3), g_pBookAUID.Get()->IDToString(1024));
        QCOMPARE(g_pLivingPlaceEnum.Get()->IDToString(2), g_pOrgInfoFields.Get()->IDToString(500));
    }

    void materialTypesScanInCodeOrder() {
        xMaterialType* types = g_pMaterialType.Get();
        QList<long> codes;
        POSITION pos = types->InitScan_sEnum2();
        while (types->ScanNext_sEnum2(pos))
            codes << types->Index_sEnum2(pos);
        QCOMPARE(codes.size(), 46);
        QCOMPARE(codes.first(), 0x10000L);
        QCOMPARE(codes.last(), 0xfff0000L);
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
        QCOMPARE(types->Lookup(0x30010)->nGroup, 0x90000L);
        QCOMPARE(types->Lookup(0x30011)->nGroup, 0x30000L);
        QCOMPARE(types->Lookup(0xfff0000)->nGroup, 0L);
        QCOMPARE(types->Lookup(0x403ec)->cNote,
                 QStringLiteral("Поле для отчетов. В базе такого типа нет"));
        QVERIFY(types->Lookup(0x403ed) == nullptr);
    }

    void addOverwritesAndLastTextWins() {
        xSex local;
        local.OnCreateInit();
        local.Add(1, QStringLiteral("Man"), QStringLiteral("Неизвестно"));
        QCOMPARE(local.GetCount_sEnum2(), 5);
        QCOMPARE(local.IDToString(1), QStringLiteral("Неизвестно"));
        QCOMPARE(local.FindString(QStringLiteral("Неизвестно")), 1L);
        QCOMPARE(local.FindIdentifier(QStringLiteral("Man"))->nCode, 1L);
        QCOMPARE(local.FindString(QStringLiteral("неизвестно"), 1), 1L);

        xClientGroup empty;
        POSITION pos = empty.InitScan_sEnum2();
        QVERIFY(!empty.ScanNext_sEnum2(pos));
        QVERIFY(!pos);
    }
};

QTEST_GUILESS_MAIN(TestEnums)
#include "test_enums.moc"

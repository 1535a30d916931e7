#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

namespace {
const char* kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<configuration version='3' UpdateUrl=\"http://x/?a=1&amp;b=2\" pdimode='1' Extra='keep'>\n"
    " <Periods backupreminder='14' ProjectStartDate='01.02.2012'/>\n"
    " <language id='1049' Name='Русский'>\n"
    "  <prjlist>\n"
    "   <item id='4' title='Третий' nosqlmap='yes'/>\n"
    "   <item id='1' title='Первый'/>\n"
    "   <ITEM ID='1' Title=\"Первый 'главный'\" Name='Main'/>\n"
    "  </prjlist>\n"
    "  <MatGroups><Item ID='510' Title='Шприцы'/><Item ID='65537' Title='Шприц 1мл' Group='510' "
    "Desc='a &lt; b'/></MatGroups>\n"
    "  <TOOLTIPS><Item Name='A' Title='Тип A'/><Item ID='10' Name='B' Title='Тип B'/><Item "
    "Name='C' Title='Тип C'/></TOOLTIPS>\n"
    "  <Towns><Item ID='5' Title='Город' Group='3'/><Item ID='3' Title='Область'/></Towns>\n"
    "  <KdReportPresets><KDREPPRESET Title='P1'><DETAILED><Item "
    "ID='1'/></DETAILED></KDREPPRESET></KdReportPresets>\n"
    "  <Custom a='1'>text</Custom>\n"
    " </language>\n"
    " <Unknown/>\n"
    "</configuration>\n";

QString EmptyLists(const QStringList& names) {
    QString text;
    for (const QString& name : names)
        text += QStringLiteral("<%1>\n</%1>").arg(name);
    return text;
}

const QString kExpected =
    QStringLiteral("<CONFIGURATION Version='3' UpdateURL='http://x/?a=1&amp;b=2' PDIMode='1' "
                   "Extra='keep'><PERIODS BackupReminder='14' ProjectStartDate='01.02.2012'>"
                   "</PERIODS><LANGUAGE ID='1049' Name='Русский'>") +
    EmptyLists({"DIRECTIONANDCONSULTING", "DONORS", "PARTICIPANTPROGRAM", "SERVICES", "SPECIALITY",
                "WHODIRECT"}) +
    QStringLiteral("<MATGROUPS>\n<Item ID='510' Title='Шприцы'/><Item ID='65537' Title='Шприц "
                   "1мл' Desc='a &lt; b' Group='510'/></MATGROUPS>") +
    EmptyLists({"WORKERTYPE", "AGEGROUP"}) +
    QStringLiteral("<PRJLIST>\n<Item ID='1' Title='Первый &apos;главный&apos;' Name='Main'/>"
                   "<Item ID='4' Title='Третий' NoSQLMap='YES'/></PRJLIST>"
                   "<TOWNS>\n<Item ID='3' Title='Область'/><Item ID='5' Title='Город' "
                   "Group='3'/></TOWNS>"
                   "<KDREPORTPRESETS><KDREPPRESET Title='P1' Comment='' RecordType='0' "
                   "ClipCodes='0' DirOnly='0' ProjectStartDate=''><DETAILED><Item ID='1'/>"
                   "</DETAILED><SUMMARY></SUMMARY></KDREPPRESET></KDREPORTPRESETS>"
                   "<KDREPORTPRESETS2></KDREPORTPRESETS2>"
                   "<TOOLTIPS>\n<Item ID='1' Title='Тип A' Name='A'/><Item ID='3' Title='Тип C' "
                   "Name='C'/><Item ID='10' Title='Тип B' Name='B'/></TOOLTIPS>"
                   "<Custom a='1'>text</Custom></LANGUAGE><Unknown/></CONFIGURATION>");
} // namespace

class TestConfiguration : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void roundTrip() {
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(QString::fromUtf8(kDocument), QStringLiteral("test")));
        QCOMPARE(config.BuildText(), kExpected);
        // What was written reads back to the same text.
        xKDConfiguration again;
        QVERIFY(again.ParseConfig(kExpected, QStringLiteral("again")));
        QCOMPARE(again.BuildText(), kExpected);

        xLanguage* language = config.GetCurrentLanguage();
        QCOMPARE(language->PrjList.GetCount_sEnum2(), 2);
        QVERIFY(language->PrjList.Lookup(4)->bNoSQLMap);
        QVERIFY(!language->PrjList.Lookup(1)->bNoSQLMap);
        QCOMPARE(language->MatGroups.Lookup(65537)->nGroup, 510L);
        QCOMPARE(language->ToolTips.GetToolTip(QStringLiteral("C")), QStringLiteral("Тип C"));
        QCOMPARE(config.Periods.BackupReminder, 14L);
        QCOMPARE(config.Version, 3L);
    }

    void applicationHoldsConfiguration() {
        auto* config = new xKDConfiguration;
        QVERIFY(config->ParseConfig(QString::fromUtf8(kDocument), QString()));
        CTarvikApp::SetConfig(config);
        QCOMPARE(CTarvikApp::GetConfig(), static_cast<xCfgBase2*>(config));
        QCOMPARE(CurrentConfiguration(), static_cast<xConfiguration*>(config));
        QCOMPARE(CurrentConfiguration()->GetCurrentLanguage()->PrjList.IDToString(4),
                 QStringLiteral("Третий"));
        CTarvikApp::SetConfig(nullptr);
        QVERIFY(!CTarvikApp::GetConfig());
        QVERIFY(!CurrentConfiguration());
    }

    void quotesInTextsReadBackUnchanged() {
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE/></CONFIGURATION>"),
                                   QString()));
        const QString title = QStringLiteral("«Он'а» \"в\" <б> & c\nd");
        config.GetCurrentLanguage()->Donors.Add(7, QStringLiteral("x'y"), title, title);
        config.Periods.ProjectStartDate = title;
        xKDConfiguration again;
        QVERIFY(again.ParseConfig(config.BuildText(), QString()));
        const sDonors* donor = again.GetCurrentLanguage()->Donors.Lookup(7);
        QCOMPARE(donor->cText, title);
        QCOMPARE(donor->cDesc, title);
        QCOMPARE(donor->cName, QStringLiteral("x'y"));
        QCOMPARE(again.Periods.ProjectStartDate, title);
    }

    void sectionsAndDefaults() {
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(
            QStringLiteral("<Configuration><Language ID='1'><Donors><Item ID='1' Title='a'/>"
                           "</Donors></Language><LANGUAGE ID='2'><DONORS><Item ID='1' "
                           "Title='b'/></DONORS></LANGUAGE></Configuration>"),
            QString()));
        QCOMPARE(config.Periods.BackupReminder, 0L);
        QVERIFY(config.Periods.ProjectStartDate.isEmpty());
        QList<int> ids{9};
        QCOMPARE(config.GetLanguageIDs(ids), 2);
        QCOMPARE(ids, (QList<int>{1, 2}));
        QCOMPARE(config.GetCurrentLanguage()->Donors.IDToString(1), QStringLiteral("a"));
        config.SetCurrentLanguageID(2);
        QCOMPARE(config.GetCurrentLanguage()->Donors.IDToString(1), QStringLiteral("b"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, config.GetLanguageAt(2));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, config.GetLanguageAt(-1));
        QVERIFY(config.BuildText().contains(QStringLiteral("<LANGUAGE ID='1'>") +
                                            QStringLiteral("<DIRECTIONANDCONSULTING>")));

        // Reading again replaces the content; the lists handed out earlier
        // stay valid.
        xDonors* earlier = &config.GetCurrentLanguage()->Donors;
        QVERIFY(config.ParseConfig(QStringLiteral("<CONFIGURATION/>"), QString()));
        QCOMPARE(config.GetLanguageIDs(ids), 0);
        QCOMPARE(earlier->IDToString(1), QStringLiteral("b"));
        QCOMPARE(config.GetCurrentLanguage()->Donors.GetCount_sEnum2(), 0);
    }

    void badDocumentsFail_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("not well formed") << "<CONFIGURATION><LANGUAGE></CONFIGURATION>";
        QTest::newRow("another document") << "<html><body/></html>";
        QTest::newRow("empty") << "";
    }
    void badDocumentsFail() {
        QFETCH(QString, text);
        xKDConfiguration config;
        QVERIFY(!config.ParseConfig(text, QStringLiteral("bad.xml")));
        QVERIFY(config.GetLastError().contains(QStringLiteral("bad.xml")));
    }

    // Material-group codes name work-table columns and enter their SQL: an
    // item whose ID or Group is not a whole number from 0 up is left out of
    // the list, reported, and written back as it was.
    void badMaterialCodesAreKeptAside() {
        CTarvikApp::ClearErrorMessages();
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(
            QStringLiteral("<CONFIGURATION><LANGUAGE><MATGROUPS><Item ID='510' Title='Шприцы'/>"
                           "<Item ID='5x; DROP' Title='Плохой'/><Item ID='65537' Group='-3' "
                           "Title='Минус'/><Item ID=' 580 ' Title='Пробелы'/></MATGROUPS>"
                           "</LANGUAGE></CONFIGURATION>"),
            QStringLiteral("m.xml")));
        const xMatGroups& groups = config.GetCurrentLanguage()->MatGroups;
        QCOMPARE(groups.GetCount_sEnum2(), 2);
        QVERIFY(groups.Lookup(510) && groups.Lookup(580));
        QCOMPARE(CTarvikApp::GetErrorMessages().size(), 2);
        const QString text = config.BuildText();
        QVERIFY(text.contains(QStringLiteral("<Item ID='5x; DROP' Title='Плохой'/>")));
        QVERIFY(text.contains(QStringLiteral("<Item ID='65537' Group='-3' Title='Минус'/>")));
        CTarvikApp::ClearErrorMessages();
    }

    void townFullNames_data() {
        QTest::addColumn<QString>("towns");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("fullName");
        const QString tree = QStringLiteral("<Item ID='1' Title='Страна'/>"
                                            "<Item ID='3' Title='Область' Group='1'/>"
                                            "<Item ID='5' Title='Город' Group='3'/>"
                                            "<Item ID='6' Title='Село' Group='99'/>");
        QTest::newRow("three levels") << tree << 5 << "Город, Область, Страна";
        QTest::newRow("top level") << tree << 1 << "Страна";
        QTest::newRow("parent missing") << tree << 6 << "Село";
        QTest::newRow("unknown town") << tree << 7 << "";
        QTest::newRow("loop of two") << "<Item ID='1' Title='А' Group='2'/>"
                                        "<Item ID='2' Title='Б' Group='1'/>"
                                     << 1 << "А, Б";
        QTest::newRow("own parent") << "<Item ID='4' Title='В' Group='4'/>" << 4 << "В";
    }
    void townFullNames() {
        QFETCH(QString, towns);
        QFETCH(int, id);
        QFETCH(QString, fullName);
        xKDConfiguration config;
        QVERIFY(config.ParseConfig(
            QStringLiteral("<CONFIGURATION><LANGUAGE><TOWNS>%1</TOWNS></LANGUAGE></CONFIGURATION>")
                .arg(towns),
            QString()));
        QCOMPARE(config.GetCurrentLanguage()->Towns.GetFullName(id), fullName);
    }

    // A file is read in the encoding it declares; one that is not valid in
    // its encoding is left alone (read as UTF-8 and written back, its texts
    // would be lost) and the default configuration is used.
    void fileEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("donor");
        const QByteArray cp1251Donor("\xc3\xeb\xee\xe1\xe0\xeb\xfc\xed\xfb\xe9"); // Глобальный
        const QByteArray body = "<CONFIGURATION><LANGUAGE><DONORS><Item ID='1' Title='" +
                                cp1251Donor + "'/></DONORS></LANGUAGE></CONFIGURATION>";
        QTest::newRow("declared windows-1251")
            << "<?xml version='1.0' encoding='windows-1251'?>" + body << "Глобальный";
        QTest::newRow("undeclared, not UTF-8") << body << "Глобальный фонд";
    }
    void fileEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, donor);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        xKDConfiguration config;
        QVERIFY(config.LoadConfig(path));
        QCOMPARE(config.GetCurrentLanguage()->Donors.IDToString(1), donor);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }

    // A new installation gets the default configuration; a damaged file is
    // kept and the default used.
    void defaultConfigurationInstalled() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/config.xml"));
        xKDConfiguration config;
        QVERIFY(config.LoadConfig(path));
        QVERIFY(QFile::exists(path));
        xLanguage* language = config.GetCurrentLanguage();
        // The material groups the quarterly summary sums.
        for (long group : {400L, 510L, 520L, 530L, 535L, 560L})
            QVERIFY2(language->MatGroups.Lookup(group), qPrintable(QString::number(group)));
        QCOMPARE(language->MatGroups.Lookup(0x80002)->nGroup, 535L);
        QVERIFY(language->Services.Lookup(1004));
        QVERIFY(language->PrjList.Lookup(1));
        QVERIFY(language->DirectionAndConsulting.GetCount_sEnum2() > 0);
        QVERIFY(language->Donors.GetCount_sEnum2() > 0);
        QVERIFY(language->Speciality.GetCount_sEnum2() > 0);
        QVERIFY(language->WorkerType.GetCount_sEnum2() > 0);
        QVERIFY(language->AgeGroup.Lookup(0));
        // The tool tips that the client card and the drug form ask for.
        const QStringList toolTips =
            QStringLiteral("ClientOtherOrg_Kelda SecondaryClient_Kelda Opiate Pharmaceutical "
                           "secIDU secWCS secMSM secPRIS secLJV secSOZ secOTHER secPDI secORP "
                           "secSNYAT secSTIM secDETULIC secRASPROST secPCIDU secCLISW secMIGRANT "
                           "secPCWCS secWMSM secOTHCONT")
                .split(u' ');
        for (const QString& name : toolTips)
            QVERIFY2(!language->ToolTips.GetToolTip(name).isEmpty(), qPrintable(name));
        QSet<QString> fullNames;
        POSITION pos = language->Towns.InitScan_sEnum2();
        while (language->Towns.ScanNext_sEnum2(pos))
            fullNames << language->Towns.GetFullName(language->Towns.Index_sEnum2(pos));
        QCOMPARE(fullNames.size(), language->Towns.GetCount_sEnum2());
        QVERIFY(fullNames.contains(QStringLiteral("Заречный, Центральная область")));
        const QString text = config.BuildText();

        xKDConfiguration reloaded;
        QVERIFY(reloaded.LoadConfig(path));
        QCOMPARE(reloaded.BuildText(), text);

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<CONFIGURATION><LANGUAGE>");
        file.close();
        xKDConfiguration damaged;
        QVERIFY(damaged.LoadConfig(path));
        QCOMPARE(damaged.BuildText(), text);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("<CONFIGURATION><LANGUAGE>"));
        file.close();
        // Storing keeps a copy of the damaged file (no database: the towns
        // copy reports its failure, the file is written all the same).
        (void)damaged.StoreConfig();
        QCOMPARE(QDir(dir.filePath(QStringLiteral("sub")))
                     .entryList({QStringLiteral("config.xml.damaged-*")})
                     .size(),
                 1);
        xKDConfiguration stored;
        QVERIFY(stored.LoadConfig(path));
        QCOMPARE(stored.BuildText(), text);
    }
};

QTEST_GUILESS_MAIN(TestConfiguration)
#include "test_configuration.moc"

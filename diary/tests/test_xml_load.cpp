// The sheet loading wizard driven as a user drives it: the start page lets
// the user on only with a file (or, in batch mode, a folder holding sheets)
// and names the target folder; the run opens one unsaved report form per
// readable file and writes nothing; a form closed without saving leaves no
// rows; a saved one is written whole into the folder, and a refused save
// leaves nothing, its header included.
#include "diary/excel/tests/sheet_file.h"
#include "diary/visits_page.h"
#include "diary/xml_load.h"
#include "diary_window_fixture.h"
#include "framework/widgets/forms/file_edit.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>

using namespace diarytest;

namespace {
// A sheet of the test directory with one client row per "code|syringes".
QByteArray Sheet(const QStringList& rows, const QString& date = QStringLiteral("2024-03-15")) {
    QStringList cells{"1,3=" + date,         "2,3=Пункт 1",      "3,3=Иванова",
                      "4,3=Основной проект", "4,7=Из ведомости", "7,2=Шприц 2мл"};
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList parts = rows[i].split(u'|');
        cells << QStringLiteral("%1,1=%2").arg(9 + i).arg(parts[0])
              << QStringLiteral("%1,2=%2").arg(9 + i).arg(parts[1]);
    }
    return SheetFile(cells);
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString Stored(const TestDatabase& db) {
    return db.Rows(QStringLiteral("SELECT CONCAT(ROWID,':',nGroupID,':',dDate,':',cComment) FROM "
                                  "dailyreport WHERE bIsFolder=0 ORDER BY ROWID")) +
           u'#' +
           db.Rows(QStringLiteral("SELECT CONCAT(NPP,':',nClientID,':',nItem,':',nCount) FROM "
                                  "dailyvisits ORDER BY nReportID,NPP,nItem"));
}
} // namespace

class TestXMLLoad : public QObject {
    Q_OBJECT
    std::unique_ptr<DiaryWindowFixture> m_fx;
    QTemporaryDir m_dir;

    // The wizard on its start page, on screen.
    std::unique_ptr<CXMLLoad> Wizard(qint64 folder) {
        auto wizard = std::make_unique<CXMLLoad>(folder, m_fx->Frame());
        wizard->show();
        QCoreApplication::processEvents();
        return wizard;
    }
    static CXMLLoadStartPage* Start(CXMLLoad* wizard) {
        return qobject_cast<CXMLLoadStartPage*>(wizard->Pages().value(0));
    }
    // Chooses the path on the start page and runs the wizard.
    bool Run(CXMLLoad* wizard, const QString& path, bool batch) {
        CXMLLoadStartPage* start = Start(wizard);
        start->BatchBox()->setChecked(batch);
        start->PathEdit()->SetPath(path);
        return wizard->Next() && wizard->Run();
    }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<DiaryWindowFixture>();
        QDir(m_dir.path()).mkpath(QStringLiteral("batch"));
        QDir(m_dir.path()).mkpath(QStringLiteral("empty"));
        Write(m_dir.filePath("batch/Report2a.xml"), Sheet({"АБВ0190Ч|3"}));
        Write(m_dir.filePath("batch/Report2b.xml"), "<Workbook><Worksheet>");
        Write(m_dir.filePath("batch/Report2c.xml"), Sheet({"ГДЕ1585Ж|1", "АБВ0190Ч|2"}));
        Write(m_dir.filePath("empty/notes.txt"), "no sheets here");
        Write(m_dir.filePath("one.txt"), Sheet({"ЯЯЯ0101Ч|4"}));
    }
    void cleanupTestCase() { m_fx.reset(); }
    void init() { m_fx->Reset(); }

    void startPage_data() {
        QTest::addColumn<QString>("path"); // under the test folder
        QTest::addColumn<bool>("batch");
        QTest::addColumn<bool>("valid");
        QTest::newRow("nothing chosen") << "" << false << false;
        QTest::newRow("a file of any name") << "one.txt" << false << true;
        QTest::newRow("a file that is not there") << "missing.xml" << false << false;
        QTest::newRow("a folder without batch") << "batch" << false << false;
        QTest::newRow("a folder of sheets") << "batch" << true << true;
        QTest::newRow("a folder without sheets") << "empty" << true << false;
        QTest::newRow("a file in batch mode") << "one.txt" << true << false;
    }
    void startPage() {
        QFETCH(QString, path);
        QFETCH(bool, batch);
        QFETCH(bool, valid);
        auto wizard = Wizard(0);
        CXMLLoadStartPage* start = Start(wizard.get());
        QVERIFY(start);
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Загузка ведомостей"));
        start->BatchBox()->setChecked(batch);
        start->PathEdit()->SetPath(path.isEmpty() ? QString() : m_dir.filePath(path));
        QCOMPARE(start->IsValid(), valid);
        QCOMPARE(wizard->NextButton()->isEnabled(), valid);
        if (valid)
            QCOMPARE(wizard->GetVar(QStringLiteral("filename")).toString(), m_dir.filePath(path));
    }

    void folderName_data() {
        QTest::addColumn<qint64>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("the root") << qint64(0) << "Папка не задана";
        QTest::newRow("a folder") << qint64(900) << "Март";
        QTest::newRow("a folder that is gone") << qint64(901) << "Ошибка";
    }
    void folderName() {
        QFETCH(qint64, folder);
        QFETCH(QString, name);
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,cComment,bIsFolder,nGroupID,"
                                       "nRegionDataID) VALUES (900,'Март',1,0,0)"));
        auto wizard = Wizard(folder);
        QCOMPARE(Start(wizard.get())->FolderName()->text(), name);
        QVERIFY(Start(wizard.get())->FolderName()->isReadOnly());
    }

    // A folder of two good files and a damaged one: two forms, filled and
    // unsaved, and nothing in the database; closed without saving, still
    // nothing.
    void runOpensFormsAndWritesNothing() {
        const QString before = Stored(m_fx->Db());
        auto wizard = Wizard(0);
        QVERIFY(Run(wizard.get(), m_dir.filePath("batch"), true));
        const QList<CDDiary*> forms = wizard->OpenedForms();
        QCOMPARE(forms.size(), 2);
        QCOMPARE(m_fx->Windows(), 2);
        auto* log = qobject_cast<CWizardPaneProcessor*>(wizard->GetProcessorPage());
        QCOMPARE(log->GetLogText().count(QStringLiteral("Создан документ")), 2);
        QCOMPARE(log->WarningCount(), 1);
        for (CDDiary* form : forms) {
            QVERIFY(form);
            QVERIFY(form->IsModified());
            QCOMPARE(form->ReportKey(), -1);
        }
        auto* page = qobject_cast<CDDiaryVisits*>(forms[1]->Page(0));
        QVERIFY(page);
        QCOMPARE(page->Sheet().RowCount(), 2);
        QCOMPARE(Stored(m_fx->Db()), before);

        wizard->accept();
        m_fx->Answer(IDNO); // "save the changes?" no
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        QCoreApplication::processEvents();
        QCOMPARE(m_fx->Windows(), 0);
        QCOMPARE(Stored(m_fx->Db()), before);
    }

    // "Отмена" pressed while the first file's form opens stops the run
    // there: no further file is read, no further form opens.
    void cancelBetweenFilesStopsTheRun() {
        auto wizard = Wizard(0);
        QMdiArea* area = m_fx->Frame()->MDIArea();
        int opened = 0;
        // The user's click, as the window system delivers it: queued.
        const auto connection =
            connect(area, &QMdiArea::subWindowActivated, area, [&](QMdiSubWindow* window) {
                if (window && ++opened == 1)
                    QMetaObject::invokeMethod(wizard->CancelButton(), &QPushButton::click,
                                              Qt::QueuedConnection);
            });
        Run(wizard.get(), m_dir.filePath("batch"), true);
        disconnect(connection);
        QVERIFY(wizard->WasCancelled());
        QCOMPARE(wizard->OpenedForms().size(), 1);
        QCOMPARE(m_fx->Windows(), 1);
        auto* log = qobject_cast<CWizardPaneProcessor*>(wizard->GetProcessorPage());
        QCOMPARE(log->GetLogText().count(QStringLiteral("- Анализ файла")), 1);
        wizard->accept();
        m_fx->Answer(IDNO);
        area->closeAllSubWindows();
        QCoreApplication::processEvents();
    }

    // The form writes the report, in the wizard's folder, on OK; a save that
    // is refused at a sheet's row (the client is not registered) leaves no
    // header either, and the form open.
    void saveWritesTheWholeReport() {
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,cComment,bIsFolder,nGroupID,"
                                       "nRegionDataID) VALUES (900,'Март',1,0,0)"));
        const QString path = m_dir.filePath("Report2mix.xml");
        Write(path, Sheet({"АБВ0190Ч|3", "ЯЯЯ0101Ч|4"}));
        const QString before = Stored(m_fx->Db());
        auto wizard = Wizard(900);
        QVERIFY(Run(wizard.get(), path, false));
        QCOMPARE(wizard->OpenedForms().size(), 1);
        CDDiary* form = wizard->OpenedForms().first();
        wizard->accept();

        form->OKButton()->click();
        QCoreApplication::processEvents();
        QCOMPARE(m_fx->Windows(), 1);
        QCOMPARE(Stored(m_fx->Db()), before);

        // The user mends the row: the code of a registered client.
        auto* page = qobject_cast<CDDiaryVisits*>(form->Page(0));
        CVisitsSheet& sheet = page->Sheet();
        sheet.SetText(1, sheet.ClientColumn(), QStringLiteral("ГДЕ1585Ж"));
        form->OKButton()->click();
        QCoreApplication::processEvents();
        QCOMPARE(m_fx->Windows(), 0);
        const QString stored = Stored(m_fx->Db());
        QVERIFY2(stored.contains(QStringLiteral(":900:2024-03-15:Из ведомости#0:201:101:3;"
                                                "1:202:101:4")),
                 qPrintable(stored));
    }

    // A count the import cannot take shows in the run's log at its cell, and
    // the form shows the row with that cell empty for the user to type; a
    // packed workbook is refused with how to save the sheet.
    void refusedValuesShowInTheLogAndTheForm() {
        const QString path = m_dir.filePath("Report2slip.xml");
        Write(path, Sheet({"АБВ0190Ч|-3", "ГДЕ1585Ж|2"}));
        Write(m_dir.filePath("Report2packed.xml"), QByteArray("PK\x03\x04\x14\x00", 6));
        auto wizard = Wizard(0);
        QVERIFY(Run(wizard.get(), path, false));
        auto* log = qobject_cast<CWizardPaneProcessor*>(wizard->GetProcessorPage());
        QVERIFY2(log->GetLogText().contains(QStringLiteral(
                     "Report2slip.xml, строка 13, столбец C «Шприц 2мл»: «-3» — количество не "
                     "может быть отрицательным; ячейка оставлена пустой")),
                 qPrintable(log->GetLogText()));
        QCOMPARE(wizard->OpenedForms().size(), 1);
        auto* page = qobject_cast<CDDiaryVisits*>(wizard->OpenedForms().first()->Page(0));
        QVERIFY(page);
        const CVisitsSheet& sheet = page->Sheet();
        QCOMPARE(sheet.RowCount(), 2);
        QCOMPARE(sheet.Text(0, sheet.ClientColumn()), QStringLiteral("АБВ0190Ч"));
        QCOMPARE(sheet.Text(0, 1), QString());
        QCOMPARE(sheet.Text(1, 1), QStringLiteral("2"));
        wizard->accept();
        m_fx->Answer(IDNO);
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        QCoreApplication::processEvents();

        auto packed = Wizard(0);
        QVERIFY(Run(packed.get(), m_dir.filePath("Report2packed.xml"), false));
        QVERIFY(packed->OpenedForms().isEmpty());
        log = qobject_cast<CWizardPaneProcessor*>(packed->GetProcessorPage());
        QVERIFY2(log->GetLogText().contains(QStringLiteral("«Таблица XML 2003 (.xml)»")),
                 qPrintable(log->GetLogText()));
        packed->accept();
    }
};

QTEST_MAIN(TestXMLLoad)
#include "test_xml_load.moc"

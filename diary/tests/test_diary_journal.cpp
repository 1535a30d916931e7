// The journal of daily reports: the application's command opens it with its
// one tab, the list shows the reports of a folder with their columns, a row
// opens in the report form and a new one lands in the folder shown, a delete
// takes the report's sheets along, the sheet load asks for the folder it
// loads into, and a change of settings leaves one tab.
#include "diary/core/journal_folder.h"
#include "diary_window_fixture.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/pages/tab.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>

using namespace diarytest;

class TestDiaryJournal : public QObject {
    Q_OBJECT
    std::unique_ptr<DiaryWindowFixture> m_fx;

    CJDiaryMain* Journal() {
        return qobject_cast<CJDiaryMain*>(CxDocManager::Instance()->ActiveView());
    }
    CJDiary* List(CJDiaryMain* journal) {
        return qobject_cast<CJDiary*>(journal->Tab()->GetTabWindow(0, false));
    }
    static QStringList Column(CJDiary* list, int column) {
        QStringList texts;
        for (int r = 0; r < list->Model()->rowCount(); ++r)
            texts << list->Model()->RowText(r, column);
        return texts;
    }

private slots:
    void initTestCase() { m_fx = std::make_unique<DiaryWindowFixture>(); }
    void cleanupTestCase() { m_fx.reset(); }
    void init() {
        m_fx->Reset();
        CJDiary::SetSheetLoader({});
        // A folder "Март" with one report, and two reports at the root.
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nWorker2,nProject,cComment,"
            "bIsFolder,nGroupID,nRegionDataID) VALUES "
            "(1,NULL,-1,-1,-1,0,'Март',1,0,0),"
            "(2,'2024-03-15',11,21,22,1,'в папке',0,1,0),"
            "(3,'2024-03-16',12,22,-1,2,NULL,0,0,0),"
            "(4,'2024-03-17',11,21,-1,1,'О''Брайен',0,0,0),"
            "(5,NULL,-1,-1,-1,0,'',1,0,0)"));
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,nCount,nRegionDataID) "
            "VALUES (3,0,0,201,101,2,0),(4,0,0,202,101,1,0)"));
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,"
                                       "nConsultKey,nCount) VALUES (3,1,106,8,3)"));
    }

    // The application's command opens the journal on its one tab; the list
    // shows folders first, then the reports with their columns.
    void commandOpensTheJournal() {
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CJDiaryMain")));
        CJDiaryMain* journal = Journal();
        QVERIFY(journal);
        QCOMPARE(journal->Tab()->GetCount(), 1);
        QCOMPARE(journal->Tab()->tabText(0), QStringLiteral("Визиты клиентов"));
        QCOMPARE(journal->GetDocument()->GetTitle(),
                 QStringLiteral("Отчетные журналы: Визиты клиентов"));
        CJDiary* list = List(journal);
        QVERIFY(list);
        QAbstractItemModelTester tester(list->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(list->Model()->columnCount(), 10);
        QStringList keys = Column(list, 0);
        QVERIFY(list->Model()->IsFolderRow(0) && list->Model()->IsFolderRow(1));
        // A folder shows its icon and name in the first column after the key.
        const int march = keys.indexOf(QStringLiteral("1"));
        const QModelIndex folder = list->Model()->index(march, 1);
        QCOMPARE(folder.data().toString(), QStringLiteral("Март"));
        QVERIFY(!folder.data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!list->Model()->index(march, 2).data(Qt::DecorationRole).isValid());
        QStringList sorted = keys;
        sorted.sort();
        QCOMPARE(sorted, (QStringList{"1", "3", "4", "5"}));
        const int report = keys.indexOf(QStringLiteral("4"));
        QVERIFY(report >= 2);
        QStringList row;
        for (int c = 1; c < list->Model()->columnCount(); ++c)
            row << list->Model()->RowText(report, c);
        QCOMPARE(row.mid(0, 2), (QStringList{"Пункт 1", "Иванова"}));
        QVERIFY(row.contains(QStringLiteral("О'Брайен")));
        QVERIFY(row.contains(QStringLiteral("Основной проект")));
        QVERIFY(row.contains(QStringLiteral("OWN")));

        // Settings change: still one tab.
        journal->OnSettingsChanged();
        QCOMPARE(journal->Tab()->GetCount(), 1);
        QVERIFY(List(journal));
    }

    // A row opens in the form; a new report is made in the folder shown.
    void rowsOpenInTheForm() {
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CJDiaryMain")));
        CJDiary* list = List(Journal());
        QVERIFY(list->SelectKey(2));
        QCOMPARE(list->Model()->CurrentFolder(), 1);
        QVERIFY(list->OnCmdMsg(EA_EDIT, nullptr));
        auto* form = qobject_cast<CDDiary*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(form);
        QCOMPARE(form->ReportKey(), 2);
        QCOMPARE(form->findChild<CxSqlComboList*>(QStringLiteral("nWorker2"))->currentText(),
                 QStringLiteral("Петров"));
        form->CloseFrame();
        QCoreApplication::processEvents();

        QVERIFY(list->OnCmdMsg(EA_NEW, nullptr));
        form = qobject_cast<CDDiary*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(form);
        QCOMPARE(form->ReportKey(), -1);
        form->findChild<CDateTimeEditCtrl*>(QStringLiteral("dDate"))->SetDate(QDate(2024, 4, 1));
        form->findChild<CxSqlComboList*>(QStringLiteral("nWorkPlace"))->SetSelectedID(kPlace);
        form->findChild<CxSqlComboList*>(QStringLiteral("nWorker1"))->SetSelectedID(kWorker);
        auto* project = form->findChild<QComboBox*>(QStringLiteral("nProject"));
        project->setCurrentIndex(project->findText(QStringLiteral("Профилактика")));
        form->OKButton()->click();
        QCoreApplication::processEvents();
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nGroupID,nProject FROM dailyreport WHERE "
                                                "dDate='2024-04-01'")),
                 QStringLiteral("1|2"));
    }

    // Deleting a report from the list deletes its sheets too; a folder that
    // holds reports stays.
    void deleteTakesTheSheetsAlong() {
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CJDiaryMain")));
        CJDiary* list = List(Journal());
        QVERIFY(list->SelectKey(3));
        QVERIFY(list->OnCmdMsg(EA_DELETE, nullptr));
        QVERIFY(m_fx->Questions().last().contains(QStringLiteral("«16.03.2024, Пункт 2»")));
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT ROWID FROM dailyreport ORDER BY ROWID")),
                 QStringLiteral("1;2;4;5"));
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nReportID FROM dailyvisits")),
                 QStringLiteral("4"));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyredirects")),
                 QStringLiteral("0"));
        QCOMPARE(list->Model()->FindRow(3), -1);

        QVERIFY(list->SelectKey(1));
        list->OnCmdMsg(EA_DELETE, nullptr);
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE "
                                                  "ROWID IN (1,2)")),
                 QStringLiteral("2"));
    }

    // Loading sheets asks for the folder shown (the root by its name, a
    // folder with an empty name as such) and hands the loader that folder;
    // "no" loads nothing; without a loader the command is off.
    void sheetLoadIntoTheFolderShown_data() {
        QTest::addColumn<qint64>("folder");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("loaded");
        QTest::newRow("root") << qint64(0) << int(IDYES) << "КОРНЕВАЯ" << qint64(0);
        QTest::newRow("folder") << qint64(1) << int(IDYES) << "Март" << qint64(1);
        QTest::newRow("folder without a name") << qint64(5) << int(IDYES) << "" << qint64(5);
        QTest::newRow("answered no") << qint64(1) << int(IDNO) << "Март" << qint64(-1);
    }
    void sheetLoadIntoTheFolderShown() {
        QFETCH(qint64, folder);
        QFETCH(int, answer);
        QFETCH(QString, name);
        QFETCH(qint64, loaded);
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CJDiaryMain")));
        CJDiary* list = List(Journal());
        CxCmdUI ui;
        QVERIFY(list->CanProcessCommand(CJDiary::ID_LOAD_SHEETS_HERE, ui));
        QVERIFY(!ui.enabled);
        qint64 target = -1;
        CJDiary::SetSheetLoader([&target](QWidget*, qint64 into) { target = into; });
        QVERIFY(list->CanProcessCommand(CJDiary::ID_LOAD_SHEETS_HERE, ui));
        QVERIFY(ui.enabled);
        QVERIFY(list->OpenFolder(folder));
        m_fx->Answer(answer);
        list->OnCmdMsg(CJDiary::ID_LOAD_SHEETS_HERE, nullptr);
        QCOMPARE(m_fx->Questions(), QStringList{DiaryLoadFolderQuestion(name)});
        QCOMPARE(m_fx->Questions().first(),
                 QStringLiteral("Начать загрузку ведомостей в папку \"%1\"?").arg(name));
        QCOMPARE(target, loaded);
    }
};

QTEST_MAIN(TestDiaryJournal)
#include "test_diary_journal.moc"

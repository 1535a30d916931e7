// The daily report form driven as a user drives it: a sheet typed through the
// grid's keys (client codes completed, counts, Enter, arrows, Delete) is
// stored as typed and shows as typed when opened again; a save that is
// refused keeps every typed cell, says why at the field or cell and leaves
// the database as it was; the duplicate question; the sheets' tabs and
// numbers; a delete takes the sheets along; the client card's selection by
// name; a new report handed in filled; the redirections sheet; the last
// choices and package of a new report; the material chooser.
#include "diary/core/material_pack.h"
#include "diary/core/sheet_columns.h"
#include "diary/material_chooser.h"
#include "diary/redirections_page.h"
#include "diary/visits_grid.h"
#include "diary/visits_page.h"
#include "diary/visits_sheet_model.h"
#include "diary_window_fixture.h"
#include "framework/core/table/safe_sql.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/pages/tab.h"
#include "model/options/kelda_options.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace diarytest;

namespace {
template <class T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qWarning("no control %s", name);
    return child;
}

// Everything a save may touch, to see that a refused save left it alone.
QString Everything(const TestDatabase& db) {
    return db.Rows(QStringLiteral("SELECT ROWID,dDate,nWorkPlace,nWorker1,nWorker2,nProject,"
                                  "IFNULL(cComment,'-'),IFNULL(nCrc,'-') FROM dailyreport ORDER "
                                  "BY ROWID")) +
           u'#' +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,NPP,nClientID,nItem,nCount FROM "
                                  "dailyvisits ORDER BY nReportID,nVedID,NPP,nItem")) +
           u'#' +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,nKeyFirst,nKeySecond,nPos FROM "
                                  "dailyvisitssubhdr ORDER BY nReportID,nVedID,nPos")) +
           u'#' +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,nItem,nConsultKey,nCount FROM "
                                  "dailyredirects ORDER BY nReportID,nVedID,nItem,nConsultKey"));
}

CDailyReportHeader Header() {
    CDailyReportHeader h;
    h.date = QDate(2024, 3, 15);
    h.workPlace = kPlace;
    h.worker1 = kWorker;
    h.project = 1;
    return h;
}

// A sheet of the items with rows of "code|cell|cell...".
CVisitsSheet Sheet(const QList<qint32>& items, const QStringList& rows) {
    return diarytest::SheetOf(g_pBaseSQLConnection.get(), items, rows);
}

// Stores a report through the save the form uses; answers its ROWID.
qint64 StoreReport(const CDailyReportHeader& header, const QList<CVisitsSheet>& sheets) {
    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header = header;
    for (int i = 0; i < sheets.size(); ++i)
        save.pages << CDailyReportPage{i, &sheets[i], nullptr};
    qint64 id = -1;
    CDiaryVerdict refusal;
    QString error;
    if (!SaveDailyReport(g_pBaseSQLConnection.get(), save, &id, &refusal, &error))
        qFatal("%s%s", qPrintable(refusal.text), qPrintable(error));
    return id;
}

QStringList GridRow(CDDiaryVisits* page, int row) {
    QStringList texts;
    QAbstractItemModel* model = page->Grid()->model();
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->index(row, c).data().toString();
    return texts;
}

QString Tip(QWidget* control) {
    return control->property("cxErrorTip").toString();
}
} // namespace

class TestDailyReportForm : public QObject {
    Q_OBJECT
    std::unique_ptr<DiaryWindowFixture> m_fx;

    CDDiary* Open(qint64 key, int mode) {
        return qobject_cast<CDDiary*>(
            CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("CDDiary"), key, mode));
    }
    CDDiaryVisits* Visits(CDDiary* form, int tab) {
        form->Tabs()->setCurrentIndex(tab);
        return qobject_cast<CDDiaryVisits*>(form->Page(tab));
    }
    // Chooses a directory row in a list field by typing its name.
    void Choose(QWidget* form, const char* field, const QString& name) {
        auto* combo = Child<CxSqlComboList>(form, field);
        QVERIFY(combo);
        combo->setFocus();
        combo->lineEdit()->selectAll();
        DiaryWindowFixture::Type(name);
        // Tab leaves the field (and closes its completion list).
        DiaryWindowFixture::Key(Qt::Key_Tab);
    }
    QString Cells(qint64 report, int sheet) { return diarytest::Cells(m_fx->Db(), report, sheet); }
    void Ok(CDDiary* form) {
        form->OKButton()->click();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { m_fx = std::make_unique<DiaryWindowFixture>(); }
    void cleanupTestCase() { m_fx.reset(); }
    void init() { m_fx->Reset(); }

    // A new report from nothing: the header chosen by typing, a sheet typed
    // through the grid's keys; stored as typed (values with quotes
    // included), and shown as typed when opened again. Client codes are
    // typed into the list of clients, or (the old way) the completing edit.
    void aSheetTypedThroughTheKeyboardIsStored_data() {
        QTest::addColumn<bool>("oldEditMode");
        QTest::newRow("list of clients") << false;
        QTest::newRow("completing edit") << true;
    }
    void aSheetTypedThroughTheKeyboardIsStored() {
        QFETCH(bool, oldEditMode);
        g_pOption_DiaryEdit->m_OldDiaryEditMode.Set(oldEditMode);
        CDDiary* form = Open(-1, EA_NEW);
        QVERIFY(form);
        QCOMPARE(form->PageCount(), 1);
        QCOMPARE(form->Tabs()->tabText(0), QStringLiteral("Визиты"));
        Child<CDateTimeEditCtrl>(form, "dDate")->SetDate(QDate(2024, 3, 15));
        Choose(form, "nWorkPlace", QStringLiteral("Пункт 1"));
        Choose(form, "nWorker1", QStringLiteral("Иванова"));
        auto* project = Child<CxComboList>(form, "nProject");
        project->setCurrentIndex(project->findText(QStringLiteral("Основной проект")));
        Child<QLineEdit>(form, "cComment")->setFocus();
        DiaryWindowFixture::Type(QStringLiteral("it's \\ day"));

        CDDiaryVisits* page = Visits(form, 0);
        page->UpdateColumns({kSyringe, kMeal, kHivConsult});
        CDDiaryVisitsGrid* grid = page->Grid();
        QCOMPARE(grid->OldEditMode(), oldEditMode);
        QAbstractItemModelTester tester(grid->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(grid->model()->columnCount(), 5);
        grid->setFocus();
        grid->SelectItem(0, 0);
        // Client codes: completed from the register as typed, Enter goes down.
        DiaryWindowFixture::Type(QStringLiteral("АБВ0190Ч"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        QCOMPARE(grid->currentIndex().row(), 1);
        DiaryWindowFixture::Type(QStringLiteral("где1585ж"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        DiaryWindowFixture::Type(QStringLiteral("O'Brien"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        QCOMPARE(page->Sheet().RowCount(), 3);
        QCOMPARE(page->Sheet().ClientId(0), kClientA);
        QCOMPARE(page->Sheet().ClientId(1), kClientB);
        QCOMPARE(page->Sheet().ClientId(2), kClientQuote);

        // Counts: arrows leave a typed cell in their direction.
        for (int i = 0; i < 3; ++i)
            DiaryWindowFixture::Key(Qt::Key_Up);
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Type(QStringLiteral("5"));
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Type(QStringLiteral("7")); // a service: stored as 1
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Type(QStringLiteral("1"));
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Type(QStringLiteral("1"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 4));
        for (int i = 0; i < 3; ++i)
            DiaryWindowFixture::Key(Qt::Key_Left);
        DiaryWindowFixture::Type(QStringLiteral("12"));
        DiaryWindowFixture::Key(Qt::Key_Down);
        DiaryWindowFixture::Type(QStringLiteral("3"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        // Typing replaces a cell; Delete empties one.
        DiaryWindowFixture::Key(Qt::Key_Up);
        DiaryWindowFixture::Type(QStringLiteral("4"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        for (int i = 0; i < 3; ++i)
            DiaryWindowFixture::Key(Qt::Key_Up);
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Key(Qt::Key_Right);
        DiaryWindowFixture::Key(Qt::Key_Delete);
        QCOMPARE(GridRow(page, 0), (QStringList{"АБВ0190Ч", "5", "1", "", "1"}));
        QCOMPARE(GridRow(page, 2).mid(1), (QStringList{"4", "", "", ""}));
        QCOMPARE(grid->TotalText(0), QStringLiteral("Итоги по ведомости"));
        QCOMPARE(grid->TotalText(1), QStringLiteral("21"));
        QCOMPARE(grid->TotalText(2), QStringLiteral("1"));
        QVERIFY(form->IsModified());

        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        const qint64 report =
            m_fx->Db().Scalar(QStringLiteral("SELECT MAX(ROWID) FROM dailyreport")).toLongLong();
        QCOMPARE(m_fx->Db().Rows(QStringLiteral(
                     "SELECT dDate,nWorkPlace,nWorker1,nProject,cComment,nGroupID,bIsFolder,"
                     "nCrc IS NOT NULL FROM dailyreport")),
                 QStringLiteral("2024-03-15|11|21|1|it's \\ day|0|0|1"));
        QCOMPARE(Cells(report, 0), QStringLiteral("0:201:101:5;0:201:103:1;0:201:104:16;"
                                                  "1:202:101:12;2:203:101:4"));

        form = Open(report, EA_EDIT);
        QVERIFY(form);
        page = Visits(form, 0);
        QCOMPARE(GridRow(page, 0), (QStringList{"АБВ0190Ч", "5", "1", "0", "1"}));
        QCOMPARE(GridRow(page, 1), (QStringList{"ГДЕ1585Ж", "12", "", "", ""}));
        QCOMPARE(GridRow(page, 2), (QStringList{"O'Brien", "4", "", "", ""}));
        QCOMPARE(page->Grid()->model()->rowCount(), 4);
        QCOMPARE(Child<CxSqlComboList>(form, "nWorkPlace")->currentText(),
                 QStringLiteral("Пункт 1"));
        QCOMPARE(Child<QLineEdit>(form, "cComment")->text(), QStringLiteral("it's \\ day"));
        QVERIFY(!form->IsModified());
    }

    // A save that is refused changes nothing in the database, keeps every
    // typed cell and value, and says why at the field or cell.
    void aRefusedSaveKeepsTypedCells_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("control"); // where the tip goes
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown client code") << "unknown"
                                             << "grid 1,0"
                                             << "Код клиента не найден в базе";
        QTest::newRow("count without client") << "noclient"
                                              << "grid 1,0"
                                              << "Пропущен код клиента";
        QTest::newRow("count and kinds of one item") << "spoiled"
                                                     << "grid 0,3"
                                                     << "Ведомость испорчена";
        QTest::newRow("clients without service") << "service"
                                                 << "service"
                                                 << "Не найдена услуга";
        QTest::newRow("no main worker") << "worker"
                                        << "nWorker1"
                                        << "Поле должно быть заполнено.";
        QTest::newRow("a worker no directory has") << "noname"
                                                   << "nWorker2"
                                                   << "нет в списке";
    }
    void aRefusedSaveKeepsTypedCells() {
        QFETCH(QString, fault);
        QFETCH(QString, control);
        QFETCH(QString, message);
        const qint64 report =
            StoreReport(Header(), {Sheet({kSyringe, kHivConsult}, {QStringLiteral("АБВ0190Ч|2")})});
        const QString before = Everything(m_fx->Db());
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        CDDiaryVisits* page = Visits(form, 0);
        CDDiaryVisitsGrid* grid = page->Grid();
        grid->setFocus();
        // A cell typed before the fault: it must survive the refusal.
        grid->SelectItem(0, 1);
        DiaryWindowFixture::Type(QStringLiteral("9"));
        DiaryWindowFixture::Key(Qt::Key_Return);

        CDDiaryVisits* target = page;
        if (fault == QLatin1String("unknown")) {
            grid->SelectItem(1, 0);
            DiaryWindowFixture::Type(QStringLiteral("ЖЖЖ0000Ж"));
            DiaryWindowFixture::Key(Qt::Key_Return);
            grid->SelectItem(1, 1);
            DiaryWindowFixture::Type(QStringLiteral("3"));
            DiaryWindowFixture::Key(Qt::Key_Return);
        } else if (fault == QLatin1String("noclient")) {
            grid->SelectItem(1, 1);
            DiaryWindowFixture::Type(QStringLiteral("3"));
            DiaryWindowFixture::Key(Qt::Key_Return);
        } else if (fault == QLatin1String("spoiled")) {
            // A layout with both a kind column and the count column of one
            // item (the loaded sheet shows the client and the syringe).
            CVisitsSheet& sheet = page->Sheet();
            QList<CSheetColumn> columns{sheet.Column(0), sheet.Column(1)};
            CSheetColumn kind{{kHivConsult, 2}};
            kind.kind = ESheetColumnKind::YesNo;
            CSheetColumn count{{kHivConsult, -1}};
            count.kind = ESheetColumnKind::Count;
            columns << kind << count;
            const QList<int> sources{0, 1, -1, -1};
            grid->BeginSheetChange();
            sheet.ReplaceColumns(columns, sources);
            grid->EndSheetChange();
            grid->SelectItem(0, 2);
            DiaryWindowFixture::Type(QStringLiteral("1"));
            DiaryWindowFixture::Key(Qt::Key_Return);
            grid->SelectItem(0, 3);
            DiaryWindowFixture::Type(QStringLiteral("2"));
            DiaryWindowFixture::Key(Qt::Key_Return);
        } else if (fault == QLatin1String("service")) {
            form->ProcessCommand(CDDiary::ID_ADD_VISITS_SHEET);
            target = Visits(form, 1);
            QVERIFY(target->ServiceCombo()->isEnabled());
            target->Grid()->setFocus();
            target->Grid()->SelectItem(0, 0);
            DiaryWindowFixture::Type(QStringLiteral("АБВ0190Ч"));
            DiaryWindowFixture::Key(Qt::Key_Return);
        } else if (fault == QLatin1String("worker")) {
            auto* worker = Child<CxSqlComboList>(form, "nWorker1");
            worker->setFocus();
            worker->lineEdit()->selectAll();
            DiaryWindowFixture::Key(Qt::Key_Delete);
        } else if (fault == QLatin1String("noname")) {
            Choose(form, "nWorker2", QStringLiteral("Никто"));
        }
        const QList<QStringList> typed{GridRow(target, 0), GridRow(target, 1)};

        Ok(form);
        QCOMPARE(m_fx->Windows(), 1);
        QCOMPARE(Everything(m_fx->Db()), before);
        QCOMPARE(GridRow(target, 0), typed[0]);
        QCOMPARE(GridRow(target, 1), typed[1]);
        QCOMPARE(page->Sheet().Text(0, 1), QStringLiteral("9"));
        QVERIFY(form->IsModified());
        QWidget* shown = nullptr;
        if (control.startsWith(QLatin1String("grid"))) {
            shown = target->Grid();
            const QStringList cell = control.mid(5).split(u',');
            QCOMPARE(target->Grid()->currentIndex(),
                     target->Grid()->model()->index(cell[0].toInt(), cell[1].toInt()));
        } else if (control == QLatin1String("service")) {
            shown = target->ServiceCombo();
        } else {
            shown = Child<QWidget>(form, qPrintable(control));
        }
        QVERIFY2(Tip(shown).contains(message), qPrintable(Tip(shown)));
        QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(message));
        // The tab that shows the tip is in front.
        if (form->Tabs()->isAncestorOf(shown))
            QVERIFY(form->Tabs()->currentWidget()->isAncestorOf(shown));
    }

    // A sheet of clients only, with the service every one of them received:
    // each listed client gets the service once; the row offered for the next
    // client is no client without a service.
    void serviceForEveryListedClient() {
        CDDiary* form = Open(-1, EA_NEW);
        QVERIFY(form);
        Child<CDateTimeEditCtrl>(form, "dDate")->SetDate(QDate(2024, 3, 18));
        Child<CxSqlComboList>(form, "nWorkPlace")->SetSelectedID(kPlace);
        Child<CxSqlComboList>(form, "nWorker1")->SetSelectedID(kWorker);
        Child<CxComboList>(form, "nProject")->SetCurSelCode(1);
        CDDiaryVisits* page = Visits(form, 0);
        QVERIFY(page->ServiceCombo()->isEnabled());
        Choose(page, "service", QStringLiteral("Консультация юриста"));
        page->Grid()->setFocus();
        page->Grid()->SelectItem(0, 0);
        for (const char* code : {"АБВ0190Ч", "ГДЕ1585Ж"}) {
            DiaryWindowFixture::Type(QString::fromUtf8(code));
            DiaryWindowFixture::Key(Qt::Key_Return);
        }
        QCOMPARE(page->Grid()->currentIndex().row(), 2);
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        const qint64 report =
            m_fx->Db().Scalar(QStringLiteral("SELECT ROWID FROM dailyreport")).toLongLong();
        // A consultation chosen as service records its one kind.
        QCOMPARE(Cells(report, 0), QStringLiteral("0:201:105:4;1:202:105:4"));
    }

    // Another report with the same data: the question is asked once inside
    // the save; "no" leaves nothing (header included) and the form open,
    // "yes" stores it. A report handed in filled is written only then.
    void duplicateQuestionAndAFilledNewReport() {
        const QList<CVisitsSheet> sheets{Sheet(
            {kSyringe, kCondom}, {QStringLiteral("АБВ0190Ч|3|1"), QStringLiteral("O'Brien|2")})};
        StoreReport(Header(), sheets);
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,cComment,bIsFolder,nGroupID,"
                                       "nRegionDataID) VALUES (900,'Март',1,0,0)"));
        const QString before = Everything(m_fx->Db());

        CDailyReportDraft draft;
        draft.header = Header();
        draft.header.comment = QStringLiteral("из файла");
        draft.header.groupId = 900;
        draft.sheets = sheets;
        CDDiary* form = CDDiary::OpenDraft(draft);
        QVERIFY(form);
        QCOMPARE(Everything(m_fx->Db()), before);
        QCOMPARE(form->PageCount(), 1);
        QVERIFY(form->IsModified());
        QCOMPARE(GridRow(Visits(form, 0), 1), (QStringList{"O'Brien", "2", ""}));
        QCOMPARE(Child<CxSqlComboList>(form, "nWorker1")->currentText(), QStringLiteral("Иванова"));

        m_fx->Answer(IDNO);
        Ok(form);
        QCOMPARE(m_fx->Questions(), QStringList{DuplicateReportQuestion()});
        QCOMPARE(Everything(m_fx->Db()), before);
        QCOMPARE(m_fx->Windows(), 1);

        m_fx->Answer(IDYES);
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nGroupID,cComment FROM dailyreport WHERE "
                                                "bIsFolder=0 ORDER BY ROWID")),
                 QStringLiteral("0|NULL;900|из файла"));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(DISTINCT nCrc) FROM dailyreport "
                                                  "WHERE bIsFolder=0")),
                 QStringLiteral("1"));
    }

    // A stored report's tabs: all visits sheets, then the redirections
    // sheets, titled by number; a new sheet takes the highest number plus
    // one; sheets never opened keep their rows through a save.
    void tabsOfAStoredReport() {
        const qint64 report = AddReport(m_fx->Db(), 700);
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,nCount,nRegionDataID) "
            "VALUES (700,0,0,201,101,1,0),(700,2,0,202,102,4,0),(700,2,1,201,101,1,0)"));
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,"
                                       "nConsultKey,nCount) VALUES (700,1,106,8,3)"));
        const QString before = Everything(m_fx->Db());
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        QStringList titles;
        for (int i = 0; i < form->PageCount(); ++i)
            titles << form->Tabs()->tabText(i);
        QCOMPARE(titles, (QStringList{"Визиты", "Визиты 3", "Переадресация 2"}));
        QVERIFY(form->Page(0)->IsCreated());
        QVERIFY(!form->Page(1)->IsCreated());
        QVERIFY(!form->Page(2)->IsCreated());

        QVERIFY(form->OnCmdMsg(CDDiary::ID_ADD_REDIRECTIONS_SHEET, nullptr));
        QCOMPARE(form->Tabs()->tabText(3), QStringLiteral("Переадресация 4"));
        QCOMPARE(form->Tabs()->currentIndex(), 3);
        QCOMPARE(form->HighestSheet(), 3);
        Child<QLineEdit>(form, "cComment")->setText(QStringLiteral("правка"));
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        // The header changed; the sheets not opened, and the new one left
        // empty, are as they were.
        for (const int part : {1, 3})
            QCOMPARE(Everything(m_fx->Db()).section(u'#', part, part),
                     before.section(u'#', part, part));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT cComment FROM dailyreport")),
                 QStringLiteral("правка"));
    }

    // A save started while a cell is still being typed (no Enter, no click
    // elsewhere: the save button takes no focus) saves what was typed.
    void aCellBeingTypedIsSaved() {
        const qint64 report =
            StoreReport(Header(), {Sheet({kSyringe}, {QStringLiteral("АБВ0190Ч|2")})});
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        CDDiaryVisits* page = Visits(form, 0);
        page->Grid()->setFocus();
        page->Grid()->SelectItem(0, 1);
        DiaryWindowFixture::Type(QStringLiteral("7"));
        QCOMPARE(GridRow(page, 0).at(1), QStringLiteral("2")); // still in the editor
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        QCOMPARE(Cells(report, 0), QStringLiteral("0:201:101:7"));
    }

    // The header grows with the longest material name, three lines at
    // least and eight at most; value columns start 100 pixels wide.
    void headerGrowsWithLongNames() {
        const QString medium =
            QStringLiteral("Шприц инсулиновый однократного применения с несъёмной иглой 1 мл");
        QList<int> lines, heights;
        for (const QString& name : {QStringLiteral("Шприц 2мл"), medium, medium.repeated(3)}) {
            m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cString='%1' WHERE ROWID=%2")
                                .arg(name)
                                .arg(kSyringe));
            CDDiary* form = Open(-1, EA_NEW);
            QVERIFY(form);
            CDDiaryVisits* page = Visits(form, 0);
            page->UpdateColumns({kSyringe, kMeal});
            CDDiaryVisitsGrid* grid = page->Grid();
            QCOMPARE(grid->columnWidth(1), 100);
            QCOMPARE(grid->columnWidth(2), 100);
            lines << grid->HeaderLines();
            heights << grid->horizontalHeader()->height();
            m_fx->Reset(); // closes the form unsaved
        }
        QCOMPARE(lines.first(), 3);
        QVERIFY2(lines[1] > 3 && lines[1] < 8, qPrintable(QString::number(lines[1])));
        QCOMPARE(lines.last(), 8);
        QVERIFY(heights[0] < heights[1] && heights[1] < heights[2]);
    }

    // A stored layout narrower than a word of a caption (or of the totals'
    // label) shows the column wide enough for it; the stored width stays.
    void narrowStoredColumnsShowTheirWords() {
        const qint64 report = AddReport(m_fx->Db(), 710);
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,nCount,nRegionDataID) "
            "VALUES (710,0,0,201,101,1,0)"));
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyvisitssubhdr (nReportID,nVedID,nKeyFirst,"
                                       "nKeySecond,nWidth,nPos) VALUES (710,0,-1,-1,20,0),"
                                       "(710,0,101,-1,20,1)"));
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        CDDiaryVisitsGrid* grid = Visits(form, 0)->Grid();
        const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            for (const QString& word :
                 grid->model()->headerData(column, Qt::Horizontal).toString().split(u' '))
                QVERIFY2(grid->columnWidth(column) > metrics.horizontalAdvance(word),
                         qPrintable(word));
        QVERIFY(grid->columnWidth(0) > metrics.horizontalAdvance(QStringLiteral("ведомости")));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral(
                     "SELECT MAX(nWidth) FROM dailyvisitssubhdr WHERE nReportID=710")),
                 QStringLiteral("20"));
    }

    // The header's captions show whole in a window of common size.
    void headerCaptionsShowWhole() {
        CDDiary* form = Open(-1, EA_NEW);
        QVERIFY(form);
        form->parentWidget()->resize(1000, 600);
        QCoreApplication::processEvents();
        for (QLabel* label : form->findChildren<QLabel*>())
            if (label->buddy())
                QVERIFY2(label->heightForWidth(label->width()) <= label->height() &&
                             label->geometry().right() < label->buddy()->geometry().left(),
                         qPrintable(label->text()));
    }

    // Tab walks the header as it reads: the first row left to right, then
    // the workers, the comment, then the sheets; Shift+Tab goes back to the
    // date.
    void tabGoesThroughTheHeaderAsItReads() {
        CDDiary* form = Open(-1, EA_NEW);
        QVERIFY(form);
        const QStringList fields = {"nWorkPlace", "nProject", "nWorker1", "nWorker2",
                                    "nWorker3",   "cComment", "sheets"};
        const auto fieldOf = [&fields](QWidget* widget) {
            for (; widget; widget = widget->parentWidget())
                if (fields.contains(widget->objectName()))
                    return widget->objectName();
            return QString();
        };
        Child<CxSqlComboList>(form, "nWorkPlace")->setFocus();
        QStringList walked = {fieldOf(QApplication::focusWidget())};
        for (int i = 1; i < fields.size(); ++i) {
            DiaryWindowFixture::Key(Qt::Key_Tab);
            walked << fieldOf(QApplication::focusWidget());
        }
        QCOMPARE(walked, fields);
        Child<CxSqlComboList>(form, "nWorkPlace")->setFocus();
        DiaryWindowFixture::Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget* back = QApplication::focusWidget();
        QVERIFY(back && Child<CDateTimeEditCtrl>(form, "dDate")->isAncestorOf(back));
    }

    // Deleting a report deletes its sheets' rows in the same save, whatever
    // its open pages hold; other reports keep theirs.
    void deleteTakesTheSheetsAlong() {
        const qint64 keep =
            StoreReport(Header(), {Sheet({kSyringe}, {QStringLiteral("АБВ0190Ч|1")})});
        CDailyReportHeader other = Header();
        other.date = QDate(2024, 3, 16);
        const qint64 gone = StoreReport(other, {Sheet({kSyringe}, {QStringLiteral("АБВ0190Ч|2")})});
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,"
                                       "nConsultKey,nCount) VALUES (%1,1,106,8,3)")
                            .arg(gone));
        CDDiary* form = Open(gone, EA_DELETE);
        QVERIFY(form);
        for (int i = 0; i < form->PageCount(); ++i)
            form->Tabs()->setCurrentIndex(i);
        QVERIFY(form->Page(1)->IsCreated());
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        for (const char* table : {"dailyvisits", "dailyvisitssubhdr", "dailyredirects"})
            QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE nReportID=%2")
                                           .arg(QLatin1String(table))
                                           .arg(gone)),
                     QStringLiteral("0"));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT GROUP_CONCAT(ROWID) FROM dailyreport")),
                 QString::number(keep));
        QCOMPARE(Cells(keep, 0), QStringLiteral("0:201:101:1"));
    }

    // The client card opens a report and asks, by name, for its client's row.
    void selectClientByName() {
        const qint64 report = StoreReport(
            Header(),
            {Sheet({kSyringe}, {QStringLiteral("АБВ0190Ч|1")}),
             Sheet({kCondom}, {QStringLiteral("O'Brien|1"), QStringLiteral("ГДЕ1585Ж|2")})});
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        bool found = false;
        QVERIFY(QMetaObject::invokeMethod(form, "SelectClient", Q_RETURN_ARG(bool, found),
                                          Q_ARG(int, kClientB)));
        QVERIFY(found);
        QCOMPARE(form->Tabs()->currentIndex(), 1);
        CDDiaryVisits* page = Visits(form, 1);
        QCOMPARE(page->Grid()->currentIndex(), page->Grid()->model()->index(1, 0));
        QVERIFY(QMetaObject::invokeMethod(form, "SelectClient", Q_RETURN_ARG(bool, found),
                                          Q_ARG(int, kClientFolder)));
        QVERIFY(!found);
    }

    // A redirections sheet: a new one lists the directory's kinds counted in
    // people; counts typed through the keys are stored (negative ones too),
    // and the sheet opened again shows exactly the stored lines.
    void redirectionsSheet() {
        const qint64 report = StoreReport(Header(), {Sheet({kSyringe}, {})});
        CDDiary* form = Open(report, EA_EDIT);
        QVERIFY(form);
        QCOMPARE(form->PageCount(), 0);
        QVERIFY(form->OnCmdMsg(CDDiary::ID_ADD_REDIRECTIONS_SHEET, nullptr));
        auto* page = qobject_cast<CDDiaryRedir*>(form->Page(0));
        QVERIFY(page);
        QCOMPARE(form->Tabs()->tabText(0), QStringLiteral("Переадресация"));
        QAbstractItemModelTester tester(page->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList lines;
        for (int r = 0; r < page->Model()->rowCount(); ++r)
            lines << page->Model()->index(r, 0).data().toString().replace(u'\n', u'/');
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("Консультация по ИППП/")));
        QVERIFY(lines[3].startsWith(QStringLiteral("Направление к фтизиатру/")));

        page->Grid()->setFocus();
        page->Grid()->setCurrentIndex(page->Model()->index(0, 1));
        DiaryWindowFixture::Type(QStringLiteral("3"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        DiaryWindowFixture::Key(Qt::Key_Down);
        DiaryWindowFixture::Type(QStringLiteral("-2"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        DiaryWindowFixture::Type(QStringLiteral("x7"));
        DiaryWindowFixture::Key(Qt::Key_Return);
        QCOMPARE(page->Sheet().rows[3].count, QStringLiteral("7"));
        DiaryWindowFixture::Key(Qt::Key_Up);
        DiaryWindowFixture::Key(Qt::Key_Delete);
        Ok(form);
        QCOMPARE(m_fx->Windows(), 0);
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nVedID,nItem,nConsultKey,nCount FROM "
                                                "dailyredirects ORDER BY nItem,nConsultKey")),
                 QStringLiteral("0|107|2|3;0|107|64|-2"));

        form = Open(report, EA_EDIT);
        page = qobject_cast<CDDiaryRedir*>(form->Page(0));
        QVERIFY(page);
        QCOMPARE(page->Model()->rowCount(), 2);
        QCOMPARE(page->Model()->index(1, 1).data().toString(), QStringLiteral("-2"));
    }

    // A new report takes the last service point, main worker, project and
    // package when the options say so, and nothing when they do not.
    void newReportDefaults_data() {
        QTest::addColumn<bool>("on");
        QTest::newRow("options on") << true;
        QTest::newRow("options off") << false;
    }
    void newReportDefaults() {
        QFETCH(bool, on);
        m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cOtherInfo=%1 WHERE ROWID=%2")
                            .arg(SafeSQL(CDDirMatPackArray({kMeal, kSyringe}).SaveToString()))
                            .arg(kPackage));
        COption_Diary* options = g_pOption_Diary;
        for (const CBoolOption* option : {&options->m_LoadLastPlace, &options->m_LoadLastWorker,
                                          &options->m_LoadLastProject, &options->m_LoadLastSet})
            option->Set(on);
        COption_Diary::SetLastPlace(kOtherPlace);
        COption_Diary::SetLastWorker(kOtherWorker);
        COption_Diary::SetLastProject(2);
        COption_Diary::SetLastUsedSet(kPackage);
        CDDiary* form = Open(-1, EA_NEW);
        QVERIFY(form);
        QCOMPARE(Child<CxSqlComboList>(form, "nWorkPlace")->GetSelectedID(),
                 on ? qint64(kOtherPlace) : -1);
        QCOMPARE(Child<CxSqlComboList>(form, "nWorker1")->GetSelectedID(),
                 on ? qint64(kOtherWorker) : -1);
        QCOMPARE(Child<CxComboList>(form, "nProject")->GetCurSelCode(), on ? 2L : -1L);
        CDDiaryVisits* page = Visits(form, 0);
        QCOMPARE(page->Sheet().Items(), on ? (QList<qint32>{kMeal, kSyringe}) : QList<qint32>());
        QCOMPARE(page->ServiceCombo()->isEnabled(), !on);
        if (on)
            QVERIFY(page->PackageButton()->toolTip().contains(
                QStringLiteral("Загружен пакет 'Базовый набор'")));

        // A choice the user makes is remembered for the next report.
        Choose(form, "nWorkPlace", QStringLiteral("Пункт 1"));
        QCOMPARE(COption_Diary::GetLastPlace(), kPlace);
    }

    // The chooser lists the visible materials and what the sheet holds;
    // the columns follow what the user ticks, in the list's order; a
    // package through the chooser that the user cancels changes nothing.
    void materialChooser() {
        QList<qint32> selection{kHiddenConsult};
        {
            CASelMat chooser(nullptr, &selection);
            QVERIFY(chooser.IsLoaded());
            QAbstractItemModelTester tester(chooser.List()->Model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
            QStringList names;
            QList<int> chosen;
            for (const CxListSelOrder_Struct& e : chooser.List()->Model()->Entries()) {
                names << e.text;
                if (e.selected)
                    chosen << e.id;
            }
            // Consultations kept in people and hidden items are offered only
            // when chosen.
            QVERIFY(!names.contains(QStringLiteral("Консультация по ИППП")));
            QVERIFY(names.contains(QStringLiteral("Скрытая консультация")));
            QCOMPARE(chosen, QList<int>{kHiddenConsult});
            chooser.reject();
        }
        QCOMPARE(selection, QList<qint32>{kHiddenConsult});

        CDDiary* form = Open(-1, EA_NEW);
        CDDiaryVisits* page = Visits(form, 0);
        // The user ticks the condom and the syringe, then moves the syringe up.
        QTimer::singleShot(0, this, [] {
            auto* chooser = qobject_cast<CASelMat*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            CxListSelOrderModel* model = chooser->List()->Model();
            const auto row = [model](int id) {
                for (int r = 0; r < model->rowCount(); ++r)
                    if (model->index(r, 0).data(CxListSelOrderModel::IdRole).toInt() == id)
                        return r;
                return -1;
            };
            for (const int id : {kSyringe, kCondom})
                model->setData(model->index(row(id), 0), Qt::Checked, Qt::CheckStateRole);
            while (row(kSyringe) > row(kCondom))
                QVERIFY(model->Move(row(kSyringe), -1));
            Child<QPushButton>(chooser, "choose")->click();
        });
        page->OnChooseMaterials();
        QCOMPARE(page->Sheet().Items(), (QList<qint32>{kSyringe, kCondom}));
        QVERIFY(!page->ServiceCombo()->isEnabled());

        m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cOtherInfo=%1 WHERE ROWID=%2")
                            .arg(SafeSQL(CDDirMatPackArray({kMeal}).SaveToString()))
                            .arg(kPackage));
        QTimer::singleShot(0, this, [] {
            auto* chooser = qobject_cast<CASelMat*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            QCOMPARE(chooser->List()->ChosenIds(), QList<int>{kMeal});
            Child<QPushButton>(chooser, "cancel")->click();
        });
        page->OnSelectID(kPackage, CDDiaryVisits::kPackageButton);
        QCOMPARE(page->Sheet().Items(), (QList<qint32>{kSyringe, kCondom}));
        QVERIFY(page->PackageButton()->toolTip().contains(QStringLiteral("Загрузка отменена")));
        QCOMPARE(COption_Diary::GetLastUsedSet(), kPackage);
        page->OnSelectID(4242, CDDiaryVisits::kPackageButton);
        QVERIFY(page->PackageButton()->toolTip().contains(
            QStringLiteral("Ошибка загрузки пакета материлов")));
    }
};

QTEST_MAIN(TestDailyReportForm)
#include "test_daily_report_form.moc"

// The report window driven as a user drives it, over a small report of this
// test: the service points and the choices go to the document, the build
// runs behind the progress dialog (which can stop it), the page shows with
// its links working, a failed build shows the error page, the page is saved
// as HTML (read back by a real browser where one is installed) and as PDF,
// a second build reuses the work tables, a second window clones the report,
// the choices outlive the window, and the preset commands go through the
// real editor. The fast-tables window runs its steps.
#include "db/schema/cache_tables.h"
#include "framework/core/app/record_commands.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "model/tables/table_set.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/tests/rep_test_support.h"
#include "reports/base/core/tests/work_table_fixture.h"
#include "reports/base/views/fast_tables_dlg.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_edit.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/base/views/rep_base_view.h"
#include "tests/support/pane_text.h"
#include "tests/support/schema_test_database.h"

#include "framework/widgets/forms/date_edit.h"
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace {
const QString kPresets =
    QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='Все визиты' Comment='по пунктам'/>"
                   "<KDREPPRESET2 Title='Годовой'/></KDREPORTPRESETS2>");

// The report of the test: visits per service point from the period summary
// table, with links of every kind.
class ViewTestReport : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit ViewTestReport(QObject* parent = nullptr) : CRepBase(parent) {}
    QString GetReportTitle() override { return QStringLiteral("Визиты по пунктам"); }
    void OnSetupView() override {
        if (disableEnd)
            GetView()->EnableControl(kRepCtlTo, false);
    }
    QList<CRepPresetChoice> GetPresetChoices() override {
        if (withoutPresets)
            return {};
        return {{20581, QStringLiteral("Пункт"), 0x7}, {20568, QStringLiteral("Визитов"), 0xC}};
    }
    int OnProcessURL(const QString& url) override {
        if (url == QLatin1String("rewrite:")) {
            SetHTML(QStringLiteral("<p>Страница после ссылки</p>"));
            return 1;
        }
        return CRepBase::OnProcessURL(url);
    }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override {
        ++builds;
        CRepBaseData* run = GetRunData();
        if (hook)
            hook(this, run);
        summary = run->PrepareSummaryTable();
        CxResult res = run->GetSQL()->Execute(
            QStringLiteral("SELECT s.nWorkPlace,p.cString,SUM(s.nVisits) FROM ") + summary +
            QStringLiteral(" AS s JOIN dir AS p ON p.ROWID=s.nWorkPlace GROUP BY s.nWorkPlace "
                           "ORDER BY s.nWorkPlace"));
        QString rows;
        while (res.FetchRow())
            rows += QStringLiteral("<tr><td class=\"Dd\"><a href=\"opendoc:CDDirWorkPlace:%1\">%2"
                                   "</a></td><td class=\"Dnum\">%3</td></tr>")
                        .arg(res.LFieldValue(0))
                        .arg(SafeHTML(res.SFieldValue(1)))
                        .arg(res.LFieldValue(2));
        const QString links = QStringLiteral(
            "<p><a href=\"#bottom\">вниз</a> <a href=\"https://example.org/\">сайт</a> "
            "<a href=\"rewrite:\">заменить</a> <a href=\"messagebox:64:Привет мир\">сообщение</a>"
            "</p>");
        const CHTMLTemplate& t = run->GetReportTemplate();
        html.Add(CxString::StrTr(
            t.GetSection(QStringLiteral("REPORT")),
            {{QStringLiteral("%TITLE%"), GetReportTitle()},
             {QStringLiteral("%FROM%"), run->From().toString(QStringLiteral("dd.MM.yyyy"))},
             {QStringLiteral("%TO%"), run->To().toString(QStringLiteral("dd.MM.yyyy"))},
             {QStringLiteral("%HEADING%"), QString()},
             {QStringLiteral("%DETAIL%"), links},
             {QStringLiteral("%SUMMARY%"),
              QStringLiteral("<table class=\"rep\"><tr><td class=\"Hd\">Пункт</td><td "
                             "class=\"Hnum\">Визитов</td></tr>") +
                  rows + QStringLiteral("</table>")},
             {QStringLiteral("%COMMENT%"), QStringLiteral("<a name=\"bottom\">конец</a>")}}));
    }

    QString summary;
    static inline int builds = 0;
    static inline bool disableEnd = false;
    static inline bool withoutPresets = false;
    static inline std::function<void(ViewTestReport*, CRepBaseData*)> hook;
};

// Runs `body` inside the next modal dialog's event loop (the dialog is
// open when the loop starts, so this is not a race).
void InModal(std::function<void(QWidget*)> body) {
    QTimer::singleShot(0, [body] { body(QApplication::activeModalWidget()); });
}
} // namespace

class TestRepView : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CxMDIFrameWnd> m_frame;
    QStringList m_messages;
    QList<QUrl> m_opened;

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private:
    CRepBaseView* Open() {
        return qobject_cast<CRepBaseView*>(
            CxDocManager::Instance()->OpenNewDocument(QStringLiteral("ViewTestReport")));
    }
    static ViewTestReport* Doc(CRepBaseView* view) {
        return qobject_cast<ViewTestReport*>(view->GetRepDoc());
    }
    // Ticks the points, the year 2012 and the first preset.
    static void Choose(CRepBaseView* view, const QSet<long>& points) {
        view->GetPoshList()->SetTickedPoints(points);
        view->findChild<CTypedDateEdit*>(QStringLiteral("fromDate"))->setDate(QDate(2012, 1, 1));
        view->findChild<CTypedDateEdit*>(QStringLiteral("toDate"))->setDate(QDate(2012, 12, 31));
        CRepPresetSelList2* presets = view->GetPresetList();
        emit presets->clicked(presets->model()->index(1, 0)); // "Годовой"
    }
    void CloseAll() { m_frame->MDIArea()->closeAllSubWindows(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { CloseAll(); }
    void buildShowsPage();
    void secondBuildReusesWorkTables();
    void cancelAndErrorPages();
    void checksStopTheBuild();
    void periodTakesDatesAsTyped_data();
    void periodTakesDatesAsTyped();
    void presetListOffWithoutPresetsAndWhileBuilding();
    void links();
    void savedPageOpensInBrowser();
    void pdf();
    void cloneWindow();
    void choicesOutliveTheWindow();
    void documentDisablesControls();
    void treeGroupingsAndMarks();
    void presetCommands();
    void fastTablesWindow();
};

void TestRepView::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("repview"));
    LoadWorkTableFixture(*m_db);
    auto* sql = new CxMySQL;
    SQLConnectXML info = m_db->Info();
    QVERIFY(sql->Connect(&info));
    g_pBaseSQLConnection.reset(sql);
    InstallConfig(TestMatGroups() + kPresets);
    QVERIFY(InitTables());
    m_frame = std::make_unique<CxMDIFrameWnd>();
    m_frame->OnCreate();
    m_frame->resize(1200, 800);
    m_frame->show();
    CxDocManager::Instance()->SetFrame(m_frame.get());
    CTarvikApp::RegisterDocTemplate(0, &CRepBaseView::staticMetaObject,
                                    &ViewTestReport::staticMetaObject, nullptr);
    CRepProgressDlg::SetDefaultShowDelay(0);
    SetMessageAnswerer([this](CxAskKind, const QString& text) {
        m_messages << text;
        return IDYES;
    });
    SetExternalOpener([this](const QUrl& url) {
        m_opened << url;
        return true;
    });
}

void TestRepView::cleanupTestCase() {
    CloseAll();
    m_frame.reset();
    SetMessageAnswerer({});
    SetExternalOpener({});
    g_SelfTablesKelda.Init(0);
    g_pBaseSQLConnection.reset();
    m_db.reset();
}

void TestRepView::init() {
    DropCacheTables(g_pBaseSQLConnection.get());
    CTarvikApp::SetProfileManager(new CxProfileManager);
    CPoshSelection::Store({});
    ViewTestReport::hook = nullptr;
    ViewTestReport::disableEnd = false;
    ViewTestReport::withoutPresets = false;
    StorePoshGrouping(kPoshByOrg);
    m_messages.clear();
    m_opened.clear();
    CTarvikApp::TakeAppQueries();
}

void TestRepView::buildShowsPage() {
    CRepBaseView* view = Open();
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Визиты по пунктам"));
    Choose(view, {1, 2});
    view->findChild<CxComboList*>(QStringLiteral("clientKind"))->SetCurSelCode(3);
    view->findChild<CxComboList*>(QStringLiteral("project"))->SetCurSelCode(2);
    view->findChild<QCheckBox*>(QStringLiteral("projectExact"))->setChecked(true);

    bool sawDialog = false;
    ViewTestReport::hook = [&](ViewTestReport*, CRepBaseData* run) {
        // The build runs behind the progress dialog, modal to the whole
        // program; the lists read no page meanwhile.
        auto* dialog = qobject_cast<CRepProgressDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Визиты по пунктам"));
        QVERIFY(CRepDoc::IsBuilding());
        QCOMPARE(run->From(), QDate(2012, 1, 1));
        QCOMPARE(run->GetPreset().Title, QStringLiteral("Годовой"));
        sawDialog = true;
    };
    view->BuildButton()->click();
    QVERIFY(sawDialog);
    QVERIFY(!CRepDoc::IsBuilding());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(CPoshSelection::SelectedIDs(), QList<long>({1, 2}));
    const CRepBaseParams& params = Doc(view)->Params();
    QCOMPARE(params.to, QDate(2012, 12, 31));
    QCOMPARE(params.clientKind, 3);
    QCOMPARE(params.newClientMode, 0);
    QCOMPARE(params.project, 2L);
    QVERIFY(params.projectExact);
    const QString shown = PaneText(view->HTMLCtrl());
    QVERIFY2(shown.contains(QStringLiteral("Визиты по пунктам")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("За период с 01.01.2012 по 31.12.2012")));
    // 5 visits of 2012 at point 1, 2 at point 2.
    QVERIFY2(shown.contains(QStringLiteral("Центр\t5")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("Аптека`5\t2")));
    QVERIFY(m_messages.isEmpty());
}

void TestRepView::secondBuildReusesWorkTables() {
    CRepBaseView* view = Open();
    Choose(view, {1});
    QVERIFY(view->OnBuild());
    const QString table = Doc(view)->summary;
    QVERIFY(table.startsWith(QStringLiteral("_cache_summary")));
    // A mark in the work table: a rebuilt table would not have it.
    m_db->Exec(QStringLiteral("UPDATE ") + table +
               QStringLiteral(" SET nVisits=nVisits+100 WHERE nWorkPlace=1 LIMIT 1"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(view->OnBuild());
    qInfo("second build: %lld ms", clock.elapsed());
    QVERIFY2(PaneText(view->HTMLCtrl()).contains(QStringLiteral("Центр\t105")),
             qPrintable(PaneText(view->HTMLCtrl())));
}

void TestRepView::cancelAndErrorPages() {
    CRepBaseView* view = Open();
    Choose(view, {1});
    // The user stops the build: it ends at its next step with its page.
    ViewTestReport::hook = [](ViewTestReport*, CRepBaseData* run) {
        auto* dialog = qobject_cast<CRepProgressDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        dialog->CancelButton()->click();
        QVERIFY(!dialog->CancelButton()->isEnabled());
        run->PrepareCompactTable();
    };
    QVERIFY(view->OnBuild());
    QVERIFY2(PaneText(view->HTMLCtrl())
                 .contains(QStringLiteral("Формирование отчета прервано пользователем")),
             qPrintable(PaneText(view->HTMLCtrl())));
    QVERIFY(!m_db->HoldsDbLock());
    QVERIFY(m_db->Rows(QStringLiteral("SHOW TABLES LIKE '\\_cache\\_compact%'")).isEmpty());

    // A failed statement: the error page names it and the server's text.
    ViewTestReport::hook = [](ViewTestReport*, CRepBaseData* run) {
        run->ExecuteStep(QStringLiteral("SELECT nNoSuchColumn FROM dir"));
    };
    QVERIFY(view->OnBuild());
    const QString shown = PaneText(view->HTMLCtrl());
    QVERIFY2(shown.contains(QStringLiteral("Возникла ошибка при формировании отчета")),
             qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("SELECT nNoSuchColumn FROM dir")));
    QVERIFY(!CRepDoc::IsBuilding());
    // A report that throws something else leaves no build running.
    ViewTestReport::hook = [](ViewTestReport*, CRepBaseData*) { throw 42; };
    QVERIFY(!view->OnBuild());
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(!CRepDoc::IsBuilding());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestRepView::checksStopTheBuild() {
    CRepBaseView* view = Open();
    Choose(view, {});
    const int before = ViewTestReport::builds;
    QVERIFY(view->OnBuild());
    QVERIFY(
        PaneText(view->HTMLCtrl()).contains(QStringLiteral("Вы должны отметить хотя бы один ПОУ")));
    QCOMPARE(ViewTestReport::builds, before); // the report's body did not run
    view->GetPoshList()->SetTickedPoints({1});
    view->findChild<CTypedDateEdit*>(QStringLiteral("fromDate"))->setDate(QDate(2013, 1, 1));
    QVERIFY(!view->OnBuild());
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.first().contains(QStringLiteral("Начало периода позже")));
    QCOMPARE(ViewTestReport::builds, before);
}

void TestRepView::periodTakesDatesAsTyped_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("refusal");
    const QDate none;
    QTest::newRow("full dates") << "05.03.2012"
                                << "31.12.2012" << QDate(2012, 3, 5) << QDate(2012, 12, 31) << "";
    QTest::newRow("short day and month")
        << "5.3.2012"
        << "1.4.2012" << QDate(2012, 3, 5) << QDate(2012, 4, 1) << "";
    QTest::newRow("two-digit years")
        << "05/03/12"
        << "31-12-12" << QDate(2012, 3, 5) << QDate(2012, 12, 31) << "";
    QTest::newRow("digits only") << "05032012"
                                 << "311212" << QDate(2012, 3, 5) << QDate(2012, 12, 31) << "";
    QTest::newRow("no such day") << "31.02.2012"
                                 << "31.12.2012" << none << none
                                 << "«31.02.2012» не является датой";
    QTest::newRow("half typed") << "05.03.2012"
                                << "31.12.20" << QDate(2012, 3, 5) << QDate(2020, 12, 31) << "";
    QTest::newRow("not a date") << "05.03.2012"
                                << "вчера" << none << none << "«вчера» не является датой";
}

void TestRepView::periodTakesDatesAsTyped() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, refusal);
    CRepBaseView* view = Open();
    Choose(view, {1});
    // Typed over the whole field, as a user does, and read without leaving it.
    for (const auto& [name, text] : {std::pair{"fromDate", from}, std::pair{"toDate", to}}) {
        QLineEdit* edit = view->findChild<CTypedDateEdit*>(QLatin1String(name))->Editor();
        edit->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
        QCOMPARE(edit->text(), text);
    }
    Doc(view)->Params() = CRepBaseParams();
    QCOMPARE(view->OnPreBuild(), refusal.isEmpty());
    if (!refusal.isEmpty()) {
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(refusal), qPrintable(m_messages.first()));
        QVERIFY(!Doc(view)->Params().from.isValid());
        return;
    }
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(Doc(view)->Params().from, start);
    QCOMPARE(Doc(view)->Params().to, end);
    QCOMPARE(view->GetFrom(), start);
}

void TestRepView::presetListOffWithoutPresetsAndWhileBuilding() {
    CRepBaseView* view = Open();
    CRepPresetSelList2* presets = view->GetPresetList();
    QVERIFY(presets->isEnabled());
    Choose(view, {1});
    bool enabledDuringBuild = true;
    ViewTestReport::hook = [&](ViewTestReport*, CRepBaseData*) {
        enabledDuringBuild = presets->isEnabled();
    };
    QVERIFY(view->OnBuild());
    QVERIFY(!enabledDuringBuild);
    QVERIFY(presets->isEnabled());
    CloseAll();

    // A report that takes no preset: the list and its caption are off, its
    // commands do nothing, and a build leaves them off.
    ViewTestReport::withoutPresets = true;
    view = Open();
    presets = view->GetPresetList();
    QVERIFY(!presets->isEnabled());
    auto* caption = view->findChild<QLabel*>(QStringLiteral("presetCaption"));
    QVERIFY(caption);
    QCOMPARE(caption->text(), QStringLiteral("Варианты отчета:"));
    QVERIFY(!caption->isEnabled());
    ViewTestReport::hook = nullptr;
    bool edited = false;
    Doc(view)->SetPresetEditor([&](KDRepPresetEx2&, bool) { return edited = true; });
    QVERIFY(view->ProcessCommand(ID_RECORD_NEW));
    QVERIFY(!edited);
    Choose(view, {1});
    QVERIFY(view->OnBuild());
    QVERIFY(!presets->isEnabled());
}

void TestRepView::links() {
    CRepBaseView* view = Open();
    Choose(view, {1, 2});
    QVERIFY(view->OnBuild());
    CRepPane* html = view->HTMLCtrl();
    // Command addresses go to the program, as written in the page.
    emit html->linkClicked(QUrl(QStringLiteral("opendoc:CDDirWorkPlace:1")));
    emit html->linkClicked(QUrl(QStringLiteral("messagebox:64:Привет мир")));
    emit html->linkClicked(QUrl(QStringLiteral("messagebox:64:Скидка 50% на №1, #2?")));
    QCOMPARE(CTarvikApp::TakeAppQueries(),
             QStringList({QStringLiteral("opendoc:CDDirWorkPlace:1"),
                          QStringLiteral("messagebox:64:Привет мир"),
                          QStringLiteral("messagebox:64:Скидка 50% на №1, #2?")}));
    // Other addresses open in the system's browser.
    emit html->linkClicked(QUrl(QStringLiteral("https://example.org/")));
    QCOMPARE(m_opened, QList<QUrl>({QUrl(QStringLiteral("https://example.org/"))}));
    // Anchors of the page scroll it; they reach neither.
    emit html->linkClicked(QUrl(QStringLiteral("#bottom")));
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
    // A link that rewrites the page shows the new page.
    emit html->linkClicked(QUrl(QStringLiteral("rewrite:")));
    QCOMPARE(PaneText(html), QStringLiteral("Страница после ссылки"));
}

void TestRepView::savedPageOpensInBrowser() {
    CRepBaseView* view = Open();
    Choose(view, {1, 2});
    QVERIFY(view->OnBuild());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("отчет.html"));
    QString error;
    QVERIFY2(view->SaveReport(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("<meta charset=\"utf-8\">"));
    QVERIFY(bytes.contains("<style type=\"text/css\">"));
    QVERIFY(bytes.contains(QStringLiteral("Визиты по пунктам").toUtf8()));
    QVERIFY(!view->SaveReport(dir.filePath(QStringLiteral("нет/отчет.html")), &error));
    QVERIFY(error.contains(QStringLiteral("Не удалось записать файл")));

    // A real browser reads the file as the program wrote it.
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("no chromium on this machine");
    QProcess browser;
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--dump-dom"),
                             QUrl::fromLocalFile(path).toString()});
    QVERIFY(browser.waitForFinished(120000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    QVERIFY2(dom.contains(QStringLiteral("<h2 align=\"center\">Визиты по пунктам</h2>")),
             qPrintable(dom.left(2000)));
    QVERIFY(dom.contains(QStringLiteral("Центр")));
}

void TestRepView::pdf() {
    CRepBaseView* view = Open();
    Choose(view, {1, 2});
    QVERIFY(view->OnBuild());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rep.pdf"));
    QString error;
    QVERIFY2(view->ExportPDF(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(!view->ExportPDF(dir.filePath(QStringLiteral("нет/rep.pdf")), &error));
}

void TestRepView::cloneWindow() {
    CRepBaseView* view = Open();
    Choose(view, {2, 3});
    view->findChild<CxComboList*>(QStringLiteral("newClientMode"))->SetCurSelCode(2);
    QVERIFY(view->OnBuild());
    auto* clone = qobject_cast<CRepBaseView*>(view->OnCloneReport());
    QVERIFY(clone);
    QVERIFY(clone != view);
    QVERIFY(Doc(clone) != Doc(view));
    QCOMPARE(CxDocManager::Instance()->Views().size(), 2);
    QCOMPARE(PaneText(clone->HTMLCtrl()), PaneText(view->HTMLCtrl()));
    QCOMPARE(clone->GetPoshList()->TickedPoints(), QSet<long>({2, 3}));
    QCOMPARE(clone->GetFrom(), QDate(2012, 1, 1));
    QCOMPARE(clone->GetPresetList()->GetChecked(), view->GetPresetList()->GetChecked());
    QCOMPARE(clone->findChild<CxComboList*>(QStringLiteral("newClientMode"))->GetCurSelCode(), 2L);
    // The clone builds on its own.
    QVERIFY(clone->OnBuild());
    QCOMPARE(Doc(clone)->Params().newClientMode, 2);
}

void TestRepView::choicesOutliveTheWindow() {
    CRepBaseView* view = Open();
    Choose(view, {3});
    view->findChild<CxComboList*>(QStringLiteral("clientKind"))->SetCurSelCode(2);
    CloseAll();
    QVERIFY(CxDocManager::Instance()->Views().isEmpty());
    view = Open();
    QCOMPARE(view->GetPoshList()->TickedPoints(), QSet<long>({3}));
    QCOMPARE(view->GetFrom(), QDate(2012, 1, 1));
    QCOMPARE(view->GetTo(), QDate(2012, 12, 31));
    QCOMPARE(view->findChild<CxComboList*>(QStringLiteral("clientKind"))->GetCurSelCode(), 2L);
    CRepPresetSelList2* presets = view->GetPresetList();
    QCOMPARE(presets->model()->index(presets->GetChecked(), 0).data().toString(),
             QStringLiteral("Годовой"));
}

void TestRepView::documentDisablesControls() {
    ViewTestReport::disableEnd = true;
    CRepBaseView* view = Open();
    QVERIFY(!view->GetDlgItem(kRepCtlTo)->isEnabled());
    QVERIFY(!view->EnableControl(4242, false));
    Choose(view, {1});
    Doc(view)->Params().to = QDate(2030, 1, 1);
    QVERIFY(view->OnBuild());
    // The period end the view does not show is not taken.
    QCOMPARE(Doc(view)->Params().to, QDate(2030, 1, 1));
    // A derived view hides what it does not use, labels included.
    QVERIFY(view->ShowControl(kRepCtlNewClientMode, false));
    QVERIFY(view->GetDlgItem(kRepCtlNewClientMode)->isHidden());
}

void TestRepView::treeGroupingsAndMarks() {
    m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,"
                              "nDirType,nType,nConfigGroup,nRegionDataID) VALUES "
                              "(7,0,0,0,10,'Новый',1,77,0,1)"));
    CRepBaseView* view = Open();
    CPoshList* tree = view->GetPoshList();
    QAbstractItemModelTester tester(tree->Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    // A fresh window ticks every point; the marks below start from none.
    QVERIFY(!tree->TickedPoints().isEmpty());
    view->OnUnmarkAll();
    // ORG1 (Аптека, Новый, Центр), ORG5 (Выезд).
    QCOMPARE(tree->Model()->rowCount(), 2);
    const QModelIndex org1 = tree->Model()->index(0, 0);
    QCOMPARE(tree->Model()->rowCount(org1), 3);
    tree->Model()->setData(tree->Model()->index(2, 0, org1), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(org1.data(Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
    tree->Model()->setData(org1, Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(org1.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(tree->TickedPoints(), QSet<long>({1, 2, 7}));
    // Every grouping keeps exactly the ticked points.
    for (const CPoshGrouping& grouping : PoshGroupings()) {
        view->SetGrouping(grouping.id);
        QCOMPARE(CurrentPoshGrouping(), grouping.id);
        QCOMPARE(tree->TickedPoints(), QSet<long>({1, 2, 7}));
    }
    view->OnUnmarkAll();
    QVERIFY(tree->TickedPoints().isEmpty());
    tree->CheckByType(true, 3);
    QCOMPARE(tree->TickedPoints(), QSet<long>({2}));
    tree->CheckByType(true, 1);
    QCOMPARE(tree->TickedPoints(), QSet<long>({1, 2, 3}));
    QList<QPair<QString, long>> items;
    QVERIFY(view->MarkMenuItems(items));
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0], qMakePair(QStringLiteral("Все"), -1L));
    QCOMPARE(items[3], qMakePair(QStringLiteral("Ошибка. Код типа 77"), 77L));
    tree->CheckByType(true, -1);
    QCOMPARE(tree->TickedPoints(), QSet<long>({1, 2, 3, 7}));
    // Points that cannot be read are said so; the marks stay as they were.
    view->OnUnmarkAll();
    m_db->Exec(QStringLiteral("RENAME TABLE dir TO dir_away"));
    QString treeError, menuError;
    const bool marked = tree->CheckByType(true, 3, &treeError);
    const bool listed = view->MarkMenuItems(items, &menuError);
    m_db->Exec(QStringLiteral("RENAME TABLE dir_away TO dir"));
    QVERIFY(!marked);
    QVERIFY(!treeError.isEmpty());
    QVERIFY(tree->TickedPoints().isEmpty());
    QVERIFY(!listed);
    QVERIFY(!menuError.isEmpty());
    QCOMPARE(items.size(), 1);
    m_db->Exec(QStringLiteral("DELETE FROM dir WHERE ROWID=7"));
}

void TestRepView::presetCommands() {
    CRepBaseView* view = Open();
    CRepPresetSelList2* presets = view->GetPresetList();
    QAbstractItemModelTester tester(presets->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    presets->setCurrentIndex(presets->model()->index(0, 0));
    CxCmdUI ui;
    // Presets of the configuration run, but are not changed.
    QVERIFY(!view->CanProcessCommand(ID_RECORD_EDIT, ui));
    QVERIFY(!view->CanProcessCommand(ID_RECORD_DELETE, ui));
    QVERIFY(view->CanProcessCommand(ID_RECORD_NEW, ui));

    // A new preset named like one of the configuration's is refused and the
    // editor stays open; under a name of its own it is saved.
    bool refusedAndOpen = false;
    InModal([&](QWidget* modal) {
        auto* editor = qobject_cast<CRepPresetEdit2*>(modal);
        QVERIFY(editor);
        editor->NameEdit()->setText(QStringLiteral("Годовой"));
        editor->OkButton()->click();
        refusedAndOpen = editor->isVisible() &&
                         editor->LastMessage().contains(QStringLiteral("есть среди заготовок"));
        editor->NameEdit()->setText(QStringLiteral("Мой вариант"));
        editor->CommentEdit()->setText(QStringLiteral("только визиты"));
        editor->ListPage(1)->PickList()->Model()->setData(
            editor->ListPage(1)->PickList()->Model()->index(0), Qt::Checked, Qt::CheckStateRole);
        editor->OkButton()->click();
    });
    QVERIFY(view->ProcessCommand(ID_RECORD_NEW));
    QVERIFY(refusedAndOpen);
    QCOMPARE(presets->model()->rowCount(), 3);
    const QModelIndex mine = presets->model()->index(2, 0);
    QCOMPARE(mine.data().toString(), QStringLiteral("Мой вариант"));
    QCOMPARE(mine.data(Qt::UserRole).toLongLong(), 2LL);
    QVERIFY(mine.data(CHTMLListCtrl::HtmlRole).toString().contains(QStringLiteral("black")));
    xKDReportPresets2 stored;
    QVERIFY(stored.LoadFromProfile());
    QCOMPARE(stored.GetCount(), 1);
    QCOMPARE(stored.GetAt(0)->SumCols2.GetIDs(), QList<long>({20568}));

    // Deleting asks through the read-only editor.
    presets->setCurrentIndex(mine);
    QVERIFY(view->CanProcessCommand(ID_RECORD_DELETE, ui));
    InModal([](QWidget* modal) {
        auto* editor = qobject_cast<CRepPresetEdit2*>(modal);
        QVERIFY(editor);
        QVERIFY(editor->NameEdit()->isReadOnly());
        editor->reject();
    });
    view->ProcessCommand(ID_RECORD_DELETE);
    QCOMPARE(presets->model()->rowCount(), 3);
    InModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
    view->ProcessCommand(ID_RECORD_DELETE);
    QCOMPARE(presets->model()->rowCount(), 2);
    QVERIFY(stored.GetCount() == 1);
    xKDReportPresets2 after;
    QVERIFY(after.LoadFromProfile());
    QCOMPARE(after.GetCount(), 0);
}

void TestRepView::fastTablesWindow() {
    CFastTablesDlg dialog;
    QAbstractItemModelTester tester(dialog.Steps()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QString error;
    QVERIFY2(dialog.Process(&error), qPrintable(error));
    for (int step = 0; step < 4; ++step)
        QCOMPARE(dialog.Steps()->topLevelItem(step)->checkState(0), Qt::Checked);
    QVERIFY(dialog.Bar()->maximum() > 4);
    QCOMPARE(dialog.Bar()->value(), dialog.Bar()->maximum());
    // Everything stands now: one statement a step.
    CFastTablesDlg again;
    QVERIFY(again.Process());
    QCOMPARE(again.Bar()->maximum(), 4);
    QVERIFY(!CRepDoc::IsBuilding());
}

QTEST_MAIN(TestRepView)
#include "test_rep_view.moc"

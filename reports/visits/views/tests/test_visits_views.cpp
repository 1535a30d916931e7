// The windows of the visits and list reports driven as a user drives them,
// on the small database of the visits tests: each report opens in its window
// with the controls its document uses, a build shows the page, the page's
// links reach the program, the mark menu and the preset list work, and the
// choices a report does not use are neither loaded nor saved.
#include "db/schema/cache_tables.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/visits/core/rep_period_kelda_doc.h"
#include "reports/visits/core/rep_raspred_doc.h"
#include "reports/visits/core/rep_trainings_doc.h"
#include "reports/visits/core/rep_visits_variants.h"
#include "reports/visits/core/tests/visits_fixture.h"
#include "reports/visits/views/period_poshlist_view.h"
#include "reports/visits/views/period_views.h"
#include "reports/visits/views/visits_view.h"
#include "tests/support/pane_text.h"
#include "tests/support/window_test_app.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPdfDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray Configuration() {
    const QString text =
        QStringLiteral("<CONFIGURATION><PERIODS ProjectStartDate=''/><LANGUAGE ID='1049'>") +
        VisitsFixtureLists() +
        QStringLiteral(
            "<KDREPORTPRESETS>"
            "<KDREPPRESET Title='P1'><DETAILED><Item ID='1062'/><Item ID='1039'/></DETAILED>"
            "<SUMMARY><Item ID='1797'/></SUMMARY></KDREPPRESET>"
            "<KDREPPRESET Title='P2'><SUMMARY><Item ID='1797'/></SUMMARY></KDREPPRESET>"
            "</KDREPORTPRESETS></LANGUAGE></CONFIGURATION>");
    return text.toUtf8();
}

// A page with one table of many rows (a big detail page), in the window of
// a period report.
class BigPageDoc : public CRepDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit BigPageDoc(QObject* parent = nullptr) : CRepDoc(parent) {}
    QString GetReportTitle() override { return QStringLiteral("Большая страница"); }
    void OnInitHTML(CAccStringT<wchar_t>& html) override {
        QString page = QStringLiteral("<h2>Клиенты</h2><table class=\"rep\" border=\"1\">"
                                      "<tr><th>Код</th><th>Визиты</th></tr>");
        for (int i = 1; i <= rows; ++i)
            page += QStringLiteral("<tr><td><a href=\"sqledit:CDClients:%1:2055\">К%1</a></td>"
                                   "<td>%2</td></tr>")
                        .arg(i)
                        .arg(i % 7);
        page += QStringLiteral("</table><p>Итог страницы</p>");
        html.Add(page);
    }
    static inline int rows = 10000;
};

// The windows of this test, as the program pairs them.
struct Pair {
    const QMetaObject* view;
    const QMetaObject* doc;
};
const Pair kPairs[] = {
    {&CRepPeriodPoshlistView::staticMetaObject, &CRepRaspredDoc::staticMetaObject},
    {&CRepPeriodPoshlistView::staticMetaObject, &CRepPeriodKeldaDoc::staticMetaObject},
    {&CRepPeriodPoshlistView::staticMetaObject, &CRepPeriodKeldaConsDoc::staticMetaObject},
    {&CRepVisitsView::staticMetaObject, &CRepVisitsDoc::staticMetaObject},
    {&CRepVisitsView::staticMetaObject, &CRepVisitsNewDoc::staticMetaObject},
    {&CRepVisitsView::staticMetaObject, &CRepVisitsRegDoc::staticMetaObject},
    {&CRepVisitsView::staticMetaObject, &CRep_Kelda_VisSummary::staticMetaObject},
    {&CRepVisitsView::staticMetaObject, &CRep_SvodnyiOtchetPoGodam::staticMetaObject},
    {&CRepTrainings::staticMetaObject, &CRepTrainingsDoc::staticMetaObject},
    {&CRepClientInfo::staticMetaObject, &CRepClientInfoDoc::staticMetaObject},
    {&CRepTrainings::staticMetaObject, &BigPageDoc::staticMetaObject},
};

CTypedDateEdit* Date(QWidget* view, const char* name) {
    return view->findChild<CTypedDateEdit*>(QString::fromLatin1(name));
}
} // namespace

class TestVisitsViews : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowTestApp> m_app;

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private:
    template <class View = CRepVisitsView> View* Open(const char* doc) {
        return qobject_cast<View*>(
            CxDocManager::Instance()->OpenNewDocument(QString::fromLatin1(doc)));
    }
    // Ticks the points 1 and 2, the year 2012 and the preset.
    static void Choose(CRepVisitsView* view, const QString& preset = QString()) {
        view->GetPoshList()->SetTickedPoints({1, 2});
        Date(view, "fromDate")->setDate(QDate(2012, 1, 1));
        Date(view, "toDate")->setDate(QDate(2012, 12, 31));
        if (!preset.isEmpty())
            QVERIFY(view->GetPresetList()->SelectByName(preset));
    }

private slots:
    void initTestCase();
    void cleanupTestCase() { m_app.reset(); }
    void init();
    void cleanup() { m_app->Frame()->MDIArea()->closeAllSubWindows(); }
    void windowsOpenWithTheirControls_data();
    void windowsOpenWithTheirControls();
    void buildShowsPageAndLinksOpenRecords();
    void reportMovesThePeriod();
    void distributionInPointListWindow();
    void marksAddByType();
    void unusedPeriodEndIsNotKept();
    void models();
    void trainingsAndClientInfo();
    void periodTypedByHand_data();
    void periodTypedByHand();
    void bigPageShowsWhole();
};

void TestVisitsViews::initTestCase() {
    m_app = std::make_unique<WindowTestApp>(QStringLiteral("visitsviews"),
                                            Configuration().constData(), QSize(1200, 800));
    LoadVisitsFixture(m_app->Db());
    for (const Pair& pair : kPairs)
        CTarvikApp::RegisterDocTemplate(0, pair.view, pair.doc, nullptr);
    CRepProgressDlg::SetDefaultShowDelay(0);
}

void TestVisitsViews::init() {
    DropCacheTables(g_pBaseSQLConnection.get());
    CTarvikApp::SetProfileManager(new CxProfileManager);
    CPoshSelection::Store({});
    StorePoshGrouping(kPoshByOrg);
    CTarvikApp::TakeAppQueries();
    m_app->Questions().clear();
}

void TestVisitsViews::windowsOpenWithTheirControls_data() {
    QTest::addColumn<QString>("doc");
    QTest::addColumn<QString>("view");
    QTest::addColumn<bool>("fromEnabled");
    QTest::addColumn<bool>("toShown");
    QTest::addColumn<bool>("workerEnabled");
    QTest::addColumn<bool>("presetsShown");
    QTest::addColumn<QString>("title");
    const auto row = [](const char* doc, const char* view, bool from, bool to, bool worker,
                        bool presets, const char* title) {
        QTest::newRow(doc) << QString::fromLatin1(doc) << QString::fromLatin1(view) << from << to
                           << worker << presets << QString::fromUtf8(title);
    };
    row("CRepVisitsDoc", "CRepVisitsView", true, true, true, true, "Охват за период");
    row("CRepVisitsNewDoc", "CRepVisitsView", true, true, true, true, "Новые клиенты");
    row("CRepVisitsRegDoc", "CRepVisitsView", false, true, true, true, "Регулярные клиенты");
    row("CRep_Kelda_VisSummary", "CRepVisitsView", true, true, true, true,
        "Итоги по визитам за период");
    row("CRep_SvodnyiOtchetPoGodam", "CRepVisitsView", true, true, true, true,
        "Сводный отчет по годам");
    row("CRepRaspredDoc", "CRepPeriodPoshlistView", true, false, false, false,
        "Распределение визитов");
    row("CRepPeriodKeldaDoc", "CRepPeriodPoshlistView", true, true, true, false,
        "Отчет за период по материалам");
    row("CRepPeriodKeldaConsDoc", "CRepPeriodPoshlistView", true, true, true, false,
        "Отчет за период по консультациям и перенаправлениям");
}

void TestVisitsViews::windowsOpenWithTheirControls() {
    QFETCH(QString, doc);
    QFETCH(QString, view);
    QFETCH(bool, fromEnabled);
    QFETCH(bool, toShown);
    QFETCH(bool, workerEnabled);
    QFETCH(bool, presetsShown);
    QFETCH(QString, title);
    auto* window = Open(doc.toLatin1().constData());
    QVERIFY(window);
    QCOMPARE(QString::fromLatin1(window->metaObject()->className()), view);
    QVERIFY(window->isVisible());
    if (!title.isEmpty())
        QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->GetDlgItem(kRepCtlFrom)->isEnabled(), fromEnabled);
    QCOMPARE(window->GetDlgItem(kRepCtlTo)->isVisible(), toShown);
    QCOMPARE(window->GetDlgItem(kRepCtlWorker)->isEnabled(), workerEnabled);
    QWidget* presets = window->GetDlgItem(kRepCtlPresets);
    QCOMPARE(presets && presets->isVisible(), presetsShown);
    QWidget* edit = window->GetDlgItem(CRepVisitsView::IDC_PRESET_EDIT);
    QCOMPARE(edit && edit->isVisible(), presetsShown);
    // The tree shows the three points, all ticked in a fresh window; the
    // worker list the two workers.
    QCOMPARE(window->GetPoshList()->Model()->TickedPoints().size(), 3);
    QVERIFY(window->GetPoshList()->Model()->rowCount() > 0);
    QVERIFY(window->BuildButton()->isEnabled());
    QVERIFY(window->NewWindowButton()->isEnabled());
    if (presetsShown)
        QCOMPARE(window->GetPresetList()->Model()->rowCount(), 2);
}

void TestVisitsViews::buildShowsPageAndLinksOpenRecords() {
    auto* view = Open("CRepVisitsDoc");
    QVERIFY(view);
    Choose(view, QStringLiteral("P1"));
    QVERIFY(view->OnBuild());
    const QString page = view->GetRepDoc()->GetHTML();
    QVERIFY(page.contains(QStringLiteral("Охват за период")));
    CRepPane* html = view->HTMLCtrl();
    const QString text = PaneText(html);
    QVERIFY2(text.contains(QStringLiteral("AAA0180M")), qPrintable(text.left(600)));
    QVERIFY(text.contains(QStringLiteral("FFF0170M")));
    // The build took the ticked points as the program's selection.
    QCOMPARE(CPoshSelection::SelectedIDs(), QList<long>({1, 2}));
    // A client's code opens the client's card, a first visit its daily report.
    emit html->linkClicked(QUrl(QStringLiteral("sqledit:CDClients:1:2055")));
    emit html->linkClicked(QUrl(QStringLiteral("sqledit:CDDiary:201:2055")));
    QCOMPARE(CTarvikApp::TakeAppQueries(),
             QStringList({QStringLiteral("sqledit:CDClients:1:2055"),
                          QStringLiteral("sqledit:CDDiary:201:2055")}));
    // Without a preset the report says what is missing and shows no page.
    auto* second = Open("CRepVisitsDoc");
    second->GetPresetList()->Model()->List()->SetItemCheck(0, false);
    second->GetPoshList()->SetTickedPoints({1});
    m_app->Questions().clear();
    second->OnBuild();
    QVERIFY(!m_app->Questions().isEmpty());
    QVERIFY(!PaneText(second->HTMLCtrl()).contains(QStringLiteral("AAA0180M")));
}

void TestVisitsViews::reportMovesThePeriod() {
    // The regular clients take the twelve months that end with the chosen
    // month's end; the window shows the period used.
    auto* view = Open("CRepVisitsRegDoc");
    Choose(view, QStringLiteral("P2"));
    Date(view, "toDate")->setDate(QDate(2012, 6, 10));
    QVERIFY(view->OnBuild());
    QCOMPARE(view->GetTo(), QDate(2012, 6, 30));
    QCOMPARE(view->GetFrom(), QDate(2011, 7, 1));
}

void TestVisitsViews::distributionInPointListWindow() {
    auto* view = Open<CRepPeriodPoshlistView>("CRepRaspredDoc");
    QVERIFY(view);
    QVERIFY(!view->findChild<CRepPresetSelList*>());
    Choose(view);
    Date(view, "fromDate")->setDate(QDate(2012, 1, 1));
    QVERIFY(view->OnBuild());
    const QString text = PaneText(view->HTMLCtrl());
    QVERIFY2(text.contains(QStringLiteral("Аптека")), qPrintable(text.left(400)));
}

void TestVisitsViews::marksAddByType() {
    auto* view = Open("CRepVisitsDoc");
    // Points 1 and 3 are of type 1, point 2 of type 3.
    view->GetPoshList()->SetTickedPoints({2});
    view->MarkByType(1);
    QCOMPARE(view->GetPoshList()->TickedPoints(), QSet<long>({1, 2, 3}));
    view->OnUnmarkAll();
    QVERIFY(view->GetPoshList()->TickedPoints().isEmpty());
    view->MarkByType(-1);
    QCOMPARE(view->GetPoshList()->TickedPoints(), QSet<long>({1, 2, 3}));
}

void TestVisitsViews::unusedPeriodEndIsNotKept() {
    // The coverage window keeps its period; the distribution, which does not
    // use the end, neither saves nor loads it.
    auto* coverage = Open("CRepVisitsDoc");
    Date(coverage, "fromDate")->setDate(QDate(2012, 2, 1));
    Date(coverage, "toDate")->setDate(QDate(2012, 2, 29));
    coverage->StoreState();
    auto* distribution = Open<CRepPeriodPoshlistView>("CRepRaspredDoc");
    QCOMPARE(distribution->GetFrom(), QDate(2012, 2, 1));
    QVERIFY(distribution->GetTo() != QDate(2012, 2, 29));
    Date(distribution, "toDate")->setDate(QDate(2013, 3, 31));
    Date(distribution, "fromDate")->setDate(QDate(2013, 3, 1));
    distribution->StoreState();
    auto* again = Open("CRepVisitsDoc");
    QCOMPARE(again->GetFrom(), QDate(2013, 3, 1));
    QCOMPARE(again->GetTo(), QDate(2012, 2, 29));
}

void TestVisitsViews::models() {
    auto* view = Open("CRepVisitsDoc");
    QAbstractItemModelTester tree(view->GetPoshList()->Model(),
                                  QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester presets(view->GetPresetList()->Model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
    view->MarkByType(1);
    view->OnUnmarkAll();
    QVERIFY(view->GetPresetList()->SelectByName(QStringLiteral("P2")));
    QCOMPARE(view->GetPresetList()->GetChecked(), 1);
}

void TestVisitsViews::periodTypedByHand_data() {
    QTest::addColumn<QString>("doc");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QDate>("start"); // invalid: the build is refused
    QTest::addColumn<QString>("refusal");
    const QDate none;
    QTest::newRow("visits, short forms") << "CRepVisitsDoc"
                                         << "1.3.12"
                                         << "31/3/2012" << QDate(2012, 3, 1) << "";
    QTest::newRow("visits, not a date") << "CRepVisitsDoc"
                                        << "вчера"
                                        << "31.03.2012" << none << "«вчера» не является датой";
    QTest::newRow("distribution, the hidden end is not read") << "CRepRaspredDoc"
                                                              << "01.03.2012"
                                                              << "вчера" << QDate(2012, 3, 1) << "";
    QTest::newRow("trainings, short forms") << "CRepTrainingsDoc"
                                            << "01032012"
                                            << "31.3.12" << QDate(2012, 3, 1) << "";
    QTest::newRow("trainings, impossible day")
        << "CRepTrainingsDoc"
        << "01.02.2012"
        << "31.02.2012" << none << "«31.02.2012» не является датой";
    QTest::newRow("client information, ends before it begins")
        << "CRepClientInfoDoc"
        << "01.04.2012"
        << "31.03.2012" << none << "Начало периода позже его окончания";
}

void TestVisitsViews::periodTypedByHand() {
    // Every report window reads its period as typed, without the field being
    // left, and refuses a build on a date that is none.
    QFETCH(QString, doc);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QDate, start);
    QFETCH(QString, refusal);
    QApplication::processEvents();
    auto* view = qobject_cast<CRepView*>(CxDocManager::Instance()->OpenNewDocument(doc));
    QVERIFY(view);
    for (const auto& [name, text] : {std::pair{"fromDate", from}, std::pair{"toDate", to}}) {
        QLineEdit* edit = Date(view, name)->Editor();
        if (!edit->isEnabled()) { // a field the report does not use may hold anything
            edit->setText(text);
            continue;
        }
        edit->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
        QCOMPARE(edit->text(), text);
    }
    QCOMPARE(view->OnPreBuild(), refusal.isEmpty());
    if (!refusal.isEmpty()) {
        QCOMPARE(m_app->Questions().size(), 1);
        QVERIFY2(m_app->Questions().first().contains(refusal),
                 qPrintable(m_app->Questions().first()));
        return;
    }
    QVERIFY(m_app->Questions().isEmpty());
    QCOMPARE(Date(view, "fromDate")->date(), start);
}

void TestVisitsViews::trainingsAndClientInfo() {
    auto* trainings = Open<CRepTrainings>("CRepTrainingsDoc");
    QVERIFY(trainings);
    QCOMPARE(trainings->windowTitle(), QStringLiteral("Отчет по проведенным тренингам"));
    trainings->SetPeriod(QDate(2012, 1, 1), QDate(2012, 12, 31));
    QVERIFY(trainings->OnBuild());
    const QString text = PaneText(trainings->HTMLCtrl());
    QVERIFY2(text.contains(QStringLiteral("Тема <A>")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Отчет по проведенным тренингам в период с")));
    // The PDF holds the page as text, on A4 sheets.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("t.pdf"));
    QString error;
    QVERIFY2(trainings->ExportPDF(pdf, &error), qPrintable(error));
    QPdfDocument written;
    QCOMPARE(written.load(pdf), QPdfDocument::Error::None);
    QCOMPARE(written.pagePointSize(0).toSize(), QPageSize(QPageSize::A4).sizePoints());
    QVERIFY(written.getAllText(0).text().contains(QStringLiteral("Тема <A>")));
    // A period that ends before it begins is refused with a message.
    trainings->SetPeriod(QDate(2012, 2, 1), QDate(2012, 1, 1));
    QVERIFY(!trainings->OnBuild());
    QCOMPARE(m_app->Questions().size(), 1);
    trainings->SetPeriod(QDate(2012, 3, 1), QDate(2012, 3, 31));
    trainings->StoreState();

    // The client information shares the remembered period; its page is
    // empty whatever the choice.
    auto* info = Open<CRepClientInfo>("CRepClientInfoDoc");
    QVERIFY(info);
    QCOMPARE(info->windowTitle(), QStringLiteral("Информация о визите клиента"));
    QCOMPARE(info->GetFrom(), QDate(2012, 3, 1));
    QCOMPARE(info->GetTo(), QDate(2012, 3, 31));
    CxSqlComboList* client = info->GetClientList();
    QVERIFY(client->isEnabled());
    QAbstractItemModelTester tester(client->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    client->SetSelectedID(2);
    QCOMPARE(client->GetSelectedID(), 2);
    QVERIFY(info->OnBuild());
    QCOMPARE(qobject_cast<CRepClientInfoDoc*>(info->GetRepDoc())->clientId, 2L);
    QVERIFY(PaneText(info->HTMLCtrl()).trimmed().isEmpty());
}

void TestVisitsViews::bigPageShowsWhole() {
    auto* view = Open<CRepTrainings>("BigPageDoc");
    QVERIFY(view);
    // Room for the page, as a user gives a long one.
    auto* window = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    QVERIFY(window);
    window->showMaximized();
    QVERIFY(view->OnBuild());
    // The engine loads the page while the window answers.
    QVERIFY(view->HTMLCtrl()->IsLoading());
    const QString text = PaneText(view->HTMLCtrl());
    // Every row once, in order, before the text after the table.
    const qsizetype last = text.indexOf(QStringLiteral("К10000\t"));
    QVERIFY2(last > text.indexOf(QStringLiteral("К9999\t")), qPrintable(text.left(200)));
    QVERIFY(text.indexOf(QStringLiteral("К5000\t")) > text.indexOf(QStringLiteral("К4999\t")));
    QVERIFY(text.indexOf(QStringLiteral("Итог страницы")) > last);
    QCOMPARE(text.count(QStringLiteral("К77\t")), 1);
    // A link of a late row opens the record, clicked in the page.
    QSignalSpy clicked(view->HTMLCtrl(), &CRepPane::linkClicked);
    QVERIFY(
        ClickInPane(view->HTMLCtrl(), QStringLiteral("a[href=\"sqledit:CDClients:9999:2055\"]")));
    QTRY_COMPARE_WITH_TIMEOUT(clicked.size(), 1, 60000);
    QCOMPARE(CTarvikApp::TakeAppQueries(),
             QStringList(QStringLiteral("sqledit:CDClients:9999:2055")));
    // A new build while the page still loads starts it afresh.
    QVERIFY(view->OnBuild());
    QVERIFY(view->OnBuild());
    QCOMPARE(PaneText(view->HTMLCtrl()).count(QStringLiteral("К77\t")), 1);
}

QTEST_MAIN(TestVisitsViews)
#include "test_visits_views.moc"

// The windows of the period reports as the program opens them: each menu
// command opens its report in its window with the controls the report does
// not use disabled; a build over the small fixture of the period reports
// shows the report's page (not the error page); "Новое окно" opens a second
// window of the same report with the same page.
//
// With KELDA_WINDOW_SHOTS naming a folder, each window is also written there
// as a picture before and after its build, for a look by eye.
#include "app/command_ids.h"
#include "app/kelda2_app.h"
#include "framework/core/app/cmd_handler_info.h"
#include "framework/core/app/modules_info.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "framework/widgets/report_view/rep_view.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/base/views/rep_base_view.h"
#include "reports/period/core/tests/period_fixture.h"
#include "tests/support/pane_text.h"
#include "tests/support/window_test_app.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {
// The coverage report builds from a preset: clients per town of the point.
const QString kPreset = QStringLiteral(
    "<KDREPORTPRESETS2><KDREPPRESET2 Title='По городам' PivotMode='0' PeriodMode='0'>"
    "<SUMROWS><Item ID='20579'/></SUMROWS><SUMCOLS2><Item ID='20441'/></SUMCOLS2>"
    "<DETAILED/><SUMGROUP/></KDREPPRESET2></KDREPORTPRESETS2>");

QByteArray Configuration() {
    return (QStringLiteral("<CONFIGURATION><PERIODS ProjectStartDate=''/><LANGUAGE ID='1049'>") +
            PeriodTestLists() + kPreset + QStringLiteral("</LANGUAGE></CONFIGURATION>"))
        .toUtf8();
}

struct WindowCase {
    unsigned command;
    QString document;    // the report's class
    QString view;        // the window's class
    QList<int> disabled; // the controls the report does not use
    QStringList page;    // what its page of 2012 shows
};
} // namespace

Q_DECLARE_METATYPE(WindowCase)

class TestPeriodWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<CKelda2App> m_app;
    std::unique_ptr<WindowTestApp> m_fx;
    QByteArray m_config = Configuration();

    CRepView* OpenByCommand(unsigned command) {
        CxCmdHandlerInfo info;
        if (!m_app->OnMapCmdToURL(command, 0, &info)) // the menu item is enabled
            return nullptr;
        if (!m_app->OnMapCmdToURL(command, 0, nullptr))
            return nullptr;
        m_app->ProcessAppQueries();
        return qobject_cast<CRepView*>(CxDocManager::Instance()->ActiveView());
    }
    void Shot(CRepView* view, const QString& name) {
        const QString dir = qEnvironmentVariable("KELDA_WINDOW_SHOTS");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        // As the program shows it: the window fills the main window.
        if (auto* child = m_fx->Frame()->MDIArea()->activeSubWindow())
            child->showMaximized();
        QCoreApplication::processEvents();
        QVERIFY(view->window()->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
    }

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_app = std::make_unique<CKelda2App>();
        m_fx = std::make_unique<WindowTestApp>(QStringLiteral("periodwin"), m_config.constData(),
                                               QSize(1400, 900));
        LoadPeriodFixture(m_fx->Db());
        CGlobalRegisterObject::InitGroup(OBJGROUP_DOC_TEMPLATES);
        CRepProgressDlg::SetDefaultShowDelay(0);
    }
    void cleanupTestCase() {
        m_fx.reset();
        m_app.reset();
    }
    void cleanup() { m_fx->Frame()->MDIArea()->closeAllSubWindows(); }

    void windows_data() {
        QTest::addColumn<WindowCase>("c");
        const auto row = [](const char* name, WindowCase c) { QTest::newRow(name) << c; };
        row("coverage", {ID_REP_COVERAGE,
                         "CRep_OhvatZaPeriod",
                         "CRepBaseView",
                         {},
                         {"Охват за период", "Город Б", "Всего"}});
        // The quarter ends with the period's end: no start, no worker.
        row("quarterly", {ID_REP_QUARTER,
                          "CRep_SvodnyeDannyDlyaKvart",
                          "CRepPeriodPoshlistView",
                          {kRepCtlFrom, kRepCtlWorker},
                          {"Сводные данные для квартального отчета в Велмар",
                           "Общее количество людей, получивших услуги"}});
        row("years", {ID_REP_YEARS,
                      "CRep_SvodnyiPoGodam",
                      "CRepVisitsView",
                      {},
                      {"Сводный отчет по годам", "Город Б", "Не заполнена"}});
        row("consultations", {ID_REP_NEW_CONSULT,
                              "CRepNewConsult",
                              "CRepVisitsView",
                              {},
                              {"Расширенный отчет по консультациям", "Консультация"}});
        // Trainings have no main worker.
        row("trainings", {ID_REP_TRAININGS,
                          "CRep_Trainings",
                          "CRepPeriodPoshlistView",
                          {kRepCtlWorker},
                          {"Отчет по тренингам", "По теме, Всего", "Целевая группа"}});
    }

    void windows() {
        QFETCH(WindowCase, c);
        CRepView* view = OpenByCommand(c.command);
        QVERIFY(view);
        QCOMPARE(QString::fromLatin1(view->metaObject()->className()), c.view);
        CRepDoc* doc = view->GetRepDoc();
        QVERIFY(doc);
        QCOMPARE(QString::fromLatin1(doc->metaObject()->className()), c.document);
        QCOMPARE(view->windowTitle(), doc->GetReportTitle());
        // The controls the report leaves out are disabled, the others not.
        for (int id : {kRepCtlFrom, kRepCtlTo, kRepCtlWorker, kRepCtlPoshTree}) {
            QWidget* control = view->GetDlgItem(id);
            if (!control)
                continue; // a control this kind of window has not
            QVERIFY2(control->isEnabled() != c.disabled.contains(id),
                     qPrintable(QString::number(id)));
        }
        for (int id : c.disabled)
            QVERIFY2(view->GetDlgItem(id), qPrintable(QString::number(id)));

        // The year 2012 at the three points of the own organisation.
        auto* posh = view->findChild<CPoshList*>();
        QVERIFY(posh);
        posh->SetTickedPoints({1, 2, 3});
        for (auto [id, date] : {std::pair{kRepCtlFrom, QDate(2012, 1, 1)},
                                std::pair{kRepCtlTo, QDate(2012, 12, 31)}}) {
            auto* edit = qobject_cast<CTypedDateEdit*>(view->GetDlgItem(id));
            QVERIFY(edit); // every report window takes typed dates
            edit->setDate(date);
        }
        auto* base = qobject_cast<CRepBaseView*>(view);
        if (base && !base->GetPresetList()->isHidden()) {
            CRepPresetSelList2* presets = base->GetPresetList();
            QVERIFY(presets->model()->rowCount() > 0);
            emit presets->clicked(presets->model()->index(0, 0));
        }
        Shot(view, c.document + QStringLiteral("-before"));
        QVERIFY(view->OnBuild());
        Shot(view, c.document + QStringLiteral("-after"));
        const QString shown = PaneText(view->HTMLCtrl());
        QVERIFY2(!shown.contains(QStringLiteral("Возникла ошибка")), qPrintable(shown.left(600)));
        QVERIFY2(!shown.contains(QStringLiteral("Вы должны отметить")), qPrintable(shown));
        QVERIFY2(!shown.contains(QStringLiteral("Необходимо выбрать")), qPrintable(shown));
        for (const QString& text : c.page)
            QVERIFY2(shown.contains(text),
                     qPrintable(text + QStringLiteral("\n") + shown.left(600)));

        // "Новое окно": another window of the same report, the same page.
        const int windows = m_fx->Windows();
        view->NewWindowButton()->click();
        QCOMPARE(m_fx->Windows(), windows + 1);
        auto* clone = qobject_cast<CRepView*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(clone);
        QVERIFY(clone != view);
        QCOMPARE(QString::fromLatin1(clone->metaObject()->className()), c.view);
        QVERIFY(clone->GetRepDoc() != doc);
        QCOMPARE(QString::fromLatin1(clone->GetRepDoc()->metaObject()->className()), c.document);
        QCOMPARE(PaneText(clone->HTMLCtrl()), shown);
        for (int id : c.disabled)
            QVERIFY(!clone->GetDlgItem(id)->isEnabled());
    }
};

QTEST_MAIN(TestPeriodWindows)
#include "test_period_windows.moc"

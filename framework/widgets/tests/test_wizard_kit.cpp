// The wizard kit driven as a user drives it: pages in order with their
// validity, back and next, the job started once on the processor page, its
// log (lines of their own, continued lines, warnings and errors, received
// text shown as text), its progress and the user's stop reaching the job,
// and modal runs through the driver.
#include "framework/widgets/dialog.h"
#include "framework/widgets/wizard/simple_wizard.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {
class ChoicePane : public CWizardPane {
public:
    QString GetPaneTitle() const override { return QStringLiteral("Выбор"); }
    bool IsValid() const override { return valid; }
    bool OnKillActive() override {
        ++left;
        return mayLeave;
    }
    bool valid = false;
    bool mayLeave = true;
    int left = 0;
};

class Job : public CWizardPaneProcessor {
public:
    bool Process() override {
        ++runs;
        if (run)
            return run(this);
        return result;
    }
    std::function<bool(Job*)> run;
    bool result = true;
    int runs = 0;
};

class TestWizard : public CWizardDlg {
public:
    QString GetWizardTitle() const override { return QStringLiteral("Проверка"); }
    void OnInitPages() override {
        RegisterPage(first = new CWizardPanePreStart(QStringLiteral("<h1>Начало</h1>\nТекст")));
        RegisterPage(choice = new ChoicePane);
        SetProcessorPage(job = new Job);
    }
    CWizardPanePreStart* first = nullptr;
    ChoicePane* choice = nullptr;
    Job* job = nullptr;
};

class SimpleJob : public CSimpleWizardDialog {
public:
    SimpleJob()
        : CSimpleWizardDialog(QStringLiteral("Окно"), QStringLiteral("Заголовок"),
                              QStringLiteral("Строка 1\n<warning>Внимание</warning>")) {}
    bool Process() override {
        AddInfoMessage(QStringLiteral("сделано"));
        return true;
    }
    QString GetSummary() const override { return QStringLiteral("Итог"); }
};
} // namespace

class TestWizardKit : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetModalDriver({}); }

    // Pages in order; an invalid page or one that refuses to be left keeps
    // the user; back returns until the job starts; the job runs once.
    void pagesInOrder() {
        TestWizard wizard;
        wizard.show();
        QCOMPARE(wizard.CurrentPage(), wizard.first);
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Проверка"));
        QVERIFY(!wizard.BackButton()->isEnabled());
        QVERIFY(!wizard.RunButton()->isVisible());
        QVERIFY(wizard.Next());
        QCOMPARE(wizard.CurrentPage(), wizard.choice);

        QVERIFY(!wizard.NextButton()->isEnabled());
        QVERIFY(!wizard.Next());
        wizard.choice->valid = true;
        wizard.choice->UpdateButtons();
        QVERIFY(wizard.NextButton()->isEnabled());
        wizard.choice->mayLeave = false;
        QVERIFY(!wizard.Next());
        QCOMPARE(wizard.CurrentPage(), wizard.choice);
        wizard.choice->mayLeave = true;
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QCOMPARE(wizard.CurrentPage(), wizard.job);
        QVERIFY(wizard.RunButton()->isVisible());
        QCOMPARE(wizard.RunButton()->text(), QStringLiteral("Выполнить"));
        QVERIFY(!wizard.NextButton()->isVisible());

        QVERIFY(wizard.Back());
        QCOMPARE(wizard.CurrentPage(), wizard.choice);
        QVERIFY(wizard.Back());
        QVERIFY(!wizard.Back());
        QCOMPARE(wizard.CurrentPage(), wizard.first);
        QVERIFY(wizard.Next() && wizard.Next());
        QCOMPARE(wizard.choice->left, 3);

        QTest::mouseClick(wizard.RunButton(), Qt::LeftButton);
        QCOMPARE(wizard.job->runs, 1);
        QCOMPARE(wizard.GetState(), CWizardDlg::State::Done);
        QVERIFY(wizard.Succeeded());
        QVERIFY(!wizard.Back());
        QVERIFY(!wizard.Run());
        QCOMPARE(wizard.job->runs, 1);
        QVERIFY(wizard.FinishButton()->isVisible());
        QVERIFY(!wizard.CancelButton()->isVisible());
        QVERIFY(!wizard.RunButton()->isVisible());
    }

    // The log: information on lines of its own or continuing the last line,
    // warnings and errors counted; a text from elsewhere shows as the text
    // it is, with "[bold]" marks as bold.
    void log() {
        TestWizard wizard;
        wizard.show();
        wizard.choice->valid = true;
        QVERIFY(wizard.Next() && wizard.Next());
        wizard.job->run = [](Job* job) {
            job->AddInfoMessage(QStringLiteral("Таблица a"), 1);
            job->AddInfoMessage(QStringLiteral(" обработана"), 0);
            job->AddInfoMessage(QStringLiteral("."), 0);
            job->AddWarning(QStringLiteral("Пропущена <b>b</b> & c"), 1);
            job->AddWarning(QStringLiteral("Ошибка:\n\t[bold]Клиенты[/bold]"), 0);
            // Through the interfaces the engines see.
            CvRunLog* runLog = job;
            runLog->AddInfoMessage(QStringLiteral("run log"));
            CSQLWizardLog* exchangeLog = job;
            exchangeLog->AddWarning(QStringLiteral("exchange log"), 1);
            return false;
        };
        QVERIFY(!wizard.Run());
        QVERIFY(!wizard.Succeeded());
        QVERIFY(!wizard.WasCancelled());
        QCOMPARE(wizard.job->GetLogText(),
                 QStringLiteral("Таблица a обработана.\nПропущена <b>b</b> & c\nОшибка:\n\t"
                                "Клиенты\nrun log\nexchange log"));
        QCOMPARE(wizard.job->WarningCount(), 2);
        QCOMPARE(wizard.job->ErrorCount(), 1);
        const QString html = wizard.job->LogView()->document()->toHtml();
        QVERIFY(html.contains(QStringLiteral("&lt;b&gt;b&lt;/b&gt; &amp; c")));
        QVERIFY(html.contains(QStringLiteral("font-weight:700;")));
        QVERIFY(wizard.findChild<QLabel*>(QStringLiteral("WizardStatus"))
                    ->text()
                    .startsWith(QStringLiteral("Не выполнено")));
    }

    void markup_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("html");
        QTest::newRow("line breaks") << "a\nb\r\nc"
                                     << "a<br>b<br>c";
        QTest::newRow("heading") << "<h1>T</h1>\n\ntext"
                                 << "<h1>T</h1><br>text";
        QTest::newRow("warning") << "<warning>W</warning>"
                                 << "<span style=\"color:#b00020; font-weight:bold\">W</span>";
    }
    void markup() {
        QFETCH(QString, markup);
        QFETCH(QString, html);
        QCOMPARE(CxWizardMarkupToHtml(markup), html);
    }

    // The job's progress moves the bar and the line under it; "Отмена"
    // while it runs reaches the job, which stops; then the wizard says so.
    void progressAndStop() {
        TestWizard wizard;
        wizard.show();
        wizard.choice->valid = true;
        QVERIFY(wizard.Next() && wizard.Next());
        int steps = 0;
        int value = -1;
        QString status;
        wizard.job->run = [&](Job* job) {
            CvProgress* progress = job->GetParent();
            progress->BeginProgress(QStringLiteral("Работа"), -1);
            progress->SetRange(1000000, QStringLiteral("Шаги"));
            progress->Step(QStringLiteral("первый шаг"));
            ++steps;
            value = wizard.findChild<QProgressBar*>()->value();
            status = wizard.findChild<QLabel*>(QStringLiteral("WizardStatus"))->text();
            // The user presses "Отмена" while the job runs.
            QTimer::singleShot(0, &wizard, [&] {
                QVERIFY(wizard.CancelButton()->isEnabled());
                QTest::mouseClick(wizard.CancelButton(), Qt::LeftButton);
            });
            const QDeadlineTimer deadline(60000);
            while (!progress->IsCancelled() && !deadline.hasExpired()) {
                progress->Step();
                ++steps;
            }
            return !progress->IsCancelled();
        };
        QVERIFY(!wizard.Run());
        QVERIFY(wizard.WasCancelled());
        QVERIFY(steps > 1);
        QCOMPARE(value, 1);
        QCOMPARE(status, QStringLiteral("первый шаг"));
        QCOMPARE(wizard.findChild<QLabel*>(QStringLiteral("WizardCaption"))->text(),
                 QStringLiteral("Шаги"));
        QCOMPARE(wizard.findChild<QLabel*>(QStringLiteral("WizardStatus"))->text(),
                 QStringLiteral("Прервано пользователем"));
        // The window stays open: the user reads the log, then closes it.
        QVERIFY(wizard.isVisible());
        QVERIFY(wizard.FinishButton()->isVisible());
    }

    // The job's own answer is the outcome: a stop it saw makes it answer
    // false; a stop pressed after its last look came too late to undo what
    // it finished, and the wizard must not call that work stopped; a job
    // that fails is not a success whatever the user pressed.
    void outcomeIsTheJobsAnswer_data() {
        QTest::addColumn<bool>("cancelBeforeCheck");
        QTest::addColumn<bool>("cancelAfterCheck");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("status");
        QTest::newRow("stop seen at the check")
            << true << false << false << false << QStringLiteral("Прервано пользователем");
        QTest::newRow("stop after the last check")
            << false << true << false << true
            << QStringLiteral("Выполнено: работа была завершена до остановки");
        QTest::newRow("fails without a stop")
            << false << false << true << false << QStringLiteral("Не выполнено");
        QTest::newRow("fails after a late stop")
            << false << true << true << false << QStringLiteral("Прервано пользователем");
        QTest::newRow("done") << false << false << false << true << QStringLiteral("Выполнено");
    }
    void outcomeIsTheJobsAnswer() {
        QFETCH(bool, cancelBeforeCheck);
        QFETCH(bool, cancelAfterCheck);
        QFETCH(bool, fails);
        QFETCH(bool, succeeded);
        QFETCH(QString, status);
        TestWizard wizard;
        wizard.show();
        wizard.choice->valid = true;
        QVERIFY(wizard.Next() && wizard.Next());
        wizard.job->run = [&](Job* job) {
            if (cancelBeforeCheck)
                wizard.CancelButton()->click();
            if (job->GetParent()->IsCancelled())
                return false;
            if (cancelAfterCheck)
                wizard.CancelButton()->click();
            return !fails;
        };
        QCOMPARE(wizard.Run(), succeeded);
        QCOMPARE(wizard.Succeeded(), succeeded);
        QCOMPARE(wizard.WasCancelled(), cancelBeforeCheck || cancelAfterCheck);
        QVERIFY(
            wizard.findChild<QLabel*>(QStringLiteral("WizardStatus"))->text().startsWith(status));
        QCOMPARE(wizard.findChild<QProgressBar*>()->value(), succeeded ? 1 : 0);
    }

    // While the job runs the buttons wait: no way back, no second start,
    // no other window; only "Отмена", which reaches the job.
    void buttonsWaitWhileTheJobRuns() {
        TestWizard wizard;
        QPushButton* extra = wizard.AddButton(QStringLiteral("Журнал"));
        int extraPressed = 0;
        connect(extra, &QPushButton::clicked, &wizard, [&] { ++extraPressed; });
        wizard.show();
        wizard.choice->valid = true;
        QVERIFY(wizard.Next() && wizard.Next());
        QVERIFY(extra->isEnabled());
        // What the user finds while the job runs; compared once it is over.
        QStringList wrong;
        const auto expect = [&wrong](bool ok, const char* what) {
            if (!ok)
                wrong << QString::fromLatin1(what);
        };
        wizard.job->run = [&](Job* job) {
            expect(!wizard.BackButton()->isVisible() || !wizard.BackButton()->isEnabled(), "back");
            expect(!wizard.NextButton()->isVisible(), "next");
            expect(!wizard.RunButton()->isVisible() || !wizard.RunButton()->isEnabled(), "run");
            expect(!wizard.FinishButton()->isVisible(), "finish");
            expect(!extra->isEnabled(), "extra button");
            QTest::mouseClick(extra, Qt::LeftButton);
            QTest::mouseClick(wizard.RunButton(), Qt::LeftButton);
            expect(!wizard.Run(), "second start");
            expect(!wizard.Back(), "Back()");
            expect(!wizard.Next(), "Next()");
            expect(wizard.CurrentPage() == wizard.job, "page");
            expect(wizard.CancelButton()->isEnabled(), "cancel");
            QTest::mouseClick(wizard.CancelButton(), Qt::LeftButton);
            // A second press has nothing more to stop.
            expect(!wizard.CancelButton()->isEnabled(), "cancel pressed twice");
            expect(wizard.isVisible(), "window open");
            return !job->GetParent()->IsCancelled();
        };
        QVERIFY(!wizard.Run());
        QCOMPARE(wrong, QStringList());
        QCOMPARE(wizard.job->runs, 1);
        QCOMPARE(extraPressed, 0);
        QVERIFY(wizard.WasCancelled());
        QVERIFY(extra->isEnabled());
        QVERIFY(!wizard.Run());
        QCOMPARE(wizard.job->runs, 1);
    }

    // Escape and the window's close button, while the job runs, stop it
    // and leave the window open.
    void closingStopsTheJob() {
        TestWizard wizard;
        wizard.show();
        wizard.choice->valid = true;
        QVERIFY(wizard.Next() && wizard.Next());
        bool openWhileRunning = false;
        wizard.job->run = [&](Job* job) {
            wizard.reject();
            wizard.close();
            openWhileRunning = wizard.isVisible();
            return !job->GetParent()->IsCancelled();
        };
        QVERIFY(!wizard.Run());
        QVERIFY(openWhileRunning);
        QVERIFY(wizard.WasCancelled());
    }

    // A simple wizard on one page: title, description and summary, the job
    // started with its button; modal runs go through the driver, and a
    // dialog the driver leaves open counts as cancelled.
    void simpleWizardModal() {
        QString summary;
        QString paneTitle;
        SetModalDriver([&](QDialog* dialog) {
            auto* wizard = qobject_cast<CSimpleWizardDialog*>(dialog);
            QVERIFY(wizard);
            QCOMPARE(wizard->Pages().size(), 0);
            QCOMPARE(wizard->CurrentPage(), wizard->GetProcessorPage());
            summary =
                wizard->findChild<QTextBrowser*>(QStringLiteral("WizardSummary"))->toPlainText();
            paneTitle = wizard->CurrentPage()->GetPaneTitle();
            QVERIFY(wizard->RunButton()->isVisible());
            QTest::mouseClick(wizard->RunButton(), Qt::LeftButton);
            QTest::mouseClick(wizard->FinishButton(), Qt::LeftButton);
        });
        SimpleJob job;
        QCOMPARE(job.DoModal(), int(IDOK));
        QCOMPARE(job.windowTitle(), QStringLiteral("Окно"));
        QCOMPARE(paneTitle, QStringLiteral("Заголовок"));
        QCOMPARE(summary, QStringLiteral("Строка 1\nВнимание\n\nИтог"));
        QCOMPARE(job.Log()->GetLogText(), QStringLiteral("сделано"));

        SetModalDriver([](QDialog*) {});
        SimpleJob left;
        QCOMPARE(left.DoModal(), int(IDCANCEL));
        QVERIFY(!left.isVisible());
        QCOMPARE(left.Log()->GetLogText(), QString());
    }
};

QTEST_MAIN(TestWizardKit)
#include "test_wizard_kit.moc"

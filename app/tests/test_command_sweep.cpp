// Every command of the program, tried in turn on a small generated database
// through the program's own main window: first every menu item and tool-bar
// button with no window open, then, in every window that opens (journals,
// directories, reports, the start page, the forms a journal opens), every
// command that window adds and every item of its lists' context menus.
// Dialogs are left with Escape, questions with «Отмена» or «Нет». After each
// command: no crash, no Qt warning, and the main window still answers.
// Left out: leaving the program and the restore over the live data.
#include "app/command_ids.h"
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "bench/datagen/data_generator.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/report_view/rep_pane.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

using namespace UserPath;

namespace {
// Commands the sweep never runs.
const QSet<unsigned> kLeftOut{CxMDIFrameWnd::ID_APP_EXIT, ID_RESTORE, CxMDIFrameWnd::ID_FILE_CLOSE};
// Windows reached by page links and other windows, not by a menu item.
const unsigned kLinkedWindows[] = {ID_REP_VISITS, ID_REP_VISITS_NEW,  ID_REP_VISITS_REGULAR,
                                   ID_REP_YEARS,  ID_REP_NEW_CONSULT, ID_REP_CLIENT_INFO};
// Windows opened from a window (a form from its journal) are swept too, to
// this depth.
constexpr int kDepth = 1;
} // namespace

class TestCommandSweep : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    AppShellFixture m_shell;
    std::unique_ptr<QtWarningGuard> m_warnings;
    std::unique_ptr<ModalWatcher> m_modals;
    QSet<unsigned> m_global; // enabled with no window open
    QStringList m_done;      // what was tried, for the failure message
    bool m_closing = false;

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private:
    CxMDIFrameWnd& Frame() { return m_shell.Frame(); }

    QList<QAction*> Actions() {
        QList<QAction*> actions;
        const std::function<void(const QList<QAction*>&)> collect =
            [&](const QList<QAction*>& list) {
                for (QAction* action : list) {
                    if (action->menu())
                        collect(action->menu()->actions());
                    else if (!action->isSeparator() && action->data().toUInt() != 0 &&
                             !actions.contains(action))
                        actions << action;
                }
            };
        collect(Frame().menuBar()->actions());
        for (QToolBar* bar : Frame().findChildren<QToolBar*>())
            collect(bar->actions());
        return actions;
    }
    QList<QMdiSubWindow*> Windows() { return Frame().MDIArea()->subWindowList(); }

    // After every step: no warning, and the main window's event loop runs.
    void Check(const QString& what) {
        m_done << what;
        const QStringList warnings = QtWarningGuard::Take();
        QVERIFY2(warnings.isEmpty(),
                 qPrintable(what + QStringLiteral(": ") + warnings.join(u'\n')));
        bool answered = false;
        QTimer::singleShot(0, &Frame(), [&answered] { answered = true; });
        Settle();
        QVERIFY2(answered && Frame().isVisible(), qPrintable(what));
        Frame().UpdateCommandUI();
    }

    void CloseWindow(QMdiSubWindow* sub) {
        QPointer<QMdiSubWindow> guard = sub;
        m_closing = true;
        sub->close();
        Settle();
        m_closing = false;
        const QString title = guard ? guard->windowTitle() : QString();
        QVERIFY2(!guard || !guard->isVisible(), qPrintable(title));
    }

    // Windows that opened since `before` are swept (to kDepth) and closed.
    void SweepNewWindows(const QList<QMdiSubWindow*>& before, int depth, const QString& from) {
        for (QMdiSubWindow* sub : Windows()) {
            if (before.contains(sub))
                continue;
            QPointer<QMdiSubWindow> guard = sub;
            if (depth <= kDepth) {
                SweepWindow(sub, depth);
                if (QTest::currentTestFailed())
                    return;
            }
            if (guard)
                CloseWindow(guard);
            Check(from + QStringLiteral(" → закрыто"));
        }
    }

    // Every command the window adds, then its lists' context menus.
    void SweepWindow(QMdiSubWindow* sub, int depth) {
        QPointer<QMdiSubWindow> guard = sub;
        const QString title = sub->windowTitle();
        const auto activate = [&] {
            if (!guard)
                return false;
            Frame().MDIArea()->setActiveSubWindow(guard);
            Settle();
            Frame().UpdateCommandUI();
            return true;
        };
        for (QAction* action : Actions()) {
            const unsigned id = action->data().toUInt();
            if (kLeftOut.contains(id) || m_global.contains(id) || !activate())
                continue;
            if (!action->isEnabled())
                continue;
            const QList<QMdiSubWindow*> before = Windows();
            const QString what = title + QStringLiteral(" / ") + Plain(action->text());
            action->trigger();
            Settle();
            Check(what);
            if (QTest::currentTestFailed())
                return;
            SweepNewWindows(before, depth + 1, what);
            if (QTest::currentTestFailed())
                return;
        }
        if (!activate())
            return;
        for (QAbstractItemView* view : guard->findChildren<QAbstractItemView*>()) {
            if (!activate() || !view->isVisible() ||
                view->contextMenuPolicy() != Qt::CustomContextMenu)
                continue;
            QStringList items;
            ChooseFromContextMenu(view->viewport(), QPoint(5, 5), QString(), &items);
            Check(title + QStringLiteral(" / контекстное меню"));
            for (const QString& item : items) {
                if (!activate() || !view->isVisible())
                    break;
                const QList<QMdiSubWindow*> before = Windows();
                const QString what = title + QStringLiteral(" / меню списка / ") + item;
                ChooseFromContextMenu(view->viewport(), QPoint(5, 5), item);
                Check(what);
                if (QTest::currentTestFailed())
                    return;
                SweepNewWindows(before, depth + 1, what);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

private slots:
    void initTestCase() {
        m_dir = std::make_unique<QTemporaryDir>();
        // The workbooks and files the commands write for other programs go
        // with the test's own folder.
        const QString temp = m_dir->filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temp));
        qputenv("TMPDIR", QFile::encodeName(temp));
        m_warnings = std::make_unique<QtWarningGuard>();
        QString error;
        QVERIFY2(m_shell.OpenMainWindow(
                     m_dir->path(), QStringLiteral("sweep"), DefaultConfiguration(), &error,
                     [](SchemaTestDatabase& db) {
                         CDataGenOptions options;
                         options.points = 3;
                         options.clients = 60;
                         options.years = 1;
                         options.visits = 400;
                         options.trainingsPerYear = 4;
                         QString why;
                         CDataGenerator generator(options);
                         QVERIFY2(generator.Fill(db.Connection(), &why), qPrintable(why));
                     }),
                 qPrintable(error));
        // Nothing leaves the test: no program opens a file, every dialog
        // goes with Escape, every question with «Отмена» or «Нет» (while a
        // window closes: «Нет», its changes are not kept).
        SetExternalOpener([](const QUrl&) { return true; });
        SetModalDriver([](QDialog*) {});
        SetMessageButtonAnswerer(
            [this](const QString&, const QString&, const QStringList& buttons) {
                for (const QString& prefer :
                     m_closing ? QStringList{QStringLiteral("Нет")}
                               : QStringList{QStringLiteral("Отмена"), QStringLiteral("Нет")})
                    if (buttons.contains(prefer))
                        return prefer;
                return buttons.last();
            });
        m_modals = std::make_unique<ModalWatcher>();
    }
    void cleanupTestCase() {
        m_modals.reset();
        SetMessageButtonAnswerer({});
        SetModalDriver({});
        SetExternalOpener({});
        m_shell.Close();
        m_warnings.reset();
    }

    void everyCommand() {
        // With no window: every command, once. What it opens is swept.
        Frame().UpdateCommandUI();
        for (QAction* action : Actions())
            if (action->isEnabled())
                m_global << action->data().toUInt();
        for (QAction* action : Actions()) {
            const unsigned id = action->data().toUInt();
            Frame().UpdateCommandUI();
            if (kLeftOut.contains(id) || !action->isEnabled())
                continue;
            const QList<QMdiSubWindow*> before = Windows();
            const QString what = Plain(action->text());
            action->trigger();
            Settle();
            // A bar switched off goes back on.
            if (action->isCheckable() && !action->isChecked()) {
                action->trigger();
                Settle();
            }
            Check(what);
            if (QTest::currentTestFailed())
                break;
            SweepNewWindows(before, 0, what);
            if (QTest::currentTestFailed())
                break;
        }
        // The windows of page links and other windows.
        for (unsigned id : kLinkedWindows) {
            if (QTest::currentTestFailed())
                break;
            const QList<QMdiSubWindow*> before = Windows();
            QVERIFY(Frame().RouteCommand(id));
            Settle();
            Check(QString::number(id));
            QVERIFY2(Windows().size() > before.size(), qPrintable(QString::number(id)));
            SweepNewWindows(before, 0, QString::number(id));
        }
        if (QTest::currentTestFailed())
            qInfo("steps before the failure:\n%s",
                  qPrintable(m_done.mid(m_done.size() - 5).join(u'\n')));
        QVERIFY(Windows().isEmpty());
        // The sweep reached the windows, not only the main window's items.
        QVERIFY2(m_done.size() > 300, qPrintable(QString::number(m_done.size())));
    }
};

QTEST_MAIN(TestCommandSweep)
#include "test_command_sweep.moc"

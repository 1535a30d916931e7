#pragma once
// What a user-path test needs to drive the program as a person does: menu
// items found by their visible text path, tool-bar buttons by caption or
// tip, triggered after the same update pass the running program makes (a
// disabled item cannot be clicked), keys and typed text sent to the focused
// widget, windows found by title, buttons pressed by their text, message
// boxes answered by the text of the button, modal dialogs handled as they
// appear, a guard that collects every Qt warning or critical message so the
// test fails on it, and the test class every user path derives from.
#include "app/tests/app_shell_fixture.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/menu_resource.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "tests/support/typing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>

namespace UserPath {

// A caption as the user reads it: no mnemonic "&", no shortcut after a tab.
inline QString Plain(const QString& text) {
    QString plain = CxButtonText(text);
    const qsizetype tab = plain.indexOf(u'\t');
    return (tab < 0 ? plain : plain.left(tab)).trimmed();
}

// The program's default configuration, as a fresh installation has it.
inline QString DefaultConfiguration() {
    const xKDConfiguration config; // makes its resource available
    QFile file(QStringLiteral(":/config/default_config.xml"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The menu item at the end of the visible text path from the menu bar, e.g.
// {"Журналы", "Карточки клиентов"}; null when there is none.
inline QAction* MenuAction(QMainWindow& frame, const QStringList& path) {
    QList<QAction*> actions = frame.menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& step : path) {
        found = nullptr;
        for (QAction* action : actions)
            if (!action->isSeparator() && Plain(action->text()) == step) {
                found = action;
                break;
            }
        if (!found)
            return nullptr;
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

// The visible texts of a menu's items (separators left out).
inline QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << Plain(action->text());
    return texts;
}

// The tool-bar button with that caption or tip; null when there is none.
inline QAction* ToolBarAction(QMainWindow& frame, const QString& text) {
    for (QToolBar* bar : frame.findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (!action->isSeparator() &&
                (Plain(action->text()) == text || Plain(action->toolTip()) == text))
                return action;
    return nullptr;
}

// Lets queued work run: the application's queued addresses, deferred
// deletes, layout.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// Clicks a menu item or tool-bar button as a user does: the states are
// brought up to date first, as the running program keeps them, and a
// disabled item is not clicked (false).
inline bool Trigger(CxMDIFrameWnd& frame, QAction* action) {
    if (!action)
        return false;
    frame.UpdateCommandUI();
    if (!action->isEnabled())
        return false;
    action->trigger();
    Settle();
    return true;
}
inline bool TriggerMenu(CxMDIFrameWnd& frame, const QStringList& path) {
    return Trigger(frame, MenuAction(frame, path));
}
inline bool TriggerToolBar(CxMDIFrameWnd& frame, const QString& text) {
    return Trigger(frame, ToolBarAction(frame, text));
}

// Keys and text to the widget that has the focus (the active window when no
// widget has it).
inline QWidget* Focused() {
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeWindow();
}
inline void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget* target = Focused())
        QTest::keyClick(target, key, modifiers);
    Settle();
}
// Each character goes where the focus is when it is typed: the first key
// in a grid's cell opens the cell's editor, which takes the rest.
inline void Type(const QString& text) {
    for (const QChar c : text) {
        if (QWidget* target = Focused())
            TypeText(target, QString(c));
        QCoreApplication::processEvents();
    }
    Settle();
}

// The document window of the main frame with that title, else a shown
// top-level window with it; null when there is none.
inline QWidget* FindWindow(CxMDIFrameWnd& frame, const QString& title) {
    for (QMdiSubWindow* sub : frame.MDIArea()->subWindowList())
        if (sub->windowTitle() == title)
            return sub;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowTitle() == title)
            return top;
    return nullptr;
}
// The first view of class V among the main frame's document windows; null
// when none is open.
template <class V> V* FindView(CxMDIFrameWnd& frame) {
    for (QMdiSubWindow* sub : frame.MDIArea()->subWindowList())
        if (auto* child = qobject_cast<CxMDIChildWnd*>(sub))
            if (auto* view = qobject_cast<V*>(child->View()))
                return view;
    return nullptr;
}
inline QString ActiveTitle(CxMDIFrameWnd& frame) {
    QMdiSubWindow* sub = frame.MDIArea()->activeSubWindow();
    return sub ? sub->windowTitle() : QString();
}
// The view of the active document window.
inline QWidget* ActiveView(CxMDIFrameWnd& frame) {
    auto* child = qobject_cast<CxMDIChildWnd*>(frame.MDIArea()->activeSubWindow());
    return child ? child->View() : nullptr;
}

// The error tips that mark fields under `root`, as "field: text" lines.
inline QString ErrorTips(QWidget* root) {
    QStringList tips;
    if (root)
        for (QWidget* w : root->findChildren<QWidget*>())
            if (const QString tip = w->property("cxErrorTip").toString(); !tip.isEmpty())
                tips << w->objectName() + QStringLiteral(": ") + tip;
    return tips.join(u'\n');
}

// A mouse click where a user aims: a check box or radio button on its
// mark (a wide one takes no click beside its text), anything else in its
// middle.
inline void Click(QWidget* widget) {
    if (!widget)
        return;
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button && button->isCheckable())
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    else
        QTest::mouseClick(widget, Qt::LeftButton);
    Settle();
}

// The shown, enabled button of `root` with that text, or null.
inline QAbstractButton* FindButton(QWidget* root, const QString& text) {
    if (!root)
        return nullptr;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(root) && Plain(button->text()) == text)
            return button;
    return nullptr;
}
inline bool Press(QWidget* root, const QString& text) {
    QAbstractButton* button = FindButton(root, text);
    if (!button || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
    return true;
}

// Opens a list's context menu at a row as a right click does and chooses
// the item with that text; false when the menu has no such enabled item
// (the menu's texts go to `texts` when given).
inline bool ChooseFromContextMenu(QWidget* viewport, const QPoint& pos, const QString& text,
                                  QStringList* texts = nullptr) {
    bool chosen = false;
    QTimer::singleShot(0, viewport, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (texts)
            *texts = MenuTexts(menu);
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->isEnabled() && Plain(action->text()) == text) {
                menu->setActiveAction(action);
                chosen = true;
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QApplication::sendEvent(viewport, &event);
    Settle();
    return chosen;
}

// Answers message boxes by the text of the button a user would press, in
// order; every box's text is kept. A box without a prepared answer is
// answered with the last button (its cancel or OK) and noted as unexpected.
class MessageAnswers {
public:
    MessageAnswers() {
        SetMessageButtonAnswerer(
            [this](const QString&, const QString& text, const QStringList& buttons) {
                m_texts << text;
                if (m_answers.isEmpty()) {
                    m_unexpected << text;
                    return buttons.isEmpty() ? QString() : buttons.last();
                }
                return m_answers.takeFirst();
            });
    }
    ~MessageAnswers() { SetMessageButtonAnswerer({}); }
    MessageAnswers(const MessageAnswers&) = delete;
    MessageAnswers& operator=(const MessageAnswers&) = delete;

    void Answer(const QString& buttonText) { m_answers << buttonText; }
    // The texts of the boxes shown since the last call.
    QStringList Take() { return std::exchange(m_texts, {}); }
    QStringList Unexpected() { return std::exchange(m_unexpected, {}); }
    bool AllUsed() const { return m_answers.isEmpty(); }
    void Clear() {
        m_answers.clear();
        m_texts.clear();
        m_unexpected.clear();
    }

private:
    QStringList m_answers;
    QStringList m_texts;
    QStringList m_unexpected;
};

// Handles every modal window that opens (a dialog's exec, an input box): the
// handler gets the modal widget while its own event loop runs. Without a
// handler of its own, each is closed as Escape closes it.
class ModalWatcher : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    explicit ModalWatcher(Handler handler = {}) : m_handler(std::move(handler)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == m_busy)
                return;
            m_seen << modal->windowTitle();
            QPointer<QWidget> guard = modal;
            m_busy = modal;
            if (m_handler)
                m_handler(modal);
            else
                QTest::keyClick(modal, Qt::Key_Escape);
            if (guard && guard == QApplication::activeModalWidget() && guard->isVisible())
                guard->close();
            m_busy = nullptr;
        });
        m_timer.start(20);
    }
    // The titles of the modal windows met since the last call.
    QStringList Take() { return std::exchange(m_seen, {}); }

private:
    Handler m_handler;
    QTimer m_timer;
    QPointer<QWidget> m_busy;
    QStringList m_seen;
};

// Collects every Qt warning, critical and fatal message (the test checks
// that none came, in cleanup()); other messages go on to the test's log.
class QtWarningGuard {
public:
    QtWarningGuard() { s_previous = qInstallMessageHandler(&Handle); }
    ~QtWarningGuard() { qInstallMessageHandler(s_previous); }
    QtWarningGuard(const QtWarningGuard&) = delete;
    QtWarningGuard& operator=(const QtWarningGuard&) = delete;

    static QStringList Take() { return std::exchange(Messages(), {}); }

private:
    static QStringList& Messages() {
        static QStringList messages;
        return messages;
    }
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        // What the offscreen platform of the tests cannot do (raise a
        // window, grab the keyboard) is no fault of the program.
        const bool platform =
            text.startsWith(QLatin1String("This plugin does not support")) || EngineOffscreen(text);
        if ((type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) && !platform)
            Messages() << text;
        if (s_previous)
            s_previous(type, context, text);
    }
    // The browser engine of the report pane finds no graphics on the offscreen
    // platform and says so, twice; it draws in software all the same.
    static bool EngineOffscreen(const QString& text) {
        const QString said = text.trimmed();
        return said == QLatin1String("WebEngineContext used before QtWebEngineCore::initialize() "
                                     "or OpenGL context creation failed.") ||
               said == QLatin1String("No suitable graphics backend found");
    }
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace UserPath

// Fails the current test when Qt warned since the last check.
#define USER_PATH_NO_QT_WARNINGS()                                                                 \
    do {                                                                                           \
        const QStringList warnings_ = UserPath::QtWarningGuard::Take();                            \
        QVERIFY2(warnings_.isEmpty(), qPrintable(warnings_.join(u'\n')));                          \
    } while (false)

namespace UserPath {

// What every user path starts from: the program's own main window, the size
// of an ordinary screen (every field of a form in view), on a test database
// of its own that `seed` fills first, with the shipped configuration and the
// users' settings in a folder of the test's own. After each test function it
// fails that test on a Qt warning or a message box nobody prepared an answer
// for; with Windows::Closed every document window is closed first, so each
// test starts from the bare main window.
class UserPathTest : public QObject {
    Q_OBJECT
public:
    enum class Windows { Kept, Closed };

protected:
    explicit UserPathTest(QString purpose, std::function<void(SchemaTestDatabase&)> seed = {},
                          Windows windows = Windows::Kept)
        : m_purpose(std::move(purpose)), m_seed(std::move(seed)), m_windows(windows) {}

    CxMDIFrameWnd& Frame() { return m_shell.Frame(); }
    SchemaTestDatabase& Db() { return m_shell.Db(); }
    MessageAnswers& Answers() { return *m_answers; }

private slots:
    void initTestCase() {
        m_dir = std::make_unique<QTemporaryDir>();
        // What the program writes to the temporary folder (the workbooks of
        // «Передать в MS Excel») goes with the test's own folder.
        const QString temp = m_dir->filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temp));
        qputenv("TMPDIR", QFile::encodeName(temp));
        // Qt Test installs its own message handler when the run starts; the
        // guard goes in front of it only now.
        m_warnings = std::make_unique<QtWarningGuard>();
        m_answers = std::make_unique<MessageAnswers>();
        QString error;
        QVERIFY2(m_shell.OpenMainWindow(m_dir->path(), m_purpose, DefaultConfiguration(), &error,
                                        m_seed),
                 qPrintable(error));
        Frame().resize(1400, 1000);
        Settle();
    }
    void cleanupTestCase() {
        m_shell.Close();
        m_answers.reset();
        m_warnings.reset();
    }
    void cleanup() {
        if (m_windows == Windows::Closed) {
            Frame().MDIArea()->closeAllSubWindows();
            Settle();
        }
        USER_PATH_NO_QT_WARNINGS();
        const QStringList unexpected = m_answers->Unexpected();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
    }

private:
    const QString m_purpose;
    const std::function<void(SchemaTestDatabase&)> m_seed;
    const Windows m_windows;
    std::unique_ptr<QTemporaryDir> m_dir;
    AppShellFixture m_shell;
    std::unique_ptr<QtWarningGuard> m_warnings;
    std::unique_ptr<MessageAnswers> m_answers;
};

} // namespace UserPath

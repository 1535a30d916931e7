// What the user sees of failures: a failed operation shows its own message,
// once, in a text that scrolls instead of making the dialog grow; the status
// bar says when the database connection is lost and when it is back; a
// control marked as wrong loses its mark when the user edits it.
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/error_text.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/settings_dialog.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "framework/widgets/status_bar.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
// A settings page whose storing fails the way a lost database does.
class FailingPage : public CSettingsSelfReg {
public:
    void Init(int registerOnly) override {
        if (registerOnly)
            CGlobalRegisterObject::RegisterObject(this, OBJGROUP_SETTINGS_PAGES, 0);
    }
    QString GetCaption() override { return QStringLiteral("Страница"); }
    QString GetPageClass() override { return QStringLiteral("FailingPage"); }
    QWidget* CreatePage(QWidget* parent) override { return new QLabel(parent); }
    bool StoreData(QWidget*) override {
        CTarvikApp::AddErrorMessage(QStringLiteral("Поле «cValue»: текст длиннее, чем вмещает это "
                                                   "поле. Ничего не записано."));
        return false;
    }
} g_failingPage;
} // namespace

class TestErrorPresentation : public QObject {
    Q_OBJECT

private slots:
    void markSeparatesAnOperationsLines() {
        CTarvikApp::ClearErrorMessages();
        CTarvikApp::AddErrorMessage(QStringLiteral("old"));
        const quint64 mark = CTarvikApp::ErrorMessageMark();
        QCOMPARE(CTarvikApp::ErrorMessagesSince(mark), QStringList());
        CTarvikApp::AddErrorMessage(QStringLiteral("new 1"));
        CTarvikApp::AddErrorMessage(QStringLiteral("new 2"));
        QCOMPARE(CTarvikApp::ErrorMessagesSince(mark),
                 (QStringList{QStringLiteral("new 1"), QStringLiteral("new 2")}));
        // Lines cleared away are not answered again.
        CTarvikApp::ClearErrorMessages();
        CTarvikApp::AddErrorMessage(QStringLiteral("after"));
        QCOMPARE(CTarvikApp::ErrorMessagesSince(mark), QStringList{QStringLiteral("after")});
    }

    // A message shows as it stands, whatever it holds: a statement whose
    // first line looks like markup, one with an entity on a later line. Only
    // the program's own HTML lines are rendered.
    void errorListShowsMessagesAsTheyStand() {
        CTarvikApp::ClearErrorMessages();
        CxErrorListWnd list;
        const QString statement =
            QStringLiteral("SELECT '<b>x</b>' FROM t\nWHERE a < 1 AND b = '&lt;'");
        CTarvikApp::AddErrorMessage(statement);
        CTarvikApp::AddErrorHtml(
            QStringLiteral("<h3>Заголовок</h3><a href='command:x'>ссылка</a>"));
        QCOMPARE(list.Lines(), (QStringList{statement, QStringLiteral("Заголовок\nссылка")}));
        const QString shown = list.Browser()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("SELECT '<b>x</b>' FROM t")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("WHERE a < 1 AND b = '&lt;'")), qPrintable(shown));
        QVERIFY2(!shown.contains(QStringLiteral("<h3>")), qPrintable(shown));
        CTarvikApp::ClearErrorMessages();
    }

    // A long history of a lost server stays out of the settings dialog, which
    // keeps its size; storing again shows the message once more, not twice.
    void settingsDialogShowsItsOwnFailureOnce() {
        CTarvikApp::ClearErrorMessages();
        for (int i = 0; i < 500; ++i)
            CTarvikApp::AddErrorMessage(QStringLiteral("Server has gone away %1").arg(i));
        CSettingsDialog dialog;
        dialog.ShowOnly(QStringLiteral("FailingPage"));
        dialog.Build();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize before = dialog.size();
        for (int attempt = 0; attempt < 2; ++attempt) {
            dialog.accept();
            QCoreApplication::processEvents();
            QVERIFY(dialog.isVisible()); // not accepted
            auto* error = dialog.findChild<CxErrorText*>(QStringLiteral("ErrorText"));
            QVERIFY(error && error->isVisible());
            QVERIFY(!error->Text().contains(QStringLiteral("gone away")));
            QCOMPARE(error->Text().count(QStringLiteral("cValue")), 1);
            QCOMPARE(dialog.size(), before);
        }
        // For a look by eye: KELDA_SHOT_DIR=<folder> keeps a picture.
        if (const QString dir = qEnvironmentVariable("KELDA_SHOT_DIR"); !dir.isEmpty())
            dialog.grab().save(dir + QStringLiteral("/settings_failed.png"));
    }

    void connectionDialogStaysOnScreen() {
        CSQLConnectDlg dialog;
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("Не удалось подключиться к серверу базы данных, попытка %1")
                         .arg(i);
        dialog.SetErrorText(lines.join(u'\n'));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(dialog.height() < screen.height() / 2,
                 qPrintable(QString::number(dialog.height())));
        auto* error = dialog.findChild<CxErrorText*>(QStringLiteral("ErrorText"));
        QVERIFY(error && error->verticalScrollBar()->maximum() > 0);
        QVERIFY(error->Text().contains(QStringLiteral("попытка 399")));
        if (const QString dir = qEnvironmentVariable("KELDA_SHOT_DIR"); !dir.isEmpty())
            dialog.grab().save(dir + QStringLiteral("/connect_error.png"));
    }

    // The mark goes at the user's first key or when the form takes it away,
    // whatever children the control has of its own (a line edit's text
    // engine, a combo box's editor); those children stay, and the control
    // goes on taking keys.
    void markGoesWithTheFirstEdit_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("line edit, key") << QStringLiteral("line") << true;
        QTest::newRow("line edit, cleared") << QStringLiteral("line") << false;
        QTest::newRow("combo box, key") << QStringLiteral("combo") << true;
        QTest::newRow("combo box, cleared") << QStringLiteral("combo") << false;
        QTest::newRow("spin box, key") << QStringLiteral("spin") << true;
    }
    void markGoesWithTheFirstEdit() {
        QFETCH(QString, control);
        QFETCH(bool, byKey);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QWidget* field = nullptr;
        if (control == QStringLiteral("line")) {
            field = new QLineEdit;
        } else if (control == QStringLiteral("combo")) {
            auto* combo = new QComboBox;
            combo->setEditable(true);
            field = combo;
        } else {
            field = new QSpinBox;
        }
        layout->addWidget(field);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* editor = qobject_cast<QLineEdit*>(field) ? qobject_cast<QLineEdit*>(field)
                                                       : field->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->clear();
        QList<QPointer<QObject>> children;
        for (QObject* child : field->children())
            children << child;

        ShowErrorTip(field, QStringLiteral("Неверное значение"));
        QVERIFY(field->property("cxErrorTip").isValid());
        if (byKey) {
            QTest::keyClick(field, Qt::Key_1);
            QCoreApplication::processEvents(); // the mark goes after the key
        } else {
            ClearErrorTip(field);
        }
        QVERIFY(!field->property("cxErrorTip").isValid());
        for (const QPointer<QObject>& child : children)
            QVERIFY(child && child->parent() == field);
        QTest::keyClick(field, Qt::Key_2);
        QVERIFY2(editor->text().endsWith(u'2'), qPrintable(editor->text()));
    }

    void statusBarTellsTheConnectionState() {
        CxStatusBar bar;
        bar.show();
        QVERIFY(!bar.ConnectionPane()->isVisibleTo(&bar));
        CTarvikApp::SendForNotify(QString::fromLatin1(kSQLConnectionChannel),
                                  QString::fromLatin1(kSQLConnectionLost));
        QVERIFY(bar.ConnectionPane()->isVisibleTo(&bar));
        QVERIFY(bar.ConnectionPane()->text().contains(QStringLiteral("Нет соединения")));
        CTarvikApp::SendForNotify(QString::fromLatin1(kSQLConnectionChannel),
                                  QString::fromLatin1(kSQLConnectionRestored));
        QVERIFY(!bar.ConnectionPane()->isVisibleTo(&bar));
        QVERIFY(bar.currentMessage().contains(QStringLiteral("восстановлено")));
    }
};

QTEST_MAIN(TestErrorPresentation)
#include "test_error_presentation.moc"

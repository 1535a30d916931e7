// The client register as a user drives it through the program's own main
// window: the journal from the menu and the tool bar, a new client from the
// tool bar, the menu, the Insert key and the list's context menu, typed in
// and saved with OK; then edited and deleted, the journal following each
// change; a card whose code breaks the rules is refused and then saved as
// it is after the user's consent; a training of clients with its
// participants. (The main menu has no record commands:
// they are the tool bar's, the keys' and the list's context menu's.)
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "clients/card/client_card.h"
#include "clients/card/clients_journal.h"
#include "clients/card/visits_tab.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/html_static.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/pages/tab.h"
#include "tests/support/xlsx_reader.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTextBrowser>

using namespace UserPath;

namespace {
const QString kJournalTitle = QStringLiteral("Клиенты проекта");
const QString kNewCardTitle = QStringLiteral("Клиенты: новая запись");
} // namespace

class TestUserPathsClients : public UserPathTest {
    Q_OBJECT

public:
    TestUserPathsClients() : UserPathTest(QStringLiteral("upclients")) {}

private:
    CxSQLListCtrl* JournalList() {
        // The card may be in front: the journal is then the other window.
        auto* journal = FindView<CJClients>(Frame());
        return journal ? journal->findChild<CxSQLListCtrl*>() : nullptr;
    }
    QStringList JournalCodes() {
        QStringList codes;
        CxSQLListCtrl* list = JournalList();
        if (!list)
            return codes;
        for (int row = 0; row < list->Model()->rowCount(); ++row)
            codes << list->Model()->data(list->Model()->index(row, 1)).toString();
        return codes;
    }
    int ClientRows(const QString& code) {
        return Db()
            .Scalar(
                QStringLiteral("SELECT COUNT(*) FROM clientdata WHERE cClientCode='%1'").arg(code))
            .toInt();
    }
    void OpenJournal() {
        if (!FindWindow(Frame(), kJournalTitle))
            QVERIFY(TriggerMenu(Frame(),
                                {QStringLiteral("Журналы"), QStringLiteral("Карточки клиентов")}));
        auto* sub = qobject_cast<QMdiSubWindow*>(FindWindow(Frame(), kJournalTitle));
        QVERIFY(sub);
        Frame().MDIArea()->setActiveSubWindow(sub);
        QVERIFY(JournalList());
        JournalList()->View()->setFocus();
        Settle();
    }
    // Types a new client's code and birth year as a person does: the code
    // field has the focus when the card opens, Tab goes to the birth year.
    void TypeNewClient(const QString& code, const QString& year, bool clickCode = false) {
        QCOMPARE(ActiveTitle(Frame()), kNewCardTitle);
        if (clickCode)
            QTest::mouseClick(Frame().MDIArea()->activeSubWindow()->findChild<QWidget*>(
                                  QStringLiteral("cClientCode")),
                              Qt::LeftButton);
        QWidget* focus = Focused();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), QStringLiteral("cClientCode"));
        Type(code);
        Key(Qt::Key_Tab);
        QCOMPARE(Focused()->objectName(), QStringLiteral("nBirthYear"));
        Type(year);
    }
    void SaveCard() {
        QWidget* card = Frame().MDIArea()->activeSubWindow();
        QVERIFY(Press(card, QStringLiteral("ОК")));
    }

private slots:
    void mainWindowStands() {
        QVERIFY(Frame().isVisible());
        QVERIFY(Frame().windowTitle().startsWith(QStringLiteral("Kelda2")));
        QVERIFY(
            MenuAction(Frame(), {QStringLiteral("Журналы"), QStringLiteral("Карточки клиентов")}));
        QVERIFY(ToolBarAction(Frame(), QStringLiteral("Новая запись")));
        QVERIFY(ToolBarAction(Frame(), QStringLiteral("Клиенты проекта")));
        // Without a window, the record commands have nobody to run them.
        QVERIFY(!TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
    }

    // The journal opens from its menu item and from its tool-bar button,
    // once.
    void journalOpens() {
        QVERIFY(
            TriggerMenu(Frame(), {QStringLiteral("Журналы"), QStringLiteral("Карточки клиентов")}));
        QCOMPARE(ActiveTitle(Frame()), kJournalTitle);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Клиенты проекта")));
        QCOMPARE(Frame().MDIArea()->subWindowList().size(), 1);
        QVERIFY(JournalList());
        QCOMPARE(JournalList()->Model()->rowCount(), 0);
    }

    void newClient_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("year");
        QTest::newRow("tool bar") << "tool bar" << QStringLiteral("АБВ0190ч") << "1990";
        QTest::newRow("Insert") << "Insert" << QStringLiteral("ГДЕ0291ч") << "1991";
        QTest::newRow("context menu") << "context menu" << QStringLiteral("ЖЗИ0392ч") << "1992";
    }
    // A new client: the card opens on its code field, the user types the
    // code, Tab, the birth year, ticks the sex and presses OK; the card
    // closes and the journal shows the client.
    void newClient() {
        QFETCH(QString, way);
        QFETCH(QString, code);
        QFETCH(QString, year);
        OpenJournal();
        if (way == QLatin1String("tool bar")) {
            QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
        } else if (way == QLatin1String("Insert")) {
            Key(Qt::Key_Insert);
        } else {
            QStringList items;
            QVERIFY(ChooseFromContextMenu(JournalList()->View()->viewport(), QPoint(5, 5),
                                          QStringLiteral("Добавить"), &items));
            QCOMPARE(items,
                     (QStringList{QStringLiteral("Открыть"), QStringLiteral("Добавить"),
                                  QStringLiteral("Удалить"), QStringLiteral("Создать папку")}));
        }
        // After the context menu the user clicks into the code field (the
        // closing menu leaves the focus with the window's tab bar under the
        // offscreen platform of the tests).
        TypeNewClient(code, year, way == QLatin1String("context menu"));
        QWidget* card = Frame().MDIArea()->activeSubWindow();
        auto* male = card->findChild<QAbstractButton*>(QStringLiteral("nSex_1"));
        QVERIFY(male);
        Click(male);
        SaveCard();
        QCOMPARE(ClientRows(code), 1);
        QCOMPARE(ActiveTitle(Frame()), kJournalTitle);
        QTRY_VERIFY(JournalCodes().contains(code));
    }

    // Edited from the tool bar's «Изменить» and from Enter on the row: the
    // card opens on the client, the comment typed in is stored and shown.
    void editClient_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("comment");
        QTest::newRow("tool bar") << "tool bar" << QStringLiteral("Звонить по средам");
        QTest::newRow("Enter") << "Enter" << QStringLiteral("Новый телефон");
    }
    void editClient() {
        QFETCH(QString, way);
        QFETCH(QString, comment);
        const QString code = QStringLiteral("АБВ0190ч");
        OpenJournal();
        QVERIFY(JournalList()->SelectKey(
            Db().Scalar(
                    QStringLiteral("SELECT ROWID FROM clientdata WHERE cClientCode='%1'").arg(code))
                .toLongLong()));
        if (way == QLatin1String("tool bar"))
            QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Изменить")));
        else
            Key(Qt::Key_Return);
        QCOMPARE(ActiveTitle(Frame()), QStringLiteral("Клиенты: ") + code);
        QWidget* card = Frame().MDIArea()->activeSubWindow();
        auto* edit = card->findChild<QWidget*>(QStringLiteral("cComment"));
        QVERIFY(edit);
        QTest::mouseClick(edit, Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(comment);
        SaveCard();
        QCOMPARE(
            Db().Scalar(
                QStringLiteral("SELECT cComment FROM clientdata WHERE cClientCode='%1'").arg(code)),
            comment);
        QCOMPARE(ActiveTitle(Frame()), kJournalTitle);
    }

    // Deleted from the tool bar and with the Delete key: the question names
    // the client, «Да» deletes, the journal no longer lists it.
    // «Передать в Excel» on the tool bar and «Передать в MS Excel» in the
    // file menu write the journal's rows to a workbook that the desktop's
    // program is asked to open (here a hook that only notes the file).
    void journalToExcel_data() {
        QTest::addColumn<QStringList>("path");
        QTest::newRow("tool bar") << QStringList{QStringLiteral("Передать в Excel")};
        QTest::newRow("file menu")
            << QStringList{QStringLiteral("Файл"), QStringLiteral("Передать в MS Excel")};
    }
    void journalToExcel() {
        QFETCH(QStringList, path);
        OpenJournal();
        QList<QUrl> opened;
        SetExternalOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        const bool triggered =
            path.size() == 1 ? TriggerToolBar(Frame(), path[0]) : TriggerMenu(Frame(), path);
        SetExternalOpener({});
        QVERIFY(triggered);
        QCOMPARE(opened.size(), 1);
        const QString file = opened[0].toLocalFile();
        QVERIFY(file.startsWith(QDir::tempPath()));
        const XlsxSheet sheet = ReadXlsxSheet(file);
        QFile::remove(file);
        QVERIFY(sheet.ok);
        const QStringList codes = JournalCodes();
        QVERIFY(!codes.isEmpty());
        QCOMPARE(sheet.Rows(), codes.size() + 1);
        for (int row = 0; row < codes.size(); ++row)
            QCOMPARE(sheet.Text(row + 1, 1), codes[row]);
    }

    // The card's visits tab in front: «Передать в Excel» writes that tab's
    // list of visits, row for row; with another tab in front the card has
    // nothing to export.
    void visitsTabToExcel() {
        Db().Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nSpecFlags) VALUES (9101,0,0,'Пункт у парка',1,1,0,0,0),"
            "(9102,0,0,'Петрова А. В.',2,0,0,0,0),(9103,0,0,'Салфетки',3,65537,0,0,0)"));
        Db().Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID) "
                                 "VALUES (9101,'ВИЗ0180ч',0,0)"));
        Db().Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
                                 "nWorkPlace,nGroupID,bIsFolder) VALUES "
                                 "(9101,'2024-05-02',9102,-1,-1,9101,0,0),"
                                 "(9102,'2024-05-09',9102,-1,-1,9101,0,0)"));
        Db().Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,NPP) "
                                 "VALUES (9101,9101,9103,3,1),(9102,9101,9103,4,1)"));
        OpenJournal();
        JournalList()->Model()->Reload();
        QVERIFY(JournalList()->SelectKey(9101));
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Изменить")));
        auto* card = qobject_cast<CDClients*>(ActiveView(Frame()));
        QVERIFY(card);
        QPointer<QMdiSubWindow> window = Frame().MDIArea()->activeSubWindow();
        QList<QUrl> opened;
        SetExternalOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        const auto closeCard = qScopeGuard([&] {
            SetExternalOpener({});
            if (window)
                window->close();
            Settle();
        });
        QVERIFY(!TriggerToolBar(Frame(), QStringLiteral("Передать в Excel")));
        QTabBar* tabs = card->Tab()->tabBar();
        const int visitsTab = card->Tab()->FindTabByClass(QStringLiteral("CDClientsVisits"));
        QVERIFY(visitsTab >= 0);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(visitsTab).center());
        Settle();
        auto* visits = card->findChild<CDClientsVisits*>();
        QVERIFY(visits && visits->isVisible());
        const QAbstractItemModel* list = visits->List()->Model();
        QTRY_COMPARE(list->rowCount(), 2);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Передать в Excel")));
        QCOMPARE(opened.size(), 1);
        const XlsxSheet sheet = ReadXlsxSheet(opened[0].toLocalFile());
        QFile::remove(opened[0].toLocalFile());
        QVERIFY(sheet.ok);
        // The tab's rows as it shows them: the newest report first.
        QCOMPARE(sheet.Rows(), list->rowCount() + 1);
        QStringList written, shown;
        for (int row = 1; row <= list->rowCount(); ++row)
            for (int column = 0; column < 6; ++column)
                written << sheet.Text(row, column);
        for (const char* text : {"Пункт у парка", "09.05.2024", "Пункт у парка", "02.05.2024"})
            QVERIFY2(written.contains(QString::fromUtf8(text)), qPrintable(written.join(u'|')));
        QVERIFY2(written.indexOf(QStringLiteral("09.05.2024")) <
                     written.indexOf(QStringLiteral("02.05.2024")),
                 qPrintable(written.join(u'|')));
    }

    void deleteClient_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("code");
        QTest::newRow("tool bar") << "tool bar" << QStringLiteral("ГДЕ0291ч");
        QTest::newRow("Delete") << "Delete" << QStringLiteral("ЖЗИ0392ч");
    }
    void deleteClient() {
        QFETCH(QString, way);
        QFETCH(QString, code);
        OpenJournal();
        QVERIFY(JournalList()->SelectKey(
            Db().Scalar(
                    QStringLiteral("SELECT ROWID FROM clientdata WHERE cClientCode='%1'").arg(code))
                .toLongLong()));
        // «Нет» first: nothing goes.
        Answers().Answer(QStringLiteral("Нет"));
        if (way == QLatin1String("tool bar"))
            QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Удалить")));
        else
            Key(Qt::Key_Delete);
        QCOMPARE(Answers().Take(), QStringList{QStringLiteral("Удалить запись «%1»?").arg(code)});
        QCOMPARE(ClientRows(code), 1);
        Answers().Answer(QStringLiteral("Да"));
        if (way == QLatin1String("tool bar"))
            QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Удалить")));
        else
            Key(Qt::Key_Delete);
        const QStringList shown = Answers().Take();
        QCOMPARE(shown, QStringList{QStringLiteral("Удалить запись «%1»?").arg(code)});
        QCOMPARE(ClientRows(code), 0);
        QTRY_VERIFY(!JournalCodes().contains(code));
        QVERIFY(JournalCodes().contains(QStringLiteral("АБВ0190ч")));
    }

    // A code against the rules is refused with the explanation and its
    // link; the link, then «Да», saves the card as it is.
    void refusedCardForced() {
        const QString code = QStringLiteral("МНО0588ж"); // a woman's code on a man's card
        OpenJournal();
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
        TypeNewClient(code, QStringLiteral("1988"));
        QWidget* card = Frame().MDIArea()->activeSubWindow();
        Click(card->findChild<QAbstractButton*>(QStringLiteral("nSex_1")));
        SaveCard();
        QCOMPARE(ClientRows(code), 0);
        QCOMPARE(Frame().MDIArea()->activeSubWindow(), card);
        auto* messages = Frame().findChild<QDockWidget*>(QStringLiteral("ErrorList"));
        QVERIFY(messages && messages->isVisible());
        auto* browser = messages->findChild<QTextBrowser*>();
        QVERIFY(browser->toPlainText().contains(QStringLiteral("сохранить карточку как есть")));
        // The link, reached by keyboard as in any text with links.
        browser->setFocus();
        QTest::keyClick(browser, Qt::Key_Tab);
        QCOMPARE(browser->textCursor().selectedText(),
                 QStringLiteral("сохранить карточку как есть"));
        Answers().Answer(QStringLiteral("Да"));
        QTest::keyClick(browser, Qt::Key_Return);
        Settle();
        const QStringList asked = Answers().Take();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith(QStringLiteral("Код клиента не соответствует")));
        QCOMPARE(Db().Rows(QStringLiteral(
                               "SELECT cClientCode,bNewCode FROM clientdata WHERE cClientCode='%1'")
                               .arg(code)),
                 code + QStringLiteral("|0"));
        QVERIFY(Press(Frame().MDIArea()->activeSubWindow(), QStringLiteral("ОК")));
        QCOMPARE(ActiveTitle(Frame()), kJournalTitle);
        QTRY_VERIFY(JournalCodes().contains(code));
    }

    // A training for clients: from the journal's tool bar, typed in field by
    // field, the participants' codes typed as a list; stored with its
    // participants and listed.
    void trainingWithParticipants() {
        Db().Exec(QStringLiteral(
            "INSERT INTO dir (nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown) VALUES "
            "(0,0,'Тренинг по снижению вреда',7,0,0,0),(0,0,'Городской фонд',12,0,0,0)"));
        QVERIFY(TriggerMenu(Frame(),
                            {QStringLiteral("Журналы"), QStringLiteral("Проведенные тренинги")}));
        const QString journalTitle = QStringLiteral("Проведенные тренинги");
        QCOMPARE(ActiveTitle(Frame()), journalTitle);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
        QVERIFY(ActiveTitle(Frame()).endsWith(QStringLiteral(": новая запись")));
        QWidget* form = Frame().MDIArea()->activeSubWindow();
        const auto field = [form](const char* name) {
            return form->findChild<QWidget*>(QLatin1String(name));
        };
        // «Коды клиентов:» stands right above its field, no empty lines
        // between.
        auto* check = form->findChild<CHTMLStatic*>();
        QVERIFY(check);
        QVERIFY(check->height() < 2 * check->fontMetrics().lineSpacing());
        QTest::mouseClick(field("cName"), Qt::LeftButton);
        Type(QStringLiteral("Безопасные инъекции"));
        field("nTopicID")->setFocus();
        Key(Qt::Key_Down);
        Click(field("nTrainingType_1"));
        Click(field("nForType_1"));
        // The date set directly: typing into the date field is being made
        // to work in another change; the rest of the form is typed.
        auto* date = form->findChild<CDateTimeEditCtrl*>(QStringLiteral("dDate"));
        QVERIFY(date);
        date->SetDate(QDate(2026, 12, 10));
        auto* hours = field("nTimeInHours");
        QTest::mouseClick(hours, Qt::LeftButton);
        Type(QStringLiteral("3"));
        QTest::mouseClick(field("participants"), Qt::LeftButton);
        Type(QStringLiteral("АБВ0190ч; МНО0588ж"));
        const QString tips = ErrorTips(form); // the form closes when saved
        QVERIFY(Press(form, QStringLiteral("ОК")));
        const QString training = Db().Scalar(
            QStringLiteral("SELECT ROWID FROM traininglist WHERE cName='Безопасные инъекции'"));
        QVERIFY2(!training.isEmpty(),
                 qPrintable(tips + CTarvikApp::GetErrorMessages().join(u'\n')));
        QCOMPARE(
            Db().Rows(QStringLiteral(
                          "SELECT dDate,nNumberOfClients,nTimeInHours,nForType FROM traininglist "
                          "WHERE ROWID=%1")
                          .arg(training)),
            QStringLiteral("2026-12-10|2|3|1"));
        QCOMPARE(Db().Rows(QStringLiteral(
                               "SELECT c.cClientCode FROM trainingssubdata s JOIN clientdata c ON "
                               "c.ROWID=s.nClientID WHERE s.nTrainingID=%1 ORDER BY 1")
                               .arg(training)),
                 QStringLiteral("АБВ0190ч;МНО0588ж"));
        QCOMPARE(ActiveTitle(Frame()), journalTitle);
    }
    // The search panel from the tool bar: a code typed in part (Е finds Ё)
    // narrows the journal, dates typed as people type them narrow it to a
    // period, «Очистить» brings every client back; the search is still
    // there when the journal is opened again, and hiding the panel lifts it.
    void searchPanel() {
        Db().Exec(QStringLiteral(
            "INSERT INTO clientdata (cClientCode,bIsFolder,nGroupID,dEnterDate) VALUES "
            "('ЁЖИ0101ч',0,0,'2024-03-10'),('ЕЖК0202ж',0,0,'2024-03-11'),"
            "('ПРС0303ч',0,0,'2024-03-12')"));
        OpenJournal();
        JournalList()->Model()->Reload();
        const int all = JournalCodes().size();
        QVERIFY(JournalCodes().contains(QStringLiteral("ПРС0303ч")));
        QAction* toggle = ToolBarAction(Frame(), QStringLiteral("Панель поиска"));
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
        QWidget* panel = JournalList()->findChild<QWidget*>(QStringLiteral("searchPanel"));
        QVERIFY(panel && panel->isVisible());
        Frame().UpdateCommandUI();
        QVERIFY(toggle->isChecked());
        // Beside the wide journal every field is in view whole: the form does
        // not scroll sideways, and each range ends inside the panel.
        auto* scroll = panel->findChild<QScrollArea*>();
        QVERIFY(scroll);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        for (QWidget* w :
             panel->findChildren<QWidget*>(QRegularExpression(QStringLiteral("^search_"))))
            QVERIFY2(w->mapTo(scroll->viewport(), QPoint(w->width(), 0)).x() <=
                         scroll->viewport()->width(),
                     qPrintable(w->objectName() + u' ' + w->toolTip()));
        const auto editorOf = [&](const QString& caption, int which) -> QWidget* {
            QList<QWidget*> found;
            for (QWidget* w : panel->findChildren<QWidget*>())
                if (w->toolTip() == caption &&
                    (qobject_cast<QLineEdit*>(w) || qobject_cast<CTypedDateEdit*>(w)))
                    found << w;
            return which < found.size() ? found[which] : nullptr;
        };
        const QStringList found{QStringLiteral("ЁЖИ0101ч"), QStringLiteral("ЕЖК0202ж")};
        const auto codes = [&] {
            QStringList c = JournalCodes();
            c.sort();
            return c;
        };
        QStringList expected = found;
        expected.sort();

        QWidget* code = editorOf(QStringLiteral("Код клиента"), 0);
        QVERIFY(code);
        Click(code);
        Type(QStringLiteral("еж"));
        Key(Qt::Key_Return);
        QTRY_COMPARE(codes(), expected);
        QVERIFY(Press(panel, QStringLiteral("Очистить")));
        QTRY_COMPARE(JournalCodes().size(), all);

        auto* from =
            qobject_cast<CTypedDateEdit*>(editorOf(QStringLiteral("Дата ввода данных"), 0));
        QVERIFY(from);
        Click(from->Editor());
        Type(QStringLiteral("10.03.2024"));
        Key(Qt::Key_Tab);
        auto* to = qobject_cast<CTypedDateEdit*>(editorOf(QStringLiteral("Дата ввода данных"), 1));
        QVERIFY(to);
        Click(to->Editor());
        Type(QStringLiteral("11032024"));
        Key(Qt::Key_Return);
        QTRY_COMPARE(codes(), expected);
        QVERIFY(Press(panel, QStringLiteral("Очистить")));
        QTRY_COMPARE(JournalCodes().size(), all);

        // Kept for the next opening of the journal.
        Click(code);
        Type(QStringLiteral("прс"));
        Key(Qt::Key_Return);
        QTRY_COMPARE(JournalCodes(), QStringList{QStringLiteral("ПРС0303ч")});
        FindWindow(Frame(), kJournalTitle)->close();
        Settle();
        OpenJournal();
        QCOMPARE(JournalCodes(), QStringList{QStringLiteral("ПРС0303ч")});
        panel = JournalList()->findChild<QWidget*>(QStringLiteral("searchPanel"));
        QVERIFY(panel->isVisible());
        // Hidden, the panel narrows nothing.
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
        QVERIFY(!panel->isVisible());
        QCOMPARE(JournalCodes().size(), all);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
        QCOMPARE(JournalCodes(), QStringList{QStringLiteral("ПРС0303ч")});
        QVERIFY(Press(panel, QStringLiteral("Очистить")));
        QTRY_COMPARE(JournalCodes().size(), all);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
    }
};

QTEST_MAIN(TestUserPathsClients)
#include "test_user_paths_clients.moc"

// The framework's form machinery against a real database: a save is one
// transaction over the form and its child forms (exchange, apply, pre-commit,
// commit) and a failure anywhere rolls back the database and the records,
// with the tip at the control that failed; links of the error list reach the
// active form; "sqledit:...:wait" returns once the form is closed; tabs make
// their pages when first shown.
#include "framework/core/documents/doc_template.h"
#include "framework/core/documents/document.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tests/test_dir_table.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/html_static.h"
#include "framework/widgets/forms/sql_edit_form.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/multi_page.h"
#include "framework/widgets/pages/tab.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/typing.h"

#include "framework/core/tarvik_app.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
TestMaterials* g_table = nullptr;
QStringList g_log;

// A page of the test form: its own record in another table (a one-row
// table keyed like the main record), and a pre-commit step that may refuse.
class TestPage : public QWidget, public CDXForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TestPage(QWidget* parent = nullptr) : QWidget(parent) {
        m_edit = new QLineEdit(this);
        m_edit->setObjectName(QStringLiteral("pageEdit"));
    }
    void DoDataExchange(CDXX& dx) override {
        if (dx.IsLoad() && (!GetDXRecord() || !OwnsDXRecord()))
            SetDXRecord(std::make_unique<CDXRecordSQL>(nullptr, QStringLiteral("riskbehavior")),
                        EA_INSERT_OR_UPDATE);
        if (dx.IsSave())
            g_log << QStringLiteral("page exchange");
        dx.DX(m_edit, QStringLiteral("nUseDirtySyr"));
    }
    // The page row is keyed by the main record, known once it is applied.
    bool OnApply() override {
        g_log << QStringLiteral("page apply");
        GetDXRecord()->SetFieldValue(QStringLiteral("ROWID"),
                                     ParentForm()->GetDXRecord()->GetDXIndex());
        return CDXForm::OnApply();
    }
    bool OnPreCommit() override {
        g_log << QStringLiteral("page pre-commit");
        if (refuse)
            return Fail(m_edit, QStringLiteral("Отказ страницы"));
        return true;
    }
    QWidget* DXWidget() override { return this; }
    static bool refuse;
    QLineEdit* m_edit;
};
bool TestPage::refuse = false;

class TestForm : public CxSQLEditForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TestForm(QWidget* parent = nullptr) : CxSQLEditForm(parent) {
        m_name = new QLineEdit(this);
        m_name->setObjectName(QStringLiteral("cString"));
        Body()->insertWidget(0, m_name);
        m_tabs = new CxTab(this);
        Body()->insertWidget(1, m_tabs);
    }
    CxTable* GetDXTable() const override { return g_table; }
    void DoDataExchange(CDXX& dx) override {
        if (dx.IsSave())
            g_log << QStringLiteral("form exchange");
        if (dx.IsSave())
            dx.SetField(QStringLiteral("nDirType"), 3L);
        dx.DX(m_name, g_table->m_cString, DXF_REQUIRED);
    }
    bool OnApply() override {
        g_log << QStringLiteral("form apply");
        return CxSQLEditForm::OnApply();
    }
    bool OnPreCommit() override {
        g_log << QStringLiteral("form pre-commit");
        return CxSQLEditForm::OnPreCommit();
    }
    int OnProcessURL(const QString& address) override {
        if (address != QLatin1String("command:forceapply"))
            return CxSQLEditForm::OnProcessURL(address);
        forced = true;
        return 1;
    }
    QLineEdit* m_name;
    CxTab* m_tabs;
    bool forced = false;
};
} // namespace

class TestFormsFramework : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CxMDIFrameWnd> m_frame;

    TestForm* OpenForm(qint64 key, int mode) {
        return qobject_cast<TestForm*>(
            CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("TestForm"), key, mode));
    }

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("fw"));
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        QVERIFY(sql->Connect(&info));
        g_pBaseSQLConnection.reset(sql);
        g_table = new TestMaterials;
        m_frame = std::make_unique<CxMDIFrameWnd>();
        m_frame->OnCreate();
        m_frame->show();
        CxDocManager::Instance()->SetFrame(m_frame.get());
        CTarvikApp::RegisterDocTemplate(0, &TestForm::staticMetaObject,
                                        &CxSQLDocument::staticMetaObject, nullptr);
        SetMessageAnswerer([](CxAskKind, const QString&) { return IDNO; });
    }
    void cleanupTestCase() {
        m_frame->MDIArea()->closeAllSubWindows();
        SetMessageAnswerer({});
        m_frame.reset();
        delete g_table;
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }

    // The save runs its steps in order over the form and its pages, and a
    // refusal in the last step takes back everything: the rows, the records'
    // state, the edit action; what the user typed stays.
    void saveIsOneTransaction() {
        TestForm* form = OpenForm(-1, EA_NEW);
        QVERIFY(form);
        QCOMPARE(form->m_tabs->AddTab(QStringLiteral("Страница"), &TestPage::staticMetaObject), 0);
        auto* page = qobject_cast<TestPage*>(form->m_tabs->GetTabWindow(0, false));
        QVERIFY(page);
        QCOMPARE(page->ParentForm(), form);
        TypeText(form->m_name, QStringLiteral("Бинт"));
        TypeText(page->m_edit, QStringLiteral("1"));

        TestPage::refuse = true;
        g_log.clear();
        QVERIFY(!form->Apply());
        QCOMPARE(g_log, QStringList({"form exchange", "page exchange", "form apply", "page apply",
                                     "form pre-commit", "page pre-commit"}));
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir")), QStringLiteral("0"));
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM riskbehavior")),
                 QStringLiteral("0"));
        QCOMPARE(form->GetDXEditMode(), int(EA_NEW));
        QVERIFY(form->GetDXRecord()->GetDXIndex().isEmpty());
        QCOMPARE(page->m_edit->property("cxErrorTip").toString(), QStringLiteral("Отказ страницы"));
        QCOMPARE(form->m_name->text(), QStringLiteral("Бинт"));
        QVERIFY(CxErrorListWnd::Get()->Lines().contains(QStringLiteral("Отказ страницы")));
        // The list comes into view a few lines high, below the form, whose
        // buttons stay in view.
        CxErrorListWnd* list = CxErrorListWnd::Get();
        QTRY_VERIFY(list->isVisible());
        QTRY_VERIFY(list->height() <= list->fontMetrics().lineSpacing() * 6 + 40);
        QVERIFY(form->OKButton()->visibleRegion().boundingRect().size() ==
                form->OKButton()->size());

        // Agreed this time: both rows, the page's keyed by the new record.
        TestPage::refuse = false;
        QVERIFY(form->Apply());
        const QString id =
            m_db->Scalar(QStringLiteral("SELECT ROWID FROM dir WHERE cString='Бинт'"));
        QCOMPARE(form->GetDXRecord()->GetDXIndex(), id);
        QCOMPARE(form->GetDXEditMode(), int(EA_EDIT));
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID,nUseDirtySyr FROM riskbehavior")),
                 id + QStringLiteral("|1"));
        QCOMPARE(qobject_cast<CxSQLDocument*>(form->GetDocument())->GetKey(), id.toLongLong());
        // Once saved, the form is the window of that record.
        QCOMPARE(CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("TestForm"),
                                                           id.toLongLong(), EA_EDIT),
                 form);
        form->CloseFrame();
        CTarvikApp::ClearErrorMessages();
    }

    // A link in the error list is a command for the active form.
    void errorListLinksReachTheForm() {
        TestForm* form = OpenForm(-1, EA_NEW);
        QVERIFY(form);
        CTarvikApp::AddErrorHtml(QStringLiteral(
            "<h3>Код не соответствует</h3><a href='command:forceapply'>сохранить как есть</a>"));
        CxErrorListWnd* list = CxErrorListWnd::Get();
        QVERIFY(list);
        QCOMPARE(list->Lines().last(), QStringLiteral("Код не соответствует\nсохранить как есть"));
        emit list->Browser()->anchorClicked(QUrl(QStringLiteral("command:forceapply")));
        QVERIFY(form->forced);
        // An address goes on as the page wrote it, "%" and all.
        CTarvikApp::TakeAppQueries();
        CTarvikApp::AddErrorHtml(
            QStringLiteral("<a href='nosuch:скидка 50% на 1%20шт'>ссылка</a>"));
        emit list->Browser()->anchorClicked(QUrl(QStringLiteral("nosuch:скидка 50% на 1%20шт")));
        QCOMPARE(CTarvikApp::TakeAppQueries(), QStringList{"nosuch:скидка 50% на 1%20шт"});
        CHTMLStatic infoBar;
        emit infoBar.anchorClicked(QUrl(QStringLiteral("nosuch:50%")));
        QCOMPARE(CTarvikApp::TakeAppQueries(), QStringList{"nosuch:50%"});
        form->CloseFrame();
        list->Clear();
        QVERIFY(list->Lines().isEmpty());
        QVERIFY(CTarvikApp::GetErrorMessages().isEmpty());
    }

    // "wait" keeps the caller until the user has closed the form.
    void sqleditWaits() {
        m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,cString,nDirType,nGroupID,bIsFolder,"
                                  "bHidden,nTown) VALUES (50,'Вата',3,0,0,0,0)"));
        bool closedBeforeReturn = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<TestForm*>(CxDocManager::Instance()->ActiveView());
            QVERIFY(form);
            QCOMPARE(form->m_name->text(), QStringLiteral("Вата"));
            form->CloseFrame();
            closedBeforeReturn = true;
        });
        QVERIFY(CxDocManager::Instance()->ProcessAddress(
            QStringLiteral("sqledit:TestForm:50:2055:wait")));
        QVERIFY(closedBeforeReturn);
        QVERIFY(
            !CxDocManager::Instance()->ProcessAddress(QStringLiteral("sqledit:TestForm:x:2055")));
        QVERIFY(
            !CxDocManager::Instance()->ProcessAddress(QStringLiteral("sqledit:NoSuchForm:1:2055")));
    }

    // A date field may be empty: it shows and stores NULL, and a date as
    // the database writes it.
    void dateFields() {
        class DateForm : public CDXForm {
        public:
            CDateTimeEditCtrl edit;
            void DoDataExchange(CDXX& dx) override { dx.DX(&edit, g_table->m_cDescription); }
            QWidget* DXWidget() override { return &edit; }
        } form;
        auto record = std::make_unique<CDXRecordSQL>(nullptr, QStringLiteral("dir"));
        record->SetFieldValue(QStringLiteral("cDescription"), QStringLiteral("2021-03-04"));
        form.SetDXRecord(std::move(record), EA_EDIT);
        QVERIFY(form.UpdateData(false));
        QCOMPARE(form.edit.GetDate(), QDate(2021, 3, 4));
        form.edit.SetDate(QDate());
        QVERIFY(form.edit.IsEmpty());
        QVERIFY(form.UpdateData(true));
        QVERIFY(form.GetDXRecord()->IsFieldNull(QStringLiteral("cDescription")));
        form.edit.SetDate(QDate(1999, 12, 31));
        QVERIFY(form.UpdateData(true));
        QCOMPARE(form.GetDXRecord()->SFieldValue(QStringLiteral("cDescription")),
                 QStringLiteral("1999-12-31"));
    }

    // A date typed as people type it is stored as that date, read as the
    // text stands (the field not left); an emptied field stores NULL; text
    // that is no date is refused with a word on how to type it and stores
    // nothing. The "no date" of old rows shows empty and stays while left so.
    void dateFieldTakesTypedDates_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved"); // "NULL" for NULL; empty: refused
        QTest::addColumn<QString>("shown"); // the text once the field is left
        const QString was = QStringLiteral("2021-03-04");
        QTest::newRow("dotted") << was << "10.12.2026"
                                << "2026-12-10"
                                << "10.12.2026";
        QTest::newRow("digits only") << was << "10122026"
                                     << "2026-12-10"
                                     << "10.12.2026";
        QTest::newRow("short year") << was << "1.3.26"
                                    << "2026-03-01"
                                    << "01.03.2026";
        QTest::newRow("last century") << was << "5/3/87"
                                      << "1987-03-05"
                                      << "05.03.1987";
        QTest::newRow("six digits") << was << "311225"
                                    << "2025-12-31"
                                    << "31.12.2025";
        QTest::newRow("iso") << was << "2026-12-10"
                             << "2026-12-10"
                             << "10.12.2026";
        QTest::newRow("emptied") << was << ""
                                 << "NULL"
                                 << "";
        QTest::newRow("no such day") << was << "31.02.2026"
                                     << ""
                                     << "31.02.2026";
        QTest::newRow("words") << was << "завтра"
                               << ""
                               << "завтра";
        QTest::newRow("too few digits") << was << "1012202"
                                        << ""
                                        << "1012202";
        QTest::newRow("none date left empty") << "1900-01-01"
                                              << ""
                                              << "1900-01-01"
                                              << "";
    }
    void dateFieldTakesTypedDates() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(QString, shown);
        class DateForm : public CDXForm {
        public:
            CDateTimeEditCtrl edit;
            void DoDataExchange(CDXX& dx) override { dx.DX(&edit, g_table->m_cDescription); }
            QWidget* DXWidget() override { return &edit; }
        } form;
        auto record = std::make_unique<CDXRecordSQL>(nullptr, QStringLiteral("dir"));
        record->SetFieldValue(QStringLiteral("cDescription"), stored);
        form.SetDXRecord(std::move(record), EA_EDIT);
        QVERIFY(form.UpdateData(false));
        // Over whatever the field shows, as a user types.
        QLineEdit* editor = form.edit.Editor();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        if (typed.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        TypeText(editor, typed);
        const bool ok = form.UpdateData(true);
        QCOMPARE(ok, !saved.isEmpty());
        const CDXRecordSQL* r = form.GetDXRecord();
        if (ok) {
            QCOMPARE(r->IsFieldNull(QStringLiteral("cDescription")), saved == u"NULL");
            if (saved != u"NULL")
                QCOMPARE(r->SFieldValue(QStringLiteral("cDescription")), saved);
        } else {
            QCOMPARE(form.LastFailure().text, TypedDateError());
            QCOMPARE(r->SFieldValue(QStringLiteral("cDescription")), stored);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(editor->text(), shown);
    }

    // The calendar opens at the field's date, or at today when it holds
    // none (never at the "no date" of 1900).
    void calendarOpensAtTheFieldsDate_data() {
        QTest::addColumn<QDate>("value");
        QTest::addColumn<QDate>("opens");
        QTest::newRow("empty") << QDate() << QDate::currentDate();
        QTest::newRow("none date") << QDate(1900, 1, 1) << QDate::currentDate();
        QTest::newRow("a date") << QDate(2026, 12, 10) << QDate(2026, 12, 10);
    }
    void calendarOpensAtTheFieldsDate() {
        QFETCH(QDate, value);
        QFETCH(QDate, opens);
        CDateTimeEditCtrl edit;
        edit.SetDate(value);
        edit.show();
        QDate shown;
        QTimer::singleShot(0, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            if (auto* calendar = popup ? popup->findChild<QCalendarWidget*>() : nullptr)
                shown = calendar->selectedDate();
            if (popup)
                popup->close();
        });
        QTest::mouseClick(edit.findChild<QToolButton*>(QStringLiteral("calendar")), Qt::LeftButton);
        QCOMPARE(shown, opens);
        QCOMPARE(edit.GetDate(), IsNoneDate(value) ? QDate() : value);
    }

    // What the controls show only in part stays as stored while the user
    // leaves it: a NULL bit set with no box ticked, a stored text that is no
    // date in a date field.
    void partlyShownValuesStay() {
        m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,cString,nDirType,nGroupID,bIsFolder,"
                                  "bHidden,nTown,nSortCode,cDescription) VALUES "
                                  "(60,'Марля',3,0,0,0,0,NULL,'0000-00-00')"));
        class BitsForm : public CDXForm {
        public:
            QWidget widget;
            QCheckBox first{&widget};
            QCheckBox second{&widget};
            CDateTimeEditCtrl date{&widget};
            void DoDataExchange(CDXX& dx) override {
                CDXXCheckGroup bits = dx.DXCheckGroup(g_table->m_nSortCode);
                bits.DXButton(&first, 1).DXButton(&second, 2);
                bits.End();
                dx.DX(&date, g_table->m_cDescription);
            }
            QWidget* DXWidget() override { return &widget; }
        } form;
        form.SetDXRecord(AllocateSQLDXRecord(QStringLiteral("dir"), 60, 1), EA_EDIT);
        QVERIFY(form.UpdateData(false));
        QVERIFY(!form.first.isChecked() && !form.second.isChecked());
        QVERIFY(form.date.IsEmpty());
        QVERIFY(form.UpdateData(true));
        QCOMPARE(form.GetDXRecord()->BuildStatement(EA_EDIT), QString());
        form.second.setChecked(true);
        QVERIFY(form.UpdateData(true));
        QCOMPARE(form.GetDXRecord()->BuildStatement(EA_EDIT),
                 QStringLiteral("UPDATE `dir` SET `nSortCode`='2' WHERE `ROWID`=60"));
    }

    // A form opened for deletion deletes without asking the controls for
    // their values: a name the record lacks does not keep it.
    void deletionTakesNoValues() {
        m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,cString,nDirType,nGroupID,bIsFolder,"
                                  "bHidden,nTown) VALUES (61,'',3,0,0,0,0)"));
        TestForm* form = OpenForm(61, EA_DELETE);
        QVERIFY(form);
        QVERIFY(form->Apply());
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID=61")),
                 QStringLiteral("0"));
        form->CloseFrame();
        CTarvikApp::ClearErrorMessages();
    }

    // The page host: pages of one class, chosen by their titles.
    void pageHost() {
        struct Host : CxMultiPageCoClass {
            int updates = 0;
            void MultiPageCoClass_OnUpdate() override { ++updates; }
        } host;
        QWidget holder;
        auto* place = new QWidget(&holder);
        auto* selector = new CxComboMultiPageCoClassSelector(&holder);
        host.InitMultiPageCoClass(selector, place, &TestPage::staticMetaObject);
        QCOMPARE(host.AddPage(), 0);
        QCOMPARE(host.AddPage(), 1);
        host.GetPage(1)->setWindowTitle(QStringLiteral("04.03.2021"));
        host.UpdatePageTitle(host.GetPage(1));
        QCOMPARE(selector->itemText(1), QStringLiteral("04.03.2021"));
        QVERIFY(host.SelectPage(1));
        QCOMPARE(host.GetCurPage(), 1);
        QCOMPARE(selector->currentIndex(), 1);
        QVERIFY(!host.SelectPage(5));
        emit selector->activated(0);
        QCOMPARE(host.GetCurPage(), 0);
        QVERIFY(host.RemovePage());
        QCOMPARE(host.GetPageCount(), 1);
        QCOMPARE(selector->count(), 1);
        QCOMPARE(selector->itemText(0), QStringLiteral("04.03.2021"));
        QVERIFY(host.updates >= 3);
    }

    // Pages are made when their tab is first shown, and only then.
    void tabsMakePagesWhenShown() {
        CxTab tabs;
        tabs.AddTab(QStringLiteral("Первая"), new QLineEdit);
        QCOMPARE(tabs.AddTab(QStringLiteral("Вторая"), &TestPage::staticMetaObject), 1);
        QVERIFY(!tabs.GetTabWindow(1, false));
        QCOMPARE(tabs.FindTabByClass(QStringLiteral("TestPage")), 1);
        tabs.SetCurSel(1);
        QVERIFY(qobject_cast<TestPage*>(tabs.GetTabWindow(1, false)));
        tabs.RemoveTab(1);
        QCOMPARE(tabs.GetCount(), 1);
        QCOMPARE(tabs.FindTabByClass(QStringLiteral("TestPage")), -1);
    }
};

QTEST_MAIN(TestFormsFramework)
#include "test_forms_framework.moc"

// The organisation windows on a schema database, driven as a user drives
// them: the own card in the settings dialog (made when missing, then
// changed), the configurator's card page, the organisation list's commands
// (new while the own card is missing, without a dialog opening from a
// command query; removal of a received organisation with its data), and the
// wizards showing text received from other installations as text.
#include "exchange/widgets/configurator_form.h"
#include "exchange/widgets/org_info_view.h"
#include "exchange/widgets/org_list_view.h"
#include "exchange/widgets/org_wizards.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

namespace {
// Fills the card's grid with values by caption and accepts the dialog.
void FillCard(QDialog* dialog, const QMap<QString, QString>& values) {
    auto* card = dialog->findChild<COrgInfoView*>();
    QVERIFY(card);
    CGridCtrl* grid = card->Grid();
    for (int row = 0; row < grid->GetItemCount(); ++row)
        if (values.contains(grid->GetItemText(row, 0)))
            grid->SetItemText(row, 1, values.value(grid->GetItemText(row, 0)));
    dialog->accept();
}

bool Enabled(CxFormView* view, unsigned id) {
    CxCmdUI ui;
    return view->CanProcessCommand(id, ui) && ui.enabled;
}
} // namespace

class TestOrgWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    int m_dialogs = 0;

    void UseDatabase(const QString& purpose) {
        g_pBaseSQLConnection.reset();
        m_db = std::make_unique<SchemaTestDatabase>(purpose);
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        QVERIFY(sql->Connect(&info));
        g_pBaseSQLConnection.reset(sql);
    }

private slots:
    void initTestCase() {
        UseDatabase(QStringLiteral("orgw"));
        QVERIFY(InitTables());
    }
    void cleanupTestCase() {
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }
    void init() { m_dialogs = 0; }
    void cleanup() {
        SetModalDriver({});
        SetMessageAnswerer({});
    }

    // Without row 0 the card shows every fact empty and the first save makes
    // the row; later saves change it; cancel writes nothing.
    void ownCard() {
        m_db->Exec(QStringLiteral("DELETE FROM orginf"));
        int rows = -1;
        SetModalDriver([&](QDialog* dialog) {
            auto* card = dialog->findChild<COrgInfoView*>();
            rows = card->Grid()->GetItemCount();
            QVERIFY(card->IsNewCard());
            QCOMPARE(card->Grid()->GetItemText(0, 1), QString());
            FillCard(dialog, {{QStringLiteral("Идентификатор организации."), "ORG-1"},
                              {QStringLiteral("Город"), "Город 'N'"}});
        });
        ShowOrgInfoSettings();
        QCOMPARE(rows, 16);
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID,cOrgID,cCity,cPhone FROM orginf")),
                 QStringLiteral("0|ORG-1|Город 'N'|"));

        SetModalDriver([&](QDialog* dialog) {
            auto* card = dialog->findChild<COrgInfoView*>();
            QVERIFY(!card->IsNewCard());
            QCOMPARE(card->Grid()->GetItemText(0, 1), QStringLiteral("ORG-1"));
            FillCard(dialog, {{QStringLiteral("Телефон"), "123"}});
        });
        ShowOrgInfoSettings();
        SetModalDriver([&](QDialog* dialog) {
            auto* card = dialog->findChild<COrgInfoView*>();
            card->Grid()->SetItemText(0, 1, QStringLiteral("отменено"));
            dialog->reject();
        });
        ShowOrgInfoSettings();
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID,cOrgID,cCity,cPhone FROM orginf")),
                 QStringLiteral("0|ORG-1|Город 'N'|123"));
    }

    // The configurator's page saves the card; closing with changes asks.
    void configurator() {
        CConfiguratorFormAPP view;
        QVERIFY(view.OnInitialUpdate());
        QCOMPARE(view.Tab()->GetCount(), 1);
        auto* page = qobject_cast<CConfiguratorBaseOrgInfo*>(view.Tab()->GetTabWindow(0));
        QVERIFY(page);
        QVERIFY(view.CanCloseFrame());
        page->Card()->Grid()->SetItemText(0, 1, QStringLiteral("ORG-2"));
        emit page->Card()->Grid()->itemChanged(0, 1);
        QStringList asked;
        int answer = IDCANCEL;
        SetMessageAnswerer([&](CxAskKind, const QString& text) {
            asked << text;
            return answer;
        });
        QVERIFY(!view.CanCloseFrame());
        answer = IDYES;
        QVERIFY(view.CanCloseFrame());
        QCOMPARE(asked.size(), 2);
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0")),
                 QStringLiteral("ORG-2"));
        QVERIFY(view.CanCloseFrame());
        QCOMPARE(asked.size(), 2);
        // The word of the save goes with the next change.
        auto* result = page->findChild<QLabel*>(QStringLiteral("SaveResult"));
        QVERIFY(result);
        QCOMPARE(result->text(), QStringLiteral("Сохранено"));
        page->Card()->Grid()->SetItemText(1, 1, QStringLiteral("Другое название"));
        emit page->Card()->Grid()->itemChanged(1, 1);
        QCOMPARE(result->text(), QString());
        QVERIFY(page->Save());
        QCOMPARE(result->text(), QStringLiteral("Сохранено"));
    }

    // New is offered only while the own card is missing, and asking never
    // opens a dialog; open follows the own card, remove a received one.
    void listCommands() {
        m_db->Exec(QStringLiteral("DELETE FROM orginf"));
        m_db->Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES "
                                  "(5,'<i>ORG5</i>','Пятая'),(6,'ORG6','Шестая')"));
        m_db->Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nRegionDataID) VALUES (1,0,0,'Пункт',1,1,0,0,0),(2,0,0,'Пункт`51',1,1,0,0,5),"
            "(3,0,0,'Пункт`61',1,1,0,0,6)"));
        SetModalDriver([&](QDialog*) { ++m_dialogs; });
        CJOrgListView view;
        QVERIFY(view.OnInitialUpdate());
        QAbstractItemModelTester tester(view.List()->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(view.List()->Model()->rowCount(), 2);
        view.List()->View()->setCurrentIndex(QModelIndex());
        QVERIFY(Enabled(&view, 2056));
        QVERIFY(!Enabled(&view, 2055));
        QVERIFY(!Enabled(&view, 2057));
        QVERIFY(Enabled(&view, 2056));
        QCOMPARE(m_dialogs, 0);

        QVERIFY(view.List()->SelectKey(5));
        QVERIFY(Enabled(&view, 2057));
        QVERIFY(!Enabled(&view, 2055) && !Enabled(&view, 2059));

        // New: the card opens, is filled and saved; the list shows it.
        SetModalDriver([&](QDialog* dialog) {
            ++m_dialogs;
            FillCard(dialog, {{QStringLiteral("Идентификатор организации."), "OWN"}});
        });
        QVERIFY(view.OnCmdMsg(2056, nullptr));
        QCOMPARE(m_dialogs, 1);
        QCOMPARE(view.List()->Model()->rowCount(), 3);
        QVERIFY(!Enabled(&view, 2056));
        QCOMPARE(view.List()->CurrentKey(), qint64(0));
        QVERIFY(Enabled(&view, 2055) && Enabled(&view, 2059));
        QVERIFY(!Enabled(&view, 2057));

        // Remove: the wizard names the organisation as received, as text.
        QString description;
        SetModalDriver([&](QDialog* dialog) {
            ++m_dialogs;
            auto* wizard = qobject_cast<CRemoveOrgWizard*>(dialog);
            QVERIFY(wizard);
            description =
                wizard->findChild<QTextBrowser*>(QStringLiteral("WizardSummary"))->toPlainText();
            QVERIFY(wizard->Run());
            wizard->accept();
        });
        QVERIFY(view.List()->SelectKey(5));
        QVERIFY(view.OnCmdMsg(2057, nullptr));
        QCOMPARE(m_dialogs, 2);
        QVERIFY2(description.contains(QStringLiteral("«<i>ORG5</i>»")), qPrintable(description));
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID FROM orginf ORDER BY ROWID")),
                 QStringLiteral("0;6"));
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID FROM dir ORDER BY ROWID")),
                 QStringLiteral("1;3"));
        QCOMPARE(view.List()->Model()->rowCount(), 2);
        QCOMPARE(view.List()->Model()->FindRow(5), -1);
    }

    // Two received clients whose codes become one: the merge fails, the
    // server's words (with the received codes) show in the log as text, and
    // nothing changed; without the clash it merges.
    void mergeShowsReceivedTextAsText() {
        m_db->Exec(QStringLiteral("DELETE FROM clientdata"));
        m_db->Exec(QStringLiteral("DELETE FROM dir"));
        m_db->Exec(QStringLiteral(
            "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount,"
            "nRegionDataID) VALUES (2,'<b>X</b>`52',0,0,0,0,5),(3,'<b>X</b>`63',0,0,0,0,6)"));
        {
            CMergeOrgsWizard wizard;
            wizard.show();
            QCOMPARE(wizard.Pages().size(), 1);
            QVERIFY(wizard.Next());
            QVERIFY(
                wizard.GetProcessorPage()->GetSummary().contains(QStringLiteral("Очень важно")));
            QVERIFY(!wizard.Run());
            const QString log = wizard.GetProcessorPage()->GetLogText();
            QVERIFY2(log.contains(QStringLiteral("'<b>X</b>'")), qPrintable(log));
            const QString html = wizard.GetProcessorPage()->LogView()->document()->toHtml();
            QVERIFY(html.contains(QStringLiteral("&lt;b&gt;X&lt;/b&gt;")));
            QVERIFY(!html.contains(QStringLiteral("<b>X</b>")));
        }
        QCOMPARE(m_db->Rows(QStringLiteral(
                     "SELECT cClientCode,nRegionDataID FROM clientdata ORDER BY ROWID")),
                 QStringLiteral("<b>X</b>`52|5;<b>X</b>`63|6"));

        m_db->Exec(QStringLiteral("DELETE FROM clientdata WHERE ROWID=3"));
        CMergeOrgsWizard wizard;
        wizard.show();
        QVERIFY(wizard.Next());
        QVERIFY2(wizard.Run(), qPrintable(wizard.GetProcessorPage()->GetLogText()));
        QVERIFY(
            wizard.GetProcessorPage()->GetLogText().contains(QStringLiteral("Успешно объединено")));
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT cClientCode,nRegionDataID FROM clientdata")),
                 QStringLiteral("<b>X</b>|0"));
    }
};

QTEST_MAIN(TestOrgWindows)
#include "test_org_windows.moc"

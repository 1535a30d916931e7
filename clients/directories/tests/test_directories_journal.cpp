// The directories journal: its addresses open it on the named tab and row,
// its tabs list their directory (folders first, only their own kind) and are
// made again after a settings change, new folders get the tab's directory
// type, rows open in their forms and deletes refuse what is still in use or
// what another copy changed while the question was up.
#include "clients/directories/directories_journal.h"
#include "clients/directories/directories_tabs.h"
#include "clients/directories/material_form.h"
#include "clients/directories/material_group_form.h"
#include "clients/directories/material_pack_form.h"
#include "clients/directories/workplace_form.h"
#include "directory_fixture.h"
#include "framework/core/notify/table_change_notifier.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/widgets/pages/tab.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTableView>

class TestDirectoriesJournal : public QObject {
    Q_OBJECT
    std::unique_ptr<DirectoryFixture> m_fx;

    CJDirectories* Journal() {
        return qobject_cast<CJDirectories*>(CxDocManager::Instance()->ActiveView());
    }
    CJDirectoriesTab* CurrentList() {
        return qobject_cast<CJDirectoriesTab*>(
            Journal()->Tab()->GetTabWindow(Journal()->Tab()->GetCurSel()));
    }
    QStringList Titles() {
        QStringList titles;
        for (int i = 0; i < Journal()->Tab()->GetCount(); ++i)
            titles << Journal()->Tab()->tabText(i);
        return titles;
    }
    int Windows() { return int(m_fx->Frame()->MDIArea()->subWindowList().size()); }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<DirectoryFixture>();
        CTarvikApp::RegisterDocTemplate(1979, CJDirectories::GetThisClass(),
                                        CJDirectoriesDocument::GetThisClass(), nullptr);
        CTarvikApp::RegisterDocTemplate(1297, CDDirWorkPlace::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
        CTarvikApp::RegisterDocTemplate(1266, CDDirMat::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
        CTarvikApp::RegisterDocTemplate(1296, CDDirMatPack::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
        CTarvikApp::RegisterDocTemplate(1296, CDDirMatGroup::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
    }
    void cleanupTestCase() { m_fx.reset(); }
    // Every case starts from the same rows and no open window.
    void init() {
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        m_fx->Questions().clear();
        m_fx->Answer(IDYES);
        m_fx->Db().Exec(QStringLiteral("DELETE FROM dir"));
        m_fx->Db().Exec(QStringLiteral("DELETE FROM dailyreport"));
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown) "
            "VALUES (1,0,1,'Город',1,0,0,0),(2,1,0,'Пункт в городе',1,8,0,2),(3,0,0,'Пункт А',1,"
            "2,0,3),(4,0,0,'Работник',2,0,0,0),(5,0,0,'Героин',4,1,0,0),(6,0,0,'Шприц',3,65537,0,"
            "0),(7,0,0,'Фонд',12,0,0,0),(8,1,1,'Район',1,0,0,0)"));
    }

    void addressesOpenTheNamedTab() {
        const QStringList expected{"Раздаточные материалы и услуги",
                                   "Пункты предоставления услуг",
                                   "Наркотические вещества",
                                   "Типы мероприятий (тренинги, занятия)",
                                   "Пакет услуг",
                                   "Персонал проекта",
                                   "Источники финансирования"};
        auto* manager = CxDocManager::Instance();
        QVERIFY(manager->ProcessAddress(
            QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Donors")));
        QCOMPARE(Titles(), expected);
        QCOMPARE(Journal()->Tab()->GetCurSel(), 6);
        QCOMPARE(Journal()->GetDocument()->GetTitle(),
                 QStringLiteral("Справочники: Источники финансирования"));
        // Only the tabs shown so far made their lists.
        QVERIFY(!Journal()->Tab()->GetTabWindow(1, false));
        QCOMPARE(CurrentList()->Model()->rowCount(), 1);

        // The same window, on another tab and row (inside a folder).
        QVERIFY(manager->ProcessAddress(
            QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Posh:2:0")));
        QCOMPARE(Windows(), 1);
        QCOMPARE(Journal()->Tab()->GetCurSel(), 1);
        QCOMPARE(CurrentList()->Model()->CurrentFolder(), qint64(1));
        QCOMPARE(CurrentList()->CurrentKey(), qint64(2));
        // A tab the journal does not have changes nothing; no tab at all
        // neither.
        QVERIFY(manager->ProcessAddress(
            QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_MatGroup:11:0")));
        QCOMPARE(Journal()->Tab()->GetCurSel(), 1);
        QVERIFY(manager->ProcessAddress(QStringLiteral("opendoc:CJDirectories")));
        QCOMPARE(Journal()->Tab()->GetCurSel(), 1);
        QCOMPARE(Windows(), 1);

        // Titles follow a change of settings; the tabs and the current one
        // stay.
        manager->NotifySettingsChanged();
        QCOMPARE(Titles(), expected);
        QCOMPARE(Journal()->Tab()->GetCurSel(), 1);
    }

    void tabListsItsDirectory() {
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Posh")}));
        CJDirectoriesTab* list = CurrentList();
        QAbstractItemModelTester tester(list->Model());
        CxSQLListModel* model = list->Model();
        QStringList captions;
        for (int c = 0; c < model->columnCount(); ++c)
            captions << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(captions, QStringList({"Внутренний код", "Название", "Описание", "Тип пункта",
                                        "Название организации", "Город", "Код организации"}));
        // Folders first, then by name; only service points, only the root.
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->RowKey(0), qint64(1));
        QVERIFY(model->IsFolderRow(0));
        QCOMPARE(model->RowText(1, 1), QStringLiteral("Пункт А"));
        QCOMPARE(model->RowText(1, 3), QStringLiteral("Офис"));
        QCOMPARE(model->RowText(1, 5), QStringLiteral("Измаил, Одесская обл."));
        QCOMPARE(model->RowText(1, 4), QStringLiteral("Своя"));
        // Enter on a folder opens it; Backspace goes back up to it.
        list->View()->setCurrentIndex(model->index(0, 1));
        QTest::keyClick(list->View(), Qt::Key_Return);
        QCOMPARE(model->CurrentFolder(), qint64(1));
        QCOMPARE(model->rowCount(), 2);
        QTest::keyClick(list->View(), Qt::Key_Backspace);
        QCOMPARE(model->CurrentFolder(), qint64(0));
        QCOMPARE(list->CurrentKey(), qint64(1));

        // A change of the table (another window, another copy) reloads the
        // list; the current row stays current.
        list->SelectKey(3);
        m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cString='Пункт Я' WHERE ROWID=3"));
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dir (nGroupID,bIsFolder,cString,nDirType,"
                                       "nType,bHidden,nTown) VALUES (0,0,'Пункт Б',1,8,0,0)"));
        CTarvikApp::SendForNotify(QStringLiteral("SQL"), QStringLiteral("DIR"));
        CxTableChangeNotifier::Instance()->Flush();
        QTRY_COMPARE(model->rowCount(), 3);
        QCOMPARE(model->RowText(2, 1), QStringLiteral("Пункт Я"));
        QCOMPARE(list->CurrentKey(), qint64(3));
    }

    void newFoldersGetTheTabsType_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<int>("dirType");
        QTest::newRow("materials") << "CJDirectoriesTab_Mat" << 3;
        QTest::newRow("service points") << "CJDirectoriesTab_Posh" << 1;
        QTest::newRow("drugs") << "CJDirectoriesTab_Drug" << 4;
        QTest::newRow("training types") << "CJDirectoriesTab_Training" << 7;
        QTest::newRow("packages") << "CJDirectoriesTab_MatPack" << 11;
        QTest::newRow("staff") << "CJDirectoriesTab_Soc" << 2;
        QTest::newRow("donors") << "CJDirectoriesTab_Donors" << 12;
    }
    void newFoldersGetTheTabsType() {
        QFETCH(QString, tab);
        QFETCH(int, dirType);
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"), {tab}));
        CJDirectoriesTab* list = CurrentList();
        QCOMPARE(QString::fromLatin1(list->metaObject()->className()), tab);
        QVERIFY(list->NewFolder(QStringLiteral("Новая папка")));
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nDirType,bIsFolder,nGroupID FROM dir WHERE "
                                                "cString='Новая папка'")),
                 QStringLiteral("%1|1|0").arg(dirType));
        QCOMPARE(list->IsCurrentFolder(), true);
        // A second folder of that name in the same directory is refused.
        QVERIFY(!list->NewFolder(QStringLiteral("Новая папка")));
        CTarvikApp::ClearErrorMessages();
    }

    void rowsOpenInTheirForms() {
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Posh"), QStringLiteral("3")}));
        CJDirectoriesTab* list = CurrentList();
        QVERIFY(list->HasDXEditor());
        QTest::keyClick(list->View(), Qt::Key_Return);
        QCOMPARE(Windows(), 2);
        auto* form = qobject_cast<CDDirWorkPlace*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(form);
        QCOMPARE(form->GetDXRecord()->GetKey(), qint64(3));
        form->CloseFrame();
        QTRY_COMPARE(Windows(), 1);

        // A new row made from inside a folder belongs to that folder.
        m_fx->Frame()->MDIArea()->setActiveSubWindow(
            m_fx->Frame()->MDIArea()->subWindowList().first());
        list->OpenFolder(1);
        QVERIFY(list->OpenRecord(-1, EA_NEW));
        form = qobject_cast<CDDirWorkPlace*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(form);
        QCOMPARE(form->GetDXRecord()->SFieldValue(QStringLiteral("nGroupID")), QStringLiteral("1"));

        // The materials and packages open in their forms.
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Mat")}));
        QVERIFY(CurrentList()->OpenRecord(6, EA_EDIT));
        auto* material = qobject_cast<CDDirMat*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(material);
        QCOMPARE(material->ChosenKind(), EMaterialKind::Syringes);
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_MatPack")}));
        QVERIFY(CurrentList()->OpenRecord(-1, EA_NEW));
        QVERIFY(qobject_cast<CDDirMatPack*>(CxDocManager::Instance()->ActiveView()));
        // The material groups' list, which the journal does not show, opens
        // its rows in the group form too.
        CJDirectoriesTab_MatGroup groups;
        QVERIFY(groups.CreateInplaceWindow(nullptr));
        QVERIFY(groups.OpenRecord(-1, EA_NEW));
        QVERIFY(qobject_cast<CDDirMatGroup*>(CxDocManager::Instance()->ActiveView()));

        // A tab whose form has no template opens nothing.
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Drug")}));
        QVERIFY(!CurrentList()->HasDXEditor());
        CxCmdUI ui;
        QVERIFY(CurrentList()->CanProcessCommand(EA_NEW, ui));
        QVERIFY(!ui.enabled);
        QVERIFY(!CurrentList()->OpenRecord(5, EA_EDIT));
    }

    void deletesRefuseWhatIsInUse() {
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Posh")}));
        CJDirectoriesTab* list = CurrentList();
        m_fx->Db().Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,"
                                       "nGroupID,bIsFolder,nRegionDataID) VALUES "
                                       "(1,'2021-03-04',4,3,0,0,0)"));
        m_fx->Answer(IDYES);
        // A folder that holds rows stays.
        list->SelectKey(1);
        QVERIFY(!list->DeleteCurrent());
        QVERIFY(m_fx->Questions().last().contains(QStringLiteral("не пуста")));
        // A service point named by a daily report stays.
        list->SelectKey(3);
        QVERIFY(!list->DeleteCurrent());
        QVERIFY(m_fx->Questions().last().contains(QStringLiteral("Ежедневный отчет")));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID IN (1,3)")),
                 QStringLiteral("2"));
        // An empty folder goes, after the question; "No" keeps it.
        list->OpenFolder(1);
        list->SelectKey(8);
        m_fx->Answer(IDNO);
        QVERIFY(!list->DeleteCurrent());
        m_fx->Answer(IDYES);
        QVERIFY(list->DeleteCurrent());
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID=8")),
                 QStringLiteral("0"));
        QCOMPARE(list->Model()->rowCount(), 1);
    }

    // Another copy renames the row while the question is up: the delete is
    // refused with the words of every such refusal and the row stays as the
    // other copy left it; asked again, the user deletes it.
    void deleteOfARowAnotherCopyChanged() {
        QVERIFY(OpenDocument(QStringLiteral("CJDirectories"),
                             {QStringLiteral("CJDirectoriesTab_Posh")}));
        CJDirectoriesTab* list = CurrentList();
        list->SelectKey(3);
        m_fx->OnQuestion([this](const QString&) {
            m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cString='Пункт Я' WHERE ROWID=3"));
        });
        const quint64 mark = CTarvikApp::ErrorMessageMark();
        const bool deleted = list->DeleteCurrent();
        m_fx->OnQuestion({});
        QVERIFY(!deleted);
        QVERIFY(m_fx->Questions().last().contains(QStringLiteral("Пункт А")));
        const QString errors = CTarvikApp::ErrorMessagesSince(mark).join(u'\n');
        QVERIFY2(errors.contains(CxRowsFingerprint::ChangedMeanwhileText()), qPrintable(errors));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT cString FROM dir WHERE ROWID=3")),
                 QStringLiteral("Пункт Я"));
        list->SelectKey(3);
        QVERIFY(list->DeleteCurrent());
        QVERIFY(m_fx->Questions().last().contains(QStringLiteral("Пункт Я")));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID=3")),
                 QStringLiteral("0"));
    }
};

QTEST_MAIN(TestDirectoriesJournal)
#include "test_directories_journal.moc"

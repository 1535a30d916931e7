// The exchange windows between two databases: the export wizard writes the
// package that the import wizard receives (the rows arrive under the
// sender's number and the load is recorded); a damaged package or a stopped
// import leaves the receiving database exactly as it was and the log says
// why. The comparison window lists the loads and, for two loads of a
// fixture, shows the reports added, removed and changed, with every text of
// the data escaped, and takes in a load received while it is open.
#include "exchange/transfer/compare_changes_doc.h"
#include "exchange/transfer/exchange_helper.h"
#include "exchange/widgets/compare_changes_view.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/widgets/exchange/exchange_wizards.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "framework/widgets/wizard/wizard_pane.h"
#include "tests/support/pane_text.h"
#include "tests/support/table_fingerprint.h"
#include "tests/support/window_test_app.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <QtEndian>

namespace {
const char kConfiguration[] = "<CONFIGURATION/>";
// The sender's identifier, with characters that the summary must escape and
// that a log line must not take for a placeholder.
const char kSender[] = "ORG-A & %1";

QString OrgRow(int id, const char* org) {
    return QStringLiteral("INSERT INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cSogName,cCity,"
                          "cRegion,cAddress,cPhone,cEMail,cWWW,cBoss,cBossPhone,cProjRuk,"
                          "cProjRukPhone,cDonors,cProjectDate) VALUES "
                          "(%1,'%2','','','','','','','','','','','','','','','')")
        .arg(id)
        .arg(QString::fromUtf8(org));
}

// The sender: a service point, a worker, a material, a client, one report
// with two visits.
void FillSender(const TestDatabase& a) {
    a.Exec(OrgRow(0, kSender));
    a.Exec("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) VALUES "
           "(1,0,0,'Пункт',1,0,5),(2,0,0,'Работник',2,0,0),(3,0,0,'Шприц',3,0,0)");
    a.Exec("INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,nSex,bIsFolder,nGroupID,"
           "nEthnicity,nRelCount) VALUES (1,'АБВ0190М',1990,1,0,0,0,0)");
    a.Exec("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,nGroupID,"
           "bIsFolder,nCrc) VALUES (1,'2024-03-01',2,-1,-1,1,0,0,11)");
    a.Exec("INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP) VALUES "
           "(1,1,1,3,5,1),(2,1,1,3,2,2)");
}

// Where a package is damaged: nowhere, in its rows, in its index.
enum Damage { kIntact, kRows, kIndex };

// Two loads of ORG-A <&> (1 and 2) and one of ORG-C (3). Report 1 is the same in
// both, 2 changed (a count differs), 7 only in load 1 (with a name that
// needs escaping), 4 only in load 2, 5 only in load 1 but dated after the
// analysis date.
void FillLoads(const TestDatabase& db) {
    db.Exec("DELETE FROM orginf WHERE ROWID>0");
    for (const char* table :
         {"cmp_loadids", "cmp_dailyreport", "cmp_visits", "cmp_dir", "cmp_clients"})
        db.Exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    db.Exec(OrgRow(2, "ORG-A <&>"));
    db.Exec(OrgRow(3, "ORG-C"));
    db.Exec("INSERT INTO cmp_loadids (nLoadID,nRegionDataID,dDate) VALUES "
            "(1,2,'2024-03-20'),(2,2,'2024-03-25'),(3,3,'2024-03-01')");
    db.Exec("INSERT INTO cmp_dailyreport (ROWID,nLoadID,dDate,nWorker1,nWorker2,nWorker3,"
            "nWorkPlace,nCrc) VALUES "
            "(1,1,'2024-03-01',3,-1,-1,2,10),(1,2,'2024-03-01',3,-1,-1,2,10),"
            "(2,1,'2024-03-02',3,-1,-1,2,20),(2,2,'2024-03-02',3,-1,-1,2,21),"
            "(7,1,'2024-03-04',8,0,-1,2,70),(4,2,'2024-03-03',3,-1,-1,2,40),"
            "(5,1,'2024-03-20',3,-1,-1,2,50)");
    db.Exec("INSERT INTO cmp_dir (ROWID,nLoadID,cString) VALUES "
            "(2,1,'Пункт 1'),(3,1,'Иванов'),(4,1,'Шприц'),(8,1,'<b>Петров</b> & Ко'),"
            "(2,2,'Пункт 1'),(3,2,'Иванов'),(4,2,'Шприц')");
    db.Exec("INSERT INTO cmp_clients (ROWID,nLoadID,cClientID) VALUES (1,1,'АБВ<0190>'),"
            "(1,2,'АБВ<0190>')");
    db.Exec("INSERT INTO cmp_visits (ROWID,nLoadID,nReportID,nClientID,nItem,nCount) VALUES "
            "(1,1,2,1,4,5),(1,2,2,1,4,6)");
}
} // namespace

class TestExchangeWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<WindowTestApp> m_app;
    std::unique_ptr<SchemaTestDatabase> m_sender;
    QString m_package;

    // Runs the import wizard on a file; cancel: the user stops the run as it
    // begins. Answers the wizard's result, its log and what it said before
    // the run.
    bool RunImport(const QString& path, bool cancel, QString* log, QString* summary) {
        CKeldaSQLImportWizard_Helper helper;
        CSQLImportWizardDlg wizard(&helper);
        wizard.show();
        wizard.findChild<CxFileEdit*>()->SetPath(path);
        if (!wizard.Next())
            return false;
        *summary = wizard.GetProcessorPage()->GetSummary();
        if (cancel)
            QTimer::singleShot(0, &wizard, &CWizardDlg::Cancel);
        const bool ok = wizard.Run();
        *log = wizard.GetProcessorPage()->GetLogText();
        return ok;
    }

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private slots:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        m_app = std::make_unique<WindowTestApp>(QStringLiteral("xchw"), kConfiguration,
                                                QSize(1100, 700));
        m_app->Db().Exec(OrgRow(0, "ORG-B"));
        CTarvikApp::RegisterDocTemplate(1959, CRepCompareChanges::GetThisClass(),
                                        CRepCompareChangesDoc::GetThisClass(),
                                        &CxMDIChildWnd::staticMetaObject);
        m_sender = std::make_unique<SchemaTestDatabase>(QStringLiteral("xchs"));
        FillSender(*m_sender);
        m_package = m_dir.filePath(QStringLiteral("a.k2x"));
    }
    void cleanupTestCase() {
        m_sender.reset();
        m_app.reset();
    }

    // The export wizard offers a file named for the organisation and the day,
    // writes the package and logs what it sent; the import wizard shows the
    // sender before the run and receives the rows under its number.
    void exportThenImport() {
        {
            CKeldaSQLImportWizard_Helper helper;
            CSQLExportWizardDlg wizard(&helper, m_sender->Connection());
            wizard.show();
            auto* file = wizard.findChild<CxFileEdit*>();
            QCOMPARE(QFileInfo(file->GetPath()).fileName(),
                     CSQLExportWizardDlg::DefaultFileName(QString::fromUtf8(kSender),
                                                          QDate::currentDate()));
            file->SetPath(m_package);
            QVERIFY(wizard.Next());
            QVERIFY(wizard.Run());
            const QString log = wizard.GetProcessorPage()->GetLogText();
            QVERIFY2(log.contains(QString::fromUtf8(kSender)), qPrintable(log));
            // Tables read by their captions, never by their SQL names.
            QVERIFY2(log.contains(QStringLiteral("Визиты клиентов: 2")), qPrintable(log));
            QVERIFY2(!log.contains(QStringLiteral("dailyvisits")), qPrintable(log));
            QVERIFY(QFile::exists(m_package));
        }
        QString log, summary;
        QVERIFY2(RunImport(m_package, false, &log, &summary), qPrintable(log));
        QVERIFY2(summary.contains(QStringLiteral("<b>ORG-A &amp; %1</b>")), qPrintable(summary));
        SchemaTestDatabase& b = m_app->Db();
        const QString region = b.Scalar(QStringLiteral("SELECT ROWID FROM orginf WHERE cOrgID='%1'")
                                            .arg(QString::fromUtf8(kSender)));
        QVERIFY(region.toInt() > 0);
        const QString load = b.Scalar("SELECT MAX(nLoadID) FROM cmp_loadids");
        QVERIFY2(log.contains(QString::fromUtf8(kSender) + QStringLiteral(" (номер загрузки ") +
                              load + QStringLiteral("):")),
                 qPrintable(log));
        QCOMPARE(b.Scalar("SELECT COUNT(*) FROM dailyvisits AS v JOIN dailyreport AS r ON "
                          "r.ROWID=v.nReportID WHERE r.nRegionDataID=" +
                          region),
                 QStringLiteral("2"));
        QCOMPARE(b.Scalar("SELECT COUNT(*) FROM cmp_loadids WHERE nRegionDataID=" + region),
                 QStringLiteral("1"));
    }

    void exportStopped_data() {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("over an older package") << true;
    }
    // An export stopped by the user as it begins leaves no package and no
    // piece of one; an older package under the same name stays as it was.
    void exportStopped() {
        QFETCH(bool, existing);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stopped.k2x"));
        const QByteArray older("an older package");
        if (existing) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(older);
        }
        CKeldaSQLImportWizard_Helper helper;
        CSQLExportWizardDlg wizard(&helper, m_sender->Connection());
        wizard.show();
        wizard.findChild<CxFileEdit*>()->SetPath(path);
        QVERIFY(wizard.Next());
        QTimer::singleShot(0, &wizard, &CWizardDlg::Cancel);
        QVERIFY(!wizard.Run());
        const QString log = wizard.GetProcessorPage()->GetLogText();
        QVERIFY2(log.contains(QStringLiteral("прервана")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("Файл пакета обмена не записан")), qPrintable(log));
        const QStringList left = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(left, existing ? QStringList{QStringLiteral("stopped.k2x")} : QStringList{});
        if (existing) {
            QFile in(path);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(in.readAll(), older);
        }
    }

    void importRefused_data() {
        QTest::addColumn<int>("damage");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("reason");
        QTest::newRow("damaged rows") << int(kRows) << false << "поврежден";
        QTest::newRow("damaged index") << int(kIndex) << false << "поврежден";
        QTest::newRow("stopped by the user") << int(kIntact) << true << "прервана";
    }
    // Whatever stops the import, the receiving database stays as it was and
    // the log names the reason.
    void importRefused() {
        QFETCH(int, damage);
        QFETCH(bool, cancel);
        QFETCH(QString, reason);
        QVERIFY(QFile::exists(m_package));
        QString path = m_package;
        if (damage != kIntact) {
            QFile in(m_package);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QByteArray bytes = in.readAll();
            // The index begins where the 128-byte mark at the end says; the
            // parts lie before it. A changed high byte of the index's first
            // name length sends that name past the end of the file.
            const qint64 index =
                qFromLittleEndian<qint64>(bytes.constData() + bytes.size() - 128 + 40);
            QVERIFY(index > 0 && index < bytes.size() - 128);
            const qint64 at = damage == kRows ? index / 2 : index + 3;
            bytes[at] = char(bytes[at] ^ 0x40);
            path = m_dir.filePath(QStringLiteral("damaged.k2x"));
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        const QString before = TableFingerprint(m_app->Db());
        QString log, summary;
        QVERIFY(!RunImport(path, cancel, &log, &summary));
        // A damaged package is named before the run.
        QCOMPARE(summary.contains(QStringLiteral("<warning>")), damage != kIntact);
        if (damage != kIntact)
            QVERIFY2(summary.contains(reason), qPrintable(summary));
        QVERIFY2(log.contains(reason), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("База данных не изменена")), qPrintable(log));
        QCOMPARE(TableFingerprint(m_app->Db()), before);
    }

    // A package older than the last one of its sender: the wizard asks,
    // naming both dates; "no" leaves the database as it was and says so, "yes"
    // loads it.
    void olderPackageAsked() {
        QVERIFY(QFile::exists(m_package));
        SchemaTestDatabase& db = m_app->Db();
        db.Exec(QStringLiteral("REPLACE INTO dbsettings (cVariable,cValue) VALUES ('%1',"
                               "'2099-01-02T03:04:05.000Z')")
                    .arg(CSQLImportWizard::LastPackageVariable(QString::fromUtf8(kSender))));
        const QString later = QDateTime(QDate(2099, 1, 2), QTime(3, 4, 5), QTimeZone::utc())
                                  .toLocalTime()
                                  .toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        for (const int answer : {IDNO, IDYES}) {
            m_app->Answer(answer);
            QStringList& questions = m_app->Questions();
            questions.clear();
            const QString before = TableFingerprint(db);
            QString log, summary;
            const bool ok = RunImport(m_package, false, &log, &summary);
            m_app->Answer(IDYES);
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].contains(later) &&
                         questions[0].contains(QStringLiteral("Загрузить этот пакет все равно?")),
                     qPrintable(questions[0]));
            QCOMPARE(ok, answer == IDYES);
            if (answer == IDNO) {
                QVERIFY2(log.contains(QStringLiteral("База данных не изменена")), qPrintable(log));
                QCOMPARE(TableFingerprint(db), before);
            } else {
                QVERIFY2(log.contains(QStringLiteral("подтверждена")), qPrintable(log));
            }
        }
    }

    // Rows the sender passes on from another organisation, older than those
    // the receiver holds of it: the import goes in without them and the
    // wizard asks, naming that organisation and both dates; "no" keeps the
    // receiver's rows of it, "yes" loads the package's.
    void olderPassedOnAsked() {
        SchemaTestDatabase& db = m_app->Db();
        const QString org = QStringLiteral("ORG-X");
        const auto stamp = [&](const TestDatabase& in, const char* created) {
            in.Exec(QStringLiteral("REPLACE INTO dbsettings (cVariable,cValue) VALUES ('%1','%2')")
                        .arg(CSQLImportWizard::LastPackageVariable(org), QLatin1String(created)));
        };
        // The sender has X's entry from X's package of 2024, the receiver one
        // of 2099.
        m_sender->Exec(OrgRow(5, "ORG-X"));
        m_sender->Exec("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown,"
                       "nRegionDataID) VALUES (10,0,0,'Бинт`5.7',3,0,0,5)");
        stamp(*m_sender, "2024-01-02T03:04:05.000Z");
        db.Exec(OrgRow(7, "ORG-X"));
        db.Exec("INSERT INTO dir (nGroupID,bIsFolder,cString,nDirType,bHidden,nTown,"
                "nRegionDataID) VALUES (0,0,'Марля`7.7',3,0,0,7)");
        stamp(db, "2099-01-02T03:04:05.000Z");
        const QString package = m_dir.filePath(QStringLiteral("x.k2x"));
        {
            CKeldaSQLImportWizard_Helper helper;
            CSQLExportWizard exporter(&helper);
            QString error;
            QVERIFY2(exporter.Export(m_sender->Connection(), package, nullptr, &error),
                     qPrintable(error));
        }
        const auto local = [](int year) {
            return QDateTime(QDate(year, 1, 2), QTime(3, 4, 5), QTimeZone::utc())
                .toLocalTime()
                .toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        };
        const QString xEntry =
            QStringLiteral("SELECT SUBSTRING_INDEX(cString,'`',1) FROM dir WHERE nRegionDataID=7");
        for (const int answer : {IDNO, IDYES}) {
            m_app->Answer(answer);
            QStringList& questions = m_app->Questions();
            questions.clear();
            QString log, summary;
            const bool ok = RunImport(package, false, &log, &summary);
            m_app->Answer(IDYES);
            QVERIFY2(ok, qPrintable(log));
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].contains(org) && questions[0].contains(local(2024)) &&
                         questions[0].contains(local(2099)) &&
                         questions[0].contains(QStringLiteral("Загрузить эти данные все равно?")),
                     qPrintable(questions[0]));
            QVERIFY2(log.contains(local(2024)), qPrintable(log));
            QCOMPARE(db.Rows(xEntry),
                     answer == IDYES ? QStringLiteral("Бинт") : QStringLiteral("Марля"));
            if (answer == IDYES)
                QVERIFY2(log.contains(QStringLiteral("подтверждена")), qPrintable(log));
        }
        m_sender->Exec("DELETE FROM dir WHERE ROWID=10");
        m_sender->Exec("DELETE FROM orginf WHERE ROWID=5");
    }

    // The list of loads, read twice (not doubled); then the page of loads 1
    // and 2: added and removed reports in their load's colour, the changed
    // report with the visits that differ, the unchanged report and the one
    // dated after the analysis date left out; names escaped.
    void comparisonWindow() {
        SchemaTestDatabase& db = m_app->Db();
        FillLoads(db);
        QVERIFY(
            CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CRepCompareChanges")));
        auto* view = qobject_cast<CRepCompareChanges*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(view);
        QAbstractItemModelTester tester(view->TreeModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(view->FillTree());
        QStandardItemModel* model = view->TreeModel();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->item(0)->text(), QStringLiteral("ORG-A <&>"));
        QCOMPARE(model->item(0)->rowCount(), 2);
        QCOMPARE(model->item(0)->child(1)->text(), QStringLiteral("25.03.2024, 2"));

        // A choice that cannot be compared: the user is told, nothing is
        // built. The date field opens empty and is read as the user types it.
        const auto refused = [&](const char* typed, Qt::CheckState second, const char* message) {
            m_app->Questions().clear();
            QLineEdit* date = view->DateCtrl()->Editor();
            date->clear();
            QTest::keyClicks(date, QString::fromUtf8(typed));
            model->item(0)->child(1)->setCheckState(second);
            QVERIFY(!view->OnBuild());
            QCOMPARE(m_app->Questions(), QStringList{QString::fromUtf8(message)});
            QVERIFY(view->GetRepDoc()->GetHTML().isEmpty());
        };
        QVERIFY(view->DateCtrl()->text().isEmpty());
        model->item(0)->child(0)->setCheckState(Qt::Checked);
        refused("", Qt::Checked, "Необходимо заполнить дату");
        refused("31.02.2024", Qt::Checked, "Необходимо заполнить дату");
        refused("15.3.2024", Qt::Unchecked, "Необходимо выбрать две записи для сравнения");

        model->item(0)->child(1)->setCheckState(Qt::Checked);
        QVERIFY(view->OnBuild());
        const QString page = view->GetRepDoc()->GetHTML();
        const qsizetype split = page.indexOf(QStringLiteral("Документы, которые были изменены"));
        QVERIFY(split > 0);
        const QString addedRemoved = page.left(split);
        const QString changed = page.mid(split);
        const auto row = [](const char* colour, int id) {
            return QStringLiteral("<tr><td style=\"background:%1\">%2</td>")
                .arg(QLatin1String(colour))
                .arg(id);
        };
        QVERIFY(addedRemoved.contains(row("white", 7)));
        QVERIFY(addedRemoved.contains(row("#99CCFF", 4)));
        QVERIFY(!addedRemoved.contains(row("white", 5)));
        QVERIFY(!addedRemoved.contains(row("white", 1)));
        QVERIFY(addedRemoved.contains(QStringLiteral("&lt;b&gt;Петров&lt;/b&gt; &amp; Ко")));
        QVERIFY(!page.contains(QStringLiteral("<b>Петров")));
        QVERIFY(addedRemoved.contains(QStringLiteral("Код 0 не найден")));
        QCOMPARE(changed.count(QStringLiteral("rowspan=\"2\">")), 2 + 1); // headers + report 2
        QVERIFY(changed.contains(QStringLiteral("rowspan=\"2\">2</td>")));
        QVERIFY(changed.contains(QStringLiteral("АБВ&lt;0190&gt;")));
        QVERIFY(changed.contains(QStringLiteral("<td style=\"background:white\">5</td></tr>")));
        QVERIFY(changed.contains(QStringLiteral("<td style=\"background:#99CCFF\">6</td></tr>")));
        QVERIFY(page.contains(QStringLiteral("ORG-A &lt;&amp;&gt; :: 15.03.2024")));
        QVERIFY(!page.contains(QStringLiteral("ORG-A <&>")));
        QVERIFY(PaneText(view->HTMLCtrl()).contains(QStringLiteral("ORG-A <&> :: 15.03.2024")));

        // A load received meanwhile joins the list; the ticks stay.
        db.Exec("INSERT INTO cmp_loadids (nLoadID,nRegionDataID,dDate) VALUES (4,2,'2024-04-01')");
        CTarvikApp::SendForNotify(QStringLiteral("SQL"), QStringLiteral("cmp_loadids"));
        QCOMPARE(model->item(0)->rowCount(), 3);
        QCOMPARE(view->TickedLoads(), (QList<int>{1, 2}));
    }
};

QTEST_MAIN(TestExchangeWindows)
#include "test_exchange_windows.moc"

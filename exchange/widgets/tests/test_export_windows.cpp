// The export windows on a schema database: the accounting export builds the
// work tables, writes its 17 files and opens the folder only once all were
// written (a file it cannot write is named and the folder stays shut); the
// analytics export writes its files and opens its folder.
#include "exchange/widgets/dbf_out.h"
#include "exchange/widgets/export_csv.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QDesktopServices>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
const char kConfiguration[] = "<CONFIGURATION><LANGUAGE>\n"
                              "<SPECIALITY><Item ID='1' Title='Врач'/></SPECIALITY>\n"
                              "<MATGROUPS><Item ID='1' Title='Шприцы'/>\n"
                              "<Item ID='65537' Title='Шприц' Group='1'/></MATGROUPS>\n"
                              "</LANGUAGE></CONFIGURATION>\n";

void Fill(TestDatabase& db) {
    const char* statements[] = {
        "INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'OWN')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID) VALUES (1,0,0,'Пункт',1,2,0,0,0),(3,0,0,'Работник',2,0,0,0,0),"
        "(4,0,0,'Шприц',3,65537,0,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,nSex,bIsFolder,nGroupID,nEthnicity,"
        "nRelCount) VALUES (1,'АБВ0190Ч',1990,1,0,0,0,0)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,nGroupID,"
        "bIsFolder,nRegionDataID) VALUES (1,'2021-03-04',3,-1,-1,1,0,0,0)",
        "INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP,nVedID) VALUES "
        "(1,1,1,4,5,1,0)",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}
} // namespace

class TestExportWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<SchemaTestDatabase> m_db;
    QList<QUrl> m_opened;

public slots:
    void OpenUrl(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase() {
        // The user's data and temporary folders of this run.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("tmp"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("tmp"))));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("expw"));
        Fill(*m_db);
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        QVERIFY(sql->Connect(&info));
        g_pBaseSQLConnection.reset(sql);
        auto* config = new xKDConfiguration;
        QVERIFY(config->ParseConfig(QString::fromUtf8(kConfiguration), QStringLiteral("test")));
        CTarvikApp::SetConfig(config);
        QVERIFY(InitTables());
    }
    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        CTarvikApp::SetConfig(nullptr);
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }
    void init() { m_opened.clear(); }

    void accountingFilesThenFolder() {
        CDBFOut dialog;
        QVERIFY(dialog.GetFolder().startsWith(m_dir.filePath(QStringLiteral("data"))));
        dialog.show();
        QCOMPARE(dialog.RunButton()->text(), QStringLiteral("Выгрузить"));
        QVERIFY2(dialog.Run(), qPrintable(dialog.GetProcessorPage()->GetLogText()));
        QCOMPARE(QDir(dialog.GetFolder()).entryList(QDir::Files).size(), 17);
        QVERIFY(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_clients")).toInt() > 0);
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(dialog.GetFolder())});
    }

    void accountingFailureKeepsTheFolderShut() {
        CDBFOut dialog;
        const QString blocked = QDir(dialog.GetFolder()).filePath(QStringLiteral("Mat.csv"));
        QVERIFY(QFile::remove(blocked) && QDir().mkpath(blocked));
        dialog.show();
        QVERIFY(!dialog.Run());
        const QString log = dialog.GetProcessorPage()->GetLogText();
        QVERIFY2(log.contains(QStringLiteral("Mat: ")), qPrintable(log));
        QVERIFY(dialog.GetProcessorPage()->ErrorCount() >= 1);
        QVERIFY(m_opened.isEmpty());
        QVERIFY(QDir().rmdir(blocked));
    }

    void analyticsFilesThenFolder() {
        CExportCSV wizard;
        QVERIFY(wizard.GetFolder().startsWith(m_dir.filePath(QStringLiteral("tmp"))));
        wizard.show();
        QCOMPARE(wizard.RunButton()->text(), QStringLiteral("Экспортировать"));
        QVERIFY2(wizard.Run(), qPrintable(wizard.GetProcessorPage()->GetLogText()));
        const QDir folder(wizard.GetFolder());
        QVERIFY(folder.exists(QStringLiteral("ClientData.csv")));
        QVERIFY(folder.exists(QStringLiteral("VisitsMat.csv")));
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(wizard.GetFolder())});
    }
};

QTEST_MAIN(TestExportWindows)
#include "test_export_windows.moc"

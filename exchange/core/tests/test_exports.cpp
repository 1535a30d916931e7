// The accounting files against what the server's SELECT ... INTO OUTFILE
// writes for the same rows; the analytics files' rows and captions; code page
// 1251 as the server converts it.
#include "exchange/core/accounting_export.h"
#include "exchange/core/analytics_export.h"
#include "exchange/core/cp1251.h"
#include "framework/core/enums/enum2.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const char kConfiguration[] =
    "<CONFIGURATION><LANGUAGE>\n"
    "<SPECIALITY><Item ID='1' Title='Врач, \"главный\"'/><Item ID='2' "
    "Title='C:\\path'/></SPECIALITY>\n"
    "<MATGROUPS><Item ID='1' Title='Шприцы'/><Item ID='2' Title='Услуги; прочие'/>\n"
    "<Item ID='65537' Title='Шприц' Group='1'/><Item ID='262145' Title='Услуга' Group='2'/>\n"
    "</MATGROUPS></LANGUAGE></CONFIGURATION>\n";

// Texts that the file formats must carry: separators, quotes, back-slashes,
// line breaks, a NUL, Cyrillic, a sign of the code page and one it lacks.
void Fill(TestDatabase& db) {
    const char* statements[] = {
        "INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'Своя, \"кавычки\"'),(5,CONCAT('a\\\\b\\nc',"
        "CHAR(13),'d',CHAR(0),'e\\tf')),(6,'€ и ä')",
        "INSERT INTO towns VALUES (1,0,'Область','Область'),(2,1,'Город, \"Н\"','')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID,nSpeciality) VALUES (1,0,0,'Пункт \"№1\"',1,2,0,2,0,NULL),"
        "(2,0,1,'Папка пунктов',1,0,0,0,0,NULL),(3,0,0,'Работник\\\\',2,0,0,0,5,1),"
        "(4,0,0,'Шприц',3,65537,0,0,0,NULL),(5,0,0,'Услуга',3,262145,0,0,0,NULL),"
        "(6,0,0,'Шприц 2',3,65537,0,0,0,NULL)",
        "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,dBirthDate,nSex,bIsFolder,nGroupID,"
        "nEthnicity,nRelCount,cComment) VALUES (1,'АБВ0190Ч',1990,'1990-01-01',1,0,0,0,0,"
        "'строка;с \"кавычкой\"\\r\\nи\\nперевод'),(2,'ГДЕ0285Ж',1985,NULL,2,0,0,0,0,NULL)",
        "INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType,nClientType2) VALUES "
        "(1,1,'2021-01-01',1,0),(2,1,'2021-02-01',2,2048+4+1),(3,2,'0000-00-00',NULL,NULL)",
        "INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nSecondaryDrug,nMainRoute,"
        "nUseFrequency) VALUES (1,1,'2021-01-01',1,NULL,5,2),(2,2,NULL,NULL,NULL,NULL,NULL)",
        "INSERT INTO socialstatus (ROWID,nClientID,dDate,nEploymentStatus,cOtherEployment,"
        "bRegPolice) VALUES (1,1,'2021-01-01',1,'дворник, \"старший\"','1'),"
        "(2,2,'2021-01-01',2,NULL,NULL)",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr) VALUES (1,1,'2021-01-01',1)",
        "INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus) VALUES (1,1,1,3)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,bIsFolder,"
        "nRegionDataID) VALUES (1,'2021-03-04',3,1,0,0,0),(2,'2021-03-05',3,1,0,0,5)",
        "INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount) VALUES (1,1,1,4,5),"
        "(2,1,1,6,2),(3,1,2,5,1),(4,2,2,4,7)",
        "CREATE TABLE _cache_clients (gROWID INT,cGClientCode VARCHAR(64),cOClientCode "
        "VARCHAR(64),nClientID INT,nWorkPlace INT,nWorker1 INT,dFirstDate DATE,nRegionDataID "
        "INT,nBirthYear INT,nSex INT,bSecondary TINYINT,bPDI TINYINT) ENGINE=MyISAM "
        "CHARSET=ucs2",
        "INSERT INTO _cache_clients VALUES (1,'АБВ0190Ч`01',NULL,1,1,3,'2021-03-04',0,1990,1,0,1),"
        "(2,'ГДЕ0285Ж','Г\"Д,Е',2,1,3,NULL,5,NULL,2,1,0)",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll()
                                       : QByteArray("<missing " + path.toUtf8() + ">");
}

// What the server writes for a select, with the clause in place of " FROM ".
QByteArray ServerOutfile(TestDatabase& db, const QString& select, const QString& path) {
    QString statement = select;
    statement.replace(QStringLiteral(" FROM "),
                      QStringLiteral(" INTO OUTFILE ") + SafeSQL(path) +
                          QStringLiteral(" FIELDS TERMINATED BY ',' OPTIONALLY ENCLOSED BY '\"' "
                                         "LINES TERMINATED BY '\n' FROM "));
    db.Exec(statement);
    return ReadAll(path);
}

void UseConfiguration() {
    auto* config = new xKDConfiguration;
    QVERIFY(config->ParseConfig(QString::fromUtf8(kConfiguration), QStringLiteral("test")));
    CTarvikApp::SetConfig(config);
    g_SelfTablesKelda.Init(0);
}

// Calls back at each step, so a test can change the database under a run.
class StepProgress : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString& = QString(), int = 1) override { onStep(++steps); }
    void EndProgress(const QString& text) override { end = text; }
    bool IsCancelled() const override { return false; }
    std::function<void(int)> onStep;
    int steps = 0;
    QString end;
};

} // namespace

class TestExports : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseConfiguration(); }
    void cleanup() { CTarvikApp::ClearErrorMessages(); }
    void cleanupTestCase() {
        CTarvikApp::SetConfig(nullptr);
        g_SelfTablesKelda.Init(0);
    }

    // Every character of the basic plane up to U+2FFF, as the server makes it.
    void codePageAsTheServer() {
        SchemaTestDatabase db;
        QString text;
        for (char16_t c = 1; c < 0x3000; ++c)
            text += QChar(c);
        const QString hex =
            db.Scalar(QStringLiteral("SELECT HEX(CONVERT(%1 USING cp1251))").arg(SafeSQL(text)));
        QCOMPARE(QString::fromLatin1(ToCp1251(text).toHex().toUpper()), hex);
    }

    void accountingFilesAsTheServerWritesThem() {
        SchemaTestDatabase db;
        Fill(db);
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("1cOut"));
        const QString server = dir.filePath(QStringLiteral("server"));
        QVERIFY(QDir().mkpath(server));
        bool built = false;
        CAccountingExport exporter(db.Connection());
        exporter.SetWorkTablesBuilder([&](QString*) { return built = true; });
        CvRunLogLines log;
        QStringList failures;
        QVERIFY2(exporter.Run(ours, nullptr, &log, &failures), qPrintable(log.lines.join(u'\n')));
        QVERIFY(built);
        const QList<CAccountingFile> files = CAccountingExport::Files();
        QCOMPARE(files.size(), 17);
        QCOMPARE(QDir(ours).entryList(QDir::Files).size(), 17);
        for (const CAccountingFile& file : files) {
            QString select = file.select;
            if (file.list) { // the list as the export puts it into a table
                db.Exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ref"));
                db.Exec(QStringLiteral(
                    "CREATE TEMPORARY TABLE ref (id INT NOT NULL,string varchar(255))"));
                POSITION pos = file.list->InitScan_sEnum2();
                while (file.list->ScanNext_sEnum2(pos))
                    db.Exec(QStringLiteral("INSERT INTO ref VALUES (%1,%2)")
                                .arg(file.list->Index_sEnum2(pos))
                                .arg(SafeSQL(file.list->Current_sEnum2(pos)->GetText())));
                select = QStringLiteral("SELECT id,convert(string USING cp1251) FROM ref");
            }
            const QByteArray expected =
                ServerOutfile(db, select, server + u'/' + file.name + QStringLiteral(".csv"));
            QVERIFY2(!expected.isEmpty(), qPrintable(file.name));
            QCOMPARE(file.name + u'\n' +
                         QString::fromLatin1(
                             ReadAll(ours + u'/' + file.name + QStringLiteral(".csv")).toHex(' ')),
                     file.name + u'\n' + QString::fromLatin1(expected.toHex(' ')));
        }
        // A code not named by any client group never shows; 0 gives no flag.
        const QByteArray clientGroups = ReadAll(ours + QStringLiteral("/ClDaCh.csv"));
        QVERIFY(clientGroups.startsWith("1,\"2021-01-01\",1,0,0,0,0,0,0,0"));
        QVERIFY(clientGroups.contains("1,\"2021-02-01\",2,0,1,0,1,0,0"));
    }

    // Every failure is told and named; a file of a former run does not stay
    // to pass for this one's; the others are written.
    void accountingFailuresAreReported() {
        SchemaTestDatabase db;
        Fill(db);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("1cOut"));
        CAccountingExport exporter(db.Connection());
        QStringList failures;
        QVERIFY(exporter.Run(folder, nullptr, nullptr, &failures));
        db.Exec(QStringLiteral("DROP TABLE _cache_clients"));
        exporter.SetWorkTablesBuilder([](QString* error) {
            *error = QStringLiteral("no work tables");
            return false;
        });
        CvRunLogLines log;
        QVERIFY(!exporter.Run(folder, nullptr, &log, &failures));
        QCOMPARE(failures, (QStringList{"_cache_clients", "Clients"}));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Clients.csv")));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 16);
        QCOMPARE(log.lines.size(), 2);
        QVERIFY(log.lines[0].contains(QLatin1String("no work tables")));
        QVERIFY(log.lines[1].contains(QLatin1String("_cache_clients")));

        // A folder that cannot be made.
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(
            !exporter.Run(dir.filePath(QStringLiteral("file/1cOut")), nullptr, nullptr, &failures));
        QCOMPARE(failures.size(), 1);
    }

    void defaultFolders() {
        QCOMPARE(QFileInfo(CAccountingExport::DefaultFolder()).fileName(), QStringLiteral("1cOut"));
        QVERIFY(QFileInfo(CAccountingExport::DefaultFolder()).isAbsolute());
        QVERIFY(QFileInfo(CAnalyticsExport::DefaultFolder()).isAbsolute());
    }

    void analyticsRows_data() {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("line");
        QTest::newRow("NULLs are empty") << "SELECT NULL,NULL,'x'"
                                         << ";;x";
        QTest::newRow("semicolon quoted") << "SELECT 'a;b',1"
                                          << "\"a;b\";1";
        QTest::newRow("quote doubled") << "SELECT 'a\"b'"
                                       << "\"a\"\"b\"";
        QTest::newRow("CR LF becomes a blank") << "SELECT 'a\\r\\nb'"
                                               << "a b";
        QTest::newRow("a lone LF or CR too") << "SELECT 'a\\nb','c\\rd','e\\n\\rf'"
                                             << "a b;c d;e  f";
    }
    void analyticsRows() {
        QFETCH(QString, select);
        QFETCH(QString, line);
        SchemaTestDatabase db;
        CxResult res = db.Exec(select);
        QVERIFY(res.FetchRow());
        QCOMPARE(CAnalyticsExport::RowText(res), line);
    }

    // The table of material groups cannot be built once the nine tables are
    // written: the run fails and says so, no empty visits file passes for
    // the real one.
    void analyticsMaterialGroupsFailure() {
        SchemaTestDatabase db;
        Fill(db);
        QTemporaryDir dir;
        StepProgress progress;
        progress.onStep = [&](int steps) {
            if (steps == 9)
                db.Exec(QStringLiteral("DROP TABLE dir"));
        };
        CAnalyticsExport exporter(db.Connection());
        QString error;
        QVERIFY(!exporter.Run(dir.path(), &progress, nullptr, &error));
        QVERIFY2(error.contains(QStringLiteral("групп материалов")), qPrintable(error));
        QCOMPARE(progress.end, error);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("VisitsMat.csv"))));
    }

    void analyticsFiles() {
        SchemaTestDatabase db;
        Fill(db);
        // More visit groups than one page: each client a group of its own.
        db.Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) SELECT "
                               "1,10+seq,4,1 FROM seq_1_to_100001"));
        QTemporaryDir dir;
        CAnalyticsExport exporter(db.Connection());
        CvRunLogLines log;
        QString error;
        QVERIFY2(exporter.Run(dir.path(), nullptr, &log, &error), qPrintable(error));
        QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 21);
        QCOMPARE(log.lines.first(), QStringLiteral("Экспорт справочника наркотиков"));
        QCOMPARE(log.lines.last(), QStringLiteral("Визиты. Материалы"));

        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("VisitsMat-MatType.hdr"))),
                 ToCp1251(u"Шприцы (1)\r\nУслуги; прочие (2)\r\n"));
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("VisitsMat.hdr"))),
                 ToCp1251(u"Дата отчета\r\nКоличетсво\r\nКод клиента\r\nКод группы материалов\r\n"
                          u"Код отчета\r\nКод места предоставления\r\nКод региона"));
        const QByteArray clients = ReadAll(dir.filePath(QStringLiteral("ClientData.csv")));
        const QList<QByteArray> clientLines = clients.split('\n');
        QCOMPARE(clientLines.size(), 3); // two rows, each ended by CR LF
        QVERIFY(clients.contains(ToCp1251(u"\"строка;с \"\"кавычкой\"\" и перевод\"")));
        const QByteArray header = ReadAll(dir.filePath(QStringLiteral("ClientData.hdr")));
        QVERIFY(header.startsWith(ToCp1251(g_pClientDataTable->GetFields().first()->GetCaption())));
        QCOMPARE(header.count("\r\n"), g_pClientDataTable->GetFields().size());

        // Every visit group once, in key order, over two pages.
        const QList<QByteArray> visits =
            ReadAll(dir.filePath(QStringLiteral("VisitsMat.csv"))).split('\n');
        QCOMPARE(visits.size(), 3 + 100001 + 1); // the last line ends the file
        QCOMPARE(QSet<QByteArray>(visits.begin(), visits.end()).size(), visits.size());
        QCOMPARE(visits[0], QByteArray("2021-03-04;7;1;1;1;1;0\r"));
        QCOMPARE(visits[1], QByteArray("2021-03-05;7;2;1;2;1;5\r"));
        QCOMPARE(visits[2], QByteArray("2021-03-04;1;2;2;1;1;0\r"));
        QCOMPARE(visits[3], QByteArray("2021-03-04;1;11;1;1;1;0\r"));
    }
};

QTEST_GUILESS_MAIN(TestExports)
#include "test_exports.moc"

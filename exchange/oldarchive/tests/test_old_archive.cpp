// Restore of an archive of the previous program generation on the real
// server: an archive built with the loader tests' writer, holding old tables
// of every kind the conversion reads, replaces a database; the converted rows
// are compared with values worked out by hand, and the restarted program's
// schema update finds the database as a new one would be. A missing mapping
// entry, a damaged archive, an unmapped code or a repeated key stop the run
// with the database as it was.
#include "db/schema/sql_db_updater.h"
#include "exchange/oldarchive/dir_mapping_file.h"
#include "exchange/oldarchive/old_archive_converter.h"
#include "framework/core/exchange/sql_import_wizard_helper.h"
#include "framework/core/progress.h"
#include "old_archive_fixture.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/table_fingerprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The status texts of a run.
struct Texts : CvProgress {
    QStringList texts;
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString& text, int) override {
        if (!text.isEmpty())
            texts << text;
    }
    void EndProgress(const QString&) override {}
};

// Asks to stop once a phase under the given caption has made the given
// number of steps (the loader's phases have no caption).
struct CancelInPhase : CvProgress {
    CancelInPhase(const QString& caption, int after) : caption(caption), after(after) {}
    QString caption;
    int after;
    bool inPhase = false;
    int steps = 0;
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString& text) override { inPhase = text == caption; }
    void Step(const QString& text, int) override {
        if (inPhase && text.isEmpty())
            ++steps;
    }
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return inPhase && steps >= after; }
};

class Log : public CSQLWizardLog {
public:
    QStringList lines;
    void AddInfoMessage(const QString& text, int) override { lines << QStringLiteral("i:") + text; }
    void AddWarning(const QString& text, int flag) override {
        lines << QStringLiteral("w%1:").arg(flag) + text;
    }
};

// The database of the user before the restore: some data of its own.
void FillCurrent(const TestDatabase& db) {
    db.Exec("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) VALUES "
            "(1,0,0,'Текущий',3,0,0)");
    db.Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) "
            "VALUES (7,'CUR',0,0,0,0)");
    db.Exec("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES (1,7,1,1)");
    db.Exec("REPLACE INTO watchdog (cTable,nChangeID) VALUES ('DIR',5)");
    // A name that only works quoted.
    db.Exec("CREATE TABLE `old notes` (n int)");
    db.Exec("INSERT INTO `old notes` VALUES (1)");
}

} // namespace

class TestOldArchive : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString WriteArchive(const QList<TestTable>& tables, const QString& name = "kldbkp.1.bkz") {
        const QString path = m_dir.filePath(name);
        if (!WriteBytes(path, BackupArchive(101, tables)))
            return QString();
        return path;
    }
    QString WriteMapping(const QByteArray& content) {
        const QString path = m_dir.filePath(QStringLiteral("data/dir3converter.txt"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("data")));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(content);
        return path;
    }

private slots:
    void fileChoice() {
        QCOMPARE(COldArchiveConverter::FileFilter(),
                 QStringLiteral("Предыдущие версии данных Kelda1 (kldbkp.*.bkz)|kldbkp.*.bkz"));
        const QString path = WriteArchive({});
        COldArchiveConverter converter(nullptr, nullptr);
        QVERIFY(converter.IsValid(path));
        QCOMPARE(converter.FileInfoHtml(path),
                 QStringLiteral("<b><font color=red>Архив Kelda - импорт данных</font></b>\n"
                                "Версия архива: 101\n\n"));
        // Another file chosen later is the one the converter reads.
        QVERIFY(!converter.IsValid(m_dir.filePath(QStringLiteral("none.bkz"))));

        COldArchiveConverter noLoader(nullptr, nullptr);
        noLoader.SetLoaderLibrary(QStringLiteral("NoSuchLoaderLibrary"));
        QVERIFY(!noLoader.IsValid(path));
        QVERIFY(noLoader.FileInfoHtml(path).endsWith(QStringLiteral(
            "<b><font color=red>Ошибка загрузки библиотеки обработки</font></b>\n")));
    }

    // The whole restore, each converted row worked out by hand.
    void restore() {
        SchemaTestDatabase db(QStringLiteral("old"));
        FillCurrent(db);
        const QString archive = WriteArchive(OldTables());
        const QString mapping = WriteMapping(kMapping);
        Log log;
        COldArchiveConverter converter(db.Connection(), &log);
        converter.SetMappingFilePath(mapping);
        Texts progress;
        QString error;
        QVERIFY2(converter.Convert(archive, &progress, &error),
                 qPrintable(error + u'\n' + log.lines.join(u'\n')));
        QVERIFY(converter.NeedRestart());
        // The running text moves at every 17th statement, its dots cycling.
        QStringList running;
        for (const QString& text : std::as_const(progress.texts))
            if (text.startsWith(QStringLiteral("Выполнение")))
                running << text.mid(10);
        QCOMPARE(running.mid(0, 5), (QStringList{"..", "...", "....", ".", ".."}));

        // Settings renumbered (2->200, 4->500, 8->900, 9->800; 3 and the other
        // organisation's row dropped) and the organisation card made of them.
        QCOMPARE(db.Rows("SELECT nRecordID,cValue,nRegionDataID FROM orginfo ORDER BY nRecordID"),
                 QStringLiteral("1|ORG-OLD|0;200|Проект|0;500|Город|0;800|mail|0;900|www|0"));
        QCOMPARE(db.Rows("SELECT ROWID,cOrgID,cOrgName,cCity,cEMail,cWWW,cPrjName FROM orginf"),
                 QStringLiteral("0|ORG-OLD|Проект|Город|mail|www|"));
        QCOMPARE(db.Rows("SELECT ROWID,nTopicID,nForType,dDate,cName,nTrainingType FROM "
                         "traininglist"),
                 QStringLiteral("1|70|1|2003-05-06|Семинар|1"));
        QCOMPARE(db.Scalar("SELECT COUNT(*) FROM trainingssubdata"), QStringLiteral("0"));

        // Directories: roots and kinds 5, 6, 9 are not written; the kind's
        // root becomes the top level; "(ПВ) " is cut; the second "пункт а"
        // of kind 1 gets a dot; generated materials follow the highest old id
        // 80: group 3 (flags 1|4), group 1004 (configuration group 9999),
        // returned syringes, returned needles.
        QCOMPARE(db.Rows("SELECT ROWID,nGroupID,bIsFolder,nDirType,cString,IFNULL(cDescription,"
                         "'-'),IFNULL(nType,'-'),nPubType,nSource,nAuditory,IFNULL(nCircul,'-'),"
                         "IFNULL(nProdType,'-'),IFNULL(nUseType,'-'),nSpecFlags,nConfigGroup FROM "
                         "dir ORDER BY ROWID"),
                 QStringLiteral(
                     "10|0|0|1|Пункт А|-|999|0|0|0|-|-|-|0|0;"
                     "11|0|1|1|Папка|-|2|0|0|0|-|-|-|0|0;"
                     "12|11|0|1|пункт а.|-|3|0|0|0|-|-|-|0|0;"
                     "20|0|0|2|Иванов|Соц Тел|-|0|0|0|-|-|-|0|0;"
                     "30|0|0|3|Шприц|-|524289|5|6|7|8|-|-|0|0;"
                     "31|0|0|3|Игла|-|196610|NULL|NULL|NULL|-|-|-|0|0;"
                     "40|0|0|4|Героин|опиат|2|0|0|0|-|3|4|0|0;"
                     "70|0|0|7|Тренинг|d|-|0|0|0|-|-|-|0|0;"
                     "81|0|0|3| (Auto-3)|Сгенерировано при конвертации|462847|0|0|0|0|-|-|5|3;"
                     "82|0|0|3| (Auto-1004)|Сгенерировано при конвертации|462847|0|0|0|0|-|-|2|"
                     "9999;"
                     "83|0|0|3|Собрано шприцев (Auto)|Сгенерировано при "
                     "конвертации|393217|0|0|0|0|-|-|0|0;"
                     "84|0|0|3|Собрано игл (Auto)|Сгенерировано при "
                     "конвертации|393218|0|0|0|0|-|-|0|0"));
        QCOMPARE(db.Rows("SELECT nReportID,nItem,nConsultKey,nVedID,nCount FROM dailyredirects "
                         "ORDER BY nReportID,nConsultKey"),
                 QStringLiteral("100|81|1|0|3;100|81|4|0|2;101|82|2|0|7"));
        QCOMPARE(db.Rows("SELECT ROWID,nReportID,nClientID,nItem,nCount,NPP FROM dailyvisits "
                         "ORDER BY ROWID"),
                 QStringLiteral("1|100|1|30|5|1;2|100|2|83|4|2;3|101|1|84|1|1"));
        QCOMPARE(db.Scalar("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE "
                           "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='dailyvisits' AND INDEX_NAME "
                           "IN ('nClientID','nReportID')"),
                 QStringLiteral("4"));

        // Clients: birth years outside 1946..2006 are 1900; the vulnerable
        // groups split into the main one and the rest; a code that keeps the
        // rules loses its original copy and is marked as of the new coding.
        QCOMPARE(db.Rows("SELECT ROWID,cClientCode,IFNULL(cOClientCode,'-'),nBirthYear,"
                         "IFNULL(dEnterDate,'-'),nGroupID,bIsFolder,bSecondary,bPDI,bNewCode FROM "
                         "clientdata ORDER BY ROWID"),
                 QStringLiteral("1|АБВ0185Ч||1985|2003-01-01|0|0|0|1|1;"
                                "2|XYZ|XYZ|1900|-|0|0|0|0|0;"
                                "3|Папка|Папка|NULL|-|0|1|0|0|0;"
                                "4|ГДЕ1210Ж|ГДЕ1210Ж|1900|2012-01-01|3|0|1|0|0"));
        QCOMPARE(db.Rows("SELECT nClientID,dDate,nClientType,nClientType2,nLastLinkID FROM "
                         "clientdatachanges ORDER BY nClientID"),
                 QStringLiteral("1|2003-01-05|1|128|1;2|1900-01-01|128|0|2;"
                                "4|2012-01-02|64|2|4"));
        QCOMPARE(db.Rows("SELECT nClientID,nBasicDrug,nSecondaryDrug,nParticipation,"
                         "nDrugStartDate,dDate=CURDATE(),nLastLinkID FROM drugusedata ORDER BY "
                         "nClientID"),
                 QStringLiteral("1|40|-1|196613|1999|1|1;2|40|40|-1|2000|1|2"));
        QCOMPARE(db.Rows("SELECT nClientID,nUseDirtySyr,nLastSexualPart,dDate,nLastLinkID FROM "
                         "riskbehavior ORDER BY nClientID"),
                 QStringLiteral("1|1|99|2003-01-01|1;2|1|0|1900-01-01|2;4|1|1|2012-01-03|4"));
        QCOMPARE(db.Rows("SELECT nClientID,nEploymentStatus,cOtherEployment,nPlaceOfLiving,"
                         "nEducationLevel,nLegalProblem,nChildCount,bRegPolice,bNarcoDisp,dDate,"
                         "nLastLinkID FROM socialstatus"),
                 QStringLiteral("1|99|нет|99|3|99|2|1|0|1900-01-01|1"));
        QCOMPARE(db.Rows("SELECT nClientID,nStatus,IFNULL(nTreatmentStartDate,'NULL'),nDisease "
                         "FROM healthstatus ORDER BY nClientID"),
                 QStringLiteral("1|1|2005|17;2|1|NULL|17"));
        QCOMPARE(
            log.lines.count(QStringLiteral("w1:Пропущена запись с ошибкой, код заболевания: 777")),
            1);
        QCOMPARE(db.Rows("SELECT ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,"
                         "IFNULL(cComment,'-'),nGroupID,bIsFolder,nProject FROM dailyreport ORDER "
                         "BY ROWID"),
                 QStringLiteral("100|2003-03-01|20|-1|-1|10|ком|0|0|1;"
                                "101|2003-03-02|20|20|-1|-1|-|0|0|1"));

        // Nothing old is left: only the current schema and the watcher's
        // table, which counted a change of every table for the other copies.
        QCOMPARE(db.Rows(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                        "TABLE_SCHEMA=DATABASE() AND TABLE_NAME NOT IN (SELECT "
                                        "TABLE_NAME FROM information_schema.TABLES WHERE "
                                        "TABLE_SCHEMA='%1')")
                             .arg(SchemaTestDatabase::TemplateName())),
                 QString());
        QCOMPARE(db.Scalar("SELECT nChangeID FROM watchdog WHERE cTable='DIR'"),
                 QStringLiteral("6"));
        QVERIFY(log.lines.contains(QStringLiteral("i:Преобразование таблицы orvel_dailyvisits в "
                                                  "dailyvisits.")));
        QVERIFY(log.lines.contains(QStringLiteral("i:Удаление таблицы orvel_settings")));
        QCOMPARE(db.Scalar("SELECT IFNULL(IS_USED_LOCK('dblock'),0)<>CONNECTION_ID()"),
                 QStringLiteral("1"));
        QCOMPARE(QFile(mapping).size(), qint64(sizeof(kMapping) - 1));

        // The restarted program's schema update accepts the database, and the
        // database then is what a new database of the program is.
        CSQLDBUpdater updater;
        QVERIFY(updater.Run(db.Connection()));
        const QString columns = QStringLiteral(
            "SELECT TABLE_NAME,COLUMN_NAME,ORDINAL_POSITION,COLUMN_TYPE,IS_NULLABLE,"
            "IFNULL(COLUMN_DEFAULT,'-'),COLLATION_NAME FROM information_schema.COLUMNS WHERE "
            "TABLE_SCHEMA='%1' ORDER BY TABLE_NAME,ORDINAL_POSITION");
        QCOMPARE(db.Rows(columns.arg(db.Name())),
                 db.Rows(columns.arg(SchemaTestDatabase::TemplateName())));
        const QString keys =
            QStringLiteral("SELECT TABLE_NAME,INDEX_NAME,NON_UNIQUE,SEQ_IN_INDEX,COLUMN_NAME FROM "
                           "information_schema.STATISTICS WHERE TABLE_SCHEMA='%1' ORDER BY "
                           "TABLE_NAME,INDEX_NAME,SEQ_IN_INDEX");
        QCOMPARE(db.Rows(keys.arg(db.Name())),
                 db.Rows(keys.arg(SchemaTestDatabase::TemplateName())));
    }

    void stops_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("mapping entries missing or still -999") << 1 << "Вышлите файл";
        QTest::newRow("damaged archive") << 3 << "Контрольная сумма";
        QTest::newRow("unmapped participation") << 4 << "18218, Внутренняя ошибка: 61";
        QTest::newRow("failing statement") << 5 << "Ошибка выполнения запроса";
        // Stopped once the map of old codes is made (the seventh step).
        QTest::newRow("cancelled in the conversion") << 6 << "прервана";
        // Stopped inside a table's rows: the loader's own clean-up is
        // refused too, and the run's undoing must drop its staging tables.
        QTest::newRow("cancelled while loading") << 7 << "прервана";
        // Dirty old data: what the current tables keep unique comes twice.
        // Left to the server's bulk fill of an empty table, such rows would
        // all be gone without an error.
        QTest::newRow("client codes differing in letter case only")
            << 8 << "повторяются записи, которые должны быть единственными";
        QTest::newRow("report id repeated") << 9 << "повторяются записи";
        QTest::newRow("directory entry id repeated") << 10 << "повторяются записи";
    }

    // A run that stops leaves the database as it was, old tables and their
    // rows included, and no table of its own behind.
    void stops() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        SchemaTestDatabase db(QStringLiteral("ost"));
        FillCurrent(db);
        QList<TestTable> tables = OldTables();
        QByteArray mapping(kMapping);
        switch (kind) {
        case 1:
            mapping.replace("6:Программа\t196608+5\r\n", "");
            mapping.replace("DG.5\t65798146", "DG.5\t-999");
            break;
        case 4:
            tables[6].rows[0][6] = N(61);
            break;
        case 5:
            tables[5].create.replace("`nClientType` int", "`nClientTypeX` int");
            break;
        case 8:
            tables[5].rows[1][1] = T("абв0185ч");
            break;
        case 9:
            tables[10].rows[1][0] = N(100);
            break;
        case 10:
            tables[2].rows[5][0] = N(10);
            break;
        }
        QString archive = WriteArchive(tables, QStringLiteral("kldbkp.%1.bkz").arg(kind));
        if (kind == 3) {
            QByteArray bytes = ReadBytes(archive);
            bytes[100] = char(bytes[100] ^ 0x10);
            QVERIFY(WriteBytes(archive, bytes));
        }
        const QString mappingPath = WriteMapping(mapping);
        const QString before = TableFingerprint(db);
        Log log;
        COldArchiveConverter converter(db.Connection(), &log);
        converter.SetMappingFilePath(mappingPath);
        QString error;
        CancelInPhase inConversion(QStringLiteral("Ковертация базы"), 7);
        CancelInPhase inLoading(QString(), 3);
        CvProgress* progress = kind == 6 ? &inConversion : kind == 7 ? &inLoading : nullptr;
        QVERIFY(!converter.Convert(archive, progress, &error));
        QVERIFY2(error.contains(reason), qPrintable(error + u'\n' + log.lines.join(u'\n')));
        QCOMPARE(TableFingerprint(db), before);
        // The database is the one the program runs on: no restart.
        QVERIFY(!converter.NeedRestart());
        // Nothing of the run is left in the session either, so a next run
        // on this connection can make its map again.
        QVERIFY(!db.Connection()
                     ->Execute(QStringLiteral("SELECT 1 FROM __conv_dirmap LIMIT 1"))
                     .isValid());
        QCOMPARE(db.Scalar("SELECT cString FROM dir"), QStringLiteral("Текущий"));
        QCOMPARE(db.Scalar("SELECT IFNULL(IS_USED_LOCK('dblock'),0)<>CONNECTION_ID()"),
                 QStringLiteral("1"));
        if (kind == 1) {
            // The file now asks for what is missing, keeping what it had.
            QFile file(mappingPath);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            QVERIFY(text.contains(QStringLiteral("6:Программа\t-999\r\n")));
            QVERIFY(text.contains(QStringLiteral("DG.5\t-999\r\n")));
            QVERIFY(text.contains(QStringLiteral("5:Гепатит\t17\r\n")));
            QVERIFY(log.lines.contains(QStringLiteral("w0:") + error));
        }
    }

    // The program ended in a run (power cut, killed): the user's tables are
    // still set aside, the run's unfinished tables stand under their names,
    // and a finished run's tables wait to be dropped. The next run puts the
    // user's tables back before it does anything else; stopped here by a
    // missing mapping entry, it leaves the database as it was before the
    // interrupted run.
    void interruptedRunIsUndone() {
        SchemaTestDatabase db(QStringLiteral("oin"));
        FillCurrent(db);
        const QString before = TableFingerprint(db);
        CxResult tables = db.Exec(QStringLiteral("SHOW TABLES"));
        QStringList aside;
        while (tables.FetchRow())
            if (tables.SFieldValue(0) != QStringLiteral("watchdog"))
                aside << QStringLiteral("`%1` TO `__saved__%1`").arg(tables.SFieldValue(0));
        db.Exec(QStringLiteral("RENAME TABLE ") + aside.join(u','));
        db.Exec("CREATE TABLE dir (ROWID int)");
        db.Exec("INSERT INTO dir VALUES (99)");
        db.Exec("CREATE TABLE orvel_directories (n int)");
        db.Exec("CREATE TABLE __dropped__oldjunk (n int)");

        const QString archive = WriteArchive(OldTables(), QStringLiteral("kldbkp.int.bkz"));
        QByteArray mapping(kMapping);
        mapping.replace("DG.5\t65798146", "DG.5\t-999");
        Log log;
        COldArchiveConverter converter(db.Connection(), &log);
        converter.SetMappingFilePath(WriteMapping(mapping));
        QString error;
        QVERIFY(!converter.Convert(archive, nullptr, &error));
        QVERIFY2(error.contains(QStringLiteral("Вышлите файл")), qPrintable(error));
        QCOMPARE(log.lines.count(QStringLiteral("w1:Прошлое восстановление архива было прервано: "
                                                "таблицы базы данных возвращены в прежнее "
                                                "состояние")),
                 1);
        QCOMPARE(TableFingerprint(db), before);
        QCOMPARE(db.Scalar("SELECT cString FROM dir"), QStringLiteral("Текущий"));
    }

    // An archive without directory entries or daily figures: the generated
    // materials still take ids from 1 on, never the root's 0.
    void archiveWithoutEntries() {
        SchemaTestDatabase db(QStringLiteral("oem"));
        QList<TestTable> tables = OldTables();
        for (TestTable& table : tables)
            if (table.name != "orginfo")
                table.rows.clear();
        const QString archive = WriteArchive(tables, QStringLiteral("kldbkp.empty.bkz"));
        Log log;
        COldArchiveConverter converter(db.Connection(), &log);
        converter.SetMappingFilePath(WriteMapping(QByteArray()));
        QString error;
        QVERIFY2(converter.Convert(archive, nullptr, &error),
                 qPrintable(error + u'\n' + log.lines.join(u'\n')));
        QVERIFY(converter.NeedRestart());
        QCOMPARE(db.Rows("SELECT ROWID,nType FROM dir ORDER BY ROWID"),
                 QStringLiteral("1|393217;2|393218"));
    }
};

QTEST_GUILESS_MAIN(TestOldArchive)
#include "test_old_archive.moc"

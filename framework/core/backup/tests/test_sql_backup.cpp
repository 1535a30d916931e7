// Backup and restore on the private server: a round trip keeps every table's
// definition and rows; damaged or foreign files, a stop, a failed load and a
// killed restore leave the live database as it was.
#include "db/schema/creation_script.h"
#include "db/schema/schema_steps.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/program_marks.h"
#include "framework/core/backup/backup_format.h"
#include "framework/core/backup/backup_reminder.h"
#include "framework/core/backup/sql_backup.h"
#include "framework/core/backup/sql_restore.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "loader/indexed_file.h"
#include "tests/support/schema_test_database.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <iostream>
#include <sys/file.h>

namespace {

class TestProgress : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int count, const QString& caption) override {
        phases << caption;
        lastRange = count;
    }
    void Step(const QString& = QString(), int = 1) override {
        ++steps;
        if (onStep)
            onStep(steps);
    }
    void EndProgress(const QString& text) override { endText = text; }
    bool IsCancelled() const override { return cancelAt >= 0 && steps >= cancelAt; }

    int steps = 0;
    int cancelAt = -1;
    int lastRange = 0;
    QStringList phases;
    QString endText;
    std::function<void(int)> onStep;
};

// Rows of every kind of value: texts with quotes, back-slashes, line breaks
// and a NUL, NULLs, zero dates, Cyrillic and a character outside the basic
// plane, binary bytes, and tables larger than one page and one data part,
// with and without a primary key.
void Fill(TestDatabase& db) {
    const char* statements[] = {
        "INSERT INTO orginf VALUES (0,'OWN','Своя ''кавычка'' \\\\ и\\nстрока','','','','','','',"
        "'','','','','','','',''),(7,'ORG7`7','Чужая','','','','','','','','','','','','','','')",
        "INSERT INTO profiles VALUES ('root','AppState\\\\LastState','значение'),"
        "(NULL,'p',NULL),('root','Backup\\\\x',CONCAT('a',CHAR(0),'b'))",
        "INSERT INTO towns VALUES (1,0,'Область','Область'),(2,1,'Город','Город, Область')",
        // Rows that fill more than one data part.
        "INSERT INTO profiles SELECT 'big',seq,CONCAT(seq,REPEAT('ж',1500000)) FROM seq_1_to_3",
        "INSERT INTO cmp_loadids VALUES (1,7,'2021-01-01'),(2,7,'0000-00-00')",
        "INSERT INTO cmp_visits VALUES (1,1,1,1,1,1),(2,1,1,1,1,NULL)",
        "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,dBirthDate,nSex,bIsFolder,nGroupID,"
        "nRegionDataID) VALUES (0,'НОЛЬ',1990,'0000-00-00',1,0,0,0),"
        "(2,'АБВ0190Ч`72',1990,'1990-01-01',1,0,0,7),(3,NULL,NULL,NULL,NULL,0,0,0)",
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,NPP,nVedID,nRegionDataID) "
        "SELECT seq%100,seq%1000,seq%50,seq,seq%7,1,0 FROM seq_1_to_60000",
        "INSERT INTO dailyredirects (nReportID,nItem,nConsultKey,nCount,nVedID,nRegionDataID) "
        "SELECT seq,seq%20,seq%3,seq,0,0 FROM seq_1_to_55000",
        "CREATE TABLE alltypes (id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, b BLOB, vb "
        "VARBINARY(10), f FLOAT, d DOUBLE, m DECIMAL(12,4), ts TIMESTAMP NULL DEFAULT NULL, dt "
        "DATETIME(3), t TIME, y YEAR, bt BIT(5), u TEXT CHARACTER SET utf8mb4, e "
        "ENUM('a','b'), s SET('x','y'), v INT AS (id*2) VIRTUAL) ENGINE=InnoDB AUTO_INCREMENT=50",
        "INSERT INTO alltypes (b,vb,f,d,m,ts,dt,t,y,bt,u,e,s) VALUES "
        "(X'00FF27225C0A0D1A',X'',1.25,0.1,-12.3456,'2021-03-28 02:30:00','2021-01-01 "
        "10:00:00.123','-01:02:03',2021,b'10101',CONVERT(X'F09F98806B' USING utf8mb4),'b','x,y'),"
        "(NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,'',NULL,'')",
        "CREATE TABLE _cache_fast (n INT) ENGINE=MyISAM",
        "INSERT INTO _cache_fast VALUES (1)",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}

// Every base table's definition and row checksum, and the database's default
// character set.
QMap<QString, QString> Snapshot(TestDatabase& db) {
    QMap<QString, QString> out;
    CxResult tables = db.Exec(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"));
    QStringList names;
    while (tables.FetchRow())
        if (!tables.SFieldValue(0).startsWith(QLatin1String("_krs_"))) // a killed restore's
            names << tables.SFieldValue(0);
    for (const QString& name : names) {
        CxResult create = db.Exec(QStringLiteral("SHOW CREATE TABLE `%1`").arg(name));
        create.FetchRow();
        CxResult sum = db.Exec(QStringLiteral("CHECKSUM TABLE `%1` EXTENDED").arg(name));
        sum.FetchRow();
        out.insert(name,
                   create.SFieldValue(1) + QStringLiteral("\nchecksum ") + sum.SFieldValue(1));
    }
    out.insert(
        QStringLiteral("(charset)"),
        db.Scalar(QStringLiteral("SELECT DEFAULT_COLLATION_NAME FROM "
                                 "information_schema.SCHEMATA WHERE SCHEMA_NAME=DATABASE()")));
    return out;
}

// Table by table, so a difference shows by name.
#define COMPARE_SNAPSHOTS(actual, expected)                                                        \
    do {                                                                                           \
        const auto a = (actual);                                                                   \
        const auto e = (expected);                                                                 \
        QCOMPARE(a.keys(), e.keys());                                                              \
        for (const QString& key : e.keys())                                                        \
            QCOMPARE(key + u'\n' + a.value(key), key + u'\n' + e.value(key));                      \
    } while (false)

QStringList StagingTables(TestDatabase& db) {
    return db.Rows(QStringLiteral("SHOW TABLES LIKE '\\_krs\\_%'")).split(u';', Qt::SkipEmptyParts);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Sets the container's whole-file checksum again after a test changed bytes,
// so only the checks behind it can find the change.
void FixWholeChecksum(QByteArray& file) {
    const quint32 crc = CIndexedFile::Checksum(file.constData(), size_t(file.size() - 128));
    for (int i = 0; i < 4; ++i)
        file[file.size() - 128 + 52 + i] = char((crc >> (8 * i)) & 0xFF);
}

// The header of an open backup.
bool ReadHeader(CIndexedFile& file, kbackup::Header* header) {
    if (!file.SeekToPart(ProgramMarks().backupHeaderPart.toStdString()))
        return false;
    QByteArray raw(qsizetype(file.PartBytesLeft()), '\0');
    raw.resize(qsizetype(file.ReadRaw(raw.data(), size_t(raw.size()))));
    QString why;
    return kbackup::ParseHeader(raw, header, &why);
}

// The backup `file` again, written to `path`, with `key` added to the
// definition of cmp_visits: every other part as stored, every checksum good.
// Empty on a failure.
QByteArray WithKey(const QByteArray& file, const QByteArray& key, const QString& path) {
    const QString source = path + QStringLiteral(".source");
    WriteAll(source, file);
    CIndexedFile in;
    if (!in.Open(source.toStdString(), CIndexedFile::modeRead))
        return {};
    kbackup::Header header;
    if (!ReadHeader(in, &header))
        return {};
    bool found = false;
    for (kbackup::Table& table : header.tables) {
        const qsizetype end = table.create.lastIndexOf(") ENGINE");
        if (table.name == "cmp_visits" && end > 0) {
            table.create.insert(end, "," + key);
            found = true;
        }
    }
    const QByteArray edited = kbackup::SerializeHeader(header);
    CIndexedFile out;
    if (!found || !out.Open(path.toStdString(), CIndexedFile::modeCreate))
        return {};
    for (const auto& [name, part] : in.Directory()) {
        const bool ok =
            name == ProgramMarks().backupHeaderPart.toStdString()
                ? out.WriteStoredPart(name, edited.constData(), size_t(edited.size()), false)
                : out.WriteStoredPart(name, file.constData() + part.nOffset, size_t(part.nLength),
                                      part.bCompressed != 0);
        if (!ok)
            return {};
    }
    return out.Close() ? ReadAll(path) : QByteArray();
}

// A converter of "*.old" archives that builds its tables one by one, a
// progress step after each.
class StepConverter : public CSQLRestoreWizard_Converter {
public:
    static constexpr int kTables = 10;
    QString GetFileFilter() override { return QStringLiteral("Old (*.old)|*.old"); }
    bool IsValid(const QString& path) override { return path.endsWith(QLatin1String(".old")); }
    QString GetFileInfo(const QString&) override { return QStringLiteral("<b>old</b>"); }
    bool Process(CSQLRestoreContext& context) override {
        for (int i = 0; i < kTables; ++i) {
            const QString table = i ? QStringLiteral("t%1").arg(i) : QStringLiteral("towns");
            if (!context.sql->Execute(QStringLiteral("CREATE TABLE %1 (n INT)").arg(table))
                     .isValid() ||
                !context.sql
                     ->Execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table).arg(i))
                     .isValid())
                return false;
            if (context.progress)
                context.progress->Step();
        }
        return true;
    }
};

// Runs as a child process: restores (or backs up, or converts) and, at the
// given step of its progress, says so and waits to be killed.
int KilledChild(const QString& what, const QString& database, const QString& path, int step) {
    SQLConnectXML info = TestDatabase::ServerInfo();
    info.put_Database(database);
    CxMySQL sql;
    if (!sql.Connect(&info))
        return 2;
    TestProgress progress;
    progress.onStep = [step](int steps) {
        if (steps == step) {
            std::cout << "working" << std::endl;
            std::getchar(); // the parent kills us here
        }
    };
    QString error;
    if (what == QLatin1String("--backup-child"))
        return CSQLBackup::Backup(&sql, path, &progress, nullptr, &error) ? 0 : 1;
    CSQLRestore restore;
    if (what == QLatin1String("--convert-child"))
        restore.AddConverter(std::make_unique<StepConverter>());
    return restore.Restore(&sql, path, &progress, nullptr, &error) ? 0 : 1;
}

// Starts a child that runs `what` and kills it (SIGKILL) at the step; answers
// its pid, gone by then.
qint64 KillChildAt(const QString& what, const QString& database, const QString& path, int step) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {what, database, path, QString::number(step)});
    if (!child.waitForStarted())
        return -1;
    const qint64 pid = child.processId();
    QByteArray out;
    while (!out.contains("working") && child.waitForReadyRead(60000))
        out += child.readAllStandardOutput();
    if (!out.contains("working")) {
        qWarning() << out << child.readAllStandardError();
        return -1;
    }
    child.kill();
    if (!child.waitForFinished() || child.exitStatus() != QProcess::CrashExit)
        return -1;
    return pid;
}

// The moments a kill test kills at: steps drawn from a fixed seed, so a
// failure comes back on the next run.
QList<int> SeededSteps(quint32 seed, int count, int first, int last) {
    QRandomGenerator random(seed);
    QList<int> steps;
    for (int i = 0; i < count; ++i)
        steps << random.bounded(first, last + 1);
    return steps;
}

} // namespace

class TestSqlBackup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A backup of a filled database, made once.
    QString FilledBackup() {
        const QString path = Path(QStringLiteral("filled.k2backup"));
        if (!QFile::exists(path)) {
            SchemaTestDatabase source;
            Fill(source);
            QString error;
            if (!CSQLBackup::Backup(source.Connection(), path, nullptr, nullptr, &error))
                qWarning() << error;
            m_filledSnapshot = Snapshot(source);
        }
        return path;
    }
    QMap<QString, QString> m_filledSnapshot;

    // A live database that the refused restores must all leave as it is.
    TestDatabase& Untouched() {
        if (!m_untouched) {
            m_untouched = std::make_unique<SchemaTestDatabase>();
            m_untouched->Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
            m_untouchedSnapshot = Snapshot(*m_untouched);
        }
        return *m_untouched;
    }
    std::unique_ptr<SchemaTestDatabase> m_untouched;
    QMap<QString, QString> m_untouchedSnapshot;

private slots:
    // The installation's settings of this run stay in a folder of its own.
    void initTestCase() {
        QVERIFY(m_settings.isValid());
        CTarvikApp::SetAllUsersFile(m_settings.filePath(QStringLiteral("AllUsers.conf")));
    }
    void cleanupTestCase() { CTarvikApp::SetAllUsersFile(QString()); }

    void roundTripKeepsEveryTable() {
        SchemaTestDatabase source;
        Fill(source);
        CTarvikApp::WriteAllUsersString(QLatin1String(kBackupSettingsSection),
                                        QLatin1String(kBackupDaysEntry), QStringLiteral("5"));
        // The program names two tables; the others read as one neutral line.
        SetTableCaptionLookup([](const QString& table) {
            if (table == QLatin1String("dailyvisits"))
                return QStringLiteral("Визиты клиентов");
            if (table == QLatin1String("dailyredirects"))
                return QStringLiteral("Консультации");
            return QString();
        });
        const auto forget = qScopeGuard([] { SetTableCaptionLookup({}); });
        const auto checkRows = [](const QStringList& lines) {
            QVERIFY2(lines.contains(QStringLiteral("Визиты клиентов: 60000")),
                     qPrintable(lines.join(u'\n')));
            QVERIFY2(lines.contains(QStringLiteral("Консультации: 55000")),
                     qPrintable(lines.join(u'\n')));
            QCOMPARE(
                lines.filter(QRegularExpression(QStringLiteral("^Служебные данные: \\d+$"))).size(),
                1);
            QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^[a-z_0-9]+: \\d+$"))),
                     QStringList());
        };
        const QString path = Path(QStringLiteral("round.k2backup"));
        TestProgress backupProgress;
        CvRunLogLines log;
        QString error;
        QVERIFY2(CSQLBackup::Backup(source.Connection(), path, &backupProgress, &log, &error),
                 qPrintable(error));
        QVERIFY(backupProgress.steps > 3);
        checkRows(log.lines);
        log.lines.clear();
        QCOMPARE(CTarvikApp::GetAllUsersString(QLatin1String(kBackupSettingsSection),
                                               QLatin1String(kBackupDaysEntry)),
                 QStringLiteral("0"));
        // Nothing but the backup is left in the folder.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("round.k2backup")});

        // The target holds other tables and rows, and a work table.
        SchemaTestDatabase target;
        target.Exec(QStringLiteral("INSERT INTO towns VALUES (9,0,'Другой','Другой')"));
        target.Exec(QStringLiteral("CREATE TABLE extra (n INT)"));
        target.Exec(QStringLiteral("CREATE TABLE _cache_clients (n INT) ENGINE=MyISAM"));
        target.Exec(QStringLiteral("ALTER DATABASE `%1` CHARACTER SET latin1").arg(target.Name()));
        CSQLRestore restore;
        restore.SetSchemaVersion(kCurrentSchemaVersion);
        CSQLBackupInfo info;
        CSQLRestoreWizard_Converter* converter = nullptr;
        QVERIFY(restore.Inspect(path, &info, &converter, &error));
        QVERIFY(!converter);
        QCOMPARE(info.schemaVersion, kCurrentSchemaVersion);
        QCOMPARE(info.database, source.Name());
        QVERIFY(info.rows >= 115000);
        TestProgress restoreProgress;
        QVERIFY2(restore.Restore(target.Connection(), path, &restoreProgress, &log, &error),
                 qPrintable(error));
        QVERIFY(restore.NeedRestart());
        checkRows(log.lines);

        QMap<QString, QString> expected = Snapshot(source);
        expected.remove(QStringLiteral("_cache_fast")); // work tables are not kept
        COMPARE_SNAPSHOTS(Snapshot(target), expected);
        QCOMPARE(target.Scalar(QStringLiteral("SELECT HEX(u) FROM alltypes WHERE id=50")),
                 QStringLiteral("F09F98806B"));
    }

    void refusedFilesLeaveTheDatabaseAlone_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("bit flipped") << "flip";
        QTest::newRow("data part damaged behind a good whole checksum") << "part";
        QTest::newRow("header damaged behind a good whole checksum") << "header";
        QTest::newRow("foreign bytes") << "foreign";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("another container") << "container";
        QTest::newRow("missing file") << "missing";
        QTest::newRow("newer format") << "newer";
        // Rows that repeat a key behind good checksums (a file edited by
        // hand): the server's bulk fill of an empty table must not take them
        // as an empty table.
        QTest::newRow("unique key repeated") << "UNIQUE KEY";
        QTest::newRow("primary key repeated") << "PRIMARY KEY";
    }

    void refusedFilesLeaveTheDatabaseAlone() {
        QFETCH(QString, damage);
        const QByteArray good = ReadAll(FilledBackup());
        QVERIFY(!good.isEmpty());
        QByteArray bytes = good;
        const QString path = Path(damage + QStringLiteral(".k2backup"));
        if (damage == QLatin1String("truncated")) {
            bytes.chop(bytes.size() / 3);
        } else if (damage == QLatin1String("flip")) {
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x10);
        } else if (damage == QLatin1String("part") || damage == QLatin1String("header")) {
            CIndexedFile file;
            QVERIFY(file.Open(FilledBackup().toStdString(), CIndexedFile::modeRead));
            const auto& dir = file.Directory();
            const auto it = damage == QLatin1String("header")
                                ? dir.find(ProgramMarks().backupHeaderPart.toStdString())
                                : dir.find("Data/1/0");
            QVERIFY(it != dir.end());
            // Inside the stored bytes (past a compressed part's block header).
            const qint64 at = it->second.nOffset + std::min<qint64>(20, it->second.nLength - 1);
            bytes[at] = char(bytes[at] ^ 0x01);
            FixWholeChecksum(bytes);
        } else if (damage == QLatin1String("foreign")) {
            bytes = QByteArray(5000, 'x');
        } else if (damage == QLatin1String("empty")) {
            bytes.clear();
        } else if (damage == QLatin1String("container")) {
            // A container of the right kind without our header.
            CIndexedFile file;
            QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeCreate));
            QVERIFY(file.WriteStoredPart("Backup", "x", 1, false));
            QVERIFY(file.Close());
            bytes = ReadAll(path);
        } else if (damage == QLatin1String("newer")) {
            // A whole file whose header a later program wrote.
            CIndexedFile good;
            QVERIFY(good.Open(FilledBackup().toStdString(), CIndexedFile::modeRead));
            kbackup::Header header;
            QVERIFY(ReadHeader(good, &header));
            header.formatVersion = kbackup::kFormatVersion + 1;
            const QByteArray newer = kbackup::SerializeHeader(header);
            CIndexedFile file;
            QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeCreate));
            QVERIFY(file.WriteStoredPart(ProgramMarks().backupHeaderPart.toStdString(),
                                         newer.constData(), newer.size(), false));
            QVERIFY(file.Close());
            bytes = ReadAll(path);
        } else if (damage.endsWith(QLatin1String("KEY"))) {
            // The same rows; the definition of a table gains a key over a
            // column its two rows share.
            bytes = WithKey(good, damage.toLatin1() + " (`nLoadID`)", path);
            QVERIFY(!bytes.isEmpty());
        }
        if (damage != QLatin1String("missing"))
            WriteAll(path, bytes);

        TestDatabase& live = Untouched();
        const auto before = m_untouchedSnapshot;
        CSQLRestore restore;
        CSQLBackupInfo info;
        CSQLRestoreWizard_Converter* converter = nullptr;
        QString error;
        const bool inspected = restore.Inspect(path, &info, &converter, &error);
        QCOMPARE(inspected,
                 damage == QLatin1String("part") || damage.endsWith(QLatin1String("KEY")));
        error.clear();
        CvRunLogLines log;
        QVERIFY(!restore.Restore(live.Connection(), path, nullptr, &log, &error));
        QVERIFY(!error.isEmpty());
        // The user reads why in Russian; a newer file is not called damaged.
        QVERIFY2(!error.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))),
                 qPrintable(error));
        if (damage.endsWith(QLatin1String("KEY")))
            QVERIFY2(error.contains(QStringLiteral("повторяются записи")), qPrintable(error));
        if (damage == QLatin1String("newer"))
            QVERIFY2(error.contains(QStringLiteral("более новой")) &&
                         !error.contains(QStringLiteral("поврежден")),
                     qPrintable(error));
        QVERIFY(log.lines.last().startsWith(QLatin1String("error: ")));
        QVERIFY(!restore.NeedRestart());
        COMPARE_SNAPSHOTS(Snapshot(live), before);
        QVERIFY(StagingTables(live).isEmpty());
    }

    void newerSchemaIsRefused() {
        TestDatabase& live = Untouched();
        const auto before = m_untouchedSnapshot;
        CSQLRestore restore;
        restore.SetSchemaVersion(kCurrentSchemaVersion - 1);
        QString error;
        QVERIFY(!restore.Restore(live.Connection(), FilledBackup(), nullptr, nullptr, &error));
        QVERIFY2(error.contains(QString::number(kCurrentSchemaVersion)), qPrintable(error));
        COMPARE_SNAPSHOTS(Snapshot(live), before);
    }

    // A stop by the user at any point of the load, or a statement the server
    // refuses, ends with the live tables untouched and no staging left.
    void stoppedOrFailedLoadChangesNothing_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<bool>("serverRefuses");
        QTest::newRow("stop at the first table") << 2 << false;
        QTest::newRow("stop half way") << 8 << false;
        QTest::newRow("stop before the swap") << 1000 << false;
        QTest::newRow("server refuses a table") << -1 << true;
    }

    void stoppedOrFailedLoadChangesNothing() {
        QFETCH(int, cancelAt);
        QFETCH(bool, serverRefuses);
        const QString path = FilledBackup();
        TestDatabase& live = Untouched();
        const auto before = m_untouchedSnapshot;
        TestProgress progress;
        if (cancelAt == 1000) // every table loaded: only the swap is left
            progress.onStep = [&](int steps) {
                if (progress.phases.size() == 2 && steps == 1 + progress.lastRange) {
                    QVERIFY(!StagingTables(live).isEmpty());
                    progress.cancelAt = steps;
                }
            };
        else
            progress.cancelAt = cancelAt;
        if (serverRefuses) // the name of the first staging table is taken by a view
            live.Exec(QStringLiteral("CREATE VIEW _krs_new_5 AS SELECT 1 AS n"));
        CSQLRestore restore;
        QString error;
        QVERIFY(!restore.Restore(live.Connection(), path, &progress, nullptr, &error));
        QVERIFY(!error.isEmpty());
        if (serverRefuses)
            live.Exec(QStringLiteral("DROP VIEW _krs_new_5"));
        COMPARE_SNAPSHOTS(Snapshot(live), before);
        QVERIFY(StagingTables(live).isEmpty());
    }

    void killedRestoreChangesNothing() {
        const QString path = FilledBackup();
        SchemaTestDatabase live;
        live.Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
        const auto before = Snapshot(live);
        QVERIFY(KillChildAt(QStringLiteral("--restore-child"), live.Name(), path, 6) > 0);
        QVERIFY(!StagingTables(live).isEmpty()); // it was loading when it died
        COMPARE_SNAPSHOTS(Snapshot(live), before);
        // Its leftovers are neither backed up nor in the way of the next restore.
        const QString again = Path(QStringLiteral("with-leftovers.k2backup"));
        QString error;
        QVERIFY2(CSQLBackup::Backup(live.Connection(), again, nullptr, nullptr, &error),
                 qPrintable(error));
        CSQLRestore restore;
        QVERIFY2(restore.Restore(live.Connection(), path, nullptr, nullptr, &error),
                 qPrintable(error));
        QVERIFY(StagingTables(live).isEmpty());
        auto expected = m_filledSnapshot;
        expected.remove(QStringLiteral("_cache_fast"));
        COMPARE_SNAPSHOTS(Snapshot(live), expected);
        QVERIFY(restore.Restore(live.Connection(), again, nullptr, nullptr, &error));
        COMPARE_SNAPSHOTS(Snapshot(live), before);
    }

    // Killed at seeded moments of its load, a restore leaves its staging
    // copy; the next start removes it and says so, and the data are as they
    // were. A restore running now in another copy keeps its tables.
    void killedRestoreIsCleanedAtTheNextStart() {
        const QString path = FilledBackup();
        SchemaTestDatabase live;
        live.Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
        CSQLDBUpdater settle; // the start's repairs, so the next start changes nothing else
        QVERIFY(settle.Run(live.Connection()));
        CTarvikApp::ClearErrorMessages();
        const auto before = Snapshot(live);
        for (int step : SeededSteps(25, 3, 2, 12)) {
            QVERIFY(KillChildAt(QStringLiteral("--restore-child"), live.Name(), path, step) > 0);
            const QStringList staged = StagingTables(live);
            QVERIFY2(!staged.isEmpty(), qPrintable(QString::number(step)));

            // Another copy restores now: its lock keeps the tables. The
            // server frees the killed child's lock only once it has seen its
            // connection go, so the other copy waits for it a little.
            CxMySQL other;
            SQLConnectXML info = live.Info();
            QVERIFY(other.Connect(&info));
            QString report;
            CxResult lock = other.Execute(
                QStringLiteral("SELECT GET_LOCK(CONCAT('krs_',LEFT(MD5(DATABASE()),24)),30)"));
            QVERIFY(lock.FetchRow() && lock.SFieldValue(0) == QLatin1String("1"));
            QVERIFY(CSQLRestore::CleanInterrupted(live.Connection(), &report));
            QCOMPARE(report, QString());
            QCOMPARE(StagingTables(live), staged);
            other.ExecuteCleanup(
                QStringLiteral("SELECT RELEASE_LOCK(CONCAT('krs_',LEFT(MD5(DATABASE()),24)))"));

            CSQLDBUpdater start;
            QVERIFY(start.Run(live.Connection()));
            QVERIFY(StagingTables(live).isEmpty());
            const QString errors = CTarvikApp::TakeErrorMessages();
            QVERIFY2(errors.contains(QStringLiteral("Восстановление из резервной копии было "
                                                    "прервано")) &&
                         errors.contains(QStringLiteral("база данных осталась такой, какой была")),
                     qPrintable(errors));
            COMPARE_SNAPSHOTS(Snapshot(live), before);
        }
        // Nothing left: the next start says nothing.
        CSQLDBUpdater quiet;
        QVERIFY(quiet.Run(live.Connection()));
        QCOMPARE(CTarvikApp::TakeErrorMessages(), QString());
    }

    // Killed at seeded moments of its work, a conversion of an old archive
    // leaves its scratch database; the next start removes it and says so, and
    // the data are as they were; a conversion running now in another copy
    // keeps it. The next conversion also removes one, says so, and converts.
    void killedConversionIsCleanedUp() {
        const QString path = Path(QStringLiteral("killed.old"));
        WriteAll(path, "old archive");
        SchemaTestDatabase live;
        live.Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
        CSQLDBUpdater settle;
        QVERIFY(settle.Run(live.Connection()));
        CTarvikApp::ClearErrorMessages();
        const auto before = Snapshot(live);
        const QString scratch = live.Name().left(52) + QStringLiteral("_krs_convert");
        const QString scratchTables =
            QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='%1'")
                .arg(scratch);
        const QString scratchThere =
            QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE "
                           "SCHEMA_NAME='%1'")
                .arg(scratch);
        for (int step : SeededSteps(31, 3, 1, StepConverter::kTables - 1)) {
            QVERIFY(KillChildAt(QStringLiteral("--convert-child"), live.Name(), path, step) > 0);
            QCOMPARE(live.Scalar(scratchTables).toInt(), step);
            COMPARE_SNAPSHOTS(Snapshot(live), before);

            // Another copy converts now: its lock keeps the scratch database.
            CxMySQL other;
            SQLConnectXML info = live.Info();
            QVERIFY(other.Connect(&info));
            CxResult lock = other.Execute(
                QStringLiteral("SELECT GET_LOCK(CONCAT('krs_',LEFT(MD5(DATABASE()),24)),0)"));
            QVERIFY(lock.FetchRow() && lock.SFieldValue(0) == QLatin1String("1"));
            QString report;
            QVERIFY(CSQLRestore::CleanInterrupted(live.Connection(), &report));
            QCOMPARE(report, QString());
            QCOMPARE(live.Scalar(scratchTables).toInt(), step);
            other.ExecuteCleanup(
                QStringLiteral("SELECT RELEASE_LOCK(CONCAT('krs_',LEFT(MD5(DATABASE()),24)))"));

            CSQLDBUpdater start;
            QVERIFY(start.Run(live.Connection()));
            QCOMPARE(live.Scalar(scratchThere).toInt(), 0);
            const QString errors = CTarvikApp::TakeErrorMessages();
            QVERIFY2(errors.contains(QStringLiteral("Преобразование архива было прервано")) &&
                         errors.contains(scratch) &&
                         errors.contains(QStringLiteral("база данных осталась такой, какой была")),
                     qPrintable(errors));
            COMPARE_SNAPSHOTS(Snapshot(live), before);
        }
        CSQLDBUpdater quiet;
        QVERIFY(quiet.Run(live.Connection()));
        QCOMPARE(CTarvikApp::TakeErrorMessages(), QString());

        // Killed once more, then converted to the end in this copy.
        QVERIFY(KillChildAt(QStringLiteral("--convert-child"), live.Name(), path, 4) > 0);
        QCOMPARE(live.Scalar(scratchTables).toInt(), 4);
        CSQLRestore restore;
        restore.AddConverter(std::make_unique<StepConverter>());
        QString error;
        QVERIFY2(restore.Restore(live.Connection(), path, nullptr, nullptr, &error),
                 qPrintable(error));
        const QString errors = CTarvikApp::TakeErrorMessages();
        QVERIFY2(errors.contains(QStringLiteral("Преобразование архива было прервано")),
                 qPrintable(errors));
        QCOMPARE(live.Scalar(scratchThere).toInt(), 0);
        QCOMPARE(live.Rows(QStringLiteral("SELECT * FROM t9")), QStringLiteral("9"));
    }

    // Two restores of one database never meet: the second is refused while
    // the first runs, and the first's tables stay.
    void secondRestoreIsRefusedWhileOneRuns() {
        const QString path = FilledBackup();
        SchemaTestDatabase live;
        const auto before = Snapshot(live);
        CxMySQL other;
        SQLConnectXML info = live.Info();
        QVERIFY(other.Connect(&info));
        QVERIFY(other.Execute(QStringLiteral("CREATE TABLE _krs_new_0 (n INT)")).isValid());
        CxResult lock = other.Execute(
            QStringLiteral("SELECT GET_LOCK(CONCAT('krs_',LEFT(MD5(DATABASE()),24)),0)"));
        QVERIFY(lock.FetchRow() && lock.SFieldValue(0) == QLatin1String("1"));
        CSQLRestore restore;
        QString error;
        QVERIFY(!restore.Restore(live.Connection(), path, nullptr, nullptr, &error));
        QVERIFY2(error.contains(QStringLiteral("другой копией программы")), qPrintable(error));
        QCOMPARE(StagingTables(live), QStringList{QStringLiteral("_krs_new_0")});
        COMPARE_SNAPSHOTS(Snapshot(live), before);
    }

    // Killed at seeded moments, a backup leaves its temporary file; the next
    // backup into the folder removes such leftovers, and only those: a file
    // of a live process, one a running backup holds, other names stay.
    void killedBackupsLeftoversGoWithTheNextBackup() {
        SchemaTestDatabase source;
        Fill(source);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("office.k2backup"));
        qint64 dead = -1;
        QStringList leftovers;
        for (int step : SeededSteps(3, 2, 1, 6)) {
            dead = KillChildAt(QStringLiteral("--backup-child"), source.Name(), path, step);
            QVERIFY(dead > 0);
            // One leftover: the killed backup before this one removed the
            // leftover of the one before it.
            leftovers = QDir(dir.path())
                            .entryList({QStringLiteral(".office.k2backup.*.tmp")},
                                       QDir::Files | QDir::Hidden);
            QCOMPARE(leftovers.size(), 1);
            QVERIFY(leftovers[0].startsWith(QStringLiteral(".office.k2backup.%1-").arg(dead)));
        }
        const QString own = QString::number(QCoreApplication::applicationPid());
        const QString ofDead = QString::number(dead);
        const QStringList kept = {
            QStringLiteral(".office.k2backup.%1-0000abcd.tmp").arg(own),  // a live process
            QStringLiteral(".held.k2backup.%1-1234abcd.tmp").arg(ofDead), // running elsewhere
            QStringLiteral("office.k2backup.%1-1234abcd.tmp").arg(ofDead),
            QStringLiteral(".office.k2backup.%1-1234ABCD.tmp").arg(ofDead),
            QStringLiteral(".office.k2backup.%1.tmp").arg(ofDead),
            QStringLiteral("notes.tmp"),
        };
        for (const QString& name : kept)
            WriteAll(dir.filePath(name), "keep");
        const QString madeByHand = QStringLiteral(".other.k2backup.%1-00ff00ff.tmp").arg(ofDead);
        WriteAll(dir.filePath(madeByHand), "gone");
        leftovers << madeByHand;
        QFile held(dir.filePath(kept[1]));
        QVERIFY(held.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);

        CvRunLogLines log;
        QString error;
        QVERIFY2(CSQLBackup::Backup(source.Connection(), path, nullptr, &log, &error),
                 qPrintable(error));
        QStringList expected = kept;
        expected << QStringLiteral("office.k2backup");
        expected.sort();
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        QCOMPARE(files, expected);
        for (const QString& name : kept)
            QCOMPARE(ReadAll(dir.filePath(name)), QByteArray("keep"));
        for (const QString& name : leftovers)
            QVERIFY2(log.lines.join(u'\n').contains(name), qPrintable(name));
    }

    void backupStopsCleanly_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("stopped by the user") << "cancel";
        QTest::newRow("folder missing") << "folder";
    }

    void backupStopsCleanly() {
        QFETCH(QString, failure);
        SchemaTestDatabase source;
        Fill(source);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("kept.k2backup"));
        WriteAll(path, "the previous backup");
        TestProgress progress;
        if (failure == QLatin1String("cancel"))
            progress.cancelAt = 3;
        else
            path = dir.filePath(QStringLiteral("no/such/folder/new.k2backup"));
        CTarvikApp::WriteAllUsersString(QLatin1String(kBackupSettingsSection),
                                        QLatin1String(kBackupDaysEntry), QStringLiteral("4"));
        QString error;
        QVERIFY(!CSQLBackup::Backup(source.Connection(), path, &progress, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("kept.k2backup"))),
                 QByteArray("the previous backup"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("kept.k2backup")});
        QCOMPARE(CTarvikApp::GetAllUsersString(QLatin1String(kBackupSettingsSection),
                                               QLatin1String(kBackupDaysEntry)),
                 QStringLiteral("4"));
    }

    // A backup of an older schema comes back at its own version; the
    // program's start-up then takes it to the current one.
    void olderSchemaIsUpgradedAfterTheRestore() {
        CxMySQL admin;
        SQLConnectXML server = TestDatabase::ServerInfo();
        QVERIFY(admin.Connect(&server));
        const QString name = QStringLiteral("kt_old_%1").arg(QCoreApplication::applicationPid());
        admin.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        SQLConnectXML info = server;
        info.put_Database(name);
        CxMySQL old;
        QString error;
        QCOMPARE(SQLConnectOrCreate(&old, info, QByteArray(kDatabaseCreationScript), &error),
                 SQLConnectResult::Connected);
        QVERIFY(old.Execute(QStringLiteral(
                                "INSERT INTO dir (ROWID,cString,nDirType) VALUES (5,'OLD',1)"))
                    .isValid());
        const QString path = Path(QStringLiteral("old.k2backup"));
        const bool written = CSQLBackup::Backup(&old, path, nullptr, nullptr, &error);
        admin.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        QVERIFY2(written, qPrintable(error));

        SchemaTestDatabase live;
        CSQLRestore restore;
        restore.SetSchemaVersion(kCurrentSchemaVersion);
        QVERIFY2(restore.Restore(live.Connection(), path, nullptr, nullptr, &error),
                 qPrintable(error));
        const QString version =
            QStringLiteral("SELECT cValue FROM dbsettings WHERE cVariable='DatabaseVersion'");
        QVERIFY(live.Scalar(version).toInt() < kCurrentSchemaVersion);
        CSQLDBUpdater updater;
        QVERIFY(updater.Run(live.Connection()));
        QCOMPARE(live.Scalar(version).toInt(), kCurrentSchemaVersion);
        QCOMPARE(live.Scalar(QStringLiteral("SELECT cString FROM dir WHERE ROWID=5")),
                 QStringLiteral("OLD"));
    }

    void convertersTakeOtherArchives_data() {
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("conversion succeeds") << true;
        QTest::newRow("conversion fails half way") << false;
    }

    void convertersTakeOtherArchives() {
        QFETCH(bool, succeeds);
        class Converter : public CSQLRestoreWizard_Converter {
        public:
            explicit Converter(bool ok) : m_ok(ok) {}
            QString GetFileFilter() override { return QStringLiteral("Old (*.old)|*.old"); }
            bool IsValid(const QString& path) override { return path.endsWith(".old"); }
            QString GetFileInfo(const QString&) override { return QStringLiteral("<b>old</b>"); }
            bool Process(CSQLRestoreContext& context) override {
                if (!context.sql->Execute(QStringLiteral("CREATE TABLE towns (ROWID INT, c TEXT)"))
                         .isValid() ||
                    !context.sql
                         ->Execute(QStringLiteral("INSERT INTO towns VALUES (1,'из архива')"))
                         .isValid())
                    return false;
                if (context.log)
                    context.log->AddInfoMessage(QStringLiteral("converted"), 1);
                return m_ok;
            }

        private:
            bool m_ok;
        };
        const QString path = Path(QStringLiteral("archive.old"));
        WriteAll(path, "old archive");
        SchemaTestDatabase live;
        const auto before = Snapshot(live);
        CSQLRestore restore;
        restore.AddConverter(std::make_unique<Converter>(succeeds));
        QCOMPARE(restore.GetFileFilter(),
                 CSQLBackup::FileFilter() + QStringLiteral("|Old (*.old)|*.old"));
        CSQLBackupInfo info;
        CSQLRestoreWizard_Converter* converter = nullptr;
        QString error;
        QVERIFY(restore.Inspect(path, &info, &converter, &error));
        QVERIFY(converter);
        CvRunLogLines log;
        QCOMPARE(restore.Restore(live.Connection(), path, nullptr, &log, &error), succeeds);
        QVERIFY(log.lines.contains(QStringLiteral("converted")));
        // Only a restore that replaced the live tables asks for a restart.
        QCOMPARE(restore.NeedRestart(), succeeds);
        if (succeeds) {
            QCOMPARE(live.Rows(QStringLiteral("SHOW TABLES")), QStringLiteral("towns"));
            QCOMPARE(live.Rows(QStringLiteral("SELECT * FROM towns")),
                     QStringLiteral("1|из архива"));
        } else {
            // The live database is the one the program runs on: no restart.
            QVERIFY(!restore.NeedRestart());
            QVERIFY(!error.isEmpty());
            COMPARE_SNAPSHOTS(Snapshot(live), before);
        }
        QVERIFY(live.Scalar(QStringLiteral("SHOW DATABASES LIKE '%\\_krs\\_convert'")).isEmpty());
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 5 &&
        (QByteArray(argv[1]) == "--restore-child" || QByteArray(argv[1]) == "--backup-child" ||
         QByteArray(argv[1]) == "--convert-child"))
        return KilledChild(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                           QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toInt());
    TestSqlBackup test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sql_backup.moc"

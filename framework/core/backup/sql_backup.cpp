#include "sql_backup.h"

#include "backup_format.h"
#include "backup_reminder.h"
#include "framework/core/app/program_marks.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/run_steps.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "loader/indexed_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <future>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kPageRows = 50000;
// Rows are cut into parts of about this many bytes: the reader inflates one
// part at a time, so this bounds its memory.
constexpr qsizetype kPartBytes = 4 << 20;
// zlib's level: 1 packs a little less than the default but three times as
// fast, which keeps the backup ahead of the dump-and-gzip reference.
constexpr int kCompressionLevel = 1;
// Parts being compressed on other threads while the next rows are read.
constexpr size_t kMaxPartsInFlight = 3;

constexpr CxTr Tr("CSQLBackup::Backup");

struct TablePlan {
    kbackup::Table table;
    QString name;
    QString selectList;
    int keyIndex = -1; // the single integer primary key among the columns, or -1
    int index = 0;     // the table's place in the backup, which names its parts
    qint64 estimatedRows = 0;
};

bool IsIntegerType(const QString& type) {
    const QString word = type.trimmed().toLower().section(u'(', 0, 0).section(u' ', 0, 0);
    return word.endsWith(QLatin1String("int")) || word == QLatin1String("integer");
}

bool SyncFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A backup writes ".<name>.<pid>-<8 hex digits>.tmp" beside its target and
// holds an exclusive flock on it while it runs.
const QRegularExpression& TempNamePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.([1-9][0-9]{0,9})-[0-9a-f]{8}\\.tmp$"));
    return pattern;
}

bool ProcessAlive(qint64 pid) {
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() &&
           (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// Removes the temporary files that killed backups left in a folder: only of
// the backups' own pattern, only when their process is gone and no running
// backup (of this machine or another that shares the folder) holds them.
QStringList RemoveLeftovers(const QDir& folder) {
    QStringList removed;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = TempNamePattern().match(name);
        if (!m.hasMatch() || ProcessAlive(m.captured(1).toLongLong()))
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.constData()) == 0)
            removed << name;
        ::close(fd);
    }
    return removed;
}

class BackupRun : private CvRunSteps {
public:
    BackupRun(CxSQL* sql, const QString& path, CvProgress* progress, CvRunLog* log)
        : CvRunSteps(progress, log), m_base(sql), m_path(path) {}

    bool Run(QString* error);

private:
    bool Query(const QString& statement, CxResult* out = nullptr) {
        return RunStatement(m_sql.get(), statement, out);
    }

    bool Connect();
    bool PlanTables();
    bool ReadSnapshotFacts();
    bool WriteTable(TablePlan& plan);
    bool SubmitPart(TablePlan& plan, QByteArray& raw, qint64 rows);
    bool WriteOnePending();
    bool WriteFile();
    bool Verify();
    bool Publish();

    CxSQL* m_base;
    QString m_path;
    QString m_tempPath;
    int m_tempLock = -1; // holds the flock on the temporary file
    std::unique_ptr<CxSQL> m_sql;
    kbackup::Header m_header;
    QList<TablePlan> m_plans;
    CIndexedFile m_file;
    struct Pending {
        QByteArray name;
        std::future<std::vector<unsigned char>> blocks;
    };
    std::deque<Pending> m_pending;
};

bool BackupRun::Connect() {
    m_sql.reset(m_base ? m_base->Clone(nullptr) : nullptr);
    if (!m_sql)
        return Fail(Tr("Не удалось открыть отдельное соединение с сервером для резервной копии") +
                    u'\n' + CTarvikApp::TakeErrorMessages());
    // utf8mb4 carries every text whatever its column's character set; UTC
    // keeps TIMESTAMP values as they are stored.
    return Query(QStringLiteral("SET NAMES utf8mb4")) &&
           Query(QStringLiteral("SET time_zone='+00:00'")) &&
           Query(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
}

bool BackupRun::PlanTables() {
    CxResult res;
    if (!Query(QStringLiteral("SELECT SCHEMA_NAME,VERSION(),DEFAULT_CHARACTER_SET_NAME,"
                              "DEFAULT_COLLATION_NAME FROM information_schema.SCHEMATA "
                              "WHERE SCHEMA_NAME=DATABASE()"),
               &res) ||
        !res.FetchRow())
        return Fail(Tr("Не удалось прочитать сведения о базе данных"));
    m_header.database = res.SFieldValue(0);
    m_header.server = res.SFieldValue(1);
    m_header.charset = res.SFieldValue(2);
    m_header.collation = res.SFieldValue(3);
    if (!Query(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"), &res))
        return false;
    QStringList names;
    while (res.FetchRow())
        if (kbackup::IsBackedUpTable(res.SFieldValue(0)))
            names << res.SFieldValue(0);
    for (const QString& name : names) {
        TablePlan plan;
        plan.name = name;
        plan.table.name = name.toUtf8();
        const QString quoted = QString::fromUtf8(kbackup::QuoteName(plan.table.name));
        CxResult create;
        if (!Query(QStringLiteral("SHOW CREATE TABLE ") + quoted, &create) || !create.FetchRow())
            return Fail(m_error.isEmpty() ? Tr("Не удалось прочитать описание таблицы ") + name
                                          : m_error);
        plan.table.create = create.SFieldValue(1).toUtf8();
        CxResult columns;
        if (!Query(QStringLiteral("SHOW COLUMNS FROM ") + quoted, &columns))
            return false;
        int primaryColumns = 0, primaryIndex = -1;
        QStringList select;
        while (columns.FetchRow()) {
            const QString type = columns.SFieldValue(1);
            if (columns.SFieldValue(5).contains(QLatin1String("GENERATED"), Qt::CaseInsensitive))
                continue; // the server computes it again
            kbackup::Column column;
            column.name = columns.SFieldValue(0).toUtf8();
            column.kind = kbackup::KindOfType(type);
            if (columns.SFieldValue(3) == QLatin1String("PRI")) {
                ++primaryColumns;
                if (IsIntegerType(type))
                    primaryIndex = int(plan.table.columns.size());
            }
            select << QString::fromUtf8(kbackup::QuoteName(column.name));
            plan.table.columns << column;
        }
        if (plan.table.columns.isEmpty())
            return Fail(Tr("Таблица без столбцов: ") + name);
        plan.keyIndex = primaryColumns == 1 ? primaryIndex : -1;
        plan.selectList = select.join(u',');
        plan.index = int(m_plans.size());
        m_plans << plan;
    }
    return true;
}

bool BackupRun::ReadSnapshotFacts() {
    // The server's estimate of each table's rows, for the progress only.
    CxResult estimates;
    if (!Query(QStringLiteral("SELECT TABLE_NAME,TABLE_ROWS FROM information_schema.TABLES "
                              "WHERE TABLE_SCHEMA=DATABASE()"),
               &estimates))
        return false;
    QHash<QString, qint64> rows;
    while (estimates.FetchRow())
        rows.insert(estimates.SFieldValue(0), estimates.SFieldValue(1).toLongLong());
    for (TablePlan& plan : m_plans)
        plan.estimatedRows = rows.value(plan.name);
    // From here on every read sees the database as it was at this moment.
    if (!Query(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT")))
        return false;
    for (const TablePlan& plan : m_plans) {
        if (plan.name.compare(QLatin1String("dbsettings"), Qt::CaseInsensitive) != 0)
            continue;
        CxResult version;
        if (!Query(QStringLiteral("SELECT cValue FROM `%1` WHERE cVariable='DatabaseVersion'")
                       .arg(plan.name),
                   &version))
            return false;
        if (version.FetchRow())
            m_header.schemaVersion = version.SFieldValue(0).toInt();
    }
    return true;
}

bool BackupRun::WriteOnePending() {
    Pending pending = std::move(m_pending.front());
    m_pending.pop_front();
    std::vector<unsigned char> blocks;
    try {
        blocks = pending.blocks.get();
    } catch (const std::exception&) {
        return Fail(Tr("Не удалось сжать данные резервной копии"));
    }
    if (!m_file.WriteStoredPart(pending.name.toStdString(), blocks.data(), blocks.size(), true))
        return Fail(Tr("Ошибка записи файла резервной копии (нет места на диске?)"));
    return true;
}

bool BackupRun::SubmitPart(TablePlan& plan, QByteArray& raw, qint64 rows) {
    kbackup::DataPart part;
    part.name = QByteArrayLiteral("Data/") + QByteArray::number(plan.index) + '/' +
                QByteArray::number(plan.table.parts.size());
    part.rawLength = raw.size();
    part.rows = rows;
    part.crc = kbackup::Crc32(raw.constData(), raw.size());
    plan.table.parts << part;
    try {
        m_pending.push_back({part.name, std::async(std::launch::async, [data = std::move(raw)]() {
                                 std::vector<unsigned char> out;
                                 if (!CIndexedFile::CompressBlocks(data.constData(),
                                                                   size_t(data.size()), out,
                                                                   kCompressionLevel))
                                     throw std::runtime_error("compress");
                                 return out;
                             })});
    } catch (const std::exception&) {
        return Fail(Tr("Не удалось сжать данные резервной копии"));
    }
    raw = QByteArray();
    while (m_pending.size() > kMaxPartsInFlight)
        if (!WriteOnePending())
            return false;
    return true;
}

bool BackupRun::WriteTable(TablePlan& plan) {
    const QString table = QString::fromUtf8(kbackup::QuoteName(plan.table.name));
    const QString keyName =
        plan.keyIndex >= 0
            ? QString::fromUtf8(kbackup::QuoteName(plan.table.columns[plan.keyIndex].name))
            : QString();
    auto pageStatement = [&](qint64 offset, const QString& lastKey) {
        QString statement =
            QStringLiteral("SELECT ") + plan.selectList + QStringLiteral(" FROM ") + table;
        if (plan.keyIndex >= 0) {
            // Pages by key: each read starts where the last ended, at no cost.
            if (!lastKey.isEmpty())
                statement += QStringLiteral(" WHERE ") + keyName + u'>' + lastKey;
            statement += QStringLiteral(" ORDER BY ") + keyName + QStringLiteral(" LIMIT ") +
                         QString::number(kPageRows);
        } else {
            // Without a key the snapshot keeps the table's own order stable
            // from one read to the next.
            statement += QStringLiteral(" LIMIT ") + QString::number(offset) + u',' +
                         QString::number(kPageRows);
        }
        return statement;
    };
    // The server reads the next page while this thread encodes the last one;
    // the connection is used by one thread at a time.
    auto read = [this](const QString& statement) {
        return std::async(std::launch::async,
                          [this, statement] { return m_sql->Execute(statement); });
    };
    QByteArray raw;
    qint64 partRows = 0, total = 0;
    std::future<CxResult> next = read(pageStatement(0, QString()));
    for (;;) {
        CxResult res = next.get();
        if (!res.isValid())
            return Fail(DescribeSQLError(res.Error()));
        if (Cancelled())
            return Fail(Tr("Создание резервной копии прервано пользователем"));
        CxResultBase* rows = res.Base();
        const qint64 pageRows = rows->RowsCount();
        total += pageRows;
        if (pageRows == kPageRows) {
            QString lastKey;
            if (plan.keyIndex >= 0) {
                rows->FetchRow(pageRows - 1);
                bool number = false;
                const qint64 key = QByteArray(rows->RawField(plan.keyIndex)).toLongLong(&number);
                if (!number)
                    return Fail(Tr("Ключ таблицы не является числом: ") + TableCaption(plan.name));
                lastKey = QString::number(key);
            }
            next = read(pageStatement(total, lastKey));
        }
        const int fields = rows->FieldsCount();
        for (qint64 r = 0; r < pageRows; ++r) {
            rows->FetchRow(r == 0 ? 0 : -1);
            for (int i = 0; i < fields; ++i) {
                const char* value = rows->RawField(i);
                kbackup::AppendValue(raw, value, value ? qint64(rows->FieldLength(i)) : 0);
            }
            ++partRows;
            if (raw.size() >= kPartBytes) {
                if (!SubmitPart(plan, raw, partRows))
                    return false;
                partRows = 0;
            }
        }
        if (m_progress)
            m_progress->Step();
        if (pageRows < kPageRows)
            break;
    }
    if (partRows > 0 && !SubmitPart(plan, raw, partRows))
        return false;
    plan.table.rows = total;
    return true;
}

bool BackupRun::WriteFile() {
    const QFileInfo target(m_path);
    for (const QString& name : RemoveLeftovers(target.dir()))
        Info(Tr("Удален остаток прерванной резервной копии: ") + name);
    m_tempPath =
        target.dir().filePath(QStringLiteral(".%1.%2-%3.tmp")
                                  .arg(target.fileName())
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
    if (!m_file.Open(QFile::encodeName(m_tempPath).toStdString(), CIndexedFile::modeCreate))
        return Fail(Tr("Не удалось создать файл резервной копии в папке ") +
                    QDir::toNativeSeparators(target.absolutePath()));
    // Another backup into this folder leaves the file alone while we run.
    m_tempLock = ::open(QFile::encodeName(m_tempPath).constData(), O_RDONLY | O_CLOEXEC);
    if (m_tempLock >= 0)
        ::flock(m_tempLock, LOCK_EX | LOCK_NB);
    int pages = 0;
    for (const TablePlan& plan : m_plans)
        pages += int(plan.estimatedRows / kPageRows) + 1;
    if (m_progress)
        m_progress->SetRange(pages, Tr("Чтение таблиц"));
    CxTableRowTally tally;
    for (TablePlan& plan : m_plans) {
        if (!WriteTable(plan))
            return false;
        tally.Add(plan.name, plan.table.rows);
    }
    for (const QString& line : tally.Lines())
        Info(line);
    while (!m_pending.empty())
        if (!WriteOnePending())
            return false;
    // The snapshot has done its work. It only read: a COMMIT that fails
    // (a connection lost now) loses nothing, and the file holds what was read.
    static_cast<void>(m_sql->Execute(QStringLiteral("COMMIT")));
    m_header.created = QDateTime::currentDateTimeUtc();
    for (const TablePlan& plan : m_plans)
        m_header.tables << plan.table;
    const QByteArray header = kbackup::SerializeHeader(m_header);
    if (!m_file.WriteStoredPart(ProgramMarks().backupHeaderPart.toStdString(), header.constData(),
                                size_t(header.size()), false) ||
        !m_file.Close())
        return Fail(Tr("Ошибка записи файла резервной копии (нет места на диске?)"));
    return true;
}

bool BackupRun::Verify() {
    const QString damaged = Tr("Записанный файл резервной копии не прошел проверку");
    CIndexedFile file;
    if (!file.Open(QFile::encodeName(m_tempPath).toStdString(), CIndexedFile::modeRead) ||
        !file.VerifyChecksum() || !file.SeekToPart(ProgramMarks().backupHeaderPart.toStdString()))
        return Fail(damaged);
    QByteArray bytes(qsizetype(file.PartBytesLeft()), '\0');
    bytes.resize(qsizetype(file.ReadRaw(bytes.data(), size_t(bytes.size()))));
    kbackup::Header header;
    QString why;
    if (!kbackup::ParseHeader(bytes, &header, &why) || header.tables.size() != m_plans.size())
        return Fail(damaged + u'\n' + why);
    int parts = 0;
    for (const kbackup::Table& t : header.tables)
        parts += int(t.parts.size());
    if (m_progress)
        m_progress->SetRange(parts, Tr("Проверка записанного файла"));
    QByteArray raw;
    for (const kbackup::Table& t : header.tables) {
        for (const kbackup::DataPart& part : t.parts) {
            if (Cancelled())
                return Fail(Tr("Создание резервной копии прервано пользователем"));
            if (!file.SeekToPart(part.name.toStdString()) ||
                file.PartBytesLeft() != quint64(part.rawLength))
                return Fail(damaged);
            raw.resize(part.rawLength);
            if (file.ReadRaw(raw.data(), size_t(raw.size())) != size_t(raw.size()) ||
                kbackup::Crc32(raw.constData(), raw.size()) != part.crc)
                return Fail(damaged);
            if (m_progress)
                m_progress->Step();
        }
    }
    return true;
}

bool BackupRun::Publish() {
    const QByteArray temp = QFile::encodeName(m_tempPath);
    const QByteArray target = QFile::encodeName(m_path);
    if (!SyncFile(temp) || ::rename(temp.constData(), target.constData()) != 0)
        return Fail(Tr("Не удалось сохранить файл резервной копии под именем ") +
                    QDir::toNativeSeparators(m_path));
    m_tempPath.clear();
    SyncFile(QFile::encodeName(QFileInfo(m_path).absolutePath()));
    return true;
}

bool BackupRun::Run(QString* error) {
    if (m_progress)
        m_progress->BeginProgress(Tr("Создание резервной копии"), -1);
    Info(Tr("Резервная копия в файл ") + QDir::toNativeSeparators(m_path));
    const bool ok =
        Connect() && PlanTables() && ReadSnapshotFacts() && WriteFile() && Verify() && Publish();
    // Parts still being compressed end before their buffers go.
    for (Pending& pending : m_pending)
        if (pending.blocks.valid())
            pending.blocks.wait();
    m_pending.clear();
    if (m_file.IsOpen())
        m_file.Close();
    if (!m_tempPath.isEmpty())
        QFile::remove(m_tempPath);
    if (m_tempLock >= 0)
        ::close(m_tempLock);
    if (m_sql)
        m_sql->ExecuteCleanup(QStringLiteral("ROLLBACK")); // the snapshot only read
    if (ok) {
        OnBackupCompleted();
        Info(Tr("Резервная копия записана и проверена"));
    } else if (m_log) {
        m_log->AddWarning(m_error, 0);
    }
    if (m_progress)
        m_progress->EndProgress(ok ? Tr("Готово") : m_error);
    if (!ok && error)
        *error = m_error;
    return ok;
}

} // namespace

bool CSQLBackup::Backup(CxSQL* sql, const QString& path, CvProgress* progress, CvRunLog* log,
                        QString* error) {
    BackupRun run(sql, path, progress, log);
    return run.Run(error);
}

QString CSQLBackup::FileFilter() {
    const QString pattern = QStringLiteral("*.") + ProgramMarks().backupExtension;
    return CTarvikApp::TranslateString(QStringLiteral("Резервные копии"),
                                       QStringLiteral("CSQLBackup::FileFilter")) +
           u' ' + QCoreApplication::applicationName() + QStringLiteral(" (") + pattern +
           QStringLiteral(")|") + pattern;
}

QString CSQLBackup::DefaultFileName(const QString& database) {
    QString safe = database;
    safe.replace(QRegularExpression(QStringLiteral("[^\\w.-]")), QStringLiteral("_"));
    return QStringLiteral("%1_%2.%3")
        .arg(safe, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm")),
             ProgramMarks().backupExtension);
}

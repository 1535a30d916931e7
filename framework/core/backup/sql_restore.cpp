#include "sql_restore.h"

#include "backup_format.h"
#include "framework/core/app/program_marks.h"
#include "framework/core/progress.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/run_log.h"
#include "framework/core/run_steps.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "loader/indexed_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <future>

namespace {

// Restore statements stay below this (and below the server's packet limit).
constexpr qint64 kStatementBytes = 2 << 20;
// How long the swap waits for other work on the database (the named lock,
// then the tables' metadata locks) before it gives up and changes nothing.
constexpr int kSwapWaitSeconds = 60;

constexpr CxTr Tr("CSQLRestore::Restore");

// The server's "error during COMMIT": what its bulk fill of an empty table
// answers when the rows of one statement repeat a key.
constexpr unsigned kSQLErrBulkCommit = 1180;

// The named lock a restore holds on its own connection from start to end, so
// no other restore and no start-up clean-up takes its staging tables; it goes
// with the connection when the program dies. One per database.
QString RestoreLockName(CxSQL* sql) {
    CxResult res =
        sql->Execute(QStringLiteral("SELECT CONCAT('krs_',LEFT(MD5(IFNULL(DATABASE(),'')),24))"));
    return res.FetchRow() ? res.SFieldValue(0) : QString();
}

// The scratch database a conversion builds its tables in, beside the live
// one (a name the server takes: at most 64 characters).
QString ScratchDatabase(const QString& database) {
    return database.left(52) + QStringLiteral("_krs_convert");
}

// Removes the scratch database a killed conversion left: answers in *left
// whether there was one and in *tables how many tables it held. Call it only
// while holding the database's restore lock.
bool DropLeftScratch(CxSQL* sql, const QString& scratch, bool* left, int* tables) {
    *left = false;
    *tables = 0;
    CxResult found = sql->Execute(
        QStringLiteral("SELECT COUNT(t.TABLE_NAME) FROM information_schema.SCHEMATA s LEFT JOIN "
                       "information_schema.TABLES t ON t.TABLE_SCHEMA=s.SCHEMA_NAME WHERE "
                       "s.SCHEMA_NAME=%1 GROUP BY s.SCHEMA_NAME")
            .arg(SafeSQL(scratch)));
    if (!found.isValid())
        return false;
    if (!found.FetchRow())
        return true;
    *left = true;
    *tables = found.SFieldValue(0).toInt();
    return sql
        ->Execute(QStringLiteral("DROP DATABASE IF EXISTS ") +
                  QString::fromUtf8(kbackup::QuoteName(scratch.toUtf8())))
        .isValid();
}

// What the error list says of a removed scratch database: with tables the
// conversion died before its tables were put in place, so the live database
// is as it was; an empty one says nothing of the data.
QString ScratchCleaned(const QString& scratch, int tables) {
    return tables > 0 ? Tr("Преобразование архива было прервано. Его незаконченная рабочая "
                           "база данных «%1» удалена; база данных осталась такой, какой была "
                           "до восстановления.")
                            .arg(scratch)
                      : Tr("Преобразование архива было прервано. Его пустая рабочая база "
                           "данных «%1» удалена.")
                            .arg(scratch);
}

bool IsStagingName(const QString& name, const char* prefix) {
    return name.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

QString NotABackup() {
    return Tr("Файл не является резервной копией или поврежден");
}

QString Damaged(const QString& why) {
    return Tr("Файл резервной копии поврежден (%1); база данных не изменена").arg(why);
}

QString Damaged() {
    return Damaged(Tr("контрольная сумма не совпадает"));
}

enum class OpenResult { Ok, NotOurs, Damaged };

// Whether the file's name fits one of the masks of a file dialog filter
// ("description (masks)|masks", masks separated by ';').
bool NameMatchesFilter(const QString& path, const QString& filter) {
    const QString name = QFileInfo(path).fileName();
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 1; i < parts.size(); i += 2)
        for (const QString& mask : parts[i].split(u';', Qt::SkipEmptyParts))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask.trimmed()),
                                   QRegularExpression::CaseInsensitiveOption)
                    .match(name)
                    .hasMatch())
                return true;
    return false;
}

// Opens one of our backups and checks the whole file's checksum and the
// header; the file stays open for reading its parts.
OpenResult OpenBackup(const QString& path, CIndexedFile& file, kbackup::Header* header,
                      QString* error) {
    if (!file.Open(QFile::encodeName(path).toStdString(), CIndexedFile::modeRead) ||
        !file.Directory().count(ProgramMarks().backupHeaderPart.toStdString())) {
        *error = NotABackup();
        return OpenResult::NotOurs;
    }
    if (!file.VerifyChecksum() || !file.SeekToPart(ProgramMarks().backupHeaderPart.toStdString())) {
        *error = Damaged();
        return OpenResult::Damaged;
    }
    QByteArray bytes(qsizetype(file.PartBytesLeft()), '\0');
    bytes.resize(qsizetype(file.ReadRaw(bytes.data(), size_t(bytes.size()))));
    QString why;
    header->formatVersion = kbackup::kFormatVersion;
    if (!kbackup::ParseHeader(bytes, header, &why)) {
        *error = header->formatVersion > kbackup::kFormatVersion
                     ? Tr("%1; база данных не изменена").arg(why.left(1).toUpper() + why.mid(1))
                     : Damaged(why);
        return OpenResult::Damaged;
    }
    for (const kbackup::Table& t : header->tables)
        for (const kbackup::DataPart& p : t.parts)
            if (!file.Directory().count(p.name.toStdString())) {
                *error = Damaged();
                return OpenResult::Damaged;
            }
    return OpenResult::Ok;
}

CSQLBackupInfo InfoOf(const kbackup::Header& h) {
    CSQLBackupInfo info;
    info.formatVersion = h.formatVersion;
    info.schemaVersion = h.schemaVersion;
    info.created = h.created;
    info.server = h.server;
    info.database = h.database;
    info.tables = int(h.tables.size());
    for (const kbackup::Table& t : h.tables)
        info.rows += t.rows;
    return info;
}

QByteArray StagingName(const char* prefix, int index) {
    return QByteArray(prefix) + QByteArray::number(index);
}

// The statements that load one data part into its staging table: built on a
// worker thread while the server runs the statements of the part before.
struct PreparedPart {
    bool ok = false;
    bool damaged = false; // the part's bytes do not match the header
    std::vector<QByteArray> statements;
};

PreparedPart PreparePart(CIndexedFile* file, const kbackup::Table* table,
                         const kbackup::DataPart* part, QByteArray prefix, qint64 limit) {
    PreparedPart out;
    out.damaged = true;
    if (!file->SeekToPart(part->name.toStdString()) ||
        file->PartBytesLeft() != quint64(part->rawLength))
        return out;
    QByteArray raw(part->rawLength, Qt::Uninitialized);
    if (file->ReadRaw(raw.data(), size_t(raw.size())) != size_t(raw.size()) ||
        kbackup::Crc32(raw.constData(), raw.size()) != part->crc)
        return out;
    const char* pos = raw.constData();
    const char* end = pos + raw.size();
    QByteArray statement;
    qint64 rows = 0;
    while (pos < end) {
        if (statement.isEmpty()) {
            statement = prefix;
            statement.reserve(limit + 4096);
        } else {
            statement += ',';
        }
        statement += '(';
        for (qsizetype c = 0; c < table->columns.size(); ++c) {
            const char* data;
            qint64 length;
            if (!kbackup::ReadValue(pos, end, &data, &length))
                return out;
            if (c)
                statement += ',';
            kbackup::AppendLiteral(statement, table->columns[c].kind, data, length);
        }
        statement += ')';
        ++rows;
        if (statement.size() >= limit) {
            out.statements.push_back(std::move(statement));
            statement = QByteArray();
        }
    }
    if (!statement.isEmpty())
        out.statements.push_back(std::move(statement));
    if (rows != part->rows)
        return out;
    out.damaged = false;
    out.ok = true;
    return out;
}

class RestoreRun : public CvRunSteps {
public:
    RestoreRun(CxSQL* sql, CvProgress* progress, CvRunLog* log)
        : CvRunSteps(progress, log), m_base(sql) {}

    bool RestoreBackup(const QString& path, int schemaVersion);
    bool RestoreWithConverter(CSQLRestoreWizard_Converter* converter, const QString& path);

private:
    bool Query(const QString& statement, CxResult* out = nullptr) {
        return RunStatement(m_sql.get(), statement, out);
    }
    bool CancelledFail() {
        return Fail(Tr("Восстановление прервано пользователем; база данных не изменена"));
    }
    bool Connect();
    bool DropStaging();
    bool LoadTables(CIndexedFile& file, const kbackup::Header& header);
    bool ExecutePart(const PreparedPart& part, const QByteArray& table);
    // Puts the incoming tables (qualified source name, live name) in place
    // of every live table in one RENAME, then drops what stepped aside.
    bool Swap(const QList<QPair<QByteArray, QByteArray>>& incoming);

    CxSQL* m_base;
    std::unique_ptr<CxSQL> m_sql;
    QString m_database;
};

bool RestoreRun::Connect() {
    m_sql.reset(m_base ? m_base->Clone(nullptr) : nullptr);
    if (!m_sql)
        return Fail(Tr("Не удалось открыть отдельное соединение с сервером для восстановления") +
                    u'\n' + CTarvikApp::TakeErrorMessages());
    CxResult res;
    if (!Query(QStringLiteral("SELECT DATABASE()"), &res) || !res.FetchRow() || res.IsNull(0))
        return Fail(Tr("Соединение не указывает базу данных"));
    m_database = res.SFieldValue(0);
    const QString lock = RestoreLockName(m_sql.get());
    if (lock.isEmpty() || !Query(QStringLiteral("SELECT GET_LOCK('%1',0)").arg(lock), &res) ||
        !res.FetchRow() || res.SFieldValue(0) != QLatin1String("1"))
        return Fail(Tr("Эта база данных уже восстанавливается другой копией программы; "
                       "база данных не изменена"));
    // The backup's own values go in as they are: a 0 key stays 0, keys and
    // links are not checked row by row, TIMESTAMPs are UTC as in the file.
    return Query(QStringLiteral("SET NAMES utf8mb4")) &&
           Query(QStringLiteral("SET time_zone='+00:00'")) &&
           Query(QStringLiteral(
               "SET SESSION sql_mode='NO_AUTO_VALUE_ON_ZERO,NO_ENGINE_SUBSTITUTION'")) &&
           Query(QStringLiteral("SET foreign_key_checks=0")) &&
           Query(QStringLiteral("SET unique_checks=0")) &&
           Query(QStringLiteral("SET SESSION lock_wait_timeout=%1").arg(kSwapWaitSeconds));
}

bool RestoreRun::DropStaging() {
    // Staging tables of a restore that died are the only ones of these names.
    CxResult res;
    if (!Query(QStringLiteral("SHOW TABLES"), &res))
        return false;
    QStringList names;
    while (res.FetchRow()) {
        const QString name = res.SFieldValue(0);
        if (name.startsWith(QLatin1String(kbackup::kStagingNewPrefix), Qt::CaseInsensitive) ||
            name.startsWith(QLatin1String(kbackup::kStagingOldPrefix), Qt::CaseInsensitive))
            names << QString::fromUtf8(kbackup::QuoteName(name.toUtf8()));
    }
    return names.isEmpty() || Query(QStringLiteral("DROP TABLE IF EXISTS ") + names.join(u','));
}

bool RestoreRun::ExecutePart(const PreparedPart& part, const QByteArray& table) {
    for (const QByteArray& statement : part.statements) {
        if (Cancelled())
            return CancelledFail();
        CxResult res = m_sql->ExecuteRaw(statement);
        if (res.isValid())
            continue;
        // A file whose rows repeat a key (edited by hand, or damaged behind
        // a good checksum). The server's bulk fill of the empty staging table
        // (unique checks off) refuses such rows as a failed commit.
        const unsigned code = res.Error().serverCode;
        if (code == kSQLErrDuplicateEntry || code == kSQLErrBulkCommit)
            return Fail(Tr("В резервной копии повторяются записи, которые должны быть "
                           "единственными в таблице «%1»; база данных не изменена")
                            .arg(TableCaption(QString::fromUtf8(table))));
        return Fail(Tr("Ошибка загрузки данных; база данных не изменена") + u'\n' +
                    res.Error().text);
    }
    return true;
}

bool RestoreRun::LoadTables(CIndexedFile& file, const kbackup::Header& header) {
    CxResult res;
    if (!Query(QStringLiteral("SELECT @@max_allowed_packet"), &res) || !res.FetchRow())
        return false;
    const qint64 limit = std::max<qint64>(
        64 << 10, std::min<qint64>(kStatementBytes, res.SFieldValue(0).toLongLong() - (64 << 10)));

    struct Job {
        int table;
        int part;
    };
    QList<Job> jobs;
    for (int t = 0; t < header.tables.size(); ++t)
        for (int p = 0; p < header.tables[t].parts.size(); ++p)
            jobs << Job{t, p};
    QList<QByteArray> prefixes;
    for (int t = 0; t < header.tables.size(); ++t) {
        QByteArray prefix =
            "INSERT INTO " + kbackup::QuoteName(StagingName(kbackup::kStagingNewPrefix, t)) + " (";
        for (qsizetype c = 0; c < header.tables[t].columns.size(); ++c) {
            if (c)
                prefix += ',';
            prefix += kbackup::QuoteName(header.tables[t].columns[c].name);
        }
        prefixes << prefix + ") VALUES ";
    }
    if (m_progress)
        m_progress->SetRange(int(jobs.size() + header.tables.size()), Tr("Загрузка таблиц"));

    auto prepare = [&](int j) {
        const Job job = jobs[j];
        return std::async(std::launch::async, PreparePart, &file, &header.tables[job.table],
                          &header.tables[job.table].parts[job.part], prefixes[job.table], limit);
    };
    std::future<PreparedPart> next;
    int j = 0;
    CxTableRowTally tally;
    for (int t = 0; t < header.tables.size(); ++t) {
        const kbackup::Table& table = header.tables[t];
        if (Cancelled())
            return CancelledFail();
        // The backup's definition under the staging name.
        const QByteArray live = "CREATE TABLE " + kbackup::QuoteName(table.name);
        if (!table.create.startsWith(live))
            return Fail(Damaged());
        const QByteArray create = "CREATE TABLE " +
                                  kbackup::QuoteName(StagingName(kbackup::kStagingNewPrefix, t)) +
                                  table.create.mid(live.size());
        CxResult made = m_sql->ExecuteRaw(create);
        if (!made.isValid())
            return Fail(Tr("Не удалось создать таблицу ") +
                        TableCaption(QString::fromUtf8(table.name)) + u'\n' + made.Error().text);
        if (m_progress)
            m_progress->Step();
        for (int p = 0; p < table.parts.size(); ++p, ++j) {
            if (!next.valid())
                next = prepare(j);
            PreparedPart part = next.get();
            if (j + 1 < jobs.size())
                next = prepare(j + 1);
            if (!part.ok)
                return Fail(Damaged());
            if (!ExecutePart(part, table.name))
                return false;
            if (m_progress)
                m_progress->Step();
        }
        CxResult count;
        if (!Query(QStringLiteral("SELECT COUNT(*) FROM ") +
                       QString::fromUtf8(
                           kbackup::QuoteName(StagingName(kbackup::kStagingNewPrefix, t))),
                   &count) ||
            !count.FetchRow())
            return false;
        if (count.SFieldValue(0).toLongLong() != table.rows)
            return Fail(Tr("Таблица загружена не полностью: ") +
                        TableCaption(QString::fromUtf8(table.name)));
        tally.Add(QString::fromUtf8(table.name), table.rows);
    }
    for (const QString& line : tally.Lines())
        Info(line);
    return true;
}

bool RestoreRun::Swap(const QList<QPair<QByteArray, QByteArray>>& incoming) {
    if (Cancelled())
        return CancelledFail();
    CxSQLLockGuard lock(m_sql.get(), kSwapWaitSeconds);
    if (!lock.Locked())
        return Fail(Tr("База данных занята другой операцией; восстановление не выполнено, база "
                       "данных не изменена"));
    CxResult res;
    if (!Query(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"), &res))
        return false;
    QByteArrayList renames, old;
    while (res.FetchRow()) {
        const QString name = res.SFieldValue(0);
        if (name.startsWith(QLatin1String(kbackup::kStagingNewPrefix), Qt::CaseInsensitive))
            continue;
        const QByteArray aside = StagingName(kbackup::kStagingOldPrefix, int(old.size()));
        renames << kbackup::QuoteName(name.toUtf8()) + " TO " + kbackup::QuoteName(aside);
        old << kbackup::QuoteName(aside);
    }
    for (const auto& [source, target] : incoming)
        renames << source + " TO " + kbackup::QuoteName(target);
    if (!renames.isEmpty()) {
        CxResult swapped = m_sql->ExecuteRaw("RENAME TABLE " + renames.join(','));
        if (!swapped.isValid())
            return Fail(Tr("Не удалось заменить таблицы базы данных; база данных не изменена") +
                        u'\n' + swapped.Error().text);
    }
    // From here the restore is done: what follows only tidies up.
    if (!old.isEmpty() && !m_sql->ExecuteRaw("DROP TABLE IF EXISTS " + old.join(',')).isValid())
        Warning(Tr("Не удалось удалить прежние таблицы; они будут удалены при следующем "
                   "восстановлении"));
    return true;
}

bool RestoreRun::RestoreBackup(const QString& path, int schemaVersion) {
    if (m_progress) {
        m_progress->BeginProgress(Tr("Восстановление из резервной копии"), -1);
        m_progress->SetRange(1, Tr("Проверка файла"));
    }
    Info(Tr("Проверка файла резервной копии"));
    CIndexedFile file;
    kbackup::Header header;
    QString why;
    if (OpenBackup(path, file, &header, &why) != OpenResult::Ok)
        return Fail(why);
    if (m_progress)
        m_progress->Step();
    if (schemaVersion >= 0 && header.schemaVersion > schemaVersion)
        return Fail(Tr("Резервная копия сделана более новой версией программы (версия базы "
                       "данных %1, программа знает версию %2); база данных не изменена")
                        .arg(header.schemaVersion)
                        .arg(schemaVersion));
    if (!Connect())
        return false;
    bool ok = DropStaging() && LoadTables(file, header);
    if (ok) {
        QList<QPair<QByteArray, QByteArray>> incoming;
        for (int t = 0; t < header.tables.size(); ++t)
            incoming.append({kbackup::QuoteName(StagingName(kbackup::kStagingNewPrefix, t)),
                             header.tables[t].name});
        ok = Swap(incoming);
    }
    if (!ok) {
        const QString error = m_error;
        DropStaging();
        m_error = error;
        return false;
    }
    if (!header.charset.isEmpty() &&
        !m_sql
             ->Execute(QStringLiteral("ALTER DATABASE %1 CHARACTER SET %2 COLLATE %3")
                           .arg(QString::fromUtf8(kbackup::QuoteName(m_database.toUtf8())),
                                header.charset, header.collation))
             .isValid())
        Warning(Tr("Не удалось восстановить кодировку базы данных по умолчанию"));
    Info(Tr("База данных восстановлена; программа будет перезапущена"));
    return true;
}

bool RestoreRun::RestoreWithConverter(CSQLRestoreWizard_Converter* converter, const QString& path) {
    if (m_progress)
        m_progress->BeginProgress(Tr("Восстановление из архива"), -1);
    if (!Connect())
        return false;
    const QString scratch = ScratchDatabase(m_database);
    const QString quoted = QString::fromUtf8(kbackup::QuoteName(scratch.toUtf8()));
    CxResult res;
    if (!Query(QStringLiteral("SELECT DEFAULT_CHARACTER_SET_NAME,DEFAULT_COLLATION_NAME FROM "
                              "information_schema.SCHEMATA WHERE SCHEMA_NAME=DATABASE()"),
               &res) ||
        !res.FetchRow())
        return false;
    // A conversion killed before this one left its scratch database (this
    // run holds the restore lock, so no running conversion owns it).
    bool left = false;
    int leftTables = 0;
    if (!DropLeftScratch(m_sql.get(), scratch, &left, &leftTables))
        return Fail(Tr("Не удалось удалить рабочую базу данных прерванного преобразования; "
                       "база данных не изменена"));
    if (left)
        CTarvikApp::AddErrorMessage(ScratchCleaned(scratch, leftTables));
    if (!Query(QStringLiteral("CREATE DATABASE %1 CHARACTER SET %2 COLLATE %3")
                   .arg(quoted, res.SFieldValue(0), res.SFieldValue(1))))
        return false;
    bool ok = false;
    {
        std::unique_ptr<CxSQL> work(m_base->Clone(nullptr));
        if (!work || !work->SelectDatabase(scratch)) {
            Fail(Tr("Не удалось открыть рабочую базу данных для преобразования"));
        } else {
            CSQLRestoreContext context;
            context.sql = work.get();
            context.path = path;
            context.progress = m_progress;
            context.log = m_log;
            ok = converter->Process(context);
            if (!ok)
                Fail(Tr("Преобразование архива не выполнено; база данных не изменена"));
        }
    }
    if (ok) {
        CxResult tables;
        ok = Query(
            QStringLiteral("SHOW FULL TABLES FROM %1 WHERE Table_type='BASE TABLE'").arg(quoted),
            &tables);
        QList<QPair<QByteArray, QByteArray>> incoming;
        while (ok && tables.FetchRow()) {
            const QByteArray name = tables.SFieldValue(0).toUtf8();
            incoming.append(
                {kbackup::QuoteName(scratch.toUtf8()) + '.' + kbackup::QuoteName(name), name});
        }
        ok = ok && Swap(incoming);
    }
    if (!m_sql->Execute(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted).isValid())
        Warning(Tr("Временная база данных %1 осталась на сервере").arg(scratch));
    if (ok)
        Info(Tr("База данных восстановлена; программа будет перезапущена"));
    return ok;
}

} // namespace

CSQLRestore::CSQLRestore() = default;
CSQLRestore::~CSQLRestore() = default;

void CSQLRestore::AddConverter(std::unique_ptr<CSQLRestoreWizard_Converter> converter) {
    if (converter)
        m_converters.push_back(std::move(converter));
}

QString CSQLRestore::GetFileFilter() const {
    QStringList filters{CSQLBackup::FileFilter()};
    for (const auto& converter : m_converters)
        filters << converter->GetFileFilter();
    return filters.join(u'|');
}

bool CSQLRestore::Inspect(const QString& path, CSQLBackupInfo* info,
                          CSQLRestoreWizard_Converter** converter, QString* error) {
    *converter = nullptr;
    CIndexedFile file;
    kbackup::Header header;
    QString why;
    switch (OpenBackup(path, file, &header, &why)) {
    case OpenResult::Ok:
        *info = InfoOf(header);
        return true;
    case OpenResult::Damaged:
        if (error)
            *error = why;
        return false;
    case OpenResult::NotOurs:
        break;
    }
    file.Close();
    for (const auto& candidate : m_converters) {
        if (candidate->IsValid(path)) {
            *converter = candidate.get();
            return true;
        }
    }
    // A file named as a converter's archives that it cannot take (its loader
    // missing, the archive broken): the converter's own words say why.
    for (const auto& candidate : m_converters) {
        if (NameMatchesFilter(path, candidate->GetFileFilter())) {
            *converter = candidate.get();
            break;
        }
    }
    if (error)
        *error = why;
    return false;
}

bool CSQLRestore::CleanInterrupted(CxSQL* sql, QString* report) {
    report->clear();
    const QString lock = RestoreLockName(sql);
    if (lock.isEmpty())
        return false;
    CxResult got = sql->Execute(QStringLiteral("SELECT GET_LOCK('%1',0)").arg(lock));
    if (!got.FetchRow())
        return false;
    if (got.SFieldValue(0) != QLatin1String("1"))
        return true; // a restore runs now in another copy: its tables stay
    CxResult tables = sql->Execute(QStringLiteral("SHOW TABLES LIKE '\\_krs\\_%'"));
    QByteArrayList names;
    bool loading = false;
    bool swapped = false;
    while (tables.FetchRow()) {
        const QString name = tables.SFieldValue(0);
        const bool staged = IsStagingName(name, kbackup::kStagingNewPrefix);
        const bool aside = IsStagingName(name, kbackup::kStagingOldPrefix);
        if (staged || aside)
            names << kbackup::QuoteName(name.toUtf8());
        loading = loading || staged;
        swapped = swapped || aside;
    }
    bool ok =
        tables.isValid() &&
        (names.isEmpty() || sql->ExecuteRaw("DROP TABLE IF EXISTS " + names.join(',')).isValid());
    // A killed conversion leaves its scratch database beside the live one.
    CxResult database = sql->Execute(QStringLiteral("SELECT DATABASE()"));
    const QString scratch = database.FetchRow() && !database.IsNull(0)
                                ? ScratchDatabase(database.SFieldValue(0))
                                : QString();
    bool left = false;
    int leftTables = 0;
    ok = ok && database.isValid() &&
         (scratch.isEmpty() || DropLeftScratch(sql, scratch, &left, &leftTables));
    sql->ExecuteCleanup(QStringLiteral("SELECT RELEASE_LOCK('%1')").arg(lock));
    if (!ok)
        return false;
    if (left)
        *report = ScratchCleaned(scratch, leftTables);
    // Before its swap a restore changes nothing of the live tables; after it
    // only the replaced tables were left to drop.
    const auto add = [report](const QString& text) {
        *report += (report->isEmpty() ? QString() : QStringLiteral("\n")) + text;
    };
    if (loading)
        add(Tr("Восстановление из резервной копии было прервано. Его незаконченная копия "
               "данных удалена; база данных осталась такой, какой была до восстановления."));
    else if (swapped)
        add(Tr("Восстановление из резервной копии было прервано после замены таблиц. "
               "Оставшиеся прежние таблицы удалены; база данных восстановлена из копии."));
    return true;
}

bool CSQLRestore::Restore(CxSQL* sql, const QString& path, CvProgress* progress, CvRunLog* log,
                          QString* error) {
    RestoreRun run(sql, progress, log);
    bool ok = false;
    QString why;
    // Which way the file goes; the checks themselves come with the restore.
    CIndexedFile file;
    const bool ours = file.Open(QFile::encodeName(path).toStdString(), CIndexedFile::modeRead) &&
                      file.Directory().count(ProgramMarks().backupHeaderPart.toStdString());
    file.Close();
    CSQLRestoreWizard_Converter* converter = nullptr;
    if (!ours)
        for (const auto& candidate : m_converters)
            if (!converter && candidate->IsValid(path))
                converter = candidate.get();
    if (ours) {
        ok = run.RestoreBackup(path, m_schemaVersion);
        m_needRestart = m_needRestart || ok;
        why = run.Error();
    } else if (converter) {
        // Only tables that replaced the live ones need a new start: a
        // conversion that failed, or whose tables could not be put in place,
        // left the database the program runs on as it was.
        ok = run.RestoreWithConverter(converter, path);
        m_needRestart = m_needRestart || ok;
        why = run.Error();
    } else {
        if (progress)
            progress->BeginProgress(Tr("Восстановление из резервной копии"), -1);
        why = NotABackup();
    }
    if (!ok) {
        if (log)
            log->AddWarning(why, 0);
        if (error)
            *error = why;
    }
    if (progress)
        progress->EndProgress(ok ? Tr("Готово") : why);
    return ok;
}

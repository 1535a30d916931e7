#include "old_archive_converter.h"

#include "brennock.h"
#include "db/schema/current_schema_script.h"
#include "db/schema/sql_db_updater.h"
#include "dir_mapping_file.h"
#include "framework/core/exchange/sql_import_wizard_helper.h"
#include "framework/core/progress.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "old_data_conversion.h"

#include <QLibrary>
#include <QSet>

namespace {

const QString kProcess = QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::Process");
// The change watcher's table outlives every restore.
const QString kWatchdog = QStringLiteral("watchdog");

using BeginFn = CBrennock* (*)(const char16_t*, CBrennock_Callback*);
using EndFn = void (*)(CBrennock*);

constexpr CxTr Tr;

QString Quoted(const QString& name) {
    QString out = name;
    out.replace(u'`', QStringLiteral("``"));
    return u'`' + out + u'`';
}

QString HtmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

std::u16string U16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

} // namespace

// One conversion run: the tables it found, what it set aside and made, and
// the way back when it stops.
struct COldArchiveConverter::Run {
    COldArchiveConverter& host;
    CxSQL* sql;
    QString* error;
    QSet<QString> before; // lower-case names after the old tables were set aside
    QStringList saved;    // the database's tables, set aside under SavedPrefix()
    bool locked = false;
    bool suspended = false;
    bool checksOff = false;

    ~Run() {
        if (checksOff) {
            sql->ExecuteCleanup(QStringLiteral("set foreign_key_checks = 1"));
            sql->ExecuteCleanup(QStringLiteral("SET UNIQUE_CHECKS=1"));
        }
        if (suspended)
            sql->SuspendWatchdog(1);
        if (locked)
            sql->Unlock();
    }

    bool Fail(const QString& text) {
        if (error && error->isEmpty())
            *error = text;
        return false;
    }

    bool Tables(QStringList* names) {
        names->clear();
        CxResult res =
            sql->Execute(QStringLiteral("SHOW FULL TABLES WHERE Table_type='BASE TABLE'"));
        if (!res.isValid())
            return false;
        while (res.FetchRow())
            names->append(res.SFieldValue(0));
        return true;
    }

    // Undoes what an interrupted run (the program ended in it) left. Tables
    // under SavedPrefix() are the user's database as it was before that run:
    // everything else under a plain name is the run's unfinished work, so it
    // goes and the saved tables take their names again. Tables under
    // DroppedPrefix() belong to a run that had finished and only wait to be
    // dropped. A stop half way through here is taken up by the next run in
    // the same way.
    bool RecoverInterrupted() {
        QStringList names;
        if (!Tables(&names))
            return false;
        QStringList savedNames, drop, made;
        for (const QString& name : std::as_const(names)) {
            if (name.startsWith(SavedPrefix(), Qt::CaseInsensitive))
                savedNames << name;
            else if (name.startsWith(DroppedPrefix(), Qt::CaseInsensitive))
                drop << name;
            else if (name.compare(kWatchdog, Qt::CaseInsensitive) != 0)
                made << name;
        }
        if (!savedNames.isEmpty())
            drop += made;
        for (const QString& name : std::as_const(drop))
            if (!sql->Execute(QStringLiteral("DROP TABLE ") + Quoted(name)).isValid())
                return false;
        if (savedNames.isEmpty())
            return true;
        QStringList pairs;
        for (const QString& name : std::as_const(savedNames))
            pairs << Quoted(name) + QStringLiteral(" TO ") + Quoted(name.mid(SavedPrefix().size()));
        if (!sql->Execute(QStringLiteral("RENAME TABLE ") + pairs.join(u',')).isValid())
            return false;
        host.Warning(Tr(QStringLiteral("Прошлое восстановление архива было прервано: таблицы "
                                       "базы данных возвращены в прежнее состояние"),
                        QStringLiteral("msgRestoredInterruptedTables")),
                     1);
        return true;
    }

    // Every table but the watcher's goes aside in one rename, which either
    // moves them all or none.
    bool SaveTables() {
        QStringList names;
        if (!Tables(&names))
            return Fail(Tr(QStringLiteral("Не удалось сохранить таблицу:"),
                           QStringLiteral("msgCantSaveTable")));
        QStringList pairs;
        for (const QString& name : std::as_const(names)) {
            if (name.compare(kWatchdog, Qt::CaseInsensitive) == 0)
                continue;
            // Both names it takes during the run must fit the server's 64.
            if ((DroppedPrefix() + name).size() > 64)
                return FailSave(name);
            pairs << Quoted(name) + QStringLiteral(" TO ") + Quoted(SavedPrefix() + name);
            saved << name;
        }
        if (!pairs.isEmpty() &&
            !sql->Execute(QStringLiteral("RENAME TABLE ") + pairs.join(u',')).isValid()) {
            const QString names = saved.join(QStringLiteral(", "));
            saved.clear();
            return FailSave(names);
        }
        return true;
    }
    bool FailSave(const QString& name) {
        const QString text = Tr(QStringLiteral("Не удалось сохранить таблицу:"),
                                QStringLiteral("msgCantSaveTable")) +
                             u' ' + name;
        host.Warning(text, 1);
        return Fail(text);
    }

    // The current schema, the same as a new database gets: the tables as the
    // schema steps leave them, made at once (replaying the hundreds of steps
    // would take longer than loading the data), then the updater for the
    // steps made after that script and its checks.
    bool CreateSchema() {
        for (const QString& statement : CxSQL::SplitScript(QString::fromUtf8(kCurrentSchemaScript)))
            if (!host.Query(statement).isValid())
                return false;
        CSQLDBUpdater updater;
        return updater.Run(sql);
    }

    // Back to where the run began: what it made goes, the set-aside tables
    // take their names again. When a statement of that fails, the set-aside
    // tables keep their names (a made table may still stand in the way) and
    // the user hears that the database is not back yet: the next restore of
    // an archive takes it back first (RecoverInterrupted).
    void RollBack() {
        QStringList names;
        bool back = Tables(&names);
        for (const QString& name : std::as_const(names))
            if (back && !before.contains(name.toLower()))
                back = sql->Execute(QStringLiteral("DROP TABLE ") + Quoted(name)).isValid();
        QStringList pairs;
        for (const QString& name : std::as_const(saved))
            pairs << Quoted(SavedPrefix() + name) + QStringLiteral(" TO ") + Quoted(name);
        if (back && !pairs.isEmpty())
            back = sql->Execute(QStringLiteral("RENAME TABLE ") + pairs.join(u',')).isValid();
        if (!back)
            host.Warning(Tr(QStringLiteral("Не удалось вернуть базу данных в прежнее состояние: "
                                           "это будет сделано при следующем восстановлении "
                                           "архива"),
                            QStringLiteral("msgRollBackFailed")),
                         0);
    }
};

COldArchiveConverter::COldArchiveConverter(CxSQL* sql, CSQLWizardLog* log)
    : m_sql(sql), m_log(log), m_mappingPath(CDirMappingFile::DefaultPath()) {}

COldArchiveConverter::~COldArchiveConverter() {
    StopLoader();
}

QString COldArchiveConverter::FileFilter() {
    return Tr(QStringLiteral("Предыдущие версии данных Kelda1"),
              QStringLiteral("msgPrevKelda1Data")) +
           QStringLiteral(" (kldbkp.*.bkz)|kldbkp.*.bkz");
}

bool COldArchiveConverter::StartLoader(const QString& path) {
    // A new choice of file binds the loader anew: a restore always reads the
    // archive the user picked last.
    if (m_loader && m_loaderPath == path)
        return true;
    StopLoader();
    m_library = std::make_unique<QLibrary>(m_libraryName);
    const auto begin = reinterpret_cast<BeginFn>(m_library->resolve("Brenvale_Begin"));
    if (!begin || !m_library->resolve("Brenvale_End")) {
        m_library.reset();
        return false;
    }
    const std::u16string wide = U16(path);
    m_loader = begin(wide.c_str(), this);
    m_loaderPath = path;
    return m_loader != nullptr;
}

void COldArchiveConverter::StopLoader() {
    if (m_loader && m_library) {
        const auto end = reinterpret_cast<EndFn>(m_library->resolve("Brenvale_End"));
        if (end)
            end(m_loader);
    }
    m_loader = nullptr;
    m_loaderPath.clear();
    m_library.reset();
}

bool COldArchiveConverter::IsValid(const QString& path) {
    return StartLoader(path) && m_loader->IsValid();
}

QString COldArchiveConverter::FileInfoHtml(const QString& path) {
    const QString context = QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::GetFileInfo");
    QString html = QStringLiteral("<b><font color=red>") +
                   HtmlEscaped(Tr(QStringLiteral("Архив Kelda"), context)) +
                   QStringLiteral(" - импорт данных</font></b>\n");
    if (!StartLoader(path))
        return html + QStringLiteral("<b><font color=red>") +
               HtmlEscaped(Tr(QStringLiteral("Ошибка загрузки библиотеки обработки"), context)) +
               QStringLiteral("</font></b>\n");
    const char16_t* info = m_loader->GetFileInfo();
    const QString text = QString::fromUtf16(Translate(info));
    return html + HtmlEscaped(text) + u'\n';
}

void COldArchiveConverter::Info(const QString& text) {
    if (m_log)
        m_log->AddInfoMessage(text, 1);
}

void COldArchiveConverter::Warning(const QString& text, int flag) {
    if (m_log)
        m_log->AddWarning(text, flag);
}

bool COldArchiveConverter::IsCancelled() const {
    return m_progress && m_progress->IsCancelled();
}

CxResult COldArchiveConverter::Query(const QString& statement) {
    CxResult res = m_sql->Execute(statement);
    if (!res.isValid()) {
        Warning(Tr(QStringLiteral("Ошибка выполнения запроса:"),
                   QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::Query")) +
                    QStringLiteral("\r\n") + statement.left(2000) + u'\n' + res.Error().text,
                0);
        return res;
    }
    if (m_counter % 17 == 0 && m_progress) {
        static const char* const dots[] = {".", "..", "...", "...."};
        m_progress->Step(Tr(QStringLiteral("Выполнение"),
                            QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::Query")) +
                             QString::fromLatin1(dots[(m_counter + 1) % 4]),
                         0);
    }
    ++m_counter;
    return res;
}

void COldArchiveConverter::Message(const char16_t* text, int level) {
    const QString translated = QString::fromUtf16(Translate(text));
    switch (level) {
    case levelInfo:
        Info(translated);
        break;
    case levelWarning:
        Warning(translated, 1);
        break;
    case levelError:
        m_lastLoaderError = translated;
        Warning(translated, 0);
        break;
    default:
        break;
    }
}

const char16_t* COldArchiveConverter::Translate(const char16_t* text) {
    if (!text)
        return nullptr;
    m_translated = U16(Tr(QString::fromUtf16(text),
                          QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::Translate")));
    return m_translated.c_str();
}

void COldArchiveConverter::SetProgressRange(int, int upper) {
    if (m_progress)
        m_progress->SetRange(upper, QString());
}

void COldArchiveConverter::StepProgress(const char16_t* text) {
    if (m_progress)
        m_progress->Step(text ? QString::fromUtf16(text) : QString());
}

bool COldArchiveConverter::Execute(const char16_t* sql) {
    // A cancel makes the loader's next statement fail: it rolls back and
    // drops its staging tables by itself.
    if (IsCancelled())
        return false;
    return Query(QString::fromUtf16(sql)).isValid();
}

bool COldArchiveConverter::Convert(const QString& path, CvProgress* progress, QString* error) {
    QString ignored;
    if (!error)
        error = &ignored;
    error->clear();
    m_progress = progress;
    m_lastLoaderError.clear();
    struct ProgressReset {
        CvProgress*& p;
        ~ProgressReset() { p = nullptr; }
    } progressReset{m_progress};

    if (!StartLoader(path)) {
        *error = Tr(QStringLiteral("Ошибка загрузки библиотеки обработки"),
                    QStringLiteral("CSQLRestoreWizard_Converter_Kelda1::GetFileInfo"));
        return false;
    }
    if (!m_loader->IsValid()) {
        *error = QString::fromUtf16(Translate(m_loader->GetFileInfo()));
        return false;
    }

    Run run{*this, m_sql, error, {}, {}};
    if (progress)
        progress->BeginProgress(Tr(QStringLiteral("Восстановление архива Kelda1"),
                                   QStringLiteral("msgRestoreOldArchive")),
                                -1);
    // Nothing else runs exclusive work on the database while its tables are
    // replaced.
    run.locked = m_sql->Lock(kLockSeconds) != 0;
    if (!run.locked) {
        const QString text =
            Tr(QStringLiteral("Ошибка блокировки таблиц"), QStringLiteral("msgLockTableError"));
        Warning(text, 0);
        return run.Fail(text);
    }
    if (!run.RecoverInterrupted()) {
        const QString text = Tr(QStringLiteral("Ошибка обработки временных таблиц"),
                                QStringLiteral("msgErrorProcessingTempTable"));
        Warning(text, 1);
        return run.Fail(text);
    }
    run.checksOff = true;
    if (!Query(QStringLiteral("set foreign_key_checks = 0")).isValid() ||
        !Query(QStringLiteral("SET UNIQUE_CHECKS=0")).isValid())
        return run.Fail(Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess));
    m_sql->SuspendWatchdog(0);
    run.suspended = true;

    Info(Tr(QStringLiteral("Сохранение старых таблиц"), QStringLiteral("msgStoringOldTables")));
    if (!run.SaveTables())
        return false;
    QStringList names;
    run.Tables(&names);
    for (const QString& name : std::as_const(names))
        run.before.insert(name.toLower());

    auto stop = [&](const QString& text) {
        if (!text.isEmpty())
            Warning(text, 0);
        run.RollBack();
        return run.Fail(text);
    };
    if (!run.CreateSchema())
        return stop(Tr(QStringLiteral("Ошибка инициализации базы данных"),
                       QStringLiteral("msgDatabaseInitError")));
    QSet<QString> schema;
    run.Tables(&names);
    for (const QString& name : std::as_const(names))
        if (!run.before.contains(name.toLower()))
            schema.insert(name.toLower());

    if (!m_loader->Process()) {
        // The loader has shown its error and removed its staging tables.
        run.RollBack();
        if (IsCancelled())
            return run.Fail(Tr(QStringLiteral("Операция прервана пользователем"),
                               QStringLiteral("msgExchangeCancelled")));
        return run.Fail(m_lastLoaderError.isEmpty()
                            ? Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess)
                            : m_lastLoaderError);
    }
    Info(Tr(QStringLiteral("Успешно загружено"), QStringLiteral("msgSuccessLoaded")));
    Info(QString());
    Info(Tr(QStringLiteral("Ковертация базы"), QStringLiteral("msgDBConverting")));

    CDirMappingFile mapping;
    QString text;
    if (!mapping.Load(m_mappingPath, &text))
        return stop(text);
    COldDataConversion conversion(this, &mapping);
    if (!conversion.CheckMappings(&text)) {
        // The keys still to be filled in go into the file for the user to
        // send on; nothing is converted without them.
        QString saveError;
        if (!mapping.Entries().isEmpty() && !mapping.Save(&saveError))
            Warning(saveError, 0);
        return stop(text);
    }
    // With the unique and the foreign key checks off the server fills an
    // empty table in bulk, and drops all rows of an INSERT ... SELECT without
    // a word when two of them share a key. Old archives may repeat codes and
    // ids, so the conversion writes with the unique checks on, whatever the
    // loader library left of the others: a repeated key stops the run.
    if (!Query(QStringLiteral("SET UNIQUE_CHECKS=1")).isValid())
        return stop(Tr(QStringLiteral("Ошибка выполнения запроса"), kProcess));
    if (!conversion.Run(progress, &text))
        return stop(text);

    // The conversion is done. The set-aside tables change their prefix in
    // one rename, so that a run interrupted from here on is not undone by the
    // next one; then whatever the current schema does not hold goes: those
    // tables and any staging table left over.
    if (!run.saved.isEmpty()) {
        QStringList pairs;
        for (const QString& name : std::as_const(run.saved))
            pairs << Quoted(SavedPrefix() + name) + QStringLiteral(" TO ") +
                         Quoted(DroppedPrefix() + name);
        if (!Query(QStringLiteral("RENAME TABLE ") + pairs.join(u',')).isValid())
            return stop(Tr(QStringLiteral("Ошибка обработки временных таблиц"),
                           QStringLiteral("msgErrorProcessingTempTable")));
        run.saved.clear();
    }
    run.Tables(&names);
    for (const QString& name : std::as_const(names)) {
        if (schema.contains(name.toLower()) || name.compare(kWatchdog, Qt::CaseInsensitive) == 0)
            continue;
        Info(QStringLiteral(" -") + name);
        Query(QStringLiteral("DROP TABLE ") + Quoted(name));
    }
    // Only now is the database another: the program must start again on it.
    m_needRestart = true;
    // Other running copies see every table change and reload (a failure is
    // in the log; this copy restarts on the new database anyway).
    static_cast<void>(Query(QStringLiteral("UPDATE watchdog SET nChangeID=nChangeID+1")));
    if (progress)
        progress->EndProgress();
    return true;
}

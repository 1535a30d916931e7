#include "rep_base_data.h"

#include "cache_config.h"
#include "db/digests.h"
#include "framework/core/progress.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "rep_base_summary.h"
#include "rep_config.h"
#include "rep_field.h"
#include "rep_templates.h"

namespace {
// Builders wait this long for another copy's build to end.
constexpr int kLockWaitSeconds = 999999;
// Texts longer than this are named by their digests in _cache_strtoid.
constexpr int kStrToIDKeyLimit = 250;

constexpr CxTr Tr;

// A table name as a LIKE pattern that matches only itself.
QString LikeExactly(const QString& name) {
    QString pattern = name;
    pattern.replace(u'\\', QStringLiteral("\\\\"));
    pattern.replace(u'_', QStringLiteral("\\_"));
    pattern.replace(u'%', QStringLiteral("\\%"));
    return SafeSQL(pattern);
}
} // namespace

CRepBaseData::CRepBaseData(CxSQL* sql, const QDate& from, const QDate& to, CvProgress* progress)
    : m_sql(sql ? sql : g_pBaseSQLConnection.get()), m_progress(progress), m_from(from), m_to(to),
      m_hold(m_sql) {
    InitReportTemplates();
    m_fatalTemplate.Load(kFatalTemplateID);
    m_projectStart = RepConfig::ProjectStartDate();
}

CRepBaseData::~CRepBaseData() {
    // A run that ends while builds are open (it cannot, but a failure in a
    // failure path could) still gives every lock back.
    while (m_lockDepth > 0)
        ReleaseTableLock();
}

QString CRepBaseData::WorkTableOptions() {
    // MyISAM: work tables are a cache, rebuilt from the data at any time, so
    // they need no transactions, and bulk INSERT ... SELECT into MyISAM is
    // several times faster than into InnoDB. utf8, the character set of the
    // data tables, so joins on texts compare without conversion.
    return QStringLiteral("ENGINE=MyISAM DEFAULT CHARSET=utf8");
}

QString CRepBaseData::LookupTableOptions() {
    // Aria without its log: MyISAM answers each row found through a key with
    // a read call on its file, Aria from its page cache; and its page format
    // keeps texts at their length (the client states take a quarter of the
    // room). The lookups of a client's record or state in every query of a
    // report, and of the history periods in the states' own build, take a
    // third of the time; filling these small tables costs no more.
    return QStringLiteral("ENGINE=Aria TRANSACTIONAL=0 DEFAULT CHARSET=utf8");
}

QString CRepBaseData::SumColumn(long code) {
    return QStringLiteral("`sum%1`").arg(code);
}

QString CRepBaseData::PartName(const QString& table) {
    return QStringLiteral("_cache_part_") + table.mid(7);
}

void CRepBaseData::SetPreset(const KDRepPresetEx2& preset) {
    m_preset.Copy(preset);
    const QDate start = RepConfig::ParseDate(m_preset.ProjectStartDate);
    m_projectStart = start.isValid() ? start : RepConfig::ProjectStartDate();
}

// ---- footnotes ----

QString CRepBaseData::AddFootnote(const QString& text) {
    qsizetype index = m_footnotes.indexOf(text);
    if (index < 0) {
        m_footnotes.append(text);
        index = m_footnotes.size() - 1;
    }
    return QString::number(index + 1);
}

QString CRepBaseData::GetFootnotesHTML() const {
    QString html;
    for (qsizetype i = 0; i < m_footnotes.size(); ++i)
        html += QStringLiteral("<br><sup>%1</sup>").arg(i + 1) + m_footnotes.at(i);
    return html;
}

// ---- progress ----

void CRepBaseData::AddProgressTitle(const QString& title, const QString& detail) {
    if (m_progress) {
        m_progress->SetRange(-1, title);
        m_progress->Step(detail, 0);
    }
}

int CRepBaseData::AddProgressDot() {
    if (m_progress)
        m_progress->Step(QString(), 1);
    return 1;
}

void CRepBaseData::ThrowCancelled() {
    throw CRepError{Tr("Формирование отчета прервано пользователем", "msgReportCancelled"), true};
}

// ---- the work-table protocol ----

int CRepBaseData::TableExists(const QString& table) {
    CxResult res = m_sql->Execute(QStringLiteral("SHOW TABLES LIKE ") + LikeExactly(table));
    if (!res.isValid())
        throw CRepError{SafeHTML(res.Error().statement) + QStringLiteral("<br/><b>") +
                        SafeHTML(res.Error().text) + QStringLiteral("</b>")};
    return res.FetchRow() ? 1 : 0;
}

void CRepBaseData::HoldWorkTables() {
    QString why;
    if (m_hold.Acquire(m_progress, &why))
        return;
    if (m_progress && m_progress->IsCancelled())
        ThrowCancelled();
    throw CRepError{SafeHTML(why)};
}

int CRepBaseData::BeginTable(const QString& table, const QString& title) {
    if (m_progress && m_progress->IsCancelled())
        ThrowCancelled();
    if (m_lockDepth == 0) {
        // Changes are held back until the outermost build ends (unless a
        // transaction of the caller holds them already).
        m_updatesWereEnabled = m_sql->IsUpdateEnabled();
        m_sql->DisableUpdates();
    }
    if (!m_sql->Lock(kLockWaitSeconds)) {
        if (m_lockDepth == 0 && m_updatesWereEnabled)
            m_sql->EnableUpdates();
        throw CRepError{SafeHTML(table) + QStringLiteral(": ") +
                        Tr("Не удалось получить блокировку базы данных для построения таблицы",
                           "msgCantLockForTable")};
    }
    ++m_lockDepth;
    if (!m_configChecked) {
        QString why;
        if (!EnsureWorkTablesMatchConfig(m_sql, &why)) {
            ReleaseTableLock();
            throw CRepError{SafeHTML(why)};
        }
        m_configChecked = true;
    }
    AddProgressTitle(title, Tr("Создание таблицы {table}", "msgCreatingTable")
                                .replace(QLatin1String("{table}"), table));
    try {
        return TableExists(table) ? 0 : 1;
    } catch (...) {
        ReleaseTableLock();
        throw;
    }
}

void CRepBaseData::RegisterTable(const QString& table, const QString& logicalName) {
    if (!logicalName.isEmpty()) {
        m_tables.insert(logicalName, table);
    } else if (!table.isEmpty()) {
        m_sql->ExecuteCleanup(QStringLiteral("UNLOCK TABLES"));
        m_sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS ") + table);
        m_sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS ") + PartName(table));
    }
    ReleaseTableLock();
}

void CRepBaseData::ReleaseTableLock() {
    m_sql->ExecuteCleanup(QStringLiteral("UNLOCK TABLES"));
    if (m_lockDepth > 0) {
        m_sql->Unlock();
        if (--m_lockDepth == 0 && m_updatesWereEnabled)
            m_sql->EnableUpdates();
    }
}

int CRepBaseData::ExecuteStep(const QString& sql) {
    if (m_progress && m_progress->IsCancelled())
        ThrowCancelled();
    // The progress keeps the caption of the table under way: a statement
    // means nothing to the user.
    CxResult res = m_sql->Execute(sql);
    if (!res.isValid())
        throw CRepError{
            SafeHTML(sql) + QStringLiteral("<br/><b>") +
            SafeHTML(res.Error().text.isEmpty() ? m_sql->GetSqlErrorString() : res.Error().text) +
            QStringLiteral("</b>")};
    return AddProgressDot();
}

QString CRepBaseData::BuildTable(const QString& name, const QString& title,
                                 const std::function<void(const QString&)>& build,
                                 const QString& logicalName) {
    const QString key = logicalName.isEmpty() ? name : logicalName;
    auto known = m_tables.constFind(key);
    if (known != m_tables.constEnd())
        return *known;
    if (!BeginTable(name, title)) {
        RegisterTable(name, key);
        return name;
    }
    const QString part = PartName(name);
    try {
        // A part left by a build that never ended (the program was killed).
        if (TableExists(part))
            ExecuteStep(QStringLiteral("DROP TABLE IF EXISTS ") + part);
        build(part);
        ExecuteStep(QStringLiteral("UNLOCK TABLES"));
        ExecuteStep(QStringLiteral("RENAME TABLE ") + part + QStringLiteral(" TO ") + name);
    } catch (CRepError& error) {
        RegisterTable(name);
        error.html = SafeHTML(name) + QStringLiteral(": ") + error.html;
        throw;
    } catch (...) {
        RegisterTable(name);
        throw;
    }
    RegisterTable(name, key);
    return name;
}

long CRepBaseData::StrToID(const QString& text) {
    const QString name = QStringLiteral("_cache_strtoid");
    if (BeginTable(name, Tr("Анализ таблицы преобразования строка/число", "msgCreatingStrToID"))) {
        try {
            // Built in place: a single statement, whole or not at all.
            ExecuteStep(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + name +
                        QStringLiteral(" (ROWID INT NOT NULL PRIMARY KEY AUTO_INCREMENT, cStr "
                                       "VARCHAR(254) CHARACTER SET utf8 COLLATE utf8_bin NOT NULL,"
                                       "UNIQUE INDEX (cStr)) ") +
                        WorkTableOptions());
        } catch (CRepError& error) {
            ReleaseTableLock();
            error.html = SafeHTML(name) + QStringLiteral(": ") + error.html;
            throw;
        }
    }
    QString key = text;
    if (key.size() > kStrToIDKeyLimit)
        key = MD5HexOfText(text) + SHA256HexOfText(text);
    long id = 0;
    try {
        CxResult res = m_sql->Execute(QStringLiteral("SELECT ROWID FROM ") + name +
                                      QStringLiteral(" WHERE cStr=") + SafeSQL(key));
        if (!res.isValid())
            throw CRepError{SafeHTML(res.Error().statement) + QStringLiteral("<br/><b>") +
                            SafeHTML(res.Error().text) + QStringLiteral("</b>")};
        if (res.FetchRow()) {
            id = res.LFieldValue(0);
        } else {
            qint64 inserted = -1;
            const QString insert = QStringLiteral("INSERT INTO ") + name +
                                   QStringLiteral(" (cStr) VALUES (") + SafeSQL(key) + u')';
            CxResult added = m_sql->Execute(insert, &inserted);
            if (!added.isValid() || inserted <= 0)
                throw CRepError{SafeHTML(insert) + QStringLiteral("<br/><b>") +
                                SafeHTML(added.Error().text) + QStringLiteral("</b>")};
            id = long(inserted);
        }
    } catch (CRepError& error) {
        ReleaseTableLock();
        error.html = SafeHTML(name) + QStringLiteral(": ") + error.html;
        throw;
    }
    RegisterTable(name, name);
    return id;
}

// ---- fields ----

void CRepBaseData::BindFields(CxResult* result) {
    for (CRepField* field : m_fields)
        field->Bind(result);
}

void CRepBaseData::ClearFields() {
    m_fields.RemoveAll();
}

// ---- dates ----

QString CRepBaseData::DisplayDate(const QDate& date) const {
    return DateToText(date);
}

void CRepBaseData::SetEndToMonthEnd() {
    m_to = QDate(m_to.year(), m_to.month(), GetLastMonthDay(m_to.year(), m_to.month()));
}

void CRepBaseData::SetStartMonthsBack(int months) {
    int month = m_to.month() + 1 - months;
    int year = m_to.year();
    while (month < 1) {
        month += 12;
        --year;
    }
    m_from = QDate(year, month, 1);
}

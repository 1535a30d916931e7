#include "db_updater.h"
#include "framework/core/table/safe_sql.h"

#include "framework/core/tarvik_app.h"

#include <QRegularExpression>

namespace {
std::function<void(const QString&)>& ProgressHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

// Tables of the framework itself, made before any step that alters them.
const char* const kFrameworkTables[] = {
    "CREATE TABLE IF NOT EXISTS `dbsettings` (`cVariable` varchar(64) collate ucs2_unicode_ci "
    "default NULL,`cValue` mediumtext collate ucs2_unicode_ci,UNIQUE KEY `cVariable` "
    "(`cVariable`)) ENGINE=InnoDB DEFAULT CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
    // One change counter per watched table, shared by every running copy.
    "CREATE TABLE IF NOT EXISTS `watchdog` (`cTable` varchar(64) NOT NULL,`nChangeID` int(11) "
    "NOT NULL default 0,UNIQUE KEY `cTable` (`cTable`)) ENGINE=InnoDB DEFAULT CHARSET=ucs2 "
    "COLLATE=ucs2_unicode_ci",
    // Temporary tables registered by the SQL layer: generated name, the script
    // that made it and when.
    "CREATE TABLE IF NOT EXISTS `temptablesdata` (`cTableName` varchar(64) NOT NULL,`cScript` "
    "mediumtext,`dCreated` datetime default NULL,PRIMARY KEY (`cTableName`)) ENGINE=InnoDB "
    "DEFAULT CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
    // Templates of directory entries.
    "CREATE TABLE IF NOT EXISTS `dirtemplates` (`ROWID` int(11) NOT NULL auto_increment,"
    "`nDirType` int(11) default NULL,`cName` varchar(255) default NULL,`cTemplate` mediumtext,"
    "PRIMARY KEY (`ROWID`)) ENGINE=InnoDB DEFAULT CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
};

bool ChangesData(const QString& statement) {
    static const QRegularExpression dml(QStringLiteral("^\\s*(UPDATE|INSERT|DELETE|REPLACE)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return dml.match(statement).hasMatch();
}
} // namespace

void CxSQLDBUpdater::SetProgressHandler(std::function<void(const QString&)> handler) {
    ProgressHandler() = std::move(handler);
}

bool CxSQLDBUpdater::Run(CxSQL* sql) {
    m_sql = sql;
    m_failed = false;
    m_warning = false;
    m_info.clear();
    if (!m_sql || !m_sql->IsConnected()) {
        Fail(CTarvikApp::TranslateString(QStringLiteral("Нет соединения с базой данных"),
                                         QStringLiteral("CxSQLDBUpdater::Run")));
        return false;
    }
    if (!EnsureFrameworkTables())
        return false;
    bool found = false;
    const QString version = GetVariable(QStringLiteral("DatabaseVersion"), &found);
    m_version = found ? version.trimmed().toInt() : 0;
    OnUpdate();
    return !m_failed;
}

bool CxSQLDBUpdater::EnsureFrameworkTables() {
    for (const char* statement : kFrameworkTables) {
        const QString text = QString::fromUtf8(statement);
        if (!m_sql->Execute(text).isValid()) {
            FailQuery(text);
            return false;
        }
    }
    return true;
}

void CxSQLDBUpdater::OnDataUpdated(int) {}

void CxSQLDBUpdater::UpdateOld(int step, const QString& statement, const QString&) {
    RunStep(step, statement, Kind::Single);
}

void CxSQLDBUpdater::Update(int step, const QString& statement, const QString&) {
    RunStep(step, statement, Kind::Single);
}

void CxSQLDBUpdater::MultiUpdate(int step, const QString& script, const QString&) {
    RunStep(step, script, Kind::Multi);
}

void CxSQLDBUpdater::RunStep(int step, const QString& text, Kind kind) {
    if (m_failed || step != m_version)
        return;
    const QString next = QString::number(step + 1);
    if (kind == Kind::Single && ChangesData(text)) {
        // A data step and its version move together, so an interruption never
        // applies the step twice.
        m_sql->BeginTransaction();
        if (!m_sql->Execute(text).isValid()) {
            StepFailed(step, text);
            m_sql->RollbackTransaction();
            return;
        }
        if (!SetVariable(QStringLiteral("DatabaseVersion"), next) || !m_sql->CommitTransaction()) {
            m_sql->RollbackTransaction();
            StepFailed(step, text);
            return;
        }
        m_version = step + 1;
        return;
    }
    const QStringList statements =
        kind == Kind::Multi ? CxSQL::SplitScript(text) : QStringList{text.trimmed()};
    for (const QString& statement : statements) {
        if (statement.isEmpty())
            continue;
        if (!m_sql->Execute(statement).isValid()) {
            StepFailed(step, statement);
            if (kind == Kind::Multi)
                m_sql->Execute(QStringLiteral("UNLOCK TABLES"));
            return;
        }
    }
    if (!SetVariable(QStringLiteral("DatabaseVersion"), next)) {
        StepFailed(step, QStringLiteral("DatabaseVersion=") + next);
        return;
    }
    m_version = step + 1;
}

void CxSQLDBUpdater::StepFailed(int step, const QString& statement) {
    m_failed = true;
    CTarvikApp::AddErrorMessage(
        CTarvikApp::TranslateString(QStringLiteral("Ошибка обновления базы данных, шаг {num}"),
                                    QStringLiteral("CxSQLDBUpdater::Update"))
            .replace(QStringLiteral("{num}"), QString::number(step)) +
        u'\n' + statement + u'\n' + m_sql->GetSqlErrorString());
}

bool CxSQLDBUpdater::SetVariable(const QString& name, const QString& value) {
    return m_sql
        ->Execute(QStringLiteral("REPLACE INTO dbsettings (cVariable,cValue) VALUES (%1,%2)")
                      .arg(SafeSQL(name), SafeSQL(value)))
        .isValid();
}

QString CxSQLDBUpdater::GetVariable(const QString& name, bool* found) {
    CxResult res = m_sql->Execute(
        QStringLiteral("SELECT cValue FROM dbsettings WHERE cVariable=%1").arg(SafeSQL(name)));
    const bool has = res.isValid() && res.FetchRow();
    if (found)
        *found = has;
    return has ? res.SFieldValue(0) : QString();
}

bool CxSQLDBUpdater::CheckProfileTable() {
    const QString create = QStringLiteral(
        "CREATE TABLE IF NOT EXISTS `profiles` (`cUser` char(32) collate ucs2_unicode_ci default "
        "NULL,`cPath` varchar(255) collate ucs2_unicode_ci default NULL,`cValue` mediumtext "
        "collate ucs2_unicode_ci,UNIQUE KEY `cUser` (`cUser`,`cPath`)) ENGINE=InnoDB DEFAULT "
        "CHARSET=ucs2 COLLATE=ucs2_unicode_ci");
    if (!m_sql->Execute(create).isValid())
        return false;
    CxResult res = m_sql->Execute(QStringLiteral("SHOW COLUMNS FROM `profiles`"));
    if (!res.isValid())
        return false;
    QSet<QString> columns;
    while (res.FetchRow())
        columns.insert(res.SFieldValue(0).toLower());
    return columns.contains(QStringLiteral("cuser")) && columns.contains(QStringLiteral("cpath")) &&
           columns.contains(QStringLiteral("cvalue"));
}

bool CxSQLDBUpdater::OnCheckAppName() {
    const QString key = GetAppKey();
    if (key.isEmpty())
        return true;
    bool found = false;
    const QString stored = GetVariable(QStringLiteral("AppName"), &found);
    if (!found || stored.isEmpty())
        return SetVariable(QStringLiteral("AppName"), key);
    if (stored.compare(key, Qt::CaseInsensitive) == 0)
        return true;
    Fail(CTarvikApp::TranslateString(
             QStringLiteral("База данных принадлежит другой программе ({name})"),
             QStringLiteral("CxSQLDBUpdater::OnCheckAppName"))
             .replace(QStringLiteral("{name}"), stored));
    return false;
}

CxResult CxSQLDBUpdater::Query(const QString& statement) {
    return m_sql->Execute(statement);
}

void CxSQLDBUpdater::Fail(const QString& text) {
    m_failed = true;
    CTarvikApp::AddErrorMessage(text);
}

void CxSQLDBUpdater::FailQuery(const QString& statement) {
    m_failed = true;
    CTarvikApp::AddErrorMessage(statement + u'\n' + m_sql->GetSqlErrorString());
}

void CxSQLDBUpdater::SetInfoMessage(const QString& text) {
    m_info << text;
    if (ProgressHandler())
        ProgressHandler()(text);
}

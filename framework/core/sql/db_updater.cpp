#include "db_updater.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "schema_expectation.h"
#include "schema_lock.h"

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
    m_stepRun = false;
    m_info.clear();
    if (!m_sql || !m_sql->IsConnected()) {
        Fail(CTarvikApp::TranslateString(QStringLiteral("Нет соединения с базой данных"),
                                         QStringLiteral("CxSQLDBUpdater::Run")));
        return false;
    }
    const CxSchemaWorkLock lock(m_sql, m_sql->GetConnectInfo()->get_Database(),
                                [this](const QString& text) { SetInfoMessage(text); });
    if (!lock.Locked()) {
        Fail(CTarvikApp::TranslateString(
                 QStringLiteral("Не удалось дождаться, пока другая копия программы закончит "
                                "обновление базы данных"),
                 QStringLiteral("CxSQLDBUpdater::Run")) +
             u'\n' + m_sql->GetSqlErrorString());
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

void CxSQLDBUpdater::UpdateOld(int step, const QString& statement) {
    RunStep(step, statement, Kind::Single);
}

void CxSQLDBUpdater::Update(int step, const QString& statement) {
    RunStep(step, statement, Kind::Single);
}

void CxSQLDBUpdater::MultiUpdate(int step, const QString& script) {
    RunStep(step, script, Kind::Multi);
}

bool CxSQLDBUpdater::MoveVersion(int step) {
    if (!SetVariable(QStringLiteral("DatabaseVersion"), QString::number(step + 1)))
        return false;
    m_version = step + 1;
    return true;
}

void CxSQLDBUpdater::RunStep(int step, const QString& text, Kind kind) {
    if (m_failed || step != m_version)
        return;
    const bool resumed = !std::exchange(m_stepRun, true);
    QStringList statements =
        kind == Kind::Multi ? CxSQL::SplitScript(text) : QStringList{text.trimmed()};
    statements.removeAll(QString());
    if (kind == Kind::Single && statements.size() == 1 && ChangesData(statements.first())) {
        // A data step and its version move together, so an interruption never
        // applies the step twice.
        if (!m_sql->BeginTransaction()) {
            StepFailed(step, statements.first());
            return;
        }
        if (!m_sql->Execute(statements.first()).isValid() ||
            !SetVariable(QStringLiteral("DatabaseVersion"), QString::number(step + 1)) ||
            !m_sql->CommitTransaction()) {
            StepFailed(step, statements.first());
            m_sql->RollbackAfterFailure(nullptr);
            return;
        }
        m_version = step + 1;
        return;
    }

    const CxSchemaExpectation expected = CxSchemaExpectation::FromStatements(statements);
    // A statement of this step that the server carried out after the program
    // that sent it died: the step is done, only the version is missing. Only
    // the first step of a run can be in that state; the later ones follow
    // steps this run made itself.
    if (resumed && expected.CanTellDone() && expected.Holds(m_sql)) {
        if (!MoveVersion(step))
            StepFailed(step, QStringLiteral("DatabaseVersion=%1").arg(step + 1));
        return;
    }
    for (const QString& statement : std::as_const(statements)) {
        if (!m_sql->Execute(statement).isValid()) {
            StepFailed(step, statement);
            if (kind == Kind::Multi)
                m_sql->ExecuteCleanup(QStringLiteral("UNLOCK TABLES"));
            return;
        }
    }
    QString difference;
    if (expected.IsUnderstood() && !expected.Holds(m_sql, &difference)) {
        StepFailed(step, statements.join(u';'),
                   CTarvikApp::TranslateString(
                       QStringLiteral("Схема базы данных после шага не такая, какой её оставляет "
                                      "шаг: "),
                       QStringLiteral("CxSQLDBUpdater::Update")) +
                       difference);
        return;
    }
    if (!MoveVersion(step))
        StepFailed(step, QStringLiteral("DatabaseVersion=%1").arg(step + 1));
}

void CxSQLDBUpdater::StepFailed(int step, const QString& statement, const QString& why) {
    m_failed = true;
    CTarvikApp::AddErrorMessage(
        CTarvikApp::TranslateString(QStringLiteral("Ошибка обновления базы данных, шаг {num}"),
                                    QStringLiteral("CxSQLDBUpdater::Update"))
            .replace(QStringLiteral("{num}"), QString::number(step)) +
        u'\n' + statement + u'\n' + (why.isEmpty() ? m_sql->GetSqlErrorString() : why));
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

#include "diary_sql.h"

#include "diary_verdict.h"

namespace {
// Bounds of one INSERT: well below the server's packet limit, large enough
// that a sheet of a few thousand cells goes in a handful of statements.
constexpr int kRowsPerInsert = 1000;
constexpr int kCharsPerInsert = 256 * 1024;
} // namespace

bool FailDiary(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

bool RunDiarySQL(CxSQL* sql, const QString& statement, CxResult* result, QString* error,
                 qint64* insertId) {
    if (!sql || !sql->IsConnected())
        return FailDiary(error,
                         DiaryText("Нет соединения с базой данных.", "msgNoDatabaseConnection"));
    CxResult r = sql->Execute(statement, insertId);
    if (!r.isValid())
        return FailDiary(error,
                         r.Error().text.isEmpty() ? sql->GetSqlErrorString() : r.Error().text);
    if (result)
        *result = r;
    return true;
}

bool DiaryScalar(CxSQL* sql, const QString& statement, qint64* value, bool* found, QString* error) {
    CxResult r;
    if (!RunDiarySQL(sql, statement, &r, error))
        return false;
    *found = r.FetchRow();
    *value = *found ? r.LFieldValue(0) : 0;
    return true;
}

bool DiaryReportRegion(CxSQL* sql, qint64 reportId, const char* context, qint64* region,
                       QString* error) {
    bool found = false;
    if (!DiaryScalar(
            sql,
            QStringLiteral("SELECT nRegionDataID FROM dailyreport WHERE ROWID=%1").arg(reportId),
            region, &found, error))
        return false;
    return found || FailDiary(error, DiaryText("Ежедневный отчет не найден.", context));
}

CDiaryInsert::CDiaryInsert(CxSQL* sql, const QString& table, const QStringList& columns)
    : m_sql(sql), m_head(QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                             .arg(table, columns.join(QLatin1Char(',')))) {}

bool CDiaryInsert::Add(const QStringList& values, QString* error) {
    if (m_pending)
        m_values += QLatin1Char(',');
    m_values += QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
    ++m_pending;
    ++m_rows;
    if (m_pending >= kRowsPerInsert || m_values.size() >= kCharsPerInsert)
        return Send(error);
    return true;
}

bool CDiaryInsert::Finish(QString* error) {
    return m_pending ? Send(error) : true;
}

bool CDiaryInsert::Send(QString* error) {
    const QString statement = m_head + m_values;
    m_values.clear();
    m_pending = 0;
    return RunDiarySQL(m_sql, statement, nullptr, error);
}

#include "rows_fingerprint.h"

#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

namespace {
bool Failed(const CxResult& r, QString* error) {
    if (error)
        *error = DescribeSQLError(r.Error());
    return false;
}

QString Quoted(QString name) {
    return u'`' + name.replace(u'`', QStringLiteral("``")) + u'`';
}
} // namespace

bool CxRowsFingerprint::Compute(CxSQL* sql, const CxGuardedRows& part, bool lock, QString* value,
                                QString* error) {
    CxResult columns = sql->Execute(QStringLiteral("SHOW COLUMNS FROM ") + Quoted(part.table));
    if (!columns.isValid())
        return Failed(columns, error);
    QStringList quoted;
    while (columns.FetchRow()) {
        const QString column = columns.SFieldValue(0);
        if (!part.ignored.contains(column, Qt::CaseInsensitive))
            quoted << QStringLiteral("QUOTE(") + Quoted(column) + u')';
    }
    // QUOTE writes NULL bare and every other value quoted and escaped, so the
    // joined text of a row is unambiguous; each row's digest contributes 64
    // bits, combined without regard to the order the rows come in.
    CxResult r = sql->Execute(
        QStringLiteral("SELECT COUNT(*),IFNULL(BIT_XOR(CAST(CONV(LEFT(MD5(CONCAT_WS(',',%1)),16),"
                       "16,10) AS UNSIGNED)),0) FROM %2 WHERE %3%4")
            .arg(quoted.join(u','), Quoted(part.table), part.where,
                 lock ? QStringLiteral(" FOR UPDATE") : QString()));
    if (!r.isValid())
        return Failed(r, error);
    *value = r.FetchRow() ? r.SFieldValue(0) + u':' + r.SFieldValue(1) : QString();
    return true;
}

bool CxRowsFingerprint::Take(CxSQL* sql, const QList<CxGuardedRows>& parts, QString* error) {
    Clear();
    QStringList values;
    for (const CxGuardedRows& part : parts) {
        QString value;
        if (!Compute(sql, part, false, &value, error))
            return false;
        values << value;
    }
    m_parts = parts;
    m_values = values;
    return true;
}

void CxRowsFingerprint::Clear() {
    m_parts.clear();
    m_values.clear();
}

bool CxRowsFingerprint::CheckUnchanged(CxSQL* sql, bool* unchanged, QString* error) const {
    *unchanged = true;
    for (int i = 0; i < m_parts.size(); ++i) {
        QString value;
        if (!Compute(sql, m_parts[i], true, &value, error))
            return false;
        if (value != m_values[i])
            *unchanged = false;
    }
    return true;
}

QString CxRowsFingerprint::ChangedMeanwhileText() {
    return CTarvikApp::TranslateString(
        QStringLiteral("Эту запись изменили или удалили в другом окне или на другом компьютере "
                       "после того, как вы её открыли. Ваши изменения не сохранены, чтобы не "
                       "затереть чужие."),
        QStringLiteral("msgRecordChangedMeanwhile"), 1);
}

QString CxRowsFingerprint::ReopenQuestion() {
    return CTarvikApp::TranslateString(
        QStringLiteral("Открыть запись заново, с сохранёнными в ней данными? Ваши изменения в "
                       "этом окне будут потеряны."),
        QStringLiteral("msgReopenRecordAsk"), 1);
}

#include "visits_run_data.h"

#include "framework/core/select/temp_table.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "visits_columns.h"

CRepVisitsRunData::CRepVisitsRunData(CxSQL* sql, const QDate& from, const QDate& to,
                                     CvProgress* progress)
    : CRepBaseData(sql, from, to, progress), m_posh(sql) {}

CRepVisitsRunData::~CRepVisitsRunData() {
    // The tables go before the connection's other session state is touched
    // by whoever runs next; the columns read nothing any more.
    m_tempTables.clear();
}

void CRepVisitsRunData::RebuildIdSets() {
    m_summaryIds.clear();
    m_detailIds.clear();
    for (long id : m_preset.Summary.GetIDs())
        m_summaryIds.insert(id);
    for (long id : m_preset.Detailed.GetIDs())
        m_detailIds.insert(id);
}

Cxrp* CRepVisitsRunData::AddOwnedColumn(Cxrp* column) {
    m_ownedColumns.emplace_back(column);
    return column;
}

int CRepVisitsRunData::AddComment(const QString& text) {
    if (text.isEmpty())
        return -1;
    if (const auto it = m_commentNumbers.constFind(text); it != m_commentNumbers.cend())
        return it.value();
    m_comments << text;
    const int number = int(m_comments.size());
    m_commentNumbers.insert(text, number);
    return number;
}

QString CRepVisitsRunData::GetPeriodCondition(const QString& field) {
    return field + QStringLiteral(" BETWEEN STR_TO_DATE('") +
           From().toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral("','%Y-%m-%d') AND STR_TO_DATE('") +
           To().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("','%Y-%m-%d')");
}

QString CRepVisitsRunData::CreateTempTable(const QString& statement, const QString& indexFields,
                                           bool unique) {
    auto table = std::make_unique<CxSQLTempTable>(GetSQL(), QString(), statement);
    CxSQLError error;
    bool made = table->Create(&error);
    if (made && !indexFields.isEmpty())
        made = table->CreateIndex(indexFields, unique, &error);
    const QString name = table->GetName();
    // Kept even when the index failed, so the half-made table is dropped.
    m_tempTables.push_back(std::move(table));
    if (!made)
        throw CRepError{QStringLiteral("<p>") + SafeHTML(error.text) + QStringLiteral("</p><pre>") +
                        SafeHTML(error.statement) + QStringLiteral("</pre>")};
    return name;
}

QString CRepVisitsRunData::CreateStateTable(const QString& table, const QStringList& columns) {
    if (const auto it = m_stateTables.constFind(table); it != m_stateTables.cend())
        return it.value();
    QStringList qualified;
    for (const QString& column : columns)
        qualified << table + u'.' + column;
    // One row per client: the record of the latest date on or before the
    // period's end; of two records of one day the one entered last (the
    // greater ROWID) holds, so the choice never depends on the server's
    // reading order. A client whose records all come after the end has no
    // state in the period and counts on the line of the value 0: a state
    // recorded later must not colour figures of a period before it.
    // This is the visits reports' own table: the period reports' state on a
    // date (reports/base/core/work_tables_state.cpp) follows its own rules
    // and is not read here.
    const QString end = SafeSQL(To().toString(QStringLiteral("yyyy-MM-dd")));
    const QString date = table + QStringLiteral(".dDate");
    const QString statement =
        QStringLiteral("CREATE TEMPORARY TABLE $$$ (UNIQUE INDEX i_client (nClientID)) AS SELECT "
                       "nClientID,") +
        columns.join(u',') + QStringLiteral(" FROM (SELECT ") + table +
        QStringLiteral(".nClientID,") + qualified.join(u',') +
        QStringLiteral(",ROW_NUMBER() OVER (PARTITION BY ") + table +
        QStringLiteral(".nClientID ORDER BY ") + date + QStringLiteral(" DESC,") + table +
        QStringLiteral(".ROWID DESC) AS nRank FROM ") + table + QStringLiteral(" WHERE ") + date +
        QStringLiteral("<=") + end + QStringLiteral(" AND ") + table +
        QStringLiteral(".nClientID IS NOT NULL) AS ranked WHERE nRank=1");
    const QString name = CreateTempTable(statement);
    m_stateTables.insert(table, name);
    return name;
}

QString CRepVisitsRunData::GetClientTypeStateTable() {
    return CreateStateTable(QStringLiteral("clientdatachanges"),
                            {QStringLiteral("nClientType"), QStringLiteral("nClientType2")});
}

QString CRepVisitsRunData::GetSocialStateTable() {
    return CreateStateTable(QStringLiteral("socialstatus"),
                            {QStringLiteral("nEducationLevel"), QStringLiteral("nEploymentStatus"),
                             QStringLiteral("nPlaceOfLiving")});
}

QString CRepVisitsRunData::GetDrugUseStateTable() {
    return CreateStateTable(QStringLiteral("drugusedata"),
                            {QStringLiteral("nBasicDrug"), QStringLiteral("nUseFrequency")});
}

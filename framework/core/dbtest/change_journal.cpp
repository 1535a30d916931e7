#include "change_journal.h"

#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"

namespace {
// Entries per INSERT: texts are short, so a statement stays far below the
// server's packet limit.
constexpr int kEntriesPerStatement = 200;

bool Run(CxSQL* sql, const QString& statement, QString* error, CxResult* out = nullptr) {
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        if (error)
            *error = DescribeSQLError(res.Error());
        return false;
    }
    if (out)
        *out = res;
    return true;
}
} // namespace

CvLogRef::CvLogRef(CxSQL* sql, const QString& source) : m_sql(sql), m_source(source) {}

bool CvLogRef::EnsureTable(CxSQL* sql, QString* error) {
    return Run(sql,
               QStringLiteral("CREATE TABLE IF NOT EXISTS `changelog` ("
                              "`ROWID` bigint NOT NULL AUTO_INCREMENT PRIMARY KEY,"
                              "`dDate` datetime NOT NULL,"
                              "`cUser` varchar(80) NOT NULL DEFAULT '',"
                              "`cSource` varchar(254) NOT NULL DEFAULT '',"
                              "`cCaption` varchar(254) NOT NULL DEFAULT '',"
                              "`cText` mediumtext,"
                              "KEY `dDate` (`dDate`)"
                              ") ENGINE=InnoDB DEFAULT CHARSET=utf8"),
               error);
}

void CvLogRef::Log(const QString& caption, const QString& text) {
    m_captions << caption;
    m_texts << text;
}

bool CvLogRef::Write(QString* error) {
    for (qsizetype first = 0; first < m_captions.size(); first += kEntriesPerStatement) {
        QString statement =
            QStringLiteral("INSERT INTO `changelog` (dDate,cUser,cSource,cCaption,cText) VALUES ");
        const qsizetype end = std::min(m_captions.size(), first + kEntriesPerStatement);
        for (qsizetype i = first; i < end; ++i) {
            if (i > first)
                statement += u',';
            statement += QStringLiteral("(NOW(),SUBSTRING_INDEX(USER(),'@',1),") +
                         SafeSQL(m_source) + u',' + SafeSQL(m_captions[i]) + u',' +
                         SafeSQL(m_texts[i]) + u')';
        }
        if (!Run(m_sql, statement, error))
            return false;
    }
    m_captions.clear();
    m_texts.clear();
    return true;
}

bool CvLogRef::Read(CxSQL* sql, qint64 beforeId, int limit, QList<CvLogEntry>* entries,
                    QString* error) {
    entries->clear();
    QString statement =
        QStringLiteral("SELECT ROWID,DATE_FORMAT(dDate,'%Y-%m-%dT%H:%i:%s'),cUser,cSource,"
                       "cCaption,cText FROM `changelog`");
    if (beforeId > 0)
        statement += QStringLiteral(" WHERE ROWID<") + QString::number(beforeId);
    statement += QStringLiteral(" ORDER BY ROWID DESC LIMIT ") + QString::number(limit);
    CxResult res;
    if (!Run(sql, statement, error, &res))
        return false;
    while (res.FetchRow()) {
        CvLogEntry entry;
        entry.id = res.SFieldValue(0).toLongLong();
        entry.date = QDateTime::fromString(res.SFieldValue(1), Qt::ISODate);
        entry.user = res.SFieldValue(2);
        entry.source = res.SFieldValue(3);
        entry.caption = res.SFieldValue(4);
        entry.text = res.SFieldValue(5);
        entries->append(entry);
    }
    return true;
}

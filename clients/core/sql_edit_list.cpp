#include "sql_edit_list.h"

#include "sql_run.h"

#include "framework/core/table/safe_sql.h"

#include <QRegularExpression>
#include <QSet>

namespace {
// Entries resolved per statement.
constexpr int kResolveBatch = 100;
} // namespace

void CSQLEditListCore::Init(const QString& linkTable, const QString& ownerColumn,
                            const QString& memberColumn) {
    m_linkTable = linkTable;
    m_ownerColumn = ownerColumn;
    m_memberColumn = memberColumn;
}

void CSQLEditListCore::SetLookup(const CEditListLookup& lookup) {
    m_lookup = lookup;
}

QStringList CSQLEditListCore::SplitEntries(const QString& text) {
    static const QRegularExpression delimiters(QStringLiteral("[;\\t\\r\\n]"));
    QStringList entries;
    for (const QString& part : text.split(delimiters)) {
        const QString entry = part.trimmed();
        if (!entry.isEmpty())
            entries << entry;
    }
    return entries;
}

QString CSQLEditListCore::LookupCondition() const {
    return m_lookup.filter.isEmpty() ? QStringLiteral("1") : u'(' + m_lookup.filter + u')';
}

bool CSQLEditListCore::Resolve(CxSQL* sql, const QStringList& entries, QList<qint64>* ids,
                               QString* error) const {
    ids->fill(0, entries.size());
    const QString order = m_lookup.preference.isEmpty()
                              ? QStringLiteral("ROWID")
                              : m_lookup.preference + QStringLiteral(",ROWID");
    for (int start = 0; start < entries.size(); start += kResolveBatch) {
        QStringList parts;
        for (int i = start; i < qMin<int>(entries.size(), start + kResolveBatch); ++i)
            parts << QStringLiteral("(SELECT ") + QString::number(i) +
                         QStringLiteral(" AS n,ROWID FROM ") + m_lookup.table +
                         QStringLiteral(" WHERE ") + LookupCondition() + QStringLiteral(" AND ") +
                         m_lookup.textColumn + u'=' + SafeSQL(entries[i]) +
                         QStringLiteral(" ORDER BY ") + order + QStringLiteral(" LIMIT 1)");
        CxResult r;
        if (!RunClientSQL(sql, parts.join(QStringLiteral(" UNION ALL ")), &r, error))
            return false;
        while (r.FetchRow())
            (*ids)[r.LFieldValue(0)] = r.LFieldValue(1);
    }
    return true;
}

bool CSQLEditListCore::Load(CxSQL* sql, qint64 ownerKey, QString* error) {
    if (!HasKeyColumn())
        return FailClientSQL(error, QStringLiteral("CSQLEditListCore::Load: no key column"));
    CxResult r;
    if (!RunClientSQL(
            sql,
            QStringLiteral("SELECT l.") + m_lookup.textColumn + QStringLiteral(" FROM ") +
                m_linkTable + QStringLiteral(" AS m JOIN (SELECT ROWID,") + m_lookup.textColumn +
                QStringLiteral(" FROM ") + m_lookup.table + QStringLiteral(" WHERE ") +
                LookupCondition() + QStringLiteral(") AS l ON l.ROWID=m.") + m_memberColumn +
                QStringLiteral(" WHERE m.") + m_ownerColumn + u'=' + QString::number(ownerKey) +
                QStringLiteral(" ORDER BY l.") + m_lookup.textColumn + QStringLiteral(",l.ROWID"),
            &r, error))
        return false;
    QStringList texts;
    while (r.FetchRow())
        texts << r.SFieldValue(0);
    m_text = texts.join(QStringLiteral("; "));
    return true;
}

bool CSQLEditListCore::CheckList(CxSQL* sql, QString* error) {
    m_entries.clear();
    m_ids.clear();
    m_notFound.clear();
    m_toAdd.clear();
    m_duplicated.clear();
    m_count = 0;
    if (!HasKeyColumn())
        return FailClientSQL(error, QStringLiteral("CSQLEditListCore::CheckList: no key column"));
    const QStringList all = SplitEntries(m_text);
    QList<qint64> ids;
    if (!all.isEmpty() && !Resolve(sql, all, &ids, error))
        return false;

    const bool canAdd = m_autoAdd && !m_lookup.groupColumn.isEmpty();
    QSet<qint64> seenRows;
    QSet<QString> seenTexts;
    for (int i = 0; i < all.size(); ++i) {
        const QString& entry = all[i];
        const bool repeated =
            ids[i] ? seenRows.contains(ids[i]) : seenTexts.contains(entry.toCaseFolded());
        if (repeated) {
            if (!m_duplicated.contains(entry))
                m_duplicated << entry;
            continue;
        }
        if (ids[i]) {
            seenRows.insert(ids[i]);
        } else {
            seenTexts.insert(entry.toCaseFolded());
            const bool fits = m_lookup.maxTextLength <= 0 || entry.size() <= m_lookup.maxTextLength;
            (canAdd && fits ? m_toAdd : m_notFound) << entry;
        }
        m_entries << entry;
        m_ids << ids[i];
    }
    m_count = m_entries.size();
    return true;
}

QString CSQLEditListCore::GetError() const {
    if (m_notFound.isEmpty() && m_duplicated.isEmpty())
        return QString();
    return m_notFound.join(QStringLiteral("; ")) + u'\n' + m_duplicated.join(QStringLiteral("; "));
}

bool CSQLEditListCore::Save(CxSQL* sql, qint64 ownerKey, QString* error) {
    if (m_linkTable.isEmpty() || ownerKey <= 0)
        return FailClientSQL(error, QStringLiteral("CSQLEditListCore::Save: no owner"));
    if (!CheckList(sql, error))
        return false;

    if (!m_toAdd.isEmpty()) {
        QString columns = m_lookup.groupColumn + u',' + m_lookup.textColumn;
        QString fixed;
        for (const auto& [column, value] : m_lookup.addValues) {
            columns += u',' + column;
            fixed += u',' + value;
        }
        // An entry the table already holds under its own comparison (another
        // spelling of the same name) is not added twice: the insert is
        // ignored and the entry resolves to the stored row below.
        for (const QString& entry : std::as_const(m_toAdd))
            if (!RunClientSQL(sql,
                              QStringLiteral("INSERT IGNORE INTO ") + m_lookup.table +
                                  QStringLiteral(" (") + columns + QStringLiteral(") VALUES (") +
                                  QString::number(m_group) + u',' + SafeSQL(entry) + fixed + u')',
                              nullptr, error))
                return false;
        QList<qint64> added;
        if (!Resolve(sql, m_toAdd, &added, error))
            return false;
        QSet<qint64> seenRows;
        for (const qint64 id : std::as_const(m_ids))
            if (id)
                seenRows.insert(id);
        for (int i = 0; i < m_toAdd.size(); ++i) {
            const qsizetype at = m_entries.indexOf(m_toAdd[i]);
            if (!added[i]) {
                m_notFound << m_toAdd[i];
            } else if (seenRows.contains(added[i])) {
                m_duplicated << m_toAdd[i];
                m_entries.removeAt(at);
                m_ids.removeAt(at);
                continue;
            } else {
                seenRows.insert(added[i]);
            }
            m_ids[at] = added[i];
        }
        m_toAdd.clear();
        m_count = m_entries.size();
    }

    if (!RunClientSQL(sql,
                      QStringLiteral("DELETE FROM ") + m_linkTable + QStringLiteral(" WHERE ") +
                          m_ownerColumn + u'=' + QString::number(ownerKey),
                      nullptr, error))
        return false;
    QStringList rows;
    for (const qint64 id : std::as_const(m_ids))
        if (id)
            rows << u'(' + QString::number(ownerKey) + u',' + QString::number(id) + u')';
    if (rows.isEmpty())
        return true;
    return RunClientSQL(sql,
                        QStringLiteral("INSERT INTO ") + m_linkTable + QStringLiteral(" (") +
                            m_ownerColumn + u',' + m_memberColumn + QStringLiteral(") VALUES ") +
                            rows.join(u','),
                        nullptr, error);
}

bool CSQLEditListCore::Complete(CxSQL* sql, const QString& prefix, int limit, QStringList* texts,
                                QString* error) const {
    texts->clear();
    if (!HasKeyColumn())
        return FailClientSQL(error, QStringLiteral("CSQLEditListCore::Complete: no key column"));
    // The typed beginning is matched literally: LIKE's own wildcards and its
    // escape character lose their meaning.
    QString pattern = prefix;
    pattern.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT DISTINCT ") + m_lookup.textColumn +
                          QStringLiteral(" FROM ") + m_lookup.table + QStringLiteral(" WHERE ") +
                          LookupCondition() + QStringLiteral(" AND ") + m_lookup.textColumn +
                          QStringLiteral(" LIKE ") + SafeSQL(pattern + u'%') +
                          QStringLiteral(" ORDER BY ") + m_lookup.textColumn +
                          QStringLiteral(" LIMIT ") + QString::number(qMax(0, limit)),
                      &r, error))
        return false;
    while (r.FetchRow())
        *texts << r.SFieldValue(0);
    return true;
}

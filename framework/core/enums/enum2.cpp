#include "enum2.h"
#include "framework/core/table/safe_sql.h"

#include "framework/core/containers/acc_string.h"

long CEnum2::FindString(const QString& text, int, int* found) const {
    POSITION pos = InitScan_sEnum2();
    while (ScanNext_sEnum2(pos)) {
        const sEnum2* item = Current_sEnum2(pos);
        if (item->cText.compare(text, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = 1;
            return item->nCode;
        }
    }
    if (found)
        *found = 0;
    return -1;
}

int CEnum2::GetValueText(quint32 value, QString& out, const QString& def) const {
    if (m_nMode == 1) {
        const sEnum2* item = Lookup_sEnum2(long(qint32(value)));
        if (!item)
            return 0;
        out = item->cText;
        return 1;
    }
    CAccStringT<wchar_t> acc;
    int hit = 0;
    quint32 bit = 1;
    for (quint32 rest = value; rest; rest &= ~bit, bit <<= 1) {
        if (!(rest & bit))
            continue;
        int found = 0;
        QString text = IDToString(long(qint32(bit)), def, &found, -1);
        if (!found)
            continue;
        hit = 1;
        text = text.trimmed();
        if (!text.isEmpty())
            acc.Add(text, QStringLiteral(", "));
    }
    out = acc.ToString();
    return hit;
}

QString CEnum2::GetSQL(const QString& column, const QString& def) const {
    const QString cacheKey = column + QChar(0) + def;
    if (m_cache.GetPtr()) {
        auto it = m_cache->sql.constFind(cacheKey);
        if (it != m_cache->sql.constEnd())
            return *it;
    }
    QString sql;
    POSITION pos = InitScan_sEnum2();
    if (m_nMode == 1) {
        sql = QStringLiteral("CASE ") + column;
        while (ScanNext_sEnum2(pos)) {
            const sEnum2* item = Current_sEnum2(pos);
            sql += QStringLiteral(" WHEN %1 THEN %2").arg(item->nCode).arg(SafeSQL(item->cText));
        }
        sql += QStringLiteral(" ELSE ") + SafeSQL(def) + QStringLiteral(" END");
    } else {
        QStringList parts;
        while (ScanNext_sEnum2(pos)) {
            const sEnum2* item = Current_sEnum2(pos);
            if (item->cText.trimmed().isEmpty())
                continue;
            parts << QStringLiteral("IF((%1)&%2,%3,NULL)")
                         .arg(column)
                         .arg(quint32(item->nCode))
                         .arg(SafeSQL(item->cText.trimmed()));
        }
        sql = parts.isEmpty() ? SafeSQL(QString())
                              : QStringLiteral("CONCAT_WS(', ',") + parts.join(u',') + u')';
    }
    if (!m_cache.GetPtr())
        m_cache.Attach(new CEnum2Cache);
    m_cache->sql.insert(cacheKey, sql);
    return sql;
}

#include "sql_search_filter.h"

#include "framework/core/enums/enum2.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"

#include <QLocale>

namespace {
// The value of a number bound, the decimal comma accepted as users type it.
bool ParseNumber(const QString& text, double* value) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    t.remove(u' ');
    bool ok = false;
    *value = QLocale::c().toDouble(t, &ok);
    return ok;
}

// A LIKE pattern for "contains": the user's %, _ and backslash match
// themselves.
QString ContainsPattern(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 4);
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

// The stored code of an enumeration field, not its text form.
QString CodeSQL(const CxTable* table, const CxField* field) {
    return field->IsPlainColumn() ? table->GetAlias() + u'.' + field->GetColumn()
                                  : table->ExpandSQL(field->GetColumn());
}
} // namespace

CxSQLSearchFilter::Kind CxSQLSearchFilter::KindOf(const CxField* field) {
    if (!field || field->GetFlags() & (FF_HIDDEN | FF_FOLDERMARK | FF_PARENT))
        return Kind::None;
    if (field->GetEnum() && field->GetFlags() & (FF_ENUM | FF_ENUMTEXT) &&
        !field->GetEnum()->IsBitSet())
        return Kind::Choice;
    if (field->Is(FF_DATE))
        return Kind::Date;
    if (field->GetFlags() & (FF_INT | FF_REAL))
        return Kind::Number;
    if (field->Is(FF_TEXT))
        return Kind::Text;
    return Kind::None;
}

bool CxSQLSearchFilter::IsBadNumber(const QString& text) {
    double value = 0;
    return !text.trimmed().isEmpty() && !ParseNumber(text, &value);
}

void CxSQLSearchFilter::Put(const Criterion& criterion) {
    Clear(criterion.field);
    m_criteria.append(criterion);
}

void CxSQLSearchFilter::Clear(const CxField* field) {
    m_criteria.removeIf([field](const Criterion& c) { return c.field == field; });
}

void CxSQLSearchFilter::SetText(const CxField* field, const QString& text) {
    if (text.trimmed().isEmpty())
        return Clear(field);
    Criterion c;
    c.field = field;
    c.kind = Kind::Text;
    c.text = text.trimmed();
    Put(c);
}

void CxSQLSearchFilter::SetNumberRange(const CxField* field, const QString& from,
                                       const QString& to) {
    if (from.trimmed().isEmpty() && to.trimmed().isEmpty())
        return Clear(field);
    Criterion c;
    c.field = field;
    c.kind = Kind::Number;
    c.from = from.trimmed();
    c.to = to.trimmed();
    Put(c);
}

void CxSQLSearchFilter::SetDateRange(const CxField* field, const QDate& from, const QDate& to) {
    if (!from.isValid() && !to.isValid())
        return Clear(field);
    Criterion c;
    c.field = field;
    c.kind = Kind::Date;
    c.fromDate = from;
    c.toDate = to;
    Put(c);
}

void CxSQLSearchFilter::SetChoice(const CxField* field, qint64 code) {
    if (code < 0)
        return Clear(field);
    Criterion c;
    c.field = field;
    c.kind = Kind::Choice;
    c.code = code;
    Put(c);
}

QString CxSQLSearchFilter::Condition(const CxTable* table, const Criterion& c, bool* ok) const {
    QStringList parts;
    switch (c.kind) {
    case Kind::Text:
        return table->GetFieldSQL(c.field) + QStringLiteral(" LIKE ") +
               SafeSQL(ContainsPattern(c.text));
    case Kind::Number: {
        const QString value = table->GetFieldSQL(c.field);
        double number = 0;
        if (!c.from.isEmpty()) {
            if (!ParseNumber(c.from, &number))
                *ok = false;
            parts << value + QStringLiteral(">=") + QString::number(number, 'g', 17);
        }
        if (!c.to.isEmpty()) {
            if (!ParseNumber(c.to, &number))
                *ok = false;
            parts << value + QStringLiteral("<=") + QString::number(number, 'g', 17);
        }
        break;
    }
    case Kind::Date: {
        const QString value = table->GetFieldSQL(c.field);
        // The upper bound takes the whole day, for columns that keep a time.
        if (c.fromDate.isValid())
            parts << value + QStringLiteral(">='") + c.fromDate.toString(Qt::ISODate) + u'\'';
        if (c.toDate.isValid())
            parts << value + QStringLiteral("<'") + c.toDate.addDays(1).toString(Qt::ISODate) +
                         u'\'';
        break;
    }
    case Kind::Choice:
        return CodeSQL(table, c.field) + u'=' + QString::number(c.code);
    case Kind::None:
        break;
    }
    return parts.join(QStringLiteral(" AND "));
}

QString CxSQLSearchFilter::BuildCondition(const CxTable* table) const {
    if (!m_active || m_criteria.isEmpty() || !table)
        return QString();
    QStringList parts;
    bool ok = true;
    for (const Criterion& c : m_criteria) {
        const QString condition = Condition(table, c, &ok);
        if (!condition.isEmpty())
            parts << u'(' + condition + u')';
    }
    // A bound that says no number matches nothing rather than everything.
    if (!ok)
        return QStringLiteral("1=0");
    QString all = parts.join(QStringLiteral(" AND "));
    if (const CxField* mark = table->GetFolderMarkField())
        all = table->GetFieldSQL(mark) + QStringLiteral("=1 OR (") + all + u')';
    return all;
}

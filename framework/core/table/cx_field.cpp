#include "cx_field.h"

#include "cx_table.h"

#include <QRegularExpression>

CxField::CxField(CxTable* table, unsigned id, const QString& column, const QString& caption,
                 quint32 flags, CEnum2* enumeration, CxTable* lookup)
    : m_table(table), m_id(id), m_column(column), m_caption(caption), m_flags(flags),
      m_enum(enumeration), m_lookup(lookup) {}

CxField* CxField::LeftJoin(CxTable* joined, const QString& alias, const QString& expression,
                           quint32 flags) {
    QString word = alias.trimmed();
    if (word.startsWith(u'{') && word.endsWith(u'}'))
        word = word.mid(1, word.size() - 2);
    m_table->AddJoin(CxJoin{joined, word, expression, flags});
    if (!m_joinAliases.contains(word))
        m_joinAliases << word;
    return this;
}

void CxField::AddAttributes(std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == -1)
            break;
        if (!m_attributes.contains(id))
            m_attributes << id;
    }
}

bool CxField::IsPlainColumn() const {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(m_column).hasMatch();
}

QString CxField::GetResultName() const {
    static const QRegularExpression joined(
        QStringLiteral("^\\{([A-Za-z_][A-Za-z0-9_]*)\\}\\.([A-Za-z_][A-Za-z0-9_]*)$"));
    QString name;
    if (IsPlainColumn()) {
        name = m_column;
    } else if (const auto m = joined.match(m_column); m.hasMatch()) {
        name = m.captured(1) + u'_' + m.captured(2);
    } else {
        name = QStringLiteral("x%1").arg(m_id);
    }
    if (m_flags & FF_ENUMTEXT)
        name += QStringLiteral("_text");
    return name;
}

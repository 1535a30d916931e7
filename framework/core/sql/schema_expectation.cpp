#include "schema_expectation.h"

#include "framework/core/sql_connection.h"

#include <QSet>
#include <algorithm>

namespace {
using Tokens = QList<CxSQLToken>;

bool WordAt(const Tokens& t, qsizetype k, const char* word) {
    return k < t.size() && t[k].Is(QLatin1StringView(word));
}

// Skips "IF EXISTS" or "IF NOT EXISTS" at k.
qsizetype SkipIf(const Tokens& t, qsizetype k) {
    if (!WordAt(t, k, "IF"))
        return k;
    return WordAt(t, k + 1, "NOT") ? k + 3 : k + 2;
}

// A table name at k, "database.table" naming the table; advances k past it.
QString ReadName(const Tokens& t, qsizetype& k) {
    if (k >= t.size() || !t[k].IsName())
        return QString();
    QString name = t[k++].text;
    if (k + 1 < t.size() && t[k].IsSymbol('.') && t[k + 1].IsName()) {
        name = t[k + 1].text;
        k += 2;
    }
    return name;
}

// "[IF [NOT] EXISTS] key ON table" from k, as CREATE INDEX and DROP INDEX
// write it; false when the statement says it otherwise.
bool ReadIndexOn(const Tokens& t, qsizetype k, QString* key, QString* table) {
    k = SkipIf(t, k);
    *key = k < t.size() && t[k].IsName() ? t[k++].text : QString();
    if (key->isEmpty() || !WordAt(t, k, "ON"))
        return false;
    ++k;
    *table = ReadName(t, k);
    return !table->isEmpty();
}

// Splits tokens at commas outside parentheses.
QList<Tokens> SplitAtCommas(const Tokens& t, qsizetype from, qsizetype to) {
    QList<Tokens> parts(1);
    int depth = 0;
    for (qsizetype k = from; k < to; ++k) {
        if (t[k].IsSymbol('('))
            ++depth;
        else if (t[k].IsSymbol(')'))
            --depth;
        if (depth == 0 && t[k].IsSymbol(',')) {
            parts.append(Tokens());
            continue;
        }
        parts.last().append(t[k]);
    }
    return parts;
}

QString QuoteName(const QString& name) {
    return u'`' + QString(name).replace(u'`', QStringLiteral("``")) + u'`';
}

QSet<QString> LowerColumn(CxSQL* sql, const QString& statement, int column, bool* ok) {
    QSet<QString> names;
    CxResult res = sql->Execute(statement);
    *ok = res.isValid();
    while (res.FetchRow())
        names.insert(res.SFieldValue(column).toLower());
    return names;
}
} // namespace

CxSchemaExpectation CxSchemaExpectation::FromStatements(const QStringList& statements) {
    CxSchemaExpectation expectation;
    for (const QString& statement : statements)
        expectation.ReadStatement(statement);
    expectation.CountTelling();
    return expectation;
}

CxSchemaExpectation::TableState& CxSchemaExpectation::Table(const QString& name) {
    TableState& state = m_tables[name.toLower()];
    if (state.name.isEmpty())
        state.name = name;
    return state;
}

void CxSchemaExpectation::Expect(const QString& table, bool column, const QString& name,
                                 bool present) {
    TableState& state = Table(table);
    if (!state.exists.has_value())
        state.exists = true; // altered, so it stands afterwards
    QMap<QString, bool>& map = column ? state.columns : state.keys;
    const QString key = name.toLower();
    auto it = map.constFind(key);
    if (it != map.constEnd() && *it != present)
        m_ambiguous << table.toLower() + u'.' + key;
    map[key] = present;
}

void CxSchemaExpectation::Rename(const QString& from, const QString& to) {
    TableState moved = m_tables.take(from.toLower());
    moved.name = to;
    moved.exists = true;
    moved.existsTelling = true;
    m_tables[to.toLower()] = moved;
    TableState& gone = Table(from);
    gone.exists = false;
    gone.existsTelling = true;
}

void CxSchemaExpectation::CountTelling() {
    m_telling = 0;
    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it) {
        if (it->existsTelling)
            ++m_telling;
        for (const QMap<QString, bool>* map : {&it->columns, &it->keys})
            for (auto c = map->cbegin(); c != map->cend(); ++c)
                if (!m_ambiguous.contains(it.key() + u'.' + c.key()))
                    ++m_telling;
    }
}

void CxSchemaExpectation::ReadStatement(const QString& statement) {
    const Tokens t = SQLTokens(statement);
    qsizetype k = 0;
    const QString verb = SQLStatementVerb(t, &k);
    if (verb.isEmpty() || verb == QLatin1String("INSERT") || verb == QLatin1String("UPDATE") ||
        verb == QLatin1String("DELETE") || verb == QLatin1String("REPLACE") ||
        verb == QLatin1String("LOCK") || verb == QLatin1String("UNLOCK"))
        return;

    if (verb == QLatin1String("CREATE")) {
        if (WordAt(t, k, "OR"))
            k += 2; // OR REPLACE
        if (WordAt(t, k, "TEMPORARY"))
            return; // lives with the session only
        if (WordAt(t, k, "TABLE")) {
            k = SkipIf(t, k + 1);
            const QString name = ReadName(t, k);
            if (name.isEmpty()) {
                m_understood = false;
                return;
            }
            TableState& state = Table(name);
            state = TableState{name, true, true, {}, {}};
            return;
        }
        if (WordAt(t, k, "UNIQUE") || WordAt(t, k, "FULLTEXT") || WordAt(t, k, "SPATIAL"))
            ++k;
        QString table, key;
        if (WordAt(t, k, "INDEX") && ReadIndexOn(t, k + 1, &key, &table)) {
            Expect(table, false, key, true);
            return;
        }
        m_understood = false;
        return;
    }

    if (verb == QLatin1String("DROP")) {
        if (WordAt(t, k, "TEMPORARY"))
            return;
        if (WordAt(t, k, "TABLE")) {
            k = SkipIf(t, k + 1);
            for (;;) {
                const QString name = ReadName(t, k);
                if (name.isEmpty()) {
                    m_understood = false;
                    return;
                }
                TableState& state = Table(name);
                state = TableState{name, false, true, {}, {}};
                if (k < t.size() && t[k].IsSymbol(',')) {
                    ++k;
                    continue;
                }
                return;
            }
        }
        QString table, key;
        if (WordAt(t, k, "INDEX") && ReadIndexOn(t, k + 1, &key, &table)) {
            Expect(table, false, key, false);
            return;
        }
        m_understood = false;
        return;
    }

    if (verb == QLatin1String("RENAME") && WordAt(t, k, "TABLE")) {
        ++k;
        for (;;) {
            const QString from = ReadName(t, k);
            if (from.isEmpty() || !WordAt(t, k, "TO")) {
                m_understood = false;
                return;
            }
            ++k;
            const QString to = ReadName(t, k);
            if (to.isEmpty()) {
                m_understood = false;
                return;
            }
            Rename(from, to);
            if (k < t.size() && t[k].IsSymbol(',')) {
                ++k;
                continue;
            }
            return;
        }
    }

    if (verb == QLatin1String("ALTER")) {
        while (WordAt(t, k, "ONLINE") || WordAt(t, k, "IGNORE"))
            ++k;
        if (!WordAt(t, k, "TABLE")) {
            m_understood = false;
            return;
        }
        k = SkipIf(t, k + 1);
        const QString table = ReadName(t, k);
        if (table.isEmpty()) {
            m_understood = false;
            return;
        }
        TableState& state = Table(table);
        if (!state.exists.has_value())
            state.exists = true;
        for (const Tokens& clause : SplitAtCommas(t, k, t.size()))
            ReadAlterClause(table, clause);
        return;
    }
    m_understood = false;
}

void CxSchemaExpectation::ReadAlterClause(const QString& table, const Tokens& c) {
    if (c.isEmpty()) {
        m_understood = false;
        return;
    }
    auto name = [&](qsizetype k) { return k < c.size() && c[k].IsName() ? c[k].text : QString(); };
    auto unknown = [&] { m_understood = false; };
    qsizetype k = 1;

    if (c[0].Is(QLatin1StringView("ADD"))) {
        if (WordAt(c, k, "COLUMN"))
            ++k;
        k = SkipIf(c, k);
        if (k < c.size() && c[k].IsSymbol('(')) {
            // ADD (column definition, ...)
            int depth = 0;
            bool atStart = true;
            for (qsizetype j = k; j < c.size(); ++j) {
                if (c[j].IsSymbol('(')) {
                    ++depth;
                    continue;
                }
                if (c[j].IsSymbol(')')) {
                    --depth;
                    continue;
                }
                if (depth == 1 && c[j].IsSymbol(',')) {
                    atStart = true;
                    continue;
                }
                if (depth == 1 && atStart && c[j].IsName()) {
                    Expect(table, true, c[j].text, true);
                    atStart = false;
                }
            }
            return;
        }
        if (WordAt(c, k, "PRIMARY")) {
            Expect(table, false, QStringLiteral("PRIMARY"), true);
            return;
        }
        if (WordAt(c, k, "CONSTRAINT") || WordAt(c, k, "FOREIGN") || WordAt(c, k, "CHECK") ||
            WordAt(c, k, "PERIOD") || WordAt(c, k, "SYSTEM") || WordAt(c, k, "PARTITION"))
            return unknown();
        const bool keyKind =
            WordAt(c, k, "UNIQUE") || WordAt(c, k, "FULLTEXT") || WordAt(c, k, "SPATIAL");
        if (keyKind)
            ++k;
        if (keyKind || WordAt(c, k, "INDEX") || WordAt(c, k, "KEY")) {
            if (WordAt(c, k, "INDEX") || WordAt(c, k, "KEY"))
                ++k;
            k = SkipIf(c, k);
            const QString key = name(k);
            // An unnamed key gets a name the server chooses.
            if (key.isEmpty())
                return unknown();
            Expect(table, false, key, true);
            return;
        }
        const QString column = name(k);
        if (column.isEmpty())
            return unknown();
        Expect(table, true, column, true);
        return;
    }

    if (c[0].Is(QLatin1StringView("DROP"))) {
        if (WordAt(c, k, "COLUMN"))
            ++k;
        k = SkipIf(c, k);
        if (WordAt(c, k, "INDEX") || WordAt(c, k, "KEY")) {
            k = SkipIf(c, k + 1);
            const QString key = name(k);
            if (key.isEmpty())
                return unknown();
            Expect(table, false, key, false);
            return;
        }
        if (WordAt(c, k, "PRIMARY")) {
            Expect(table, false, QStringLiteral("PRIMARY"), false);
            return;
        }
        if (WordAt(c, k, "FOREIGN") || WordAt(c, k, "CONSTRAINT") || WordAt(c, k, "CHECK") ||
            WordAt(c, k, "PARTITION"))
            return unknown();
        const QString column = name(k);
        if (column.isEmpty())
            return unknown();
        Expect(table, true, column, false);
        return;
    }

    if (c[0].Is(QLatin1StringView("CHANGE"))) {
        if (WordAt(c, k, "COLUMN"))
            ++k;
        k = SkipIf(c, k);
        const QString from = name(k), to = name(k + 1);
        if (from.isEmpty() || to.isEmpty())
            return unknown();
        if (from.compare(to, Qt::CaseInsensitive) != 0) {
            Expect(table, true, from, false);
            Expect(table, true, to, true);
        }
        return; // a column changed into itself: only its definition changes
    }

    if (c[0].Is(QLatin1StringView("RENAME"))) {
        if (WordAt(c, k, "COLUMN") || WordAt(c, k, "INDEX") || WordAt(c, k, "KEY")) {
            const bool column = WordAt(c, k, "COLUMN");
            const QString from = name(k + 1), to = name(k + 3);
            if (from.isEmpty() || to.isEmpty() || !WordAt(c, k + 2, "TO"))
                return unknown();
            Expect(table, column, from, false);
            Expect(table, column, to, true);
            return;
        }
        if (WordAt(c, k, "TO") || WordAt(c, k, "AS"))
            ++k;
        const QString to = ReadName(c, k);
        if (to.isEmpty())
            return unknown();
        Rename(table, to);
        return;
    }

    static const char* const neutral[] = {
        "MODIFY",         "ALTER",   "CONVERT", "DEFAULT",   "CHARACTER",
        "CHARSET",        "COLLATE", "ENGINE",  "COMMENT",   "ROW_FORMAT",
        "AUTO_INCREMENT", "ORDER",   "FORCE",   "ALGORITHM", "LOCK"};
    for (const char* word : neutral)
        if (c[0].Is(QLatin1StringView(word)))
            return;
    unknown();
}

bool CxSchemaExpectation::Holds(CxSQL* sql, QString* difference) const {
    auto differs = [&](const QString& text) {
        if (difference)
            *difference = text;
        return false;
    };
    if (m_tables.isEmpty())
        return true;
    // The table list is read only when a table is made, dropped or renamed;
    // an altered table shows its presence by answering for its columns.
    bool ok = true;
    QSet<QString> tables;
    const bool listed = std::any_of(m_tables.cbegin(), m_tables.cend(), [](const TableState& t) {
        return t.existsTelling || (t.exists.has_value() && !*t.exists);
    });
    if (listed) {
        tables = LowerColumn(sql, QStringLiteral("SHOW TABLES"), 0, &ok);
        if (!ok)
            return differs(QStringLiteral("SHOW TABLES: ") + sql->GetSqlErrorString());
    }
    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it) {
        const TableState& state = *it;
        if (!listed && state.columns.isEmpty() && state.keys.isEmpty())
            continue;
        const bool exists = listed ? tables.contains(it.key()) : true;
        if (state.exists.has_value() && *state.exists != exists)
            return differs(QStringLiteral("таблица %1 %2")
                               .arg(state.name, exists ? QStringLiteral("есть")
                                                       : QStringLiteral("отсутствует")));
        if (!exists)
            continue;
        const struct {
            const QMap<QString, bool>* map;
            const char* show;
            int column;
            const char* what;
        } parts[] = {{&state.columns, "SHOW COLUMNS FROM %1", 0, "поле"},
                     {&state.keys, "SHOW INDEX FROM %1", 2, "ключ"}};
        for (const auto& part : parts) {
            if (part.map->isEmpty())
                continue;
            const QSet<QString> present = LowerColumn(
                sql, QString::fromLatin1(part.show).arg(QuoteName(state.name)), part.column, &ok);
            if (!ok)
                return differs(sql->GetSqlErrorString());
            for (auto c = part.map->cbegin(); c != part.map->cend(); ++c)
                if (present.contains(c.key()) != c.value())
                    return differs(QStringLiteral("%1.%2: %3 %4")
                                       .arg(state.name, c.key(), QString::fromUtf8(part.what),
                                            c.value() ? QStringLiteral("отсутствует")
                                                      : QStringLiteral("есть")));
        }
    }
    return true;
}

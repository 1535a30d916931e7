#include "dx_record.h"

#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_database.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
const QString kKey = QStringLiteral("ROWID");
// Rows per multi-row INSERT: keeps a statement well below the server's
// packet limit even with long texts.
constexpr int kBatchRows = 200;

bool IsIdentifier(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString Quoted(const QString& name) {
    return u'`' + name + u'`';
}

constexpr CxTr Tr;
} // namespace

QString SqlFieldFromFullName(const QString& fullName) {
    const qsizetype dot = fullName.lastIndexOf(u'.');
    return dot < 0 ? fullName : fullName.mid(dot + 1);
}

const CDXRecordSQL::Value* CDXRecordSQL::Row::Find(const QString& bare) const {
    for (const Value& v : values)
        if (v.name.compare(bare, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

CDXRecordSQL::Value* CDXRecordSQL::Row::Find(const QString& bare) {
    for (Value& v : values)
        if (v.name.compare(bare, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

CDXRecordSQL::Value& CDXRecordSQL::Row::Get(const QString& bare) {
    if (Value* v = Find(bare))
        return *v;
    values.append(Value{bare, QString(), true, false});
    return values.last();
}

CDXRecordSQL::CDXRecordSQL(CxSQL* sql, const QString& table, int)
    : m_sql(sql), m_table(table), m_rows(1) {}

CDXRecordSQL::~CDXRecordSQL() = default;

CxSQL* CDXRecordSQL::GetSQL() const {
    return m_sql ? m_sql : g_pBaseSQLConnection.get();
}

bool CDXRecordSQL::Load(qint64 key, CxDXError* error) {
    if (!IsIdentifier(m_table))
        return false;
    CxSQL* sql = GetSQL();
    if (!sql)
        return false;
    const QString statement = QStringLiteral("SELECT * FROM %1 WHERE %2=%3")
                                  .arg(Quoted(m_table), Quoted(kKey), QString::number(key));
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        DescribeFailure(res.Error(), error);
        return false;
    }
    if (!res.FetchRow())
        return false;
    Row row;
    row.loaded = true;
    for (int i = 0; i < res.FieldsCount(); ++i)
        row.values.append(Value{res.FieldName(i), res.SFieldValue(i), res.IsNull(i), false});
    row.index = QString::number(key);
    m_rows = {row};
    m_current = 0;
    return true;
}

bool CDXRecordSQL::IsLoaded() const {
    return Current().loaded;
}

void CDXRecordSQL::Push() {
    m_rows.append(Row());
    m_current = int(m_rows.size()) - 1;
}

void CDXRecordSQL::RemoveAll() {
    m_rows = QList<Row>(1);
    m_current = 0;
}

void CDXRecordSQL::SetCurrentRow(int index) {
    if (index >= 0 && index < m_rows.size())
        m_current = index;
}

QString CDXRecordSQL::GetDXIndex() const {
    return Current().index;
}

void CDXRecordSQL::SetDXIndex(const QString& index) {
    Current().index = index;
}

qint64 CDXRecordSQL::GetKey() const {
    bool ok = false;
    const qint64 key = Current().index.toLongLong(&ok);
    return ok ? key : -1;
}

QStringList CDXRecordSQL::GetFields() const {
    QStringList names;
    for (const Value& v : Current().values)
        names << m_table + u'.' + v.name;
    return names;
}

bool CDXRecordSQL::HasField(const QString& name) const {
    return Current().Find(SqlFieldFromFullName(name)) != nullptr;
}

bool CDXRecordSQL::IsFieldNull(const QString& name) const {
    const Value* v = Current().Find(SqlFieldFromFullName(name));
    return !v || v->null;
}

QString CDXRecordSQL::SFieldValue(const QString& name) const {
    const Value* v = Current().Find(SqlFieldFromFullName(name));
    return v && !v->null ? v->text : QString();
}

long CDXRecordSQL::LFieldValue(const QString& name) const {
    return SFieldValue(name).trimmed().toLong();
}

bool CDXRecordSQL::IsFieldChanged(const QString& name) const {
    const Value* v = Current().Find(SqlFieldFromFullName(name));
    return v && v->changed;
}

void CDXRecordSQL::SetFieldValue(const QString& name, const QString& value) {
    Value& v = Current().Get(SqlFieldFromFullName(name));
    v.text = value;
    v.null = false;
    v.changed = true;
}

void CDXRecordSQL::SetFieldValue(const QString& name, long value) {
    SetFieldValue(name, QString::number(value));
}

void CDXRecordSQL::SetFieldNull(const QString& name) {
    Value& v = Current().Get(SqlFieldFromFullName(name));
    v.text.clear();
    v.null = true;
    v.changed = true;
}

void CDXRecordSQL::ClearFieldChange(const QString& name) {
    if (Value* v = Current().Find(SqlFieldFromFullName(name)))
        v->changed = false;
}

namespace {
QString Literal(const QString& text, bool null) {
    return null ? QStringLiteral("NULL") : SafeSQL(text);
}
} // namespace

QString CDXRecordSQL::BuildInsert(const QList<const Row*>& rows, bool orUpdate) const {
    // The columns of every row together; a row that did not set one takes
    // the column's default.
    QStringList columns;
    for (const Row* row : rows)
        for (const Value& v : row->values)
            if (v.changed && !columns.contains(v.name, Qt::CaseInsensitive))
                columns << v.name;
    if (columns.isEmpty())
        return QString();
    QStringList quoted;
    for (const QString& c : columns) {
        if (!IsIdentifier(c))
            return QString();
        quoted << Quoted(c);
    }
    QStringList tuples;
    for (const Row* row : rows) {
        // A row that sets nothing (the empty row a record starts with, when
        // the caller pushes before each row) is not written.
        if (std::none_of(row->values.begin(), row->values.end(),
                         [](const Value& v) { return v.changed; }))
            continue;
        QStringList values;
        for (const QString& c : columns) {
            const Value* v = row->Find(c);
            values << (v && v->changed ? Literal(v->text, v->null) : QStringLiteral("DEFAULT"));
        }
        tuples << u'(' + values.join(u',') + u')';
    }
    QString statement = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                            .arg(Quoted(m_table), quoted.join(u','), tuples.join(u','));
    if (orUpdate) {
        QStringList updates;
        for (const QString& q : quoted)
            updates << q + QStringLiteral("=VALUES(") + q + u')';
        // Rows that the server numbers: the key of the row inserted or
        // updated comes back as the insert id either way (tables without a
        // ROWID column have no key to hand back).
        if (!columns.contains(kKey, Qt::CaseInsensitive) && HasKeyColumn())
            updates << QStringLiteral("%1=LAST_INSERT_ID(%1)").arg(Quoted(kKey));
        statement += QStringLiteral(" ON DUPLICATE KEY UPDATE ") + updates.join(u',');
    }
    return statement;
}

bool CDXRecordSQL::HasKeyColumn() const {
    if (m_hasKeyColumn < 0) {
        for (const Row& row : m_rows) {
            if (row.loaded && row.Find(kKey)) {
                m_hasKeyColumn = 1;
                return true;
            }
        }
        CxSQL* sql = GetSQL();
        if (!sql)
            return false;
        CxResult res = sql->Execute(
            QStringLiteral("SHOW COLUMNS FROM %1 LIKE %2").arg(Quoted(m_table), SafeSQL(kKey)));
        if (!res.isValid())
            return false;
        m_hasKeyColumn = res.FetchRow() ? 1 : 0;
    }
    return m_hasKeyColumn == 1;
}

QString CDXRecordSQL::BuildUpdate(const Row& row) const {
    bool ok = false;
    const qint64 key = row.index.toLongLong(&ok);
    if (!ok)
        return QString();
    QStringList sets;
    for (const Value& v : row.values) {
        if (!v.changed || v.name.compare(kKey, Qt::CaseInsensitive) == 0)
            continue;
        if (!IsIdentifier(v.name))
            return QString();
        sets << Quoted(v.name) + u'=' + Literal(v.text, v.null);
    }
    if (sets.isEmpty())
        return QString();
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3=%4")
        .arg(Quoted(m_table), sets.join(u','), Quoted(kKey), QString::number(key));
}

QString CDXRecordSQL::BuildDelete(const Row& row) const {
    bool ok = false;
    const qint64 key = row.index.toLongLong(&ok);
    if (!ok)
        return QString();
    return QStringLiteral("DELETE FROM %1 WHERE %2=%3")
        .arg(Quoted(m_table), Quoted(kKey), QString::number(key));
}

QString CDXRecordSQL::BuildStatement(int action) const {
    if (!IsIdentifier(m_table))
        return QString();
    switch (action) {
    case EA_EDIT:
        return BuildUpdate(Current());
    case EA_DELETE:
        return BuildDelete(Current());
    case EA_NEW:
        return BuildInsert({&Current()}, false);
    case EA_INSERT_OR_UPDATE:
        return BuildInsert({&Current()}, true);
    default:
        return QString();
    }
}

void CDXRecordSQL::DescribeFailure(const CxSQLError& sql, CxDXError* error) {
    if (!error)
        return;
    error->sql = sql;
    // A value the column could not hold: the connection names the column.
    error->field = sql.column;
    error->message = sql.text;
    if (sql.serverCode != kSQLErrDuplicateEntry)
        return;
    // Which key: its columns tell the form which control holds the value.
    static const QRegularExpression keyName(QStringLiteral("for key '(?:[^'.]*\\.)?([^']+)'"));
    const auto m = keyName.match(sql.text);
    QStringList keyColumns;
    if (m.hasMatch() && GetSQL()) {
        CxResult res = GetSQL()->Execute(QStringLiteral("SHOW INDEX FROM %1 WHERE Key_name=%2")
                                             .arg(Quoted(m_table), SafeSQL(m.captured(1))));
        while (res.isValid() && res.FetchRow())
            keyColumns << res.SFieldValue(QStringLiteral("Column_name"));
    }
    // The last column of the key is the one a user chooses (the name within
    // a directory type, for example).
    QString value;
    for (qsizetype i = keyColumns.size() - 1; i >= 0; --i)
        if (const Value* v = Current().Find(keyColumns[i]); v && v->changed) {
            error->field = v->name;
            value = v->text;
            break;
        }
    error->message = Tr(QStringLiteral("Значение «%1» уже есть: оно должно быть уникальным."),
                        "msgDuplicateValue")
                         .arg(value);
}

bool CDXRecordSQL::Run(const QString& statement, CxDXError* error, qint64* insertId,
                       qint64* affected) {
    CxSQL* sql = GetSQL();
    if (!sql) {
        if (error)
            error->message =
                Tr(QStringLiteral("Нет соединения с базой данных."), "msgNoConnection");
        return false;
    }
    CxResult res = sql->Execute(statement, insertId);
    if (!res.isValid()) {
        DescribeFailure(res.Error(), error);
        return false;
    }
    if (affected)
        *affected = res.AffectedRows();
    return true;
}

bool CDXRecordSQL::ApplyDXRecordAction(int action, CxDXError* error) {
    if (!IsIdentifier(m_table)) {
        if (error)
            error->message = QStringLiteral("CDXRecordSQL: bad table name %1").arg(m_table);
        return false;
    }
    for (const Row& row : m_rows)
        for (const Value& v : row.values)
            if (v.changed && !IsIdentifier(v.name)) {
                if (error)
                    error->message = QStringLiteral("CDXRecordSQL: bad field name %1").arg(v.name);
                return false;
            }
    QList<Row> done = m_rows; // the record as it will be after success
    switch (action) {
    case EA_EDIT: {
        const QString statement = BuildUpdate(Current());
        if (statement.isEmpty()) {
            // Nothing to write is success only when nothing was set: changes
            // to a row without a key have nowhere to go.
            const Row& row = Current();
            const bool changed =
                std::any_of(row.values.begin(), row.values.end(), [](const Value& v) {
                    return v.changed && v.name.compare(kKey, Qt::CaseInsensitive) != 0;
                });
            if (changed && GetKey() < 0) {
                if (error)
                    error->message =
                        Tr(QStringLiteral("Запись еще не сохранена."), "msgRecordNotStored");
                return false;
            }
            break;
        }
        qint64 affected = -1;
        if (!Run(statement, error, nullptr, &affected))
            return false;
        // No row changed: the values were the same, or the row is gone (some
        // other window or copy deleted it), and then nothing was written.
        if (affected == 0) {
            CxResult res = GetSQL()->Execute(
                QStringLiteral("SELECT 1 FROM %1 WHERE %2=%3")
                    .arg(Quoted(m_table), Quoted(kKey), QString::number(GetKey())));
            if (!res.isValid()) {
                DescribeFailure(res.Error(), error);
                return false;
            }
            if (!res.FetchRow()) {
                if (error)
                    error->message = Tr(QStringLiteral("Запись не найдена: возможно, ее удалили."),
                                        "msgRecordGone");
                return false;
            }
        }
        break;
    }
    case EA_DELETE: {
        const QString statement = BuildDelete(Current());
        if (statement.isEmpty()) {
            if (error)
                error->message =
                    Tr(QStringLiteral("Запись еще не сохранена."), "msgRecordNotStored");
            return false;
        }
        if (!Run(statement, error))
            return false;
        done[m_current].index.clear();
        done[m_current].loaded = false;
        break;
    }
    case EA_NEW:
    case EA_INSERT_OR_UPDATE: {
        const bool orUpdate = action == EA_INSERT_OR_UPDATE;
        // Rows with a ROWID of their own and rows that the server numbers go
        // in separate statements: a multi-row INSERT numbers its rows
        // consecutively from the first new value only when none of them
        // brings a number of its own.
        QList<int> given, numbered;
        for (int i = 0; i < m_rows.size(); ++i) {
            const Row& row = m_rows[i];
            if (std::none_of(row.values.begin(), row.values.end(),
                             [](const Value& v) { return v.changed; }))
                continue;
            const Value* key = row.Find(kKey);
            (key && key->changed && !key->null ? given : numbered) << i;
        }
        for (const QList<int>* group : {&given, &numbered}) {
            for (int first = 0; first < group->size(); first += kBatchRows) {
                QList<const Row*> chunk;
                for (int j = first; j < qMin(first + kBatchRows, int(group->size())); ++j)
                    chunk << &m_rows[group->at(j)];
                qint64 insertId = -1;
                if (!Run(BuildInsert(chunk, orUpdate), error, &insertId))
                    return false;
                for (int j = first; j < first + chunk.size(); ++j) {
                    Row& row = done[group->at(j)];
                    if (group == &given)
                        row.index = row.Find(kKey)->text;
                    else if (insertId > 0 && (!orUpdate || chunk.size() == 1))
                        row.index = QString::number(insertId + (j - first));
                    row.loaded = true;
                }
            }
        }
        break;
    }
    default:
        if (error)
            error->message = QStringLiteral("CDXRecordSQL: unknown edit action %1").arg(action);
        return false;
    }
    for (Row& row : done)
        for (Value& v : row.values)
            v.changed = false;
    m_rows = done;
    return true;
}

std::unique_ptr<CDXRecordSQL> AllocateSQLDXRecord(const QString& table, qint64 key, int load,
                                                  CxSQL* sql) {
    auto record = std::make_unique<CDXRecordSQL>(sql, table);
    if (load && key != -1) {
        if (!record->Load(key))
            return nullptr;
    } else if (key != -1) {
        record->SetDXIndex(QString::number(key));
    }
    return record;
}

namespace {
// Whether the detail table holds rows that belong to a row of the table (its
// registered sub-tables: a client's dated histories) and go with it. Asked of
// the link's own descriptor: a list may show the table through another one.
bool IsOwnedDetail(const CxTable* table, const CxTable* detail) {
    for (const CxSubTable& sub : table->GetSubTables())
        if (sub.table &&
            sub.table->GetSQLTable().compare(detail->GetSQLTable(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
} // namespace

// The links that point at rows of the table from a plain column, split by
// whether the referring rows belong to the row (owned) or only refer to it.
static QList<const CxLink*> LinksTo(const CxTable* table, bool owned) {
    QList<const CxLink*> links;
    for (const CxLink& link : g_pDatabase->GetLinks()) {
        if (!link.master || !link.detail || !link.master->GetTable() || !link.detail->GetTable())
            continue;
        const CxTable* detail = link.detail->GetTable();
        if (link.master->GetTable()->GetSQLTable().compare(table->GetSQLTable(),
                                                           Qt::CaseInsensitive) == 0 &&
            link.detail->IsPlainColumn() && IsIdentifier(detail->GetSQLTable()) &&
            IsOwnedDetail(link.master->GetTable(), detail) == owned)
            links << &link;
    }
    return links;
}

bool DeleteOwnedRows(CxTable* table, qint64 key, CxSQL* sql, QString* error) {
    if (!table)
        return false;
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    if (!sql)
        return false;
    for (const CxLink* link : LinksTo(table, true)) {
        CxResult res =
            sql->Execute(QStringLiteral("DELETE FROM %1 WHERE %2=%3")
                             .arg(Quoted(link->detail->GetTable()->GetSQLTable()),
                                  Quoted(link->detail->GetColumn()), QString::number(key)));
        if (!res.isValid()) {
            if (error)
                *error = res.Error().text;
            return false;
        }
    }
    return true;
}

bool IsSafeToDelete(CxTable* table, qint64 key, int, QString* reason, CxSQL* sql) {
    if (!table)
        return false;
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    if (!sql)
        return false;
    for (const CxLink* linkPtr : LinksTo(table, false)) {
        const CxLink& link = *linkPtr;
        CxTable* detail = link.detail->GetTable();
        const QString statement = QStringLiteral("SELECT 1 FROM %1 WHERE %2=%3 LIMIT 1")
                                      .arg(Quoted(detail->GetSQLTable()),
                                           Quoted(link.detail->GetColumn()), QString::number(key));
        CxResult res = sql->Execute(statement);
        if (!res.isValid()) {
            if (reason)
                *reason = res.Error().text;
            return false;
        }
        if (res.FetchRow()) {
            if (reason) {
                const bool folder = detail == table || (link.detail->GetFlags() & FF_PARENT);
                *reason = folder ? Tr(QStringLiteral("Папка не пуста."), "msgFolderNotEmpty")
                                 : Tr(QStringLiteral("Запись используется в таблице «%1»."),
                                      "msgRecordInUse")
                                       .arg(detail->GetCaption());
            }
            return false;
        }
    }
    return true;
}

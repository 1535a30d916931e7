#include "sql_list_model.h"

#include "framework/core/notify/table_change_notifier.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"
#include "sql_filter.h"

#include <QDate>
#include <QTimer>

namespace {
// The hidden items in front of the columns: the tie-break key, the row key
// and the folder mark.
constexpr int kTieBreak = 0;
constexpr int kRowKey = 1;
constexpr int kMark = 2;
constexpr int kFirstColumn = 3;

// SQL NULL stays a null QString; an empty text is an empty, non-null one.
QString CellText(const CxResult& res, int index) {
    if (res.IsNull(index))
        return QString();
    QString text = res.SFieldValue(index);
    if (text.isNull())
        text = QStringLiteral("");
    return text;
}
} // namespace

void CxColumnData::SetColor(quint32 value) {
    hasColor = true;
    colorRef = value & 0xFFFFFF;
}

CxSQLListModel::CxSQLListModel(QObject* parent)
    : QAbstractTableModel(parent), m_reloadTimer(new QTimer(this)) {
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(0);
    connect(m_reloadTimer, &QTimer::timeout, this, [this] { Reload(); });
    connect(CxTableChangeNotifier::Instance(), &CxTableChangeNotifier::tableChanged, this,
            &CxSQLListModel::OnTableChanged);
}

CxSQLListModel::~CxSQLListModel() = default;

void CxSQLListModel::Begin(CxTable* table, const QString& name) {
    beginResetModel();
    m_table = table;
    m_name = name;
    m_columns.clear();
    m_folderName = m_folderMark = m_folderParent = nullptr;
    m_filters.clear();
    m_groupBy.clear();
    m_rows.clear();
    m_folder = 0;
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    m_atEnd = true;
    m_ready = false;
    m_error = CxSQLError();
    endResetModel();
}

int CxSQLListModel::RegisterField(const CxField* field, const QString& caption, qint64 flags) {
    if (!field)
        return -1;
    CxColumnData column;
    column.field = field;
    column.caption = caption.isEmpty() ? field->GetCaption() : caption;
    column.flags = flags == -1 ? field->GetFlags() : quint32(flags);
    m_columns.append(column);
    return int(m_columns.size()) - 1;
}

void CxSQLListModel::EnableFolders(const CxField* name, const CxField* mark,
                                   const CxField* parent) {
    m_folderName = name;
    m_folderMark = mark;
    m_folderParent = parent;
}

void CxSQLListModel::AddFilter(const CxSQLFilter* filter) {
    if (filter && !m_filters.contains(filter))
        m_filters << filter;
}

void CxSQLListModel::AddGroupBy(const CxField* field) {
    if (field && m_table)
        m_groupBy << m_table->GetFieldSQL(field);
}

void CxSQLListModel::AddGroupBy(const QString& expression) {
    if (!expression.trimmed().isEmpty())
        m_groupBy << expression;
}

bool CxSQLListModel::End() {
    if (!m_table)
        return false;
    // The list opens sorted by its name column, else by the first column.
    if (m_sortColumn < 0) {
        const CxField* name = m_table->GetNameField();
        for (int i = 0; i < m_columns.size() && m_sortColumn < 0; ++i)
            if (m_columns[i].field == name)
                m_sortColumn = i;
        if (m_sortColumn < 0 && !m_columns.isEmpty())
            m_sortColumn = 0;
    }
    m_ready = true;
    return LoadFromStart(m_pageSize);
}

CxColumnData* CxSQLListModel::FindSColumnData(const CxField* field) {
    for (CxColumnData& c : m_columns)
        if (c.field == field)
            return &c;
    return nullptr;
}

const CxField* CxSQLListModel::ColumnField(int column) const {
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : nullptr;
}

CxSQL* CxSQLListModel::Connection() const {
    return m_sql ? m_sql : g_pBaseSQLConnection.get();
}

QString CxSQLListModel::TieBreakSQL() const {
    if (!m_groupBy.isEmpty())
        return m_table->ExpandSQL(m_groupBy.first());
    if (const CxField* key = m_table->GetKeyField())
        return m_table->GetFieldSQL(key);
    return QString();
}

QString CxSQLListModel::ValueLiteral(const CxField* field, const QString& value) const {
    if (field && (field->GetFlags() & (FF_INT | FF_REAL)) && !(field->GetFlags() & FF_TEXT)) {
        bool ok = false;
        value.toDouble(&ok);
        if (ok)
            return value;
    }
    return SafeSQL(value);
}

QString CxSQLListModel::SortSQL() const {
    const QString dir = m_sortOrder == Qt::AscendingOrder ? QStringLiteral(" ASC")
                                                          : QStringLiteral(" DESC");
    const QString nullDir = m_sortOrder == Qt::AscendingOrder ? QStringLiteral(" DESC")
                                                              : QStringLiteral(" ASC");
    QStringList parts;
    if (m_folderMark)
        parts << QStringLiteral("IFNULL(") + m_table->GetFieldSQL(m_folderMark) +
                     QStringLiteral(",0) DESC");
    if (const CxField* sortField = ColumnField(m_sortColumn)) {
        const QString expr = m_table->GetFieldSQL(sortField);
        // NULLs first when ascending, last when descending, as the server does.
        parts << u'(' + expr + QStringLiteral(") IS NULL") + nullDir;
        parts << expr + dir;
    }
    const QString tie = TieBreakSQL();
    if (!tie.isEmpty())
        parts << tie + dir;
    return parts.join(u',');
}

QString CxSQLListModel::KeysetCondition(const Row& last) const {
    // The rows after the last one in the list's order: for the keys k1..kn,
    // (k1 after v1) OR (k1 = v1 AND k2 after v2) OR ...
    struct Key {
        QString expr;
        bool ascending;
        QString literal; // empty: the value was NULL
    };
    QList<Key> keys;
    const bool asc = m_sortOrder == Qt::AscendingOrder;
    if (m_folderMark)
        keys.append(Key{QStringLiteral("IFNULL(") + m_table->GetFieldSQL(m_folderMark) +
                            QStringLiteral(",0)"),
                        false, last.folder ? QStringLiteral("1") : QStringLiteral("0")});
    if (const CxField* sortField = ColumnField(m_sortColumn)) {
        const QString expr = m_table->GetFieldSQL(sortField);
        const QString value = last.texts.value(m_sortColumn);
        keys.append(Key{u'(' + expr + QStringLiteral(") IS NULL"), !asc,
                        value.isNull() ? QStringLiteral("1") : QStringLiteral("0")});
        keys.append(Key{expr, asc, value.isNull() ? QString() : ValueLiteral(sortField, value)});
    }
    keys.append(Key{TieBreakSQL(), asc,
                    m_groupBy.isEmpty() ? last.tieBreak : SafeSQL(last.tieBreak)});

    QStringList alternatives;
    QStringList equal;
    for (const Key& k : keys) {
        if (!k.literal.isEmpty()) {
            alternatives << (equal.isEmpty() ? QString() : equal.join(QStringLiteral(" AND ")) +
                                                               QStringLiteral(" AND ")) +
                                k.expr + (k.ascending ? u'>' : u'<') + k.literal;
            equal << k.expr + u'=' + k.literal;
        } else {
            // A NULL value: nothing comes after it within this key.
            equal << k.expr + QStringLiteral(" IS NULL");
        }
    }
    QStringList wrapped;
    for (const QString& a : alternatives)
        wrapped << u'(' + a + u')';
    return wrapped.isEmpty() ? QStringLiteral("1=0") : wrapped.join(QStringLiteral(" OR "));
}

QString CxSQLListModel::BuildPageQuery(int afterRow, int limit) const {
    if (!m_table)
        return QString();
    CxSelectOptions options;
    const QString tie = TieBreakSQL();
    const CxField* key = m_table->GetKeyField();
    options.expressions << (tie.isEmpty() ? QStringLiteral("NULL") : tie) +
                               QStringLiteral(" AS `_k`");
    options.expressions << (key ? m_table->GetFieldSQL(key) : QStringLiteral("NULL")) +
                               QStringLiteral(" AS `_id`");
    options.expressions << (m_folderMark ? QStringLiteral("IFNULL(") +
                                               m_table->GetFieldSQL(m_folderMark) +
                                               QStringLiteral(",0)")
                                         : QStringLiteral("0")) +
                               QStringLiteral(" AS `_f`");
    for (const CxColumnData& c : m_columns)
        options.fields << c.field;

    QStringList where;
    for (const CxSQLFilter* f : m_filters) {
        const QString condition = f->BuildCondition(m_table);
        if (!condition.isEmpty())
            where << u'(' + condition + u')';
    }
    if (m_folderParent) {
        const QString parent = m_table->GetFieldSQL(m_folderParent);
        where << (m_folder == 0 ? u'(' + parent + QStringLiteral("=0 OR ") + parent +
                                      QStringLiteral(" IS NULL)")
                                : parent + u'=' + QString::number(m_folder));
    }
    const bool keyset = !tie.isEmpty();
    if (afterRow >= 0 && afterRow < m_rows.size() && keyset)
        where << u'(' + KeysetCondition(m_rows[afterRow]) + u')';
    options.where = where.join(QStringLiteral(" AND "));
    options.groupBy = m_groupBy;
    options.orderBy = SortSQL();
    options.defaultOrder = false;
    // Without a key to continue from, a page starts at its offset.
    options.limit = keyset || afterRow < 0
                        ? QString::number(limit)
                        : QStringLiteral("%1,%2").arg(afterRow + 1).arg(limit);
    return m_table->BuildSelect(options);
}

bool CxSQLListModel::Fetch(int afterRow, int limit, QList<Row>& rows) {
    CxSQL* sql = Connection();
    if (!sql || !m_table)
        return false;
    CxResult res = sql->Execute(BuildPageQuery(afterRow, limit));
    if (!res.isValid()) {
        m_error = res.Error();
        emit loadFailed(m_error);
        return false;
    }
    m_error = CxSQLError();
    rows.reserve(int(res.RowsCount()));
    while (res.FetchRow()) {
        Row row;
        row.tieBreak = res.SFieldValue(kTieBreak);
        bool ok = false;
        row.key = res.SFieldValue(kRowKey).toLongLong(&ok);
        if (!ok)
            row.key = -1;
        row.folder = res.LFieldValue(kMark) != 0;
        row.texts.reserve(m_columns.size());
        for (int c = 0; c < m_columns.size(); ++c)
            row.texts << CellText(res, kFirstColumn + c);
        rows << row;
    }
    return true;
}

bool CxSQLListModel::LoadFromStart(int minRows) {
    QList<Row> rows;
    const int limit = qMax(minRows, m_pageSize);
    if (!Fetch(-1, limit, rows))
        return false;
    // Views (and testers) ask for more rows while the reset is announced;
    // the model answers after it.
    m_changing = true;
    beginResetModel();
    m_rows = rows;
    m_atEnd = rows.size() < limit;
    endResetModel();
    m_changing = false;
    emit reloaded();
    return true;
}

bool CxSQLListModel::SetFolder(qint64 folder) {
    if (!m_ready)
        return false;
    const qint64 previous = m_folder;
    m_folder = folder < 0 ? 0 : folder;
    if (!LoadFromStart(m_pageSize)) {
        m_folder = previous;
        return false;
    }
    return true;
}

QList<QPair<qint64, QString>> CxSQLListModel::FolderPath() const {
    QList<QPair<qint64, QString>> path;
    CxSQL* sql = Connection();
    const CxField* key = m_table ? m_table->GetKeyField() : nullptr;
    if (!sql || !key || !m_folderParent || !m_folderName)
        return path;
    qint64 folder = m_folder;
    // A damaged tree may loop; no real tree is this deep.
    for (int depth = 0; folder > 0 && depth < 64; ++depth) {
        CxSelectOptions options;
        options.expressions << m_table->GetFieldSQL(m_folderParent)
                            << m_table->GetFieldSQL(m_folderName);
        options.where = m_table->GetFieldSQL(key) + u'=' + QString::number(folder);
        options.defaultOrder = false;
        CxResult res = sql->Execute(m_table->BuildSelect(options));
        if (!res.FetchRow())
            break;
        path.prepend({folder, res.SFieldValue(1)});
        folder = res.LFieldValue(0);
    }
    return path;
}

qint64 CxSQLListModel::ParentOf(qint64 key) const {
    CxSQL* sql = Connection();
    const CxField* keyField = m_table ? m_table->GetKeyField() : nullptr;
    if (!sql || !keyField || !m_folderParent)
        return -1;
    CxSelectOptions options;
    options.expressions << QStringLiteral("IFNULL(") + m_table->GetFieldSQL(m_folderParent) +
                               QStringLiteral(",0)");
    options.where = m_table->GetFieldSQL(keyField) + u'=' + QString::number(key);
    options.defaultOrder = false;
    CxResult res = sql->Execute(m_table->BuildSelect(options));
    return res.FetchRow() ? res.LFieldValue(0) : -1;
}

qint64 CxSQLListModel::RowKey(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows[row].key : -1;
}

bool CxSQLListModel::IsFolderRow(int row) const {
    return row >= 0 && row < m_rows.size() && m_rows[row].folder;
}

QString CxSQLListModel::RowText(int row, int column) const {
    if (row < 0 || row >= m_rows.size())
        return QString();
    return m_rows[row].texts.value(column);
}

int CxSQLListModel::FindRow(qint64 key, int maxRows) {
    for (;;) {
        for (int i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].key == key)
                return i;
        if (m_atEnd || m_rows.size() >= maxRows)
            return -1;
        const int before = int(m_rows.size());
        fetchMore();
        if (m_rows.size() == before)
            return -1;
    }
}

bool CxSQLListModel::Reload() {
    if (!m_ready)
        return false;
    m_reloadTimer->stop();
    return LoadFromStart(int(m_rows.size()));
}

void CxSQLListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns.size())
        return;
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    const int previousColumn = m_sortColumn;
    const Qt::SortOrder previousOrder = m_sortOrder;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_ready && !LoadFromStart(m_pageSize)) {
        m_sortColumn = previousColumn;
        m_sortOrder = previousOrder;
    }
}

int CxSQLListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CxSQLListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CxSQLListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Row& row = m_rows[index.row()];
    const CxColumnData& column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        const QString& text = row.texts.value(index.column());
        if ((column.flags & FF_DATE) && !text.isEmpty()) {
            const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
            return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
        }
        return text;
    }
    case Qt::TextAlignmentRole:
        if ((column.flags & (FF_INT | FF_REAL)) && !(column.flags & FF_TEXT))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    case KeyRole:
        return row.key;
    case IsFolderRole:
        return row.folder;
    case TextColorRole:
        if (!column.hasColor)
            return QVariant();
        return 0xFF000000u | ((column.colorRef & 0xFF) << 16) | (column.colorRef & 0xFF00) |
               ((column.colorRef >> 16) & 0xFF);
    default:
        return QVariant();
    }
}

QVariant CxSQLListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_columns[section].caption;
    return QVariant();
}

bool CxSQLListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_ready && !m_atEnd && !m_changing && m_error.serverCode == 0 &&
           m_error.text.isEmpty();
}

void CxSQLListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    QList<Row> rows;
    if (!Fetch(int(m_rows.size()) - 1, m_pageSize, rows))
        return;
    m_atEnd = rows.size() < m_pageSize;
    if (rows.isEmpty())
        return;
    m_changing = true;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
    m_changing = false;
}

QStringList CxSQLListModel::WatchedTables() const {
    QStringList tables;
    if (!m_table)
        return tables;
    tables << m_table->GetSQLTable().toUpper();
    for (const CxJoin& join : m_table->GetJoins())
        if (join.table && !tables.contains(join.table->GetSQLTable().toUpper()))
            tables << join.table->GetSQLTable().toUpper();
    return tables;
}

void CxSQLListModel::OnTableChanged(const QString& table) {
    if (!m_ready || !WatchedTables().contains(table.toUpper()))
        return;
    // Several tables of one burst make one reload.
    m_reloadTimer->start();
}

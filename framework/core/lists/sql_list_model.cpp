#include "sql_list_model.h"

#include "framework/core/notify/table_change_notifier.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"
#include "sql_filter.h"

#include <QDate>
#include <QMap>
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
    m_reloadTimer->setObjectName(QStringLiteral("reloadTimer"));
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(0);
    connect(m_reloadTimer, &QTimer::timeout, this, [this] {
        // A report build holds the connection's locks while it lets window
        // messages through: the list reads again once it has ended.
        if (CRepDoc::IsBuilding())
            m_reloadTimer->start(100);
        else
            Reload();
    });
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
    FindUniqueSort();
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

QList<CxSQLListModel::PartSpec> CxSQLListModel::Parts() const {
    // Folders first, then the other rows. Where the sort column's values are
    // unique (NULLs aside), the rows of each are read without the tie-break
    // key, so that an index on the sort column gives their order: the rows
    // without a value in one part (ordered by the key), those with one in
    // another; NULLs come first when ascending, last when descending, as the
    // server orders them.
    QList<PartSpec> parts;
    const QString mark = m_folderMark ? m_table->GetFieldSQL(m_folderMark) : QString();
    QList<QPair<QString, bool>> folderParts;
    if (m_folderMark)
        folderParts << qMakePair(mark + QStringLiteral("=1"), true)
                    << qMakePair(u'(' + mark + QStringLiteral("=0 OR ") + mark +
                                     QStringLiteral(" IS NULL)"),
                                 false);
    else
        folderParts << qMakePair(QString(), false);
    const CxField* sortField = ColumnField(m_sortColumn);
    const QString sortSQL = sortField ? m_table->GetFieldSQL(sortField) : QString();
    const bool asc = m_sortOrder == Qt::AscendingOrder;
    for (const auto& [condition, folder] : folderParts) {
        if (!m_uniqueSort) {
            parts.append({condition, folder, PartSpec::Kind::Mixed});
            continue;
        }
        const QString nulls = sortSQL + QStringLiteral(" IS NULL");
        const QString values = sortSQL + QStringLiteral(" IS NOT NULL");
        const auto join = [&where = condition](const QString& extra) {
            return where.isEmpty() ? extra : where + QStringLiteral(" AND ") + extra;
        };
        PartSpec nullPart{join(nulls), folder, PartSpec::Kind::NullOnly};
        PartSpec valuePart{join(values), folder, PartSpec::Kind::ValueOnly};
        if (asc)
            parts << nullPart << valuePart;
        else
            parts << valuePart << nullPart;
    }
    return parts;
}

QString CxSQLListModel::SortSQL(const PartSpec& part) const {
    const QString dir =
        m_sortOrder == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    QStringList terms;
    const CxField* sortField = ColumnField(m_sortColumn);
    if (sortField && part.kind != PartSpec::Kind::NullOnly)
        terms << m_table->GetFieldSQL(sortField) + dir;
    const QString tie = TieBreakSQL();
    if (!tie.isEmpty() && part.kind != PartSpec::Kind::ValueOnly)
        terms << tie + dir;
    return terms.join(u',');
}

QString CxSQLListModel::KeysetCondition(const Row& last, const PartSpec& part) const {
    // The rows after the last one within its part, in the list's order: by
    // the sort value s (NULLs first when ascending, last when descending),
    // then by the tie-break key t. Written so that a range on s can use an
    // index.
    const bool asc = m_sortOrder == Qt::AscendingOrder;
    const QString t = TieBreakSQL();
    const QString k = m_groupBy.isEmpty() ? last.tieBreak : SafeSQL(last.tieBreak);
    const QString tAfter = t + (asc ? u'>' : u'<') + k;
    const CxField* sortField = ColumnField(m_sortColumn);
    if (!sortField || part.kind == PartSpec::Kind::NullOnly)
        return tAfter;
    const QString s = m_table->GetFieldSQL(sortField);
    const QString value = last.texts.value(m_sortColumn);
    const QString v = value.isNull() ? QString() : ValueLiteral(sortField, value);
    if (part.kind == PartSpec::Kind::ValueOnly)
        return s + (asc ? u'>' : u'<') + v;
    if (value.isNull())
        return asc ? QStringLiteral("((%1 IS NULL AND %2) OR %1 IS NOT NULL)").arg(s, tAfter)
                   : QStringLiteral("(%1 IS NULL AND %2)").arg(s, tAfter);
    return asc ? QStringLiteral("(%1>=%2 AND (%1>%2 OR %3))").arg(s, v, tAfter)
               : QStringLiteral("((%1<=%2 AND (%1<%2 OR %3)) OR %1 IS NULL)").arg(s, v, tAfter);
}

QString CxSQLListModel::BuildPageQuery(int afterRow, int limit) const {
    const int part = afterRow >= 0 && afterRow < m_rows.size() ? m_rows[afterRow].part : 0;
    return BuildPartQuery(part, afterRow, limit);
}

QString CxSQLListModel::BuildPartQuery(int partIndex, int afterRow, int limit) const {
    const bool continues =
        afterRow >= 0 && afterRow < m_rows.size() && m_rows[afterRow].part == partIndex;
    int offset = 0;
    if (continues)
        for (int i = 0; i <= afterRow; ++i)
            offset += m_rows[i].part == partIndex ? 1 : 0;
    return BuildPartQueryAfter(partIndex, continues ? &m_rows[afterRow] : nullptr, offset, limit);
}

QString CxSQLListModel::BuildPartQueryAfter(int partIndex, const Row* last, int offset,
                                            int limit) const {
    const QList<PartSpec> parts = Parts();
    if (!m_table || partIndex < 0 || partIndex >= parts.size())
        return QString();
    const PartSpec& part = parts[partIndex];
    CxSelectOptions options;
    const QString tie = TieBreakSQL();
    const CxField* key = m_table->GetKeyField();
    options.expressions << (tie.isEmpty() ? QStringLiteral("NULL") : tie) +
                               QStringLiteral(" AS `_k`");
    options.expressions << (key ? m_table->GetFieldSQL(key) : QStringLiteral("NULL")) +
                               QStringLiteral(" AS `_id`");
    options.expressions << (part.folder ? QStringLiteral("1") : QStringLiteral("0")) +
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
    if (!part.condition.isEmpty())
        where << part.condition;
    // A page continues after the last row of its own part; a part after it
    // starts at its beginning.
    const bool keyset = !tie.isEmpty();
    if (last && keyset)
        where << u'(' + KeysetCondition(*last, part) + u')';
    options.where = where.join(QStringLiteral(" AND "));
    options.groupBy = m_groupBy;
    options.orderBy = SortSQL(part);
    options.defaultOrder = false;
    // Without a key to continue from, a page starts at its offset within
    // its part.
    if (!last || keyset)
        offset = 0;
    options.limit =
        offset ? QStringLiteral("%1,%2").arg(offset).arg(limit) : QString::number(limit);
    return m_table->BuildSelect(options);
}

bool CxSQLListModel::RunPage(const QString& statement, int part, QList<Row>& rows) {
    CxSQLError error;
    if (!ReadRows(statement, part, rows, &error)) {
        m_error = error;
        emit loadFailed(m_error);
        return false;
    }
    m_error = CxSQLError();
    return true;
}

bool CxSQLListModel::ReadRows(const QString& statement, int part, QList<Row>& rows,
                              CxSQLError* error) const {
    CxSQL* sql = Connection();
    if (!sql || !m_table || statement.isEmpty())
        return false;
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        *error = res.Error();
        return false;
    }
    rows.reserve(rows.size() + int(res.RowsCount()));
    while (res.FetchRow()) {
        Row row;
        row.tieBreak = res.SFieldValue(kTieBreak);
        bool ok = false;
        row.key = res.SFieldValue(kRowKey).toLongLong(&ok);
        if (!ok)
            row.key = -1;
        row.folder = res.LFieldValue(kMark) != 0;
        row.part = part;
        row.texts.reserve(m_columns.size());
        for (int c = 0; c < m_columns.size(); ++c)
            row.texts << CellText(res, kFirstColumn + c);
        rows << row;
    }
    return true;
}

bool CxSQLListModel::ReadAllRows(const std::function<bool(const QStringList& texts)>& row,
                                 int pageSize, CxSQLError* error) const {
    // Pages of its own, each continuing after the last row read, so the rows
    // the view holds stay as they are and memory holds one page.
    *error = CxSQLError();
    const int partCount = int(Parts().size());
    pageSize = qMax(1, pageSize);
    for (int part = 0; part < partCount; ++part) {
        Row last;
        bool hasLast = false;
        int offset = 0;
        for (;;) {
            QList<Row> rows;
            if (!ReadRows(BuildPartQueryAfter(part, hasLast ? &last : nullptr, offset, pageSize),
                          part, rows, error)) {
                if (error->text.isEmpty() && error->serverCode == 0)
                    error->text = QStringLiteral("Нет соединения с базой данных");
                return false;
            }
            for (const Row& r : rows) {
                QStringList texts;
                texts.reserve(r.texts.size());
                for (int c = 0; c < r.texts.size(); ++c)
                    texts << DisplayText(c, r.texts[c]);
                if (!row(texts))
                    return false;
            }
            if (rows.size() < pageSize)
                break;
            last = rows.last();
            hasLast = true;
            offset += int(rows.size());
        }
    }
    return true;
}

QString CxSQLListModel::DisplayText(int column, const QString& text) const {
    if (column < 0 || column >= m_columns.size())
        return text;
    if ((m_columns[column].flags & FF_DATE) && !text.isEmpty()) {
        // Folders and old rows hold the column's default for no date.
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        return IsNoneDate(date) ? QString() : DateToText(date);
    }
    return text;
}

bool CxSQLListModel::Fetch(int afterRow, int limit, QList<Row>& rows, bool* atEnd) {
    // The page continues the part of the last row, then takes the parts
    // after it until it is full.
    const int partCount = int(Parts().size());
    int part = afterRow >= 0 && afterRow < m_rows.size() ? m_rows[afterRow].part : 0;
    int after = afterRow;
    *atEnd = false;
    for (; part < partCount && rows.size() < limit; ++part) {
        const int wanted = limit - int(rows.size());
        const int before = int(rows.size());
        if (!RunPage(BuildPartQuery(part, after, wanted), part, rows))
            return false;
        if (rows.size() - before == wanted)
            return true;
        after = -1;
    }
    *atEnd = true;
    return true;
}

int CxSQLListModel::FolderRowsUpTo(int cap) const {
    // The folder's rows by its own index, without the filters' conditions
    // (which may need the joined tables): the answer bounds what a page of
    // the folder can read.
    CxSQL* sql = Connection();
    if (!sql || !m_table)
        return -1;
    CxSelectOptions options;
    options.expressions << QStringLiteral("1");
    if (m_folderParent) {
        const QString parent = m_table->GetFieldSQL(m_folderParent);
        options.where =
            m_folder == 0 ? parent + QStringLiteral("=0 OR ") + parent + QStringLiteral(" IS NULL")
                          : parent + u'=' + QString::number(m_folder);
    }
    options.defaultOrder = false;
    options.limit = QString::number(cap);
    CxResult res = sql->Execute(QStringLiteral("SELECT COUNT(*) FROM (") +
                                m_table->BuildSelect(options) + QStringLiteral(") AS `_rows`"));
    return res.isValid() && res.FetchRow() ? int(res.LFieldValue(0)) : -1;
}

void CxSQLListModel::FindUniqueSort() {
    // The sort column's values are unique (NULLs aside) when a unique index
    // of the table ends with it and its other columns are fixed by the
    // table's row filter ("{TABLE}.nDirType=3" with the index (nDirType,
    // cString)), or when it is the key itself.
    m_sortColumnUnique = false;
    const CxField* sortField = ColumnField(m_sortColumn);
    CxSQL* sql = Connection();
    if (!sortField || !sortField->IsPlainColumn() || !m_groupBy.isEmpty() || !sql)
        return;
    if (sortField == m_table->GetKeyField()) {
        m_sortColumnUnique = true;
        return;
    }
    CxResult res = sql->Execute(QStringLiteral("SHOW INDEX FROM `%1`").arg(m_table->GetSQLTable()));
    QMap<QString, QStringList> unique;
    while (res.isValid() && res.FetchRow())
        if (res.LFieldValue(QStringLiteral("Non_unique")) == 0)
            unique[res.SFieldValue(QStringLiteral("Key_name"))]
                << res.SFieldValue(QStringLiteral("Column_name"));
    const QString filter = m_table->GetFilter().toLower().remove(u' ');
    for (const QStringList& columns : std::as_const(unique)) {
        if (columns.last().compare(sortField->GetColumn(), Qt::CaseInsensitive) != 0)
            continue;
        bool fixed = true;
        for (int i = 0; i + 1 < columns.size() && fixed; ++i)
            fixed = filter.contains(QStringLiteral("{table}.") + columns[i].toLower() + u'=');
        if (fixed) {
            m_sortColumnUnique = true;
            return;
        }
    }
}

bool CxSQLListModel::LoadFromStart(int minRows) {
    QList<Row> rows;
    const int limit = qMax(minRows, m_pageSize);
    bool atEnd = false;
    // Reading in the order of the sort column's index pays where the folder
    // holds many rows; a few thousand rows the server sorts faster than it
    // walks an index that mostly holds other folders' rows. The count serves
    // the later pages too (see fetchMore).
    m_folderRows = -1;
    if (m_sortColumnUnique)
        m_folderRows = FolderRowsUpTo(qMax(m_indexOrderRows, MaxPageSize()) + 1);
    m_uniqueSort = m_sortColumnUnique && m_folderRows > m_indexOrderRows;
    if (!Fetch(-1, limit, rows, &atEnd))
        return false;
    // Views (and testers) ask for more rows while the reset is announced;
    // the model answers after it.
    m_changing = true;
    beginResetModel();
    m_rows = rows;
    m_atEnd = atEnd;
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
    if (!m_ready)
        return;
    FindUniqueSort();
    if (!LoadFromStart(m_pageSize)) {
        m_sortColumn = previousColumn;
        m_sortOrder = previousOrder;
        FindUniqueSort();
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
    case Qt::ToolTipRole:
        return DisplayText(index.column(), row.texts.value(index.column()));
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
    // No page is read while a report build holds the connection's locks.
    return !parent.isValid() && !CRepDoc::IsBuilding() && m_ready && !m_atEnd && !m_changing &&
           m_error.serverCode == 0 && m_error.text.isEmpty();
}

void CxSQLListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    QList<Row> rows;
    bool atEnd = false;
    int limit = qBound(m_pageSize, int(m_rows.size()), MaxPageSize());
    // A page of a folder read without an index's order costs the server a
    // scan and sort of the whole folder wherever it starts: a folder that one
    // page of the most rows holds is read to its end with the first page
    // after the first, in one such sort instead of one per growing page.
    if (m_folderRows < 0)
        m_folderRows = FolderRowsUpTo(MaxPageSize() + 1);
    if (m_folderRows >= 0 && m_folderRows <= MaxPageSize())
        limit = MaxPageSize();
    if (!Fetch(int(m_rows.size()) - 1, limit, rows, &atEnd))
        return;
    m_atEnd = atEnd;
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

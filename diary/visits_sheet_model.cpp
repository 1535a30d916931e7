#include "visits_sheet_model.h"

#include <QRegularExpression>

CVisitsSheetModel::CVisitsSheetModel(CVisitsSheet* sheet, QObject* parent)
    : QAbstractTableModel(parent), m_sheet(sheet) {}

bool CVisitsSheetModel::AcceptsText(ESheetColumnKind kind, const QString& text) {
    if (kind != ESheetColumnKind::Count && kind != ESheetColumnKind::YesNo)
        return true;
    // Up to nine digits always fit the stored column.
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d{0,9}\\s*$"));
    return digits.match(text).hasMatch();
}

int CVisitsSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_sheet->RowCount() + 1;
}

int CVisitsSheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_sheet->ColumnCount();
}

QVariant CVisitsSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const CSheetColumn& column = m_sheet->Column(index.column());
    const bool newRow = IsNewRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return newRow ? QString() : m_sheet->Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.kind == ESheetColumnKind::Count ||
                                           column.kind == ESheetColumnKind::YesNo
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (column.kind == ESheetColumnKind::Client && m_clientTint.isValid())
            return m_clientTint;
        return QVariant();
    case ClientIdRole:
        if (column.kind != ESheetColumnKind::Client || newRow)
            return QVariant();
        return m_sheet->ClientId(index.row());
    case KindRole:
        return int(column.kind);
    default:
        return QVariant();
    }
}

QVariant CVisitsSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_sheet->ColumnCount())
            return QVariant();
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return m_sheet->Column(section).Caption();
        return QVariant();
    }
    if (role != Qt::DisplayRole || section < 0 || section > m_sheet->RowCount())
        return QVariant();
    return IsNewRow(section) ? QStringLiteral("*") : QString::number(section + 1);
}

Qt::ItemFlags CVisitsSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CVisitsSheetModel::TakeNewRow() {
    const int row = NewRow();
    beginInsertRows(QModelIndex(), row + 1, row + 1);
    m_sheet->AppendRow();
    endInsertRows();
    emit headerDataChanged(Qt::Vertical, row, row);
}

bool CVisitsSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const QString text = value.toString();
    const CSheetColumn& column = m_sheet->Column(index.column());
    if (!AcceptsText(column.kind, text))
        return false;
    if (IsNewRow(index.row())) {
        // Nothing typed into the new row leaves it what it is.
        if (text.trimmed().isEmpty())
            return true;
        TakeNewRow();
    } else if (m_sheet->Text(index.row(), index.column()) == text) {
        return true;
    }
    m_sheet->SetText(index.row(), index.column(), text);
    emit dataChanged(index, index);
    if (column.kind != ESheetColumnKind::Client)
        emit totalsChanged(index.column());
    emit sheetEdited();
    return true;
}

bool CVisitsSheetModel::SetClient(int row, qint64 clientId, const QString& code) {
    const int column = m_sheet->ClientColumn();
    if (row < 0 || row > NewRow() || column < 0)
        return false;
    if (IsNewRow(row)) {
        if (code.trimmed().isEmpty())
            return true;
        TakeNewRow();
    } else if (m_sheet->ClientId(row) == qMax<qint64>(0, clientId) &&
               m_sheet->Text(row, column) == code) {
        return true;
    }
    m_sheet->SetClient(row, clientId, code);
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
    emit sheetEdited();
    return true;
}

void CVisitsSheetModel::ClearCells(const QModelIndexList& cells) {
    int top = -1, bottom = -1, left = -1, right = -1;
    for (const QModelIndex& cell : cells) {
        if (!cell.isValid() ||
            !checkIndex(cell, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
            IsNewRow(cell.row()) || m_sheet->Text(cell.row(), cell.column()).isEmpty())
            continue;
        m_sheet->SetText(cell.row(), cell.column(), QString());
        top = top < 0 ? cell.row() : qMin(top, cell.row());
        bottom = qMax(bottom, cell.row());
        left = left < 0 ? cell.column() : qMin(left, cell.column());
        right = qMax(right, cell.column());
    }
    if (top < 0)
        return;
    emit dataChanged(index(top, left), index(bottom, right));
    emit totalsChanged(-1);
    emit sheetEdited();
}

void CVisitsSheetModel::MoveColumn(int from, int to) {
    const int count = m_sheet->ColumnCount();
    if (from == to || from < 0 || to < 0 || from >= count || to >= count)
        return;
    if (!beginMoveColumns(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to))
        return;
    m_sheet->MoveColumn(from, to);
    endMoveColumns();
    emit totalsChanged(-1);
    emit sheetEdited();
}

void CVisitsSheetModel::BeginSheetChange() {
    beginResetModel();
}

void CVisitsSheetModel::EndSheetChange() {
    endResetModel();
    emit totalsChanged(-1);
}

#include "grid_ctrl.h"

#include "framework/core/enums/enum2.h"
#include "framework/core/lists/sql_auto_complete.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/sql_acc_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"

#include <QColor>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
// A typed name that names no row is kept with this mark in front, so the
// cell shows what was typed and SaveCell can tell.
const QChar kUnresolved(0x1);

quint64 CellKey(int row, int column) {
    return (quint64(quint32(row)) << 32) | quint32(column);
}

bool IsInteger(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+$"));
    return number.match(text.trimmed()).hasMatch();
}
} // namespace

CGridColumnDef& CGridColumnDef::SetAlign(int value) {
    align = (value == 2   ? Qt::AlignRight
             : value == 1 ? Qt::AlignHCenter
                          : Qt::AlignLeft) |
            Qt::AlignVCenter;
    return *this;
}

CGridColumnDef& CGridColumnDef::SetColor(quint32 value) {
    hasColor = true;
    colorRef = value & 0xFFFFFF;
    return *this;
}

CGridColumnDef& CGridColumnDef::SetRuntimeClass(const QMetaObject* editor) {
    if (editor == &CxInplacedCheck::staticMetaObject)
        kind = Kind::Check;
    else if (editor == &CxComboList::staticMetaObject)
        kind = Kind::Enum;
    else if (editor == &CxSqlComboList::staticMetaObject) {
        kind = Kind::TableKey;
        plainEditForKeys = false;
    } else if (editor == &CxOldEditSQLAcc::staticMetaObject) {
        kind = Kind::TableKey;
        plainEditForKeys = true;
    } else {
        kind = Kind::Text;
    }
    return *this;
}

CGridColumnDef& CGridColumnDef::SetEnum(const CEnum2* value) {
    enumeration = value;
    return *this;
}

CGridColumnDef& CGridColumnDef::SetTable(CxTable* value) {
    table = value ? std::make_shared<CSQLAutoComplete>(value) : nullptr;
    return *this;
}

// --- model ---

CGridModel::CGridModel(CGridCtrl* grid) : QAbstractTableModel(grid), m_grid(grid) {}

int CGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_grid->m_cells.size());
}

int CGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_grid->m_columns.size());
}

QVariant CGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const CGridColumnDef& column = m_grid->m_columns[index.column()];
    const QString& text = m_grid->m_cells[index.row()][index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return column.kind == CGridColumnDef::Kind::Check
                   ? QVariant()
                   : QVariant(m_grid->DisplayText(index.row(), index.column()));
    case Qt::EditRole:
        return column.kind == CGridColumnDef::Kind::TableKey
                   ? m_grid->DisplayText(index.row(), index.column())
                   : text;
    case Qt::CheckStateRole:
        if (column.kind != CGridColumnDef::Kind::Check)
            return QVariant();
        return text.trimmed().toLongLong() != 0 ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant(column.align);
    case Qt::BackgroundRole:
        if (column.hasColor)
            return QColor(int(column.colorRef & 0xFF), int((column.colorRef >> 8) & 0xFF),
                          int((column.colorRef >> 16) & 0xFF));
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_grid->m_columns.size())
        return m_grid->m_columns[section].caption;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QVariant();
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    QString text;
    if (role == Qt::CheckStateRole)
        text = value.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    else if (role == Qt::EditRole)
        text = value.toString();
    else
        return false;
    if (!m_grid->CheckValue(index.row(), index.column(), text))
        return false;
    m_grid->m_cells[index.row()][index.column()] = text;
    emit dataChanged(index, index);
    m_grid->OnItemChanged(index.row(), index.column());
    emit m_grid->itemChanged(index.row(), index.column());
    m_grid->KeepEmptyLastRow();
    return true;
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid->IsCellReadOnly(index.row(), index.column()))
        return f;
    if (m_grid->m_columns[index.column()].kind == CGridColumnDef::Kind::Check)
        return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

// --- grid ---

CGridCtrl::CGridCtrl(QWidget* parent) : QTableView(parent), m_model(new CGridModel(this)) {
    setModel(m_model);
    setItemDelegate(new CGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::Begin() {
    m_model->beginResetModel();
    m_columns.clear();
    m_cells.clear();
    m_readOnlyCells.clear();
    m_keyNames.clear();
}

int CGridCtrl::RegisterColumn(const QString& caption, int width) {
    CGridColumnDef def;
    def.caption = caption;
    def.width = width;
    m_columns << def;
    for (QStringList& row : m_cells)
        row << QString();
    return int(m_columns.size()) - 1;
}

void CGridCtrl::End() {
    m_model->endResetModel();
    for (int c = 0; c < m_columns.size(); ++c)
        setColumnWidth(c, m_columns[c].width);
    KeepEmptyLastRow();
}

CGridColumnDef* CGridCtrl::GetColumnDef(int column) {
    return column >= 0 && column < m_columns.size() ? &m_columns[column] : nullptr;
}

void CGridCtrl::Reset() {
    Begin();
    End();
}

void CGridCtrl::EnsureRows(int rows) {
    if (rows <= m_cells.size())
        return;
    m_model->beginInsertRows(QModelIndex(), int(m_cells.size()), rows - 1);
    while (m_cells.size() < rows) {
        QStringList row;
        for (int c = 0; c < m_columns.size(); ++c)
            row << QString();
        m_cells << row;
    }
    m_model->endInsertRows();
}

void CGridCtrl::SetItemCount(int rows) {
    rows = qMax(0, rows);
    if (rows > m_cells.size()) {
        EnsureRows(rows);
    } else if (rows < m_cells.size()) {
        m_model->beginRemoveRows(QModelIndex(), rows, int(m_cells.size()) - 1);
        m_cells.resize(rows);
        m_model->endRemoveRows();
    }
}

void CGridCtrl::SetItemText(int row, int column, const QString& text) {
    if (row < 0 || column < 0 || column >= m_columns.size())
        return;
    EnsureRows(row + 1);
    m_cells[row][column] = text;
    const QModelIndex index = m_model->index(row, column);
    emit m_model->dataChanged(index, index);
}

QString CGridCtrl::GetItemText(int row, int column) const {
    if (row < 0 || row >= m_cells.size() || column < 0 || column >= m_columns.size())
        return QString();
    const QString& text = m_cells[row][column];
    return text.startsWith(kUnresolved) ? text.mid(1) : text;
}

void CGridCtrl::LoadCell(int row, int column, const QString& text) {
    SetItemText(row, column, text);
    KeepEmptyLastRow();
}

int CGridCtrl::SaveCell(int row, int column, QString* text) const {
    if (row < 0 || row >= m_cells.size() || column < 0 || column >= m_columns.size())
        return CELL_EMPTY;
    const QString& raw = m_cells[row][column];
    if (raw.trimmed().isEmpty())
        return CELL_EMPTY;
    if (raw.startsWith(kUnresolved))
        return CELL_NOT_FOUND;
    if (text)
        *text = raw;
    return CELL_VALUE;
}

void CGridCtrl::SetCellReadOnly(int row, int column, bool readOnly) {
    if (readOnly)
        m_readOnlyCells.insert(CellKey(row, column), true);
    else
        m_readOnlyCells.remove(CellKey(row, column));
}

bool CGridCtrl::IsCellReadOnly(int row, int column) const {
    if (column >= 0 && column < m_columns.size() && m_columns[column].readOnly)
        return true;
    return m_readOnlyCells.contains(CellKey(row, column));
}

void CGridCtrl::SetAutoGrow(bool on) {
    m_autoGrow = on;
    KeepEmptyLastRow();
}

void CGridCtrl::KeepEmptyLastRow() {
    if (!m_autoGrow || m_columns.isEmpty())
        return;
    const bool lastEmpty =
        !m_cells.isEmpty() &&
        std::all_of(m_cells.last().begin(), m_cells.last().end(),
                    [](const QString& cell) { return cell.trimmed().isEmpty(); });
    if (!lastEmpty)
        EnsureRows(int(m_cells.size()) + 1);
}

QString CGridCtrl::DisplayText(int row, int column) const {
    const CGridColumnDef& def = m_columns[column];
    const QString& text = m_cells[row][column];
    if (text.startsWith(kUnresolved))
        return text.mid(1);
    if (def.kind == CGridColumnDef::Kind::Enum && def.enumeration && !text.isEmpty())
        return def.enumeration->IDToString(long(text.toLongLong()), text);
    if (def.kind == CGridColumnDef::Kind::TableKey && def.table && !text.isEmpty()) {
        const QString cacheKey = QString::number(column) + u':' + text;
        auto found = m_keyNames.constFind(cacheKey);
        if (found != m_keyNames.constEnd())
            return *found;
        QString name = def.table->TextOfKey(text.toLongLong());
        if (name.isNull())
            name = text;
        m_keyNames.insert(cacheKey, name);
        return name;
    }
    return text;
}

void CGridCtrl::SelectItem(int row, int column) {
    const QModelIndex index = m_model->index(row, column);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

void CGridCtrl::ShowErrorTip(int row, int column, const QString& text, const QString& title) {
    SelectItem(row, column);
    m_lastTip = text;
    m_lastTipRow = row;
    m_lastTipColumn = column;
    ::ShowErrorTip(viewport(), visualRect(m_model->index(row, column)), text, title);
}

QString CGridCtrl::LastErrorTip(int* row, int* column) const {
    if (row)
        *row = m_lastTipRow;
    if (column)
        *column = m_lastTipColumn;
    return m_lastTip;
}

bool CGridCtrl::CheckValue(int row, int column, QString& text) {
    const CGridColumnDef& def = m_columns[column];
    if (def.integer && !text.trimmed().isEmpty() && !IsInteger(text)) {
        ShowErrorTip(row, column,
                     CTarvikApp::TranslateString(QStringLiteral("Введите целое число."),
                                                 QStringLiteral("msgNeedNumber"), 1));
        return false;
    }
    return true;
}

QWidget* CGridCtrl::CreateInplaceObject(int, int column, QWidget* parent) {
    const CGridColumnDef& def = m_columns[column];
    switch (def.kind) {
    case CGridColumnDef::Kind::Enum: {
        auto* combo = new CxComboList(parent);
        combo->SetEnum(def.enumeration);
        return combo;
    }
    case CGridColumnDef::Kind::TableKey:
        if (def.plainEditForKeys) {
            auto* edit = new CxOldEditSQLAcc(parent);
            edit->SetInCell(true);
            if (def.table)
                edit->SetAutoCompleteTable(def.table->GetTable());
            return edit;
        } else {
            auto* combo = new CxSqlComboList(parent);
            if (def.table)
                combo->SetControlInfo(def.table->GetTable());
            return combo;
        }
    default: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(def.align);
        return edit;
    }
    }
}

void CGridCtrl::OnItemChanged(int, int) {}

// --- delegate ---

CGridDelegate::CGridDelegate(CGridCtrl* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget* CGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
    return m_grid->CreateInplaceObject(index.row(), index.column(), parent);
}

void CGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString raw = m_grid->m_cells[index.row()][index.column()];
    if (auto* combo = qobject_cast<CxComboList*>(editor)) {
        if (raw.isEmpty())
            combo->setCurrentIndex(0);
        else
            combo->SetCurSelCode(long(raw.toLongLong()));
    } else if (auto* sql = qobject_cast<CxSqlComboList*>(editor)) {
        sql->SetSelectedID(raw.isEmpty() || raw.startsWith(kUnresolved) ? -1 : raw.toLongLong());
        if (raw.startsWith(kUnresolved))
            sql->setEditText(raw.mid(1));
    } else if (auto* acc = qobject_cast<CxOldEditSQLAcc*>(editor)) {
        acc->setText(m_grid->DisplayText(index.row(), index.column()));
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(raw);
    }
}

void CGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    QString value;
    if (auto* combo = qobject_cast<CxComboList*>(editor)) {
        const long code = combo->GetCurSelCode();
        value = code < 0 ? QString() : QString::number(code);
    } else if (auto* sql = qobject_cast<CxSqlComboList*>(editor)) {
        const qint64 key = sql->GetSelectedID();
        value = key >= 0    ? QString::number(key)
                : key == -2 ? kUnresolved + sql->currentText().trimmed()
                            : QString();
    } else if (auto* acc = qobject_cast<CxOldEditSQLAcc*>(editor)) {
        QString key;
        switch (acc->GetValueAsROWID(&key)) {
        case CxOldEditSQLAcc::VALUE_FOUND:
            value = key;
            break;
        case CxOldEditSQLAcc::VALUE_NOT_FOUND:
            value = kUnresolved + acc->text().trimmed();
            break;
        default:
            break;
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        value = line->text();
    }
    model->setData(index, value, Qt::EditRole);
}

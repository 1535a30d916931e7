#include "preset_sel_list.h"

CRepPresetListModel::CRepPresetListModel(QObject* parent) : QAbstractListModel(parent) {}

void CRepPresetListModel::SetList(std::unique_ptr<CRepPresetListAccess> list) {
    beginResetModel();
    m_list = std::move(list);
    endResetModel();
}

void CRepPresetListModel::SetCheckable(bool checkable) {
    beginResetModel();
    m_checkable = checkable;
    endResetModel();
}

void CRepPresetListModel::Refresh() {
    beginResetModel();
    endResetModel();
}

int CRepPresetListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_list ? 0 : m_list->Count();
}

QVariant CRepPresetListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return m_list->Title(row);
    case CHTMLListCtrl::HtmlRole:
        return m_list->ItemHTML(row);
    case Qt::ToolTipRole: {
        const QString comment = m_list->Comment(row);
        return comment.isEmpty() ? QVariant() : QVariant(comment);
    }
    case Qt::CheckStateRole:
        if (!m_checkable)
            return QVariant();
        return m_list->Checked() == row ? Qt::Checked : Qt::Unchecked;
    case Qt::UserRole:
        return qlonglong(m_list->RecordType(row));
    default:
        return QVariant();
    }
}

bool CRepPresetListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !m_checkable ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    // One item ticked at a time: a click on the ticked item keeps it.
    if (value.toInt() != Qt::Checked)
        return false;
    const int before = m_list->Checked();
    if (before == index.row())
        return true;
    m_list->SetItemCheck(index.row(), true);
    if (before >= 0 && before < rowCount()) {
        const QModelIndex old = this->index(before);
        emit dataChanged(old, old, {Qt::CheckStateRole});
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CRepPresetListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_checkable)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

// ---- the widget ----

CRepPresetSelListBase::CRepPresetSelListBase(QWidget* parent)
    : CHTMLListCtrl(parent), m_model(new CRepPresetListModel(this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (CRepPresetListAccess* list = m_model->List())
                    list->SetSelected(current.isValid() ? current.row() : -1);
                emit selectionChanged2();
            });
    // A click on an item ticks it (where the list shows ticks).
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (m_checkBoxes && index.isValid())
            m_model->setData(index, Qt::Checked, Qt::CheckStateRole);
    });
}

void CRepPresetSelListBase::SetAccess(std::unique_ptr<CRepPresetListAccess> access) {
    m_model->SetList(std::move(access));
    ShowSelected();
}

void CRepPresetSelListBase::SetCheckBoxes(bool on) {
    m_checkBoxes = on;
    m_model->SetCheckable(on);
    ShowSelected();
}

int CRepPresetSelListBase::GetChecked() const {
    return m_model->List() ? m_model->List()->Checked() : -1;
}

int CRepPresetSelListBase::GetSelected() const {
    return m_model->List() ? m_model->List()->Selected() : -1;
}

void CRepPresetSelListBase::Fill(int selectIndex) {
    if (CRepPresetListAccess* list = m_model->List())
        list->Fill(selectIndex);
    Refresh();
}

bool CRepPresetSelListBase::SelectByName(const QString& title) {
    CRepPresetListAccess* list = m_model->List();
    if (!list || !list->SelectByName(title))
        return false;
    Refresh();
    return true;
}

void CRepPresetSelListBase::CheckFirstWhenNone() {
    CRepPresetListAccess* list = m_model->List();
    if (!list || list->Checked() >= 0 || list->Count() == 0)
        return;
    list->SetSelected(0);
    list->SetItemCheck(0, true);
    Refresh();
}

void CRepPresetSelListBase::Refresh() {
    m_model->Refresh();
    ShowSelected();
}

void CRepPresetSelListBase::SetListEnabled(bool enable) {
    setEnabled(enable);
    if (m_caption)
        m_caption->setEnabled(enable);
}

void CRepPresetSelListBase::ShowSelected() {
    CRepPresetListAccess* list = m_model->List();
    const int selected = list ? list->Selected() : -1;
    // Setting the current item tells the list again; it keeps what it has.
    const QSignalBlocker block(selectionModel());
    if (selected >= 0 && selected < m_model->rowCount()) {
        setCurrentIndex(m_model->index(selected));
        scrollTo(m_model->index(selected));
    } else {
        selectionModel()->clear();
    }
    viewport()->update();
    emit selectionChanged2();
}

CRepPresetSelList2::CRepPresetSelList2(QWidget* parent) : CRepPresetSelListBase(parent) {
    setObjectName(QStringLiteral("presetList"));
}

void CRepPresetSelList2::SetList(CRepPresetList2* list) {
    m_list = list;
    SetAccess(list ? std::make_unique<CRepPresetListAccessT<KDRepPresetEx2>>(list) : nullptr);
}

bool CRepPresetSelList2::GetSelectedPreset(KDRepPresetEx2& preset) const {
    return m_list && m_list->GetSelectedPreset(preset);
}

CRepPresetSelList::CRepPresetSelList(QWidget* parent)
    : CRepPresetSelListBase(parent), m_list(std::make_unique<CRepPresetList>()),
      m_shown(m_list.get()) {
    setObjectName(QStringLiteral("presetList1"));
    SetAccess(std::make_unique<CRepPresetListAccessT<KDRepPresetEx>>(m_shown));
}

void CRepPresetSelList::SetList(CRepPresetList* list) {
    m_shown = list ? list : m_list.get();
    SetAccess(std::make_unique<CRepPresetListAccessT<KDRepPresetEx>>(m_shown));
}

bool CRepPresetSelList::GetSelectedPreset(KDRepPresetEx& preset) const {
    return m_shown->GetSelectedPreset(preset);
}

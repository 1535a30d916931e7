#include "client_tabs.h"

#include "client_card.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_edit_form.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QVariant RadioValue(const QList<QPair<QAbstractButton*, int>>& buttons,
                    const CDClientTabDynDyn* page, const QString& column,
                    const QVariant& fallback) {
    for (const auto& [button, value] : buttons)
        if (button->isChecked())
            return value;
    if (page->IsStored() && page->HasStored(column)) {
        const QString stored = page->Stored(column);
        return stored.isNull() ? QVariant() : QVariant(stored.toLongLong());
    }
    return fallback;
}

void ShowRadioValue(const QList<QPair<QAbstractButton*, int>>& buttons, const QString& stored) {
    for (const auto& [button, value] : buttons) {
        // Buttons of a group are exclusive only while one is checked.
        button->setAutoExclusive(false);
        button->setChecked(!stored.isNull() && stored.toInt() == value);
        button->setAutoExclusive(true);
    }
}

namespace {
QWidget* FocusTarget(QWidget* w) {
    while (w && w->focusProxy())
        w = w->focusProxy();
    return w;
}
} // namespace

QList<QWidget*> TabStops(QWidget* root) {
    QList<QWidget*> stops;
    for (QWidget* w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain())
        if (root->isAncestorOf(w) && !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus))
            stops << w;
    return stops;
}

void ChainTabOrder(const QList<QWidget*>& order) {
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(FocusTarget(order[i]), FocusTarget(order[i + 1]));
}

// --- CDClientsTabBase -------------------------------------------------------

CDClientsTabBase::CDClientsTabBase(QWidget* parent) : QWidget(parent) {}

CDClients* CDClientsTabBase::GetClientCard() {
    if (!m_card)
        for (QWidget* w = parentWidget(); w && !m_card; w = w->parentWidget())
            m_card = qobject_cast<CDClients*>(w);
    return m_card;
}

qint64 CDClientsTabBase::GetClientID() const {
    const CDXRecordSQL* record = GetDXRecord();
    return record ? record->GetKey() : -1;
}

CxSQL* CDClientsTabBase::Connection() const {
    const CDXRecordSQL* record = GetDXRecord();
    return record ? record->GetSQL() : g_pBaseSQLConnection.get();
}

CxSQLEditForm* CDClientsTabBase::EditForm() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* form = qobject_cast<CxSQLEditForm*>(w))
            return form;
    return nullptr;
}

bool CDClientsTabBase::FailAt(QWidget* control, const QString& text) {
    return Fail(control ? control : this, text);
}

bool CDClientsTabBase::FailChangedMeanwhile(QWidget* control, const QString& text) {
    if (CxSQLEditForm* form = EditForm())
        form->NoteChangedMeanwhile();
    return FailAt(control, text);
}

// --- CDClientTabDynDyn ------------------------------------------------------

CDClientTabDynDyn::CDClientTabDynDyn(QWidget* parent) : QWidget(parent) {}

void CDClientTabDynDyn::SetEditing(bool editing) {
    m_editing = editing;
    setEnabled(IsEditable());
}

void CDClientTabDynDyn::SetDate(const QDate& date) {
    m_date = date;
    setWindowTitle(DateToText(date));
    if (m_owner)
        m_owner->UpdatePageTitle(this);
}

void CDClientTabDynDyn::LoadFromRow(const QHash<QString, QString>& row) {
    m_stored = row;
    bool ok = false;
    m_rowId = row.value(QStringLiteral("rowid")).toLongLong(&ok);
    if (!ok)
        m_rowId = -1;
    SetDate(QDate::fromString(row.value(QStringLiteral("ddate")).left(10), Qt::ISODate));
    LoadValues(row);
    // Stored rows show read-only until the user opens them for editing.
    SetEditing(false);
}

bool CDClientTabDynDyn::DiffersFromStored(const QList<QPair<QString, QVariant>>& values) const {
    if (!IsStored())
        return true;
    if (m_date != QDate::fromString(Stored(QStringLiteral("dDate")).left(10), Qt::ISODate))
        return true;
    for (const auto& [column, value] : values) {
        const QString stored = Stored(column);
        if (value.isNull() || !value.isValid()) {
            if (!stored.isNull())
                return true;
            continue;
        }
        if (stored.isNull()) {
            // An empty text where the row holds NULL is no change.
            if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
                continue;
            return true;
        }
        bool isNumber = false;
        const qlonglong storedNumber = stored.toLongLong(&isNumber);
        if (value.typeId() != QMetaType::QString && isNumber) {
            if (storedNumber != value.toLongLong())
                return true;
        } else if (stored != value.toString()) {
            return true;
        }
    }
    return false;
}

// --- CClientHistoryHost -----------------------------------------------------

CClientHistoryHost::CClientHistoryHost(EClientHistory history, const QMetaObject* pageClass,
                                       QWidget* parent)
    : QWidget(parent), m_history(history), m_selector(new CxComboMultiPageCoClassSelector(this)),
      m_date(new CDateTimeEditCtrl(this)),
      m_add(new QPushButton(ClientTabText("Добавить", "CDClientTabDyn"), this)),
      m_remove(new QPushButton(ClientTabText("Удалить", "CDClientTabDyn"), this)),
      m_edit(new QPushButton(ClientTabText("Редактировать", "CDClientTabDyn"), this)),
      m_fill(new QPushButton(ClientTabText("Заполнить", "CDClientTabDyn::OnFillButton"), this)),
      m_place(new QWidget(this)) {
    m_selector->setObjectName(QStringLiteral("dateList"));
    m_selector->setMinimumContentsLength(12);
    m_date->setObjectName(QStringLiteral("pageDate"));
    m_add->setObjectName(QStringLiteral("addPage"));
    m_remove->setObjectName(QStringLiteral("removePage"));
    m_edit->setObjectName(QStringLiteral("editPage"));
    m_fill->setObjectName(QStringLiteral("fillPage"));
    m_add->setToolTip(ClientTabText("Новая запись на сегодняшнюю дату", "CDClientTabDyn"));
    m_remove->setToolTip(
        ClientTabText("Удалить показанную запись при сохранении карточки", "CDClientTabDyn"));
    m_edit->setToolTip(ClientTabText("Изменить показанную сохранённую запись", "CDClientTabDyn"));
    for (QPushButton* b : {m_add, m_remove, m_edit, m_fill})
        b->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(ClientTabText("Записи на даты:", "CDClientTabDyn"), this));
    bar->addWidget(m_selector);
    bar->addWidget(new QLabel(ClientTabText("Дата:", "CDClientTabDyn"), this));
    bar->addWidget(m_date);
    bar->addStretch(1);
    bar->addWidget(m_add);
    bar->addWidget(m_edit);
    bar->addWidget(m_remove);
    layout->addLayout(bar);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* fillRow = new QHBoxLayout;
    fillRow->addWidget(m_fill);
    fillRow->addStretch(1);
    layout->addLayout(fillRow);
    layout->addWidget(m_place, 1);
    InitMultiPageCoClass(m_selector, m_place, pageClass);

    connect(m_add, &QPushButton::clicked, this, [this] { AddPage(); });
    connect(m_fill, &QPushButton::clicked, this, [this] { AddPage(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { RemovePage(); });
    connect(m_edit, &QPushButton::clicked, this, &CClientHistoryHost::OnEdit);
    connect(m_date, &CDateTimeEditCtrl::dateChanged, this, &CClientHistoryHost::OnDateChanged);
    MultiPageCoClass_OnShow();
    MultiPageCoClass_OnUpdate();
}

CDClientTabDynDyn* CClientHistoryHost::Page(int index) const {
    return qobject_cast<CDClientTabDynDyn*>(GetPage(index));
}

CDClientTabDynDyn* CClientHistoryHost::CurrentPage() const {
    return Page(GetCurPage());
}

bool CClientHistoryHost::Load(CxSQL* sql, qint64 clientId, QString* error) {
    m_updating = true;
    while (GetPageCount() > 0) {
        SelectPage(0);
        CxMultiPageCoClass::RemovePage();
    }
    m_removed.clear();
    m_loadedRows.clear();
    m_updating = false;
    if (clientId > 0) {
        if (!sql) {
            if (error)
                *error = ClientTabText("Нет соединения с базой данных.", "msgNoDatabaseConnection");
            return false;
        }
        // The fingerprints come first: a change between them and the reading
        // makes the save refuse, never lets it write over an unseen row.
        if (!CClientHistoryStore::TakeLoaded(sql, m_history, clientId, &m_loadedRows, error))
            return false;
        CxResult r = sql->Execute(QStringLiteral("SELECT * FROM ") + ClientHistoryTable(m_history) +
                                  QStringLiteral(" WHERE nClientID=") + QString::number(clientId) +
                                  QStringLiteral(" ORDER BY dDate,ROWID"));
        if (!r.isValid()) {
            if (error)
                *error = r.Error().text;
            return false;
        }
        while (r.FetchRow()) {
            QHash<QString, QString> row;
            for (int i = 0; i < r.FieldsCount(); ++i) {
                QString value;
                if (!r.IsNull(i)) {
                    value = r.SFieldValue(i);
                    if (value.isNull())
                        value = QStringLiteral("");
                }
                row.insert(r.FieldName(i).toLower(), value);
            }
            m_updating = true;
            const int index = CxMultiPageCoClass::AddPage();
            m_updating = false;
            if (CDClientTabDynDyn* page = Page(index)) {
                page->SetOwner(this);
                page->LoadFromRow(row);
            }
        }
    }
    QList<QDate> dates;
    for (int i = 0; i < GetPageCount(); ++i)
        dates << (Page(i) ? Page(i)->Date() : QDate());
    const int newest = NewestHistoryPage(dates);
    if (newest >= 0)
        SelectPage(newest);
    else if (GetPageCount() > 0)
        SelectPage(GetPageCount() - 1);
    MultiPageCoClass_OnShow();
    MultiPageCoClass_OnUpdate();
    return true;
}

int CClientHistoryHost::AddPage() {
    m_updating = true;
    const int index = CxMultiPageCoClass::AddPage();
    if (CDClientTabDynDyn* page = Page(index)) {
        page->SetOwner(this);
        page->SetDate(QDate::currentDate());
        page->SetEditing(true);
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* form = qobject_cast<CxSQLEditForm*>(w)) {
                form->WatchChanges(page);
                form->SetModified();
                break;
            }
    }
    m_updating = false;
    if (index >= 0) {
        SelectPage(index);
        m_date->setFocus(Qt::OtherFocusReason);
    }
    return index;
}

bool CClientHistoryHost::RemovePage() {
    CDClientTabDynDyn* page = CurrentPage();
    if (!page)
        return false;
    const qint64 rowId = page->RowId();
    if (!CxMultiPageCoClass::RemovePage())
        return false;
    if (rowId != -1)
        m_removed << rowId;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* form = qobject_cast<CxSQLEditForm*>(w)) {
            form->SetModified();
            break;
        }
    return true;
}

void CClientHistoryHost::OnEdit() {
    if (CDClientTabDynDyn* page = CurrentPage()) {
        page->SetEditing(true);
        MultiPageCoClass_OnUpdate();
    }
}

void CClientHistoryHost::OnDateChanged(const QDate& date) {
    if (m_updating)
        return;
    if (CDClientTabDynDyn* page = CurrentPage(); page && page->IsEditable()) {
        page->SetDate(date);
        DateList()->Refresh();
    }
}

void CClientHistoryHost::MultiPageCoClass_OnUpdate() {
    if (m_updating)
        return;
    m_updating = true;
    // A page made since the last time joined the focus chain at its end.
    ChainTabOrder(TabOrder());
    CDClientTabDynDyn* page = CurrentPage();
    m_date->SetDate(page ? page->Date() : QDate());
    // The date of a stored row is changed only on a page opened for editing.
    m_date->setEnabled(page && page->IsEditable());
    m_edit->setEnabled(page && !page->IsEditable());
    m_remove->setEnabled(page != nullptr);
    m_updating = false;
    emit pageShown();
}

QList<QWidget*> CClientHistoryHost::TabOrder() const {
    QList<QWidget*> order{m_selector, m_date, m_add, m_edit, m_remove, m_fill};
    for (int i = 0; i < GetPageCount(); ++i)
        if (QWidget* page = GetPage(i))
            order << TabStops(page);
    return order;
}

void CClientHistoryHost::MultiPageCoClass_OnShow() {
    // "Заполнить" shows only while the client has no dated row.
    const bool none = GetPageCount() == 0;
    m_fill->setVisible(none);
    m_place->setVisible(!none);
    m_selector->setEnabled(!none);
}

bool CClientHistoryHost::Collect(QList<CHistoryPage>* pages, QWidget** control, QString* text) {
    pages->clear();
    // The date as typed belongs to the page shown, whether the field was
    // left or not.
    if (CDClientTabDynDyn* page = CurrentPage(); page && page->IsEditable()) {
        if (m_date->HasBadText()) {
            *control = m_date;
            *text = TypedDateError();
            return false;
        }
        if (m_date->GetDate() != page->Date())
            OnDateChanged(m_date->GetDate());
    }
    for (int i = 0; i < GetPageCount(); ++i) {
        CDClientTabDynDyn* page = Page(i);
        if (!page)
            continue;
        CHistoryPage p;
        p.rowId = page->RowId();
        p.date = page->Date();
        if (page->IsEditable()) {
            QWidget* failed = nullptr;
            const CRuleVerdict verdict = page->CollectValues(&p.values, &failed);
            if (!verdict.ok) {
                SelectPage(i);
                *control = failed ? failed : page;
                *text = verdict.text;
                return false;
            }
            p.modified = page->DiffersFromStored(p.values);
        }
        pages->append(p);
    }
    return true;
}

bool CClientHistoryHost::Save(CxSQL* sql, qint64 clientId, qint64 regionId, QWidget** control,
                              QString* text, bool* changedMeanwhile) {
    *changedMeanwhile = false;
    QList<CHistoryPage> pages;
    if (!Collect(&pages, control, text))
        return false;
    // New rows are the client's organisation's; stored rows keep theirs.
    for (CHistoryPage& p : pages)
        if (p.rowId == -1)
            p.values.append({QStringLiteral("nRegionDataID"), regionId});
    CRuleVerdict refusal;
    QString error;
    if (CClientHistoryStore::Save(sql, m_history, clientId, pages, m_removed, QDate::currentDate(),
                                  &refusal, &error, &m_loadedRows))
        return true;
    if (!refusal.ok) {
        *changedMeanwhile = refusal.key == QLatin1String(kHistoryChangedMeanwhileKey);
        if (refusal.row >= 0 && refusal.row < GetPageCount())
            SelectPage(refusal.row);
        *control = m_date;
        *text = refusal.text;
    } else {
        *control = this;
        *text = error;
    }
    return false;
}

// --- CDClientTabDyn ---------------------------------------------------------

CDClientTabDyn::CDClientTabDyn(QWidget* parent) : CDClientsTabBase(parent) {}

void CDClientTabDyn::InitHost() {
    auto* layout = new QVBoxLayout(this);
    m_host = new CClientHistoryHost(History(), GetSubPageClass(), this);
    layout->addWidget(m_host);
}

void CDClientTabDyn::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad()) {
        // The pages are read once; a save later only reads them back.
        if (!m_loaded) {
            QString error;
            if (!m_host->Load(Connection(), GetClientID(), &error)) {
                FailAt(this, error);
                return;
            }
            m_loaded = true;
        }
        return;
    }
    QList<CHistoryPage> pages;
    QWidget* control = nullptr;
    QString text;
    if (!m_host->Collect(&pages, &control, &text))
        FailAt(control, text);
}

bool CDClientTabDyn::OnApply() {
    QWidget* control = nullptr;
    QString text;
    const CDXRecordSQL* record = GetDXRecord();
    const qint64 region = record ? record->LFieldValue(QStringLiteral("nRegionDataID")) : 0;
    bool changedMeanwhile = false;
    if (!m_host->Save(Connection(), GetClientID(), region, &control, &text, &changedMeanwhile))
        return changedMeanwhile ? FailChangedMeanwhile(control, text) : FailAt(control, text);
    return true;
}

void CDClientTabDyn::OnAfterCommit() {
    // The stored rows are what the pages show from now on.
    QString error;
    m_host->Load(Connection(), GetClientID(), &error);
}

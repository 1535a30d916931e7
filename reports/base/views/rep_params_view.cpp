#include "rep_params_view.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "model/enums/directory_enums.h"
#include "model/tables/table_set.h"
#include "posh_list.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr CxTr TrKey;

CTypedDateEdit* DateEdit(QWidget* parent, const char* name) {
    auto* edit = new CTypedDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QToolButton* SmallButton(QWidget* parent, const char* name, const QString& text,
                         const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

QString IdList(const QSet<long>& ids) {
    QList<long> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (long id : sorted)
        parts << QString::number(id);
    return parts.join(u',');
}

const QString kWorker = QStringLiteral("Worker");
const QString kPosh = QStringLiteral("Posh");
} // namespace

CRepParamsView::CRepParamsView(QWidget* parent, const QString& context)
    : CRepView(parent), m_context(context) {}

QString CRepParamsView::ParamText(const char* text, const QString& where) const {
    return TrKey(text, where.isEmpty() ? m_context : m_context + QStringLiteral("::") + where);
}

QString CRepParamsView::PoshReadError(const QString& why) const {
    return ParamText("Не удалось прочитать пункты предоставления услуг: {error}",
                     QStringLiteral("OnCheck"))
        .replace(QLatin1String("{error}"), why);
}

void CRepParamsView::AddPeriod(const QString& caption) {
    m_from = DateEdit(this, "fromDate");
    m_to = DateEdit(this, "toDate");
    m_dash = new QLabel(QStringLiteral("—"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, this));
    row->addWidget(m_from, 1);
    row->addWidget(m_dash);
    row->addWidget(m_to, 1);
    ParamsLayout()->addLayout(row);
    RegisterControl(kRepCtlFrom, m_from);
    RegisterControl(kRepCtlTo, m_to);
    // A fresh window: the last full month.
    const QDate today = QDate::currentDate();
    const QDate thisMonth = today.addDays(1 - today.day());
    SetPeriod(thisMonth.addMonths(-1), thisMonth.addDays(-1));
}

QLabel* CRepParamsView::AddPoshTree() {
    m_posh = new CPoshList(this);
    auto* header = new QHBoxLayout;
    auto* label = new QLabel(ParamText("Пункты предоставления услуг:"), this);
    header->addWidget(label, 1);
    m_markAll = SmallButton(
        this, "markPosh", QStringLiteral("☑"),
        TrKey("Отметить все пункты предоставления услуг", QStringLiteral("msgMarkAllPOU")));
    auto* unmarkAll = SmallButton(this, "unmarkPosh", QStringLiteral("☐"),
                                  TrKey("Снять отметку со всех пунктов предоставления услуг",
                                        QStringLiteral("msgUnmarkAllPOI")));
    m_grouping = SmallButton(this, "poshGrouping", ParamText("гр"),
                             ParamText("Группировка ПОУ", QStringLiteral("OnGroupingMenu")));
    header->addWidget(m_markAll);
    header->addWidget(unmarkAll);
    header->addWidget(m_grouping);
    ParamsLayout()->addLayout(header);
    ParamsLayout()->addWidget(m_posh, 5);
    RegisterControl(kRepCtlPoshTree, m_posh);
    RegisterControl(kRepCtlMarkPosh, m_markAll);
    RegisterControl(kRepCtlUnmarkPosh, unmarkAll);
    RegisterControl(kRepCtlPoshGrouping, m_grouping);
    connect(m_markAll, &QToolButton::clicked, this, &CRepParamsView::OnCheck);
    connect(unmarkAll, &QToolButton::clicked, this, &CRepParamsView::OnUnmarkAll);
    connect(m_grouping, &QToolButton::clicked, this, &CRepParamsView::OnGroupingMenu);
    return label;
}

CxSqlComboList* CRepParamsView::MakeWorker() {
    m_worker = new CxSqlComboList(this);
    m_worker->setObjectName(QStringLiteral("worker"));
    RegisterControl(kRepCtlWorker, m_worker);
    return m_worker;
}

void CRepParamsView::SetPeriodKeys(const char* from, const char* to) {
    m_fromKey = QString::fromLatin1(from);
    m_toKey = QString::fromLatin1(to);
}

QDate CRepParamsView::GetFrom() const {
    return m_from->date();
}

QDate CRepParamsView::GetTo() const {
    return m_to->date();
}

void CRepParamsView::SetPeriod(QDate from, QDate to) {
    m_from->setDate(from);
    m_to->setDate(to);
}

bool CRepParamsView::EndUsed() const {
    return m_to->isEnabled() && !m_to->isHidden();
}

void CRepParamsView::LoadParams() {
    QString error;
    if (m_posh && !m_posh->Build(&error))
        CTarvikApp::AddErrorMessage(error);
    if (m_worker && g_pWorkersTable)
        m_worker->SetControlInfo(g_pWorkersTable);
}

bool CRepParamsView::OnPreBuild() {
    const bool withEnd = EndUsed();
    for (CTypedDateEdit* edit : {m_from, m_to}) {
        if ((edit == m_from || withEnd) && edit->isEnabled() && !edit->date().isValid()) {
            CxMessage(
                this, CxMessageIcon::Warning,
                ParamText("Дата периода «{text}» не является датой. Введите ее как дд.мм.гггг",
                          QStringLiteral("OnPreBuild"))
                    .replace(QLatin1String("{text}"), edit->text()));
            edit->setFocus();
            return false;
        }
    }
    if (withEnd && m_from->isEnabled() && m_from->date() > m_to->date()) {
        CxMessage(this, CxMessageIcon::Warning,
                  ParamText("Начало периода позже его окончания", QStringLiteral("OnPreBuild")));
        m_from->setFocus();
        return false;
    }
    if (m_worker && m_worker->isEnabled() && m_worker->GetSelectedID() == -2) {
        CxMessage(
            this, CxMessageIcon::Warning,
            ParamText("Такого социального работника нет в списке", QStringLiteral("OnPreBuild")));
        m_worker->setFocus();
        return false;
    }
    if (m_posh)
        m_posh->StoreSelection();
    if (CRepBase* base = GetRepBase()) {
        CRepBaseParams& params = base->Params();
        params.from = m_from->date();
        if (EndUsed())
            params.to = m_to->date();
        const qint64 worker = m_worker ? m_worker->GetSelectedID() : -1;
        params.workerId = m_worker && m_worker->isEnabled() && worker > 0 ? long(worker) : -1;
        params.workerText = params.workerId > 0 ? m_worker->currentText() : QString();
    }
    return true;
}

CRepBase* CRepParamsView::GetRepBase() const {
    return qobject_cast<CRepBase*>(GetRepDoc());
}

void CRepParamsView::WriteStateEntry(const QString& entry, const QString& value) const {
    CTarvikApp::WriteProfileString(StateSection(), entry, value);
}

QString CRepParamsView::ReadStateEntry(const QString& entry) const {
    return CTarvikApp::GetProfileString(StateSection(), entry);
}

void CRepParamsView::StoreState() {
    CRepView::StoreState();
    WriteStateEntry(m_fromKey, m_from->date().toString(Qt::ISODate));
    if (EndUsed())
        WriteStateEntry(m_toKey, m_to->date().toString(Qt::ISODate));
    // A worker the report does not use keeps the choice of the reports that do.
    if (m_worker && m_worker->isEnabled())
        WriteStateEntry(kWorker, QString::number(m_worker->GetSelectedID()));
    if (m_posh)
        WriteStateEntry(kPosh, IdList(m_posh->TickedPoints()));
}

void CRepParamsView::RestoreState() {
    CRepView::RestoreState();
    const auto read = [this](const QString& entry) { return ReadStateEntry(entry); };
    if (const QDate from = QDate::fromString(read(m_fromKey), Qt::ISODate); from.isValid())
        m_from->setDate(from);
    if (m_to->isEnabled())
        if (const QDate to = QDate::fromString(read(m_toKey), Qt::ISODate); to.isValid())
            m_to->setDate(to);
    bool ok = false;
    if (const qint64 worker = read(kWorker).toLongLong(&ok); m_worker && ok && worker > 0)
        m_worker->SetSelectedID(worker);
    if (!m_posh)
        return;
    // Points: as this window had them, else as the last build chose them,
    // else (nothing chosen yet) every point, so a fresh installation builds
    // its reports at once.
    QSet<long> ticked;
    const QString posh = read(kPosh);
    if (!posh.isNull()) {
        for (const QString& id : posh.split(u',', Qt::SkipEmptyParts))
            ticked.insert(id.toLong());
    } else {
        for (long id : CPoshSelection::SelectedIDs())
            ticked.insert(id);
        if (ticked.isEmpty()) {
            m_posh->CheckByType(true, -1);
            return;
        }
    }
    m_posh->SetTickedPoints(ticked);
}

void CRepParamsView::OnCloned(CRepView* source) {
    auto* from = qobject_cast<CRepParamsView*>(source);
    if (m_posh && from && from->m_posh)
        m_posh->SetTickedPoints(from->m_posh->TickedPoints());
}

bool CRepParamsView::MarkMenuItems(QList<QPair<QString, long>>& items, QString* error) const {
    items = {{TrKey("Все", QStringLiteral("msgALL")), -1}};
    QList<long> types;
    if (!PoshPointTypes(nullptr, types, error))
        return false;
    for (long type : std::as_const(types)) {
        int found = 0;
        QString text = g_pNodeType.Get()->IDToString(type, QString(), &found);
        if (!found)
            text = ParamText("Ошибка. Код типа {code}", QStringLiteral("OnCheck"))
                       .replace(QLatin1String("{code}"), QString::number(type));
        items.append({text, type});
    }
    return true;
}

void CRepParamsView::OnCheck() {
    QList<QPair<QString, long>> items;
    QString error;
    if (!MarkMenuItems(items, &error)) {
        CxMessage(this, CxMessageIcon::Error, PoshReadError(error));
        return;
    }
    QMenu menu(this);
    for (int i = 0; i < items.size(); ++i) {
        if (i == 1)
            menu.addSeparator();
        menu.addAction(items[i].first)->setData(qlonglong(items[i].second));
    }
    if (QAction* chosen = menu.exec(m_markAll->mapToGlobal(QPoint(0, m_markAll->height()))))
        MarkByType(long(chosen->data().toLongLong()));
}

void CRepParamsView::MarkByType(long type) {
    QString error;
    if (!m_posh->CheckByType(true, type, &error))
        CxMessage(this, CxMessageIcon::Error, PoshReadError(error));
}

void CRepParamsView::OnUnmarkAll() {
    m_posh->CheckByType(false, -1);
}

void CRepParamsView::OnGroupingMenu() {
    QMenu menu(this);
    const QList<CPoshGrouping> groupings = PoshGroupings();
    const int current = CurrentPoshGrouping();
    for (int i = 0; i < groupings.size(); ++i) {
        if (i == 3)
            menu.addSeparator();
        QAction* action = menu.addAction(groupings[i].text);
        action->setData(groupings[i].id);
        action->setCheckable(true);
        action->setChecked(groupings[i].id == current);
    }
    if (QAction* chosen = menu.exec(m_grouping->mapToGlobal(QPoint(0, m_grouping->height()))))
        SetGrouping(chosen->data().toInt());
}

void CRepParamsView::SetGrouping(int mode) {
    StorePoshGrouping(mode);
    QString error;
    if (!m_posh->Build(&error))
        CxMessage(this, CxMessageIcon::Error, error);
}

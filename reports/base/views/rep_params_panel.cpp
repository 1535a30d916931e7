#include "rep_params_panel.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/report/rep_view.h"
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
QString TrKey(const char* text, const QString& key) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), key, 1);
}

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

CRepParamsPanel::CRepParamsPanel(CRepView* view, const QString& context)
    : QObject(view), m_view(view), m_context(context) {}

QString CRepParamsPanel::Tr(const char* text, const QString& where) const {
    return TrKey(text, where.isEmpty() ? m_context : m_context + QStringLiteral("::") + where);
}

QString CRepParamsPanel::PoshReadError(const QString& why) const {
    return Tr("Не удалось прочитать пункты предоставления услуг: {error}",
              QStringLiteral("OnCheck"))
        .replace(QLatin1String("{error}"), why);
}

void CRepParamsPanel::AddPeriod(QVBoxLayout* layout, const QString& caption) {
    m_from = DateEdit(m_view, "fromDate");
    m_to = DateEdit(m_view, "toDate");
    m_dash = new QLabel(QStringLiteral("—"), m_view);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, m_view));
    row->addWidget(m_from, 1);
    row->addWidget(m_dash);
    row->addWidget(m_to, 1);
    layout->addLayout(row);
    m_view->RegisterControl(kRepCtlFrom, m_from);
    m_view->RegisterControl(kRepCtlTo, m_to);
    // A fresh window: the last full month.
    const QDate today = QDate::currentDate();
    const QDate thisMonth = today.addDays(1 - today.day());
    SetPeriod(thisMonth.addMonths(-1), thisMonth.addDays(-1));
}

QLabel* CRepParamsPanel::AddPoshTree(QVBoxLayout* layout) {
    m_posh = new CPoshList(m_view);
    auto* header = new QHBoxLayout;
    auto* label = new QLabel(Tr("Пункты предоставления услуг:"), m_view);
    header->addWidget(label, 1);
    m_markAll = SmallButton(
        m_view, "markPosh", QStringLiteral("☑"),
        TrKey("Отметить все пункты предоставления услуг", QStringLiteral("msgMarkAllPOU")));
    auto* unmarkAll = SmallButton(m_view, "unmarkPosh", QStringLiteral("☐"),
                                  TrKey("Снять отметку со всех пунктов предоставления услуг",
                                        QStringLiteral("msgUnmarkAllPOI")));
    m_grouping = SmallButton(m_view, "poshGrouping", Tr("гр"),
                             Tr("Группировка ПОУ", QStringLiteral("OnGroupingMenu")));
    header->addWidget(m_markAll);
    header->addWidget(unmarkAll);
    header->addWidget(m_grouping);
    layout->addLayout(header);
    layout->addWidget(m_posh, 5);
    m_view->RegisterControl(kRepCtlPoshTree, m_posh);
    m_view->RegisterControl(kRepCtlMarkPosh, m_markAll);
    m_view->RegisterControl(kRepCtlUnmarkPosh, unmarkAll);
    m_view->RegisterControl(kRepCtlPoshGrouping, m_grouping);
    connect(m_markAll, &QToolButton::clicked, this, &CRepParamsPanel::OnCheck);
    connect(unmarkAll, &QToolButton::clicked, this, &CRepParamsPanel::OnUnmarkAll);
    connect(m_grouping, &QToolButton::clicked, this, &CRepParamsPanel::OnGroupingMenu);
    return label;
}

CxSqlComboList* CRepParamsPanel::MakeWorker() {
    m_worker = new CxSqlComboList(m_view);
    m_worker->setObjectName(QStringLiteral("worker"));
    m_view->RegisterControl(kRepCtlWorker, m_worker);
    return m_worker;
}

void CRepParamsPanel::SetPeriodKeys(const char* from, const char* to) {
    m_fromKey = QString::fromLatin1(from);
    m_toKey = QString::fromLatin1(to);
}

QDate CRepParamsPanel::From() const {
    return m_from->date();
}

QDate CRepParamsPanel::To() const {
    return m_to->date();
}

void CRepParamsPanel::SetPeriod(QDate from, QDate to) {
    m_from->setDate(from);
    m_to->setDate(to);
}

bool CRepParamsPanel::EndUsed() const {
    return m_to->isEnabled() && !m_to->isHidden();
}

void CRepParamsPanel::Load() {
    QString error;
    if (m_posh && !m_posh->Build(&error))
        CTarvikApp::AddErrorMessage(error);
    if (m_worker && g_pWorkersTable)
        m_worker->SetControlInfo(g_pWorkersTable);
}

bool CRepParamsPanel::Check() {
    const bool withEnd = EndUsed();
    for (CTypedDateEdit* edit : {m_from, m_to}) {
        if ((edit == m_from || withEnd) && edit->isEnabled() && !edit->date().isValid()) {
            CxMessage(m_view, 0x30,
                      Tr("Дата периода «{text}» не является датой. Введите ее как дд.мм.гггг",
                         QStringLiteral("OnPreBuild"))
                          .replace(QLatin1String("{text}"), edit->text()));
            edit->setFocus();
            return false;
        }
    }
    if (withEnd && m_from->isEnabled() && m_from->date() > m_to->date()) {
        CxMessage(m_view, 0x30,
                  Tr("Начало периода позже его окончания", QStringLiteral("OnPreBuild")));
        m_from->setFocus();
        return false;
    }
    if (m_worker && m_worker->isEnabled() && m_worker->GetSelectedID() == -2) {
        CxMessage(m_view, 0x30,
                  Tr("Такого социального работника нет в списке", QStringLiteral("OnPreBuild")));
        m_worker->setFocus();
        return false;
    }
    return true;
}

void CRepParamsPanel::StoreSelection() {
    if (m_posh)
        m_posh->StoreSelection();
}

void CRepParamsPanel::ToParams(CRepBaseParams& params) const {
    params.from = m_from->date();
    if (EndUsed())
        params.to = m_to->date();
    const qint64 worker = m_worker ? m_worker->GetSelectedID() : -1;
    params.workerId = m_worker && m_worker->isEnabled() && worker > 0 ? long(worker) : -1;
    params.workerText = params.workerId > 0 ? m_worker->currentText() : QString();
}

void CRepParamsPanel::StoreState(const QString& section) const {
    CTarvikApp::WriteProfileString(section, m_fromKey, m_from->date().toString(Qt::ISODate));
    if (EndUsed())
        CTarvikApp::WriteProfileString(section, m_toKey, m_to->date().toString(Qt::ISODate));
    // A worker the report does not use keeps the choice of the reports that do.
    if (m_worker && m_worker->isEnabled())
        CTarvikApp::WriteProfileString(section, kWorker,
                                       QString::number(m_worker->GetSelectedID()));
    if (m_posh)
        CTarvikApp::WriteProfileString(section, kPosh, IdList(m_posh->TickedPoints()));
}

void CRepParamsPanel::RestoreState(const QString& section) {
    const auto read = [&](const QString& entry) {
        return CTarvikApp::GetProfileString(section, entry);
    };
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
    // Points: as this window had them, else as the last build chose them.
    QSet<long> ticked;
    const QString posh = read(kPosh);
    if (!posh.isNull()) {
        for (const QString& id : posh.split(u',', Qt::SkipEmptyParts))
            ticked.insert(id.toLong());
    } else {
        for (long id : CPoshSelection::SelectedIDs())
            ticked.insert(id);
    }
    m_posh->SetTickedPoints(ticked);
}

void CRepParamsPanel::CopyTicks(const CRepParamsPanel& source) {
    if (m_posh && source.m_posh)
        m_posh->SetTickedPoints(source.m_posh->TickedPoints());
}

bool CRepParamsPanel::MarkMenuItems(QList<QPair<QString, long>>& items, QString* error) const {
    items = {{TrKey("Все", QStringLiteral("msgALL")), -1}};
    QList<long> types;
    if (!PoshPointTypes(nullptr, types, error))
        return false;
    for (long type : std::as_const(types)) {
        int found = 0;
        QString text = g_pNodeType.Get()->IDToString(type, QString(), &found);
        if (!found)
            text = Tr("Ошибка. Код типа {code}", QStringLiteral("OnCheck"))
                       .replace(QLatin1String("{code}"), QString::number(type));
        items.append({text, type});
    }
    return true;
}

void CRepParamsPanel::OnCheck() {
    QList<QPair<QString, long>> items;
    QString error;
    if (!MarkMenuItems(items, &error)) {
        CxMessage(m_view, 0x10, PoshReadError(error));
        return;
    }
    QMenu menu(m_view);
    for (int i = 0; i < items.size(); ++i) {
        if (i == 1)
            menu.addSeparator();
        menu.addAction(items[i].first)->setData(qlonglong(items[i].second));
    }
    if (QAction* chosen = menu.exec(m_markAll->mapToGlobal(QPoint(0, m_markAll->height()))))
        MarkByType(long(chosen->data().toLongLong()));
}

void CRepParamsPanel::MarkByType(long type) {
    QString error;
    if (!m_posh->CheckByType(true, type, &error))
        CxMessage(m_view, 0x10, PoshReadError(error));
}

void CRepParamsPanel::OnUnmarkAll() {
    m_posh->CheckByType(false, -1);
}

void CRepParamsPanel::OnGroupingMenu() {
    QMenu menu(m_view);
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

void CRepParamsPanel::SetGrouping(int mode) {
    StorePoshGrouping(mode);
    QString error;
    if (!m_posh->Build(&error))
        CxMessage(m_view, 0x10, error);
}

#include "preset_edit.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/message_box.h"
#include "reports/base/core/preset_list.h"
#include "reports/base/core/rep_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

constexpr int kSeparatorID = -1;

QString SeparatorText() {
    return Tr("———— следующая таблица ————", "CRepPresetEditList::Separator");
}

QLabel* Note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    small.setItalic(true);
    label->setFont(small);
    return label;
}
} // namespace

// ---- list pages ----

CRepPresetEditList::CRepPresetEditList(const QList<CRepPresetChoice>& catalogue, QWidget* parent)
    : QWidget(parent), m_catalogue(catalogue), m_layout(new QVBoxLayout(this)),
      m_pick(new CxListSelOrder(this)) {
    m_layout->addWidget(m_pick, 1);
}

void CRepPresetEditList::SetSeparators(bool on) {
    if (!on || m_separator)
        return;
    m_separator = new QPushButton(Tr("Разделить таблицы", "CRepPresetEditList::Separator"), this);
    m_separator->setObjectName(QStringLiteral("addSeparator"));
    m_separator->setToolTip(Tr("Поля ниже разделителя образуют следующую итоговую таблицу",
                               "CRepPresetEditList::Separator"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_separator);
    row->addStretch(1);
    m_layout->insertLayout(m_layout->indexOf(m_pick) + 1, row);
    connect(m_separator, &QPushButton::clicked, this, &CRepPresetEditList::AddSeparator);
}

void CRepPresetEditList::Load(xIDItemList& target) {
    InitChoices(target);
}

void CRepPresetEditList::FillChoices(unsigned mask, xIDItemList& target) {
    CxListSelOrderEntries offered;
    QHash<long, int> byId;
    for (const CRepPresetChoice& choice : m_catalogue)
        if (choice.flags & mask) {
            byId.insert(choice.id, int(offered.size()));
            offered.append({false, choice.title, int(choice.id)});
        }
    // The preset's entries first, in its order, then the others in catalogue
    // order. An id the catalogue no longer has stays listed, so that saving
    // drops it only when the user unticks it.
    CxListSelOrderEntries entries;
    QSet<int> taken;
    for (long id : target.GetIDs()) {
        if (id == kSeparatorID && m_separator) {
            entries.append({true, SeparatorText(), kSeparatorID});
            continue;
        }
        if (taken.contains(int(id)))
            continue;
        taken.insert(int(id));
        if (const auto it = byId.constFind(id); it != byId.constEnd()) {
            CxListSelOrder_Struct entry = offered[*it];
            entry.selected = true;
            entries.append(entry);
        } else {
            entries.append(
                {true,
                 Tr("Поле {id} (его нет в списке полей)", "CRepPresetEditList::FillChoices")
                     .replace(QLatin1String("{id}"), QString::number(id)),
                 int(id)});
        }
    }
    for (const CxListSelOrder_Struct& entry : offered)
        if (!taken.contains(entry.id))
            entries.append(entry);
    m_pick->Model()->SetEntries(entries);
}

void CRepPresetEditList::AddSeparator() {
    CxListSelOrderEntries entries = m_pick->Model()->Entries();
    const int current = m_pick->View()->currentIndex().row();
    const int at = current < 0 ? int(entries.size()) : current + 1;
    entries.insert(at, {true, SeparatorText(), kSeparatorID});
    m_pick->Model()->SetEntries(entries);
    m_pick->View()->setCurrentIndex(m_pick->Model()->index(at));
}

void CRepPresetEditList::Save(xIDItemList& target) const {
    QList<long> ids;
    for (int id : m_pick->ChosenIds())
        ids << id;
    target.SetIDs(ids);
}

void CRepPresetEditList_SumGroupRows::InitChoices(xIDItemList& target) {
    SetSeparators(true);
    FillChoices(CRepField::kFlagSumRow, target);
}

void CRepPresetEditList_SumCols::InitChoices(xIDItemList& target) {
    FillChoices(CRepField::kFlagSumColumn, target);
}

void CRepPresetEditList_Details::InitChoices(xIDItemList& target) {
    FillChoices(CRepField::kFlagDetail, target);
}

CRepPresetEdit_Grouping::CRepPresetEdit_Grouping(const QList<CRepPresetChoice>& catalogue,
                                                 QWidget* parent)
    : CRepPresetEditList(catalogue, parent) {
    PageLayout()->insertWidget(
        0, new QLabel(Tr("Внутренняя группировка:", "CRepPresetEdit_Grouping"), this));
    PageLayout()->addWidget(
        Note(Tr("*Если поля не выбраны, производится группировка по коду клиента",
                "CRepPresetEdit_Grouping"),
             this));
}

void CRepPresetEdit_Grouping::InitChoices(xIDItemList& target) {
    FillChoices(CRepField::kFlagGrouping, target);
}

CRepPresetEdit_More::CRepPresetEdit_More(QWidget* parent)
    : QWidget(parent), m_period(new QComboBox(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Tr("Разбивать отчет на периоды:", "CRepPresetEdit_More"), this));
    m_period->setObjectName(QStringLiteral("periodMode"));
    m_period->addItem(Tr("Одним периодом, по-умолчанию", "msgOnePeriod"), 0);
    m_period->addItem(Tr("Разбить по месяцам", "msgPeriodPerMonth"), 1);
    m_period->addItem(Tr("Разбить по годам", "msgPeriodPerYear"), 2);
    layout->addWidget(m_period);
    layout->addWidget(
        Note(Tr("*Для каждого периода будет проведен отдельных расчет основных таблиц, это может "
                "занять некоторое время и потребовать дополнительное место на сервере базы данных.",
                "CRepPresetEdit_More"),
             this));
    layout->addStretch(1);
}

void CRepPresetEdit_More::Load(const KDRepPresetEx2& preset) {
    m_period->setCurrentIndex(m_period->findData(int(preset.PeriodMode)));
}

void CRepPresetEdit_More::Save(KDRepPresetEx2& preset) const {
    const int index = m_period->currentIndex();
    preset.PeriodMode = index < 0 ? 0 : m_period->itemData(index).toInt();
}

// ---- the dialog ----

CRepPresetEditBase::CRepPresetEditBase(QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_comment(new QLineEdit(this)),
      m_tabs(new QTabWidget(this)), m_ok(nullptr), m_top(new QVBoxLayout),
      m_bottom(new QVBoxLayout) {
    setWindowTitle(Tr("Настройки отчета", "CRepPresetEdit::Caption"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(780, 560);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name->setObjectName(QStringLiteral("name"));
    m_comment->setObjectName(QStringLiteral("comment"));
    form->addRow(Tr("Название набора:", "CRepPresetEdit::Caption"), m_name);
    form->addRow(Tr("Комментарий:", "CRepPresetEdit::Caption"), m_comment);
    layout->addLayout(form);
    layout->addLayout(m_top);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    layout->addWidget(m_tabs, 1);
    layout->addLayout(m_bottom);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Tr("Отмена", "CRepPresetEdit::Caption"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRepPresetEditBase::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRepPresetEditBase::reject);
}

void CRepPresetEditBase::accept() {
    if (Apply())
        QDialog::accept();
}

bool CRepPresetEditBase::Refuse(const QString& text, QWidget* focus) {
    m_lastMessage = text;
    CTarvikApp::AddErrorMessage(text);
    if (focus)
        focus->setFocus();
    CxMessage(this, CxMessageIcon::Warning, text, windowTitle());
    return false;
}

void CRepPresetEditBase::Warn(const QString& text) {
    m_lastMessage = text;
    CxMessage(this, CxMessageIcon::Warning, text, windowTitle());
}

CRepPresetEdit2::CRepPresetEdit2(KDRepPresetEx2& preset, const QList<CRepPresetChoice>& catalogue,
                                 bool readOnly, QWidget* parent)
    : CRepPresetEditBase(parent), m_preset(&preset), m_openingTitle(preset.Title),
      m_openedText(CRepPresetList2::PresetText(preset)), m_readOnly(readOnly),
      m_pivot(new QCheckBox(this)) {
    setObjectName(QStringLiteral("CRepPresetEdit2"));
    m_pivot->setObjectName(QStringLiteral("pivotMode"));
    m_pivot->setText(Tr("Отчет для сводных таблиц MS Excel", "CRepPresetEdit2"));
    TopLayout()->addWidget(m_pivot);
    m_rows = new CRepPresetEditList_SumGroupRows(catalogue, this);
    m_cols = new CRepPresetEditList_SumCols(catalogue, this);
    m_details = new CRepPresetEditList_Details(catalogue, this);
    m_more = new CRepPresetEdit_More(this);
    m_grouping = new CRepPresetEdit_Grouping(catalogue, this);
    Tabs()->addTab(m_rows, Tr("Итоговый отчет, группировка", "msgSumGroupByRows"));
    Tabs()->addTab(m_cols, Tr("Итоговый отчет, колонки", "msgSumGroupColumns"));
    Tabs()->addTab(m_details, Tr("Детальный отчет", "msgDetReport"));
    Tabs()->addTab(m_more, Tr("Прочее", "msgMoreReportData"));
    Tabs()->addTab(m_grouping, Tr("Группировка", "msgGroupReportData"));
    BottomLayout()->addWidget(
        Note(Tr("* Эти поля могут приводить к дублированию количества клиентов", "CRepPresetEdit2"),
             this));
    BottomLayout()->addWidget(Note(Tr("** Эти поля рассчитывают количество уникальных записей для "
                                      "заданной группировки (закладка «Группировка»)",
                                      "CRepPresetEdit2"),
                                   this));

    NameEdit()->setText(preset.Title);
    CommentEdit()->setText(preset.Comment);
    m_pivot->setChecked(preset.PivotMode != 0);
    m_rows->Load(preset.SumRows);
    m_cols->Load(preset.SumCols2);
    m_details->Load(preset.Detailed);
    m_more->Load(preset);
    m_grouping->Load(preset.SumGroup);

    if (readOnly) {
        // The confirmation of a delete: the preset can be looked at, not
        // changed.
        NameEdit()->setReadOnly(true);
        CommentEdit()->setReadOnly(true);
        m_pivot->setEnabled(false);
        for (int i = 0; i < Tabs()->count(); ++i)
            Tabs()->widget(i)->setEnabled(false);
    }
}

CRepPresetEditList* CRepPresetEdit2::ListPage(int tab) const {
    return qobject_cast<CRepPresetEditList*>(Tabs()->widget(tab));
}

bool CRepPresetEdit2::Apply() {
    if (m_readOnly)
        return true;
    const QString name = NameEdit()->text().trimmed();
    if (name.isEmpty())
        return Refuse(Tr("Имя отчета обязательное поле", "CRepPresetEdit2::Apply"), NameEdit());
    KDRepPresetEx2 edited;
    edited.Copy(*m_preset);
    m_rows->Save(edited.SumRows);
    m_cols->Save(edited.SumCols2);
    m_details->Save(edited.Detailed);
    m_more->Save(edited);
    m_grouping->Save(edited.SumGroup);
    edited.Title = name;
    edited.PivotMode = m_pivot->isChecked() ? 1 : 0;
    edited.Comment = CommentEdit()->text();
    QString error;
    const quint64 mark = CTarvikApp::ErrorMessageMark();
    if (!CRepPresetList2::SaveUserPreset(edited, m_openingTitle, m_openedText, &error))
        return Refuse(error, NameEdit());
    // A save that had to start a damaged list afresh says so and where the old text is kept.
    if (const QStringList warnings = CTarvikApp::ErrorMessagesSince(mark); !warnings.isEmpty())
        Warn(warnings.join(u'\n'));
    m_preset->Copy(edited);
    // A later save of this editor starts from what this one stored.
    m_openingTitle = edited.Title;
    m_openedText = CRepPresetList2::PresetText(edited);
    return true;
}

// ---- version 1 ----

CRepPresetEditV1Page::CRepPresetEditV1Page(const QList<CRepPresetChoice>& catalogue,
                                           unsigned kindBit, const QString& checkText,
                                           QWidget* parent)
    : CRepPresetEditList(catalogue, parent), m_kindBit(kindBit),
      m_generate(new QCheckBox(checkText, this)) {
    m_generate->setObjectName(QStringLiteral("generate"));
    PageLayout()->insertWidget(0, m_generate);
    connect(m_generate, &QCheckBox::toggled, PickList(), &QWidget::setEnabled);
}

void CRepPresetEditV1Page::InitChoices(xIDItemList& target) {
    if (m_kindBit == 2)
        SetSeparators(true);
    FillChoices(m_kindBit, target);
    const bool any = !PickList()->ChosenIds().isEmpty();
    m_generate->setChecked(any);
    PickList()->setEnabled(any);
}

CRepPresetEditTot::CRepPresetEditTot(const QList<CRepPresetChoice>& catalogue, QWidget* parent)
    : CRepPresetEditV1Page(catalogue, 2,
                           Tr("Генерировать итоговый отчет", "CRepPresetEdit::DoDataExchange"),
                           parent) {}

CRepPresetEditDet::CRepPresetEditDet(const QList<CRepPresetChoice>& catalogue, QWidget* parent)
    : CRepPresetEditV1Page(catalogue, 1,
                           Tr("Генерировать детальный отчет", "CRepPresetEdit::DoDataExchange"),
                           parent) {}

CRepPresetEdit::CRepPresetEdit(const QList<CRepPresetChoice>& catalogue, KDRepPresetEx& preset,
                               QWidget* parent)
    : CRepPresetEditBase(parent), m_preset(&preset),
      m_summary(new CRepPresetEditTot(catalogue, this)),
      m_detail(new CRepPresetEditDet(catalogue, this)) {
    setObjectName(QStringLiteral("CRepPresetEdit"));
    Tabs()->addTab(m_summary, Tr("Итоговый отчет", "CRepPresetEdit::DoDataExchange"));
    Tabs()->addTab(m_detail, Tr("Детальный отчет", "CRepPresetEdit::DoDataExchange"));
    NameEdit()->setText(preset.Title);
    CommentEdit()->setText(preset.Comment);
    m_summary->Load(preset.Summary);
    m_detail->Load(preset.Detailed);
}

bool CRepPresetEdit::Apply() {
    const QString name = NameEdit()->text().trimmed();
    if (name.isEmpty())
        return Refuse(Tr("Имя отчета обязательное поле", "CRepPresetEdit::Apply"), NameEdit());
    m_summary->Save(m_preset->Summary);
    if (m_detail->Generate()->isChecked())
        m_detail->Save(m_preset->Detailed);
    else
        m_preset->Detailed.RemoveAll();
    m_preset->Title = name;
    m_preset->Comment = CommentEdit()->text();
    // These presets live only in the configuration: there is nowhere to save.
    return Refuse(Tr("Варианты этих отчетов задаются только в конфигурации программы; "
                     "сохранить изменения нельзя.",
                     "CRepPresetEdit::Apply"),
                  nullptr);
}

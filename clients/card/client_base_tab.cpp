#include "client_base_tab.h"

#include "client_card.h"

#include "clients/core/birth_year_rules.h"
#include "clients/core/client_code_rules.h"
#include "clients/core/vulnerable_group_rules.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/html_static.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "model/enums/client_enums.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CDClientsBase::DoDataExchange");

// The tool tip that the configuration's list TOOLTIPS gives an identifier.
QString ToolTip(const char* identifier) {
    auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig());
    if (!config)
        return QString();
    const sToolTips* item =
        config->GetCurrentLanguage()->ToolTips.FindIdentifier(QString::fromLatin1(identifier));
    return item ? item->GetText() : QString();
}

// The main group may stay unchosen: the list's first entry is empty.
constexpr long kNoMainGroup = -1;

QString Today() {
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}
} // namespace

// --- CDClientsBase ----------------------------------------------------------

CDClientsBase::CDClientsBase(QWidget* parent)
    : CDClientsTabBase(parent), m_code(new QLineEdit(this)), m_warning(new CHTMLStatic(this)),
      m_oldCodeLabel(new QLabel(this)), m_birthYear(new QLineEdit(this)), m_age(new QLabel(this)),
      m_startDate(new CDateTimeEditCtrl(this)), m_male(new QRadioButton(Tr("Мужской"), this)),
      m_female(new QRadioButton(Tr("Женский"), this)),
      m_trans(new QRadioButton(Tr("Трансгендер"), this)),
      m_secondary(new QCheckBox(Tr("Привлечен через пункт вторичного обмена"), this)),
      m_pdi(new QCheckBox(Tr("Клиент PDI"), this)),
      m_groupsBox(new QGroupBox(Tr("Динамические параметры"), this)),
      m_comment(new QPlainTextEdit(this)), m_warningBlink(new QTimer(this)),
      m_ageBlink(new QTimer(this)), m_codeCheckRetry(new QTimer(this)) {
    setObjectName(QStringLiteral("Client.Base"));
    m_code->setObjectName(QStringLiteral("cClientCode"));
    m_code->setMaxLength(255);
    m_warning->setObjectName(QStringLiteral("duplicateWarning"));
    m_warning->SetTransparent(true);
    m_warning->DisableScroll(3);
    m_warning->setFixedHeight(m_warning->fontMetrics().height() * 3);
    m_warning->hide();
    m_oldCodeLabel->setObjectName(QStringLiteral("oldCode"));
    m_birthYear->setObjectName(QStringLiteral("nBirthYear"));
    m_birthYear->setMaxLength(4);
    m_birthYear->setMaximumWidth(m_birthYear->fontMetrics().horizontalAdvance(u'0') * 8 + 16);
    m_age->setObjectName(QStringLiteral("ageText"));
    m_startDate->setObjectName(QStringLiteral("dStartInPrjDate"));
    m_male->setObjectName(QStringLiteral("nSex_1"));
    m_female->setObjectName(QStringLiteral("nSex_2"));
    m_trans->setObjectName(QStringLiteral("nSex_3"));
    m_secondary->setObjectName(QStringLiteral("bSecondary"));
    m_secondary->setToolTip(ToolTip("SecondaryClient_Kelda"));
    m_pdi->setObjectName(QStringLiteral("bPDI"));
    m_comment->setObjectName(QStringLiteral("cComment"));
    m_comment->setTabChangesFocus(true);
    m_comment->setMinimumHeight(m_comment->fontMetrics().lineSpacing() * 3 + 12);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code, 1);
    codeRow->addWidget(new QLabel(Tr("Старый код:"), this));
    codeRow->addWidget(m_oldCodeLabel, 1);
    form->addRow(Tr("Код клиента: "), codeRow);
    form->addRow(QString(), m_warning);
    auto* birthRow = new QHBoxLayout;
    birthRow->addWidget(m_birthYear);
    birthRow->addWidget(m_age, 1);
    form->addRow(Tr("Год рождения:"), birthRow);
    form->addRow(Tr("Дата начала участия в программе:"), m_startDate);
    auto* sexRow = new QHBoxLayout;
    sexRow->addWidget(m_male);
    sexRow->addWidget(m_female);
    sexRow->addWidget(m_trans);
    sexRow->addStretch(1);
    form->addRow(Tr("Пол клиента:"), sexRow);
    auto* extra = new QVBoxLayout;
    extra->addWidget(m_secondary);
    extra->addWidget(m_pdi);
    form->addRow(Tr("Дополнительно:"), extra);

    m_groups = new CClientHistoryHost(EClientHistory::ClientDataChanges,
                                      CDClientBaseChangesSub::GetThisClass(), m_groupsBox);
    m_groups->setObjectName(QStringLiteral("groups"));
    auto* boxLayout = new QVBoxLayout(m_groupsBox);
    boxLayout->addWidget(m_groups);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_groupsBox, 1);
    layout->addWidget(new QLabel(Tr("Комментарий:"), this));
    layout->addWidget(m_comment);

    m_warningBlink->setInterval(400);
    m_ageBlink->setInterval(400);
    connect(m_warningBlink, &QTimer::timeout, this,
            [this] { m_warning->setVisible(!m_warning->isVisible()); });
    connect(m_ageBlink, &QTimer::timeout, this, [this] { m_age->setVisible(!m_age->isVisible()); });
    m_codeCheckRetry->setObjectName(QStringLiteral("codeCheckRetry"));
    m_codeCheckRetry->setSingleShot(true);
    m_codeCheckRetry->setInterval(100);
    connect(m_codeCheckRetry, &QTimer::timeout, this, &CDClientsBase::CheckDuplicateCode);
    connect(m_birthYear, &QLineEdit::textChanged, this, [this] {
        if (!m_busy)
            UpdateAgeText();
        SuggestCode();
    });
    connect(m_code, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_codeWasEmpty = text.trimmed().isEmpty(); });
    for (QRadioButton* b : {m_male, m_female, m_trans})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                SuggestCode();
        });
    connect(m_groups, &CClientHistoryHost::pageShown, this, [this] {
        UpdateGroupsTitle();
        ArrangeTabOrder();
    });
    m_code->installEventFilter(this);
    ArrangeTabOrder();
}

void CDClientsBase::ArrangeTabOrder() {
    QList<QWidget*> order{m_code,   m_birthYear, m_startDate, m_male,
                          m_female, m_trans,     m_secondary, m_pdi};
    order << m_groups->TabOrder() << m_comment;
    ChainTabOrder(order);
}

int CDClientsBase::CurrentSex() const {
    if (m_male->isChecked())
        return kSexMale;
    if (m_female->isChecked())
        return kSexFemale;
    if (m_trans->isChecked())
        return kSexTrans;
    return kSexNone;
}

bool CDClientsBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_code && event->type() == QEvent::FocusOut)
        CheckDuplicateCode();
    return CDClientsTabBase::eventFilter(watched, event);
}

void CDClientsBase::CheckDuplicateCode() {
    // A report build lets window messages through while it holds the
    // connection's table locks: a lookup now would fail or read under them.
    if (CRepDoc::IsBuilding()) {
        m_codeCheckRetry->start();
        return;
    }
    const QString code = m_code->text().trimmed();
    if (code == m_shownCode)
        return;
    qint64 other = 0;
    QString error;
    if (!FindOtherClientWithCode(Connection(), code, GetClientID(), &other, &error))
        return;
    if (other != 0) {
        m_warning->SetHTML(DuplicateCodeWarningHtml());
        m_warning->show();
        m_warningBlink->start();
    } else {
        m_warningBlink->stop();
        m_warning->hide();
    }
}

void CDClientsBase::UpdateAgeText() {
    // Before a birth year is typed there is no age to tell (nor an error to
    // blink at a card just opened); the save still asks for the year.
    if (m_birthYear->text().trimmed().isEmpty()) {
        m_ageBlink->stop();
        m_age->clear();
        m_age->setStyleSheet(QString());
        m_age->show();
        return;
    }
    const CClientAge age =
        CheckClientAge(m_birthYear->text(), QDate::currentDate(),
                       g_pOption_ClientData->m_MinAge.Get(), g_pOption_ClientData->m_MaxAge.Get());
    m_age->setText(ClientAgeText(age));
    m_age->setStyleSheet(age.verdict.ok ? QString() : QStringLiteral("color: #c00000"));
    if (age.verdict.ok) {
        m_ageBlink->stop();
        m_age->show();
    } else if (!m_ageBlink->isActive()) {
        m_ageBlink->start();
    }
}

void CDClientsBase::SuggestCode() {
    // The card has no name fields, so a suggestion is made only when the
    // rules can make one; it is written only into an empty code field.
    if (m_busy || !m_codeWasEmpty)
        return;
    const CBirthYear birth = ParseBirthYear(m_birthYear->text());
    const QString code = SuggestClientCode(QString(), QString(), QString(), birth.birthDate,
                                           CurrentSex(), m_birthYear->text());
    if (!code.isEmpty()) {
        m_code->setText(code);
        m_codeWasEmpty = true;
    }
}

void CDClientsBase::UpdateGroupsTitle() {
    const CDClientTabDynDyn* page = m_groups->CurrentPage();
    QString title = ClientTabText("Динамические параметры", "CDClientsBase::OnUpdateControls");
    if (page && !page->IsEditable())
        title += QStringLiteral(": ") +
                 ClientTabText("только просмотр. Нажмите 'Редактировать' для изменения",
                               "CDClientsBase::OnUpdateControls");
    m_groupsBox->setTitle(title);
}

void CDClientsBase::DoDataExchange(CDXX& dx) {
    CxTable_ClientData* t = g_pClientDataTable;
    const bool isNew = GetDXEditMode() == EA_NEW;
    if (dx.IsLoad()) {
        m_busy = true;
        dx.DX(m_code, t->m_cClientCode);
        dx.DX(m_birthYear, t->m_nBirthYear);
        CDXXRadioGroup sex = dx.DXRadioGroup(t->m_nSex);
        sex.DXButton(m_male, kSexMale).DXButton(m_female, kSexFemale).DXButton(m_trans, kSexTrans);
        sex.End();
        dx.DX(m_startDate, t->m_dStartInPrjDate);
        dx.DXCheck(m_secondary, t->m_bSecondary);
        dx.DXCheck(m_pdi, t->m_bPDI);
        dx.DX(m_comment, t->m_cComment).SetACC(QStringLiteral("mycompletes"));
        m_oldCode = isNew ? QString() : dx.FieldText(QStringLiteral("cOClientCode"));
        m_oldCodeLabel->setText(m_oldCode);
        m_shownCode = m_code->text().trimmed();
        m_codeWasEmpty = m_shownCode.isEmpty();
        m_warningBlink->stop();
        m_warning->hide();
        UpdateAgeText();
        m_busy = false;
        if (!m_loaded) {
            QString error;
            if (!m_groups->Load(Connection(), GetClientID(), &error)) {
                FailAt(this, error);
                return;
            }
            m_loaded = true;
            // A new client starts with a page of groups dated today.
            if (isNew && m_groups->GetPageCount() == 0) {
                m_groups->AddPage();
                if (CxSQLEditForm* form = EditForm())
                    form->SetModified(false);
                // The page takes the focus to its date; a new card starts
                // at the code, the first thing the user types.
                m_code->setFocus(Qt::OtherFocusReason);
            }
        }
        UpdateGroupsTitle();
        return;
    }

    // Saving. The code first: trimmed, checked against the card, and free.
    const QString code = m_code->text().trimmed();
    if (code != m_code->text())
        m_code->setText(code);
    CDClients* card = GetClientCard();
    const CClientCodeSave decision = DecideClientCodeSave(code, m_birthYear->text(), CurrentSex(),
                                                          m_oldCode, card && card->IsForceApply());
    switch (decision.action) {
    case ECodeSaveAction::Save:
        break;
    case ECodeSaveAction::Ask:
        if (Yes_NO_(decision.question) != IDYES) {
            dx.Fail(m_code, decision.check.text);
            return;
        }
        break;
    case ECodeSaveAction::Refuse:
        // The explanation of the coding, with the link that saves anyway.
        CTarvikApp::AddErrorHtml(decision.errorListHtml);
        dx.Fail(m_code, decision.check.text);
        return;
    }
    CRuleVerdict free;
    QString error;
    if (!CheckClientCodeFree(Connection(), code, GetClientID(), &free, &error)) {
        dx.Fail(m_code, error);
        return;
    }
    if (!free.ok) {
        dx.Fail(m_code, free.text);
        return;
    }
    dx.DX(m_code, t->m_cClientCode, DXF_REQUIRED);
    dx.SetField(QStringLiteral("bNewCode"), long(decision.bNewCode));
    if (decision.oClientCode != dx.FieldText(QStringLiteral("cOClientCode")))
        dx.SetField(QStringLiteral("cOClientCode"), decision.oClientCode);

    // The birth year as the rules read it (87 is 1987), and the birth date
    // as 1 January of it.
    const CBirthYear birth = ParseBirthYear(m_birthYear->text());
    if (birth.valid && birth.year != 0 &&
        m_birthYear->text().trimmed() != QString::number(birth.year)) {
        m_busy = true;
        m_birthYear->setText(QString::number(birth.year));
        m_busy = false;
    }
    const CClientAge age =
        CheckClientAge(m_birthYear->text(), QDate::currentDate(),
                       g_pOption_ClientData->m_MinAge.Get(), g_pOption_ClientData->m_MaxAge.Get());
    if (!age.verdict.ok) {
        dx.Fail(m_birthYear, age.verdict.text);
        return;
    }
    dx.DX(m_birthYear, t->m_nBirthYear);
    if (birth.birthDate.isValid())
        dx.SetField(QStringLiteral("dBirthDate"), birth.birthDate.toString(Qt::ISODate));
    CDXXRadioGroup sex = dx.DXRadioGroup(t->m_nSex);
    sex.DXButton(m_male, kSexMale).DXButton(m_female, kSexFemale).DXButton(m_trans, kSexTrans);
    sex.End();
    dx.DX(m_startDate, t->m_dStartInPrjDate);
    dx.DXCheck(m_secondary, t->m_bSecondary);
    dx.DXCheck(m_pdi, t->m_bPDI);
    dx.DX(m_comment, t->m_cComment).SetACC(QStringLiteral("mycompletes"));
    dx.SetField(isNew ? QStringLiteral("dEnterDate") : QStringLiteral("dUpdateDate"), Today());
    if (dx.Failed())
        return;

    // The vulnerable groups' pages.
    QList<CHistoryPage> pages;
    QWidget* control = nullptr;
    QString text;
    if (!m_groups->Collect(&pages, &control, &text))
        dx.Fail(control, text);
}

bool CDClientsBase::OnApply() {
    QWidget* control = nullptr;
    QString text;
    const CDXRecordSQL* record = GetDXRecord();
    const qint64 region = record ? record->LFieldValue(QStringLiteral("nRegionDataID")) : 0;
    bool changedMeanwhile = false;
    if (!m_groups->Save(Connection(), GetClientID(), region, &control, &text, &changedMeanwhile))
        return changedMeanwhile ? FailChangedMeanwhile(control, text) : FailAt(control, text);
    return true;
}

void CDClientsBase::OnAfterCommit() {
    const CDXRecordSQL* record = GetDXRecord();
    m_oldCode = record ? record->SFieldValue(QStringLiteral("cOClientCode")) : QString();
    m_oldCodeLabel->setText(m_oldCode);
    m_shownCode = m_code->text().trimmed();
    QString error;
    m_groups->Load(Connection(), GetClientID(), &error);
    UpdateGroupsTitle();
}

// --- CDClientBaseChangesSub -------------------------------------------------

CDClientBaseChangesSub::CDClientBaseChangesSub(QWidget* parent)
    : CDClientTabDynDyn(parent), m_main(new CxComboList(this)) {
    m_main->setObjectName(QStringLiteral("nClientType"));
    m_main->DisableSort();
    m_main->AddItem(kNoMainGroup, QString());
    for (const int code : MainGroupChoices())
        if (const sEnum2* item = g_pClientGroup.Get()->Lookup_sEnum2(code))
            m_main->AddItem(code, item->GetText());
    struct Box {
        int bit;
        const char* key;
        const char* text;
    };
    const Box boxes[] = {
        {0x1, "secIDU", "ПИН"},
        {0x2, "secWCS", "РКС"},
        {0x4, "secMSM", "МСМ"},
        {0x8, "secPRIS", "Заключенный"},
        {0x8000, "secPCIDU", "Партнёры ПИН"},
        {0x80000, "secPCWCS", "Партнеры РКС"},
        {0x100000, "secWMSM", "Женщины- партнёры МСМ"},
        {0x400, "secSTIM", "Потреб. неин."},
        {0x1000, "secDETULIC", "Дети улиц"},
        {0x2000, "secRASPROST", "Волонтер вторичного обмена"},
        {0x200000, "secOTHCONT", "Другие группы-контакты"},
    };
    auto* grid = new QGridLayout;
    int n = 0;
    for (const Box& b : boxes) {
        auto* box =
            new QCheckBox(ClientTabText(b.text, "CDClientBaseChangesSub::DoDataExchange"), this);
        box->setToolTip(ToolTip(b.key));
        box->setObjectName(QStringLiteral("nClientType2_%1").arg(b.bit));
        grid->addWidget(box, n / 3, n % 3);
        m_boxes.append({box, b.bit});
        ++n;
    }
    auto* layout = new QFormLayout(this);
    layout->addRow(ClientTabText("Основная группа риска:", "CDClientBaseChangesSub"), m_main);
    layout->addRow(ClientTabText("Дополнительная группа риска:", "CDClientBaseChangesSub"), grid);
}

QCheckBox* CDClientBaseChangesSub::GroupBox(int bit) const {
    for (const auto& [box, b] : m_boxes)
        if (b == bit)
            return box;
    return nullptr;
}

void CDClientBaseChangesSub::LoadValues(const QHash<QString, QString>& row) {
    const QString main = row.value(QStringLiteral("nclienttype"));
    m_main->SetCurSelCode(main.isNull() ? kNoMainGroup : main.toLong());
    const int additional = row.value(QStringLiteral("nclienttype2")).toInt();
    for (const auto& [box, bit] : m_boxes)
        box->setChecked(additional & bit);
}

CRuleVerdict CDClientBaseChangesSub::CollectValues(QList<QPair<QString, QVariant>>* values,
                                                   QWidget** control) {
    const long main = m_main->GetCurSelCode();
    int chosen = 0;
    for (const auto& [box, bit] : m_boxes)
        if (box->isChecked())
            chosen |= bit;
    const int additional = MergeAdditionalGroups(
        IsStored() ? Stored(QStringLiteral("nClientType2")).toInt() : 0, chosen);
    int sex = kSexNone;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* base = qobject_cast<CDClientsBase*>(w)) {
            sex = base->CurrentSex();
            break;
        }
    const CRuleVerdict verdict = CheckVulnerableGroups(main < 0 ? 0 : int(main), additional, sex);
    if (!verdict.ok) {
        *control =
            verdict.field == EClientField::GroupMsm ? GroupBox(kGroupMSM) : GroupBox(kGroupIDU);
        return verdict;
    }
    values->append({QStringLiteral("nClientType"),
                    main == kNoMainGroup ? QVariant() : QVariant(qlonglong(main))});
    values->append({QStringLiteral("nClientType2"), additional});
    return verdict;
}

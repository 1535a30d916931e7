#include "health_tab.h"

#include "framework/core/enums/enum2.h"
#include "framework/widgets/forms/dxx.h"
#include "model/enums/behaviour_enums.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const char* kContext = "CDClientsHealth::DoDataExchange";
constexpr int kColumnDisease = 0;
constexpr int kColumnEver = 1;
constexpr int kColumn6Months = 2;
constexpr int kColumnKnowsNegative = 3;
constexpr int kColumnKnowsPositive = 4;

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
bool Ticked(const QString& text) {
    return text.trimmed().toInt() != 0;
}
} // namespace

CDClientsHealth::CDClientsHealth(QWidget* parent)
    : CDClientsTabBase(parent),
      m_fill(new QCheckBox(ClientTabText("Заполнить раздел", kContext), this)),
      m_section(new QFrame(this)), m_grid(new CxThisGrid(m_section)) {
    m_fill->setObjectName(QStringLiteral("fillSection"));
    m_grid->setObjectName(QStringLiteral("healthGrid"));
    auto* inner = new QVBoxLayout(m_section);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(
        new QLabel(ClientTabText("Проходил(а) ли тестирование на:", kContext), m_section));
    inner->addWidget(m_grid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fill);
    layout->addWidget(m_section, 1);

    m_grid->Begin();
    const struct {
        const char* caption;
        int width;
    } columns[] = {
        {"Заболевание", 200}, {"Когда-либо в жизни", 150}, {"За последние 6 месяцев", 180},
        {"Знает, -", 100},    {"Знает, +", 100},           {"На лечении ВИЧ/СПИД с, год", 210}};
    for (const auto& c : columns)
        m_grid->RegisterColumn(ClientTabText(c.caption, kContext), c.width);
    m_grid->GetColumnDef(kColumnDisease)->SetReadOnly();
    for (int c = kColumnEver; c <= kColumnKnowsPositive; ++c)
        m_grid->GetColumnDef(c)->SetRuntimeClass(&CxInplacedCheck::staticMetaObject);
    m_grid->GetColumnDef(kHealthColumnTreatmentYear)->SetIntegerField().SetAlign(2);
    m_grid->End();
    // The box enables and disables the whole section.
    connect(m_fill, &QCheckBox::toggled, m_section, &QWidget::setEnabled);
    m_section->setEnabled(false);
}

void CDClientsHealth::Load() {
    CClientHealth health;
    QString error;
    // The fingerprint comes first: a change between it and the reading makes
    // the save refuse, never lets it write over unseen rows.
    if (!CClientHealthStore::TakeGuard(Connection(), GetClientID(), &m_guard, &error) ||
        (GetClientID() > 0 &&
         !CClientHealthStore::Load(Connection(), GetClientID(), &health, &error))) {
        FailAt(this, error);
        return;
    }
    m_stored = health;
    m_fill->setChecked(health.filled);
    m_section->setEnabled(health.filled);
    const QList<CHealthGridRow> rows = CClientHealthStore::GridRows(health);
    m_grid->SetItemCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const CHealthGridRow& row = rows[r];
        QString text;
        g_pDiseases.Get()->GetValueText(quint32(row.disease), text);
        m_grid->SetItemText(r, kColumnDisease, text);
        m_grid->SetItemText(r, kColumnEver, Flag(row.testedEver));
        m_grid->SetItemText(r, kColumn6Months, Flag(row.tested6Months));
        m_grid->SetItemText(r, kColumnKnowsNegative, Flag(row.knowsNegative));
        m_grid->SetItemText(r, kColumnKnowsPositive, Flag(row.knowsPositive));
        m_grid->SetItemText(r, kHealthColumnTreatmentYear,
                            row.treatmentYear.isEmpty() ? QStringLiteral("0") : row.treatmentYear);
        m_grid->SetCellReadOnly(r, kHealthColumnTreatmentYear, row.disease != kDiseaseHivAids);
    }
}

QList<CHealthGridRow> CDClientsHealth::GridRows() const {
    QList<CHealthGridRow> rows;
    const QList<int>& diseases = HealthDiseases();
    for (int r = 0; r < m_grid->GetItemCount() && r < diseases.size(); ++r) {
        CHealthGridRow row;
        row.disease = diseases[r];
        row.testedEver = Ticked(m_grid->GetItemText(r, kColumnEver));
        row.tested6Months = Ticked(m_grid->GetItemText(r, kColumn6Months));
        row.knowsNegative = Ticked(m_grid->GetItemText(r, kColumnKnowsNegative));
        row.knowsPositive = Ticked(m_grid->GetItemText(r, kColumnKnowsPositive));
        row.treatmentYear = m_grid->GetItemText(r, kHealthColumnTreatmentYear);
        rows << row;
    }
    return rows;
}

void CDClientsHealth::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad()) {
        if (!m_loaded) {
            Load();
            m_loaded = true;
        }
        return;
    }
    // Saving: the grid becomes the client's rows, checked before anything
    // is written; OnApply writes them once.
    m_toSave = CClientHealth();
    m_toSave.filled = m_fill->isChecked();
    if (!m_toSave.filled)
        return;
    const CRuleVerdict verdict = BuildHealthRows(GridRows(), &m_toSave.rows);
    if (!verdict.ok) {
        const int column = verdict.field == EClientField::HealthTreatmentYear
                               ? kHealthColumnTreatmentYear
                               : kHealthColumnKnowsNegative;
        m_grid->ShowErrorTip(verdict.row, column, verdict.text, verdict.title);
        dx.Fail(m_grid, verdict.text);
    }
}

bool CDClientsHealth::OnApply() {
    QString error;
    CRuleVerdict refusal;
    if (CClientHealthStore::SaveOverLoaded(Connection(), GetClientID(), m_guard, m_stored, m_toSave,
                                           &refusal, &error))
        return true;
    if (refusal.key == QLatin1String(kHealthChangedMeanwhileKey))
        return FailChangedMeanwhile(m_grid, refusal.text);
    return FailAt(m_grid, refusal.ok ? error : refusal.text);
}

void CDClientsHealth::OnAfterCommit() {
    Load();
}

#include "fast_tables_dlg.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "reports/base/core/fast_tables.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;
} // namespace

CFastTablesDlg::CFastTablesDlg(QWidget* parent, CxSQL* sql)
    : QDialog(parent                   ? parent
              : CTarvikApp::Instance() ? CTarvikApp::Instance()->GetMainWnd()
                                       : nullptr),
      m_sql(sql), m_steps(new QTreeWidget(this)), m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("CFastTablesDlg"));
    setWindowTitle(Tr("Подготовка таблиц ускорения", "CFastTablesDlg"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(520);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Tr("Процесс выполнения:", "CFastTablesDlg"), this));
    m_steps->setObjectName(QStringLiteral("steps"));
    m_steps->setHeaderHidden(true);
    m_steps->setRootIsDecorated(false);
    m_steps->setFocusPolicy(Qt::NoFocus);
    m_steps->setSelectionMode(QAbstractItemView::NoSelection);
    // Display only: the user ticks nothing here.
    m_steps->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int step = 0; step < CFastTables::kSteps; ++step) {
        auto* item = new QTreeWidgetItem(m_steps, {CFastTables::StepTitle(step)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    m_steps->setFixedHeight(m_steps->sizeHintForRow(0) * (CFastTables::kSteps + 1));
    layout->addWidget(m_steps);
    m_bar->setObjectName(QStringLiteral("bar"));
    m_bar->setTextVisible(false);
    layout->addWidget(m_bar);
    layout->addWidget(new QLabel(
        Tr("Некоторые этапы могут занимать продолжительное время", "CFastTablesDlg"), this));
}

bool CFastTablesDlg::Process(QString* error) {
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    show();
    m_running = true;
    CFastTables tables(m_sql);
    tables.SetStepObserver([this](int step, int state) {
        QTreeWidgetItem* item = m_steps->topLevelItem(step);
        if (!item)
            return;
        item->setCheckState(0, state == CFastTables::kStepDone      ? Qt::Checked
                               : state == CFastTables::kStepRunning ? Qt::PartiallyChecked
                                                                    : Qt::Unchecked);
        Pump(true);
    });
    const bool ok = tables.Process(this, error);
    m_running = false;
    return ok;
}

void CFastTablesDlg::BeginProgress(const QString&, int) {
    Pump(true);
}

void CFastTablesDlg::SetRange(int count, const QString&) {
    m_bar->setRange(0, count > 0 ? count : 0);
    m_bar->setValue(0);
    Pump(true);
}

void CFastTablesDlg::Step(const QString&, int steps) {
    if (steps > 0 && m_bar->maximum() > 0)
        m_bar->setValue(qMin(m_bar->maximum(), m_bar->value() + steps));
    Pump(false);
}

void CFastTablesDlg::EndProgress(const QString&) {
    Pump(true);
}

void CFastTablesDlg::Pump(bool force) {
    if (!force && m_sincePump.isValid() && m_sincePump.elapsed() < 40)
        return;
    m_sincePump.start();
    QCoreApplication::processEvents();
}

void CFastTablesDlg::closeEvent(QCloseEvent* event) {
    // The steps cannot be left half-way by closing the window.
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CFastTablesDlg::reject() {
    if (!m_running)
        QDialog::reject();
}

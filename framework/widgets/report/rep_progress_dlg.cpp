#include "rep_progress_dlg.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
int g_defaultShowDelay = 400;
// A long step caption is shown cut to a few lines.
constexpr int kDetailChars = 300;

constexpr CxTr Tr;
} // namespace

void CRepProgressDlg::SetDefaultShowDelay(int ms) {
    g_defaultShowDelay = ms;
}

CRepProgressDlg::CRepProgressDlg(QWidget* parent)
    : QDialog(parent), m_caption(new QLabel(this)), m_detail(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_cancel(new QPushButton(this)),
      m_showDelay(g_defaultShowDelay) {
    setObjectName(QStringLiteral("CRepProgressDlg"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(480);
    auto* layout = new QVBoxLayout(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setWordWrap(true);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_detail->setObjectName(QStringLiteral("detail"));
    m_detail->setWordWrap(true);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setMinimumHeight(m_detail->fontMetrics().lineSpacing() * 3);
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = m_detail->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_detail->setFont(small);
    m_bar->setObjectName(QStringLiteral("bar"));
    m_bar->setTextVisible(false);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setText(Tr("Прервать", "CRepProgressDlg::Cancel"));
    layout->addWidget(m_caption);
    layout->addWidget(m_detail, 1);
    layout->addWidget(m_bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &CRepProgressDlg::Cancel);
}

void CRepProgressDlg::Cancel() {
    if (m_cancelled)
        return;
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_cancel->setText(Tr("Прерывается...", "CRepProgressDlg::Cancel"));
    m_caption->setText(Tr("Формирование отчета прерывается, дождитесь окончания текущего шага",
                          "CRepProgressDlg::Cancel"));
}

void CRepProgressDlg::reject() {
    if (m_running)
        Cancel();
    else
        QDialog::reject();
}

void CRepProgressDlg::closeEvent(QCloseEvent* event) {
    if (m_running) {
        Cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CRepProgressDlg::BeginProgress(const QString& title, int count) {
    m_running = true;
    m_cancelled = false;
    setWindowTitle(title);
    m_caption->setText(title);
    m_detail->clear();
    m_bar->setRange(0, count > 0 ? count : 0);
    m_bar->setValue(0);
    m_sinceBegin.start();
    m_sincePump.invalidate();
    Pump(true);
}

void CRepProgressDlg::SetRange(int count, const QString& caption) {
    if (!m_cancelled && !caption.isEmpty())
        m_caption->setText(caption);
    m_bar->setRange(0, count > 0 ? count : 0);
    m_bar->setValue(0);
    Pump(true);
}

void CRepProgressDlg::Step(const QString& text, int steps) {
    if (!text.isEmpty()) {
        QString shown = text.simplified();
        if (shown.size() > kDetailChars)
            shown = shown.left(kDetailChars) + QStringLiteral("…");
        m_detail->setText(shown);
    }
    if (steps > 0 && m_bar->maximum() > 0)
        m_bar->setValue(qMin(m_bar->maximum(), m_bar->value() + steps));
    Pump(false);
}

void CRepProgressDlg::EndProgress(const QString&) {
    m_running = false;
    hide();
}

void CRepProgressDlg::Pump(bool force) {
    if (!isVisible() && m_sinceBegin.isValid() && m_sinceBegin.elapsed() >= m_showDelay) {
        show();
        raise();
        force = true;
    }
    if (!force && m_sincePump.isValid() && m_sincePump.elapsed() < 40)
        return;
    m_sincePump.start();
    // While the dialog is hidden it is not yet modal: nothing the user does
    // may reach the other windows then.
    QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents);
}

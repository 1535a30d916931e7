#include "wizard_pane.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "wizard_dlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

QString LineBreaks(QString html) {
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(u'\n', QLatin1String("<br>"));
    html.replace(u'\r', QLatin1String("<br>"));
    html.replace(u'\t', QLatin1String("&nbsp;&nbsp;&nbsp;&nbsp;"));
    return html;
}

QTextBrowser* MarkupView(QWidget* parent) {
    auto* view = new QTextBrowser(parent);
    view->setOpenExternalLinks(false);
    view->setOpenLinks(false);
    view->setFrameShape(QFrame::NoFrame);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
    view->setPalette(palette);
    return view;
}
} // namespace

QString CxWizardMarkupToHtml(const QString& markup) {
    QString html = markup;
    html.replace(QLatin1String("<warning>"),
                 QLatin1String("<span style=\"color:#b00020; font-weight:bold\">"));
    html.replace(QLatin1String("</warning>"), QLatin1String("</span>"));
    // A heading ends its line already: the line break after it would add an
    // empty line.
    html.replace(QLatin1String("</h1>\n"), QLatin1String("</h1>"));
    return LineBreaks(html);
}

QString CxWizardLogLineToHtml(const QString& text) {
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1String("[bold]"), QLatin1String("<b>"));
    html.replace(QLatin1String("[/bold]"), QLatin1String("</b>"));
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(u'\n', QLatin1String("<br>"));
    html.replace(u'\r', QLatin1String("<br>"));
    // Blanks and tabs as they are: a continued line often begins with one.
    return QStringLiteral("<span style=\"white-space:pre-wrap\">") + html +
           QStringLiteral("</span>");
}

// --- CWizardPane ---

CWizardPane::CWizardPane(QWidget* parent) : QWidget(parent) {}

QString CWizardPane::GetPaneTitle() const {
    return QString();
}

QVariant CWizardPane::GetVar(const QString& name, const QVariant& defaultValue) const {
    return m_wizard ? m_wizard->GetVar(name, defaultValue) : defaultValue;
}

void CWizardPane::SetVar(const QString& name, const QVariant& value) {
    if (m_wizard)
        m_wizard->SetVar(name, value);
}

void CWizardPane::UpdateButtons() {
    if (m_wizard)
        m_wizard->UpdateButtons();
}

// --- CWizardPanePreStart ---

CWizardPanePreStart::CWizardPanePreStart(const QString& markup, QWidget* parent)
    : CWizardPane(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_text = MarkupView(this);
    layout->addWidget(m_text);
    SetText(markup);
}

QString CWizardPanePreStart::GetPaneTitle() const {
    return Tr("Начало", "CWizardPanePreStart");
}

void CWizardPanePreStart::SetText(const QString& markup) {
    m_text->setHtml(CxWizardMarkupToHtml(markup));
}

// --- CWizardPaneProcessor ---

CWizardPaneProcessor::CWizardPaneProcessor(QWidget* parent) : CWizardPane(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_summaryView = MarkupView(this);
    m_summaryView->setObjectName(QStringLiteral("WizardSummary"));
    layout->addWidget(m_summaryView, 1);

    m_runArea = new QWidget(this);
    auto* run = new QVBoxLayout(m_runArea);
    run->setContentsMargins(0, 0, 0, 0);
    m_caption = new QLabel(m_runArea);
    m_caption->setObjectName(QStringLiteral("WizardCaption"));
    m_caption->setWordWrap(true);
    run->addWidget(m_caption);
    m_bar = new QProgressBar(m_runArea);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    run->addWidget(m_bar);
    m_status = new QLabel(m_runArea);
    m_status->setObjectName(QStringLiteral("WizardStatus"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    run->addWidget(m_status);
    m_log = new QPlainTextEdit(m_runArea);
    m_log->setObjectName(QStringLiteral("WizardLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(kMaxLogLines);
    m_log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    run->addWidget(m_log, 1);
    layout->addWidget(m_runArea, 3);
    ShowRun(false);
}

QString CWizardPaneProcessor::GetPaneTitle() const {
    return Tr("Выполнение", "CWizardPaneProcessor");
}

QString CWizardPaneProcessor::GetRunText() const {
    return Tr("Выполнить", "CWizardPaneProcessor");
}

void CWizardPaneProcessor::SetSummary(const QString& markup) {
    m_summary = markup;
    m_summaryView->setHtml(CxWizardMarkupToHtml(GetSummary()));
}

void CWizardPaneProcessor::OnSetActive() {
    // The summary may depend on what earlier pages chose.
    m_summaryView->setHtml(CxWizardMarkupToHtml(GetSummary()));
}

void CWizardPaneProcessor::ShowRun(bool running) {
    m_summaryView->setVisible(!running);
    m_runArea->setVisible(running);
}

void CWizardPaneProcessor::Append(const QString& html, bool newLine) {
    QScrollBar* bar = m_log->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    if (newLine || m_log->document()->isEmpty()) {
        m_log->appendHtml(html);
    } else {
        QTextCursor cursor(m_log->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertHtml(html);
    }
    // The log follows the run unless the user scrolled back to read.
    if (atEnd)
        bar->setValue(bar->maximum());
}

void CWizardPaneProcessor::AddInfoMessage(const QString& text, int flag) {
    Append(CxWizardLogLineToHtml(text), flag != 0);
}

void CWizardPaneProcessor::AddWarning(const QString& text, int flag) {
    if (flag) {
        ++m_warnings;
        Append(QStringLiteral("<span style=\"color:#a05a00\">") + CxWizardLogLineToHtml(text) +
                   QStringLiteral("</span>"),
               true);
    } else {
        ++m_errors;
        Append(QStringLiteral("<span style=\"color:#b00020; font-weight:bold\">") +
                   CxWizardLogLineToHtml(text) + QStringLiteral("</span>"),
               true);
    }
}

QString CWizardPaneProcessor::GetLogText() const {
    QString text = m_log->toPlainText();
    // Line breaks inside a line come back as line separators.
    text.replace(QChar(QChar::LineSeparator), u'\n');
    return text;
}

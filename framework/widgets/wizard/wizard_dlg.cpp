#include "wizard_dlg.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "wizard_pane.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CWizardDlg");

// While a job runs, the change watcher of the base connection waits: its
// statements would land inside the job's transaction, and its notices would
// reload lists half way through.
class WatcherPause {
public:
    WatcherPause() : m_sql(g_pBaseSQLConnection.get()) {
        if (m_sql)
            m_sql->SuspendWatchdog(0);
    }
    ~WatcherPause() {
        if (m_sql)
            m_sql->SuspendWatchdog(1);
    }
    WatcherPause(const WatcherPause&) = delete;
    WatcherPause& operator=(const WatcherPause&) = delete;

private:
    CxSQL* m_sql;
};
} // namespace

CWizardDlg::CWizardDlg(QWidget* parent) : CxDialog(parent) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("WizardHeader"));
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    header->setPalette(palette);
    auto* headerLayout = new QVBoxLayout(header);
    m_title = new QLabel(header);
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    m_title->setFont(font);
    m_title->setTextFormat(Qt::PlainText);
    headerLayout->addWidget(m_title);
    m_paneTitle = new QLabel(header);
    m_paneTitle->setTextFormat(Qt::PlainText);
    headerLayout->addWidget(m_paneTitle);
    layout->addWidget(header);

    m_stack = new QStackedWidget(this);
    layout->addWidget(m_stack, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* buttons = new QHBoxLayout;
    m_extraButtons = new QWidget(this);
    auto* extra = new QHBoxLayout(m_extraButtons);
    extra->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_extraButtons);
    buttons->addStretch(1);
    m_back = new QPushButton(Tr("< Назад"), this);
    m_next = new QPushButton(Tr("Далее >"), this);
    m_run = new QPushButton(this);
    m_finish = new QPushButton(Tr("Готово"), this);
    m_cancel = new QPushButton(Tr("Отмена"), this);
    for (QPushButton* button : {m_back, m_next, m_run, m_finish, m_cancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_back, &QPushButton::clicked, this, [this] { Back(); });
    connect(m_next, &QPushButton::clicked, this, [this] { Next(); });
    connect(m_run, &QPushButton::clicked, this, [this] { Run(); });
    connect(m_finish, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    resize(640, 480);
}

CWizardDlg::~CWizardDlg() = default;

QString CWizardDlg::GetWizardTitle() const {
    return windowTitle();
}

bool CWizardDlg::OnInitDialog() {
    OnInitPages();
    const QString title = GetWizardTitle();
    setWindowTitle(title);
    m_title->setText(title);
    if (!m_pages.isEmpty())
        Show(m_pages.first());
    else if (m_processor)
        Show(m_processor);
    return m_current != nullptr;
}

void CWizardDlg::AddToStack(CWizardPane* page) {
    if (m_stack->indexOf(page) >= 0)
        return;
    page->m_wizard = this;
    m_stack->addWidget(page);
}

void CWizardDlg::RegisterPage(CWizardPane* page) {
    if (!page || m_pages.contains(page))
        return;
    AddToStack(page);
    m_pages << page;
}

void CWizardDlg::SetProcessorPage(CWizardPaneProcessor* page) {
    if (!page || m_state != State::Pages)
        return;
    AddToStack(page);
    m_processor = page;
    UpdateButtons();
}

QPushButton* CWizardDlg::AddButton(const QString& text) {
    auto* button = new QPushButton(text, m_extraButtons);
    button->setAutoDefault(false);
    m_extraButtons->layout()->addWidget(button);
    return button;
}

QVariant CWizardDlg::GetVar(const QString& name, const QVariant& defaultValue) const {
    return m_vars.value(name, defaultValue);
}

void CWizardDlg::SetVar(const QString& name, const QVariant& value) {
    m_vars[name] = value;
}

int CWizardDlg::Index(CWizardPane* page) const {
    return int(m_pages.indexOf(page));
}

void CWizardDlg::Show(CWizardPane* page) {
    m_current = page;
    m_stack->setCurrentWidget(page);
    const QString paneTitle = page->GetPaneTitle();
    m_paneTitle->setText(paneTitle);
    m_paneTitle->setVisible(!paneTitle.isEmpty() && paneTitle != m_title->text());
    page->OnSetActive();
    UpdateButtons();
}

bool CWizardDlg::Next() {
    if (m_state != State::Pages || !m_current || m_current == m_processor)
        return false;
    if (!m_current->IsValid() || !m_current->OnKillActive()) {
        // Leaving may have taught the page that it is not valid.
        UpdateButtons();
        return false;
    }
    const int index = Index(m_current);
    if (index + 1 < m_pages.size() && m_pages[index + 1] != m_processor) {
        Show(m_pages[index + 1]);
        return true;
    }
    if (!m_processor)
        return false;
    Show(m_processor);
    return true;
}

bool CWizardDlg::Back() {
    if (m_state != State::Pages || !m_current)
        return false;
    int index = Index(m_current);
    if (m_current == m_processor)
        index = int(m_pages.size());
    // The processor page may stand among the registered pages too.
    while (--index >= 0) {
        if (m_pages[index] != m_processor) {
            Show(m_pages[index]);
            return true;
        }
    }
    return false;
}

bool CWizardDlg::Run() {
    if (m_state != State::Pages || !m_processor || m_current != m_processor)
        return false;
    m_state = State::Running;
    m_cancelled = false;
    m_processor->ShowRun(true);
    m_processor->m_caption->setText(GetWizardTitle());
    m_processor->m_status->clear();
    SetBar(0, 0);
    UpdateButtons();
    m_pump.start();
    bool ok = false;
    {
        WatcherPause pause;
        ok = m_processor->Process();
    }
    // The job's own answer decides: a stop pressed after its last look at
    // IsCancelled came too late to undo what it finished (and committed).
    m_succeeded = ok;
    m_state = State::Done;
    // The outcome stands out from the run's passing lines.
    QFont font = m_processor->m_status->font();
    font.setBold(true);
    m_processor->m_status->setFont(font);
    if (m_succeeded) {
        m_processor->m_status->setText(
            m_cancelled ? Tr("Выполнено: работа была завершена до остановки") : Tr("Выполнено"));
        SetBar(1, 1);
    } else {
        // A full bar would read as done.
        SetBar(1, 0);
        m_processor->m_status->setText(m_cancelled
                                           ? Tr("Прервано пользователем")
                                           : Tr("Не выполнено: подробности в журнале ниже"));
    }
    UpdateButtons();
    return m_succeeded;
}

void CWizardDlg::Cancel() {
    if (m_state == State::Running) {
        if (!m_cancelled) {
            m_cancelled = true;
            if (m_processor)
                m_processor->m_status->setText(Tr("Остановка..."));
        }
        UpdateButtons();
        return;
    }
    QDialog::reject();
}

void CWizardDlg::reject() {
    // Escape and the window's close button stop a running job first.
    Cancel();
}

void CWizardDlg::closeEvent(QCloseEvent* event) {
    if (m_state == State::Running) {
        Cancel();
        event->ignore();
        return;
    }
    CxDialog::closeEvent(event);
}

void CWizardDlg::UpdateButtons() {
    const bool onProcessor = m_current && m_current == m_processor;
    const bool pages = m_state == State::Pages;
    const int index = Index(m_current);
    bool hasBack = false;
    if (pages && m_current) {
        const int from = onProcessor ? int(m_pages.size()) : index;
        for (int i = from - 1; i >= 0 && !hasBack; --i)
            hasBack = m_pages[i] != m_processor;
    }
    // A wizard of one page has nowhere to go back to.
    m_back->setVisible(!m_pages.isEmpty() && (!onProcessor || pages));
    m_back->setEnabled(hasBack);
    m_next->setVisible(!onProcessor);
    m_next->setEnabled(pages && m_current && m_current->IsValid() &&
                       (m_processor || (index >= 0 && index + 1 < m_pages.size())));
    m_run->setVisible(onProcessor && pages);
    if (onProcessor)
        m_run->setText(m_processor->GetRunText());
    m_run->setEnabled(onProcessor && pages);
    // Extra buttons open windows of their own: none while the job runs.
    m_extraButtons->setEnabled(m_state != State::Running);
    m_finish->setVisible(m_state == State::Done);
    m_cancel->setVisible(m_state != State::Done);
    m_cancel->setEnabled(m_state != State::Running || !m_cancelled);
    QPushButton* preferred = m_state == State::Done ? m_finish : onProcessor ? m_run : m_next;
    for (QPushButton* button : {m_back, m_next, m_run, m_finish, m_cancel})
        button->setDefault(button == preferred);
}

void CWizardDlg::SetBar(int maximum, int value) {
    m_barMax = qMax(0, maximum);
    m_barValue = qBound(0, value, m_barMax);
    if (!m_processor)
        return;
    // A phase of unknown length shows a busy bar.
    m_processor->m_bar->setRange(0, m_barMax);
    m_processor->m_bar->setValue(m_barValue);
}

void CWizardDlg::Pump(bool force) {
    if (!force && m_pump.isValid() && m_pump.elapsed() < kPumpMs)
        return;
    QCoreApplication::processEvents();
    m_pump.start();
}

void CWizardDlg::BeginProgress(const QString& title, int count) {
    if (m_processor && !title.isEmpty())
        m_processor->m_caption->setText(title);
    SetBar(count, 0);
    Pump(true);
}

void CWizardDlg::SetRange(int count, const QString& caption) {
    if (m_processor && !caption.isEmpty())
        m_processor->m_caption->setText(caption);
    SetBar(count, 0);
    Pump(true);
}

void CWizardDlg::Step(const QString& text, int steps) {
    SetBar(m_barMax, m_barValue + steps);
    if (m_processor && !text.isEmpty())
        m_processor->m_status->setText(text);
    Pump(false);
}

void CWizardDlg::EndProgress(const QString& text) {
    SetBar(qMax(1, m_barMax), qMax(1, m_barMax));
    if (m_processor && !text.isEmpty())
        m_processor->m_status->setText(text);
    Pump(true);
}

void CWizardDlg::SetCountText(const QString& text) {
    if (m_processor)
        m_processor->m_status->setText(text);
    Pump(false);
}

#include "form_view.h"

#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/icons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

CxFormView::CxFormView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_infobar = new QWidget(this);
    m_infobar->setObjectName(QStringLiteral("infobar"));
    m_infobar->setAutoFillBackground(true);
    QPalette pal = m_infobar->palette();
    pal.setColor(QPalette::Window, QColor(233, 239, 248));
    m_infobar->setPalette(pal);
    auto* bar = new QHBoxLayout(m_infobar);
    bar->setContentsMargins(10, 6, 10, 6);
    m_infoIcon = new QLabel(m_infobar);
    m_infoText = new QLabel(m_infobar);
    m_infoText->setObjectName(QStringLiteral("infobarText"));
    m_infoText->setTextFormat(Qt::RichText);
    bar->addWidget(m_infoIcon);
    bar->addWidget(m_infoText, 1);
    m_infobar->hide();
    layout->addWidget(m_infobar);
    auto* body = new QWidget(this);
    m_body = new QVBoxLayout(body);
    m_body->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(body, 1);
}

CxFormView::~CxFormView() = default;

CxDocument* CxFormView::GetDocument() const {
    return m_document;
}

void CxFormView::SetDocument(CxDocument* document) {
    m_document = document;
}

bool CxFormView::OnInitialUpdate() {
    RestoreState();
    return true;
}

void CxFormView::OnInitialSetTitle(CxDocument* document) {
    if (document && !windowTitle().isEmpty())
        document->SetTitle(windowTitle());
}

void CxFormView::OnOpenArguments(const QStringList&) {}

int CxFormView::OnProcessURL(const QString&) {
    return 0;
}

bool CxFormView::CanCloseFrame() {
    return true;
}

void CxFormView::OnSettingsChanged() {}

void CxFormView::CloseFrame() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) {
            frame->close();
            return;
        }
    close();
}

bool CxFormView::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    return CxAnswerCommand(
        id, ui, [this](unsigned c, CxCmdUI& state) { return CanProcessCommand(c, state); },
        [this](unsigned c) { return ProcessCommand(c); });
}

bool CxFormView::CanProcessCommand(unsigned, CxCmdUI&) {
    return false;
}

bool CxFormView::ProcessCommand(unsigned) {
    return false;
}

QString CxFormView::StateSection() const {
    return QStringLiteral("State\\") + m_stateName;
}

void CxFormView::StoreState() {
    if (m_stateName.isEmpty())
        return;
    // Column widths, splitters and the current tab of named children.
    for (QHeaderView* header : findChildren<QHeaderView*>())
        if (QWidget* owner = header->parentWidget();
            owner && !owner->objectName().isEmpty() && header->orientation() == Qt::Horizontal)
            CTarvikApp::WriteProfileString(StateSection(), owner->objectName() + u'.' + u'h',
                                           QString::fromLatin1(header->saveState().toBase64()));
    for (QSplitter* splitter : findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty())
            CTarvikApp::WriteProfileString(StateSection(), splitter->objectName(),
                                           QString::fromLatin1(splitter->saveState().toBase64()));
}

void CxFormView::RestoreState() {
    if (m_stateName.isEmpty())
        return;
    for (QHeaderView* header : findChildren<QHeaderView*>())
        if (QWidget* owner = header->parentWidget();
            owner && !owner->objectName().isEmpty() && header->orientation() == Qt::Horizontal) {
            const QByteArray state = QByteArray::fromBase64(
                CTarvikApp::GetProfileString(StateSection(), owner->objectName() + u'.' + u'h')
                    .toLatin1());
            if (!state.isEmpty())
                header->restoreState(state);
        }
    for (QSplitter* splitter : findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty()) {
            const QByteArray state = QByteArray::fromBase64(
                CTarvikApp::GetProfileString(StateSection(), splitter->objectName()).toLatin1());
            if (!state.isEmpty())
                splitter->restoreState(state);
        }
}

void CxFormView::SetInfobarStringIcon(const QString& text, int icon) {
    const qsizetype nl = text.indexOf(u'\n');
    const QString title = nl < 0 ? text : text.left(nl);
    const QString line = nl < 0 ? QString() : text.mid(nl + 1);
    m_infoText->setText(
        QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()) +
        (line.isEmpty() ? QString() : QStringLiteral("<br>") + line.toHtmlEscaped()));
    const QIcon pic = CxIcons::Get(icon);
    m_infoIcon->setPixmap(pic.pixmap(32, 32));
    m_infoIcon->setVisible(!pic.isNull());
    m_infobar->show();
}

void CxFormView::closeEvent(QCloseEvent* event) {
    if (!CanCloseFrame()) {
        event->ignore();
        return;
    }
    if (!m_stateStored) {
        m_stateStored = true;
        StoreState();
    }
    QWidget::closeEvent(event);
}

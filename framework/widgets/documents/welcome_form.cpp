#include "welcome_form.h"

#include "doc_manager.h"
#include "framework/widgets/forms/html_static.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CxWelcomeForm::CxWelcomeForm(QWidget* parent)
    : CxFormView(parent), m_links(new CHTMLStatic(this)), m_content(new QVBoxLayout) {
    auto* row = new QHBoxLayout;
    row->addLayout(m_content, 3);
    m_links->setObjectName(QStringLiteral("links"));
    m_links->DisableScroll(3);
    m_links->setMinimumWidth(220);
    m_links->SetTransparent(true);
    row->addWidget(m_links, 1);
    Body()->addLayout(row, 1);
}

void CxWelcomeForm::ClearLinks() {
    m_html.clear();
}

void CxWelcomeForm::AddLinkTitle(const QString& title) {
    m_html += QStringLiteral("<p style='margin-top:8px'><b>%1</b></p>").arg(title.toHtmlEscaped());
}

void CxWelcomeForm::AddLink(const QString& text, const QString& address) {
    // A window that the program cannot open (yet) is named, not linked.
    if ((address.startsWith(QLatin1String("opendoc:")) ||
         address.startsWith(QLatin1String("sqledit:"))) &&
        !CxDocManager::Instance()->CanOpen(address)) {
        m_html += QStringLiteral("<p style='margin-left:12px; color:#909090'>%1</p>")
                      .arg(text.toHtmlEscaped());
        return;
    }
    m_html += QStringLiteral("<p style='margin-left:12px'><a href=\"%1\">%2</a></p>")
                  .arg(address.toHtmlEscaped(), text.toHtmlEscaped());
}

void CxWelcomeForm::AddLinkBreak() {
    m_html += QStringLiteral("<br>");
}

void CxWelcomeForm::UpdateLinks() {
    m_links->SetHTML(m_html);
}

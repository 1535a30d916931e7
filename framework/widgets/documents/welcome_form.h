#pragma once
// A start page: a column of links on the right (titles, links with command
// or web addresses, breaks between groups) beside the page's own content. A
// link to a window that the program cannot open is shown as plain text.
#include "form_view.h"

class CHTMLStatic;
class QHBoxLayout;
class QVBoxLayout;

class CxWelcomeForm : public CxFormView {
    Q_OBJECT
public:
    explicit CxWelcomeForm(QWidget* parent = nullptr);

    void ClearLinks();
    void AddLinkTitle(const QString& title);
    void AddLink(const QString& text, const QString& address);
    void AddLinkBreak();
    // Shows the links added so far.
    void UpdateLinks();

    CHTMLStatic* Links() const { return m_links; }
    // Where the page puts its own content (left of the links).
    QVBoxLayout* Content() const { return m_content; }

private:
    CHTMLStatic* m_links;
    QVBoxLayout* m_content;
    QString m_html;
};

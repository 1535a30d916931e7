#pragma once
// A piece of HTML in a form: text with links and pictures, not editable.
// Links with a command address ("opendoc:...", "messagebox:...") run in the
// program; web links open in the user's browser. A picture is named by its
// resource number: <img idres="1268"> shows picture 1268 (see
// RegisterHTMLPicture).
#include <QPixmap>
#include <QTextBrowser>
#include <functional>

class CHTMLStatic : public QTextBrowser {
    Q_OBJECT
public:
    explicit CHTMLStatic(QWidget* parent = nullptr);

    void SetHTML(const QString& html);
    QString GetHTML() const { return m_html; }
    // A transparent background lets the form's colour through.
    void SetTransparent(bool transparent, int flags = 0);
    // Bit 1: no vertical, bit 2: no horizontal scroll bar.
    void DisableScroll(int bars);
    // The height that shows the whole text at the current width.
    int GetMinHeight();

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void OpenLink(const QUrl& url);
    QString m_html;
};

// Pictures by resource number for <img idres="...">: a painter of the
// picture at the given size.
void RegisterHTMLPicture(int id, QSize size, std::function<QPixmap(QSize)> painter);

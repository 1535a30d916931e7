#include "html_static.h"

#include "framework/widgets/open_external.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"

#include <QDesktopServices>
#include <QHash>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocument>

namespace {
struct Picture {
    QSize size;
    std::function<QPixmap(QSize)> painter;
};
QHash<int, Picture>& Pictures() {
    static auto* pictures = new QHash<int, Picture>;
    return *pictures;
}
} // namespace

void RegisterHTMLPicture(int id, QSize size, std::function<QPixmap(QSize)> painter) {
    Pictures().insert(id, Picture{size, std::move(painter)});
}

CHTMLStatic::CHTMLStatic(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(this, &QTextBrowser::anchorClicked, this, &CHTMLStatic::OpenLink);
}

void CHTMLStatic::SetHTML(const QString& html) {
    m_html = html;
    // <img idres="N"> names a picture of the program.
    static const QRegularExpression idres(
        QStringLiteral("<img([^>]*)\\bidres\\s*=\\s*[\"']?(\\d+)[\"']?"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = html;
    text.replace(idres, QStringLiteral("<img\\1 src=\"res:\\2\""));
    setHtml(text);
}

QVariant CHTMLStatic::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String("res")) {
        const auto found = Pictures().constFind(name.path().toInt());
        if (found != Pictures().constEnd())
            return found->painter(found->size);
        return QVariant();
    }
    return QTextBrowser::loadResource(type, name);
}

void CHTMLStatic::SetTransparent(bool transparent, int) {
    viewport()->setAutoFillBackground(!transparent);
    setAttribute(Qt::WA_TranslucentBackground, transparent);
    setStyleSheet(transparent ? QStringLiteral("QTextBrowser { background: transparent; }")
                              : QString());
}

void CHTMLStatic::DisableScroll(int bars) {
    if (bars & 1)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (bars & 2)
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int CHTMLStatic::GetMinHeight() {
    document()->setTextWidth(viewport()->width() > 0 ? viewport()->width() : width());
    return int(document()->size().height()) + 2 * frameWidth() + 4;
}

void CHTMLStatic::OpenLink(const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    // The address as the page wrote it: a "%" in its text stays a "%".
    const QString address = CxLinkAddress(url);
    // Addresses of the program run once this click is over.
    if (!CxDocManager::Instance()->ProcessAddress(address))
        CTarvikApp::AddAppQuery(address);
}

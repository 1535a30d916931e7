#include "html_news.h"

#include "framework/core/tarvik_app.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
const QString kCacheSection = QStringLiteral("State//Cache//htmlnews");

QString Note() {
    return CTarvikApp::TranslateString(
        QStringLiteral("<p style='color:#606060'>Новости сейчас недоступны: нет связи с "
                       "сервером новостей.</p>"),
        QStringLiteral("msgNewsUnavailable"), 1);
}
} // namespace

CHTMLNews::CHTMLNews(QWidget* parent)
    : CHTMLStatic(parent), m_network(new QNetworkAccessManager(this)) {
    SetTransparent(true, 0x40000);
}

QString CHTMLNews::CacheEntry(const QString& address) {
    return QStringLiteral("data_%1").arg(qChecksum(address.toUtf8()));
}

int CHTMLNews::SetURL(const QString& address) {
    const QString entry = CacheEntry(address);
    const QString kept = CTarvikApp::GetProfileString(kCacheSection, entry);
    SetHTML(kept);
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(m_timeout);
    QNetworkReply* reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, entry, kept] {
        reply->deleteLater();
        const QByteArray body = reply->readAll();
        const bool ok = reply->error() == QNetworkReply::NoError && !body.isEmpty();
        if (ok) {
            const QString news = QString::fromUtf8(body);
            SetHTML(news);
            CTarvikApp::WriteProfileString(kCacheSection, entry, news);
        } else if (kept.isEmpty()) {
            SetHTML(Note());
        }
        emit loaded(ok);
    });
    return 1;
}

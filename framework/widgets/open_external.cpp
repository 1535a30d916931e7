#include "open_external.h"

#include <QDesktopServices>

namespace {
std::function<bool(const QUrl&)>& Opener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}
} // namespace

bool CxOpenExternal(const QUrl& url) {
    if (Opener())
        return Opener()(url);
    return QDesktopServices::openUrl(url);
}

void SetExternalOpener(std::function<bool(const QUrl&)> opener) {
    Opener() = std::move(opener);
}

QString CxLinkAddress(const QUrl& url) {
    // The whole address, query and fragment included ("#" and "?" may stand
    // in a message's text); each escape decoded once.
    return QUrl::fromPercentEncoding(url.toEncoded());
}

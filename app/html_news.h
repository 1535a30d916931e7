#pragma once
// The news panel of the start page: shows the news last read from the news
// address (kept in the settings), asks the address again in the background,
// and shows what it answers (and keeps it). When the network does not answer
// and nothing is kept, it shows a short note instead. The start of the
// program never waits for the network.
#include "framework/widgets/forms/html_static.h"

class QNetworkAccessManager;

class CHTMLNews : public CHTMLStatic {
    Q_OBJECT
public:
    explicit CHTMLNews(QWidget* parent = nullptr);

    // Shows the kept news of the address and starts reading it anew.
    int SetURL(const QString& address);
    // How long the network may take before the note shows.
    void SetTimeout(int milliseconds) { m_timeout = milliseconds; }
    // The settings entry that keeps the news of an address.
    static QString CacheEntry(const QString& address);

signals:
    // The reading of the address ended (with the news or without).
    void loaded(bool ok);

private:
    QNetworkAccessManager* m_network;
    int m_timeout = 15000;
};

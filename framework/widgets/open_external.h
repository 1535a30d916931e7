#pragma once
// Hands a web address or a file to the system's program for it (the browser,
// an XML viewer). Tests install an opener of their own, so nothing starts.
#include <QUrl>
#include <functional>

bool CxOpenExternal(const QUrl& url);
// Replaces the system's opener; an empty function puts it back.
void SetExternalOpener(std::function<bool(const QUrl&)> opener);

// The address a link of a page stands for, as the page wrote it: what the
// link's URL escaped ("%" of a text, spaces, letters) is given back.
QString CxLinkAddress(const QUrl& url);

#include "app_queries.h"

#include "documents/doc_manager.h"
#include "framework/core/tarvik_app.h"
#include "message_box.h"

namespace {
const QLatin1String kMessageBox("messagebox:");

} // namespace

bool ParseMessageBoxQuery(const QString& address, CxMessageBoxQuery* query) {
    if (!address.startsWith(kMessageBox))
        return false;
    const qsizetype start = kMessageBox.size();
    const qsizetype second = address.indexOf(u':', start);
    query->flags = address.mid(start, second < 0 ? -1 : second - start).toInt();
    query->text = second < 0 ? QString() : address.mid(second + 1);
    return true;
}

bool ProcessWidgetAppQuery(const QString& address) {
    if (address == QLatin1String("about"))
        return true;
    if (address.startsWith(QLatin1String("opendoc:")) ||
        address.startsWith(QLatin1String("sqledit:")) ||
        address.startsWith(QLatin1String("command:")))
        return CxDocManager::Instance()->ProcessAddress(address);
    CxMessageBoxQuery query;
    if (!ParseMessageBoxQuery(address, &query))
        return false;
    CxMessage(nullptr, CxMessageIconOf(query.flags), query.text);
    return true;
}

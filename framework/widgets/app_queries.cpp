#include "app_queries.h"

#include "documents/doc_manager.h"
#include "framework/core/tarvik_app.h"
#include "message_box.h"

bool ProcessWidgetAppQuery(const QString& address) {
    if (address == QLatin1String("about"))
        return true;
    if (address.startsWith(QLatin1String("opendoc:")) ||
        address.startsWith(QLatin1String("sqledit:")) ||
        address.startsWith(QLatin1String("command:")))
        return CxDocManager::Instance()->ProcessAddress(address);
    if (!address.startsWith(QLatin1String("messagebox:")))
        return false;
    const qsizetype second = address.indexOf(u':', 11);
    const int flags = address.mid(11, second < 0 ? -1 : second - 11).toInt();
    const QString text = second < 0 ? QString() : address.mid(second + 1);
    CxMessage(nullptr, flags, text);
    return true;
}

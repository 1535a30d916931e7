#include "app_queries.h"

#include "framework/core/tarvik_app.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const QLatin1String kMessageBox("messagebox:");

// The icon of the message box flags' icon bits.
QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0xf0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
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
    CxMessageBoxQuery query;
    if (!ParseMessageBoxQuery(address, &query))
        return false;
    CTarvikApp* app = CTarvikApp::Instance();
    QMessageBox box(IconOf(query.flags), QGuiApplication::applicationDisplayName(), query.text,
                    QMessageBox::Ok, app ? app->GetMainWnd() : nullptr);
    box.exec();
    return true;
}

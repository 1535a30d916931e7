#include "app_queries.h"

#include "framework/core/tarvik_app.h"

#include <QApplication>
#include <QMessageBox>

bool ProcessWidgetAppQuery(const QString& address) {
    if (address == QLatin1String("about"))
        return true;
    if (!address.startsWith(QLatin1String("messagebox:")))
        return false;
    const qsizetype second = address.indexOf(u':', 11);
    const int flags = address.mid(11, second < 0 ? -1 : second - 11).toInt();
    const QString text = second < 0 ? QString() : address.mid(second + 1);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (flags & 0xf0) {
    case 0x10:
        icon = QMessageBox::Critical;
        break;
    case 0x20:
        icon = QMessageBox::Question;
        break;
    case 0x30:
        icon = QMessageBox::Warning;
        break;
    case 0x40:
        icon = QMessageBox::Information;
        break;
    }
    CTarvikApp* app = CTarvikApp::Instance();
    QMessageBox box(icon, QStringLiteral("Kelda2"), text, QMessageBox::Ok,
                    app ? app->GetMainWnd() : nullptr);
    box.exec();
    return true;
}

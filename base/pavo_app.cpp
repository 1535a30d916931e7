#include "pavo_app.h"

#include "framework/core/app/profile_manager.h"
#include "framework/core/sql_result.h"
#include "framework/widgets/app_queries.h"

#include <QApplication>
#include <QMessageBox>

namespace {
// A quiet field look-up that misses tells the user which name was missing.
void FieldNotFoundBox(const QString& name) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QMessageBox::critical(QApplication::focusWidget(), QStringLiteral("Not found!"), name);
}
} // namespace

CPavoApp::CPavoApp() {
    SetFieldNotFoundHandler(FieldNotFoundBox);
}

CPavoApp::~CPavoApp() {
    SetFieldNotFoundHandler(nullptr);
}

bool CPavoApp::OnApplicationInit() {
    SetProfileManager(new CxProfileManager(CxProfileManager::DefaultFile()));
    return CTarvikApp::OnApplicationInit();
}

bool CPavoApp::OnProcessURL(const QString& address) {
    if (ProcessWidgetAppQuery(address))
        return true;
    return CTarvikApp::OnProcessURL(address);
}

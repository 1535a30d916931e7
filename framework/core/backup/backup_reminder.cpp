#include "backup_reminder.h"

#include "framework/core/tarvik_app.h"

void OnBackupCompleted() {
    CTarvikApp::WriteProfileString(QLatin1String(kBackupSettingsSection),
                                   QLatin1String(kBackupDaysEntry), QStringLiteral("0"));
}

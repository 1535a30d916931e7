#include "backup_reminder.h"

#include "framework/core/tarvik_app.h"

void OnBackupCompleted() {
    // The count is the installation's, not one user's: whoever made the
    // backup, every user's start page sees it reset.
    CTarvikApp::WriteAllUsersString(QLatin1String(kBackupSettingsSection),
                                    QLatin1String(kBackupDaysEntry), QStringLiteral("0"));
}

#pragma once
// The start page counts the days on which it was shown since the last backup
// (the installation's all-users settings, section "Backup", entry
// "nLastFromBackup") and warns when the count passes the configured reminder.
// A completed backup sets the count back to 0 in the same store.
inline constexpr char kBackupSettingsSection[] = "Backup";
inline constexpr char kBackupDaysEntry[] = "nLastFromBackup";

// Called once a backup file is complete and verified.
void OnBackupCompleted();

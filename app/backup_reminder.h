#pragma once
// The reminder of an old backup: the start page counts the days on which it
// was shown since the count was last reset (by a backup), in the settings of
// all users (section "Backup": "dLastBackup" the last day counted as
// "yyyy-MM-dd", "nLastFromBackup" the count).
#include <QDate>
#include <QString>

// Counts today unless it is the day counted last (a stored day that does
// not read as a date counts as another day); answers the count.
int CountBackupReminderDay(const QDate& today);
// Whether the count is past the configuration's reminder (a reminder of 0 or
// less never reminds).
bool IsBackupReminderDue(int count, long reminder);
// The command address of the reminder's message.
QString BackupReminderAddress();

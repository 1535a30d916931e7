#include "backup_reminder.h"

#include "framework/core/tarvik_app.h"

#include <QDateTime>

namespace {
const QString kSection = QStringLiteral("Backup");
const QString kLastDay = QStringLiteral("dLastBackup");
const QString kCount = QStringLiteral("nLastFromBackup");

// A date as the database writes it, with or without the time.
bool ParseSQLDate(const QString& text) {
    const QString t = text.trimmed();
    return QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd")).isValid() &&
           (t.size() == 10 ||
            QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid());
}
} // namespace

int CountBackupReminderDay(const QDate& today) {
    const QString last = CTarvikApp::GetAllUsersString(kSection, kLastDay);
    int count = CTarvikApp::GetAllUsersString(kSection, kCount, QStringLiteral("0")).toInt();
    const QString day = today.toString(QStringLiteral("yyyy-MM-dd"));
    if (!ParseSQLDate(last) || day != last) {
        ++count;
        CTarvikApp::WriteAllUsersString(kSection, kLastDay, day);
        CTarvikApp::WriteAllUsersString(kSection, kCount, QString::asprintf("%d", count));
    }
    return count;
}

bool IsBackupReminderDue(int count, long reminder) {
    return reminder > 0 && count > reminder;
}

QString BackupReminderAddress() {
    return QStringLiteral("messagebox:%1:%2")
        .arg(64)
        .arg(CTarvikApp::TranslateString(QStringLiteral("Ваша резервная копия устарела"),
                                         QStringLiteral("CKelda2View::DoDataExchange"), 1));
}

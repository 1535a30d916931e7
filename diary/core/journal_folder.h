#pragma once
// The folder into which the daily report journal loads sheets filled in a
// spreadsheet: the journal's current folder while it still exists, else the
// root ("КОРНЕВАЯ"). A folder is a dailyreport row marked as folder; its name
// is its comment (which may be empty).
#include <QString>

class CxSQL;

struct CDiaryLoadFolder {
    qint64 id = 0; // 0: the root
    QString name;
};

// Looks the folder up. Answers false (with *error) only when the query fails.
bool ResolveDiaryLoadFolder(CxSQL* sql, qint64 folder, CDiaryLoadFolder* target, QString* error);
// The question asked before the load: "Начать загрузку ведомостей в папку
// "<name>"?".
QString DiaryLoadFolderQuestion(const QString& name);

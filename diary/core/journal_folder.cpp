#include "journal_folder.h"

#include "diary_sql.h"
#include "diary_verdict.h"

bool ResolveDiaryLoadFolder(CxSQL* sql, qint64 folder, CDiaryLoadFolder* target, QString* error) {
    *target = CDiaryLoadFolder();
    target->name = DiaryText("КОРНЕВАЯ", "CJDiary::ProcessCommand");
    if (folder <= 0)
        return true;
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT dailyreport.cComment FROM dailyreport WHERE ROWID=%1 "
                                    "AND dailyreport.bIsFolder=1")
                         .arg(folder),
                     &r, error))
        return false;
    if (r.FetchRow()) {
        target->id = folder;
        target->name = r.SFieldValue(0);
    }
    return true;
}

QString DiaryLoadFolderQuestion(const QString& name) {
    return DiaryText("Начать загрузку ведомостей в папку \"{folder}\"?", "msgLoadXMLStartFolder")
        .replace(QLatin1String("{folder}"), name);
}

#pragma once
// The header of a daily report (a dailyreport row): one working day at one
// service point, up to three workers, a project and a comment.
//
// The form refuses a header, in this order, when
// - the date is missing ("Дата предоставления услуг"),
// - no service point is chosen ("Пункт предоставления услуг"),
// - no main worker is chosen ("Основной предоставитель услуг"),
// - no project is chosen ("Проект"),
// each with "Поле должно быть заполнено."; and when the comment is longer
// than the column holds (50 characters), which would otherwise be cut.
// The second and third workers may stay empty.
#include "diary_verdict.h"

#include <QDate>
#include <QString>

// A directory reference that names no row (the columns' default).
inline constexpr qint64 kNoDirRow = -1;
// The longest comment the column holds.
inline constexpr int kDailyReportCommentLength = 50;

struct CDailyReportHeader {
    qint64 rowId = -1; // -1 until the report is stored
    QDate date;
    qint64 workPlace = kNoDirRow;
    qint64 worker1 = kNoDirRow;
    qint64 worker2 = kNoDirRow;
    qint64 worker3 = kNoDirRow;
    qint64 project = 0; // the project's code in the configuration's list; 0: none
    QString comment;
    qint64 groupId = 0;  // the journal folder (0: the root); set when the report is made
    qint64 regionId = 0; // the organisation the report belongs to (0: the own); read only
};

CDiaryVerdict CheckDailyReportHeader(const CDailyReportHeader& header);

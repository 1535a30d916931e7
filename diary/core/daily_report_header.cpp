#include "daily_report_header.h"

namespace {
QString FieldName(const char* text) {
    return DiaryText(text, "CDDiary::DoDataExchange");
}
} // namespace

CDiaryVerdict CheckDailyReportHeader(const CDailyReportHeader& header) {
    if (!header.date.isValid())
        return DiaryRequired(EDiaryField::Date, FieldName("Дата предоставления услуг"));
    if (header.workPlace <= 0)
        return DiaryRequired(EDiaryField::WorkPlace, FieldName("Пункт предоставления услуг"));
    if (header.worker1 <= 0)
        return DiaryRequired(EDiaryField::Worker1, FieldName("Основной предоставитель услуг"));
    if (header.project <= 0)
        return DiaryRequired(EDiaryField::Project, FieldName("Проект"));
    if (header.comment.size() > kDailyReportCommentLength)
        return CDiaryVerdict::Refuse(
            EDiaryField::Comment,
            DiaryText("Комментарий длиннее %1 знаков: сократите его.", "CDDiary::DoDataExchange")
                .arg(kDailyReportCommentLength));
    return CDiaryVerdict();
}

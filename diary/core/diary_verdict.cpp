#include "diary_verdict.h"

#include "framework/core/tarvik_app.h"

CDiaryVerdict DiaryRequired(EDiaryField field, const QString& name) {
    CDiaryVerdict v =
        CDiaryVerdict::Refuse(field, DiaryText("Поле должно быть заполнено.", "msgRequiredField"),
                              QStringLiteral("msgRequiredField"));
    v.title = name;
    return v;
}

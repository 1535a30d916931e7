#include "diary_verdict.h"

#include "framework/core/tarvik_app.h"

QString DiaryText(const char* text, const char* keyOrContext) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(keyOrContext),
                                       1);
}

CDiaryVerdict DiaryRequired(EDiaryField field, const QString& name) {
    CDiaryVerdict v =
        CDiaryVerdict::Refuse(field, DiaryText("Поле должно быть заполнено.", "msgRequiredField"),
                              QStringLiteral("msgRequiredField"));
    v.title = name;
    return v;
}

#include "yes_no.h"

#include "framework/core/tarvik_app.h"

CxObjAutoAlloc<xYesNo> g_pYesNo;

void xYesNo::OnCreateInit() {
    Add(1, QStringLiteral("Yes"),
        CTarvikApp::TranslateString(QStringLiteral("Да"), QStringLiteral("msgYes"), 1));
    Add(0, QStringLiteral("No"),
        CTarvikApp::TranslateString(QStringLiteral("Нет"), QStringLiteral("msgNo"), 1));
}

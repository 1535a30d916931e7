#include "rule_verdict.h"

#include "framework/core/tarvik_app.h"

QString ClientRuleText(const char* text, const char* keyOrContext) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(keyOrContext),
                                       1);
}

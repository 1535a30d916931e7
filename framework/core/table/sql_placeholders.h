#pragma once
// The {WORD} placeholders of column texts, join expressions and filters,
// found outside string literals and quoted names.
#include <QString>
#include <QStringList>
#include <functional>

// Every placeholder word, in order of appearance (repeats included).
QStringList SQLPlaceholders(const QString& text);
// The text with each placeholder replaced by what the function gives for its
// word.
QString ReplaceSQLPlaceholders(const QString& text,
                               const std::function<QString(const QString&)>& replace);

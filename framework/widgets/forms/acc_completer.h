#pragma once
// Completion from the application's word dictionaries ("mycompletes",
// "names", "companynames"): a line edit completes its whole text, a text
// edit the word under the cursor, from the dictionary's words; the words the
// user saves join the dictionary.
#include <QString>

class QWidget;

// Attaches the dictionary to a QLineEdit or QPlainTextEdit (once; a second
// call with another dictionary changes it).
void AttachAccDic(QWidget* edit, const QString& dictionary);
// The dictionary attached to the edit, empty when none.
QString AttachedAccDic(const QWidget* edit);

#pragma once
// Questions and messages to the user. Tests (and scripted runs) install an
// answerer instead of the message box; while one is installed no box is
// shown.
#include <QString>
#include <functional>

class QWidget;

// The answers, with the numbers the program's callers compare against.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Kinds of question.
enum class CxAskKind { YesNo, YesNoCancel, Ok };

// A question with the given kind: answers IDYES, IDNO, IDCANCEL or IDOK.
int CxAsk(QWidget* parent, CxAskKind kind, const QString& text, const QString& title = QString());
// A question answered with yes or no (IDYES / IDNO).
int Yes_NO_(const QString& text, const QString& title = QString());
// A message with an OK button; icon: 0x10 error, 0x30 warning, 0x40 information.
void CxMessage(QWidget* parent, int icon, const QString& text, const QString& title = QString());

// Replaces the message boxes: the answerer gets the kind and the text and
// gives the answer (messages get CxAskKind::Ok). An empty function puts the
// boxes back.
void SetMessageAnswerer(std::function<int(CxAskKind, const QString&)> answerer);

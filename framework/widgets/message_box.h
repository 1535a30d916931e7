#pragma once
// Questions and messages to the user. Tests (and scripted runs) install an
// answerer instead of the message box; while one is installed no box is
// shown.
#include <QString>
#include <QStringList>
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
// The icon of a message, with the numbers that "messagebox:" addresses carry
// in their flags.
enum class CxMessageIcon : int { None = 0, Error = 0x10, Warning = 0x30, Information = 0x40 };
// The icon that a message address's flags name (their bits 4..7).
CxMessageIcon CxMessageIconOf(int flags);
// A message with an OK button.
void CxMessage(QWidget* parent, CxMessageIcon icon, const QString& text,
               const QString& title = QString());

// Replaces the message boxes: the answerer gets the kind and the text and
// gives the answer (messages get CxAskKind::Ok). An empty function puts the
// boxes back.
void SetMessageAnswerer(std::function<int(CxAskKind, const QString&)> answerer);

// Presses a button of each box in place of the user: the answerer gets the
// box's title, its text and the texts of its buttons as the user reads them
// (without the "&" of the keyboard mnemonic) and answers the text of the
// button to press; the box is built but never shown. A text that no button
// has is reported as a warning and counts as a cancel. An empty function
// puts the user back. The answerer of SetMessageAnswerer, when installed,
// goes first.
using CxMessageButtonAnswerer =
    std::function<QString(const QString& title, const QString& text, const QStringList& buttons)>;
void SetMessageButtonAnswerer(CxMessageButtonAnswerer answerer);
// A button's text as the user reads it: without the mnemonic's "&".
QString CxButtonText(const QString& text);

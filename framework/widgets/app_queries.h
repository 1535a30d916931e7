#pragma once
// The command addresses that the widget side of the framework runs itself:
// "messagebox:<icon flags>:<text>" shows a message, "about" only marks that
// the about box was opened, "opendoc:", "sqledit:" and "command:" go to the
// document manager (see documents/doc_manager.h). Answers whether the
// address was one of these and could be run.
#include <QString>

// A "messagebox:" address taken apart: the flags word (its icon bits 0x10
// stop, 0x20 question, 0x30 warning, 0x40 information; a word that is not a
// number counts as 0) and the text, everything after the second colon.
struct CxMessageBoxQuery {
    int flags = 0;
    QString text;
};
// False when the address is not a "messagebox:" address.
bool ParseMessageBoxQuery(const QString& address, CxMessageBoxQuery* query);

// Runs the address; false when it is not one of these.
bool ProcessWidgetAppQuery(const QString& address);

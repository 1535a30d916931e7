#pragma once
// The command addresses that the widget side of the framework runs itself:
// "messagebox:<icon flags>:<text>" shows a message, "about" only marks that
// the about box was opened, "opendoc:", "sqledit:" and "command:" go to the
// document manager (see documents/doc_manager.h). Answers whether the
// address was one of these and could be run.
#include <QString>

bool ProcessWidgetAppQuery(const QString& address);

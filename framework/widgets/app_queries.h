#pragma once
// The command addresses that the widget side of the framework runs itself:
// "messagebox:<icon flags>:<text>" shows a message, "about" only marks that
// the about box was opened. Answers whether the address was one of these.
#include <QString>

bool ProcessWidgetAppQuery(const QString& address);

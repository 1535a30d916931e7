#pragma once
// The error tip: a short message at the control (or grid cell) that holds a
// wrong value, which stays marked until the user changes or leaves it. The
// last tip's text stays readable as the control's property "cxErrorTip"
// until the mark goes.
#include <QString>

class QWidget;
class QRect;

void ShowErrorTip(QWidget* control, const QString& text, const QString& title = QString());
// The same at a place within the control (a grid cell), in its coordinates.
void ShowErrorTip(QWidget* control, const QRect& place, const QString& text,
                  const QString& title = QString());
// The tip for a required value that is missing; name is what is missing.
void ShowRequiredTip(QWidget* control, const QString& name);
// Takes the mark away.
void ClearErrorTip(QWidget* control);

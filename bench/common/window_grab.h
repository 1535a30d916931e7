#pragma once
// Saving one window's picture, as every page of pictures does.
class QString;
class QWidget;

// Lets the window finish painting, then saves it as a PNG file; says on
// stderr which file could not be written.
bool SaveWindowPicture(QWidget* window, const QString& file);

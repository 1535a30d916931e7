#pragma once
// Pictures of the sheet loading wizard and a report it opened (see
// sheet_pictures.cpp).
class QDir;
class QWidget;
bool SaveSheetPictures(QWidget* frame, const QDir& out);

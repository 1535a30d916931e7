#pragma once
// Pictures of the client register's windows (see client_pictures.cpp).
class QDir;
class QWidget;
bool SaveClientPictures(QWidget* frame, const QDir& out);

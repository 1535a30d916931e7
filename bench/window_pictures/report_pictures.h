#pragma once
// Pictures of every report window of the main menu's "Отчеты": as it opens,
// and with its page built over the whole period of the data.
class CKelda2App;
class CMainFrame;
class QDir;

bool SaveReportPictures(CKelda2App& app, CMainFrame* frame, const QDir& out);

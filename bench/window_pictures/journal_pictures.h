#pragma once
// Pictures of the daily report journal and form, and of the directories
// journal: each tab, and each directory's editor for a new and a stored item.
class CKelda2App;
class CMainFrame;
class QDir;

bool SaveJournalPictures(CKelda2App& app, CMainFrame* frame, const QDir& out);

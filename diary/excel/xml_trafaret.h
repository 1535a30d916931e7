#pragma once
// The daily-sheet stencil: an Excel 2003 XML workbook that outreach workers
// fill away from the program and the sheet import reads back. One worksheet:
// hidden dictionary rows that feed the drop-down lists (service points,
// materials, workers, projects), the header block for date, service point,
// workers, project and comment, the captions, the row where each column's
// material is picked, the totals and the empty client rows (stencil_layout.h
// holds the positions).
//
// The command of the main window calls MakeXMLTrafaret and, when it
// succeeds, tells the user and opens the closed file with the desktop:
//
//   QString path, error;
//   if (MakeXMLTrafaret(g_pBaseSQLConnection.get(), XMLTrafaretFolder(), &path, &error))
//       ... show "msgXMLTrafaretDone", then open path ...
//   else
//       ... show error ...
#include <QDateTime>
#include <QString>
#include <QStringList>

class CxSQL;

// What the stencil takes from outside the database.
struct XMLTrafaretParams {
    int clientRows = 200; // empty client rows
    QStringList projects; // the configuration's projects, in list order
    QString programName;  // the header's line: name, version, today's date
    QString version;
    QString date;
    QDateTime created; // the document's creation time

    // From the running program: the option MaxClientsCountXML, the current
    // language's project list, the program's name and version, today.
    static XMLTrafaretParams FromApplication();
};

// The stencil's text for the directories of the database behind sql (the
// table set must be built). Fails when a directory cannot be read or the
// stencil would not fit in the format's 65,536 rows; error says why.
bool BuildXMLTrafaret(CxSQL* sql, const XMLTrafaretParams& params, QString* text, QString* error);

// Where stencils go: the program's folder in the user's temporary folder.
QString XMLTrafaretFolder();

// Writes a new stencil file "Report2*.xml" (UTF-8) into folder, creating the
// folder when missing, with FromApplication()'s parameters, and closes it.
// On success path names the file; on failure nothing is left behind and
// error says why.
bool MakeXMLTrafaret(CxSQL* sql, const QString& folder, QString* path, QString* error);

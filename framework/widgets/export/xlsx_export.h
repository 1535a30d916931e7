#pragma once
// «Передать в MS Excel»: a list (every row of its folder, filters and order)
// or a report page (its tables in page order, the headings between them) as an
// .xlsx workbook. Numbers go as numbers, dates as dates, texts as they are;
// each column is as wide as its longest text. No widgets here: the windows
// ask for the file and open it (CxExportToExcel).
#include <QString>

class CvProgress;
class CxSQLListModel;

// The commands that export the active window.
enum : unsigned {
    kIdToExcel = 2060,     // the tool-bar button
    kIdFileToExcel = 1255, // the menu item
};

// A file in the user's temporary folder named after what is exported.
QString XlsxTempPath(const QString& name);

// Writes every row of the list's current folder; a cancel from progress
// leaves no file and answers false with an empty error.
bool WriteListXlsx(const CxSQLListModel& model, const QString& sheetName, const QString& path,
                   CvProgress* progress, QString* error);

// Writes the tables of a page's HTML, each after the texts that stand before
// it (headings), cells spanning rows or columns merged.
bool WriteHtmlXlsx(const QString& html, const QString& sheetName, const QString& path,
                   CvProgress* progress, QString* error);

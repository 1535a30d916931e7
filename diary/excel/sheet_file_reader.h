#pragma once
// Reads one daily-sheet file for the import. What cannot be a sheet is
// refused at once, before any parse, with the user's reason: a file larger
// than a sheet can be, an empty one, a packed workbook (.xlsx, .ods) or an old
// binary one (.xls), any other binary file, a document type declaration, an
// XML document that is not an Excel 2003 workbook. The rest is parsed in a
// worker thread while the caller's thread shows the progress and takes the
// user's stop; a sheet with more rows than the stencil's bounds is refused
// too, so that a hostile or runaway file can neither freeze the program nor
// take its memory.
//
//   CExcelXML sheet;
//   QString why;
//   switch (ReadSheetFile(path, CSheetFileLimits::FromApplication(), progress, 100, &sheet, &why))
#include <QString>

class CExcelXML;
class CvProgress;

struct CSheetFileLimits {
    // Far above what a sheet of the stencil holds when every cell is filled.
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    // The rows above the client rows a file may hold: the stencil's hidden
    // lists (one row per entry of the longest), its header, rows a user added.
    static constexpr int kRowsAboveClients = 2000;
    // The columns of the format; the stencil's last column is 255.
    static constexpr int kColumns = 256;

    qint64 maxBytes = kMaxBytes;
    // The client rows of the stencil (the option MaxClientsCountXML).
    int clientRows = 200;

    // The limits with the option as the program holds it.
    static CSheetFileLimits FromApplication();
    // The rows a sheet of the file may have in all.
    int MaxRows() const { return kRowsAboveClients + clientRows; }
};

enum class ESheetFileRead {
    Read,    // *sheet holds the cells
    Refused, // *why says why, in the user's words
    Stopped, // the user stopped the run while the file was read
};

// Reads the file into *sheet (a fresh reader). progress may be null; the read
// steps it by steps in all as the parse goes on (it adds no phase of its own,
// so that the caller's bar stays the run's), lets events through while the
// worker parses, and stops the parse when the user stops the run.
ESheetFileRead ReadSheetFile(const QString& path, const CSheetFileLimits& limits,
                             CvProgress* progress, int steps, CExcelXML* sheet, QString* why);

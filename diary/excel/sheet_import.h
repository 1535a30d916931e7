#pragma once
// The import of daily sheets filled from the stencil (xml_trafaret.h) and
// saved in the Excel 2003 XML format: each readable file becomes a daily
// report draft (daily_report_draft.h) that the report form shows as a new,
// unsaved report. The import itself writes nothing to the database, so a
// file the user does not save leaves no trace, and no transaction stays open
// while forms wait for the user.
//
//   CSheetImport import(sql, folder);
//   QList<CDailyReportDraft> drafts;
//   QString error;
//   if (!import.Run(CSheetImport::FindFiles(pattern), log, progress, &drafts, &error)) ...
//
// Per file, the log gets "- Анализ файла ..." and the look-ups' lines.
// A file is skipped, with its warning and without a draft, when it cannot be
// a sheet (ReadSheetFile: too large, empty, binary, packed, not a workbook),
// when no worksheet holds the header signature, when its client rows reach
// past the stencil's, or when its date is empty or unreadable (a report is
// never given a guessed date). A service point or worker that is not found
// stays unset (-1), a material name that is not found drops its column, a
// client code that is not found keeps its row with the code as typed: each
// with its warning, and the report form refuses the save until the user has
// mended them. Names compare as the server compares them, runs of blanks
// folded. A count or mark the import cannot take exactly (not a number,
// negative, a fraction, too large, a mark it cannot read) is never turned
// into another value: its cell stays empty in the draft, its row and column
// stay, and a warning names the file, the row, the column and the text.
#include "sheet_file_reader.h"

#include "diary/core/daily_report_draft.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class CExcelXML;
class CvProgress;
class CvRunLog;
class CxSQL;

class CSheetImport {
public:
    // folder: the journal folder (a dailyreport folder row) the reports go
    // into, 0 for the root.
    CSheetImport(CxSQL* sql, qint64 folder);

    // The files a search pattern names, by name: a path ending in "*.xml"
    // (any wildcard in the last part) lists the matching files of its
    // folder; any other path names one file, when it exists.
    static QStringList FindFiles(const QString& pattern);

    // Reads the files in order; one draft per readable file into *drafts
    // (when given) and to made (when given), as soon as its file is read.
    // False only when the database cannot answer (error says why, the log
    // has it as an error too); the drafts read before stay handed out.
    // progress may be null; its stop ends the run after the current file.
    using DraftTaker = std::function<void(const CDailyReportDraft&)>;
    bool Run(const QStringList& files, CvRunLog* log, CvProgress* progress,
             QList<CDailyReportDraft>* drafts, QString* error, const DraftTaker& made = {});

    // One file: *made says whether it gave a draft (false: skipped, with its
    // warning in the log). False when the database cannot answer.
    bool ReadFile(const QString& path, CvRunLog* log, CDailyReportDraft* draft, bool* made,
                  QString* error);

    // The warnings the last file raised.
    const QStringList& FileWarnings() const { return m_fileWarnings; }
    // What one file may be (the option MaxClientsCountXML when made).
    void SetLimits(const CSheetFileLimits& limits) { m_limits = limits; }

private:
    // A consultation counted by client code, one of its kinds.
    struct Consultation {
        qint32 item = 0;
        qint32 flag = 0;
    };

    bool LoadConsultationNames(QString* error);
    // at: the worksheet holding the signature; top: the signature's row.
    bool ReadHeader(const CExcelXML& sheet, int at, int top, const QString& path, CvRunLog* log,
                    CDailyReportHeader* header, bool* made, QString* error);
    bool LookUpDirectory(int dirKind, const QString& name, qint64* id, QString* error);
    bool LookUpWorker(const QString& ordinal, const QString& name, CvRunLog* log, qint64* id,
                      QString* error);
    bool LookUpClients(const QStringList& codes, QHash<QString, qint64>* clients, QString* error);
    void Warn(CvRunLog* log, const QString& text);

    CxSQL* m_sql;
    qint64 m_folder;
    CSheetFileLimits m_limits;
    CvProgress* m_progress = nullptr; // the run's, while it reads a file
    bool m_stopped = false;           // the user stopped the read of the last file
    bool m_namesLoaded = false;
    // "material:kind text" → the consultation and the kind it names.
    QHash<QString, Consultation> m_consultationNames;
    QStringList m_fileWarnings;
};

// Texts of the import, in the user's language ("CXMLLoadProcess::Process").
QString SheetImportText(const char* text);

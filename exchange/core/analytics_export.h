#pragma once
// The export for analytics programs: the client register, its histories,
// three directories and a per-visit material summary as ";"-separated files in
// code page 1251 with CR LF line ends, each with a ".hdr" file of column
// captions. A line break inside a value becomes a blank, so a row is always
// one line; a value holding ';' or '"' is quoted, its '"' doubled.
#include <QString>

class CxSQL;
class CxTable;
class CxResult;
class CvProgress;
class CvRunLog;

class CAnalyticsExport {
public:
    explicit CAnalyticsExport(CxSQL* sql) : m_sql(sql) {}

    // A folder of its own in the system's temporary folder.
    static QString DefaultFolder();

    // Writes every file into folder (made when missing); stops at the first
    // file that cannot be written, with error saying which and why.
    bool Run(const QString& folder, CvProgress* progress, CvRunLog* log, QString* error);
    // <name>.hdr and <name>.csv of one table descriptor (name: its logical name).
    bool ExportStandartTable(const QString& folder, const CxTable& table, QString* error);

    // The current row of a result as one line of a data file, without its end.
    static QString RowText(const CxResult& result);

private:
    CxSQL* m_sql;
};

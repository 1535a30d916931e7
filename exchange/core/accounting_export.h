#pragma once
// The export for the accounting program: 17 comma-separated files of the
// register's master data and visit facts, written on this computer (the
// server may be elsewhere and may not write files) byte for byte as the
// server's SELECT ... INTO OUTFILE writes them with FIELDS TERMINATED BY ','
// OPTIONALLY ENCLOSED BY '"' LINES TERMINATED BY '\n': code page 1251 texts,
// strings and dates in double quotes, a back-slash before a back-slash, a
// double quote, a line feed or (as \0) a NUL inside a value, NULL as \N.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CEnum2;
class CxSQL;
class CvProgress;
class CvRunLog;

// One file of the export: from a select, or from an enumeration or
// configuration list (code, text).
struct CAccountingFile {
    QString name;
    QString select;
    const CEnum2* list = nullptr;
};

class CAccountingExport {
public:
    // Reads through a connection of its own to sql's database.
    explicit CAccountingExport(CxSQL* sql);
    ~CAccountingExport();

    // "1cOut" in the user's data folder.
    static QString DefaultFolder();

    // The 17 files in the order written; the lists of the current
    // configuration language (none without a configuration).
    static QList<CAccountingFile> Files();

    // Runs before the files that read the report work tables, to build them
    // (the dialog passes the work-table builder); false fails the run.
    void SetWorkTablesBuilder(std::function<bool(QString* error)> builder) {
        m_buildWorkTables = std::move(builder);
    }

    // Writes the 17 files into folder (made when missing), each replacing its
    // previous version only once it is complete. Every failure is told to
    // the log and named in failures; the run goes on with the next file and
    // answers true only when all were written (the folder may then be shown).
    bool Run(const QString& folder, CvProgress* progress, CvRunLog* log, QStringList* failures);

    // One file <folder>/<name>.csv from a select.
    bool ExportQuery(const QString& folder, const QString& select, const QString& name,
                     QString* error);
    // One two-column file (code, text) from an enumeration or configuration list.
    bool ExportList(const QString& folder, const CEnum2& list, const QString& name, QString* error);

    CAccountingExport(const CAccountingExport&) = delete;
    CAccountingExport& operator=(const CAccountingExport&) = delete;

private:
    bool Connect(QString* error);

    CxSQL* m_base;
    std::unique_ptr<CxSQL> m_sql;
    std::function<bool(QString*)> m_buildWorkTables;
};

// The INTO OUTFILE form of one row, for the accounting files.
class COutfileLine {
public:
    // A value (null data: SQL NULL); enclosed: in double quotes (strings and
    // dates); escaped: false for texts of a character set whose characters
    // take two bytes or more, which the server writes as they are.
    void Field(const char* data, qsizetype length, bool enclosed, bool escaped);
    // Ends the row and answers its bytes, ready for the next row.
    QByteArray Take();

private:
    QByteArray m_bytes;
    bool m_first = true;
};

#pragma once
// Reads back a workbook the program wrote: the first sheet's cells (shared
// and inline strings, numbers, dates by their number format), its merged
// ranges and column widths. A small zip reader (stored and deflated entries)
// does the unpacking, so the tests need no spreadsheet program.
#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

// The entries of a zip file by name; empty when the file is not a zip.
QHash<QString, QByteArray> ReadZip(const QString& path);

struct XlsxCell {
    enum Kind { Text, Number, Date };
    Kind kind = Text;
    QString text;      // texts
    double number = 0; // numbers
    QDate date;        // dates
};

struct XlsxSheet {
    bool ok = false;
    QMap<QPair<int, int>, XlsxCell> cells; // by (row, column), from 0
    QStringList merges;                    // "A1:C1"
    QMap<int, double> widths;              // by column, from 0
    int Rows() const;
    // A cell as text: numbers without a needless ".0", dates as dd.MM.yyyy.
    QString Text(int row, int column) const;
    const XlsxCell* Cell(int row, int column) const;
};

XlsxSheet ReadXlsxSheet(const QString& path);

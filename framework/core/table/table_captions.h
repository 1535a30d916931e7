#pragma once
// What a person reads for a database table in progress lines and run logs
// (backup, restore, exchange): the framework knows no program's tables, so
// the program registers a look-up (its table descriptors' captions); a table
// nobody names reads as a neutral text, never as its SQL name.
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

// Answers the caption of an SQL table, empty when it has none.
using CxTableCaptionLookup = std::function<QString(const QString& sqlTable)>;

// Installs the program's look-up (an empty function removes it).
void SetTableCaptionLookup(CxTableCaptionLookup lookup);
// The registered caption of the table, else UnnamedTableCaption().
QString TableCaption(const QString& sqlTable);
// What a table without a caption is called.
QString UnnamedTableCaption();

// Rows counted per table, told per caption: tables that read alike (the
// unnamed ones) add up in one line, in the order each caption came first.
class CxTableRowTally {
public:
    void Add(const QString& sqlTable, qint64 rows);
    // "caption: rows" lines.
    QStringList Lines() const;
    qint64 Total() const { return m_total; }

private:
    QList<QPair<QString, qint64>> m_captions;
    qint64 m_total = 0;
};

#pragma once
// A report's page as the report pane shows it on the screen: the page as it
// is saved (CRepDoc::StandalonePage) with a style of the pane's and its long
// tables cut into groups of rows, so that the browser engine lays out and
// paints only what is near the screen. A page of 13,000 rows so shows its
// first screenful at once and takes a fraction of the memory; scrolling and
// resizing lay out only what comes into sight. None of this is in a page
// saved, printed or exported: they go from the report's own HTML.
//
// A chart (table.chart) is made a block with `content-visibility: auto` and
// a usual chart's size as the place it holds until seen. A table of many
// rows at the top of the page, row after row with nothing else between them,
// becomes one table for every kGroupRows rows, each in a block of its own
// with `content-visibility: auto` that holds the place of its rows until
// seen. The tables of the groups keep the table's own start tag; each holds,
// collapsed (not seen, taking no height), the table's first row and the rows
// with the widest cells of every column, so that every group gets the
// columns the whole table has. A group's table overlaps the one before by
// its border, which the rows of one table share. No group starts inside a
// cell that spans rows.
//
// The root's kWholeLayout attribute lays every part out as printed: for a
// question about the whole page (its width, its text).
#include <QByteArray>
#include <QString>

class CRepScreenPage {
public:
    static constexpr const char* kWholeLayout = "data-whole-layout";
    // Rows of a group; a table is cut only when it has twice as many.
    static constexpr qsizetype kGroupRows = 200;
    // The marks of the pane's own parts: the block of a group, the block of
    // a group that another follows, and the rows that give a group the
    // table's columns.
    static constexpr const char* kGroupClass = "kelda-rows";
    static constexpr const char* kCutClass = "kelda-cut";
    static constexpr const char* kSizerClass = "kelda-sizer";

    // The screen's page of a report's HTML, in UTF-8: the bytes of the file
    // the pane shows.
    static QByteArray Make(const QString& html);
};

#pragma once
// The counts of one client row of a generated daily sheet, as both sheet
// benchmarks write them.
#include <QRandomGenerator>
#include <QString>

// Up to six counts (1 to 20) after the client code, each a random 1 to
// `spread` columns past the last and none past the `entries` material
// columns; cells after a gap carry ss:Index as a spreadsheet program saves
// them.
inline QString RandomCountCells(QRandomGenerator& random, int entries, int spread) {
    QString cells;
    int column = 1;
    for (int k = 0; k < 6; ++k) {
        column += 1 + int(random.bounded(spread));
        if (column > entries + 1)
            break;
        cells += QStringLiteral("<Cell ss:Index=\"%1\"><Data ss:Type=\"Number\">%2</Data></Cell>")
                     .arg(column + 1)
                     .arg(1 + random.bounded(20));
    }
    return cells;
}

#pragma once
// Recording one visit of a client from the client card, without opening a
// daily report: the user gives a date, a service point and a worker and lists
// what the client received. The visit is written into the daily report of
// that day, service point and main worker (the own organisation's; a new one
// when there is none) the way the daily report form writes sheets:
// - the lines become one new row of the report's first visits sheet (sheet 0
//   of a new report), numbered after the rows already there; a line whose
//   item an earlier line already named moves one row further, and the lines
//   after it stay on that row or further;
// - the sheet gets columns for items it did not show;
// - a consultation not counted per client adds the person to the report's
//   first redirections sheet instead (a new sheet when it has none);
// - the report's checksum is cleared and computed anew.
// It runs in the caller's transaction (the card's save).
//
// Line values: a material takes its count (0 writes nothing); a service takes
// a number, non-zero meaning given (stored as 1); a consultation takes the
// code of the kind given, one of the kinds the item carries.
#include "diary_verdict.h"

#include <QDate>
#include <QList>
#include <QString>

class CxSQL;

struct CClientVisitLine {
    qint64 material = -1; // dir.ROWID of the item; -1: the line is empty
    QString value;        // as the user gave it
};

struct CClientVisit {
    qint64 clientId = 0;
    QDate date;
    qint64 workPlace = -1;
    qint64 worker = -1;
    QList<CClientVisitLine> lines;
};

// Writes the visit as described above. Answers true with *reportId -1 when
// the lines hold nothing to write (nothing is written, the header is not even
// checked). Answers false when refused (*refusal: the line's material or value
// with its row, or the missing service point, worker or date; nothing
// written) or when a statement fails (*error; the caller rolls back).
[[nodiscard]] bool WriteClientVisit(CxSQL* sql, const CClientVisit& visit, qint64* reportId,
                                    CDiaryVerdict* refusal, QString* error);

#pragma once
// Several copies of the program share one server: two users may have one
// record open at once. A form takes the fingerprint of the rows it loaded (a
// checksum the server computes over every column of every row) before it
// reads them, and at save, inside the save's transaction, reads the rows
// again locked (SELECT ... FOR UPDATE) and compares. When another copy
// changed, added or deleted any of them meanwhile, the save is refused
// instead of silently overwriting the other copy's work. A save takes the
// fingerprint of what it wrote before its COMMIT, so the next save of the
// same form goes through.
//
// The fingerprint is taken before the rows are read: a change that arrives
// in between makes the save refuse (the user reopens), never lets it
// overwrite unseen.
#include <QList>
#include <QString>
#include <QStringList>

class CxSQL;

// One part of what a form loaded: the rows of `table` that `where` selects;
// the columns named in `ignored` do not count (a checksum the program
// recomputes in every copy's save).
struct CxGuardedRows {
    QString table;
    QString where;
    QStringList ignored;
};

class CxRowsFingerprint {
public:
    // Reads the fingerprint of the parts (no lock). An empty list clears it.
    bool Take(CxSQL* sql, const QList<CxGuardedRows>& parts, QString* error);
    // Whether a fingerprint was taken (and is to be checked).
    bool IsTaken() const { return !m_parts.isEmpty(); }
    void Clear();
    const QList<CxGuardedRows>& Parts() const { return m_parts; }

    // Inside the caller's transaction: locks the rows until its end and
    // answers in *unchanged whether they are still as fingerprinted. Not
    // taken: always unchanged.
    bool CheckUnchanged(CxSQL* sql, bool* unchanged, QString* error) const;

    // The fingerprint of one part, as text; with lock set the rows stay
    // locked to the end of the caller's transaction.
    static bool Compute(CxSQL* sql, const CxGuardedRows& part, bool lock, QString* value,
                        QString* error);

    // The refusal of such a save, for the user: what happened and that the
    // record must be opened again.
    static QString ChangedMeanwhileText();
    // The question that offers to open the record again.
    static QString ReopenQuestion();

private:
    QList<CxGuardedRows> m_parts;
    QStringList m_values;
};

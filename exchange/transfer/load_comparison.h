#pragma once
// The comparison of two received loads of one organisation ("Сравнение
// загрузок"), without its window: the list of loads to choose from, the check
// of a choice, and the figures of the page: the daily reports that only one
// load has, and the reports both have with a different checksum, down to the
// visits that differ. It reads only the load snapshots (`cmp_*`) that the
// exchange helper writes. Texts here are raw; whoever renders them as HTML
// escapes every one.
#include <QDate>
#include <QList>
#include <QString>

class CxSQL;

// One organisation of the list of loads, with its loads in order of date and
// number.
struct CCompareLoadItem {
    int loadId = 0;
    QDate date;
};
struct CCompareLoadOrg {
    QString orgId;
    QList<CCompareLoadItem> loads;
};

// The list of loads, built afresh on every call: organisations without an
// identifier are left out. False when the statement failed (error set).
bool ReadCompareLoadTree(CxSQL* sql, QList<CCompareLoadOrg>* tree, QString* error);
// The text of one load in the list: "<date>, <number>".
QString CompareLoadItemText(const CCompareLoadItem& item);

// The two loads to compare, from the ticked items in the list's order (load
// numbers; organisation items as 0 or less, which count for nothing): the
// first ticked load is the first, the last ticked load the second. Answers the
// translated reason when the choice cannot be compared (nothing ticked, loads
// of several organisations, not exactly two loads), else an empty text.
QString CheckCompareChoice(CxSQL* sql, const QList<int>& ticked, const QDate& date, int* first,
                           int* second);

// A directory entry as a cell shows it: its name; "-" for the id -1; the
// translated "Код {id} не найден" when the load's directory lacks the id.
struct CCompareDirRef {
    int id = 0;
    QString name; // empty when the load's directory lacks the id
    QString Text() const;
};

// A daily report as one load holds it.
struct CCompareReport {
    int reportId = 0;
    QDate date;
    CCompareDirRef workPlace, worker1, worker2, worker3;
};

// A report that only one of the two loads has.
struct CCompareAddedRemoved {
    CCompareReport report;
    bool inFirst = false; // held by the first load only (else by the second)
};

// A visit that one load has and the other has not with the same client,
// material and count.
struct CCompareVisit {
    bool inFirst = false;
    int clientId = 0;
    QString clientCode;
    int itemId = 0;
    QString item;
    int count = 0;
};

struct CCompareChanged {
    CCompareReport first, second;
    QList<CCompareVisit> visits;
};

struct CCompareLoadsData {
    int first = 0, second = 0;
    QList<CCompareAddedRemoved> addedRemoved;
    QList<CCompareChanged> changed;
};

// At most this many reports of each kind.
constexpr int kCompareRowLimit = 500;

// The figures of the page for two loads and the analysis date (reports dated
// on it or later take no part).
bool CompareLoads(CxSQL* sql, int first, int second, const QDate& date, CCompareLoadsData* data,
                  QString* error);

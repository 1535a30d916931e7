#pragma once
// The service points chosen for reports: the application keeps one selection
// for the whole program (point id -> the name shown in the tree), which the
// tree of the report window that starts a build writes just before it. This
// file holds everything of the choice that needs no widget: the selection,
// its grouping into a tree (by organisation, town and point type, as data the
// tree widget shows), the temporary table that lets SQL join the chosen
// points, and the paragraph that names them in a report header.
#include "framework/core/containers/cx_map.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class CxSQL;

namespace CPoshSelection {
// The application's selection ("CSelectedPOSH"); a process-wide one when the
// application has none. Never null.
CxMap<long, QString>* Get();
// Replaces the selection by the ticked items of the tree: only points (id
// above 0; group items carry 0) are kept, ordered by id, so one set of points
// is one selection whatever the tree's grouping.
void Store(const QList<QPair<long, QString>>& tickedItems);
// The chosen ids in ascending order.
QList<long> SelectedIDs();
} // namespace CPoshSelection

// The groupings of the tree, as the menu offers them ("Settings/PoshMode").
enum PoshGroupingMode {
    kPoshByOrg = 3298,         // organisation -> point (also the default)
    kPoshByTownOrg = 3299,     // town -> organisation -> point
    kPoshByOrgTown = 3300,     // organisation -> town -> point
    kPoshByTypeOrg = 3301,     // point type -> organisation -> point
    kPoshByTypeTownOrg = 3303, // point type -> town -> organisation -> point
    kPoshByTypeOrgTown = 3304, // point type -> organisation -> town -> point
};

struct CPoshGrouping {
    int id;
    QString text; // the menu text
};
// The groupings in menu order (a separator stands after the third).
QList<CPoshGrouping> PoshGroupings();
// The grouping the user chose last (the default for a value not listed).
int CurrentPoshGrouping();
void StorePoshGrouping(int mode);

// One item of the tree: a group (pointId 0) or a service point.
struct CPoshTreeNode {
    QString caption;
    long pointId = 0;
    int parent = -1; // index of the parent node; -1 at the top
};

// The tree of all service points in a grouping, parents before their
// children, siblings in the grouping's order. A town level shows the chain of
// towns above each point's town; a town the towns table lacks is captioned
// "Ошибка". Answers false (with the reason) when the data could not be read.
bool BuildPoshTree(CxSQL* sql, int mode, QList<CPoshTreeNode>& nodes, QString* error = nullptr);

// The ids of the points of a type (nType); all points for -1. False (with
// the reason) when they could not be read: the caller must not take that for
// "no such points".
bool PoshPointsOfType(CxSQL* sql, long typeCode, QList<long>& ids, QString* error = nullptr);
// The distinct types (nType) of the service points, in code order; false
// (with the reason) when they could not be read.
bool PoshPointTypes(CxSQL* sql, QList<long>& types, QString* error = nullptr);

// The chosen points as a temporary table of one column ROWID, named after
// the digest of the chosen ids, so equal selections give equal names.
class CSelectedPOSH {
public:
    explicit CSelectedPOSH(CxSQL* sql = nullptr);
    ~CSelectedPOSH();
    CSelectedPOSH(const CSelectedPOSH&) = delete;
    CSelectedPOSH& operator=(const CSelectedPOSH&) = delete;

    // (Re)makes the table from the application's selection; answers its name,
    // or an empty text with the reason in `error`.
    QString Create(QString* error = nullptr);
    QString GetName() const { return m_name; }
    // The names of the chosen points, in id order.
    const QStringList& GetNames() const { return m_names; }
    // The header paragraph (CPoshFilter::GetPoshList).
    QString GetPoshList() const;

private:
    CxSQL* m_sql;
    QString m_name;
    QStringList m_names;
};

namespace CPoshFilter {
// The chosen points for a report header: per organisation, "<b>code:</b> "
// and "все" when all its points are chosen, else the chosen names; empty when
// nothing is chosen.
QString GetPoshList(CxSQL* sql = nullptr);
} // namespace CPoshFilter

#pragma once
// The temporary table that maps every material (dir rows of nDirType 3) to
// its material group from the configuration's MATGROUPS list: columns bServ
// (always 0), ROWID (unique) and nMatGroup.
#include <QList>
#include <QPair>
#include <QString>

class CxSQL;

// One MATGROUPS item: a material type code and the ID of its group entry.
using MaterialGroupItem = QPair<long, long>;

// The registration script for the items in list order; items with group 0
// are group entries (or under no group) and are left out. Empty when no item
// maps a material.
QString MaterialGroupsScript(const QList<MaterialGroupItem>& items);
// The MATGROUPS items of the configuration's current language, by ascending
// code; empty without a configuration.
QList<MaterialGroupItem> ConfiguredMaterialGroups();
// Builds and registers the table (on the given connection, else the base
// connection) and answers its name; empty when the configuration maps no
// material to a group or the table could not be built.
QString BuildMaterialGroupsScript(CxSQL* connection = nullptr);

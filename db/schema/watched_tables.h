#pragma once
// The data tables whose changes are counted in `watchdog` and announced to
// every running copy.
#include <QStringList>

class CxSQL;

QStringList WatchedDataTables();
// Registers every data table with the connection's change watcher.
void RegisterWatchedTables(CxSQL* sql);

#pragma once
// One entry of an ordered selection: the chooser control shows the entries,
// lets the user tick them and reorder the ticked ones; loaders fill it.
#include <QList>
#include <QString>

struct CxListSelOrder_Struct {
    bool selected = false;
    QString text;
    int id = 0; // the row id of what the entry stands for
};
using CxListSelOrderEntries = QList<CxListSelOrder_Struct>;

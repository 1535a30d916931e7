#pragma once
// What the visits view decides without a widget: the entries of its "mark
// by type" menu (button 1155).
#include <QList>
#include <QString>

class CxSQL;

struct CVisitsMarkEntry {
    long type = -1; // -1: every point; else the service-point type to mark
    QString text;   // the menu text
    bool separatorBefore = false;
};

// "Все" first; then, after a separator, one entry per type of the service
// points that are not folders, in code order, labelled by the type's text
// ("Ошибка. Код типа {code}" for a code without one). Marking a type adds
// its points to those already marked (PoshPointsOfType gives them).
QList<CVisitsMarkEntry> VisitsMarkMenu(CxSQL* sql);

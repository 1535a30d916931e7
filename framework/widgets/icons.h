#pragma once
// Icons by number. No picture files ship with the program: each icon is
// painted once by a registered painter (at 16, 24 and 32 pixels) and kept.
#include <QIcon>
#include <QPainterPath>
#include <QPointF>
#include <functional>
#include <initializer_list>

class QPainter;

class CxIcons {
public:
    // Paints the icon into a 32 by 32 square; the painter scales it.
    using Painter = std::function<void(QPainter&)>;

    static void Register(int id, Painter painter);
    static bool Has(int id);
    // An empty icon for an unknown number.
    static QIcon Get(int id);
};

// A closed outline through the points, for arrows and similar shapes.
QPainterPath ClosedPath(std::initializer_list<QPointF> points);

// Framework icons are asked for by number and answered as an icon id.
int GetVarIcon(int number);

// Framework icon numbers.
enum : int {
    VARICON_NEWFOLDER = 2692,
    VARICON_GROUPING = 2694,
    VARICON_MOVE = 2696,
    VARICON_SEARCH = 2698,
};

#include "icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
QHash<int, CxIcons::Painter>& Painters() {
    static auto* painters = new QHash<int, CxIcons::Painter>;
    return *painters;
}
QHash<int, QIcon>& Cache() {
    static auto* cache = new QHash<int, QIcon>;
    return *cache;
}

QPixmap Paint(const CxIcons::Painter& painter, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    painter(p);
    return pixmap;
}

// A manila folder, shared by the framework's folder icons.
void Folder(QPainter& p) {
    const QPainterPath path = ClosedPath({{3, 9}, {12, 9}, {14, 6}, {3, 6}});
    p.setPen(QPen(QColor(150, 110, 30), 1.2));
    p.setBrush(QColor(235, 190, 90));
    p.drawPath(path);
    p.drawRoundedRect(QRectF(3, 9, 24, 17), 1.5, 1.5);
}

struct FrameworkIcons {
    FrameworkIcons() {
        CxIcons::Register(VARICON_NEWFOLDER, [](QPainter& p) {
            Folder(p);
            p.setPen(QPen(QColor(30, 130, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(24, 18), QPointF(24, 29));
            p.drawLine(QPointF(18.5, 23.5), QPointF(29.5, 23.5));
        });
        CxIcons::Register(VARICON_GROUPING, [](QPainter& p) {
            p.setPen(QPen(QColor(90, 90, 90), 1.5));
            p.drawLine(QPointF(7, 10), QPointF(7, 25));
            p.drawLine(QPointF(7, 17), QPointF(14, 17));
            p.drawLine(QPointF(7, 25), QPointF(14, 25));
            p.setPen(QPen(QColor(150, 110, 30), 1.2));
            p.setBrush(QColor(235, 190, 90));
            p.drawRoundedRect(QRectF(2, 3, 12, 8), 1, 1);
            p.setBrush(QColor(250, 250, 250));
            p.setPen(QPen(QColor(100, 110, 130), 1.2));
            p.drawRect(QRectF(14, 14, 15, 6));
            p.drawRect(QRectF(14, 22, 15, 6));
        });
        CxIcons::Register(VARICON_MOVE, [](QPainter& p) {
            Folder(p);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 190));
            const QPainterPath arrow =
                ClosedPath({{8, 14}, {17, 14}, {17, 10}, {25, 17.5}, {17, 25}, {17, 21}, {8, 21}});
            p.drawPath(arrow);
        });
        CxIcons::Register(VARICON_SEARCH, [](QPainter& p) { // a magnifier
            p.setPen(QPen(QColor(60, 70, 90), 3));
            p.setBrush(QColor(210, 230, 250));
            p.drawEllipse(QRectF(4, 4, 16, 16));
            p.setPen(QPen(QColor(120, 80, 40), 4.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(19, 19), QPointF(28, 28));
        });
    }
} g_frameworkIcons;
} // namespace

void CxIcons::Register(int id, Painter painter) {
    Painters().insert(id, std::move(painter));
    Cache().remove(id);
}

bool CxIcons::Has(int id) {
    return Painters().contains(id);
}

QIcon CxIcons::Get(int id) {
    auto cached = Cache().constFind(id);
    if (cached != Cache().constEnd())
        return *cached;
    QIcon icon;
    const auto painter = Painters().constFind(id);
    if (painter != Painters().constEnd())
        for (int size : {16, 24, 32, 48})
            icon.addPixmap(Paint(*painter, size));
    Cache().insert(id, icon);
    return icon;
}

QPainterPath ClosedPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    path.closeSubpath();
    return path;
}

int GetVarIcon(int number) {
    return number;
}

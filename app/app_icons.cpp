// The program's icons, painted (the program ships no picture files). Each
// painter draws into a 32 by 32 square.
#include "app/icon_ids.h"
#include "command_ids.h"
#include "framework/widgets/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kOutline(70, 80, 95);

void Sheet(QPainter& p, const QColor& fill = QColor(252, 252, 252)) {
    const QPainterPath page = ClosedPath({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}});
    p.setPen(QPen(kOutline, 1.3));
    p.setBrush(fill);
    p.drawPath(page);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

void Lines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal step = 4) {
    p.setPen(QPen(QColor(140, 150, 165), 1.4));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void Person(QPainter& p, qreal x, qreal y, qreal scale, const QColor& color) {
    p.setPen(QPen(color.darker(140), 1.2));
    p.setBrush(color);
    p.drawEllipse(QPointF(x, y), 4.5 * scale, 4.5 * scale);
    QPainterPath body;
    body.moveTo(x - 8 * scale, y + 15 * scale);
    body.cubicTo(x - 8 * scale, y + 6 * scale, x + 8 * scale, y + 6 * scale, x + 8 * scale,
                 y + 15 * scale);
    body.closeSubpath();
    p.drawPath(body);
}

void Badge(QPainter& p, const QColor& color, const QString& letter) {
    p.setPen(QPen(color.darker(130), 1.2));
    p.setBrush(color);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, letter);
}

struct Icons {
    Icons() {
        // The program: a folder of client cards with a red ribbon.
        CxIcons::Register(IDR_MAINFRAME, [](QPainter& p) {
            p.setPen(QPen(QColor(30, 70, 130), 1.4));
            p.setBrush(QColor(60, 120, 200));
            p.drawRoundedRect(QRectF(3, 4, 26, 24), 3, 3);
            p.setBrush(QColor(250, 250, 250));
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(7, 8, 18, 16), 2, 2);
            Person(p, 16, 12.5, 0.6, QColor(60, 120, 200));
            p.setBrush(QColor(210, 40, 50));
            p.drawRect(QRectF(20, 4, 4, 24));
        });
        CxIcons::Register(IDI_RECORD_NEW, [](QPainter& p) { // new record
            Sheet(p);
            Lines(p, 10, 20, 13, 3);
            p.setPen(QPen(QColor(30, 140, 50), 3.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(24, 19), QPointF(24, 29));
            p.drawLine(QPointF(19, 24), QPointF(29, 24));
        });
        CxIcons::Register(IDI_RECORD_EDIT, [](QPainter& p) { // edit
            Sheet(p);
            Lines(p, 10, 22, 13, 4);
            p.setPen(QPen(QColor(120, 70, 10), 1.2));
            p.setBrush(QColor(245, 180, 40));
            const QPainterPath pencil =
                ClosedPath({{13, 27}, {14, 22}, {27, 9}, {31, 13}, {18, 26}});
            p.drawPath(pencil);
        });
        CxIcons::Register(IDI_RECORD_DELETE, [](QPainter& p) { // delete
            Sheet(p);
            Lines(p, 10, 22, 13, 3);
            p.setPen(QPen(QColor(200, 30, 40), 3.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(18, 18), QPointF(28, 28));
            p.drawLine(QPointF(28, 18), QPointF(18, 28));
        });
        CxIcons::Register(IDI_DIRECTORIES, [](QPainter& p) { // directories: a bound book
            p.setPen(QPen(QColor(90, 40, 20), 1.3));
            p.setBrush(QColor(170, 70, 40));
            p.drawRoundedRect(QRectF(6, 3, 21, 26), 2, 2);
            p.setBrush(QColor(250, 245, 230));
            p.drawRect(QRectF(10, 6, 15, 20));
            Lines(p, 13, 22, 10, 4);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(120, 50, 25));
            p.drawRect(QRectF(6, 3, 4, 26));
        });
        CxIcons::Register(IDI_CLIENTS, [](QPainter& p) { // clients
            Person(p, 20, 8, 0.85, QColor(120, 160, 210));
            Person(p, 12, 11, 1.0, QColor(60, 120, 200));
        });
        CxIcons::Register(IDI_DIARY, [](QPainter& p) { // daily forms: a calendar sheet
            p.setPen(QPen(kOutline, 1.3));
            p.setBrush(QColor(252, 252, 252));
            p.drawRoundedRect(QRectF(4, 6, 24, 23), 2, 2);
            p.setBrush(QColor(200, 50, 50));
            p.drawRect(QRectF(4, 6, 24, 6));
            p.setPen(QPen(kOutline, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 3), QPointF(10, 8));
            p.drawLine(QPointF(22, 3), QPointF(22, 8));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(120, 135, 155));
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    p.drawRect(QRectF(7 + c * 5, 15 + r * 4.5, 3, 2.5));
        });
        CxIcons::Register(IDI_TRAINING, [](QPainter& p) { // trainings: a board
            p.setPen(QPen(QColor(90, 60, 30), 1.3));
            p.setBrush(QColor(40, 110, 70));
            p.drawRect(QRectF(3, 4, 26, 17));
            p.setPen(QPen(QColor(235, 235, 235), 1.4));
            p.drawLine(QPointF(7, 9), QPointF(18, 9));
            p.drawLine(QPointF(7, 13), QPointF(24, 13));
            p.drawLine(QPointF(7, 17), QPointF(15, 17));
            p.setPen(QPen(QColor(90, 60, 30), 2));
            p.drawLine(QPointF(10, 21), QPointF(7, 29));
            p.drawLine(QPointF(22, 21), QPointF(25, 29));
        });
        CxIcons::Register(IDI_TRAININGS, [](QPainter& p) { // trainings journal
            Person(p, 10, 8, 0.7, QColor(60, 150, 100));
            Person(p, 22, 8, 0.7, QColor(60, 150, 100));
            Person(p, 16, 14, 0.8, QColor(40, 110, 70));
        });
        CxIcons::Register(IDI_PRINT, [](QPainter& p) { // print
            p.setPen(QPen(kOutline, 1.3));
            p.setBrush(QColor(252, 252, 252));
            p.drawRect(QRectF(9, 3, 14, 10));
            p.setBrush(QColor(150, 160, 175));
            p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
            p.setBrush(QColor(252, 252, 252));
            p.drawRect(QRectF(9, 19, 14, 10));
            Lines(p, 11, 21, 22, 2, 3);
        });
        CxIcons::Register(IDI_TO_EXCEL, [](QPainter& p) { // to Excel: a green grid sheet
            Sheet(p, QColor(235, 248, 238));
            p.setPen(QPen(QColor(40, 130, 70), 1.1));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(9, 12 + i * 4.5), QPointF(24, 12 + i * 4.5));
            p.drawLine(QPointF(14, 12), QPointF(14, 25.5));
            p.drawLine(QPointF(19, 12), QPointF(19, 25.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 120, 60));
            p.drawRoundedRect(QRectF(1, 15, 13, 13), 2, 2);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(QPointF(4, 18), QPointF(11, 25));
            p.drawLine(QPointF(11, 18), QPointF(4, 25));
        });
        CxIcons::Register(IDI_PREVIEW, [](QPainter& p) { // preview
            Sheet(p);
            Lines(p, 10, 22, 8, 2);
            p.setPen(QPen(QColor(60, 70, 90), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(21, 23), QPointF(28, 30));
            p.setPen(QPen(QColor(60, 70, 90), 1.6));
            p.setBrush(QColor(200, 225, 250, 220));
            p.drawEllipse(QPointF(17, 19), 6, 6);
        });
        CxIcons::Register(IDI_BACKUP, [](QPainter& p) { // backup: a database with an arrow
            p.setPen(QPen(QColor(60, 80, 110), 1.3));
            p.setBrush(QColor(170, 190, 215));
            p.drawRect(QRectF(4, 8, 18, 16));
            p.drawEllipse(QRectF(4, 20, 18, 7));
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(4.7, 21, 16.6, 3));
            p.setPen(QPen(QColor(60, 80, 110), 1.3));
            p.setBrush(QColor(205, 220, 240));
            p.drawEllipse(QRectF(4, 5, 18, 7));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 140, 50));
            const QPainterPath arrow =
                ClosedPath({{23, 13}, {29, 13}, {29, 21}, {32, 21}, {26, 28}, {20, 21}, {23, 21}});
            p.drawPath(arrow);
        });
        CxIcons::Register(IDI_SETTINGS, [](QPainter& p) { // settings: a gear
            p.setPen(QPen(QColor(70, 80, 95), 1.2));
            p.setBrush(QColor(150, 160, 175));
            QPainterPath gear;
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(16, 16);
                p.rotate(i * 45);
                p.drawRect(QRectF(-2.5, -14, 5, 6));
                p.restore();
            }
            p.drawEllipse(QPointF(16, 16), 10, 10);
            p.setBrush(QColor(252, 252, 252));
            p.drawEllipse(QPointF(16, 16), 4, 4);
        });
        CxIcons::Register(IDI_ABOUT,
                          [](QPainter& p) { Badge(p, QColor(40, 110, 200), QStringLiteral("i")); });
        // Journal and form icons of the document templates.
        CxIcons::Register(IDI_DOCUMENT, [](QPainter& p) {
            Sheet(p);
            Lines(p, 10, 22, 12, 4);
        });
        // Directory tabs and forms.
        CxIcons::Register(IDI_MATERIALS, [](QPainter& p) { // materials: a box
            p.setPen(QPen(QColor(120, 80, 30), 1.3));
            p.setBrush(QColor(222, 170, 95));
            p.drawRect(QRectF(5, 11, 22, 17));
            p.setBrush(QColor(240, 200, 130));
            p.drawPolygon(ClosedPath({{5, 11}, {10, 5}, {32, 5}, {27, 11}}).toFillPolygon());
            p.setPen(QPen(QColor(120, 80, 30), 2));
            p.drawLine(QPointF(16, 11), QPointF(16, 28));
        });
        CxIcons::Register(IDI_POINTS, [](QPainter& p) { // service points: a pin
            p.setPen(QPen(QColor(150, 30, 30), 1.3));
            p.setBrush(QColor(220, 60, 60));
            QPainterPath pin;
            pin.moveTo(16, 30);
            pin.cubicTo(6, 18, 6, 4, 16, 4);
            pin.cubicTo(26, 4, 26, 18, 16, 30);
            p.drawPath(pin);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(16, 13), 4, 4);
        });
        CxIcons::Register(IDI_DRUGS, [](QPainter& p) { // drugs: a capsule
            p.setPen(QPen(QColor(90, 60, 130), 1.3));
            p.translate(16, 16);
            p.rotate(-40);
            p.setBrush(QColor(170, 130, 220));
            p.drawRoundedRect(QRectF(-12, -5, 12, 10), 5, 5);
            p.setBrush(QColor(245, 245, 250));
            p.drawRoundedRect(QRectF(0, -5, 12, 10), 5, 5);
        });
        CxIcons::Register(IDI_STAFF, [](QPainter& p) { // project staff
            Person(p, 11, 9, 0.85, QColor(90, 140, 200));
            Person(p, 21, 12, 0.95, QColor(70, 160, 120));
        });
        CxIcons::Register(IDI_DONORS, [](QPainter& p) { // funding sources: a coin
            Badge(p, QColor(200, 150, 30), QStringLiteral("$"));
        });
        CxIcons::Register(IDI_MATERIAL_GROUPS, [](QPainter& p) { // material groups: stacked sheets
            p.translate(-3, 3);
            Sheet(p, QColor(225, 235, 250));
            p.translate(6, -6);
            Sheet(p);
            Lines(p, 10, 22, 13, 3);
        });
    }
} g_icons;
} // namespace

#pragma once
// Typing any text into a widget as a user would: one key press and release
// per character, carrying the character (QTest::keyClicks takes Latin-1
// only).
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

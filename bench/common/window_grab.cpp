#include "bench/common/window_grab.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

bool SaveWindowPicture(QWidget* window, const QString& file) {
    QCoreApplication::processEvents();
    if (window->grab().save(file))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    return false;
}

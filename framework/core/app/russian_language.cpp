#include "russian_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

bool InstallRussianLanguage() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // One translator per application object; a later application (the tests
    // make several) gets its own.
    static QPointer<QTranslator> installed;
    if (installed && installed->parent() == app)
        return true;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

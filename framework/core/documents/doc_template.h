#pragma once
// Document templates: which view, document and frame classes make one kind
// of window. The application registers its templates once; a command address
// names a template by its document class (reports) or its view class
// (journals, forms), and the widget layer opens the window from it.
#include <QList>
#include <QString>

struct QMetaObject;

struct CxDocTemplate {
    int icon = 0; // the icon of its windows
    const QMetaObject* view = nullptr;
    const QMetaObject* document = nullptr;
    const QMetaObject* frame = nullptr;
};

class CxDocTemplates {
public:
    // Adds a template (and makes its classes known by name); a second
    // registration of the same view and document classes replaces the first.
    static void Register(const CxDocTemplate& t);
    static QList<CxDocTemplate> All();
    // The template whose document class has that name, else the first whose
    // view class has it; null when none.
    static const CxDocTemplate* Find(const QString& name);
    // Forgets every template (tests).
    static void RemoveAll();
};

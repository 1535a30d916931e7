#pragma once
// Run-time classes: a class that windows, documents and forms are created
// from by name ("opendoc:CJDirectories", a tab of class
// "CJDirectoriesTab_Mat", the form of a list). A run-time class is the Qt
// meta-object of a QObject class whose constructor is Q_INVOKABLE and takes
// its parent (a QWidget* for windows, a QObject* for documents).
#include <QList>
#include <QMetaObject>
#include <QString>

class QObject;

using CxRuntimeClass = QMetaObject;

class CxClassRegistry {
public:
    // Makes a class known by its name (again is harmless).
    static void Register(const QMetaObject* cls);
    // The class of that name, or null.
    static const QMetaObject* Find(const QString& name);
};

// A new object of a class that is not a widget (a document), made with its
// parent; null when the class is a widget class or has no such constructor.
// Widgets are made by CxCreateWidget (framework/widgets/documents).
QObject* CxCreateObject(const QMetaObject* cls, QObject* parent = nullptr);
// Whether the class is the other one or derives from it.
bool CxIsKindOf(const QMetaObject* cls, const QMetaObject* base);

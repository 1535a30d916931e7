#include "runtime_class.h"

#include <QHash>
#include <QMutex>
#include <QObject>

namespace {
QMutex g_mutex;
QHash<QString, const QMetaObject*>& Classes() {
    static auto* classes = new QHash<QString, const QMetaObject*>;
    return *classes;
}
} // namespace

void CxClassRegistry::Register(const QMetaObject* cls) {
    if (!cls)
        return;
    QMutexLocker lock(&g_mutex);
    Classes().insert(QString::fromLatin1(cls->className()), cls);
}

const QMetaObject* CxClassRegistry::Find(const QString& name) {
    QMutexLocker lock(&g_mutex);
    return Classes().value(name, nullptr);
}

bool CxIsKindOf(const QMetaObject* cls, const QMetaObject* base) {
    return cls && base && cls->inherits(base);
}

QObject* CxCreateObject(const QMetaObject* cls, QObject* parent) {
    if (!cls)
        return nullptr;
    // A widget class takes a widget parent; QWidget lives in another module,
    // so it is recognised by name.
    for (const QMetaObject* m = cls; m; m = m->superClass())
        if (qstrcmp(m->className(), "QWidget") == 0)
            return nullptr;
    return cls->newInstance(Q_ARG(QObject*, parent));
}

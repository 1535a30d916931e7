#include "doc_template.h"

#include "framework/core/app/runtime_class.h"
#include "framework/core/tarvik_app.h"

#include <QMetaObject>
#include <QMutex>

namespace {
QMutex g_mutex;
// Pointers into the list stay valid: templates are only appended.
QList<CxDocTemplate*>& Templates() {
    static auto* templates = new QList<CxDocTemplate*>;
    return *templates;
}

QString Name(const QMetaObject* cls) {
    return cls ? QString::fromLatin1(cls->className()) : QString();
}
} // namespace

void CxDocTemplates::Register(const CxDocTemplate& t) {
    if (!t.view || !t.document)
        return;
    CxClassRegistry::Register(t.view);
    CxClassRegistry::Register(t.document);
    CxClassRegistry::Register(t.frame);
    QMutexLocker lock(&g_mutex);
    for (CxDocTemplate* known : Templates())
        if (known->view == t.view && known->document == t.document) {
            *known = t;
            return;
        }
    Templates().append(new CxDocTemplate(t));
}

QList<CxDocTemplate> CxDocTemplates::All() {
    QMutexLocker lock(&g_mutex);
    QList<CxDocTemplate> all;
    for (const CxDocTemplate* t : Templates())
        all << *t;
    return all;
}

const CxDocTemplate* CxDocTemplates::Find(const QString& name) {
    QMutexLocker lock(&g_mutex);
    for (const CxDocTemplate* t : Templates())
        if (Name(t->document) == name)
            return t;
    for (const CxDocTemplate* t : Templates())
        if (Name(t->view) == name)
            return t;
    return nullptr;
}

void CxDocTemplates::RemoveAll() {
    QMutexLocker lock(&g_mutex);
    qDeleteAll(Templates());
    Templates().clear();
}

void CTarvikApp::RegisterDocTemplate(int icon, const QMetaObject* view, const QMetaObject* document,
                                     const QMetaObject* frame) {
    CxDocTemplates::Register(CxDocTemplate{icon, view, document, frame});
}

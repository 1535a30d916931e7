#include "document.h"

CxDocument::CxDocument(QObject* parent) : QObject(parent) {}

bool CxDocument::OnNewDocument() {
    return true;
}

void CxDocument::SetTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(title);
}

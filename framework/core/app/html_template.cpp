#include "html_template.h"

#include <QFile>
#include <QRegularExpression>

CHTMLTemplate::CHTMLTemplate(unsigned resourceId) {
    Load(resourceId);
}

bool CHTMLTemplate::Load(unsigned resourceId) {
    QFile file(QStringLiteral(":/html/%1.html").arg(resourceId));
    if (!file.open(QIODevice::ReadOnly))
        return m_loaded = false;
    SetText(QString::fromUtf8(file.readAll()));
    return true;
}

void CHTMLTemplate::SetText(const QString& text) {
    m_sections.clear();
    m_order.clear();
    QString body = text;
    const qsizetype end = body.indexOf(QLatin1String("{--}"));
    if (end >= 0)
        body.truncate(end);
    static const QRegularExpression header(QStringLiteral("\\[((?:[A-Za-z][A-Za-z0-9_]*)?)\\]"));
    QString current;
    qsizetype from = 0;
    bool open = false;
    auto it = header.globalMatch(body);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (open)
            m_sections.insert(current, body.mid(from, m.capturedStart() - from).trimmed());
        current = m.captured(1);
        open = !current.isEmpty();
        if (open && !m_order.contains(current))
            m_order << current;
        from = m.capturedEnd();
    }
    if (open)
        m_sections.insert(current, body.mid(from).trimmed());
    m_loaded = true;
}

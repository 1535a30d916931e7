#include "html_template.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

CHTMLTemplate::CHTMLTemplate(unsigned resourceId) {
    Load(resourceId);
}

bool CHTMLTemplate::Load(unsigned resourceId) {
    QFile file(QStringLiteral(":/html/%1.html").arg(resourceId));
    if (!file.open(QIODevice::ReadOnly)) {
        m_sections.clear();
        m_order.clear();
        return m_loaded = false;
    }
    SetData(file.readAll());
    return true;
}

void CHTMLTemplate::SetData(const QByteArray& bytes) {
    if (auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding, QStringDecoder::Flag::Stateless);
        SetText(decoder.decode(bytes)); // the decoder drops the byte-order mark
        return;
    }
    SetText(QString::fromUtf8(bytes));
}

void CHTMLTemplate::SetText(const QString& text) {
    m_sections.clear();
    m_order.clear();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    const qsizetype end = body.indexOf(QLatin1String("{--}"));
    if (end >= 0)
        body.truncate(end);
    // A marker stands alone on its line, so brackets inside the HTML (a CSS
    // attribute selector, a text in brackets) never open a section.
    static const QRegularExpression header(
        QStringLiteral("^[ \\t]*\\[((?:[A-Za-z][A-Za-z0-9_.]*)?)\\][ \\t]*\\r?$"),
        QRegularExpression::MultilineOption);
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

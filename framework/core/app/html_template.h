#pragma once
// A sectioned text template: each section opens with its name in square
// brackets on a line of its own ("[BODY]", "[SM.ROW]") and ends at the next
// "[]" (or the next section); text after the marker "{--}" is not part of any
// section. Templates are found by number in the Qt resources as
// ":/html/<number>.html", in UTF-8, or in UTF-16 when the file starts with a
// byte-order mark. Placeholders in a section ("%TITLE%") are filled by the
// caller (CxString::StrTr).
#include <QHash>
#include <QString>
#include <QStringList>

class CHTMLTemplate {
public:
    CHTMLTemplate() = default;
    explicit CHTMLTemplate(unsigned resourceId);

    bool Load(unsigned resourceId);
    bool LoadTemplate(unsigned resourceId) { return Load(resourceId); }
    // Reads a template from its file bytes (a byte-order mark chooses UTF-16).
    void SetData(const QByteArray& bytes);
    void SetText(const QString& text);
    bool IsLoaded() const { return m_loaded; }
    // The section's text; empty for a section the template lacks.
    QString GetSection(const QString& name) const { return m_sections.value(name); }
    QString GetTemplate(const QString& name) const { return GetSection(name); }
    bool HasSection(const QString& name) const { return m_sections.contains(name); }
    QStringList SectionNames() const { return m_order; }

private:
    bool m_loaded = false;
    QHash<QString, QString> m_sections;
    QStringList m_order;
};

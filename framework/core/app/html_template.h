#pragma once
// A sectioned text template: each section opens with its name in square
// brackets ("[BODY]") and ends at the next "[]" (or the next section); text
// after the marker "{--}" is not part of any section. Templates are found by
// number in the Qt resources as ":/html/<number>.html".
#include <QHash>
#include <QString>

class CHTMLTemplate {
public:
    CHTMLTemplate() = default;
    explicit CHTMLTemplate(unsigned resourceId);

    bool Load(unsigned resourceId);
    void SetText(const QString& text);
    bool IsLoaded() const { return m_loaded; }
    QString GetSection(const QString& name) const { return m_sections.value(name); }
    QStringList SectionNames() const { return m_order; }

private:
    bool m_loaded = false;
    QHash<QString, QString> m_sections;
    QStringList m_order;
};

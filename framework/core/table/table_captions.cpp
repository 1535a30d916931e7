#include "table_captions.h"

#include "framework/core/tarvik_app.h"

namespace {
CxTableCaptionLookup& Lookup() {
    static CxTableCaptionLookup lookup;
    return lookup;
}
} // namespace

void SetTableCaptionLookup(CxTableCaptionLookup lookup) {
    Lookup() = std::move(lookup);
}

QString TableCaption(const QString& sqlTable) {
    const QString caption = Lookup() ? Lookup()(sqlTable).trimmed() : QString();
    return caption.isEmpty() ? UnnamedTableCaption() : caption;
}

QString UnnamedTableCaption() {
    return CTarvikApp::TranslateString(QStringLiteral("Служебные данные"),
                                       QStringLiteral("msgUnnamedTable"));
}

void CxTableRowTally::Add(const QString& sqlTable, qint64 rows) {
    const QString caption = TableCaption(sqlTable);
    m_total += rows;
    for (auto& entry : m_captions)
        if (entry.first == caption) {
            entry.second += rows;
            return;
        }
    m_captions.append({caption, rows});
}

QStringList CxTableRowTally::Lines() const {
    QStringList lines;
    for (const auto& entry : m_captions)
        lines << QStringLiteral("%1: %2").arg(entry.first).arg(entry.second);
    return lines;
}

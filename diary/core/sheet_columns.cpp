#include "sheet_columns.h"

#include "diary_verdict.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {
// Where the rebuild puts the columns it adds: after every column there is.
constexpr qint64 kFirstNewPosition = 65535;
// Positions of the directory look-ups, for the error list.
constexpr int kListedItemPosition = 18150;

void AddNote(QStringList* notes, const QString& text) {
    if (notes && !notes->contains(text))
        notes->append(text);
}

struct Descriptor {
    CSheetColumn column;
    qint64 position = 0; // where the column sorts
    int source = -1;     // its column in the sheet before the rebuild
    bool removed = false;
};

class ColumnSet {
public:
    void Add(const CSheetColumn& column, qint64 position, int source) {
        if (m_index.contains(column.key))
            return;
        m_index.insert(column.key, int(m_list.size()));
        m_list.append({column, position, source, false});
    }
    Descriptor* Find(const CSheetColumnKey& key) {
        const auto it = m_index.constFind(key);
        return it == m_index.constEnd() || m_list[*it].removed ? nullptr : &m_list[*it];
    }
    QList<Descriptor>& List() { return m_list; }

private:
    QList<Descriptor> m_list;
    QHash<CSheetColumnKey, int> m_index;
};

// keepMissing: a listed item that the directory lacks still gets a column
// (a loaded sheet's cells of such an item stay, to be saved again).
void Rebuild(CVisitsSheet* sheet, ColumnSet& set, const QList<qint32>& items,
             const CSheetMaterials& materials, const QSet<qint32>& withData, bool keepMissing,
             QStringList* notes) {
    // The listed items: names anew, columns added for what is new.
    qint64 next = kFirstNewPosition;
    for (const qint32 item : items) {
        const auto found = materials.constFind(item);
        if (found == materials.constEnd()) {
            AddNote(notes, MaterialLoadErrorText(kListedItemPosition, item));
            if (keepMissing && !set.Find({item, -1}))
                set.Add(CSheetColumn{{item, -1}}, next++, -1);
            continue;
        }
        const CSheetMaterial& m = *found;
        if (m.IsConsultation()) {
            if (!m.ByCode()) {
                QString text = DiaryText("Консультация <b>{name}</b> не ведется больше по "
                                         "коду.\nСохранине ведомости может нарушить ее структуру",
                                         "msgConsNoCodeMore");
                AddNote(notes, text.replace(QLatin1String("{name}"), m.name.toHtmlEscaped()));
            }
            const qint64 position = next++;
            for (const qint32 flag : kConsultationFlags) {
                const CSheetColumnKey key{item, flag};
                Descriptor* d = set.Find(key);
                if (!(m.specFlags & flag)) {
                    if (d)
                        d->removed = true;
                    continue;
                }
                CSheetColumn column = d ? d->column : CSheetColumn{key};
                column.itemName = m.name;
                column.flagText = ConsultationFlagText(flag);
                if (d)
                    d->column = column;
                else
                    set.Add(column, position, -1);
            }
        } else {
            const CSheetColumnKey key{item, -1};
            if (Descriptor* d = set.Find(key)) {
                d->column.itemName = m.name;
            } else {
                CSheetColumn column{key};
                column.itemName = m.name;
                set.Add(column, next++, -1);
            }
        }
    }

    // What stays, in order: the client column, columns holding values, the
    // listed items' columns.
    const QSet<qint32> listed(items.cbegin(), items.cend());
    QList<Descriptor> kept;
    for (const Descriptor& d : set.List()) {
        const qint32 item = d.column.key.item;
        if (!d.removed &&
            (d.column.key.IsClient() || withData.contains(item) || listed.contains(item)))
            kept.append(d);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Descriptor& a, const Descriptor& b) {
        return a.position < b.position;
    });

    QList<CSheetColumn> columns;
    QList<int> sources;
    for (Descriptor d : kept) {
        CSheetColumn& c = d.column;
        if (c.key.IsClient()) {
            c.kind = ESheetColumnKind::Client;
        } else if (c.key.flag != -1) {
            c.kind = ESheetColumnKind::YesNo;
        } else {
            const auto found = materials.constFind(c.key.item);
            if (found == materials.constEnd()) {
                AddNote(notes, DiaryText("Ошибка определения типа материала",
                                         "CDDiaryVisits::UpdateColumns"));
                c.kind = ESheetColumnKind::Text;
            } else {
                c.kind = found->IsService() ? ESheetColumnKind::YesNo : ESheetColumnKind::Count;
            }
        }
        columns.append(c);
        sources.append(d.source);
    }
    sheet->ReplaceColumns(columns, sources);

    // A 0/1 column that was shown reads 1 or 0 in every row.
    for (int c = 0; c < columns.size(); ++c) {
        if (sources[c] < 0 || columns[c].kind != ESheetColumnKind::YesNo)
            continue;
        for (int r = 0; r < sheet->RowCount(); ++r)
            sheet->SetText(r, c, sheet->Number(r, c) ? QStringLiteral("1") : QStringLiteral("0"));
    }
}
} // namespace

void UpdateSheetColumns(CVisitsSheet* sheet, const QList<qint32>& items,
                        const CSheetMaterials& materials, QStringList* notes) {
    ColumnSet set;
    QSet<qint32> withData;
    for (int c = 0; c < sheet->ColumnCount(); ++c) {
        const CSheetColumn& column = sheet->Column(c);
        set.Add(column, c, c);
        if (column.key.IsClient() || withData.contains(column.key.item))
            continue;
        for (int r = 0; r < sheet->RowCount(); ++r)
            if (sheet->Number(r, c) != 0) {
                withData.insert(column.key.item);
                break;
            }
    }
    Rebuild(sheet, set, items, materials, withData, false, notes);
}

bool UpdateSheetColumns(CxSQL* sql, CVisitsSheet* sheet, const QList<qint32>& items,
                        QStringList* notes, QString* error) {
    CSheetMaterials materials;
    if (!LoadSheetMaterials(sql, items + sheet->Items(), &materials, error))
        return false;
    UpdateSheetColumns(sheet, items, materials, notes);
    return true;
}

void LayOutLoadedSheet(CVisitsSheet* sheet, const QList<CStoredSheetColumn>& stored,
                       const QList<qint32>& items, const CSheetMaterials& materials,
                       QStringList* notes) {
    ColumnSet set;
    qint64 position = 0;
    for (const CStoredSheetColumn& s : stored) {
        CSheetColumn column{s.key};
        column.width = qMax(0, s.width);
        set.Add(column, position++, -1);
    }
    if (!set.Find(kClientColumnKey))
        set.Add(CSheetColumn{kClientColumnKey}, -1, -1);
    // The client column keeps its cells (the sheet has no rows yet, but a
    // loader may have made them before laying the columns out).
    set.Find(kClientColumnKey)->source = sheet->ClientColumn();
    Rebuild(sheet, set, items, materials, QSet<qint32>(), true, notes);
}

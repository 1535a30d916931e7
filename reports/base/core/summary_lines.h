#pragma once
// The numeric tables of the reports: CSummaryLines is a tree of numbered
// lines, each with its own values and, after CalcTotals, the totals of
// everything below it; CMemNDX is a key of several integers (one per
// grouping level) that finds a line from a result row.
#include <QHash>
#include <QList>
#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

// A growable array of doubles.
class CDoubleArr {
public:
    int GetSize() const { return int(m_values.size()); }
    void SetSize(int size) { m_values.resize(size, 0.0); }
    double GetAt(int i) const { return m_values.at(i); }
    double& operator[](int i) { return m_values[i]; }
    double operator[](int i) const { return m_values.at(i); }
    // Adds the other array element by element, first growing this one with
    // zeros to the other's length.
    void Add(const CDoubleArr& other);
    void Copy(const CDoubleArr& other) { m_values = other.m_values; }
    void RemoveAll() { m_values.clear(); }
    void Append(double value) { m_values.append(value); }

private:
    QList<double> m_values;
};

// A key of several signed 32-bit parts.
template <class T> class CMemNDX {
public:
    void Add(T part) {
        m_parts.push_back(part);
        m_hashValid = false;
    }
    // Keeps the first n parts.
    void SetCount(int n) {
        m_parts.resize(size_t(n));
        m_hashValid = false;
    }
    void RemoveAll() { SetCount(0); }
    int GetCount() const { return int(m_parts.size()); }
    T GetAt(int i) const { return m_parts.at(size_t(i)); }
    // h = 0, then for each part h = (h * 2) XOR (part + 1), in 32 bits.
    quint32 CalcHash() const {
        if (!m_hashValid) {
            quint32 h = 0;
            for (T part : m_parts)
                h = (h << 1) ^ quint32(qint32(part) + 1);
            m_hash = h;
            m_hashValid = true;
        }
        return m_hash;
    }
    bool operator==(const CMemNDX& other) const { return m_parts == other.m_parts; }

private:
    std::vector<T> m_parts;
    mutable quint32 m_hash = 0;
    mutable bool m_hashValid = false;
};

template <class T> size_t qHash(const CMemNDX<T>& key, size_t seed = 0) {
    return size_t(key.CalcHash()) ^ seed;
}

template <class ARR> class CSummaryLines;

// One line of a summary tree; owns the lines below it.
template <class ARR> class CSummaryLine {
public:
    ARR& GetValues() { return m_values; }
    ARR& GetTotals() { return m_totals; }
    CSummaryLine* GetParent() const { return m_parent; }
    // The lines below, in display order (creation order until Sort).
    const QList<CSummaryLine*>& GetChildren() const { return m_children; }
    long GetID() const { return m_id; }
    long GetSortKey() const { return m_sortKey; }
    long GetKind() const { return m_kind; }
    const QString& GetTitle() const { return m_title; }

    // Totals = own values plus the totals of every line below; the own values
    // grow with zeros to the totals' length.
    void CalcTotals() {
        m_totals.Copy(m_values);
        for (CSummaryLine* child : std::as_const(m_children)) {
            child->CalcTotals();
            m_totals.Add(child->m_totals);
        }
        if (m_totals.GetSize() > m_values.GetSize())
            m_values.SetSize(m_totals.GetSize());
    }

    // Orders the lines below by ascending sort key; equal keys keep their order.
    void Sort() {
        std::stable_sort(m_children.begin(), m_children.end(),
                         [](const CSummaryLine* a, const CSummaryLine* b) {
                             return a->m_sortKey < b->m_sortKey;
                         });
    }

    // 1 for a line without lines below, else 1 + the deepest line below.
    int GetDepth() const {
        int deepest = 0;
        for (const CSummaryLine* child : m_children)
            deepest = std::max(deepest, child->GetDepth());
        return 1 + deepest;
    }

private:
    friend class CSummaryLines<ARR>;
    ARR m_values;
    ARR m_totals;
    CSummaryLine* m_parent = nullptr;
    QList<CSummaryLine*> m_children;
    std::vector<std::unique_ptr<CSummaryLine>> m_owned;
    long m_sortKey = 0;
    long m_id = 0;
    QString m_title;
    long m_kind = 0;
};

// The tree; it is itself the root line (id 0).
template <class ARR> class CSummaryLines : public CSummaryLine<ARR> {
public:
    using Line = CSummaryLine<ARR>;
    static constexpr long kRootID = 0;

    CSummaryLines() { m_lines.reserve(1024); }

    // Adds a line under the parent (the root for id 0). Answers 0 and adds
    // nothing when no line has the parent id.
    int AddLine(long id, long parentId, const QString& title, long kind, long sortKey) {
        Line* parent = FindLine(parentId);
        if (!parent)
            return 0;
        auto owned = std::make_unique<Line>();
        Line* line = owned.get();
        line->m_parent = parent;
        line->m_id = id;
        line->m_title = title;
        line->m_kind = kind;
        line->m_sortKey = sortKey;
        parent->m_owned.push_back(std::move(owned));
        parent->m_children.append(line);
        m_lines.insert(id, line);
        m_totalsValid = false;
        return 1;
    }

    // Adds the values into the line's own values; 0 when no line has the id.
    int AddValues(long id, const ARR& values) {
        Line* line = FindLine(id);
        if (!line)
            return 0;
        line->m_values.Add(values);
        m_totalsValid = false;
        return 1;
    }

    // The line of an id (the root for 0); null when none.
    Line* FindLine(long id) {
        if (id == kRootID)
            return this;
        return m_lines.value(id);
    }

    void SetRootTitle(const QString& title) { this->m_title = title; }
    bool TotalsValid() const { return m_totalsValid; }
    void SetTotalsValid() { m_totalsValid = true; }

private:
    QHash<long, Line*> m_lines;
    bool m_totalsValid = false;
};

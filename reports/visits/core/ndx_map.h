#pragma once
// Hands out indexes 1, 2, ... to keys in the order they are first seen; the
// pivot reports name their rows and columns by these indexes.
#include <QHash>
#include <QPair>
#include <memory>

// A pivot key: (grouping or kind, value).
using CPivotKey = QPair<long, long>;

template <class K> class CNdxToIDMap {
public:
    // withReverse: also keep index -> key.
    explicit CNdxToIDMap(bool withReverse = false) {
        if (withReverse)
            m_reverse = std::make_unique<QHash<long, K>>();
    }
    void InitHashTable(int size) { m_map.reserve(size); }

    // The key's index; a new key gets the next one. isNew (when given) says
    // which.
    long GetNdx(const K& key, int* isNew = nullptr) {
        if (const auto it = m_map.constFind(key); it != m_map.cend()) {
            if (isNew)
                *isNew = 0;
            return it.value();
        }
        const long index = ++m_count;
        m_map.insert(key, index);
        if (m_reverse)
            m_reverse->insert(index, key);
        if (isNew)
            *isNew = 1;
        return index;
    }
    // The key's index, -1 for an unknown key.
    long FindNdx(const K& key) const { return m_map.value(key, -1); }
    // The key of an index (with the reverse map); null when unknown.
    const K* FindKey(long index) const {
        if (!m_reverse)
            return nullptr;
        const auto it = m_reverse->constFind(index);
        return it != m_reverse->cend() ? &it.value() : nullptr;
    }
    int GetCount() const { return int(m_count); }

private:
    QHash<K, long> m_map;
    long m_count = 0;
    std::unique_ptr<QHash<long, K>> m_reverse;
};

#pragma once
// CxMap: a map from a signed 32-bit key to a value, kept as a doubly linked
// list in ascending key order. A sorted index of element pointers makes
// look-up, insertion and removal a bisection; a one-element cache makes
// repeated look-ups of one key constant-time.
#include <algorithm>
#include <utility>
#include <vector>

// An opaque scanning position (null stands before the first element).
using POSITION = void*;

template <class KEY, class VALUE> class CxMap {
public:
    struct ELSTR {
        virtual ~ELSTR() = default;
        ELSTR* prev = nullptr;
        ELSTR* next = nullptr;
        KEY key{};
        VALUE value{};
    };

    CxMap() { BuildIndex(128); }
    CxMap(const CxMap& other) : CxMap() { CopyFrom(other); }
    CxMap& operator=(const CxMap& other) {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    virtual ~CxMap() {
        DropIndex();
        RemoveAll();
    }

    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    ELSTR* GetHead() const { return m_pFirst; }
    ELSTR* GetTail() const { return m_pLast; }
    int GetIndexStep() const { return m_nIndexStep; }

    // The element of the key; with nearest set, the first element with a
    // greater key when the key is absent.
    ELSTR* Find(KEY key, int nearest = 0) const { return FindKey(key, nearest); }
    ELSTR* FindKey(const KEY& key, int nearest = 0) const {
        if (m_bCache && m_pLastFound && m_pLastFound->key == key)
            return m_pLastFound;
        if (!m_nCount) {
            m_pLastFound = nullptr;
            return nullptr;
        }
        ELSTR* result = nullptr;
        if (!m_nIndexStep) {
            ELSTR* el = m_pFirst;
            for (; el; el = el->next) {
                int cmp = CompareKeys(&key, &el->key);
                if (cmp == 0) {
                    m_pLastFound = el;
                    return el;
                }
                if (cmp < 0)
                    break;
            }
            result = nearest ? el : nullptr;
        } else {
            int pos = BinarySearch(key, 0, m_nCount - 1, nearest ? 0 : 1);
            if (pos >= 0 && pos < m_nCount)
                result = m_index[pos];
        }
        m_pLastFound = result;
        return result;
    }

    bool Lookup(KEY key, VALUE& value) const {
        ELSTR* el = Find(key);
        if (el)
            value = el->value;
        return el != nullptr;
    }

    // The element of the key, added (with a value-initialised value) when
    // missing; null only when no element could be made.
    virtual ELSTR* FindOrAdd(KEY key, int clear = 0) {
        (void)clear; // a new value is always value-initialised
        m_pLastFound = nullptr;
        ELSTR* pred = nullptr;
        int pos = -1;
        if (m_nIndexStep) {
            pos = BinarySearch(key, 0, m_nCount - 1, 0);
            if (pos < m_nCount && m_index[pos]->key == key)
                return m_index[pos];
            pred = pos > 0 ? m_index[pos - 1] : nullptr;
        } else {
            for (ELSTR* el = m_pFirst; el; el = el->next) {
                int cmp = CompareKeys(&key, &el->key);
                if (cmp == 0)
                    return el;
                if (cmp < 0)
                    break;
                pred = el;
            }
        }
        ELSTR* el = NewElement();
        if (!el)
            return nullptr;
        el->key = key;
        ++m_nCount;
        if (m_nIndexStep)
            InsertIndexAt(pos, el);
        el->prev = pred;
        el->next = pred ? pred->next : m_pFirst;
        if (el->next)
            el->next->prev = el;
        else
            m_pLast = el;
        if (pred)
            pred->next = el;
        else
            m_pFirst = el;
        return el;
    }
    virtual ELSTR* FindOrAddKey(const KEY& key) { return FindOrAdd(key, 0); }
    VALUE& operator[](KEY key) { return FindOrAdd(key)->value; }

    virtual int RemoveElement(ELSTR* el) {
        if (m_nIndexStep)
            return RemoveKey(el->key);
        if (!m_nCount)
            return 0;
        Unlink(el);
        return 1;
    }
    virtual int Remove(KEY key) { return RemoveKey(key); }
    virtual int RemoveKey(const KEY& key) {
        ELSTR* el = nullptr;
        if (m_nIndexStep) {
            int pos = BinarySearch(key, 0, m_nCount - 1, 1);
            if (pos < 0) {
                m_pLastFound = nullptr;
                return 0;
            }
            el = m_index[pos];
            std::copy(m_index.begin() + pos + 1, m_index.begin() + m_nCount, m_index.begin() + pos);
            m_index[m_nCount - 1] = nullptr;
        } else {
            m_pLastFound = nullptr;
            el = FindKey(key, 0);
        }
        m_pLastFound = nullptr;
        if (!el)
            return 0;
        Unlink(el);
        return 1;
    }

    virtual void RemoveAll() {
        m_pLastFound = nullptr;
        int step = DropIndex();
        for (ELSTR* el = m_pFirst; el;) {
            ELSTR* next = el->next;
            delete el;
            el = next;
        }
        m_pFirst = m_pLast = nullptr;
        m_nCount = 0;
        if (step)
            BuildIndex(step);
    }

    // Turns the sorted index on with the given growth step (0 leaves it off);
    // answers 1 when the index stands.
    virtual int BuildIndex(int step) {
        DropIndex();
        if (step <= 0)
            return 0;
        m_nIndexStep = step;
        m_nIndexCapacity = std::max(step, m_nCount);
        m_index.assign(m_nIndexCapacity, nullptr);
        FillIndex();
        if (m_nCount > 1)
            SortIndex(0, m_nCount - 1);
        return 1;
    }
    virtual int DropIndex() {
        if (!m_nIndexStep)
            return 0;
        int step = m_nIndexStep;
        m_nIndexStep = 0;
        m_nIndexCapacity = 0;
        std::vector<ELSTR*>().swap(m_index);
        return step;
    }

    // Bisection over index positions low..high. A search that is not exact
    // answers the position at which the key would be inserted; an exact one
    // answers -1 for a missing key.
    int BinarySearch(const KEY& key, int low, int high, int exact) const {
        for (;;) {
            int middle = (low + high) / 2;
            if (high - low < 1) {
                if (middle == m_nCount)
                    return exact ? -1 : middle;
                int cmp = CompareKeys(&key, &m_index[middle]->key);
                if (cmp <= 0) {
                    if (cmp == 0)
                        return middle;
                    return exact ? -1 : middle;
                }
                return exact ? -1 : middle + 1;
            }
            int cmp = CompareKeys(&key, &m_index[middle]->key);
            if (cmp > 0)
                low = middle + 1;
            else if (cmp == 0)
                return middle;
            else
                high = middle - 1;
        }
    }

    // Steps through the elements in key order: a null position takes the
    // first element, every further call the next one.
    bool ScanNext(ELSTR*& pos) const {
        pos = pos ? pos->next : m_pFirst;
        return pos != nullptr;
    }
    bool ScanNext(POSITION& pos) const {
        ELSTR* el = static_cast<ELSTR*>(pos);
        bool more = ScanNext(el);
        pos = el;
        return more;
    }
    static ELSTR* GetAt(POSITION pos) { return static_cast<ELSTR*>(pos); }

protected:
    virtual void InsertIndexAt(int position, ELSTR* el) {
        if (m_nCount > m_nIndexCapacity) {
            m_nIndexCapacity += m_nIndexStep;
            m_index.resize(m_nIndexCapacity, nullptr);
        }
        if (position == -1) {
            m_index[m_nCount - 1] = el;
            return;
        }
        std::copy_backward(m_index.begin() + position, m_index.begin() + m_nCount - 1,
                           m_index.begin() + m_nCount);
        m_index[position] = el;
    }
    virtual void SortIndex(int low, int high) {
        std::sort(m_index.begin() + low, m_index.begin() + high + 1,
                  [this](ELSTR* a, ELSTR* b) { return CompareKeys(&a->key, &b->key) < 0; });
    }
    virtual void FillIndex() {
        int i = 0;
        for (ELSTR* el = m_pFirst; el; el = el->next)
            m_index[i++] = el;
    }
    virtual int CompareKeys(const KEY* a, const KEY* b) const {
        if (*a == *b)
            return 0;
        return *a > *b ? 1 : -1;
    }
    virtual ELSTR* NewElement() { return new ELSTR; }

private:
    void Unlink(ELSTR* el) {
        if (el->prev)
            el->prev->next = el->next;
        else
            m_pFirst = el->next;
        if (el->next)
            el->next->prev = el->prev;
        else
            m_pLast = el->prev;
        delete el;
        --m_nCount;
        m_pLastFound = nullptr;
    }
    void CopyFrom(const CxMap& other) {
        for (ELSTR* el = other.m_pFirst; el; el = el->next)
            FindOrAdd(el->key)->value = el->value;
    }

    ELSTR* m_pFirst = nullptr;
    ELSTR* m_pLast = nullptr;
    std::vector<ELSTR*> m_index;
    int m_nCount = 0;
    int m_nIndexStep = 0;
    int m_nIndexCapacity = 0;
    mutable ELSTR* m_pLastFound = nullptr;
    int m_bCache = 1;
};

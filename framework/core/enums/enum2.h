#pragma once
// Enumerations: closed lists of values stored as numbers. Each item has a
// code (the stored value), an identifier, a display text (translated when the
// item is added) and a description. Mode 1 holds single values; any other mode
// is a bit set whose items are powers of two. Table columns, combo lists and
// reports reach an enumeration through the CEnum2 interface.
#include "framework/core/containers/cx_map.h"
#include "framework/core/containers/cx_obj.h"

#include <QHash>
#include <QString>

// The item record; each enumeration derives its own (sSex, sClientGroup...).
struct sEnum2 {
    QString cName; // identifier, an English word; may be empty
    long nCode = 0;
    QString cText; // display text, already translated
    QString cDesc; // longer text; empty for most enumerations

    long GetCode() const { return nCode; }
    const QString& GetName() const { return cName; }
    const QString& GetText() const { return cText; }
    const QString& GetDesc() const { return cDesc; }
};

// What an enumeration keeps derived from its items (built SQL texts); it is
// dropped whenever an item is added.
struct CEnum2Cache {
    QHash<QString, QString> sql;
};

class CEnum2 {
public:
    explicit CEnum2(int mode = 1) : m_nMode(mode) {}
    virtual ~CEnum2() = default;
    CEnum2(const CEnum2&) = delete;
    CEnum2& operator=(const CEnum2&) = delete;

    int GetMode() const { return m_nMode; }
    bool IsBitSet() const { return m_nMode != 1; }

    // Scanning in ascending code order: start with InitScan_sEnum2, then call
    // ScanNext_sEnum2 until it answers 0.
    virtual POSITION InitScan_sEnum2() const = 0;
    virtual int ScanNext_sEnum2(POSITION& pos) const = 0;
    virtual sEnum2* Current_sEnum2(POSITION pos) const = 0;
    virtual long Index_sEnum2(POSITION pos) const = 0;
    virtual int GetCount_sEnum2() const = 0;
    virtual sEnum2* Lookup_sEnum2(long code) const = 0;
    // The text of the code, or the default; found (when given) says which.
    // The last argument is accepted for callers and ignored.
    virtual QString IDToString(long code, const QString& def = QString(), int* found = nullptr,
                               int mode = -1) const = 0;
    virtual QString IDToDesc(long code, const QString& def = QString(),
                             int* found = nullptr) const = 0;
    // The code of a text, or -1. Mode 0 is an exact look-up (the item added
    // last wins when two share a text); any other mode compares without case
    // and takes the first item in code order.
    virtual long FindString(const QString& text, int searchMode = 0, int* found = nullptr) const;

    // The text of a value: mode 1 the item's text (the output is left alone
    // when there is none); a bit set joins the trimmed texts of its set bits,
    // lowest first, with ", ". Answers 1 when some item was found.
    int GetValueText(quint32 value, QString& out, const QString& def = QString()) const;

    // An SQL expression that turns the codes in the column into the item
    // texts: a CASE for single values, a join of the set bits' texts for a
    // bit set. The default text stands for a code without an item.
    QString GetSQL(const QString& column, const QString& def = QString()) const;

protected:
    void DropCache() { m_cache.Attach(nullptr); }

    int m_nMode;
    mutable CxObj<CEnum2Cache*> m_cache;
};

// The name other layers use for the enumeration interface.
using CEnum = CEnum2;

template <class T> class CEnum2Tpl : public CEnum2 {
public:
    explicit CEnum2Tpl(int mode = 1) : CEnum2(mode) {}

    // Adds the item, or overwrites the item of an existing code (which keeps
    // its place). The pointer stays valid for the enumeration's life.
    T* Add(long code, const QString& identifier, const QString& text,
           const QString& description = QString()) {
        auto* el = m_items.FindOrAdd(code, 0);
        if (!el)
            return nullptr;
        T* item = &el->value;
        item->nCode = code;
        item->cName = identifier;
        item->cText = text;
        item->cDesc = description;
        if (!identifier.isEmpty())
            m_identIndex.insert(identifier, item);
        if (!text.isEmpty())
            m_textIndex.insert(text, item);
        DropCache();
        return item;
    }

    // Empties the enumeration and both text indexes.
    void RemoveAll() {
        m_items.RemoveAll();
        m_textIndex.clear();
        m_identIndex.clear();
        DropCache();
    }

    T* Lookup(long code) const {
        auto* el = m_items.Find(code);
        return el ? &el->value : nullptr;
    }
    T* Current(POSITION pos) const { return pos ? &CxMap<long, T>::GetAt(pos)->value : nullptr; }
    // The item of an identifier (the last one added under it), or null.
    T* FindIdentifier(const QString& identifier) const { return m_identIndex.value(identifier); }

    POSITION InitScan_sEnum2() const override { return nullptr; }
    int ScanNext_sEnum2(POSITION& pos) const override { return m_items.ScanNext(pos) ? 1 : 0; }
    sEnum2* Current_sEnum2(POSITION pos) const override { return Current(pos); }
    long Index_sEnum2(POSITION pos) const override {
        return pos ? CxMap<long, T>::GetAt(pos)->key : 0;
    }
    int GetCount_sEnum2() const override { return m_items.GetCount(); }
    sEnum2* Lookup_sEnum2(long code) const override { return Lookup(code); }
    QString IDToString(long code, const QString& def = QString(), int* found = nullptr,
                       int mode = -1) const override {
        (void)mode;
        const T* item = Lookup(code);
        if (found)
            *found = item ? 1 : 0;
        return item ? item->cText : def;
    }
    QString IDToDesc(long code, const QString& def = QString(),
                     int* found = nullptr) const override {
        const T* item = Lookup(code);
        if (found)
            *found = item ? 1 : 0;
        return item ? item->cDesc : def;
    }
    long FindString(const QString& text, int searchMode = 0, int* found = nullptr) const override {
        if (searchMode != 0)
            return CEnum2::FindString(text, searchMode, found);
        const T* item = m_textIndex.value(text);
        if (found)
            *found = item ? 1 : 0;
        return item ? item->nCode : -1;
    }

protected:
    CxMap<long, T> m_items;
    QHash<QString, T*> m_textIndex;
    QHash<QString, T*> m_identIndex;
};

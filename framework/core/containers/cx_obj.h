#pragma once
// Owning holders: CxObj keeps one object pointer and deletes the object it
// owns; CxObjAutoAlloc creates its object at the first Get (the enumeration
// singletons); CxObjArray owns an array of pointers.
#include <QList>

class CxPointer {};

template <class TPtr> class CxObj;

template <class T> class CxObj<T*> : public CxPointer {
public:
    constexpr CxObj() = default;
    constexpr explicit CxObj(T* p, int owns = 1) : m_pObject(p), m_bOwns(owns) {}
    ~CxObj() { Free(); }
    CxObj(const CxObj&) = delete;
    CxObj& operator=(const CxObj&) = delete;

    // Stores a new pointer (null empties the holder), first deleting the
    // object held when the holder owns it.
    T* Attach(T* p) {
        if (p != m_pObject)
            Free();
        m_pObject = p;
        return p;
    }
    T* GetPtr() const { return m_pObject; }
    operator T*() const { return m_pObject; }
    T* operator->() const { return m_pObject; }
    int IsOwner() const { return m_bOwns; }
    void SetOwner(int owns) { m_bOwns = owns; }

protected:
    void Free() {
        if (m_bOwns && m_pObject)
            delete m_pObject;
        m_pObject = nullptr;
    }
    T* m_pObject = nullptr;
    int m_bOwns = 1;
};

template <class T> class CxObjAutoAlloc : public CxObj<T*> {
public:
    constexpr CxObjAutoAlloc() = default;

    // The object, created (and filled through OnCreateInit when the class
    // has one) at the first call.
    T* Get() {
        if (!this->m_pObject) {
            T* object = new T();
            this->Attach(object);
            if constexpr (requires(T & t) { t.OnCreateInit(); })
                object->OnCreateInit();
        }
        return this->m_pObject;
    }
    T* operator->() { return Get(); }
};

template <class TPtr> class CxObjArray;

template <class T> class CxObjArray<T*> {
public:
    CxObjArray() = default;
    ~CxObjArray() { RemoveAll(); }
    CxObjArray(const CxObjArray&) = delete;
    CxObjArray& operator=(const CxObjArray&) = delete;

    int Add(T* p) {
        m_items.append(p);
        return int(m_items.size()) - 1;
    }
    void RemoveAll() {
        for (T* p : m_items)
            delete p;
        m_items.clear();
    }
    int GetSize() const { return int(m_items.size()); }
    T* GetAt(int i) const { return m_items.at(i); }
    T* operator[](int i) const { return m_items.at(i); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    QList<T*> m_items;
};

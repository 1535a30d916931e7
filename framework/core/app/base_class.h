#pragma once
// The interface base of the framework's objects: an object answers, for a
// numeric interface id, the pointer through which it implements that
// interface, or null when it has none.
class CBaseClass {
public:
    virtual ~CBaseClass() = default;
    virtual void* GetBaseClass(unsigned id, const char* name = nullptr) {
        (void)id;
        (void)name;
        return nullptr;
    }
};

// Interface ids of the framework.
enum : unsigned {
    IID_CBaseClass = 19147,
    // A page of a multi-page container names its parent page through it.
    IID_ParentPage = 19151,
    // The application object: as the framework's application, and as the
    // program's application class over it.
    IID_TarvikApp = 20013,
    IID_ProgramApp = 20136,
};

// The record behind IID_ParentPage: the page that holds this one (through
// its interface base), or null at the top.
struct CxParentPageInfo {
    CBaseClass* pParentPage = nullptr;
};

#pragma once
// The tabs of the directories journal: each an editable list of one
// directory view with folders, whose rows open in the directory's item form
// and whose new folders get the tab's directory type. The material groups
// have a tab class too, which the journal does not show.
#include "framework/widgets/lists/sql_list_ctrl.h"

class CJDirectoriesTab : public CxSQLListCtrlEdit {
    Q_OBJECT
public:
    using CxSQLListCtrlEdit::CxSQLListCtrlEdit;
    // Sets the list up from the tab's description (see directory_kinds.h).
    bool CreateInplaceWindow(QWidget* host) override;

protected:
    void OnPreCreateFolder(CDXX& dx) override;
};

// One class per tab: the journal chooses a tab by its class name.
class CJDirectoriesTab_Mat : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Mat(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_Posh : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Posh(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_Drug : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Drug(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_Training : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Training(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_MatPack : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_MatPack(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_Soc : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Soc(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_Donors : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_Donors(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectoriesTab_MatGroup : public CJDirectoriesTab {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesTab_MatGroup(QWidget* parent = nullptr)
        : CJDirectoriesTab(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

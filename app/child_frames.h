#pragma once
// The document frames: CJFrame holds journals (with docking bars), and
// CChildFrame the start page and forms.
#include "framework/widgets/mdi_child_wnd.h"

class CJFrame : public CxMDIChildWnd {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJFrame(QWidget* parent = nullptr) : CxMDIChildWnd(parent) {}
    bool OnCreate() override;
    // 2046 shows or hides the journal's docking bar of that id.
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;

    enum : unsigned { ID_JOURNAL_BAR = 2046 };
};

class CChildFrame : public CxMDIChildWnd {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CChildFrame(QWidget* parent = nullptr) : CxMDIChildWnd(parent) {}
    bool OnCreate() override;
};

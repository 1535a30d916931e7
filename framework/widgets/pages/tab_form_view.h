#pragma once
// A view whose content is a set of tabs (a journal of several lists). The
// window title follows the current tab ("Справочники: <tab>"); the address
// that opens the view may name the tab by its page class and a record to
// show in it ("opendoc:CJDirectories:CJDirectoriesTab_Posh:12"). The view's
// commands go to the page of the current tab.
#include "framework/widgets/documents/form_view.h"

class CxTab;

class CxTabFormView : public CxFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxTabFormView(QWidget* parent = nullptr);

    CxTab* Tab() const { return m_tab; }

    // The title format with one "%s" for the current tab's title; empty
    // keeps the plain window title.
    virtual QString GetTitleFormatString() const;
    void OnInitialSetTitle(CxDocument* document) override;
    // Arguments: the page class of the tab to show, then the key of a row to
    // make current in that tab's list. A class that no tab has changes
    // nothing.
    void OnOpenArguments(const QStringList& arguments) override;
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;
    void StoreState() override;
    void RestoreState() override;

private:
    void UpdateTitle();

    CxTab* m_tab;
};

#pragma once
// The directories journal: one window with a tab per directory (materials
// and services, service points, drugs, training and event types, service
// packages, project staff, funding sources). The address that opens it may
// name the tab by its class ("opendoc:CJDirectories:CJDirectoriesTab_Mat")
// and a row to show in it.
#include "framework/core/documents/document.h"
#include "framework/widgets/pages/tab_form_view.h"

class CJDirectoriesDocument : public CxTabFormDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectoriesDocument(QObject* parent = nullptr) : CxTabFormDoc(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDirectories : public CxTabFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDirectories(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    QString GetTitleFormatString() const override;
    bool OnInitialUpdate() override;
    // Titles follow a change of language: the tabs are made again, on the
    // same tab.
    void OnSettingsChanged() override;

private:
    void AddTabs();
};

#pragma once
// The settings dialog: one tab per page, the pages being the options pages
// (groups of typed options) and the settings pages that self-registering
// objects contribute. Laid out as tabs above, an information line at the
// bottom left (the description of the option in focus) and the buttons
// "ОК" and "Отмена". Options are stored only on "ОК"; when storing fails,
// the failure of that attempt (and only it) shows in a bounded error text.
#include "framework/core/app/modules_info.h"

#include <QDialog>
#include <QList>
#include <functional>

class COption;
class COptionsPage;
class CxErrorText;
class QLabel;
class QTabWidget;

// A settings page of the settings dialog, contributed by a self-registering
// object that registers in the group OBJGROUP_SETTINGS_PAGES: its caption,
// icon and a factory of its page widget. The page's
// widget stores its data when the dialog is accepted (StoreData).
class CSettingsSelfReg : public CModulesInfo {
public:
    virtual QString GetCaption() = 0;
    virtual QString GetPageClass() = 0;
    virtual int GetIconID() { return 0; }
    virtual QWidget* CreatePage(QWidget* parent) = 0;
    virtual bool StoreData(QWidget* page) {
        (void)page;
        return true;
    }
    static QList<CSettingsSelfReg*> All();
};

class CSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSettingsDialog(QWidget* parent = nullptr);

    // Shows only the settings page of that page class (and no options).
    void ShowOnly(const QString& pageClass);
    int exec() override;
    void accept() override;

    QTabWidget* Tabs() const { return m_tabs; }
    // Makes the pages (exec does it when needed).
    void Build();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget* m_tabs;
    QLabel* m_info;
    CxErrorText* m_error;
    QString m_only;
    bool m_built = false;
    QList<std::function<bool()>> m_store;
};

#pragma once
// The card of the own organisation (orginf row 0) as a settings page: a grid
// "Показатель" / "Значение" with one row per organisation fact, the values
// edited in place and written back in one transaction when the settings
// dialog is accepted. A database without the card gets it on the first
// save. ShowOrgInfoSettings opens the settings dialog on this page alone.
#include "exchange/core/org_card.h"
#include "framework/widgets/settings_dialog.h"

#include <QWidget>

class CGridCtrl;
class CxErrorText;
class CxSQL;

class COrgInfoView : public QWidget {
    Q_OBJECT
public:
    // sql null: the application's base connection. Reads the card at once.
    explicit COrgInfoView(QWidget* parent = nullptr, CxSQL* sql = nullptr);

    // Writes the grid to the card; false when nothing could be written (the
    // reason goes to the application's error list).
    bool OnApply();

    bool IsNewCard() const { return m_card.IsNew(); }
    bool IsModified() const { return m_modified; }
    CGridCtrl* Grid() const { return m_grid; }

private:
    // Reads the card into the grid; false (with the reason shown) when it
    // cannot be read.
    bool Load();

    CxSQL* m_sql;
    COrgInfoCard m_card;
    bool m_loaded = false;
    bool m_modified = false;
    CGridCtrl* m_grid;
    CxErrorText* m_error;
};

// The card's page in the settings dialog. It registers itself; the program
// names the global object so that the linker keeps it.
class CSettingsSelfReg_COrgInfoView : public CSettingsSelfReg {
public:
    void Init(int first) override;
    QString GetCaption() override;
    QString GetPageClass() override { return QStringLiteral("COrgInfoView"); }
    int GetIconID() override { return 1968; }
    QWidget* CreatePage(QWidget* parent) override;
    bool StoreData(QWidget* page) override;
};
extern CSettingsSelfReg_COrgInfoView g_OrgInfoSettingsPage;

// The settings dialog with the card's page alone, modal over the main
// window.
void ShowOrgInfoSettings();

#pragma once
// The visits sheet page of a daily report: the grid of clients by materials
// (CDDiaryVisitsGrid over a CVisitsSheet), the button that chooses the
// sheet's materials and services (CASelMat), the button that loads a ready
// material package, and the sheet's service: while the sheet has no column but
// the clients', the service every listed client received.
//
// The columns follow the chosen items (UpdateColumns: columns holding counts
// stay, new items come on the right). A package picked with the button opens
// the chooser preset with the package's materials; the last package used is
// remembered, and a new report loads it at once when the option "LoadLastSet"
// is on.
#include "diary/core/visits_sheet.h"
#include "diary_page.h"

class CDDiaryVisitsGrid;
class CxSqlComboList;
class QMenu;
class QPushButton;
class QToolButton;

class CDDiaryVisits : public CDDiaryPage {
    Q_OBJECT
public:
    // Where a package load came from: the package button, or the automatic
    // load of the last package into a new report.
    enum : int { kPackageButton = 2098, kAutoLoad = 1457 };
    // The command that opens the material chooser.
    enum : unsigned { ID_CHOOSE_MATERIALS = 1543 };

    Q_INVOKABLE explicit CDDiaryVisits(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CVisitsSheet& Sheet() { return m_sheet; }
    CDDiaryVisitsGrid* Grid() const { return m_grid; }
    CxSqlComboList* ServiceCombo() const { return m_service; }
    QToolButton* PackageButton() const { return m_package; }

    // Shows a sheet made elsewhere (a sheet read from a spreadsheet file):
    // the page holds it from now on and reads nothing from the database.
    void SetSheet(const CVisitsSheet& sheet);

    // Selects the first row of the client; false when no row names it.
    bool SelectClientRow(qint64 clientId);

    // Rebuilds the columns for the items (directory ROWIDs, in order).
    void UpdateColumns(const QList<qint32>& items);
    // Opens the material chooser on the sheet's items; rebuilds the columns
    // with the chosen ones.
    void OnChooseMaterials();
    // Loads a package into the sheet: from the package button through the
    // chooser, or at once (kAutoLoad).
    void OnSelectID(qint64 packageId, int source);
    // A new report's first sheet takes the last package when the option says
    // so.
    void LoadLastPackage();

    CDailyReportPage SavePage() override;
    void ShowRefusal(const CDiaryVerdict& verdict) override;

protected:
    bool OnCreatePage(QString* error) override;

private:
    void FillPackageMenu();
    void UpdateServiceState();
    void ShowContextMenu(const QPoint& pos);

    CVisitsSheet m_sheet;
    CDDiaryVisitsGrid* m_grid;
    QPushButton* m_materials;
    QToolButton* m_package;
    QMenu* m_packageMenu;
    CxSqlComboList* m_service;
};

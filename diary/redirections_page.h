#pragma once
// The redirections sheet page of a daily report: one line per consultation
// or redirection kind that is counted in people, with the number of people.
// A stored sheet shows its stored lines; a new or empty one every visible
// item and kind of the directory (CRedirectionsSheetStore). The lines are
// fixed; only the counts are typed.
#include "diary/core/redirections_sheet.h"
#include "diary_page.h"

#include <QAbstractTableModel>

// The lines of a redirections sheet as an item model: column 0 the item and
// its kind (read only), column 1 the number of people.
class CRedirectionsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum : int { kLineColumn = 0, kCountColumn = 1 };

    explicit CRedirectionsModel(CRedirectionsSheet* sheet, QObject* parent = nullptr);

    void BeginSheetChange() { beginResetModel(); }
    void EndSheetChange() { endResetModel(); }
    void ClearCells(const QModelIndexList& cells);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void sheetEdited();

private:
    CRedirectionsSheet* m_sheet;
};

class CDiarySheetView;

class CDDiaryRedir : public CDDiaryPage {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDiaryRedir(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CRedirectionsSheet& Sheet() { return m_sheet; }
    CRedirectionsModel* Model() const { return m_model; }
    CDiarySheetView* Grid() const { return m_grid; }

    CDailyReportPage SavePage() override;
    void ShowRefusal(const CDiaryVerdict& verdict) override;

protected:
    bool OnCreatePage(QString* error) override;

private:
    CRedirectionsSheet m_sheet;
    CRedirectionsModel* m_model;
    CDiarySheetView* m_grid;
};

#pragma once
// The change journal for the user: what the database tests changed, newest
// first, with the whole text of the chosen entry below the list.
#include "framework/widgets/dialog.h"

class CvLogRefModel;
class CxErrorText;
class CxSQL;
class QPlainTextEdit;
class QTableView;

class CvLogRefView : public CxDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CvLogRefView(CxSQL* sql = nullptr, QWidget* parent = nullptr);

    CvLogRefModel* Model() const { return m_model; }
    // The whole text of the current entry.
    QString DetailText() const;

    void Reload();

private:
    void ShowCurrent();

    CvLogRefModel* m_model;
    QTableView* m_view;
    QPlainTextEdit* m_detail;
    CxErrorText* m_error;
};

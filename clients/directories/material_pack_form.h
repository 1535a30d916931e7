#pragma once
// The form of a material package (directory type 11): a named, ordered list
// of materials that the daily report adds to a visits sheet in one step. The
// chooser offers the materials a sheet may count (not folders, not hidden,
// consultations only when counted by client code) and, ticked and last in
// the package's order, every material the package names. The list is kept in
// cOtherInfo as the text of CDDirMatPackArray.
//
// A package whose stored list cannot be read, or whose materials cannot be
// loaded, is reported when it opens and is not saved: saving would replace
// its list with what the form could show.
#include "diary/core/material_pack.h"
#include "dir_item_form.h"
#include "framework/core/containers/list_sel_order_struct.h"

class CxListSelOrder;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class CDDirMatPack : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirMatPack(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

    CxListSelOrder* Chooser() const { return m_chooser; }
    // Why the package cannot be saved (empty when it can).
    const QString& Unsaveable() const { return m_unsaveable; }

private:
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    QLabel* m_problem;
    CxListSelOrder* m_chooser;
    CxListSelOrderEntries m_entries;
    CDDirMatPackArray m_array;
    CDDirMatPackArray m_stored; // the list as loaded
    QString m_unsaveable;
};

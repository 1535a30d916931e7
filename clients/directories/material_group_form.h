#pragma once
// The form of a material group (directory type 10): a named set of material
// types. The grid lists every material type of the enumeration that is a
// kind of material (no group items, no services, no consultations) with a box
// to tick; the set is kept in cOtherInfo as a packed variable set, one
// variable "1" per member code.
//
// A group whose stored set cannot be read is reported when it opens and is
// not saved: saving would replace its set with the empty one the grid shows.
#include "dir_item_form.h"
#include "framework/core/containers/string_vars.h"

class CGridCtrl;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class CDDirMatGroup : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirMatGroup(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

    CGridCtrl* Grid() const { return m_grid; }
    // The material type of each grid row.
    const QList<long>& Codes() const { return m_codes; }
    // Why the group cannot be saved (empty when it can).
    const QString& Unsaveable() const { return m_unsaveable; }

private:
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    QLabel* m_problem;
    CGridCtrl* m_grid;
    QList<long> m_codes;
    CStringVars m_stored; // the set as loaded
    QString m_unsaveable;
};

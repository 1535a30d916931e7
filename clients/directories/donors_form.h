#pragma once
// The form of a funding source (directory type 12): the donor's name, its
// group from the configuration's donor list, contacts.
#include "dir_item_form.h"

class CxComboList;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class CDDirDonors : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirDonors(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

private:
    QLineEdit* m_name;
    CxComboList* m_group;
    QPlainTextEdit* m_description;
    QCheckBox* m_hidden;
};

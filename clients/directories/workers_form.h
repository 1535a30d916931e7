#pragma once
// The form of a member of the project staff (directory type 2): full name,
// worker type from the configuration, education and contacts.
#include "dir_item_form.h"

class CxComboList;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class CDDirWorkers : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirWorkers(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    // The staff as the menu and the journal's tab name it, not the table's
    // older word for them.
    QString GetRecordCaption() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

private:
    QLineEdit* m_name;
    CxComboList* m_type;
    QPlainTextEdit* m_description;
    QCheckBox* m_hidden;
};

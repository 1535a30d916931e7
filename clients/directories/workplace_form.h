#pragma once
// The form of a service point (directory type 1): its name, description and
// address, town, and the kind of point.
#include "dir_item_form.h"

class CxSqlComboList;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class CDDirWorkPlace : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirWorkPlace(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

private:
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    CxSqlComboList* m_town;
    QList<QPair<QRadioButton*, long>> m_types;
    QCheckBox* m_hidden;
};

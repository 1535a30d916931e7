#pragma once
// The form of a drug (directory type 4): its name and description, the kind
// of drug, the ways of use (several) and the way of production; each choice
// carries the tool tip that the configuration gives it.
#include "dir_item_form.h"

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

class CDDirDrugs : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirDrugs(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

private:
    using Buttons = QList<QPair<QAbstractButton*, long>>;
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    Buttons m_types;
    Buttons m_routes;
    Buttons m_production;
};

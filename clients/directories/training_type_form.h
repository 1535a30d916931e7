#pragma once
// The form of a type of training or event (directory type 7).
#include "dir_item_form.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class CDDirTrainig : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirTrainig(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;

private:
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    QCheckBox* m_hidden;
};

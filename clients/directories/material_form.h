#pragma once
// The form of a material or service (directory type 3): its name,
// description, funding source, the hidden flag, and its kind. The user picks
// one of nine kinds; the page of that kind (material_kind_pages.h) shows
// below and gives the row its type code and the kind's own columns. Only the
// page shown at saving writes; the columns of a kind the item left are
// cleared, every other column of the row is kept.
#include "core/material_kinds.h"
#include "dir_item_form.h"

#include <QHash>

class CDDirMatBase;
class CxSqlComboList;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;

class CDDirMat : public CDDirItemForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDDirMat(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    int GetDirType() const override;
    void DoDataExchange(CDXX& dx) override;
    // Refuses a type code that the chosen kind's page left unfitting (a kind
    // chosen without its subtype).
    bool OnApply() override;

    // The kind whose button is checked (None when none is), and its page.
    EMaterialKind ChosenKind() const;
    CDDirMatBase* KindPage() const { return m_page; }

private:
    // Shows the page of the chosen kind, making it (and loading it from the
    // record) the first time.
    void OnKindChange();

    QLineEdit* m_name;
    QPlainTextEdit* m_description;
    CxSqlComboList* m_donor;
    QGroupBox* m_kindBox;
    QList<QPair<QRadioButton*, EMaterialKind>> m_kinds;
    QStackedWidget* m_pages;
    QHash<int, CDDirMatBase*> m_made; // by kind
    CDDirMatBase* m_page = nullptr;
    QCheckBox* m_hidden;
};

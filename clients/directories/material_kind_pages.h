#pragma once
// The pages of the material form, one per kind of material or service: each
// shows what the kind asks for (a subtype, a booklet's audience, a service
// type, a consultation's flags) and writes it into the material form's
// record, never into a record of its own. The material form shows the page
// of the chosen kind; only the page shown when the form is saved writes.
//
// A page that opens on a row of another kind starts empty: the values the row
// holds belong to that kind (a consultation's category is no service type).
#include "core/material_kinds.h"
#include "framework/widgets/forms/dx_form.h"

#include <QWidget>

class CxComboList;
class QAbstractButton;
class QLineEdit;

class CDDirMatBase : public QWidget, public CDXForm {
    Q_OBJECT
public:
    CDDirMatBase(EMaterialKind kind, QWidget* parent);

    EMaterialKind Kind() const { return m_kind; }
    QWidget* DXWidget() override { return this; }
    // Where a row's code that does not fit the kind is shown.
    virtual QWidget* CodeControl() { return this; }

protected:
    // Whether the row's stored code is of this page's kind.
    bool HoldsStoredKind(const CDXX& dx) const;
    // Saving: gives the row the kind's code (see MaterialCodeOnSave).
    void StoreKindCode(CDXX& dx, long chosenCode = -1) const;
    // Empties the page's controls.
    void ClearControls();
    QString Tr(const char* text) const;

private:
    EMaterialKind m_kind;
};

// The kinds whose subtype is picked with a radio button.
class CDDirMatChoice : public CDDirMatBase {
    Q_OBJECT
public:
    CDDirMatChoice(EMaterialKind kind, QWidget* parent);
    void DoDataExchange(CDXX& dx) override;
    QWidget* CodeControl() override;

private:
    QList<QPair<QAbstractButton*, long>> m_buttons;
};

class CDDirMatSyr : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatSyr(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Syringes, parent) {}
};

class CDDirMatNeedle : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatNeedle(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Needles, parent) {}
};

class CDDirMatMed : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatMed(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Medicines, parent) {}
};

class CDDirMatOther : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatOther(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Other, parent) {}
};

class CDDirMatBack : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatBack(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Returned, parent) {}
};

class CDDirMatPrez : public CDDirMatChoice {
    Q_OBJECT
public:
    explicit CDDirMatPrez(QWidget* parent = nullptr)
        : CDDirMatChoice(EMaterialKind::Condoms, parent) {}
};

// A booklet: its audience, publication type and print run.
class CDDirMatBook : public CDDirMatBase {
    Q_OBJECT
public:
    explicit CDDirMatBook(QWidget* parent = nullptr);
    void DoDataExchange(CDXX& dx) override;

private:
    QList<QPair<QAbstractButton*, long>> m_audience;
    QList<QPair<QAbstractButton*, long>> m_pubType;
    QLineEdit* m_circulation;
};

// A service: its type from the configuration's list SERVICES.
class CDDirMatServ : public CDDirMatBase {
    Q_OBJECT
public:
    explicit CDDirMatServ(QWidget* parent = nullptr);
    void DoDataExchange(CDXX& dx) override;

private:
    CxComboList* m_type;
};

// A consultation: what the organisation provides (flags; the first, counting
// by client code, is the one other parts of the program test) and its
// category from the list DIRECTIONANDCONSULTING.
class CDDirMatConsult : public CDDirMatBase {
    Q_OBJECT
public:
    explicit CDDirMatConsult(QWidget* parent = nullptr);
    void DoDataExchange(CDXX& dx) override;

private:
    QList<QPair<QAbstractButton*, long>> m_flags;
    CxComboList* m_category;
};

// The page of a kind, made for the material form.
CDDirMatBase* CreateMaterialKindPage(EMaterialKind kind, QWidget* parent);

#pragma once
// What the forms of the directory items share: each edits one row of the
// directory table through the view of its kind, gives the row its nDirType,
// names it by cString, shows an information bar, and turns a name that its
// directory already has into a message at the name field.
#include "framework/widgets/forms/sql_edit_form.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;

class CDDirItemForm : public CxSQLEditForm {
    Q_OBJECT
public:
    explicit CDDirItemForm(QWidget* parent = nullptr);

    // Every directory item is titled by its name.
    QString GetTitleField() const override;
    // The directory type of the rows the form writes.
    virtual int GetDirType() const = 0;
    bool OnApply() override;

protected:
    // The layout of the fields (label, control).
    QFormLayout* Fields() const { return m_fields; }
    // The usual controls: the name, the description (several lines) and the
    // "hidden" box, added to the fields with their labels.
    QLineEdit* AddNameEdit(const QString& label);
    QPlainTextEdit* AddDescriptionEdit(const QString& label);
    QCheckBox* AddHiddenBox();
    // Lets the fields take the form's free height: a field whose vertical
    // size policy expands (a list) grows with the window.
    void GrowFields();
    // The name edit, for the message about a name already in use.
    QLineEdit* NameEdit() const { return m_name; }

private:
    QFormLayout* m_fields;
    QLineEdit* m_name = nullptr;
};

#pragma once
// One exchange pass of a form: binds controls to fields of the form's record.
// Loading puts the record's values into the controls; saving writes the
// controls' values into the record, but only where they differ from what the
// record holds, so a value the user did not change keeps its stored form
// (a NULL stays NULL). Bits of a check group and values of a radio group that
// no control shows are kept as stored.
//
// Binding flags: DXF_REQUIRED refuses an empty value on saving. Other bits
// that callers pass are accepted and have no effect.
#include <QList>
#include <QPair>
#include <QString>

class CDXForm;
class CDXRecordSQL;
class CxField;
class QAbstractButton;
class QWidget;

enum : int {
    DXF_REQUIRED = 0x1,
};

class CDXX;

// The binding of an edit, for what may follow it (an auto-complete
// dictionary).
class CDXXEdit {
public:
    CDXXEdit(CDXX* dx, QWidget* control) : m_dx(dx), m_control(control) {}
    // Offers the words of the application's dictionary (see LoadAccDic)
    // while the user types; what is saved joins the dictionary.
    CDXXEdit& SetACC(const QString& dictionary);

private:
    CDXX* m_dx;
    QWidget* m_control;
};

// Radio buttons that stand for values of one field.
class CDXXRadioGroup {
public:
    CDXXRadioGroup(CDXX* dx, QString field, int flags) : m_dx(dx), m_field(field), m_flags(flags) {}
    CDXXRadioGroup& DXButton(QAbstractButton* button, long value);
    // Exchanges the group: loading checks the button of the value (none when
    // no button has it); saving writes the checked button's value, and keeps
    // the stored value when none is checked.
    void End();

private:
    CDXX* m_dx;
    QString m_field;
    int m_flags;
    QList<QPair<QAbstractButton*, long>> m_buttons;
};

// Check boxes that stand for bits of one field.
class CDXXCheckGroup {
public:
    CDXXCheckGroup(CDXX* dx, QString field, int flags) : m_dx(dx), m_field(field), m_flags(flags) {}
    CDXXCheckGroup& DXButton(QAbstractButton* box, long bit);
    void End();

private:
    CDXX* m_dx;
    QString m_field;
    int m_flags;
    QList<QPair<QAbstractButton*, long>> m_boxes;
};

class CDXX {
public:
    CDXX(CDXForm* form, bool save);

    bool IsSave() const { return m_save; }
    bool IsLoad() const { return !m_save; }
    // Once a binding failed, the bindings after it do nothing.
    bool Failed() const { return m_failed; }
    CDXForm* Form() const { return m_form; }
    CDXRecordSQL* Record() const;

    // Line and text edits (plain text), date edits (CDateTimeEditCtrl).
    CDXXEdit DX(QWidget* control, const CxField* field, int flags = 0);
    CDXXEdit DX(QWidget* control, const QString& field, int flags = 0);
    // A check box: "1" checked, "0" not.
    void DXCheck(QAbstractButton* box, const CxField* field, int flags = 0);
    CDXXRadioGroup DXRadioGroup(const CxField* field, int flags = 0);
    CDXXCheckGroup DXCheckGroup(const CxField* field, int flags = 0);
    // Saving a row gives it this directory type.
    void DirType(const CxField* field, int type);
    // Sets a field (on saving).
    void SetField(const CxField* field, const QString& value);
    void SetField(const QString& field, const QString& value);
    void SetField(const QString& field, long value);
    // Stops the exchange with a message at the control; answers false.
    bool Fail(QWidget* control, const QString& text);

    // For controls of their own kind: the field's stored text (null: NULL),
    // and storing a value under the rule above. An empty value is none: NULL
    // for a number (or where emptyIsNull says so), an empty text otherwise.
    QString FieldText(const QString& field) const;
    bool FieldIsNull(const QString& field) const;
    void StoreValue(const QString& field, const QString& value, bool isNumber,
                    bool emptyIsNull = false);
    // Records which control shows the field.
    void Note(const QString& field, QWidget* control);
    // The bare column of a field of a descriptor.
    static QString FieldName(const CxField* field);
    static bool IsNumberField(const CxField* field);

private:
    friend class CDXXEdit;
    CDXForm* m_form;
    bool m_save;
    bool m_failed = false;
};

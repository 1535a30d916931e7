#pragma once
// A drop-down list of the items of an enumeration or a configuration list:
// the user picks an item; the field stores its code. The list is sorted by
// text unless sorting is switched off (then it keeps the enumeration's
// order), and begins with an empty entry for "none". A stored code that the
// list does not hold is shown as such and kept until the user picks another.
#include <QComboBox>

class CDXX;
class CEnum2;
class CxField;

class CxComboList : public QComboBox {
    Q_OBJECT
public:
    explicit CxComboList(QWidget* parent = nullptr);

    // Fills the list from the enumeration (again, keeping the choice).
    void SetEnum(const CEnum2* enumeration);
    // Keeps the enumeration's order instead of sorting by text; before
    // SetEnum.
    void DisableSort() { m_sorted = false; }
    // Adds one item at the end.
    void AddItem(long code, const QString& text);

    // The chosen code, -1 for none.
    long GetCurSelCode() const;
    // Chooses the code; a code the list lacks is shown as unknown.
    void SetCurSelCode(long code);
    // Chooses the last entry.
    void OnLast();

    // Binds the list to a field (flags: DXF_REQUIRED).
    void DX(CDXX& dx, const CxField* field, int flags = 0);

private:
    bool m_sorted = true;
};

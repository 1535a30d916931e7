#pragma once
// A one-line edit that completes, while the user types, from the names of
// one table's rows, and turns the text into the key of the named row (and a
// key back into its name). Grids use it as the editor of a cell that holds a
// row's key (the client column of a visits sheet).
#include <QLineEdit>
#include <memory>

class CSQLAutoComplete;
class CxSQLChoiceModel;
class CxTable;
class QCompleter;

class CxOldEditSQLAcc : public QLineEdit {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxOldEditSQLAcc(QWidget* parent = nullptr);
    ~CxOldEditSQLAcc() override;

    // Completes from this table from now on (the previous completion goes).
    void SetAutoCompleteTable(CxTable* table);
    CxTable* GetAutoCompleteTable() const;

    // Results of GetValueAsROWID.
    enum : int { VALUE_FOUND = 1, VALUE_EMPTY = 2, VALUE_NOT_FOUND = 4 };
    // Shows the name of the row with that key; false (text unchanged) when
    // there is none.
    bool SetValueFromROWID(qint64 key);
    // The key of the row the text names (in value, as text): VALUE_FOUND; an
    // empty text VALUE_EMPTY; no such row VALUE_NOT_FOUND.
    int GetValueAsROWID(QString* value);

    // Inside a grid cell the edit has no frame of its own.
    void SetInCell(bool inCell);

private:
    std::unique_ptr<CSQLAutoComplete> m_source;
    CxSQLChoiceModel* m_matches;
    QCompleter* m_completer;
};

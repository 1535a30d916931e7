#pragma once
// A field that holds the key of a row of another table (a town, a donor, a
// worker): the user types the row's name, with completion from the table, or
// picks it from the drop-down list; the field stores the row's ROWID. Folders
// and hidden rows are not offered, but a stored key of such a row still
// shows its name.
#include <QComboBox>
#include <memory>

class CDXX;
class CSQLAutoComplete;
class CxField;
class CxSQLChoiceModel;
class CxTable;
class QCompleter;

class CxSqlComboList : public QComboBox {
    Q_OBJECT
public:
    explicit CxSqlComboList(QWidget* parent = nullptr);
    ~CxSqlComboList() override;

    // The table of the rows (and an extra SQL condition on them).
    void SetControlInfo(CxTable* table, const QString& condition = QString());
    CxTable* GetTable() const;

    // The key of the chosen row: -1 for none, -2 when the text names no row.
    qint64 GetSelectedID() const;
    // Shows the row of the key (-1: none).
    void SetSelectedID(qint64 key);

    // Binds the list to a field (flags: DXF_REQUIRED).
    void DX(CDXX& dx, const CxField* field, int flags = 0);

private:
    void TextEdited(const QString& text);

    std::unique_ptr<CSQLAutoComplete> m_source;
    CxSQLChoiceModel* m_list;
    CxSQLChoiceModel* m_matches;
    QCompleter* m_completer;
    qint64 m_key = -1;
    QString m_keyText;
};

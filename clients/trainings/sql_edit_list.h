#pragma once
// The list editor: a text of names or codes separated by ";", tabs or line
// breaks, whose entries stand for rows of a look-up table and are stored as
// the member rows of a link table (CSQLEditListCore holds the rules: how an
// entry is resolved, what counts as a duplicate, when a name not found is
// added). While the user types an entry, the look-up's texts that begin with
// it are offered; accepting one replaces the entry and appends "; ".
//
// listChanged() comes after every change of the text, so that the form can
// check the list and say what was not found.
#include "clients/core/sql_edit_list.h"

#include <QPlainTextEdit>

class CxSQL;
class QCompleter;
class QStringListModel;

class CSQLEditList : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CSQLEditList(QWidget* parent = nullptr);

    CSQLEditListCore& Core() { return m_core; }
    // null: the application's base connection.
    void SetConnection(CxSQL* sql) { m_sql = sql; }
    CxSQL* Connection() const;

    // The text appended after an accepted completion.
    void SetAutoAddString(const QString& text) { m_autoAdd = text; }

    // Replaces the text by the owner's stored members.
    bool Load(qint64 ownerKey, QString* error);
    // Resolves the entries; GetCount and GetError answer for them.
    bool CheckList(QString* error);
    int GetCount() const { return m_core.GetCount(); }
    QString GetError() const { return m_core.GetError(); }
    // Stores the entries as the owner's members (in the caller's transaction).
    [[nodiscard]] bool Save(qint64 ownerKey, QString* error);

    QCompleter* Completer() const { return m_completer; }
    // The entry being typed: from the last separator before the cursor to
    // the cursor.
    QString CurrentEntry() const;
    // Replaces the entry being typed by the text (and the text appended
    // after an accepted entry).
    void AcceptCompletion(const QString& text);

signals:
    void listChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OfferCompletions();

    CSQLEditListCore m_core;
    CxSQL* m_sql = nullptr;
    QString m_autoAdd = QStringLiteral("; ");
    QCompleter* m_completer;
    QStringListModel* m_completions;
    bool m_accepting = false;
    bool m_typing = false;
};

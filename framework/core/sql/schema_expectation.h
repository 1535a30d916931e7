#pragma once
// What the statements of one schema step leave behind, as far as names go:
// which tables, columns and keys exist afterwards and which do not. The
// updater asks it two things. Before a step runs: has the server already
// carried it out? (A DDL statement commits by itself and the server finishes
// it even when the program dies before it writes the new version.) After the
// step: is the schema as the step leaves it, so that the version may move?
//
// Understood statements: CREATE TABLE, DROP TABLE, RENAME TABLE, CREATE and
// DROP INDEX, and ALTER TABLE with ADD / DROP / CHANGE / MODIFY / RENAME of
// columns and keys, character set, engine and similar options. A clause that
// changes only a definition (MODIFY, CHANGE a column to itself, CONVERT TO
// CHARACTER SET) names nothing that tells before from after; such a step
// runs again, which changes nothing. Data statements (INSERT, UPDATE, DELETE,
// REPLACE) and LOCK/UNLOCK TABLES expect nothing.
#include "sql_lexer.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

class CxSQL;

class CxSchemaExpectation {
public:
    static CxSchemaExpectation FromStatements(const QStringList& statements);

    // Every statement was understood.
    bool IsUnderstood() const { return m_understood; }
    // The step names something that it creates, removes or renames, so its
    // effect can be seen: true means "done" can be told from "not done".
    bool CanTellDone() const { return m_understood && m_telling > 0; }
    // The tables the statements name (lower case), for logs and snapshots.
    QStringList Tables() const { return m_tables.keys(); }

    // Whether the database on the connection is as the statements leave it;
    // the first difference goes to `difference`. False also when the schema
    // cannot be read.
    bool Holds(CxSQL* sql, QString* difference = nullptr) const;

private:
    struct TableState {
        QString name; // as written
        std::optional<bool> exists;
        bool existsTelling = false;  // made, dropped or renamed by the step
        QMap<QString, bool> columns; // lower-case name -> present afterwards
        QMap<QString, bool> keys;
    };
    using Tokens = QList<CxSQLToken>;
    TableState& Table(const QString& name);
    void ReadStatement(const QString& statement);
    void ReadAlterClause(const QString& table, const Tokens& clause);
    void Expect(const QString& table, bool column, const QString& name, bool present);
    void Rename(const QString& from, const QString& to);
    void CountTelling();

    QMap<QString, TableState> m_tables; // lower-case name -> state
    bool m_understood = true;
    int m_telling = 0;
    QStringList m_ambiguous; // "table.name" both added and removed by the step
};

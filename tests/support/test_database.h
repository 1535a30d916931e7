#pragma once
// A database of its own for one test, on the build tree's private MariaDB
// instance: created fresh, dropped when the object goes.
#include "db/mysql_connection.h"

#include <QString>
#include <memory>

class TestDatabase {
public:
    explicit TestDatabase(const QString& purpose = QStringLiteral("t"));
    ~TestDatabase();

    // The description of the test database (socket, root, its name).
    SQLConnectXML Info() const;
    // A description of the server without a database selected.
    static SQLConnectXML ServerInfo();
    QString Name() const { return m_name; }
    // A connection opened on the test database.
    CxMySQL* Connection() const { return m_connection.get(); }
    // Runs a statement and fails loudly when it does not work.
    CxResult Exec(const QString& statement) const;
    // Every row of a statement as "cell|cell;cell|cell", NULL as "NULL".
    QString Rows(const QString& statement) const { return ResultRows(Exec(statement)); }
    static QString ResultRows(CxResult res);
    // The first column of the first row, as text.
    QString Scalar(const QString& statement) const;
    // Whether a connection to this database holds the server-wide lock
    // "dblock". Tests of other databases share the server and may hold it
    // meanwhile, so asking whether it is free at all says nothing of ours.
    bool HoldsDbLock() const;

    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

private:
    QString m_name;
    std::unique_ptr<CxMySQL> m_admin;
    std::unique_ptr<CxMySQL> m_connection;
};

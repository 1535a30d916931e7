#pragma once
// Connecting the application to its database with the user's help:
// DoSQLConnect tries the connection description and, while that fails, asks
// for server, port or socket, user, password and database in the dialog
// CSQLConnectDlg, until it connects or the user cancels. A missing database
// is made from the program's creation script. The answer that worked is
// remembered in the plain settings file for the next start.
#include "framework/core/sql_connection.h"

#include <QByteArray>
#include <QDialog>
#include <functional>

class CxErrorText;
class QLineEdit;
class QSpinBox;

class CSQLConnectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSQLConnectDlg(QWidget* parent = nullptr);
    void SetInfo(const SQLConnectXML& info);
    SQLConnectXML GetInfo() const;
    void SetErrorText(const QString& text);

private:
    CxErrorText* m_error;
    QLineEdit* m_server;
    QSpinBox* m_port;
    QLineEdit* m_socket;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_database;
};

// Asks the user for the description to try next, showing why the last try
// failed; false when the user gives up. The default shows CSQLConnectDlg;
// programs without a user (tests) install their own.
using CxSQLConnectAsk = std::function<bool(SQLConnectXML& info, const QString& reason)>;
void SetSQLConnectAsk(CxSQLConnectAsk ask);

// Where the answers are remembered (a plain settings file).
void SetSQLConnectMemoryFile(const QString& fileName);

// Connects `connection` (which it takes over) with the description, after
// the remembered answer and the environment (<APP>_SERVER, <APP>_SOCKET, APP
// being the application's name in capitals) have been applied to it. With a reason the user is
// asked first (a connected start that failed later). Answers the connection, which also becomes the
// base connection g_pBaseSQLConnection, or null when the user gave up; the description then holds
// what was last tried. A description without a name is named after its database.
CxSQL* DoSQLConnect(CxSQL* connection, SQLConnectXML* info, const QByteArray& creationScript,
                    const QString& reason = QString());

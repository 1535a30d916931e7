#pragma once
// Settings stores of the application. A setting is named by a section and an
// entry; the section may hold levels separated by back-slashes
// ("AppState\LastState"). The running store is installed with
// CTarvikApp::SetProfileManager; the program's settings live in the table
// `profiles` once the database is connected, and in a plain store otherwise.
#include <QHash>
#include <QString>

class CxSQL;

class CxProfileManagerBase {
public:
    virtual ~CxProfileManagerBase() = default;
    virtual QString GetProfileString(const QString& section, const QString& entry,
                                     const QString& defaultValue) = 0;
    // Answers whether the value was stored.
    virtual bool WriteProfileString(const QString& section, const QString& entry,
                                    const QString& value) = 0;

    // Integers are kept as their decimal text; a missing or unreadable value
    // gives the default.
    int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
    bool WriteProfileInt(const QString& section, const QString& entry, int value);

    // The path under which a store keeps a setting: section and entry joined
    // by a back-slash.
    static QString MakePath(const QString& section, const QString& entry);
};

// The plain store: values in memory, and, when a file is given, read from and
// written through to that file (an INI file in the user's configuration
// folder by default, see DefaultFile).
class CxProfileManager : public CxProfileManagerBase {
public:
    // No file: a store that lives in memory only.
    CxProfileManager() = default;
    explicit CxProfileManager(const QString& fileName);

    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue) override;
    bool WriteProfileString(const QString& section, const QString& entry,
                            const QString& value) override;

    QString FileName() const { return m_fileName; }
    // "<user configuration folder>/<organisation>/<application>.conf", with
    // the names the program gives Qt (the application's name alone when it
    // names no organisation).
    static QString DefaultFile();

private:
    QString m_fileName;
    QHash<QString, QString> m_values; // path -> value
};

// The database store: one row per setting in a table of (cUser, cPath,
// cValue) with a unique key on (cUser, cPath). A value the table cannot hold
// (characters outside ucs2, such as emoji) is refused by the connection:
// the write answers false and the old value stays.
class CxSQLProfileManager : public CxProfileManagerBase {
public:
    CxSQLProfileManager(CxSQL* sql, const QString& table, const QString& user);

    // The key a setting's path is kept under. `cPath` holds 255 ucs2
    // characters and compares without trailing blanks; a path that does not
    // fit as it is (longer, with characters outside ucs2, or ending in a
    // blank) is kept under its beginning and a digest of the whole path, so
    // every path gets a row of its own and reads back what was written.
    static QString StoredPath(const QString& path);
    static constexpr int kPathLength = 255;

    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue) override;
    bool WriteProfileString(const QString& section, const QString& entry,
                            const QString& value) override;

    CxSQL* GetSQL() const { return m_sql; }
    QString Table() const { return m_table; }
    QString User() const { return m_user; }

private:
    CxSQL* m_sql;
    QString m_table;
    QString m_user;
};

// A text as a quoted SQL literal for a session without NO_BACKSLASH_ESCAPES.
QString SQLQuoteString(const QString& text);

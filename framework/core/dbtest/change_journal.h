#pragma once
// The change journal: what the database tests and repairs changed, kept in
// the database itself (table "changelog"), so that every copy of the program
// and every later look sees the same history. An entry is written in the
// transaction of the change it describes, after that change succeeded.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CxSQL;

struct CvLogEntry {
    qint64 id = 0;
    QDateTime date;  // server time of the write
    QString user;    // the database user that made the change
    QString source;  // who changed: a database test's name
    QString caption; // what kind of change
    QString text;    // which rows, with their values
};

class CvLogRef {
public:
    CvLogRef(CxSQL* sql, const QString& source);

    static QString TableName() { return QStringLiteral("changelog"); }
    // Makes the journal table when it is missing. A table definition ends an
    // open transaction, so this runs before the transactions that write.
    static bool EnsureTable(CxSQL* sql, QString* error);

    // Queues one entry; Write stores what is queued.
    void Log(const QString& caption, const QString& text);
    // Stores the queued entries on the connection (inside the caller's
    // transaction, when one is open) and empties the queue.
    [[nodiscard]] bool Write(QString* error);

    // Entries newest first: at most limit of those whose id is below beforeId
    // (0: from the newest), so a viewer reads the journal page by page.
    static bool Read(CxSQL* sql, qint64 beforeId, int limit, QList<CvLogEntry>* entries,
                     QString* error);

private:
    CxSQL* m_sql;
    QString m_source;
    QStringList m_captions;
    QStringList m_texts;
};

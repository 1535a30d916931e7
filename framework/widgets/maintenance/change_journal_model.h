#pragma once
// The change journal (CvLogRef, the table "changelog") as an item model:
// newest entries first, read a page at a time as a view scrolls (the entries
// before the last one read, by key), so a long journal costs only what is
// looked at. Columns: date, user, who changed (the test), what (caption),
// which rows (the text's first line; the whole text in the tool tip and
// through Entry).
#include "framework/core/dbtest/change_journal.h"

#include <QAbstractTableModel>

class CxSQL;

class CvLogRefModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kDate, kUser, kSource, kCaption, kText, kColumns };
    static constexpr int kPageSize = 200;

    explicit CvLogRefModel(CxSQL* sql, QObject* parent = nullptr);

    // Reads the newest page again; false (rows emptied, LastError set,
    // readFailed sent) when the journal cannot be read. A database without a
    // journal has no entries.
    bool Reload();
    const CvLogEntry& Entry(int row) const { return m_entries[row]; }
    const QString& LastError() const { return m_error; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

signals:
    // A page could not be read (while reloading, or while a view scrolled
    // on): the rows shown are not the whole journal. The view says so; it
    // must not pass for a journal that ends there.
    void readFailed(const QString& error);

private:
    bool JournalExists(bool* exists);

    CxSQL* m_sql;
    QList<CvLogEntry> m_entries;
    bool m_atEnd = true;
    bool m_changing = false; // while rows are being replaced or appended
    QString m_error;
};

#pragma once
// Result sets of the SQL layer: the driver-neutral row interface (CxResultBase)
// that a connection implements, and the owning handle (CxResult) that every
// caller reads rows through.
#include <QByteArray>
#include <QString>
#include <memory>

// What a failed statement left behind, so the caller can tell the user what
// failed (and where) instead of digging through the application's error list.
struct CxSQLError {
    unsigned serverCode = 0; // the server's (or client library's) error number
    QString text;            // the user's text for it
    QString statement;       // the statement as sent
    // For a write the connection refused because a column could not hold its
    // value (text too long, characters the column cannot store): the column.
    QString column;
    bool isSet() const { return serverCode != 0 || !text.isEmpty(); }
};

class CxResultBase {
public:
    virtual ~CxResultBase() = default;
    // -1 fetches the next row; another number positions on that row first.
    virtual bool FetchRow(qint64 row) = 0;
    virtual int FieldsCount() const = 0;
    virtual qint64 RowsCount() const = 0;
    virtual QString FieldName(int index) = 0;
    // Exact (case-sensitive) look-up; -1 when missing. A quiet flag of 0 also
    // tells the user which name was missing.
    virtual int FieldIndex(const QString& name, int quiet) = 0;
    virtual bool HasRow() const = 0;
    // nullptr for SQL NULL; the pointer stays valid until the next fetch.
    virtual const QString* TextValue(int index) = 0;
    virtual long LongValue(int index) = 0;
    virtual QByteArray RawTextOrEmpty(int index) = 0;
    virtual qint64 AffectedRows() const = 0;
    virtual unsigned long FieldLength(int index) = 0;
    virtual const char* RawField(int index) = 0;
    // A streamed result (CxSQL::ExecuteStreamed): why the rows stopped before
    // their end, empty while they came whole. Stored results read in one go.
    virtual CxSQLError FetchError() const { return {}; }
};

// Shown when a quiet field look-up misses; the widget layer installs a
// message box, the default only logs.
using CxFieldNotFoundHandler = void (*)(const QString& name);
void SetFieldNotFoundHandler(CxFieldNotFoundHandler handler);
void ReportFieldNotFound(const QString& name);

class CxResult {
public:
    CxResult() = default;
    explicit CxResult(CxResultBase* base) : m_base(base) {}

    bool isValid() const { return m_base && !m_error; }
    void SetError(CxSQLError error) {
        m_error = true;
        m_errorInfo = std::move(error);
    }
    // Empty unless the statement failed.
    const CxSQLError& Error() const { return m_errorInfo; }
    CxResultBase* Base() const { return m_base.get(); }

    bool FetchRow(qint64 row = -1);
    bool isFetched() const { return m_base && m_base->HasRow(); }
    // Changes with every fetched row, so a caller can tell rows apart.
    qint64 GetFetchID() const { return m_fetchId; }

    qint64 RowsCount() const { return m_base ? m_base->RowsCount() : 0; }
    int FieldsCount() const { return m_base ? m_base->FieldsCount() : 0; }
    QString FieldName(int index) const { return m_base ? m_base->FieldName(index) : QString(); }
    int FieldPos(const QString& name, int quiet = 0) const;
    qint64 AffectedRows() const { return m_base ? m_base->AffectedRows() : -1; }
    // After the last FetchRow of a streamed result: set when the rows were cut.
    CxSQLError FetchError() const { return m_base ? m_base->FetchError() : CxSQLError{}; }

    bool IsNull(int index) const;
    bool IsNull(const QString& name) const { return IsNull(FieldPos(name)); }
    // NULL reads as an empty text or 0.
    QString SFieldValue(int index) const;
    QString SFieldValue(const QString& name) const { return SFieldValue(FieldPos(name)); }
    long LFieldValue(int index) const;
    long LFieldValue(const QString& name) const { return LFieldValue(FieldPos(name)); }
    double DFieldValue(int index) const;
    double DFieldValue(const QString& name) const { return DFieldValue(FieldPos(name)); }

private:
    std::shared_ptr<CxResultBase> m_base;
    bool m_error = false;
    CxSQLError m_errorInfo;
    qint64 m_fetchId = 0;
};

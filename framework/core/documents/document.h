#pragma once
// Documents: what a window shows, apart from the window. A document has a
// title and knows whether it holds changes; its view (a widget of the widget
// layer) shows and edits it. The document classes that templates name
// derive from CxDocument and have a Q_INVOKABLE constructor taking the parent
// object.
#include "framework/core/record/dx_record.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class CxDocument : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxDocument(QObject* parent = nullptr);

    // Runs once when the document is made for a new window; false stops the
    // opening.
    virtual bool OnNewDocument();

    QString GetTitle() const { return m_title; }
    void SetTitle(const QString& title);

    // What the window was opened with: the parts of the command address after
    // the document's or view's name ("CJDirectoriesTab_Mat", "12", ...).
    const QStringList& GetArguments() const { return m_arguments; }
    void SetArguments(const QStringList& arguments) { m_arguments = arguments; }

signals:
    void titleChanged(const QString& title);

private:
    QString m_title;
    QStringList m_arguments;
};

// The document of a form view that is not bound to a record (journals).
class CxFormDocument : public CxDocument {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxFormDocument(QObject* parent = nullptr) : CxDocument(parent) {}
};

// The document of a tab form view (a journal of several lists).
class CxTabFormDoc : public CxFormDocument {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxTabFormDoc(QObject* parent = nullptr) : CxFormDocument(parent) {}
};

// The document of a record form: which record of which table, and the edit
// action the form was opened with (2055 edit, 2056 new, 2057 delete).
class CxSQLDocument : public CxDocument {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxSQLDocument(QObject* parent = nullptr) : CxDocument(parent) {}

    qint64 GetKey() const { return m_key; }
    void SetKey(qint64 key) { m_key = key; }
    int GetEditMode() const { return m_mode; }
    void SetEditMode(int mode) { m_mode = mode; }
    // A record allocated by whoever opened the form (a list that opens a
    // record of another table); the form takes it when it loads.
    void SetRecord(std::unique_ptr<CDXRecordSQL> record) { m_record = std::move(record); }
    std::unique_ptr<CDXRecordSQL> TakeRecord() { return std::move(m_record); }

private:
    qint64 m_key = -1;
    int m_mode = 0;
    std::unique_ptr<CDXRecordSQL> m_record;
};

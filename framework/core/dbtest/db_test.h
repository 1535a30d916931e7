#pragma once
// Database tests: self-registered checks that find rows breaking the rules
// the forms cannot always keep, repair them and write what they changed to
// the change journal. The program defines the tests (one factory object per
// test class, made with IMPLEMENT_DBTEST); the runner TestDB creates every
// registered test and runs it in ascending order number.
#include "framework/core/sql_result.h"

#include <QList>
#include <QString>
#include <QStringList>

class CxSQL;
class CvProgress;
class CvLogRef;

class CvDBTest {
public:
    virtual ~CvDBTest() = default;

    virtual QString GetTestName() const = 0;
    // Tests run in ascending order number.
    virtual int GetOrder() const = 0;
    virtual bool QuickTest() { return true; }
    virtual bool NormalTest() { return true; }
    // Finds the faults and repairs them; false when a statement failed or the
    // user stopped the test (GetFailure says what), and then nothing of the
    // repair stayed.
    virtual bool FullTest() = 0;

    // The runner's context, set before the test is called.
    void SetOwner(CxSQL* sql, CvProgress* progress) {
        m_sql = sql;
        m_progress = progress;
    }
    CxSQL* GetSQL() const { return m_sql; }
    const QString& GetFailure() const { return m_failure; }

protected:
    // Runs one statement on the test's connection; a failure becomes the
    // test's failure (the result is then not valid).
    CxResult Query(const QString& statement);
    // Keeps the text as the test's failure and answers false.
    bool Fail(const QString& text);

    // Runs the repair statements, then writes the journal's queued entries,
    // in one transaction: all of it stays, or (a statement failed, the user
    // stopped) none of it. The progress counts one step per statement.
    bool RunRepair(const QString& caption, const QStringList& statements, CvLogRef* journal);

    // The runner's progress, null when there is none.
    CvProgress* GetProgress() const { return m_progress; }
    // Progress calls that do nothing without a progress.
    void BeginProgress(const QString& title);
    void SetRange(int count, const QString& caption);
    void Step();
    void EndProgress(const QString& text);
    bool IsCancelled() const;

    // A session temporary table for a test's row ids: the statement names it
    // "$$$", which becomes a unique name; dropped when the object goes.
    class TempTable {
    public:
        explicit TempTable(CvDBTest* test) : m_test(test) {}
        ~TempTable();
        bool Create(const QString& statement);
        bool CreateIndex(const QString& column, bool unique);
        const QString& GetName() const { return m_name; }
        TempTable(const TempTable&) = delete;
        TempTable& operator=(const TempTable&) = delete;

    private:
        CvDBTest* m_test;
        QString m_name;
    };

private:
    CxSQL* m_sql = nullptr;
    CvProgress* m_progress = nullptr;
    QString m_failure;
};

// The factory of one test class; its global object registers it on
// construction and leaves the register when destroyed.
class CvDBTest_Container {
public:
    CvDBTest_Container();
    virtual ~CvDBTest_Container();
    // A new test (the caller owns it), or null when it cannot be made.
    virtual CvDBTest* CreateTest() const = 0;

    // The registered factories in registration order.
    static QList<CvDBTest_Container*> Registered();

    CvDBTest_Container(const CvDBTest_Container&) = delete;
    CvDBTest_Container& operator=(const CvDBTest_Container&) = delete;
};

// Defines the factory class CCTR_<test class>_CvDBTest_Container and its
// global object.
#define IMPLEMENT_DBTEST(TestClass)                                                                \
    class CCTR_##TestClass##_CvDBTest_Container : public CvDBTest_Container {                      \
    public:                                                                                        \
        CvDBTest* CreateTest() const override { return new (std::nothrow) TestClass; }             \
    };                                                                                             \
    static CCTR_##TestClass##_CvDBTest_Container g_CCTR_##TestClass##_CvDBTest_Container

// What one test of a run gave.
struct CvDBTestResult {
    QString name;
    int order = 0;
    bool ok = false;
    QString failure; // empty when ok
};

// Runs FullTest of every registered test in ascending order number (tests of
// one number in registration order) on the connection, after making sure the
// change journal exists. Answers true when every test succeeded; results gets
// one entry per test run. A stop asked through the progress ends the run
// before the next test (error says so); a test that fails does not stop the
// others.
bool TestDB(CxSQL* sql, CvProgress* progress, QList<CvDBTestResult>* results, QString* error);

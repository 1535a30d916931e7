#include "db_test.h"

#include "change_journal.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QRandomGenerator>

#include <algorithm>
#include <memory>

namespace {
QList<CvDBTest_Container*>& Register() {
    // A function's own object, so that factories of any library may register
    // during static initialisation whatever the order.
    static QList<CvDBTest_Container*> containers;
    return containers;
}

QString Cancelled() {
    return CTarvikApp::TranslateString(QStringLiteral("Тестирование прервано пользователем"),
                                       QStringLiteral("TestDB"));
}
} // namespace

CvDBTest_Container::CvDBTest_Container() {
    Register().append(this);
}

CvDBTest_Container::~CvDBTest_Container() {
    Register().removeAll(this);
}

QList<CvDBTest_Container*> CvDBTest_Container::Registered() {
    return Register();
}

CxResult CvDBTest::Query(const QString& statement) {
    CxResult res = m_sql->Execute(statement);
    if (!res.isValid())
        m_failure = DescribeSQLError(res.Error());
    return res;
}

bool CvDBTest::Fail(const QString& text) {
    m_failure = text;
    return false;
}

bool CvDBTest::RunRepair(const QString& caption, const QStringList& statements, CvLogRef* journal) {
    if (IsCancelled())
        return Fail(Cancelled());
    if (!Query(QStringLiteral("START TRANSACTION")).isValid())
        return false;
    SetRange(int(statements.size()), caption);
    bool ok = true;
    for (const QString& statement : statements) {
        if (!Query(statement).isValid()) {
            ok = false;
            break;
        }
        Step();
    }
    QString error;
    if (ok && journal && !journal->Write(&error))
        ok = Fail(error);
    if (ok && IsCancelled())
        ok = Fail(Cancelled());
    if (ok && Query(QStringLiteral("COMMIT")).isValid())
        return true;
    m_sql->RollbackAfterFailure(&m_failure);
    return false;
}

void CvDBTest::BeginProgress(const QString& title) {
    if (m_progress)
        m_progress->BeginProgress(title, -1);
}

void CvDBTest::SetRange(int count, const QString& caption) {
    if (m_progress)
        m_progress->SetRange(count, caption);
}

void CvDBTest::Step() {
    if (m_progress)
        m_progress->Step();
}

void CvDBTest::EndProgress(const QString& text) {
    if (m_progress)
        m_progress->EndProgress(text);
}

bool CvDBTest::IsCancelled() const {
    return m_progress && m_progress->IsCancelled();
}

CvDBTest::TempTable::~TempTable() {
    if (!m_name.isEmpty())
        m_test->GetSQL()->ExecuteCleanup(
            QStringLiteral("DROP TEMPORARY TABLE IF EXISTS `%1`").arg(m_name));
}

bool CvDBTest::TempTable::Create(const QString& statement) {
    const QString name = QStringLiteral("tmp_dbtest_%1")
                             .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    QString text = statement;
    if (!m_test->Query(text.replace(QStringLiteral("$$$"), name)).isValid())
        return false;
    m_name = name;
    return true;
}

bool CvDBTest::TempTable::CreateIndex(const QString& column, bool unique) {
    return m_test
        ->Query(QStringLiteral("ALTER TABLE `%1` ADD %2 INDEX (`%3`)")
                    .arg(m_name, unique ? QStringLiteral("UNIQUE") : QString(), column))
        .isValid();
}

bool TestDB(CxSQL* sql, CvProgress* progress, QList<CvDBTestResult>* results, QString* error) {
    results->clear();
    if (!CvLogRef::EnsureTable(sql, error))
        return false;
    std::vector<std::unique_ptr<CvDBTest>> tests;
    for (const CvDBTest_Container* container : CvDBTest_Container::Registered()) {
        if (CvDBTest* test = container->CreateTest())
            tests.emplace_back(test);
    }
    std::stable_sort(tests.begin(), tests.end(),
                     [](const auto& a, const auto& b) { return a->GetOrder() < b->GetOrder(); });
    bool all = true;
    for (const auto& test : tests) {
        if (progress && progress->IsCancelled()) {
            if (error)
                *error = Cancelled();
            return false;
        }
        test->SetOwner(sql, progress);
        CvDBTestResult result;
        result.name = test->GetTestName();
        result.order = test->GetOrder();
        result.ok = test->FullTest();
        if (!result.ok) {
            result.failure = test->GetFailure();
            all = false;
        }
        results->append(result);
    }
    if (!all && error)
        *error = CTarvikApp::TranslateString(
            QStringLiteral("Не все тесты базы данных завершились успешно"),
            QStringLiteral("TestDB"));
    return all;
}

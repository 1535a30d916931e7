#include "test_db_dialog.h"

#include "change_journal_view.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QPushButton>

#include <algorithm>
#include <memory>

namespace {
constexpr CxTr Tr("CTestDBDlg");

// The registered tests' names, in the order they run.
QString TestList() {
    QList<std::pair<int, QString>> tests;
    for (const CvDBTest_Container* container : CvDBTest_Container::Registered()) {
        std::unique_ptr<CvDBTest> test(container->CreateTest());
        if (test)
            tests.append({test->GetOrder(), test->GetTestName()});
    }
    std::stable_sort(tests.begin(), tests.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QString list;
    for (const auto& test : tests)
        list += QStringLiteral("\n• ") + test.second.toHtmlEscaped();
    return list;
}
} // namespace

CTestDBDlg::CTestDBDlg(CxSQL* sql, QWidget* parent)
    : CSimpleWizardDialog(
          Tr("Тестирование базы данных"), Tr("Тестирование базы данных"),
          Tr("Проверки ищут в базе данных записи, нарушающие ее правила (данные без клиента, "
             "ссылки на удаленные записи справочников, записи в удаленных папках), и "
             "исправляют их. Каждое исправление записывается в журнал изменений.\n\n"
             "Будут выполнены проверки:") +
              TestList(),
          parent),
      m_sql(sql ? sql : g_pBaseSQLConnection.get()) {
    SetRunText(Tr("Начать проверку"));
    connect(AddButton(Tr("Журнал изменений")), &QPushButton::clicked, this,
            &CTestDBDlg::ShowJournal);
}

bool CTestDBDlg::Process() {
    QString error;
    const bool ok = TestDB(m_sql, this, &m_results, &error);
    for (const CvDBTestResult& result : std::as_const(m_results)) {
        if (result.ok)
            AddInfoMessage(result.name + QStringLiteral(": ") + Tr("в порядке"));
        else
            AddWarning(result.name + QStringLiteral(": ") + result.failure, 0);
    }
    if (!ok)
        AddWarning(error, 0);
    else
        AddInfoMessage(Tr("Все проверки выполнены успешно"));
    return ok;
}

void CTestDBDlg::ShowJournal() {
    CvLogRefView journal(m_sql, this);
    journal.DoModal();
}

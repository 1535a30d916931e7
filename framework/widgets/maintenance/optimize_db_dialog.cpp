#include "optimize_db_dialog.h"

#include "framework/core/maintenance/optimize_db.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

namespace {
constexpr CxTr Tr("COptimizeDBDlg");
} // namespace

COptimizeDBDlg::COptimizeDBDlg(CxSQL* sql, QWidget* parent)
    : CSimpleWizardDialog(
          Tr("Оптимизация базы данных"), Tr("Оптимизация базы данных"),
          Tr("Оптимизация перестраивает каждую таблицу базы данных: место, освободившееся после "
             "удалений, возвращается, а сервер получает свежие сведения о данных для быстрого "
             "выполнения запросов.\n\nНа большой базе данных оптимизация может занять несколько "
             "минут; другие пользователи в это время могут работать медленнее."),
          parent),
      m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

bool COptimizeDBDlg::Process() {
    // The engine writes what failed into the log itself.
    QString error;
    if (!OptimizeDB(m_sql, this, Log(), &error))
        return false;
    AddInfoMessage(Tr("Оптимизация завершена"));
    return true;
}

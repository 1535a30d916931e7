#include "export_csv.h"

#include "exchange/core/analytics_export.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
constexpr CxTr Tr;
} // namespace

CExportCSV::CExportCSV(QWidget* parent, CxSQL* sql)
    : CSimpleWizardDialog(
          Tr(QStringLiteral("Экспорт данных в CSV"), QStringLiteral("msgExportCSV")),
          Tr(QStringLiteral("Экспорт данных в CSV"), QStringLiteral("msgExportCSV")),
          Tr(QStringLiteral("Данный помощник формирует набор таблиц для загрузки в программы "
                            "аналитики. Данные проходят предварительную обработку.\nФормат "
                            "полученных таблиц: csv с разделителем ';'"),
             QStringLiteral("msgExportWizardInfo"))
              .toHtmlEscaped(),
          parent),
      m_sql(sql ? sql : g_pBaseSQLConnection.get()), m_folder(CAnalyticsExport::DefaultFolder()) {
    SetRunText(Tr(QStringLiteral("Экспортировать"), QStringLiteral("msgExportiovat")));
}

bool CExportCSV::Process() {
    AddInfoMessage(Tr(QStringLiteral("Папка экспорта: "), QStringLiteral("CExportCSV::Process")) +
                   QDir::toNativeSeparators(m_folder));
    CAnalyticsExport exporter(m_sql);
    QString error;
    if (!exporter.Run(m_folder, this, Log(), &error))
        return false;
    AddInfoMessage(
        Tr(QStringLiteral("Все файлы записаны."), QStringLiteral("CExportCSV::Process")));
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder));
    return true;
}

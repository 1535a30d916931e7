#include "dbf_out.h"

#include "exchange/core/accounting_export.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "reports/base/core/fast_tables.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
constexpr CxTr Tr("CDBFOut");

// The work tables are one step of the export: their builder's phases show
// as the line under the bar, and the export's stop stops them too.
class BuilderProgress : public CvProgress {
public:
    explicit BuilderProgress(CWizardDlg* wizard) : m_wizard(wizard) {}
    void BeginProgress(const QString& title, int) override { Show(title); }
    void SetRange(int, const QString& caption) override { Show(caption); }
    void Step(const QString& text, int) override { Show(text.isEmpty() ? m_last : text); }
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return m_wizard->IsCancelled(); }

private:
    void Show(const QString& text) {
        if (!text.isEmpty())
            m_last = text;
        m_wizard->SetCountText(m_last);
    }
    CWizardDlg* m_wizard;
    QString m_last;
};
} // namespace

CDBFOut::CDBFOut(QWidget* parent, CxSQL* sql)
    : CSimpleWizardDialog(Tr("Выгрузка в DBF"), Tr("Выгрузка в DBF"), QString(), parent),
      m_sql(sql ? sql : g_pBaseSQLConnection.get()), m_folder(CAccountingExport::DefaultFolder()) {
    SetRunText(Tr("Выгрузить"));
}

QString CDBFOut::GetSummary() const {
    return Tr("Справочники, клиенты и визиты будут выгружены для бухгалтерской программы в "
              "папку:") +
           QStringLiteral("\n<b>") + QDir::toNativeSeparators(m_folder).toHtmlEscaped() +
           QStringLiteral("</b>\n\n") +
           Tr("Файлы прежней выгрузки будут заменены. Папка откроется, когда будут записаны все "
              "файлы.");
}

bool CDBFOut::Process() {
    AddInfoMessage(Tr("Папка выгрузки: ") + QDir::toNativeSeparators(m_folder));
    CAccountingExport exporter(m_sql);
    CxSQL* sql = m_sql;
    exporter.SetWorkTablesBuilder([this, sql](QString* error) {
        BuilderProgress progress(this);
        return CFastTables(sql).Process(&progress, error);
    });
    QStringList failures;
    if (!exporter.Run(m_folder, this, Log(), &failures)) {
        AddWarning(Tr("Выгрузка не завершена: папка не открывается, пока не записаны все файлы."),
                   0);
        return false;
    }
    AddInfoMessage(Tr("Все файлы записаны."));
    // Only a complete set goes to the accounting program.
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder));
    return true;
}

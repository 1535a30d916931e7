#include "analytics_export.h"

#include "cp1251.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/temp_tables/sql_win_app_ext.h"
#include "framework/core/translation.h"
#include "model/config/configuration.h"
#include "model/tables/material_groups_script.h"
#include "model/tables/table_set.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr int kVisitsPageRows = 100000;

constexpr CxTr Tr;

// Writes a whole file in code page 1251 with CR LF line ends; it replaces the
// previous file only once complete.
class TextFile {
public:
    explicit TextFile(const QString& path) : m_file(path) {}
    bool Open(QString* error) {
        if (m_file.open(QIODevice::WriteOnly))
            return true;
        return Fail(error);
    }
    bool Write(const QString& text) {
        QString crlf = text;
        crlf.replace(u'\n', QStringLiteral("\r\n"));
        const QByteArray bytes = ToCp1251(crlf);
        m_ok = m_ok && m_file.write(bytes) == bytes.size();
        return m_ok;
    }
    bool Commit(QString* error) {
        if (m_ok && m_file.commit())
            return true;
        m_file.cancelWriting();
        return Fail(error);
    }

private:
    bool Fail(QString* error) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось записать файл "),
                        QStringLiteral("CExportCSV::Process")) +
                     QDir::toNativeSeparators(m_file.fileName()) + u'\n' + m_file.errorString();
        return false;
    }
    QSaveFile m_file;
    bool m_ok = true;
};

bool WriteCaptionFile(const QString& folder, const QString& name, const QString& text,
                      QString* error) {
    TextFile file(QDir(folder).filePath(name));
    return file.Open(error) && file.Write(text) && file.Commit(error);
}

} // namespace

QString CAnalyticsExport::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("Kelda2-CSV"));
}

QString CAnalyticsExport::RowText(const CxResult& result) {
    QString line;
    line.reserve(128);
    const int n = result.FieldsCount();
    for (int i = 0; i < n; ++i) {
        if (i)
            line += u';';
        QString text = result.SFieldValue(i);
        // A line break of any kind would break the row for the reading program.
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(u'\r', u' ').replace(u'\n', u' ');
        text.replace(u'"', QStringLiteral("\"\""));
        if (text.contains(u';') || text.contains(u'"'))
            line += u'"' + text + u'"';
        else
            line += text;
    }
    return line;
}

bool CAnalyticsExport::ExportStandartTable(const QString& folder, const CxTable& table,
                                           QString* error) {
    QString captions;
    for (const CxField* field : table.GetFields())
        captions += field->GetCaption() + QStringLiteral(" (") + field->GetResultName() +
                    QStringLiteral(")\n");
    if (!WriteCaptionFile(folder, table.GetName() + QStringLiteral(".hdr"), captions, error))
        return false;
    CxResult res = m_sql->Execute(table.BuildSelect());
    if (!res.isValid()) {
        if (error)
            *error = Tr(QStringLiteral("Ошибка в структуре таблицы:\n\t[bold]{table}[/bold]"),
                        QStringLiteral("CExportCSV::ExportStandartTable"))
                         .replace(QLatin1String("{table}"), table.GetCaption()) +
                     u'\n' + DescribeSQLError(res.Error());
        return false;
    }
    TextFile file(QDir(folder).filePath(table.GetName() + QStringLiteral(".csv")));
    if (!file.Open(error))
        return false;
    while (res.FetchRow())
        if (!file.Write(RowText(res) + u'\n'))
            break;
    return file.Commit(error);
}

bool CAnalyticsExport::Run(const QString& folder, CvProgress* progress, CvRunLog* log,
                           QString* error) {
    auto info = [log](const QString& text) {
        if (log)
            log->AddInfoMessage(text, 1);
    };
    auto fail = [&](const QString& why) {
        if (log)
            log->AddWarning(why, 0);
        if (error)
            *error = why;
        if (progress)
            progress->EndProgress(why);
        return false;
    };
    if (progress)
        progress->BeginProgress(
            Tr(QStringLiteral("Экспорт данных в CSV"), QStringLiteral("msgExportCSV")), -1);
    if (!QDir().mkpath(folder))
        return fail(
            Tr(QStringLiteral("Не удалось создать папку "), QStringLiteral("CExportCSV::Process")) +
            QDir::toNativeSeparators(folder));

    xConfiguration* config = CurrentConfiguration();
    xLanguage* language = config ? config->GetCurrentLanguage() : nullptr;
    QString groups;
    if (language) {
        POSITION pos = language->MatGroups.InitScan_sEnum2();
        while (language->MatGroups.ScanNext_sEnum2(pos)) {
            const sMatGroups* item = language->MatGroups.Current(pos);
            if (item->nGroup == 0)
                groups += item->cText + QStringLiteral(" (") + QString::number(item->nCode) +
                          QStringLiteral(")\n");
        }
    }
    QString why;
    if (!WriteCaptionFile(folder, QStringLiteral("VisitsMat-MatType.hdr"), groups, &why) && log)
        log->AddWarning(why, 1);

    struct TableStep {
        CxTable* table;
        QString text;
        QString key;
    };
    const QList<TableStep> tables = {
        {static_cast<CxTable*>(g_pDrugListTable), QStringLiteral("Экспорт справочника наркотиков"),
         QStringLiteral("msgExportDruDir")},
        {static_cast<CxTable*>(g_pMaterialsTable), QStringLiteral("Экспорт справочника материалов"),
         QStringLiteral("msgExportMatDir")},
        {static_cast<CxTable*>(g_pWorkPlaceTable), QStringLiteral("Пункты предоставления услуг"),
         QStringLiteral("msgPOUExport")},
        {static_cast<CxTable*>(g_pClientDataChangesTable),
         QStringLiteral("Изменение уязвимой группы"),
         QStringLiteral("msgExportClientGroupChanges")},
        {static_cast<CxTable*>(g_pDrugUseDataTable), QStringLiteral("Информация о наркотиках"),
         QStringLiteral("msgExportDrugUseInfo")},
        {static_cast<CxTable*>(g_pSocialStatusTable),
         QStringLiteral("Информация о социальном статусе"),
         QStringLiteral("msgExportSocStatusInfo")},
        {static_cast<CxTable*>(g_pHealthStatusTable), QStringLiteral("Информация о здоровье"),
         QStringLiteral("msgExportHealthStatusInfo")},
        {static_cast<CxTable*>(g_pRiskBehaviorTable),
         QStringLiteral("Информация о рискованном поведении"), QStringLiteral("msgExportRiskBeh")},
        {static_cast<CxTable*>(g_pClientDataTable), QStringLiteral("Клиенты"),
         QStringLiteral("msgClients")},
    };
    if (progress)
        progress->SetRange(int(tables.size()) + 1, Tr(QStringLiteral("Экспорт данных в CSV"),
                                                      QStringLiteral("msgExportCSV")));
    for (const TableStep& step : tables) {
        if (progress && progress->IsCancelled())
            return fail(Tr(QStringLiteral("Экспорт прерван пользователем"),
                           QStringLiteral("CExportCSV::Process")));
        info(Tr(step.text, step.key));
        if (!step.table)
            return fail(Tr(QStringLiteral("Описания таблиц не загружены"),
                           QStringLiteral("CExportCSV::Process")));
        if (!ExportStandartTable(folder, *step.table, &why))
            return fail(why);
        if (progress)
            progress->Step();
    }

    info(Tr(QStringLiteral("Визиты. Материалы"), QStringLiteral("msgVisitsMatExport")));
    if (!WriteCaptionFile(folder, QStringLiteral("VisitsMat.hdr"),
                          Tr(QStringLiteral("Дата отчета\nКоличетсво\nКод клиента\nКод группы "
                                            "материалов\nКод отчета\nКод места предоставления\nКод "
                                            "региона"),
                             QStringLiteral("msgExportCSVHDR")),
                          &why) &&
        log)
        log->AddWarning(why, 1);
    TextFile visits(QDir(folder).filePath(QStringLiteral("VisitsMat.csv")));
    if (!visits.Open(&why))
        return fail(why);
    // No material mapped to a group: no visit has a group, the file stays
    // empty. A mapping whose table cannot be built is a failure, not an empty
    // file.
    const QString groupsScript = MaterialGroupsScript(ConfiguredMaterialGroups());
    if (!groupsScript.isEmpty()) {
        const QString groupsTable =
            CSQLWinAppExt::GetSQLAppExt()->RegisterTemporaryTable(groupsScript, m_sql);
        if (groupsTable.isEmpty())
            return fail(Tr(QStringLiteral("Не удалось построить таблицу групп материалов"),
                           QStringLiteral("CExportCSV::Process")) +
                        u'\n' + CTarvikApp::TakeErrorMessages());
        const QString tab = QStringLiteral("\t");
        const QString script =
            QStringLiteral("$$$!CREATE TEMPORARY TABLE $$$ AS ") + tab + tab +
            QStringLiteral(" SELECT dailyreport.dDate,SUM(dailyvisits.nCount) AS "
                           "nCount,dailyvisits.nClientID,nMatGroup,dailyreport.ROWID AS nReportID "
                           ",dailyreport.nWorkPlace,dailyreport.nRegionDataID FROM dailyvisits") +
            tab + tab + QStringLiteral(" JOIN dailyreport") +
            QStringLiteral(" ON dailyreport.ROWID=") + QStringLiteral("dailyvisits.nReportID") +
            tab + tab + QStringLiteral(" JOIN ") + groupsTable +
            QStringLiteral(" ON dailyvisits.nItem=") + groupsTable + QStringLiteral(".ROWID ") +
            tab + tab +
            QStringLiteral(" GROUP BY dailyvisits.nClientID,nMatGroup,dailyreport.ROWID @\n") +
            // Pages are read in the order of this key, so none is lost or read twice.
            QStringLiteral("!CREATE UNIQUE INDEX i_$$$ ON $$$ (nClientID,nMatGroup,nReportID)");
        const QString table = CSQLWinAppExt::GetSQLAppExt()->RegisterTemporaryTable(script, m_sql);
        if (table.isEmpty())
            return fail(Tr(QStringLiteral("Не удалось построить таблицу визитов"),
                           QStringLiteral("CExportCSV::Process")) +
                        u'\n' + CTarvikApp::TakeErrorMessages());
        for (qint64 offset = 0;; offset += kVisitsPageRows) {
            if (progress && progress->IsCancelled())
                return fail(Tr(QStringLiteral("Экспорт прерван пользователем"),
                               QStringLiteral("CExportCSV::Process")));
            CxResult page = m_sql->Execute(
                QStringLiteral(
                    "SELECT * FROM %1 ORDER BY nClientID,nMatGroup,nReportID LIMIT %2,%3")
                    .arg(table)
                    .arg(offset)
                    .arg(kVisitsPageRows));
            if (!page.isValid())
                return fail(DescribeSQLError(page.Error()));
            if (!page.RowsCount())
                break;
            QString chunk;
            while (page.FetchRow())
                chunk += RowText(page) + u'\n';
            if (!visits.Write(chunk))
                break;
        }
    }
    if (!visits.Commit(&why))
        return fail(why);
    if (progress) {
        progress->Step();
        progress->EndProgress(QStringLiteral("Ok"));
    }
    return true;
}

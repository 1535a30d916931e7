#include "daily_report_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

namespace {
// The "Количество/услуги" cell: 0 for an empty cell, 1 for a service whatever
// its count, the names of the set flags for a consultation, else the count.
// It yields text (the flag names), so it is registered as text.
QString CountOrServiceSQL() {
    const QString mask = LongToString(268369920);
    return QStringLiteral("if(nCount=0,0,if({MATERIAL}.nType&") + mask + u'=' +
           LongToString(262144) + QStringLiteral(",1,IF({MATERIAL}.nType&") + mask + u'=' +
           LongToString(458752) + u',' +
           EnumTextSQL(TableEnum("xConsAndDir"), QStringLiteral("nCount")) +
           QStringLiteral(",nCount)))");
}
} // namespace

CxTable_DailyReport::CxTable_DailyReport()
    : CxTable("dailyreport",
              CTarvikApp::TranslateString(
                  QStringLiteral("Ежедневный отчет"),
                  QStringLiteral("CxTable_DailyReport::CxTable_DailyReport"), 1),
              "DailyReport") {}
void CxTable_DailyReport::Init() {
    CxFieldRegistrar r(this, "CxTable_DailyReport::Init");
    m_ROWID = r.Add(17109, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_dDate = r.Add(17110, "dDate", "Дата отчета", FF_DATE);
    m_nCrc = r.Add(19138, "nCrc", "Контрольная сумма", FF_INT);
    r.AddEnum(m_nProject, m_nProjectText, 20454, "nProject", "Проект(ы)",
              TableConfigList("PRJLIST"));
    r.AddLookup(m_nWorker1, m_WORKER1_cString, 17111, "nWorker1", "Основной социальный работник",
                g_pWorkersTable.GetPtr(), "WORKER1", "cString");
    r.AddLookup(m_nWorker2, m_WORKER2_cString, 18312, "nWorker2", "Второй социальный работник",
                g_pWorkersTable.GetPtr(), "WORKER2", "cString");
    r.AddLookup(m_nWorker3, m_WORKER3_cString, 18320, "nWorker3", "Третий социальный работник",
                g_pWorkersTable.GetPtr(), "WORKER3", "cString");
    r.AddLookup(m_nWorkPlace, m_WORKPLACE_cString, 17114, "nWorkPlace",
                "Место предоставления услуг", g_pWorkPlaceTable.GetPtr(), "WORKPLACE", "cString");
    m_cComment = r.Add(17115, "cComment", "Комментарий", FF_TEXT | FF_NAME);
    m_bIsFolder = r.Add(17306, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_nRegionDataID = r.Add(19286, "nRegionDataID", "Код региона", FF_INT);
    m_RGCODE_cOrgID = r.AddOrgText(18721, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18722, "cOrgName", "Название организации");
    r.AddFolders(m_FOLDER_cComment, m_nGroupID, 18316, "cComment", m_cComment, m_ROWID);
}

CxTable_DailyVisitsSubHDR::CxTable_DailyVisitsSubHDR()
    : CxTable("dailyvisitssubhdr",
              CTarvikApp::TranslateString(
                  QStringLiteral("Внутрення дополнительная таблица"),
                  QStringLiteral("CxTable_DailyVisitsSubHDR::CxTable_DailyVisitsSubHDR"), 1),
              "DailyVisitsSubHDR") {}
void CxTable_DailyVisitsSubHDR::Init() {
    CxFieldRegistrar r(this, "CxTable_DailyVisitsSubHDR::Init");
    m_nReportID = r.Add(18156, "nReportID", "Код отчета", FF_INT);
    m_nVedID = r.Add(18157, "nVedID", "Код ведомости", FF_INT);
    m_nKeyFirst =
        r.Join(r.Add(18158, "nKeyFirst", "Код материала", FF_INT), g_pMaterialsTable.GetPtr(),
               "{MATERIALS}", "{MATERIALS}.ROWID={TABLE}.nKeyFirst");
    m_nKeySecond = r.Add(18159, "nKeySecond", "Код позиции", FF_INT);
    m_nWidth = r.Add(18160, "nWidth", "Ширина колонки", FF_INT);
    m_nPos = r.Add(18161, "nPos", "Позиция сортировки", FF_INT);
    m_nRegionDataID = r.Add(18749, "nRegionDataID", "Код региона", FF_INT);
}

CxTable_DailyRedirects::CxTable_DailyRedirects()
    : CxTable("dailyredirects",
              CTarvikApp::TranslateString(
                  QStringLiteral("Консультации и перенаправления клиентов"),
                  QStringLiteral("CxTable_DailyRedirects::CxTable_DailyRedirects"), 1),
              "DailyRedirects") {}
void CxTable_DailyRedirects::Init() {
    CxFieldRegistrar r(this, "CxTable_DailyRedirects::Init");
    m_nItem = r.Add(17123, "nItem", "Материал или услуга", FF_INT);
    m_MATERIAL_cString =
        r.Join(r.Add(17123, "{MATERIAL}.cString", "Материал или услуга", FF_TEXT | FF_JOINED),
               g_pMaterialsTable.GetPtr(), "{MATERIAL}", "{MATERIAL}.ROWID={TABLE}.nItem");
    m_nCount = r.Add(17124, "nCount", "Количество", FF_INT);
    m_nVedID = r.Add(18166, "nVedID", "Код ведомости", FF_INT);
    m_nConsultKey = r.Add(18167, "nConsultKey", "Положение указателя на консультацию", FF_INT);
    m_nReportID = r.Add(17116, "nReportID", "Код отчета", FF_INT);
    m_REPORT_dDate =
        r.Join(r.Add(18701, "{REPORT}.dDate", "Дата визита", FF_DATE), g_pDailyReportTable.GetPtr(),
               "{REPORT}", "{REPORT}.ROWID={TABLE}.nReportID");
}

CxTable_DailyVisits::CxTable_DailyVisits()
    : CxTable("dailyvisits",
              CTarvikApp::TranslateString(
                  QStringLiteral("Визиты клиентов"),
                  QStringLiteral("CxTable_DailyVisits::CxTable_DailyVisits"), 1),
              "DailyVisits") {}
void CxTable_DailyVisits::Init() {
    CxFieldRegistrar r(this, "CxTable_DailyVisits::Init");
    m_ROWID = r.Add(18216, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_nReportID = r.Add(18702, "nReportID", "Код отчета", FF_INT);
    m_nClientID =
        r.Join(r.Add(17117, "nClientID", "Код клиента", FF_INT), g_pClientDataTable.GetPtr(),
               "{CLIENT}", "{CLIENT}.ROWID={TABLE}.nClientID");
    r.AddLookup(m_nItem, m_MATERIAL_cString, 17118, "nItem", "Материал или услуга",
                g_pMaterialsTable.GetPtr(), "MATERIAL", "cString");
    m_nRegionDataID = r.Add(20738, "nRegionDataID", "Код региона", FF_INT);
    m_nCount = r.Add(17119, "nCount", "Количество", FF_INT);
    m_CountOrService =
        r.Join(r.Add(18455, CountOrServiceSQL(), "Количество/услуги", FF_TEXT),
               g_pMaterialsTable.GetPtr(), "{MATERIAL}", "{MATERIAL}.ROWID={TABLE}.nItem");
    m_NPP = r.Add(17120, "NPP", "Номер по порядку", FF_INT);
    m_nVedID = r.Add(18147, "nVedID", "Внутренний номер ведомости", FF_INT);
    m_REPORT_dDate =
        r.Join(r.Add(18215, "{REPORT}.dDate", "Дата визита", FF_DATE), g_pDailyReportTable.GetPtr(),
               "{REPORT}", "{REPORT}.ROWID={TABLE}.nReportID");
    m_WORKER1_cString = r.Join(
        r.Add(18328, "{WORKER1}.cString", "Основной социальный работник", FF_TEXT | FF_JOINED),
        g_pWorkersTable.GetPtr(), "{WORKER1}", "{WORKER1}.ROWID={REPORT}.nWorker1");
    m_WORKER2_cString =
        r.Join(r.Add(18329, "{WORKER2}.cString", "Второй социальный работник", FF_TEXT | FF_JOINED),
               g_pWorkersTable.GetPtr(), "{WORKER2}", "{WORKER2}.ROWID={REPORT}.nWorker2");
    m_WORKER3_cString =
        r.Join(r.Add(18330, "{WORKER3}.cString", "Третий социальный работник", FF_TEXT | FF_JOINED),
               g_pWorkersTable.GetPtr(), "{WORKER3}", "{WORKER3}.ROWID={REPORT}.nWorker3");
    m_WORKPLACE_cString = r.Join(
        r.Add(18331, "{WORKPLACE}.cString", "Место предоставления услуг", FF_TEXT | FF_JOINED),
        g_pWorkPlaceTable.GetPtr(), "{WORKPLACE}", "{WORKPLACE}.ROWID={REPORT}.nWorkPlace");
    m_REPORT_cComment =
        r.Join(r.Add(18332, "{REPORT}.cComment", "Комментарий", FF_TEXT),
               g_pDailyReportTable.GetPtr(), "{REPORT}", "{REPORT}.ROWID={TABLE}.nReportID");
}

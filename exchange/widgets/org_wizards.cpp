#include "org_wizards.h"

#include "exchange/core/org_merge.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

namespace {
constexpr CxTr Tr;
} // namespace

CMergeOrgsWizard::CMergeOrgsWizard(QWidget* parent, CxSQL* sql)
    : CSimpleWizardDialog(
          Tr(QStringLiteral("Объединение организаций"), QStringLiteral("msgMergeOrgWiz")),
          Tr(QStringLiteral("Объединение организаций"), QStringLiteral("msgMergeOrgWiz")),
          QString(), parent),
      m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

void CMergeOrgsWizard::OnInitPages() {
    RegisterPage(new CPreStart(
        QStringLiteral("<h1>") + GetTitle().toHtmlEscaped() + QStringLiteral("</h1>\n") +
        Tr(QStringLiteral("Объединение"), QStringLiteral("msgMergOrgText"))));
    SetProcessorPage(new CProcessor(this));
}

QString CMergeOrgsWizard::GetSummary() const {
    return QStringLiteral("<warning>") +
           Tr(QStringLiteral(
                  "Очень важно!!! \n\nПрочитать!!!\n\nЭта операция служит для «превращения» "
                  "объединенных в базу данных нескольких организаций в одну организацию. После "
                  "объединения это будет база без деления на под-организации. \nОперация "
                  "необратимая, поэтому обязательно сделать резервную копию.\n\nДля успешного "
                  "объединения необходимо выполнение следующих условий: все загруженные базы, не "
                  "должны содержать клиентов с одинаковыми кодами, справочники не должны "
                  "содержать одинаковые наименования.\n\nПосле этой операции база станет "
                  "доступной для редактирования."),
              QStringLiteral("msgMergeOrgInfo"))
               .toHtmlEscaped() +
           QStringLiteral("</warning>");
}

bool CMergeOrgsWizard::Process() {
    QString error;
    return MergeOrganisations(m_sql, this, Log(), &error);
}

CRemoveOrgWizard::CRemoveOrgWizard(int orgId, const QString& orgCode, QWidget* parent, CxSQL* sql)
    : CSimpleWizardDialog(
          Tr(QStringLiteral("Удаление организации"), QStringLiteral("msgOrgDelete")),
          Tr(QStringLiteral("Удаление организации"), QStringLiteral("msgOrgDelete")),
          RemoveOrgDescription(orgCode), parent),
      m_orgId(orgId), m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

bool CRemoveOrgWizard::Process() {
    QString error;
    return RemoveOrganisation(m_sql, m_orgId, this, Log(), &error);
}

#include "client_journal_query.h"

#include "model/tables/table_set.h"

#include <QStringList>

namespace {
// The columns of one history: its descriptor and fields, in journal order.
struct HistoryColumns {
    CxTable* table;
    QList<CxField*> fields;
};

QList<CxField*> ClientFields() {
    CxTable_ClientData* c = g_pClientDataTable;
    return {c->m_ROWID,
            c->m_cClientCode,
            c->m_nBirthYear,
            c->m_nSexText,
            c->m_CLIEXT_nClientTypeText,
            c->m_dEnterDate,
            c->m_dUpdateDate,
            c->m_bSecondaryText,
            c->m_RGCODE_cOrgName,
            c->m_RGCODE_cOrgID,
            c->m_dStartInPrjDate,
            c->m_cOClientCode,
            c->m_cComment};
}

QList<HistoryColumns> Histories() {
    CxTable_RiskBehavior* r = g_pRiskBehaviorTable;
    CxTable_SocialStatus* s = g_pSocialStatusTable;
    CxTable_DrugUseData* d = g_pDrugUseDataTable;
    return {
        {r,
         {r->m_dUpdateDate, r->m_nDesinfectionWayText, r->m_nGivingUsedText,
          r->m_nLastInjectWithText, r->m_nLastSexualPartText, r->m_nUseDirtySyrText,
          r->m_nUsingCondomText}},
        {s,
         {s->m_bNarcoDispText, s->m_bRegPoliceText, s->m_nEploymentStatusText, s->m_cOtherEployment,
          s->m_dUpdateDate, s->m_nChildCount, s->m_nEducationLevelText, s->m_nLegalProblemText,
          s->m_nPlaceOfLivingText}},
        {d,
         {d->m_dUpdateDate, d->m_BASICDRUG_cString, d->m_nDrugStartDate, d->m_nMainRouteText,
          d->m_nParticipationText, d->m_SECONDARYDRUG_cString, d->m_nUseFrequencyText}},
    };
}

QString HistoryResultName(const CxTable* table, const CxField* field) {
    return table->GetName() + u'_' + field->GetResultName();
}
} // namespace

QList<CClientJournalColumn> CClientJournalQuery::Columns() {
    QList<CClientJournalColumn> columns;
    for (const CxField* f : ClientFields())
        columns.append({g_pClientDataTable, f, f->GetResultName(), f->GetCaption()});
    for (const HistoryColumns& h : Histories())
        for (const CxField* f : h.fields)
            columns.append({h.table, f, HistoryResultName(h.table, f), f->GetCaption()});
    return columns;
}

QString CClientJournalQuery::Select(qint64 folder, const QString& where) {
    CxTable_ClientData* clients = g_pClientDataTable;
    CxSelectOptions own;
    for (const CxField* f : ClientFields())
        own.fields << f;
    own.fields << clients->m_bIsFolder << clients->m_nGroupID;
    own.folder = folder;
    own.where = where;

    QStringList columns{QStringLiteral("C.*")};
    QString joins;
    for (const HistoryColumns& h : Histories()) {
        const QString alias = h.table->GetName();
        CxSelectOptions newest;
        for (const CxField* f : h.fields) {
            newest.fields << f;
            columns << alias + QStringLiteral(".`") + f->GetResultName() +
                           QStringLiteral("` AS `") + HistoryResultName(h.table, f) + u'`';
        }
        CxField* mark = h.table->FindField(QStringLiteral("nLastLinkID"));
        newest.fields << mark;
        newest.where = QStringLiteral("{TABLE}.nLastLinkID IS NOT NULL");
        newest.orderBy = QStringLiteral("{TABLE}.nLastLinkID");
        joins += QStringLiteral(" LEFT JOIN (") + h.table->BuildSelect(newest) +
                 QStringLiteral(") AS ") + alias + QStringLiteral(" ON ") + alias +
                 QStringLiteral(".nLastLinkID=C.ROWID");
    }
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM (") + clients->BuildSelect(own) + QStringLiteral(") AS C") +
           joins + QStringLiteral(" ORDER BY C.bIsFolder DESC, C.cClientCode, C.ROWID");
}

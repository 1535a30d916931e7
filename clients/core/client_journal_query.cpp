#include "client_journal_query.h"

#include "framework/core/table/sql_placeholders.h"
#include "model/tables/table_set.h"

#include <QStringList>
#include <memory>

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

CxField* CopyField(CxTable* into, const CxField* f, const QString& column) {
    CxField* copy = f->GetEnum() ? into->RegisterField(f->GetID(), column, f->GetCaption(),
                                                       f->GetFlags(), f->GetEnum())
                                 : into->RegisterField(f->GetID(), column, f->GetCaption(),
                                                       f->GetFlags(), f->GetLookupTable());
    for (const int id : f->GetAttributes())
        copy->AddAttributes({id});
    return copy;
}

// The journal is made again when the table set was made again (tests
// initialise it more than once).
struct Cache {
    std::unique_ptr<CxTable_ClientJournal> table;
    QList<const CxTable*> sources;
};
Cache& JournalCache() {
    static Cache cache;
    return cache;
}
QList<const CxTable*> Sources() {
    return {g_pClientDataTable.GetPtr(), g_pRiskBehaviorTable.GetPtr(),
            g_pSocialStatusTable.GetPtr(), g_pDrugUseDataTable.GetPtr(),
            g_pClientDataChangesTable.GetPtr()};
}
} // namespace

CxTable_ClientJournal::CxTable_ClientJournal()
    : CxTable(g_pClientDataTable->GetSQLTable(), g_pClientDataTable->GetCaption(),
              QStringLiteral("ClientJournal"), g_pClientDataTable->GetFilter()) {}

CxField* CxTable_ClientJournal::ClientField(const CxField* original) const {
    for (const auto& [from, copy] : m_clientCopies)
        if (from == original)
            return copy;
    return nullptr;
}

void CxTable_ClientJournal::Build() {
    CxTable_ClientData* clients = g_pClientDataTable;
    for (const int id : clients->GetAttributes())
        AddAttributes({id});
    SetRecordAddress(clients->GetRecordAddress());
    // Every field of the client table, with its joins, as the client table
    // has them.
    for (const CxField* f : clients->GetFields()) {
        CxField* copy = CopyField(this, f, f->GetColumn());
        for (const QString& alias : f->GetJoinAliases())
            if (const CxJoin* join = clients->FindJoin(alias))
                copy->LeftJoin(join->table, alias, join->expression, join->flags);
        m_clientCopies.append({f, copy});
    }
    for (const CxField* f : ClientFields())
        m_journal << ClientField(f);

    // The history columns: the history's newest row joined under the
    // history's name, the history's own joins under that name and theirs.
    for (const HistoryColumns& h : Histories()) {
        const QString alias = h.table->GetName();
        const auto rename = [&](const QString& text) {
            return ReplaceSQLPlaceholders(text, [&](const QString& word) {
                return word == QStringLiteral("TABLE") ? u'{' + alias + u'}'
                                                       : u'{' + alias + u'_' + word + u'}';
            });
        };
        for (const CxField* f : h.fields) {
            const QString column = f->IsPlainColumn()
                                       ? u'{' + alias + QStringLiteral("}.") + f->GetColumn()
                                       : rename(f->GetColumn());
            CxField* copy = CopyField(this, f, column);
            copy->LeftJoin(
                h.table, alias,
                QStringLiteral("{TABLE}.ROWID={") + alias + QStringLiteral("}.nLastLinkID"), 0);
            for (const QString& joined : f->GetJoinAliases())
                if (const CxJoin* join = h.table->FindJoin(joined))
                    copy->LeftJoin(join->table, alias + u'_' + joined, rename(join->expression),
                                   join->flags);
            m_journal << copy;
        }
    }
}

CxTable_ClientJournal* CClientJournalQuery::Table() {
    Cache& cache = JournalCache();
    const QList<const CxTable*> sources = Sources();
    if (!cache.table || cache.sources != sources) {
        cache.table.reset();
        if (!g_pClientDataTable.GetPtr())
            return nullptr;
        cache.table = std::make_unique<CxTable_ClientJournal>();
        cache.table->Build();
        cache.sources = sources;
    }
    return cache.table.get();
}

QList<CClientJournalColumn> CClientJournalQuery::Columns() {
    QList<CClientJournalColumn> columns;
    CxTable_ClientJournal* journal = Table();
    if (!journal)
        return columns;
    for (const CxField* f : journal->JournalFields())
        columns.append({journal, f, f->GetResultName(), f->GetCaption()});
    return columns;
}

QString CClientJournalQuery::Select(qint64 folder, const QString& where) {
    CxTable_ClientJournal* journal = Table();
    if (!journal)
        return QString();
    CxTable_ClientData* clients = g_pClientDataTable;
    CxSelectOptions options;
    for (const CxField* f : journal->JournalFields())
        options.fields << f;
    options.fields << journal->ClientField(clients->m_bIsFolder)
                   << journal->ClientField(clients->m_nGroupID);
    options.folder = folder;
    options.where = where;
    return journal->BuildSelect(options);
}

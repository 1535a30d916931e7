#include "client_history_store.h"

#include "sql_run.h"

#include "framework/core/table/safe_sql.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {
constexpr unsigned kDuplicateKeyError = 1062;

bool HasUpdateDate(EClientHistory history) {
    return history != EClientHistory::ClientDataChanges;
}

QString DateSQL(const QDate& date) {
    return QStringLiteral("STR_TO_DATE('%1','%Y%m%d')")
        .arg(date.toString(QStringLiteral("yyyyMMdd")));
}

QString ValueSQL(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::QDate:
        return value.toDate().isValid() ? DateSQL(value.toDate()) : QStringLiteral("NULL");
    default:
        return SafeSQL(value.toString());
    }
}

CRuleVerdict DateTaken(const QDate& date, int page) {
    QString text = ClientRuleText("На дату {date} у клиента уже есть запись. На одну дату "
                                  "допускается одна запись: выберите другую дату.",
                                  "msgHistoryDateTaken");
    text.replace(QLatin1String("{date}"), date.toString(QStringLiteral("dd.MM.yyyy")));
    return CRuleVerdict::Refuse(EClientField::PageDate, QStringLiteral("msgHistoryDateTaken"), text,
                                page);
}

// The refusal of a save that would overwrite a dated row another copy
// changed or deleted after the tab read it; `page` is the page's index (-1
// when the page is gone from the tab).
CRuleVerdict ChangedMeanwhile(const QDate& date, int page) {
    QString text = ClientRuleText("Запись на дату {date}: ", "msgHistoryRowOfDate");
    text.replace(QLatin1String("{date}"), date.toString(QStringLiteral("dd.MM.yyyy")));
    return CRuleVerdict::Refuse(EClientField::PageDate,
                                QString::fromLatin1(kHistoryChangedMeanwhileKey),
                                text + CxRowsFingerprint::ChangedMeanwhileText(), page);
}

CRuleVerdict DateMissing(int page) {
    return CRuleVerdict::Refuse(EClientField::PageDate, QStringLiteral("msgHistoryDateMissing"),
                                ClientRuleText("Не указана дата записи.", "msgHistoryDateMissing"),
                                page);
}
} // namespace

QString ClientHistoryTable(EClientHistory history) {
    switch (history) {
    case EClientHistory::ClientDataChanges:
        return QStringLiteral("clientdatachanges");
    case EClientHistory::DrugUseData:
        return QStringLiteral("drugusedata");
    case EClientHistory::RiskBehavior:
        return QStringLiteral("riskbehavior");
    case EClientHistory::SocialStatus:
        return QStringLiteral("socialstatus");
    }
    return QString();
}

const QStringList& ClientHistoryColumns(EClientHistory history) {
    static const QStringList changes{QStringLiteral("cComment"), QStringLiteral("nClientType"),
                                     QStringLiteral("nClientType2"), QStringLiteral("cAddress"),
                                     QStringLiteral("nRegionDataID")};
    static const QStringList drugs{
        QStringLiteral("nBasicDrug"),      QStringLiteral("nMainRoute"),
        QStringLiteral("nSecondaryDrug"),  QStringLiteral("nUseFrequency"),
        QStringLiteral("nParticipation"),  QStringLiteral("nDrugStartDate"),
        QStringLiteral("nRecordType"),     QStringLiteral("nDonorID"),
        QStringLiteral("nZTCancelReason"), QStringLiteral("nRegionDataID")};
    static const QStringList risk{
        QStringLiteral("nUseDirtySyr"), QStringLiteral("nDesinfectionWay"),
        QStringLiteral("nGivingUsed"),  QStringLiteral("nLastInjectWith"),
        QStringLiteral("nUsingCondom"), QStringLiteral("nLastSexualPart"),
        QStringLiteral("nRegionDataID")};
    static const QStringList social{
        QStringLiteral("nEploymentStatus"), QStringLiteral("cOtherEployment"),
        QStringLiteral("nPlaceOfLiving"),   QStringLiteral("nEducationLevel"),
        QStringLiteral("nLegalProblem"),    QStringLiteral("nChildCount"),
        QStringLiteral("bRegPolice"),       QStringLiteral("bNarcoDisp"),
        QStringLiteral("bVolonter"),        QStringLiteral("nOtherReg"),
        QStringLiteral("nRegionDataID")};
    switch (history) {
    case EClientHistory::ClientDataChanges:
        return changes;
    case EClientHistory::DrugUseData:
        return drugs;
    case EClientHistory::RiskBehavior:
        return risk;
    case EClientHistory::SocialStatus:
        return social;
    }
    return changes;
}

CHistorySavePlan PlanHistorySave(const QList<CHistoryPage>& pages,
                                 const QList<qint64>& removedRowIds,
                                 const QList<CHistoryStoredRow>& stored) {
    CHistorySavePlan plan;
    QHash<qint64, QDate> storedDate;
    for (const CHistoryStoredRow& row : stored)
        storedDate.insert(row.rowId, row.date);

    QSet<qint64> removed;
    for (const qint64 id : removedRowIds) {
        if (storedDate.contains(id) && !removed.contains(id)) {
            removed.insert(id);
            plan.deletes << id;
        }
    }

    // Rows whose date the save writes (updated in place); every other stored
    // row that is not removed keeps its stored date.
    QSet<qint64> rewritten;
    for (int i = 0; i < pages.size(); ++i) {
        const CHistoryPage& page = pages[i];
        if (page.rowId != -1 && removed.contains(page.rowId))
            continue; // a removal wins over a page still naming the row
        const bool isStored = page.rowId != -1 && storedDate.contains(page.rowId);
        if (isStored && !page.modified)
            continue;
        if (!isStored && page.rowId != -1 && !page.modified)
            continue; // its row has gone and nothing of it was changed
        if (!page.date.isValid()) {
            plan.verdict = DateMissing(i);
            return plan;
        }
        if (isStored) {
            plan.updates << i;
            rewritten.insert(page.rowId);
        } else {
            plan.inserts << i;
        }
    }

    // One row per client and date: the rows that stay as stored first, then
    // the written pages in page order, so a refusal names a page being saved.
    QSet<QDate> taken;
    for (const CHistoryStoredRow& row : stored)
        if (!removed.contains(row.rowId) && !rewritten.contains(row.rowId) && row.date.isValid())
            taken.insert(row.date);
    QList<int> written = plan.updates + plan.inserts;
    std::sort(written.begin(), written.end());
    for (const int i : written) {
        if (taken.contains(pages[i].date)) {
            CHistorySavePlan refused;
            refused.verdict = DateTaken(pages[i].date, i);
            return refused;
        }
        taken.insert(pages[i].date);
    }

    int moving = 0;
    for (const int i : plan.updates)
        if (pages[i].date != storedDate.value(pages[i].rowId))
            ++moving;
    plan.parkDates = moving > 1;
    return plan;
}

int NewestHistoryPage(const QList<QDate>& dates) {
    int newest = -1;
    for (int i = 0; i < dates.size(); ++i)
        if (dates[i].isValid() && (newest < 0 || dates[i] > dates[newest]))
            newest = i;
    return newest;
}

bool CClientHistoryStore::LoadStored(CxSQL* sql, EClientHistory history, qint64 clientId,
                                     QList<CHistoryStoredRow>* rows, QString* error, bool lock) {
    rows->clear();
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT ROWID,DATE_FORMAT(dDate,'%Y%m%d') FROM ") +
                          ClientHistoryTable(history) + QStringLiteral(" WHERE nClientID=") +
                          QString::number(clientId) + QStringLiteral(" ORDER BY dDate,ROWID") +
                          (lock ? QStringLiteral(" FOR UPDATE") : QString()),
                      &r, error))
        return false;
    while (r.FetchRow()) {
        CHistoryStoredRow row;
        row.rowId = r.LFieldValue(0);
        row.date = QDate::fromString(r.SFieldValue(1), QStringLiteral("yyyyMMdd"));
        rows->append(row);
    }
    return true;
}

bool CClientHistoryStore::TakeLoaded(CxSQL* sql, EClientHistory history, qint64 clientId,
                                     CHistoryLoadedRows* rows, QString* error) {
    rows->clear();
    QList<CHistoryStoredRow> stored;
    if (!LoadStored(sql, history, clientId, &stored, error))
        return false;
    // The newest-row mark moves whenever another page of the client is saved;
    // it is no change of the row.
    const QStringList ignored{QStringLiteral("nLastLinkID")};
    for (const CHistoryStoredRow& row : stored) {
        CHistoryLoadedRow loaded;
        loaded.date = row.date;
        const CxGuardedRows part{ClientHistoryTable(history),
                                 QStringLiteral("ROWID=%1 AND nClientID=%2")
                                     .arg(QString::number(row.rowId), QString::number(clientId)),
                                 ignored};
        if (!loaded.guard.Take(sql, {part}, error))
            return false;
        rows->insert(row.rowId, loaded);
    }
    return true;
}

bool CClientHistoryStore::Save(CxSQL* sql, EClientHistory history, qint64 clientId,
                               const QList<CHistoryPage>& pages, const QList<qint64>& removedRowIds,
                               const QDate& today, CRuleVerdict* refusal, QString* error,
                               const CHistoryLoadedRows* loaded) {
    *refusal = CRuleVerdict();
    const QString table = ClientHistoryTable(history);
    const QString client = QString::number(clientId);
    if (!CheckStoredClient(sql, clientId, error))
        return false;
    // The client's rows as stored now, locked until the save ends, so no
    // other copy changes them between the check below and the writing.
    QList<CHistoryStoredRow> stored;
    if (!LoadStored(sql, history, clientId, &stored, error, true))
        return false;
    const CHistorySavePlan plan = PlanHistorySave(pages, removedRowIds, stored);
    if (!plan.verdict.ok) {
        *refusal = plan.verdict;
        return false;
    }
    // Rows this save overwrites or deletes must be as the tab read them. A
    // row the tab holds no fingerprint of (it came between the fingerprints
    // and the reading) cannot be vouched for and counts as changed.
    if (loaded) {
        QHash<qint64, QDate> storedDate;
        for (const CHistoryStoredRow& row : stored)
            storedDate.insert(row.rowId, row.date);
        auto refuseIfChanged = [&](qint64 rowId, int page, bool* refused) {
            const auto row = loaded->constFind(rowId);
            bool unchanged = false;
            if (row != loaded->cend() && !row->guard.CheckUnchanged(sql, &unchanged, error))
                return false;
            *refused = !unchanged;
            if (*refused)
                *refusal = ChangedMeanwhile(
                    row != loaded->cend() ? row->date : storedDate.value(rowId), page);
            return true;
        };
        bool refused = false;
        for (const int i : plan.updates)
            if (!refuseIfChanged(pages[i].rowId, i, &refused) || refused)
                return false;
        for (const qint64 id : plan.deletes)
            if (!refuseIfChanged(id, -1, &refused) || refused)
                return false;
    }
    for (const int i : plan.updates + plan.inserts)
        for (const auto& [column, value] : pages[i].values)
            if (!ClientHistoryColumns(history).contains(column))
                return FailClientSQL(
                    error, QStringLiteral("%1: %2.%3")
                               .arg(ClientRuleText("Неизвестная колонка", "msgUnknownColumn"),
                                    table, column));

    if (!plan.deletes.isEmpty()) {
        QStringList ids;
        for (const qint64 id : plan.deletes)
            ids << QString::number(id);
        if (!RunClientSQL(sql,
                          QStringLiteral("DELETE FROM ") + table +
                              QStringLiteral(" WHERE nClientID=") + client +
                              QStringLiteral(" AND ROWID IN (") + ids.join(u',') + u')',
                          nullptr, error))
            return false;
    }

    // Rows that swap dates first move to dates of their own that no row of
    // the client has, so no step meets the unique key halfway.
    if (plan.parkDates) {
        QSet<QDate> used;
        for (const CHistoryStoredRow& row : stored)
            used.insert(row.date);
        QDate aside(1000, 1, 1);
        for (const int i : plan.updates) {
            while (used.contains(aside))
                aside = aside.addDays(1);
            used.insert(aside);
            if (!RunClientSQL(sql,
                              QStringLiteral("UPDATE ") + table + QStringLiteral(" SET dDate=") +
                                  DateSQL(aside) + QStringLiteral(" WHERE ROWID=") +
                                  QString::number(pages[i].rowId) +
                                  QStringLiteral(" AND nClientID=") + client,
                              nullptr, error))
                return false;
        }
    }

    const QString updateDate =
        HasUpdateDate(history) && today.isValid() ? DateSQL(today) : QString();
    auto write = [&](int i, const QString& statement) {
        CxResult r = sql->Execute(statement);
        if (r.isValid())
            return true;
        // Another user stored a row on that date after this save looked.
        if (r.Error().serverCode == kDuplicateKeyError)
            *refusal = DateTaken(pages[i].date, i);
        else if (error)
            *error = r.Error().text;
        return false;
    };
    for (const int i : plan.updates) {
        QStringList sets{QStringLiteral("dDate=") + DateSQL(pages[i].date)};
        for (const auto& [column, value] : pages[i].values)
            sets << column + u'=' + ValueSQL(value);
        if (!updateDate.isEmpty())
            sets << QStringLiteral("dUpdateDate=") + updateDate;
        if (!write(i, QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                          sets.join(u',') + QStringLiteral(" WHERE ROWID=") +
                          QString::number(pages[i].rowId) + QStringLiteral(" AND nClientID=") +
                          client))
            return false;
    }
    for (const int i : plan.inserts) {
        QStringList columns{QStringLiteral("nClientID"), QStringLiteral("dDate")};
        QStringList values{client, DateSQL(pages[i].date)};
        for (const auto& [column, value] : pages[i].values) {
            columns << column;
            values << ValueSQL(value);
        }
        if (!updateDate.isEmpty()) {
            columns << QStringLiteral("dUpdateDate");
            values << updateDate;
        }
        if (!write(i, QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                          columns.join(u',') + QStringLiteral(") VALUES (") + values.join(u',') +
                          u')'))
            return false;
    }
    return UpdateLastLinkID(sql, history, clientId, error);
}

bool CClientHistoryStore::UpdateLastLinkID(CxSQL* sql, EClientHistory history, qint64 clientId,
                                           QString* error) {
    const QString table = ClientHistoryTable(history);
    const QString client = QString::number(clientId);
    // The mark is unique: every mark of the client goes before the new one is
    // set. The newest row is ranked by the server, newest date first, the
    // higher ROWID deciding between equal dates, so the result never depends
    // on the order rows are read in.
    const QString clear = QStringLiteral("UPDATE %1 SET nLastLinkID=NULL WHERE (nClientID=%2 OR "
                                         "nLastLinkID=%2) AND nLastLinkID IS NOT NULL")
                              .arg(table, client);
    const QString mark =
        QStringLiteral("UPDATE %1 AS h JOIN (SELECT ranked.ROWID FROM (SELECT ROWID,ROW_NUMBER() "
                       "OVER (PARTITION BY nClientID ORDER BY dDate DESC,ROWID DESC) AS n FROM %1 "
                       "WHERE nClientID=%2 AND dDate IS NOT NULL) AS ranked WHERE ranked.n=1) AS "
                       "newest ON h.ROWID=newest.ROWID SET h.nLastLinkID=h.nClientID")
            .arg(table, client);
    return RunClientSQL(sql, clear, nullptr, error) && RunClientSQL(sql, mark, nullptr, error);
}

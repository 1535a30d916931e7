#pragma once
// The context of one report run: the period, the chosen preset, the report
// template, the fields and summaries, the footnotes, the progress log, and
// the work tables the run uses.
//
// Work tables ("_cache_…") are ordinary tables that outlive the run and the
// program: a builder names its table so that the name carries everything its
// content depends on (period, chosen service points), builds it only when the
// database lacks it, and records which table serves which logical name for the
// rest of the run. Builds run under the named lock "dblock", so two copies
// never build one table at once; a table is built under a name of its own and
// renamed when complete, so a table that exists is always whole.
//
// A build holds the work tables from its start to its end (HoldWorkTables),
// so that a change notice of another copy marks them stale instead of
// dropping them from under it; they go when the last build that holds them
// ends, and builds that start meanwhile wait for that.
//
// Builders and reports end a run by throwing CRepError (an HTML text); the
// run (CRepBase) catches it and shows the error page. Every lock a build took
// is given back on the way out.
#include "db/schema/cache_tables.h"
#include "framework/core/app/html_template.h"
#include "framework/core/containers/cx_obj.h"
#include "model/config/report_presets.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <utility>

class CRepBaseSummary;
class CRepField;
class CvProgress;
class CxResult;
class CxSQL;

// What ends a run: the HTML text of the error page's description.
struct CRepError {
    QString html;
    bool cancelled = false; // the user stopped the run
};

class CRepBaseData {
public:
    // Receives a join that a builder adds to the caller's select: join kind
    // ("LEFT" or empty), table, condition.
    using JoinFn =
        std::function<void(const QString& kind, const QString& table, const QString& condition)>;

    // `sql` null: the base connection. The project start is the
    // configuration's until a preset with its own is set.
    CRepBaseData(CxSQL* sql, const QDate& from, const QDate& to, CvProgress* progress = nullptr);
    // Virtual: a run is deleted through this base, and a derived run drops its
    // temporary tables in its own destructor.
    virtual ~CRepBaseData();
    CRepBaseData(const CRepBaseData&) = delete;
    CRepBaseData& operator=(const CRepBaseData&) = delete;

    // ---- footnotes ----
    // The footnote's number as text ("1", "2", ...); a text already listed
    // keeps its number.
    QString AddFootnote(const QString& text);
    // "<br><sup>i</sup>text" for every footnote, in order.
    QString GetFootnotesHTML() const;
    const QStringList& GetFootnotes() const { return m_footnotes; }

    // ---- the work-table protocol ----
    // Holds the work tables until the run ends (waiting while stale ones are
    // still read by others); throws CRepError when stopped or refused.
    void HoldWorkTables();
    // Takes the build lock and shows the title; 1 when the table must be
    // built, 0 when it exists. RegisterTable must follow on every path.
    int BeginTable(const QString& table, const QString& title);
    // Ends what BeginTable began: with a logical name the table serves it for
    // the rest of the run; without one the table is dropped (the builder gave
    // up). Then table locks, the build lock and held-back updates are released.
    void RegisterTable(const QString& table, const QString& logicalName = QString());
    int TableExists(const QString& table);
    // Runs one statement of a build; throws CRepError (the statement and the
    // server's message) when it fails, or when the user stopped the run.
    int ExecuteStep(const QString& sql);
    // A number that stands for a text, the same in every run and every copy
    // of the program while the work tables live.
    long StrToID(const QString& text);
    // The table recorded for a logical name; empty when none.
    QString GetTable(const QString& logicalName) const { return m_tables.value(logicalName); }

    // ---- progress (the run's CvProgress, when it has one) ----
    // A new phase (a table being made) and what is done in it.
    void AddProgressTitle(const QString& title, const QString& detail);
    // One statement done.
    int AddProgressDot();

    // ---- the run's data ----
    QDate& From() { return m_from; }
    QDate& To() { return m_to; }
    QDate GetProjectStart() const { return m_projectStart; }
    // Takes the preset's project start when it has one that reads as a date.
    void SetPreset(const KDRepPresetEx2& preset);
    KDRepPresetEx2& GetPreset() { return m_preset; }
    CHTMLTemplate& GetReportTemplate() { return m_reportTemplate; }
    CHTMLTemplate& GetFatalTemplate() { return m_fatalTemplate; }
    CxObjArray<CRepField*>& GetFields() { return m_fields; }
    CxObjArray<CRepBaseSummary*>& GetSummaries() { return m_summaries; }
    // 0 normal, 1 per project, 2 new clients counted country-wide.
    int GetNewClientMode() const { return m_newClientMode; }
    void SetNewClientMode(int mode) { m_newClientMode = mode; }
    CxSQL* GetSQL() const { return m_sql; }
    CvProgress* GetProgress() const { return m_progress; }

    // ---- period work tables ----
    QString PrepareSelectedPOU();
    QString PrepareMatList();
    QString PrepareConsList();
    QString PrepareCompactTable();
    QString PrepareSummaryTable();
    // The sub-periods, in order and without gap or overlap, of a report that reads
    // one summary per sub-period: the first of their summaries asked for
    // makes the sums of all of them in one pass over the compact table
    // ("_cache_summaries<id>", keyed by the sub-period's number). For a
    // planned sub-period PrepareSummaryTable answers that table, and the
    // caller reads the sub-period's rows of it by SummaryRows.
    void PlanSummaries(const QList<std::pair<QDate, QDate>>& periods);
    // The condition that picks the rows of the run's period from the table
    // PrepareSummaryTable answers; empty when that table holds no others.
    QString SummaryRows();
    QString PrepareClientTable();
    // PrepareClientTable joined to the period summary by client (answered).
    // A client's own record (code, sex, birth year, person key) is the same
    // in its state on any date, so fields that read only that record join
    // this table and a report of such fields needs no state built.
    QString JoinClientTable(const JoinFn& join);
    template <class S> QString JoinClientTable(S* select) {
        return JoinClientTable(JoinTo(select));
    }
    // To becomes the last day of its month.
    void SetEndToMonthEnd();
    // From becomes the first day of the month n - 1 months before To's.
    void SetStartMonthsBack(int months);
    void BindFields(CxResult* result);
    void ClearFields();

    // ---- state on a date, consultations ----
    QString PrepareHistoryPeriods(const QString& historyTable, const QString& columns,
                                  const QString& title);
    QString PrepareRiskGroupTable();
    // Every client (of the client table of the new-client counting mode)
    // with the client data and the periods in which its whole state (every
    // history) held, from the first date to the last without gap:
    // "_cache_dpclients<mode>".
    QString PrepareStateClients();
    // The state of every client on a date: PrepareStateClients under the
    // alias "dpd<date><mode>" (returned), joined to the period summary by
    // client and by the period that holds on the date. No table is made per
    // date, so a report by sub-periods takes each one's state from the one
    // table.
    QString PrepareSnapshotTables(const QDate& date, const JoinFn& join = {});
    template <class S> QString PrepareSnapshotTables(S* select, const QDate& date) {
        return PrepareSnapshotTables(date, JoinTo(select));
    }
    // The condition that the state period under `alias` holds on `date`.
    static QString SnapshotHolds(const QString& alias, const QDate& date);
    QString PrepareConsCompactTable();

    // ---- regular clients ----
    QString PrepareRegularClients(const JoinFn& join = {});
    template <class S> QString PrepareRegularClients(S* select) {
        return PrepareRegularClients(JoinTo(select));
    }
    // The window of the regular-client rules for To: a year back (Y), three
    // months back (Q).
    QDate RegularYearStart() const;
    QDate RegularQuarterStart() const;

    // The engine and character set of a work table; LookupTableOptions for
    // one that reports read row by row through its key, as every lookup of
    // a client's state does.
    static QString WorkTableOptions();
    static QString LookupTableOptions();
    // The name of the summary column of a material code (quoted).
    static QString SumColumn(long code);
    // The name a table is built under until it is complete.
    static QString PartName(const QString& table);

private:
    template <class S> static JoinFn JoinTo(S* select) {
        if (!select)
            return {};
        return [select](const QString& kind, const QString& table, const QString& condition) {
            select->Join(kind, table, condition);
        };
    }
    // Builds `name` when missing: `build` makes it under the given part name.
    // A failure drops the part and throws on with the table name in front.
    QString BuildTable(const QString& name, const QString& title,
                       const std::function<void(const QString& part)>& build,
                       const QString& logicalName = QString());
    // Ends a BeginTable: table locks, the build lock, held-back updates.
    void ReleaseTableLock();
    [[noreturn]] void ThrowCancelled();
    QString GroupCaseList(bool consultations) const;
    // The material codes that have a sum column in the summaries.
    static QList<long> SummaryCodes();
    QString PrepareSummarySet();
    QString DisplayDate(const QDate& date) const;

    CxSQL* m_sql;
    CvProgress* m_progress;
    QStringList m_footnotes;
    QHash<QString, QString> m_tables; // logical name -> table
    CHTMLTemplate m_fatalTemplate;
    CxObjArray<CRepBaseSummary*> m_summaries;
    CxObjArray<CRepField*> m_fields;
    QDate m_from;
    QDate m_to;
    QDate m_projectStart;
    KDRepPresetEx2 m_preset;
    CHTMLTemplate m_reportTemplate;
    int m_newClientMode = 0;
    int m_lockDepth = 0;              // BeginTable calls not yet ended
    bool m_updatesWereEnabled = true; // before the outermost BeginTable
    bool m_configChecked = false;     // the work tables match the configuration
    CCacheHold m_hold;                // released after the table locks
    // The sub-periods given to PlanSummaries.
    QList<std::pair<QDate, QDate>> m_plannedPeriods;
};

#pragma once
// The data of one build of a visits report: the chosen preset and its id
// sets, the period, the social worker, the chosen service points, the
// columns of the build (select, detail and value lists), the temporary
// tables and columns the build made, and the footnotes.
//
// Everything the build makes lives as long as the run: its temporary tables
// are dropped when the run ends, so a build removes only what it made.
#include "model/config/report_presets.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <memory>
#include <vector>

class Cxrp;
class CxSQLTempTable;

class CRepVisitsRunData : public CRepBaseData {
public:
    CRepVisitsRunData(CxSQL* sql, const QDate& from, const QDate& to,
                      CvProgress* progress = nullptr);
    ~CRepVisitsRunData();

    // ---- the preset ----
    KDRepPresetEx& Preset() { return m_preset; }
    // Rebuilds the sets of ids the preset's two lists hold.
    void RebuildIdSets();
    const QSet<long>& SummaryIDs() const { return m_summaryIds; }
    const QSet<long>& DetailIDs() const { return m_detailIds; }
    // The preset asks for client codes and names cut at their back-quote.
    bool ClipCodes() const { return m_preset.ClipCodes != 0; }

    // ---- the choice ----
    long workerId = 0; // 0 or less: every social worker
    QString workerText;
    CSelectedPOSH& Posh() { return m_posh; }

    // ---- the columns of the build (not owned, except the extra columns) ----
    QList<Cxrp*> selectColumns;
    QList<Cxrp*> detailColumns;
    QList<Cxrp*> valueColumns;
    // Takes a column made for this build (material and month columns).
    Cxrp* AddOwnedColumn(Cxrp* column);

    // ---- footnotes ----
    // -1 for an empty text; the number an equal text got before; else the
    // text is listed and its number (1, 2, ...) answered.
    int AddComment(const QString& text);
    const QStringList& Comments() const { return m_comments; }

    // ---- SQL helpers ----
    // field BETWEEN the period's start and end.
    QString GetPeriodCondition(const QString& field);
    // Makes a temporary table of the run from a statement in which "$$$"
    // stands for its name, then the index (when fields are given); answers
    // the name. A failure throws CRepError with the statement and the
    // server's message; a table that was made is dropped with the run.
    QString CreateTempTable(const QString& statement, const QString& indexFields = QString(),
                            bool unique = true);
    // A table of one row per client with the client's history row of the
    // latest date not after the period's end (ties: the highest ROWID);
    // clients whose rows all come after the end, or without a dated row,
    // have none. Made once per history table and run.
    // columns: the history table's columns to keep (bare names).
    QString CreateStateTable(const QString& table, const QStringList& columns);
    QString GetClientTypeStateTable();
    QString GetSocialStateTable();
    QString GetDrugUseStateTable();

private:
    KDRepPresetEx m_preset;
    QSet<long> m_summaryIds;
    QSet<long> m_detailIds;
    CSelectedPOSH m_posh;
    std::vector<std::unique_ptr<Cxrp>> m_ownedColumns;
    std::vector<std::unique_ptr<CxSQLTempTable>> m_tempTables;
    QHash<QString, QString> m_stateTables; // history table -> state table
    QStringList m_comments;
    QHash<QString, int> m_commentNumbers;
};

#pragma once
// The columns of the visits reports. Each column adds its items, joins and
// grouping to the report's select over the visit work table _cache_fast and
// the client work table _cache_clients, and reads its values back from the
// current row of the result: a detail cell (HTML), the title and group id of
// a summary line, a number to sum. A column's id is what version-1 presets
// store in their lists.
#include "framework/core/report/age_groups.h"

#include <QDate>
#include <QHash>
#include <QString>

class CRepVisitsRunData;
class CSimpleSelect;
class CxResult;

// The ids presets store; -1 for columns no preset names.
enum VisitsColumnID : long {
    kColNone = -1,
    kColFirstVisitDate = 1010,
    kColRegion = 1035,
    kColComment = 1039,
    kColAge = 1062,
    kColSecondary = 1087,
    kColPDI = 1100,
    kColAgeGroup = 1139,
    kColEducation = 1377,
    kColPlaceOfLiving = 1394,
    kColEmployment = 1475,
    kColDrugType = 1520,
    kColClients = 1563,
    kColDrugFreq = 1789,
    kColRiskGroup = 1796,
    kColSex = 1797,
    kColVisits = 1811,
    kColFirstPOU = 1919,
    kColFirstPOUType = 2086,
    kColVolunteer = 3060,
    kColAgeGroup2 = 3177,
    kColClientsUniq = 3246,
    kColOldClientID = 20418,
    kColVisitYear = 20420,
    kColPOSH = 20422,
    kColTown = 20456,
    kColOblast = 20457,
};

// Kind bits.
enum VisitsColumnKind : long {
    kKindDetail = 1, // offered in the detail list
    kKindGroup = 2,  // offered as a summary grouping
    kKindValue = 4,  // a value of every summary table
};

class Cxrp {
public:
    virtual ~Cxrp() = default;

    virtual bool IsRepeatRow() { return false; }
    // The CSS class of the column's cells: "d", "num", "cl" or empty.
    virtual QString GetCellClass() { return QStringLiteral("d"); }
    virtual long GetID() = 0;
    virtual QString GetTitle() = 0;
    virtual long GetKind() = 0;
    // Adds the column's items and joins; detail is non-zero when the build
    // lists clients. False when the select refused a join.
    virtual bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) = 0;
    // The result field that holds the grouping value; empty when the value
    // is not a plain field (the unique count is then impossible).
    virtual QString GetResultField() { return QString(); }
    // An SQL term over the result table whose value equals GetGroupID of the
    // row (a NULL reads as the 0 GetGroupID gives it); empty without a
    // result field.
    virtual QString GetUniqueTerm();
    // The detail cell as HTML (texts escaped).
    virtual QString GetDetValue() { return QString(); }
    virtual double GetValue() { return 0.0; }
    // The summary line's title (plain text).
    virtual QString GetSumTitle() { return QString(); }
    virtual long GetGroupID() { return -1; }
    virtual QString GetComment() { return QString(); }
    // Items of the second select over the result table.
    virtual bool PreQuery(int detail, CSimpleSelect& select, CRepVisitsRunData* run);

    // Reads from this result from now on.
    void Bind(CxResult* result);
    CxResult* GetResult() const { return m_result; }

    // What stands before the last back-quote; the text when it has none.
    static QString ClipAtBackQuote(const QString& text);

protected:
    QString GetFieldText(const QString& name);
    long GetFieldLong(const QString& name);
    long GetGroupFieldLong(const QString& name);

private:
    struct Cache {
        int pos = -1;
        QString name;
        long value = -1;
        qint64 fetch = -1;
    };
    int Position(Cache& cache, const QString& name);
    long ReadLong(Cache& cache, const QString& name);

    CxResult* m_result = nullptr;
    Cache m_valueCache;
    Cache m_groupCache;
};

// The client's code (always the first detail column), linked to the card.
class CxrpClientID : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("cl"); }
    long GetID() override { return kColNone; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
};

class CxrpClientOLDID : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("cl"); }
    long GetID() override { return kColOldClientID; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;

private:
    CRepVisitsRunData* m_run = nullptr;
};

class CxrpComment : public Cxrp {
public:
    long GetID() override { return kColComment; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
};

// The date of the first visit, linked to the daily report of that visit.
class CxrpFirstVisitDate : public Cxrp {
public:
    long GetID() override { return kColFirstVisitDate; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
};

// The three age columns: the age is counted at the period's end.
class _CxrpAgeBase : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("num"); }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetComment() override;

protected:
    long Age();
    CRepVisitsRunData* m_run = nullptr;
};

class CxrpAge2 : public _CxrpAgeBase {
public:
    long GetID() override { return kColAge; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail; }
    QString GetDetValue() override;
    QString GetSumTitle() override;
};

class CxrpAgeGroup : public _CxrpAgeBase {
public:
    CxrpAgeGroup();
    long GetID() override { return kColAgeGroup; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail | kKindGroup; }
    QString GetDetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override;

protected:
    CAgeGroups m_groups;
};

class CxrpAgeGroup2 : public CxrpAgeGroup {
public:
    CxrpAgeGroup2();
    long GetID() override { return kColAgeGroup2; }
    QString GetTitle() override;
};

// A column grouping by a code of an enumeration.
class _CxrpCodeColumn : public Cxrp {
public:
    long GetKind() override { return kKindDetail | kKindGroup; }
    QString GetResultField() override { return m_field; }
    QString GetDetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override { return GetFieldLong(m_field); }

protected:
    explicit _CxrpCodeColumn(const QString& field) : m_field(field) {}
    // The text of the code for a detail cell and for a summary title.
    virtual QString CodeText(long code, bool summary) = 0;
    QString m_field;
};

class CxrpSex : public _CxrpCodeColumn {
public:
    CxrpSex() : _CxrpCodeColumn(QStringLiteral("nSex")) {}
    long GetID() override { return kColSex; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpRiscGroup : public _CxrpCodeColumn {
public:
    CxrpRiscGroup() : _CxrpCodeColumn(QStringLiteral("nClientType")) {}
    long GetID() override { return kColRiskGroup; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString CodeText(long code, bool summary) override;
};

// The social-status columns.
class _CxrpSocialColumn : public _CxrpCodeColumn {
public:
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    using _CxrpCodeColumn::_CxrpCodeColumn;
};

class CxrpEducationLevel : public _CxrpSocialColumn {
public:
    CxrpEducationLevel() : _CxrpSocialColumn(QStringLiteral("nEducationLevel")) {}
    long GetID() override { return kColEducation; }
    QString GetTitle() override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpEploymentStatus : public _CxrpSocialColumn {
public:
    CxrpEploymentStatus() : _CxrpSocialColumn(QStringLiteral("nEploymentStatus")) {}
    long GetID() override { return kColEmployment; }
    QString GetTitle() override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpPlaceOfLiving : public _CxrpSocialColumn {
public:
    CxrpPlaceOfLiving() : _CxrpSocialColumn(QStringLiteral("nPlaceOfLiving")) {}
    long GetID() override { return kColPlaceOfLiving; }
    QString GetTitle() override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpDrugType : public _CxrpCodeColumn {
public:
    CxrpDrugType() : _CxrpCodeColumn(QStringLiteral("nDrugType")) {}
    long GetID() override { return kColDrugType; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpDrugFreq : public _CxrpCodeColumn {
public:
    CxrpDrugFreq() : _CxrpCodeColumn(QStringLiteral("nDrugUseFreq")) {}
    long GetID() override { return kColDrugFreq; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString CodeText(long code, bool summary) override;
};

class CxrpFirstPOUType : public _CxrpCodeColumn {
public:
    CxrpFirstPOUType() : _CxrpCodeColumn(QStringLiteral("nWorkPlaceType")) {}
    long GetID() override { return kColFirstPOUType; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    long GetGroupID() override { return GetGroupFieldLong(m_field); }

protected:
    QString CodeText(long code, bool summary) override;
};

// Yes/no columns of the client: a line for each answer.
class _CxrpFlagColumn : public Cxrp {
public:
    long GetKind() override { return kKindDetail | kKindGroup; }
    QString GetResultField() override { return m_field; }
    QString GetUniqueTerm() override;
    QString GetDetValue() override;
    QString GetSumTitle() override;
    double GetValue() override { return double(GetFieldLong(m_field)); }
    long GetGroupID() override { return GetFieldLong(m_field) > 0 ? 1 : 0; }

protected:
    _CxrpFlagColumn(const QString& field, const char* yesKey) : m_field(field), m_yesKey(yesKey) {}
    virtual QString Title(bool yes) = 0;
    QString m_field;
    const char* m_yesKey;
};

class CxrpPDI : public _CxrpFlagColumn {
public:
    CxrpPDI() : _CxrpFlagColumn(QStringLiteral("bPDI"), "CxrpPDI::GetDetValue") {}
    long GetID() override { return kColPDI; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString Title(bool yes) override;
};

class CxrpSecondary : public _CxrpFlagColumn {
public:
    CxrpSecondary() : _CxrpFlagColumn(QStringLiteral("bSecondary"), "CxrpSecondary::GetDetValue") {}
    long GetID() override { return kColSecondary; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;

protected:
    QString Title(bool yes) override;
};

// The volunteer mark: bit 8192 of the client type's second word.
class CxrpReseler : public Cxrp {
public:
    long GetID() override { return kColVolunteer; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail | kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetResultField() override { return QStringLiteral("bRasp"); }
    QString GetUniqueTerm() override;
    QString GetDetValue() override;
    QString GetSumTitle() override;
    double GetValue() override { return IsSet() ? 1.0 : 0.0; }
    long GetGroupID() override { return IsSet() ? 1 : 0; }

private:
    bool IsSet() { return (GetFieldLong(QStringLiteral("bRasp")) & 8192) != 0; }
};

class CxrpRegion : public Cxrp {
public:
    long GetID() override { return kColRegion; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail | kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetResultField() override { return QStringLiteral("nRegionDataID"); }
    QString GetDetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override { return GetGroupFieldLong(QStringLiteral("nRegionDataID")); }
};

// The service point of the client's first visit.
class CxrpFirstPOU : public Cxrp {
public:
    long GetID() override { return kColFirstPOU; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail | kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetResultField() override { return QStringLiteral("nFirstWorkPlace"); }
    QString GetDetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override { return GetGroupFieldLong(QStringLiteral("nFirstWorkPlace")); }

private:
    CRepVisitsRunData* m_run = nullptr;
};

// The service point of the visit: a line per point; a client seen at two
// points has a row for each.
class CxrpPOSH : public Cxrp {
public:
    QString GetCellClass() override { return QString(); }
    long GetID() override { return kColPOSH; }
    QString GetTitle() override;
    long GetKind() override { return kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    bool PreQuery(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    // The row's client is the previous row's.
    bool IsRepeatRow() override;
    QString GetDetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override { return GetGroupFieldLong(QStringLiteral("nPoshID")); }
    double GetValue() override { return -1.0; }
};

// The town of the visit's service point (towns that are no other town's group).
class CxrpTOWN : public Cxrp {
public:
    QString GetCellClass() override { return QString(); }
    long GetID() override { return kColTown; }
    QString GetTitle() override;
    long GetKind() override { return kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetSumTitle() override;
    long GetGroupID() override;
    double GetValue() override { return -1.0; }

protected:
    static bool AddPlaceJoin(CSimpleSelect& select);
    QHash<long, QString> m_towns;
};

// The region of the visit's service point: the top of its town's chain.
class CxrpOBL : public CxrpTOWN {
public:
    long GetID() override { return kColOblast; }
    QString GetTitle() override;
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetSumTitle() override;
    long GetGroupID() override;

    // The region of every town: walks the town's group chain up to its top
    // (at most 10 steps); 0 for a chain that is longer or leads to a town
    // that does not exist.
    static QHash<long, long> RegionsOf(const QHash<long, long>& parents);

private:
    QHash<long, long> m_townRegion;
    QHash<long, QString> m_regionNames;
};

class CxrpVisitYear : public Cxrp {
public:
    long GetID() override { return kColVisitYear; }
    QString GetTitle() override;
    long GetKind() override { return kKindGroup; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetSumTitle() override;
    long GetGroupID() override { return GetFieldLong(QStringLiteral("nYear")); }
};

class CxrpClients : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("num"); }
    long GetID() override { return kColClients; }
    QString GetTitle() override;
    long GetKind() override { return kKindValue; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    double GetValue() override { return double(GetFieldLong(QStringLiteral("nClients"))); }
};

// Filled by the engine's unique count.
class CxrpClientsUniq : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("num"); }
    long GetID() override { return kColClientsUniq; }
    QString GetTitle() override;
    long GetKind() override { return kKindValue; }
    bool AddToSelect(int, CSimpleSelect&, CRepVisitsRunData*) override { return true; }
};

class CxrpVisits : public Cxrp {
public:
    QString GetCellClass() override { return QStringLiteral("num"); }
    long GetID() override { return kColVisits; }
    QString GetTitle() override;
    long GetKind() override { return kKindDetail | kKindValue; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
    double GetValue() override { return double(GetFieldLong(QStringLiteral("nVisits"))); }
};

// The quantity of one material group handed out.
class CxrpMat : public Cxrp {
public:
    CxrpMat(const QString& title, long type) : m_title(title), m_type(type) {}
    QString GetCellClass() override { return QStringLiteral("num"); }
    long GetID() override { return kColNone; }
    QString GetTitle() override { return m_title; }
    long GetKind() override { return kKindDetail | kKindValue; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
    double GetValue() override { return double(GetFieldLong(m_alias)); }
    QString GetSumTitle() override { return m_title; }
    long GetGroupID() override { return m_type; }
    const QString& GetAlias() const { return m_alias; }

private:
    QString m_title;
    long m_type;
    QString m_alias;
};

// The visits of one calendar month.
class CxrpMonth : public Cxrp {
public:
    CxrpMonth(const QString& title, const QDate& month) : m_title(title), m_month(month) {}
    QString GetCellClass() override { return QStringLiteral("num"); }
    long GetID() override { return kColNone; }
    QString GetTitle() override { return m_title; }
    long GetKind() override { return kKindDetail | kKindValue; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetDetValue() override;
    double GetValue() override { return double(GetFieldLong(m_alias)); }
    QString GetSumTitle() override { return m_title; }
    QString GetComment() override;
    const QString& GetAlias() const { return m_alias; }

private:
    QString m_title;
    QDate m_month;
    QString m_alias;
};

// A count for a numeric detail cell ("&nbsp;" for 0).
QString VisitsNumberCell(double value);

#pragma once
// The columns of the visits reports. Each column adds its items, joins and
// grouping to the report's select over the visit work table _cache_fast and
// the client work table _cache_clients, and reads its values back from the
// current row of the result: a detail cell (HTML), the title and group id of
// a summary line, a number to sum. A column's id is what version-1 presets
// store in their lists.
//
// Most columns differ only in data (their id, kind, title, what they add to
// the select and how a cell reads the field): each of those is a row of
// descriptors (CxrpDescriptor, visits_columns.cpp) read by one class,
// CxrpDescribed, and a named column is that class over its row. The columns
// that keep state of their own (ages, service points, towns, regions,
// materials, months) are classes of their own.
#include "framework/core/report/age_groups.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <array>

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

// ---- the columns made from descriptors ----

// A client's state at the period's end that a column reads besides the work
// tables; its table's name stands for "{T}" in the column's SQL texts.
enum class CxrpState { kNone, kClientType, kSocial, kDrugUse };

// How a column reads its field.
enum class CxrpRead {
    kCode,  // a code: cells and line titles are its text, the line is the code
    kFlag,  // yes or no: a line for each answer
    kText,  // a text; the line is the group field's
    kCount, // a number the summary tables add up
};

// How a detail cell shows a text.
enum class CxrpFormat {
    kPlain,
    kLines,   // line breaks kept
    kClipped, // cut at its back-quote when the preset asks for it
};

struct CxrpJoin {
    const char* kind = nullptr; // "LEFT", or empty for a plain join
    const char* table = nullptr;
    const char* condition = nullptr;
};

// One kind of column.
struct CxrpDescriptor {
    long id = kColNone;
    long kind = 0;
    const char* cellClass = "d";
    const char* title = nullptr; // and its translation key
    const char* titleKey = nullptr;
    // The select: the items of every select, of a detail list only, of a
    // summary only, then the joins; a detail-only column adds nothing to a
    // summary select.
    CxrpState state = CxrpState::kNone;
    std::array<const char*, 2> items{};
    std::array<const char*, 1> detailItems{};
    std::array<const char*, 1> summaryItems{};
    std::array<CxrpJoin, 2> joins{};
    bool detailOnly = false;
    // The result field of the grouping value; empty when it is no plain field.
    const char* resultField = "";
    // How the field is read and shown. A column that is no detail column has
    // no cell, one that groups nothing neither a line nor its title.
    CxrpRead read = CxrpRead::kCount;
    const char* field = nullptr;
    // The field of the line: a text's always, a code's when the line is read
    // apart from the cell.
    const char* groupField = nullptr;
    CxrpFormat format = CxrpFormat::kPlain;
    // A code's text for a detail cell (summary false) or for a line title.
    QString (*codeText)(long code, bool summary) = nullptr;
    // A flag: the bit that says yes (0: any value above 0), the key of the
    // cell's "Да" and the line titles of yes and no.
    long mask = 0;
    const char* yesKey = nullptr;
    QString (*answerText)(bool yes) = nullptr;
};

class CxrpDescribed : public Cxrp {
public:
    explicit CxrpDescribed(const CxrpDescriptor& descriptor) : m_d(descriptor) {}
    QString GetCellClass() override { return QString::fromLatin1(m_d.cellClass); }
    long GetID() override { return m_d.id; }
    QString GetTitle() override;
    long GetKind() override { return m_d.kind; }
    bool AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) override;
    QString GetResultField() override { return QString::fromLatin1(m_d.resultField); }
    QString GetUniqueTerm() override;
    QString GetDetValue() override;
    double GetValue() override;
    QString GetSumTitle() override;
    long GetGroupID() override;

protected:
    QString FieldText() { return GetFieldText(QString::fromLatin1(m_d.field)); }
    long FieldLong() { return GetFieldLong(QString::fromLatin1(m_d.field)); }

private:
    bool IsSet();
    const CxrpDescriptor& m_d;
    CRepVisitsRunData* m_run = nullptr; // of the last AddToSelect
};

// The client's code (always the first detail column), linked to the card.
class CxrpClientID : public CxrpDescribed {
public:
    CxrpClientID();
    QString GetDetValue() override;
};

// The date of the first visit, linked to the daily report of that visit.
class CxrpFirstVisitDate : public CxrpDescribed {
public:
    CxrpFirstVisitDate();
    QString GetDetValue() override;
};

class CxrpClientOLDID : public CxrpDescribed {
public:
    CxrpClientOLDID();
};

class CxrpComment : public CxrpDescribed {
public:
    CxrpComment();
};

class CxrpSex : public CxrpDescribed {
public:
    CxrpSex();
};

class CxrpRiscGroup : public CxrpDescribed {
public:
    CxrpRiscGroup();
};

// The social-status columns.
class CxrpEducationLevel : public CxrpDescribed {
public:
    CxrpEducationLevel();
};

class CxrpEploymentStatus : public CxrpDescribed {
public:
    CxrpEploymentStatus();
};

class CxrpPlaceOfLiving : public CxrpDescribed {
public:
    CxrpPlaceOfLiving();
};

class CxrpDrugType : public CxrpDescribed {
public:
    CxrpDrugType();
};

class CxrpDrugFreq : public CxrpDescribed {
public:
    CxrpDrugFreq();
};

// The service point of the client's first visit: its name and its type.
class CxrpFirstPOU : public CxrpDescribed {
public:
    CxrpFirstPOU();
};

class CxrpFirstPOUType : public CxrpDescribed {
public:
    CxrpFirstPOUType();
};

// Yes/no columns of the client: a line for each answer.
class CxrpPDI : public CxrpDescribed {
public:
    CxrpPDI();
};

class CxrpSecondary : public CxrpDescribed {
public:
    CxrpSecondary();
};

// The volunteer mark: bit 8192 of the client type's second word.
class CxrpReseler : public CxrpDescribed {
public:
    CxrpReseler();
};

class CxrpRegion : public CxrpDescribed {
public:
    CxrpRegion();
};

class CxrpVisitYear : public CxrpDescribed {
public:
    CxrpVisitYear();
};

class CxrpClients : public CxrpDescribed {
public:
    CxrpClients();
};

// Filled by the engine's unique count.
class CxrpClientsUniq : public CxrpDescribed {
public:
    CxrpClientsUniq();
};

class CxrpVisits : public CxrpDescribed {
public:
    CxrpVisits();
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

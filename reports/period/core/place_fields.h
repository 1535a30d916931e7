#pragma once
// Report fields that place a result row: the service point of the visit, its
// type, its town and its region (the town's top-level ancestor), the number
// of distinct points, the organisation the client belongs to and the client's
// first service point. Towns form a tree in the table towns (nGroupID the
// parent, 0 at the top); a service point names its town in dir.nTown.
#include "field_base.h"

#include <QHash>

class CxSQL;
struct CxSQLError;

namespace TownTree {
// The towns that are no town's parent, id -> short name. Does nothing when
// the map holds towns already. Answers false when towns could not be read.
bool LoadLeafTowns(CxSQL* sql, QHash<long, QString>& names, CxSQLError* error = nullptr);
// Every town's top-level ancestor (a top-level town is its own; a chain
// deeper than 10 steps, broken or circular gives 0), and the top-level
// towns' names. Does nothing when the ancestors are filled already.
bool LoadTownList(CxSQL* sql, QHash<long, long>& ancestors, QHash<long, QString>& regionNames,
                  CxSQLError* error = nullptr);
} // namespace TownTree

// The service point of the row.
class CRF_POU : public CRepFieldBase {
public:
    CRF_POU();
    QString GetWarning(CRepBaseData* run) override { return DuplicationWarning(run); }
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    void Bind(CxResult* result) override;
    QString GetDetValue() override;
    long GetGroupID() override;
    QString GetGroupText() override { return GetDetValue(); }

private:
    void OnNewRow() override;
    long m_namePos = -1;
    long m_point = 0;
    QString m_text;
};

// A service-point type: of the row's point, or of the client's first point.
class CRF_PointTypeField : public CRepFieldBase {
public:
    using CRepFieldBase::CRepFieldBase;
    QString GetDetValue() override;
    long GetGroupID() override;
    QString GetGroupText() override { return GetDetValue(); }

protected:
    virtual const char* ErrorContext() const = 0;

private:
    void OnNewRow() override;
    long m_type = 0;
    QString m_text;
};

class CRF_POUTYPE : public CRF_PointTypeField {
public:
    CRF_POUTYPE();
    QString GetWarning(CRepBaseData* run) override { return DuplicationWarning(run); }
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

private:
    const char* ErrorContext() const override { return "CRF_POUTYPE::GetDetValue"; }
};

class CRF_FirstPOUType : public CRF_PointTypeField {
public:
    CRF_FirstPOUType();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

private:
    const char* ErrorContext() const override { return "msgError"; }
};

// A named directory row of the client (first service point, organisation):
// the id is the field's column, the name another column.
class CRF_NamedField : public CRepFieldBase {
public:
    CRF_NamedField(long id, const char* fieldName, const char* title, const char* key,
                   const char* nameColumn);
    void Bind(CxResult* result) override;
    QString GetDetValue() override;
    long GetGroupID() override;
    QString GetGroupText() override { return GetDetValue(); }

private:
    void OnNewRow() override;
    QString m_nameColumn;
    long m_namePos = -1;
    long m_id = 0;
    QString m_text;
};

class CRF_FirstPOU : public CRF_NamedField {
public:
    CRF_FirstPOU();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
};

class CRF_Org : public CRF_NamedField {
public:
    CRF_Org();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
};

// The town of the row's service point; a town that has towns inside it, or
// one the towns table lacks, shows "Ошибка".
class CRF_Town : public CRepFieldBase {
public:
    CRF_Town();
    QString GetWarning(CRepBaseData* run) override { return DuplicationWarning(run); }
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    void AddGroup(CSimpleSelect& select, CRepBaseData* run) override { AddSelect(select, run); }
    QString GetDetValue() override;
    long GetGroupID() override;
    QString GetGroupText() override { return GetDetValue(); }
    // Fills the field's town names (once); false when towns cannot be read.
    virtual bool LoadTowns(CxSQL* sql, CxSQLError* error = nullptr);

protected:
    CRF_Town(long id, const char* title, const char* key, const char* css);
    // The town (or region) of a town id: its id, or -1, and its name.
    virtual bool Lookup(long town, long& id, QString& name) const;
    virtual const char* ContextPrefix() const { return "CRF_Town::"; }
    QHash<long, QString> m_names;

private:
    void Compute(const char* getter);
    long m_group = -1;
    QString m_text;
};

// The region: the top-level ancestor of the row's town.
class CRF_Obl : public CRF_Town {
public:
    CRF_Obl();
    bool LoadTowns(CxSQL* sql, CxSQLError* error = nullptr) override;

private:
    bool Lookup(long town, long& id, QString& name) const override;
    const char* ContextPrefix() const override { return "CRF_Obl::"; }
    QHash<long, long> m_ancestors;
};

// The distinct service points of the record.
class CRF_WokrPlaceCount : public CRepFieldBase {
public:
    CRF_WokrPlaceCount();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    double GetValue() override;
    QString GetDetValue() override { return QString(); }
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

private:
    void OnNewRow() override;
    long m_count = 0;
};

#pragma once
// Report fields that count and sum: clients, unique persons, visits, the
// materials of configured groups and the community centre's services; and
// the marks of what happened in the period (new client, regular client,
// served by a pharmacy, new client of the PDI programme), which also group
// rows into two groups.
#include "field_base.h"

// Clients of the record: all of them, or those of one sex.
class CRF_Clients : public CRepFieldBase {
public:
    CRF_Clients();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    void AddGroup(CSimpleSelect& select, CRepBaseData* run) override;
    long GetValueKind() override { return m_kind; }
    double GetValue() override;
    QString GetDetValue() override { return QStringLiteral("1"); }
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

protected:
    CRF_Clients(long id, const char* fieldName, const char* title, const char* key, long kind,
                long sex);

private:
    void OnNewRow() override;
    long m_kind;
    long m_sex; // 0: every client
    long m_value = 0;
};

class CRF_ClientsProc : public CRF_Clients {
public:
    CRF_ClientsProc();
};
class CRF_ClientsMan : public CRF_Clients {
public:
    CRF_ClientsMan();
};
class CRF_ClientsWoman : public CRF_Clients {
public:
    CRF_ClientsWoman();
};
class CRF_ClientsTrans : public CRF_Clients {
public:
    CRF_ClientsTrans();
};

// Unique persons: the value is a person key that the report counts once per
// line however many records, points or client records the person has.
class CRF_UniqClients : public CRepFieldBase {
public:
    CRF_UniqClients();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    void Bind(CxResult* result) override;
    long GetValueKind() override { return m_kind; }
    // ((gROWID * 300) + (birth year - 1900)) * 11 + sex, in 32 bits; a birth
    // year outside 1900..2199 counts as 1900 and is reported once.
    double GetValue() override;
    QString GetDetValue() override { return QStringLiteral("1"); }
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

    // The key of a person (what GetValue answers for a row).
    static qint32 PersonKey(long gROWID, long birthYear, long sex);

protected:
    CRF_UniqClients(long id, const char* title, const char* key, long kind);

private:
    long m_kind;
    qint32 m_key = 0;
    bool m_warned = false;
    long m_sexPos = -1;
    long m_yearPos = -1;
};

class CRF_UniqClientsProc : public CRF_UniqClients {
public:
    CRF_UniqClientsProc();
};

class CRF_Visits : public CRepFieldBase {
public:
    CRF_Visits();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    long GetValueKind() override { return m_kind; }
    double GetValue() override;
    QString GetDetValue() override;
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

protected:
    CRF_Visits(long id, const char* title, const char* key, long kind);

private:
    void OnNewRow() override;
    long m_kind;
    long m_value = 0;
    QString m_text;
};

class CRF_VisitsProc : public CRF_Visits {
public:
    CRF_VisitsProc();
};

// A yes/no mark of the record's client; groups into 1 and 0.
class CRF_MarkField : public CRepFieldBase {
public:
    using CRepFieldBase::CRepFieldBase;
    double GetValue() override { return double(GetGroupID()); }
    QString GetDetValue() override {
        Refresh();
        return m_text;
    }
    long GetGroupID() override {
        Refresh();
        return m_value;
    }
    QString GetGroupText() override { return GetDetValue(); }

protected:
    long m_value = 0;
    QString m_text;
};

// Regular clients of the twelve (or, for groups 2 and 4, three) months that
// end with the period.
class CRF_RegClients : public CRF_MarkField {
public:
    CRF_RegClients();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    QString GetDetValue() override;
    QString GetGroupText() override;

private:
    void OnNewRow() override;
};

// First seen (the first visit's date) within the period.
class CRF_NewClient : public CRF_MarkField {
public:
    CRF_NewClient();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

private:
    void OnNewRow() override;
};

// Served at a pharmacy (a service point of type 3) in the period.
class CRF_Apteka : public CRF_MarkField {
public:
    CRF_Apteka();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

protected:
    CRF_Apteka(long id, const char* fieldName, const char* title, const char* key);

private:
    void OnNewRow() override;
};

// New in the period, first seen at a pharmacy and served at one.
class CRF_AptekaNew : public CRF_Apteka {
public:
    CRF_AptekaNew();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

private:
    void OnNewRow() override;
};

// A new client of the PDI programme of one main group (1 drug users, 2 sex
// workers).
class CRF_PDINew : public CRF_MarkField {
public:
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

protected:
    CRF_PDINew(long id, const char* fieldName, const char* title, const char* key, long group);

private:
    void OnNewRow() override;
    long m_group;
};

class CRF_PDIIDU_New : public CRF_PDINew {
public:
    CRF_PDIIDU_New();
};

class CRF_PDIWCS_New : public CRF_PDINew {
public:
    CRF_PDIWCS_New();
};

// The community centre's services (material code 263148).
class CRF_VirtKC : public CRepFieldBase {
public:
    static constexpr long kCommunityCode = 263148;
    CRF_VirtKC();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    double GetValue() override;
    QString GetDetValue() override;
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

private:
    void OnNewRow() override;
    long m_value = 0;
    QString m_text;
};

// The projects of the record's sheets (a bit set); each combination groups
// on its own, so a client may count under several.
class CRF_Project : public CRepFieldBase {
public:
    CRF_Project();
    QString GetWarning(CRepBaseData* run) override { return DuplicationWarning(run); }
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    double GetValue() override;
    QString GetDetValue() override;
    long GetGroupID() override;
    QString GetGroupText() override { return GetDetValue(); }

private:
    void OnNewRow() override;
    long m_bits = 0;
    QString m_text;
};

// A configured material group: with the group's id, the materials of the
// group handed out; with the id plus kRFConfigClients, the clients who got
// any of them.
class CRF_Config : public CRepField {
public:
    CRF_Config(long id, const QString& title);
    long GetID() override { return m_id; }
    QString GetFieldName() override { return m_alias; }
    QString GetTitle() override { return m_title; }
    unsigned GetFlags() override { return 0xC; }
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    double GetValue() override;
    QString GetDetValue() override;
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

    bool CountsClients() const;
    long GroupID() const;

private:
    long m_id;
    QString m_title;
    QString m_alias;
    long m_value = 0;
    QString m_text;
};

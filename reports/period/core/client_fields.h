#pragma once
// Report fields of the client behind a result row: code, sex, membership
// marks, vulnerable groups, age group, education, employment and drug use.
// They read the client's record (C: code, sex, birth year, PDI, secondary
// exchange) or its state at the period's end (the state table D) and turn a
// stored code into its text; most of them can group summary rows.
#include "field_base.h"
#include "kelda_age_groups.h"

class CEnum2;

// The client code as reports show it: with the report option "ClipClientCode"
// on, cut before its last back-quote (the suffix an exchange added); else
// unchanged. The code is stored back into the argument and answered.
QString ClipClientCode(QString& code);

class CRF_ClientCode : public CRepFieldBase {
public:
    CRF_ClientCode();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    // Offered as a grouping of the records: one record per client code, as
    // the client table keeps it (the code shown, not the person key).
    void AddGroup(CSimpleSelect& select, CRepBaseData* run) override;
    double GetValue() override { return -1.0; }
    QString GetDetValue() override;
    long GetGroupID() override { return -1; }
    QString GetGroupText() override { return QString(); }

private:
    void OnNewRow() override;
    QString m_text;
};

// A coded attribute of D: the code is the column, its text a look-up.
class CRF_CodedField : public CRepFieldBase {
public:
    using CRepFieldBase::CRepFieldBase;
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    QString GetDetValue() override {
        Refresh();
        return m_text;
    }
    long GetGroupID() override {
        Refresh();
        return m_code;
    }
    QString GetGroupText() override { return GetDetValue(); }

protected:
    // The table the column is read from: D by default.
    virtual QString SourceTable(CSimpleSelect& select, CRepBaseData* run);
    // The SELECT item of the field; the plain column by default.
    virtual QString SelectItem(const QString& state);

    long m_code = 0;
    QString m_text;
};

// A coded attribute of the client's own record, read from C.
class CRF_ClientAttribute : public CRF_CodedField {
public:
    using CRF_CodedField::CRF_CodedField;

protected:
    QString SourceTable(CSimpleSelect& select, CRepBaseData* run) override;
};

class CRF_Sex : public CRF_ClientAttribute {
public:
    CRF_Sex();

private:
    void OnNewRow() override;
};

class CRF_PDI : public CRF_ClientAttribute {
public:
    CRF_PDI();
    double GetValue() override { return double(GetGroupID()); }

private:
    void OnNewRow() override;
};

// Volunteer: the volunteer bit of the secondary groups.
class CRF_Volonter : public CRF_CodedField {
public:
    CRF_Volonter();

private:
    QString SelectItem(const QString& state) override;
    void OnNewRow() override;
};

class CRF_Second : public CRF_ClientAttribute {
public:
    CRF_Second();

private:
    void OnNewRow() override;
};

// The main vulnerable group at the period's end (a set of group bits).
class CRF_RiskGroup : public CRF_CodedField {
public:
    CRF_RiskGroup();
    void AddGroup(CSimpleSelect& select, CRepBaseData* run) override;

protected:
    CRF_RiskGroup(long id, const char* fieldName, const char* title, const char* key,
                  unsigned flags);
    void OnNewRow() override;
    // The texts of the code's group bits joined by ", "; "Не заполнена" for
    // no group; "Ошибка: <code>" when no bit is a known group.
    QString GroupsText(long code, const char* errorContext) const;
};

// The secondary groups without the volunteer bit (CRF_Volonter shows it).
class CRF_RiskGroup2 : public CRF_RiskGroup {
public:
    CRF_RiskGroup2();
    void AddGroup(CSimpleSelect& select, CRepBaseData* run) override;

private:
    QString SelectItem(const QString& state) override;
    void OnNewRow() override;
};

// The age group of the client at the end of the run's period (of the
// sub-period when the report splits its period), by the configured groups.
class CRF_AgeGroup : public CRF_ClientAttribute {
public:
    CRF_AgeGroup();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;
    // The year ages are measured at (set by AddSelect from the run).
    void SetReferenceYear(int year) { m_year = year; }

private:
    void OnNewRow() override;
    CKeldaAgeGroups m_groups;
    int m_year = -1;
};

// An attribute whose code is an item of an enumeration; a code the
// enumeration lacks shows "Нет данных" and groups as -1.
class CRF_EnumField : public CRF_CodedField {
public:
    CRF_EnumField(long id, const char* fieldName, const char* title, const char* key,
                  CEnum2* (*enumeration)());

private:
    void OnNewRow() override;
    CEnum2* (*m_enum)();
};

class CRF_EduLevel : public CRF_EnumField {
public:
    CRF_EduLevel();
};

class CRF_Employment : public CRF_EnumField {
public:
    CRF_Employment();
};

class CRF_DrugFreq : public CRF_EnumField {
public:
    CRF_DrugFreq();
};

// The kind of the main drug (the drug directory item's type).
class CRF_DrugMain : public CRF_CodedField {
public:
    CRF_DrugMain();
    void AddSelect(CSimpleSelect& select, CRepBaseData* run) override;

protected:
    CRF_DrugMain(long id, const char* fieldName, const char* title, const char* key,
                 const char* alias, const char* stateColumn);

private:
    void OnNewRow() override;
    const char* m_alias;
    const char* m_stateColumn;
};

class CRF_DrugSec : public CRF_DrugMain {
public:
    CRF_DrugSec();
};

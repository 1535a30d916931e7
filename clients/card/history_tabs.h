#pragma once
// The dated tabs of drug use (drugusedata), social status (socialstatus) and
// risk behaviour (riskbehavior): one page per stored date. A radio group
// without a choice stores its default where it has one (99, "Нет данных"), and
// on a stored page keeps the stored value; columns no control shows keep
// their values.
#include "client_tabs.h"

class CxComboList;
class CxSqlComboList;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;

using CRadioButtons = QList<QPair<QAbstractButton*, int>>;

class CDClientsDrugsSub : public CDClientTabDynDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsDrugsSub(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::DrugUseData; }
    void LoadValues(const QHash<QString, QString>& row) override;
    CRuleVerdict CollectValues(QList<QPair<QString, QVariant>>* values, QWidget** control) override;

private:
    void UpdateStartLabel();

    CxSqlComboList* m_basicDrug;
    QList<QPair<QCheckBox*, int>> m_routes;
    CRadioButtons m_frequency;
    CxComboList* m_participation;
    QLineEdit* m_start;
    QLabel* m_startLabel;
    CxSqlComboList* m_secondaryDrug;
};

class CDClientsRiscSub : public CDClientTabDynDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsRiscSub(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::RiskBehavior; }
    void LoadValues(const QHash<QString, QString>& row) override;
    CRuleVerdict CollectValues(QList<QPair<QString, QVariant>>* values, QWidget** control) override;

private:
    struct Question {
        QString column;
        QVariant fallback; // stored when nothing is chosen on a new page
        CRadioButtons buttons;
    };
    QList<Question> m_questions;
};

class CDClientsSocialSub : public CDClientTabDynDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsSocialSub(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::SocialStatus; }
    void LoadValues(const QHash<QString, QString>& row) override;
    CRuleVerdict CollectValues(QList<QPair<QString, QVariant>>* values, QWidget** control) override;

private:
    struct Group {
        QString column;
        CRadioButtons buttons;
    };
    QList<Group> m_groups;
    QAbstractButton* m_otherEmployment = nullptr;
    QLineEdit* m_otherText;
    QLineEdit* m_children;
    QCheckBox* m_police;
    QCheckBox* m_narco;
};

class CDClientsDrugs : public CDClientTabDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsDrugs(QWidget* parent = nullptr) : CDClientTabDyn(parent) {
        InitHost();
    }
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::DrugUseData; }
    const QMetaObject* GetSubPageClass() const override {
        return CDClientsDrugsSub::GetThisClass();
    }
};

class CDClientsRisc : public CDClientTabDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsRisc(QWidget* parent = nullptr) : CDClientTabDyn(parent) {
        InitHost();
    }
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::RiskBehavior; }
    const QMetaObject* GetSubPageClass() const override { return CDClientsRiscSub::GetThisClass(); }
};

class CDClientsSocial : public CDClientTabDyn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsSocial(QWidget* parent = nullptr) : CDClientTabDyn(parent) {
        InitHost();
    }
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    EClientHistory History() const override { return EClientHistory::SocialStatus; }
    const QMetaObject* GetSubPageClass() const override {
        return CDClientsSocialSub::GetThisClass();
    }
};

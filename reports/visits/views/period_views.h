#pragma once
// The two small period windows: "Отчет по проведенным тренингам"
// (CRepTrainings, the view of CRepTrainingsDoc) takes a period; "Информация о
// визите клиента" (CRepClientInfo, the view of CRepClientInfoDoc) a period
// and a client. Both remember their period under the same keys, so the two
// windows share it.
#include "framework/widgets/report/rep_view.h"

#include <QDate>

class CRepParamsPanel;
class CxSqlComboList;

class CRepTrainings : public CRepView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepTrainings(QWidget* parent = nullptr);

    // The period goes to the document; false (with a message) for a date
    // that is no date or a period that ends before it begins.
    bool OnPreBuild() override;
    void StoreState() override;
    void RestoreState() override;

    QDate GetFrom() const;
    QDate GetTo() const;
    void SetPeriod(QDate from, QDate to);

protected:
    // The row of the period, under the caption; the derived view adds its
    // controls below it.
    CRepTrainings(QWidget* parent, const QString& periodCaption);
    bool PeriodIsValid();

private:
    CRepParamsPanel* m_panel;
};

class CRepClientInfo : public CRepTrainings {
    Q_OBJECT
public:
    enum : int { IDC_CLIENT = 1563 };

    Q_INVOKABLE explicit CRepClientInfo(QWidget* parent = nullptr);

    bool OnInitialUpdate() override;
    bool OnPreBuild() override;
    CxSqlComboList* GetClientList() const { return m_client; }

private:
    CxSqlComboList* m_client;
};

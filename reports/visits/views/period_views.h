#pragma once
// The two small period windows: "Отчет по проведенным тренингам"
// (CRepTrainings, the view of CRepTrainingsDoc) takes a period; "Информация о
// визите клиента" (CRepClientInfo, the view of CRepClientInfoDoc) a period
// and a client. Both remember their period under the same keys, so the two
// windows share it.
#include "reports/base/views/rep_params_view.h"

class CxSqlComboList;

class CRepTrainings : public CRepParamsView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepTrainings(QWidget* parent = nullptr);

    // The period goes to the document; false (with a message) for a date
    // that is no date or a period that ends before it begins.
    bool OnPreBuild() override;

protected:
    // The row of the period, under the caption; the derived view adds its
    // controls below it.
    CRepTrainings(QWidget* parent, const QString& periodCaption);
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

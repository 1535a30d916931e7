#pragma once
// "Отчет по проведенным тренингам": the trainings of a period per topic and
// per target group: trainings held, people trained as recorded, distinct
// people trained and hours. And "Информация о визите клиента", a report
// whose page is empty.
#include "framework/core/app/html_template.h"
#include "framework/core/report/rep_doc.h"

#include <QDate>

class CRepTrainingsDoc : public CRepDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepTrainingsDoc(QObject* parent = nullptr);
    QString GetReportTitle() override;
    void OnInitHTML(CAccStringT<wchar_t>& html) override;

    // The period the view gives.
    QDate from;
    QDate to;
    // Distinct pairs of target group and person of the last build.
    long GetUniqueCount() const { return m_unique; }
    // Set by a failed build: the statement and the server's message.
    const QString& GetError() const { return m_error; }

private:
    QString Block(const QString& sql, const QString& section, const QString& caption);

    CHTMLTemplate m_template;
    long m_unique = 0;
    QString m_error;
};

class CRepClientInfoDoc : public CRepDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepClientInfoDoc(QObject* parent = nullptr) : CRepDoc(parent) {}
    QString GetReportTitle() override;
    void OnInitHTML(CAccStringT<wchar_t>&) override {}

    QDate from;
    QDate to;
    long clientId = 0;
};

#pragma once
// The document of the comparison of two received loads ("Сравнение
// загрузок"): the window (CRepCompareChanges) hands it the ticked loads, the
// name of their organisation and the analysis date; its build writes the
// page from template 3241 over the figures of load_comparison.h. Every text
// that came from a database (names, client codes, the organisation) is
// escaped before it goes into the page.
#include "framework/core/report/rep_doc.h"
#include "load_comparison.h"

class CHTMLTemplate;

class CRepCompareChangesDoc : public CRepDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepCompareChangesDoc(QObject* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    QString GetReportTitle() override;

    // The user's choice: the ticked loads in the list's order, their
    // organisation as the list shows it, the analysis date (reports dated on
    // it or later take no part). Answers the translated reason when the
    // choice cannot be compared (the choice is then not taken), else empty.
    QString SetChoice(const QList<int>& ticked, const QString& org, const QDate& date);
    int FirstLoad() const { return m_first; }
    int SecondLoad() const { return m_second; }

    // The page as the template lays it out.
    static QString RenderPage(const CHTMLTemplate& tpl, const CCompareLoadsData& data,
                              const QString& org, const QDate& date);

    // The template of the page.
    static constexpr unsigned kTemplateId = 3241;

protected:
    void OnInitHTML(CAccStringT<wchar_t>& html) override;

private:
    int m_first = 0;
    int m_second = 0;
    QString m_org;
    QDate m_date;
};

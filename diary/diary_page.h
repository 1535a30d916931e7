#pragma once
// A sheet of a daily report as a tab page of the report's form: a visits
// sheet (CDDiaryVisits) or a redirections sheet (CDDiaryRedir), told apart in
// the report by its sheet number. The form makes the page and sets its number
// when it adds the tab; the page reads its sheet the first time its tab is
// shown. A page that was never shown is neither read nor saved, so its stored
// rows stay as they are; so does a page whose reading failed.
#include "diary/core/daily_report_store.h"

#include <QWidget>

class CDDiary;

class CDDiaryPage : public QWidget {
    Q_OBJECT
public:
    explicit CDDiaryPage(QWidget* parent = nullptr);

    int GetVedID() const { return m_vedId; }
    void SetVedID(int number) { m_vedId = number; }

    // The report's form (the page's tab holder's form), null while the page
    // stands alone.
    CDDiary* Form() const;
    // The stored report's ROWID, -1 while the report is new.
    qint64 ReportKey() const;

    // Whether the page holds its sheet (read, or handed over).
    bool IsCreated() const { return m_created; }
    // Reads the sheet once; false when reading failed (the reason goes to the
    // error list, and the page is read again when next shown).
    bool CreatePage();

    // Keeps what a cell being typed holds (before the page is saved).
    void CommitEdits();
    // What the form's save writes of the page.
    virtual CDailyReportPage SavePage() = 0;
    // Shows a refusal of the save at the page's cell or control.
    virtual void ShowRefusal(const CDiaryVerdict& verdict) = 0;

signals:
    // The user changed the sheet.
    void edited();

protected:
    // Reads the sheet of the report (none yet: an empty sheet).
    virtual bool OnCreatePage(QString* error) = 0;
    // The page holds a sheet that was handed to it.
    void SetCreated() { m_created = true; }

private:
    int m_vedId = 0;
    bool m_created = false;
};

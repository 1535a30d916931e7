#include "diary_page.h"

#include "daily_report_form.h"
#include "diary/core/diary_verdict.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/errors/error_list.h"
#include "sheet_view.h"

CDDiaryPage::CDDiaryPage(QWidget* parent) : QWidget(parent) {}

CDDiary* CDDiaryPage::Form() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* form = qobject_cast<CDDiary*>(w))
            return form;
    return nullptr;
}

qint64 CDDiaryPage::ReportKey() const {
    const CDDiary* form = Form();
    return form ? form->ReportKey() : -1;
}

bool CDDiaryPage::CreatePage() {
    if (m_created)
        return true;
    QString error;
    if (!OnCreatePage(&error)) {
        CTarvikApp::AddErrorMessage(
            DiaryText("Не удалось прочитать ведомость: %1", "CDDiaryPage::CreatePage").arg(error));
        CxErrorListWnd::ShowList();
        return false;
    }
    m_created = true;
    return true;
}

void CDDiaryPage::CommitEdits() {
    for (CDiarySheetView* view : findChildren<CDiarySheetView*>())
        view->CommitOpenEditor();
}

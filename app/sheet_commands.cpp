// The application's commands of daily sheets filled outside the program: the
// stencil for the spreadsheet program (1744) and the loading of filled
// sheets (1745, and the daily report journal's load into a folder).
#include "command_ids.h"
#include "diary/diary_journal.h"
#include "diary/excel/xml_trafaret.h"
#include "diary/xml_load.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "kelda2_app.h"

#include <QUrl>

void CKelda2App::OnMakeSheetStencil() {
    QString path, error;
    if (!MakeXMLTrafaret(g_pBaseSQLConnection.get(), XMLTrafaretFolder(), &path, &error)) {
        CxMessage(GetMainWnd(), CxMessageIcon::Error, error);
        return;
    }
    // The file is complete and closed: the spreadsheet program may open it.
    AddAppQuery(QStringLiteral("messagebox:64:") +
                TranslateString(QStringLiteral("Сформирован файл-трафарет. Используйте его для "
                                               "заполнения"),
                                QStringLiteral("msgXMLTrafaretDone"), 1));
    CxOpenExternal(QUrl::fromLocalFile(path));
}

void CKelda2App::RegisterSheetCommands() {
    CxAppCommands::Add(ID_SHEET_STENCIL, [this] { OnMakeSheetStencil(); });
    CxAppCommands::Add(ID_SHEET_LOAD, [this] {
        CXMLLoad wizard(0, GetMainWnd());
        wizard.DoModal();
    });
    CJDiary::SetSheetLoader([](QWidget* parent, qint64 folder) {
        CXMLLoad wizard(folder, parent);
        wizard.DoModal();
    });
}

// Pictures of the sheet loading wizard, run through its command on two sheet
// files written for the purpose (one filled from the client pictures'
// directory, one that names things the database lacks): its start page, its
// log after the run, and the report form it opened. The form is closed
// unsaved, so nothing stays in the database.
#include "sheet_pictures.h"
#include "bench/common/window_grab.h"

#include "app/command_ids.h"
#include "diary/daily_report_form.h"
#include "diary/xml_load.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QString Cell(int column, const QString& text) {
    return QStringLiteral("<Cell ss:Index=\"%1\"><Data ss:Type=\"String\">%2</Data></Cell>")
        .arg(column + 1)
        .arg(text.toHtmlEscaped());
}

// A filled sheet: the header cells, the material names and client rows, as
// (row from the signature, column, text).
QByteArray Sheet(const QList<std::tuple<int, int, QString>>& cells) {
    QMap<int, QString> rows;
    rows[0] = Cell(0, QStringLiteral("{HdrStart}"));
    for (const auto& [row, column, text] : cells)
        rows[row] += Cell(column, text);
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<Workbook "
                                 "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                                 "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">"
                                 "<Worksheet ss:Name=\"Лист1\"><Table>\n");
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        xml += QStringLiteral("<Row ss:Index=\"%1\">%2</Row>\n").arg(it.key() + 1).arg(*it);
    xml += QStringLiteral("</Table></Worksheet></Workbook>\n");
    return xml.toUtf8();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

bool SaveSheetPictures(QWidget* frame, const QDir& out) {
    // The directory rows and clients the first sheet names (kept when there).
    for (const char* statement : {
             "INSERT IGNORE INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,"
             "nTown,nSpecFlags) VALUES (9101,0,0,'Пункт на вокзале',1,0,0,0,0),"
             "(9102,0,0,'Иванова О. П.',2,0,0,0,0),(9105,0,0,'Шприц 2 мл',3,65537,0,0,0)",
             "INSERT IGNORE INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,"
             "nRelCount) VALUES (9110,'АБВ0587ч',0,0,0,0),(9111,'ГДЕ0190ж',0,0,0,0)",
         })
        if (!g_pBaseSQLConnection->Execute(QString::fromUtf8(statement)).isValid())
            qWarning("Not added: %s", statement);
    QTemporaryDir files;
    const bool written =
        Write(files.filePath(QStringLiteral("Report2-01.xml")),
              Sheet({{1, 3, "2024-03-05T00:00:00.000"},
                     {2, 3, "Пункт на вокзале"},
                     {3, 3, "Иванова О. П."},
                     {4, 7, "Выезд вечером"},
                     {7, 2, "Шприц 2 мл"},
                     {9, 1, "АБВ0587ч"},
                     {9, 2, "10"},
                     {10, 1, "ГДЕ0190ж"},
                     {10, 2, "4"}})) &&
        Write(files.filePath(QStringLiteral("Report2-02.xml")), Sheet({{1, 3, "05.03.2024"},
                                                                       {2, 3, "Пункт у рынка"},
                                                                       {3, 3, "Иванова О. П."},
                                                                       {7, 2, "Шприц 2 мл"},
                                                                       {7, 3, "Бинт"},
                                                                       {9, 1, "ЯЯЯ0101ч"},
                                                                       {9, 2, "3"}})) &&
        Write(files.filePath(QStringLiteral("Report2-03.xml")), "<Workbook><Worksheet>");
    if (!written)
        return false;

    bool saved = true;
    QList<CDDiary*> forms;
    SetModalDriver([&](QDialog* dialog) {
        auto* wizard = qobject_cast<CXMLLoad*>(dialog);
        if (!wizard)
            return;
        wizard->resize(760, 560);
        saved = SaveWindowPicture(wizard, out.filePath(QStringLiteral("sheet_load_start.png"))) &&
                saved;
        wizard->findChild<QCheckBox*>(QStringLiteral("batch"))->setChecked(true);
        wizard->findChild<CxFileEdit*>(QStringLiteral("path"))->SetPath(files.path());
        saved = SaveWindowPicture(wizard, out.filePath(QStringLiteral("sheet_load_chosen.png"))) &&
                saved;
        if (!wizard->Next() || !wizard->Run())
            std::fprintf(stderr, "the sheet load did not run\n");
        saved =
            SaveWindowPicture(wizard, out.filePath(QStringLiteral("sheet_load_log.png"))) && saved;
        forms = wizard->OpenedForms();
        wizard->accept();
    });
    CxAppCommands::OnCmdMsg(ID_SHEET_LOAD, nullptr);
    SetModalDriver({});
    if (!forms.isEmpty() && forms.first()) {
        if (auto* mdi = CxDocManager::Instance()->Frame())
            mdi->MDIArea()->setActiveSubWindow(nullptr);
        forms.first()->window()->activateWindow();
        saved =
            SaveWindowPicture(frame, out.filePath(QStringLiteral("sheet_load_form.png"))) && saved;
    }
    // The reports stay unsaved: "save the changes?" is answered no.
    SetMessageAnswerer([](CxAskKind, const QString&) { return int(IDNO); });
    if (auto* mdi = CxDocManager::Instance()->Frame())
        mdi->MDIArea()->closeAllSubWindows();
    SetMessageAnswerer({});
    return saved;
}

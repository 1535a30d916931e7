#include "framework/widgets/export/excel_export.h"

#include "framework/widgets/export/xlsx_export.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/report/rep_progress_dlg.h"

#include <QDir>
#include <QUrl>

QString CxExportToExcel(QWidget* parent, const QString& name, const CxXlsxWrite& write) {
    const QString path = XlsxTempPath(name);
    QString error;
    bool written = false;
    {
        CRepProgressDlg progress(parent);
        written = write(path, &progress, &error);
    }
    if (!written) {
        if (!error.isEmpty())
            CxMessage(parent, CxMessageIcon::Error, error);
        return QString();
    }
    if (!CxOpenExternal(QUrl::fromLocalFile(path))) {
        CxMessage(parent, CxMessageIcon::Warning,
                  QStringLiteral("Файл «%1» записан, но открыть его не удалось: нет программы "
                                 "для файлов Excel.")
                      .arg(QDir::toNativeSeparators(path)));
    }
    return path;
}

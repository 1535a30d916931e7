#pragma once
// The windows' side of «Передать в MS Excel»: writes the workbook into the
// user's temporary folder with a progress dialog that can cancel it, then
// hands it to the desktop's program for .xlsx files (CxOpenExternal, which
// tests replace). A failure is told to the user in a message box.
#include <QString>
#include <functional>

class CvProgress;
class QWidget;

using CxXlsxWrite = std::function<bool(const QString& path, CvProgress* progress, QString* error)>;

// Answers the file written and opened, or an empty string (cancelled or failed).
QString CxExportToExcel(QWidget* parent, const QString& name, const CxXlsxWrite& write);

#pragma once
// Where things stand in the daily-sheet stencil, shared by the writer that
// makes it and the import that reads it back, so the two cannot disagree.
// Rows and columns are 0-based as CExcelXML counts them (Excel's own numbers
// are one higher). Header rows are counted from the row whose column 0 holds
// the signature; the hidden dictionary rows above it vary in number, and a
// user may insert rows above the header, so the import searches for it.
#include <QLatin1StringView>
#include <QString>

class CExcelXML;

namespace StencilLayout {
inline constexpr QLatin1StringView kSignature("{HdrStart}");

// (row offset from the signature row, column) of the header entries.
inline constexpr int kDateRow = 1, kDateColumn = 3;
inline constexpr int kWorkPlaceRow = 2, kWorkPlaceColumn = 3;
inline constexpr int kWorker1Row = 3, kWorker1Column = 3;
inline constexpr int kWorker2Row = 1, kWorker2Column = 7;
inline constexpr int kWorker3Row = 2, kWorker3Column = 7;
inline constexpr int kProjectRow = 4, kProjectColumn = 3;
inline constexpr int kCommentRow = 4, kCommentColumn = 7;

// The row the user picks material names in, one per column from
// kFirstMaterialColumn to kLastMaterialColumn (the format's last column).
inline constexpr int kMaterialsRow = 7;
inline constexpr int kFirstMaterialColumn = 2;
inline constexpr int kLastMaterialColumn = 255;
// Totals of every column, then the client rows: the code in
// kClientCodeColumn, the counts under the materials.
inline constexpr int kTotalsRow = 8;
inline constexpr int kFirstClientRow = 9;
inline constexpr int kClientCodeColumn = 1;

// The Excel 2003 format's sheet: the stencil must fit in it.
inline constexpr int kFormatRows = 65536;
inline constexpr int kFormatColumns = 256;

// The material list's entry for one flag of a consultation counted by client
// code: the material's name, ":" and the flag's text. The import looks the
// picked names up among these.
QString ConsultationEntry(const QString& material, long flag);

// The signature row of a sheet: the first row whose column 0 begins with
// the signature, searched from row 0 to the sheet's last row; -1 when none.
int FindSignatureRow(const CExcelXML& sheet, int sheetIndex = 0);
} // namespace StencilLayout

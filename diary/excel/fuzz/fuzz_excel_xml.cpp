// Feeds arbitrary bytes to the spreadsheet reader. Besides the sanitizers it
// checks the reader's word: a load succeeds with no error recorded, or fails
// with exactly one error of a known code and a message that starts with it.
//
//   fuzz_excel_xml -dict=diary/excel/fuzz/excel_xml.dict corpus/ diary/excel/tests/fixtures/

#include "diary/excel/excel_xml.h"

#include <cstdint>
#include <cstdlib>

namespace {
bool KnownCode(quint32 code) {
    switch (code) {
    case XMLERR_TAG_EXPECTED:
    case XMLERR_UNEXPECTED_END:
    case XMLERR_MISMATCHED_END:
    case XMLERR_SYNTAX:
    case XMLERR_BAD_ATTRIBUTE:
    case XMLERR_REFUSED:
        return true;
    default:
        return false;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CExcelXML reader;
    QString error;
    const bool ok = reader.LoadData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    if (ok) {
        if (!reader.GetErrors().isEmpty() || !error.isEmpty())
            abort();
    } else {
        if (reader.GetErrors().size() != 1 || !KnownCode(reader.GetErrors().first().code))
            abort();
        if (!error.startsWith(QStringLiteral("(%1) ").arg(reader.GetErrors().first().code)))
            abort();
    }
    // Whatever was read stays addressable.
    for (int sheet = -1; sheet < 3; ++sheet) {
        const int last = reader.GetLastRow(sheet);
        if (last < 0 || last >= CExcelXML::kMaxRows)
            abort();
        if (const QString* text = reader.GetCellText(last, 0, sheet))
            (void)text->size();
    }
    return 0;
}

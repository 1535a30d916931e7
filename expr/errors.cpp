#include "errors.h"

#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace {

int defaultPresenter(const char* text, const char* caption, unsigned) {
    qWarning("%s: %s", caption, text);
    return 1; // OK
}

CALXException::Presenter g_presenter = defaultPresenter;

void copyCut(const char* text, char* buffer, unsigned size) {
    if (!buffer || size == 0)
        return;
    std::strncpy(buffer, text, size - 1);
    buffer[size - 1] = '\0';
}

} // namespace

void FormatErrorFallback(int code, char* buffer, unsigned size) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "0000000%X", unsigned(code));
    const std::size_t len = std::strlen(digits);
    const char* last8 = digits + (len > 8 ? len - 8 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "Error number 0x%s.", last8);
    copyCut(text, buffer, size);
}

void CALXException::SetPresenter(Presenter presenter) {
    g_presenter = presenter ? presenter : defaultPresenter;
}

int CALXException::GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext) {
    if (helpContext)
        *helpContext = 0;
    if (buffer && size > 0)
        buffer[0] = '\0';
    return 0;
}

int CALXException::ReportError(unsigned style, unsigned messageId) {
    char text[512];
    if (!GetErrorMessage(text, sizeof text)) {
        const int id = messageId != 0 ? int(messageId) : GetErrorCode();
        FormatErrorFallback(id, text, sizeof text);
    }
    return g_presenter(text, "Error", style);
}

CALXParserException::CALXParserException(const ALXErrorRecord* records, int count) {
    if (records && count > 0)
        m_records.assign(records, records + count);
}

int CALXParserException::GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext) {
    if (helpContext)
        *helpContext = 0;
    copyCut(GetErrorText(), buffer, size);
    return 1;
}

void CALXParserException::SelectError(int index) {
    if (index >= 0 && index < int(m_records.size()))
        m_nCurrent = index;
}

int CALXParserException::GetErrorCode() const {
    return m_records.empty() ? 0 : m_records[std::size_t(m_nCurrent)].nCode;
}

const char* CALXParserException::GetErrorText() const {
    return m_records.empty() ? "" : m_records[std::size_t(m_nCurrent)].szText;
}

void ThrowParserError(int code, const char*) {
    // The program carries no texts of its own for these codes, so the message
    // argument has no place to go and every code shows the numbered form.
    ALXErrorRecord record;
    record.nCode = code;
    FormatErrorFallback(code, record.szText, sizeof record.szText);
    throw new CALXParserException(&record, 1);
}

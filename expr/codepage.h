// Explicit 8-bit code pages of the runtime: texts are Windows-1251 (the
// program's ANSI page) and DOS 866 (its OEM page), whatever the machine's locale.
#pragma once

#include <QByteArray>
#include <QString>

namespace alx {

QString Cp1251ToUnicode(const char* bytes, int length);
inline QString Cp1251ToUnicode(const QByteArray& bytes) {
    return Cp1251ToUnicode(bytes.constData(), int(bytes.size()));
}
// Characters without a place in the code page become '?'.
QByteArray UnicodeToCp1251(const QString& text);

QString Cp866ToUnicode(const char* bytes, int length);
QByteArray UnicodeToCp866(const QString& text);

// Character classes and case of one Windows-1251 byte.
bool Cp1251IsAlpha(unsigned char c);
bool Cp1251IsDigit(unsigned char c);
bool Cp1251IsLower(unsigned char c);
bool Cp1251IsUpper(unsigned char c);
unsigned char Cp1251ToLower(unsigned char c);
unsigned char Cp1251ToUpper(unsigned char c);

} // namespace alx

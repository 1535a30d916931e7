#pragma once
// Texts for outside programs that read the Windows Cyrillic code page 1251.
#include <QByteArray>
#include <QString>

// Characters without a place in the code page become '?', as the server's
// CONVERT(... USING cp1251) makes them.
QByteArray ToCp1251(QStringView text);

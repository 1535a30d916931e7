#pragma once
// Field flags (what a registered column is) and attribute ids (which groups of
// tables and fields it belongs to) of the table model.
#include <QtGlobal>

constexpr quint32 FF_TEXT = 0x1;
constexpr quint32 FF_INT = 0x2;
constexpr quint32 FF_REAL = 0x4;
constexpr quint32 FF_DATE = 0x8;
constexpr quint32 FF_KEY = 0x10000;
constexpr quint32 FF_NAME = 0x20000;
constexpr quint32 FF_FOLDERMARK = 0x40000;
constexpr quint32 FF_PARENT = 0x80000;
constexpr quint32 FF_DIRTYPE = 0x100000;
constexpr quint32 FF_ENUMTEXT = 0x200000;
constexpr quint32 FF_JOINED = 0x400000;
constexpr quint32 FF_FLATCODE = 0x800000;
constexpr quint32 FF_LOOKUP = 0x2000000;
constexpr quint32 FF_ENUM = 0x4000000;
constexpr quint32 FF_FLATCODEBASE = 0x8000000;
constexpr quint32 FF_HIDDEN = 0x10000000;
constexpr quint32 FF_LASTLINK = 0x40000000;
constexpr quint32 FF_OWNKEY = 0x80000000;

// The value type bits of a field.
constexpr quint32 FF_TYPEMASK = FF_TEXT | FF_INT | FF_REAL | FF_DATE;

// Every table and field of a program's table set.
constexpr int ATTR_BASE = 18712;
// Data exchanged with other installations (personal data is not).
constexpr int ATTR_SHARED = 18744;
// The column that names a folder of a table that holds folders.
constexpr int ATTR_FOLDERNAME = 19114;

// How a link between a master key and a detail column behaves; the program
// declares every link with the default.
enum FKMODE { FKMODE_DEFAULT = 0 };

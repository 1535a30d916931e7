#pragma once
// Material packages: ready-made lists of materials kept as directory rows
// (dir, nDirType 11; the name in cString, the list in cOtherInfo). Loading a
// package into a visits sheet builds the columns of its materials in one step.
//
// The list is stored as text in two layers:
// - the byte stream of the array, in the archive conventions the packages have
//   always been written with: the element count (16-bit little-endian below
//   0xFFFF; else 0xFFFF and the count as 32-bit little-endian), then each
//   material ROWID as a 32-bit little-endian integer;
// - the framework's string archive turns that byte stream into the stored text
//   and back (PackArchiveText / UnpackArchiveText below).
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class CxSQL;

// The ordered material ROWIDs of a package.
class CDDirMatPackArray : public QList<qint32> {
public:
    using QList<qint32>::QList;
    CDDirMatPackArray() = default;
    explicit CDDirMatPackArray(const QList<qint32>& ids) : QList<qint32>(ids) {}

    // Fills the array from the text of dir.cOtherInfo. A NULL or empty text is
    // a package without materials. A text that does not decode, or whose
    // stream is cut short or runs on, answers false and leaves the array
    // empty: the caller reports it and must not read it as an empty package.
    bool LoadFromString(const QString& text);
    // The text of the array for dir.cOtherInfo.
    QString SaveToString() const;
};

// The byte stream of a list, and back; decoding answers false for a stream
// that is cut short or holds bytes after the last element.
QByteArray EncodeMatPackStream(const QList<qint32>& ids);
bool DecodeMatPackStream(QByteArrayView stream, QList<qint32>* ids);

// The string archive's text of a byte stream, and back (false: not a text the
// archive writes).
QString PackArchiveText(const QByteArray& stream);
bool UnpackArchiveText(const QString& text, QByteArray* stream);

// A package read for a sheet.
struct CMaterialPackage {
    qint64 id = -1;
    QString name;
    CDDirMatPackArray items;
};

enum class EPackageRead {
    Loaded,     // *package holds the list
    Missing,    // no package row has the ROWID
    Unreadable, // the row's list does not decode
    Failed,     // the query failed (*error)
};

// Reads a package row. *message is the line the sheet shows for the outcome:
// "Загружен пакет '%s'", "Ошибка распаковки пакета '%s'" or "Ошибка загрузки
// пакета материлов" (a failed query gives the last with *error set).
EPackageRead ReadMaterialPackage(CxSQL* sql, qint64 packageId, CMaterialPackage* package,
                                 QString* message, QString* error);

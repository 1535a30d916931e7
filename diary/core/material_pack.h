#pragma once
// Material packages: ready-made lists of materials kept as directory rows
// (dir, nDirType 11; the name in cString, the list in cOtherInfo). Loading a
// package into a visits sheet builds the columns of its materials in one step.
//
// The list is stored through the framework's string archive
// (framework/core/containers/string_archive.h), which documents the bytes and
// the text: the element count, then each material ROWID as a 32-bit integer.
// The daily report and the package form read and write packages only through
// this class, so both see one text.
#include <QList>
#include <QString>

class CxSQL;
class CxStringArchive;

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

    // Writes the array into an archive (count, then the ROWIDs), or reads it
    // from one; reading answers false, with the array empty, when the stream
    // ends before the announced number of ROWIDs.
    void Serialize(CxStringArchive& archive) const;
    bool Deserialize(CxStringArchive& archive);
};

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

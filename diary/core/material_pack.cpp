#include "material_pack.h"

#include "diary_sql.h"
#include "diary_verdict.h"

#include "framework/core/containers/string_archive.h"

void CDDirMatPackArray::Serialize(CxStringArchive& archive) const {
    archive.WriteCount(quint32(size()));
    for (const qint32 id : *this)
        archive.WriteInt32(id);
}

bool CDDirMatPackArray::Deserialize(CxStringArchive& archive) {
    clear();
    quint32 count = 0;
    if (!archive.ReadCount(&count))
        return false;
    // A count that the stream cannot hold is refused before anything is
    // reserved for it.
    if (archive.Remaining() / 4 < qsizetype(count))
        return false;
    reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        qint32 id = 0;
        if (!archive.ReadInt32(&id)) {
            clear();
            return false;
        }
        append(id);
    }
    return true;
}

bool CDDirMatPackArray::LoadFromString(const QString& text) {
    clear();
    if (text.trimmed().isEmpty())
        return true;
    CxStringArchive archive(CxStringArchive::load);
    // A stream that runs on after the last ROWID is not a package either.
    if (!archive.Unpack(text) || !Deserialize(archive) || !archive.AtEnd()) {
        clear();
        return false;
    }
    return true;
}

QString CDDirMatPackArray::SaveToString() const {
    CxStringArchive archive(CxStringArchive::store);
    Serialize(archive);
    return archive.Pack();
}

EPackageRead ReadMaterialPackage(CxSQL* sql, qint64 packageId, CMaterialPackage* package,
                                 QString* message, QString* error) {
    *package = CMaterialPackage();
    const QString missing =
        DiaryText("Ошибка загрузки пакета материлов", "CDDiaryVisits::OnSelectID");
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT ROWID,cString,cOtherInfo FROM dir WHERE "
                                    "dir.nDirType=11 AND dir.ROWID=%1")
                         .arg(packageId),
                     &r, error)) {
        *message = missing;
        return EPackageRead::Failed;
    }
    if (!r.FetchRow()) {
        *message = missing;
        return EPackageRead::Missing;
    }
    package->id = r.LFieldValue(0);
    package->name = r.SFieldValue(1);
    if (!package->items.LoadFromString(r.SFieldValue(2))) {
        *message = DiaryText("Ошибка распаковки пакета '%1'", "CDDiaryVisits::OnSelectID")
                       .arg(package->name);
        return EPackageRead::Unreadable;
    }
    *message = DiaryText("Загружен пакет '%1'", "CDDiaryVisits::OnSelectID").arg(package->name);
    return EPackageRead::Loaded;
}

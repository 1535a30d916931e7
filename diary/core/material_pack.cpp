#include "material_pack.h"

#include "diary_sql.h"
#include "diary_verdict.h"

#include <QtEndian>

namespace {
// The archive's count escape: counts from this value on are written in 32 bits.
constexpr quint16 kWideCount = 0xFFFF;
} // namespace

QByteArray EncodeMatPackStream(const QList<qint32>& ids) {
    QByteArray stream;
    const quint32 count = quint32(ids.size());
    if (count < kWideCount) {
        stream.resize(2);
        qToLittleEndian<quint16>(quint16(count), stream.data());
    } else {
        stream.resize(6);
        qToLittleEndian<quint16>(kWideCount, stream.data());
        qToLittleEndian<quint32>(count, stream.data() + 2);
    }
    const qsizetype head = stream.size();
    stream.resize(head + qsizetype(count) * 4);
    for (qsizetype i = 0; i < ids.size(); ++i)
        qToLittleEndian<qint32>(ids[i], stream.data() + head + i * 4);
    return stream;
}

bool DecodeMatPackStream(QByteArrayView stream, QList<qint32>* ids) {
    ids->clear();
    if (stream.size() < 2)
        return false;
    qsizetype at = 2;
    quint64 count = qFromLittleEndian<quint16>(stream.data());
    if (count == kWideCount) {
        if (stream.size() < 6)
            return false;
        count = qFromLittleEndian<quint32>(stream.data() + 2);
        at = 6;
    }
    if (quint64(stream.size() - at) != count * 4)
        return false;
    ids->reserve(qsizetype(count));
    for (; at < stream.size(); at += 4)
        ids->append(qFromLittleEndian<qint32>(stream.data() + at));
    return true;
}

// Until the framework's string archive is in place, its text is the stream in
// base64; this pair is the one place that has to follow the archive.
QString PackArchiveText(const QByteArray& stream) {
    return QString::fromLatin1(stream.toBase64());
}

bool UnpackArchiveText(const QString& text, QByteArray* stream) {
    const QByteArray latin = text.trimmed().toLatin1();
    if (QString::fromLatin1(latin) != text.trimmed())
        return false;
    const auto decoded =
        QByteArray::fromBase64Encoding(latin, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    *stream = *decoded;
    return true;
}

bool CDDirMatPackArray::LoadFromString(const QString& text) {
    clear();
    if (text.trimmed().isEmpty())
        return true;
    QByteArray stream;
    QList<qint32> ids;
    if (!UnpackArchiveText(text, &stream) || !DecodeMatPackStream(stream, &ids))
        return false;
    QList<qint32>::operator=(std::move(ids));
    return true;
}

QString CDDirMatPackArray::SaveToString() const {
    return PackArchiveText(EncodeMatPackStream(*this));
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

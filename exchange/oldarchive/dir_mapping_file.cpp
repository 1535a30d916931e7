#include "dir_mapping_file.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/text/cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

int Number(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

// The file is the user's as much as the program's: it comes back edited in
// whatever editor was at hand and saved in its encoding. UTF-16 carries its
// byte order mark; text that is not valid UTF-8 is the Windows code page.
QString DecodeText(const QByteArray& bytes) {
    if (const std::optional<QStringConverter::Encoding> marked =
            QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QString cp1251;
    cp1251.reserve(bytes.size());
    for (const char c : bytes)
        cp1251 += QChar(Cp1251ToUtf16Unit(static_cast<unsigned char>(c)));
    return cp1251;
}

QString FileError(const QString& path, const QString& reason) {
    return CTarvikApp::TranslateString(QStringLiteral("Ошибка работы с файлом {file}"),
                                       QStringLiteral("msgDirMappingFileError"))
               .replace(QStringLiteral("{file}"), QDir::toNativeSeparators(path)) +
           u'\n' + reason;
}

} // namespace

QString CDirMappingFile::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kelda2/dir3converter.txt");
}

QString CDirMappingFile::DirectoryKey(int oldKind, const QString& name) {
    QString key = QStringLiteral("%1:%2").arg(oldKind).arg(name);
    for (QChar& c : key)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return key;
}

QString CDirMappingFile::DailyGeneralKey(qint64 rowId) {
    return QStringLiteral("DG.%1").arg(rowId);
}

bool CDirMappingFile::Load(const QString& path, QString* error) {
    m_path = path;
    m_entries.clear();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        if (error)
            *error = FileError(path, file.errorString());
        return false;
    }
    const QString text = DecodeText(file.readAll());
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf(u'\t');
        const QString key = (tab < 0 ? line : line.left(tab)).toString();
        if (key.isEmpty())
            continue;
        QString value = tab < 0 ? QString() : line.mid(tab + 1).toString();
        const qsizetype second = value.indexOf(u'\t');
        if (second >= 0)
            value.truncate(second);
        const qsizetype plus = value.indexOf(u'+');
        m_entries.insert(key, plus < 0 ? Number(value)
                                       : Number(value.left(plus)) + Number(value.mid(plus + 1)));
    }
    return true;
}

bool CDirMappingFile::Lookup(const QString& key, int* value) const {
    const auto it = m_entries.constFind(key);
    if (it == m_entries.constEnd() || *it == kUnfilled)
        return false;
    *value = *it;
    return true;
}

void CDirMappingFile::AddMissing(const QString& key) {
    if (!m_entries.contains(key))
        m_entries.insert(key, kUnfilled);
}

bool CDirMappingFile::Save(QString* error) const {
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = FileError(m_path, file.errorString());
        return false;
    }
    QByteArray text;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        text += (it.key() + u'\t' + QString::number(it.value()) + QStringLiteral("\r\n")).toUtf8();
    file.write(text);
    if (!file.commit()) {
        if (error)
            *error = FileError(m_path, file.errorString());
        return false;
    }
    return true;
}

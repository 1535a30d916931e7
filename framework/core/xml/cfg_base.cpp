#include "cfg_base.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "xml_parser.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <optional>

namespace {
constexpr CxTr Tr("xCfgBase2");

// A document is read in the encoding that its byte-order mark or its XML
// declaration names, else as UTF-8. Bytes that do not decode leave the
// document unread: a file read with the wrong encoding would be written back
// with its texts destroyed.
std::optional<QString> DecodeDocument(const QByteArray& bytes) {
    QStringDecoder decoder;
    if (auto bom = QStringConverter::encodingForData(bytes)) {
        decoder = QStringDecoder(*bom);
    } else {
        QXmlStreamReader reader(bytes);
        if (reader.readNext() == QXmlStreamReader::StartDocument &&
            !reader.documentEncoding().isEmpty())
            decoder = QStringDecoder(reader.documentEncoding().toLatin1().constData());
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringConverter::Utf8);
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}
} // namespace

bool xCfgBase2::ParseDocument(const QByteArray& bytes, const QString& source) {
    const std::optional<QString> text = DecodeDocument(bytes);
    if (!text) {
        m_lastError = Tr("Не удалось прочитать конфигурацию «%1»: текст в неизвестной кодировке.")
                          .arg(source);
        return false;
    }
    return ParseConfig(*text, source);
}

int xLanguageBase::OnOpenTag(xml2Attr& attrs) {
    if (!_XML2Tag::OnOpenTag(attrs))
        return 0;
    m_bHasID = attrs.HasAttr(QStringLiteral("ID"));
    m_nID = attrs.GetAttr(QStringLiteral("ID"), QStringLiteral("0")).toInt();
    return 1;
}

void xLanguageBase::BuildXMLAttr(CXMLOut& out) {
    if (m_bHasID)
        out.Add(QStringLiteral(" ID='%1'").arg(m_nID));
    _XML2Tag::BuildXMLAttr(out);
}

bool xCfgBase2::ParseConfig(const QString& text, const QString& source) {
    ResetContent();
    XML2Parser parser;
    if (parser.Parse(text, this))
        return true;
    m_lastError = Tr("Не удалось прочитать конфигурацию «%1»: %2").arg(source, parser.GetError());
    return false;
}

xLanguageBase* xCfgBase2::GetCurrentLanguage() {
    QList<int> ids;
    const int count = GetLanguageIDs(ids);
    if (!count)
        return nullptr;
    const int index = ids.indexOf(m_nCurrentLanguageID);
    return GetLanguageAt(index < 0 ? 0 : index);
}

QString xCfgBase2::BuildText() {
    CXMLOut out;
    BuildXML(out);
    return out.ToString();
}

QString xCfgBase2::DefaultConfigPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/config.xml");
}

bool xCfgBase2::ReportError(const QString& text) {
    m_lastError = text;
    CTarvikApp::AddErrorMessage(text);
    return false;
}

bool xCfgBase2::LoadConfig(const QString& path) {
    m_path = path.isEmpty() ? DefaultConfigPath() : path;
    m_damagedPath.clear();
    m_lastError.clear();
    const QString resource = GetDefaultConfigResource();

    if (!QFile::exists(m_path) && !resource.isEmpty()) {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        QFile::remove(m_path + QStringLiteral(".new"));
        // Copy to a new name first, so that no half-written file stands under
        // the real name.
        if (!QFile::copy(resource, m_path + QStringLiteral(".new")) ||
            !QFile::rename(m_path + QStringLiteral(".new"), m_path)) {
            ReportError(Tr("Не удалось создать файл конфигурации «%1»; используется "
                           "конфигурация по умолчанию.")
                            .arg(QDir::toNativeSeparators(m_path)));
            QFile file(resource);
            file.open(QIODevice::ReadOnly);
            return ParseDocument(file.readAll(), resource);
        }
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
    }

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return ReportError(Tr("Не удалось открыть файл конфигурации «%1»: %2")
                               .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    if (ParseDocument(file.readAll(), QDir::toNativeSeparators(m_path)))
        return true;

    const QString why = m_lastError;
    if (resource.isEmpty())
        return ReportError(why);
    QFile fallback(resource);
    fallback.open(QIODevice::ReadOnly);
    if (!ParseDocument(fallback.readAll(), resource))
        return ReportError(why);
    m_damagedPath = m_path;
    ReportError(why + u' ' +
                Tr("Файл оставлен без изменений; используется конфигурация по умолчанию."));
    return true;
}

bool xCfgBase2::StoreConfig(const QString& path) {
    if (!path.isEmpty())
        m_path = path;
    if (m_path.isEmpty())
        m_path = DefaultConfigPath();
    QDir().mkpath(QFileInfo(m_path).absolutePath());

    // The damaged file that was not read stays beside the new one.
    if (!m_damagedPath.isEmpty() && m_damagedPath == m_path && QFile::exists(m_path)) {
        const QString copy =
            m_path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::copy(m_path, copy))
            return ReportError(Tr("Не удалось сохранить копию повреждённого файла "
                                  "конфигурации «%1»; конфигурация не записана.")
                                   .arg(QDir::toNativeSeparators(m_path)));
        m_damagedPath.clear();
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(BuildText().toUtf8()) < 0 || !file.commit())
        return ReportError(Tr("Не удалось записать файл конфигурации «%1»: %2")
                               .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    return OnStoreConfig();
}

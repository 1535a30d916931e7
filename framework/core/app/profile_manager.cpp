#include "profile_manager.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

int CxProfileManagerBase::GetProfileInt(const QString& section, const QString& entry,
                                        int defaultValue) {
    const QString text = GetProfileString(section, entry, QString()).trimmed();
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : defaultValue;
}

bool CxProfileManagerBase::WriteProfileInt(const QString& section, const QString& entry,
                                           int value) {
    return WriteProfileString(section, entry, QString::number(value));
}

QString CxProfileManagerBase::MakePath(const QString& section, const QString& entry) {
    return section.isEmpty() ? entry : section + u'\\' + entry;
}

// --- the plain store ---

namespace {
// QSettings treats both slashes as level separators; the file keeps the
// levels of a path as INI groups, which reads naturally for the user.
QString FileKey(const QString& path) {
    QString key = path;
    key.replace(u'\\', u'/');
    return key;
}
} // namespace

CxProfileManager::CxProfileManager(const QString& fileName) : m_fileName(fileName) {
    QSettings file(m_fileName, QSettings::IniFormat);
    for (const QString& key : file.allKeys()) {
        QString path = key;
        path.replace(u'/', u'\\');
        m_values.insert(path, file.value(key).toString());
    }
}

QString CxProfileManager::GetProfileString(const QString& section, const QString& entry,
                                           const QString& defaultValue) {
    return m_values.value(MakePath(section, entry), defaultValue);
}

bool CxProfileManager::WriteProfileString(const QString& section, const QString& entry,
                                          const QString& value) {
    const QString path = MakePath(section, entry);
    m_values.insert(path, value);
    if (m_fileName.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QSettings file(m_fileName, QSettings::IniFormat);
    file.setValue(FileKey(path), value);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString CxProfileManager::DefaultFile() {
    const QString app = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           (organisation.isEmpty() ? app : organisation) + u'/' + app + QStringLiteral(".conf");
}

// --- the database store ---

QString SQLQuoteString(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'\'';
    for (QChar c : text) {
        switch (c.unicode()) {
        case 0:
            out += QLatin1String("\\0");
            break;
        case '\'':
            out += QLatin1String("\\'");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case 26:
            out += QLatin1String("\\Z");
            break;
        default:
            out += c;
        }
    }
    out += u'\'';
    return out;
}

CxSQLProfileManager::CxSQLProfileManager(CxSQL* sql, const QString& table, const QString& user)
    : m_sql(sql), m_table(table), m_user(user) {}

QString CxSQLProfileManager::StoredPath(const QString& path) {
    bool fits = path.size() <= kPathLength && !path.endsWith(u' ');
    for (QChar c : path)
        fits = fits && !c.isSurrogate();
    if (fits)
        return path;
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex());
    QString start = path.left(kPathLength - digest.size() - 1);
    for (QChar& c : start)
        if (c.isSurrogate())
            c = QChar(QChar::ReplacementCharacter);
    return start + u'#' + digest;
}

QString CxSQLProfileManager::GetProfileString(const QString& section, const QString& entry,
                                              const QString& defaultValue) {
    if (!m_sql)
        return defaultValue;
    CxResult res =
        m_sql->Execute(QStringLiteral("SELECT cValue FROM `%1` WHERE cUser=%2 AND cPath=%3")
                           .arg(m_table, SQLQuoteString(m_user),
                                SQLQuoteString(StoredPath(MakePath(section, entry)))));
    if (!res.isValid() || !res.FetchRow() || res.IsNull(0))
        return defaultValue;
    return res.SFieldValue(0);
}

bool CxSQLProfileManager::WriteProfileString(const QString& section, const QString& entry,
                                             const QString& value) {
    if (!m_sql)
        return false;
    // One statement, so that two running copies writing the same setting
    // leave one row (the unique key on cUser, cPath).
    CxResult res = m_sql->Execute(
        QStringLiteral("INSERT INTO `%1` (cUser,cPath,cValue) VALUES (%2,%3,%4) "
                       "ON DUPLICATE KEY UPDATE cValue=VALUES(cValue)")
            .arg(m_table, SQLQuoteString(m_user),
                 SQLQuoteString(StoredPath(MakePath(section, entry))), SQLQuoteString(value)));
    return res.isValid();
}

#include "string_vars.h"

#include "string_archive.h"

bool CStringVars::GetVar(const QString& name, QString* value) const {
    const auto it = m_vars.constFind(name);
    if (it == m_vars.constEnd())
        return false;
    if (value)
        *value = *it;
    return true;
}

void CStringVars::Serialize(CxStringArchive& archive) const {
    archive.WriteCount(quint32(m_vars.size()));
    for (auto it = m_vars.constBegin(); it != m_vars.constEnd(); ++it) {
        archive.WriteString(it.key());
        archive.WriteString(it.value());
    }
}

bool CStringVars::Deserialize(CxStringArchive& archive) {
    m_vars.clear();
    quint32 count = 0;
    if (!archive.ReadCount(&count))
        return false;
    for (quint32 i = 0; i < count; ++i) {
        QString name, value;
        if (!archive.ReadString(&name) || !archive.ReadString(&value) || m_vars.contains(name)) {
            m_vars.clear();
            return false;
        }
        m_vars.insert(name, value);
    }
    return true;
}

QString CStringVars::Pack() const {
    CxStringArchive archive(CxStringArchive::store);
    Serialize(archive);
    return archive.Pack();
}

bool CStringVars::Unpack(const QString& text) {
    m_vars.clear();
    if (text.trimmed().isEmpty())
        return true;
    CxStringArchive archive(CxStringArchive::load);
    if (!archive.Unpack(text) || !Deserialize(archive) || !archive.AtEnd()) {
        m_vars.clear();
        return false;
    }
    return true;
}

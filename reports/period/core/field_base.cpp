#include "field_base.h"

#include "framework/core/tarvik_app.h"
#include "reports/base/core/rep_base_data.h"

CRepFieldBase::CRepFieldBase(long id, const char* fieldName, const char* title, const char* key,
                             unsigned flags, const char* css, const char* titlePrefix)
    : m_fieldName(QString::fromLatin1(fieldName)), m_id(id), m_title(title), m_key(key),
      m_flags(flags), m_css(QString::fromLatin1(css)), m_prefix(titlePrefix) {}

QString CRepFieldBase::GetTitle() {
    return QString::fromUtf8(m_prefix) +
           CTarvikApp::TranslateString(QString::fromUtf8(m_title), QString::fromLatin1(m_key));
}

QString CRepFieldBase::DuplicationWarning(CRepBaseData* run) {
    if (!run)
        return QString();
    const QString number = run->AddFootnote(CTarvikApp::TranslateString(
        QStringLiteral("Некоторые поля могут привести к дублированию количества клиентов"),
        QStringLiteral("msgDuplicationMayAccured")));
    return QStringLiteral("<sup>") + number + QStringLiteral("</sup>");
}

#include "options.h"

#include "framework/core/tarvik_app.h"

COption::COption(COptionsGroup* group, const QString& key) : m_group(group), m_key(key) {}

void COption::SetData(COptionsGroup* group, const QString& key, const QString& caption,
                      const QString& description) {
    m_group = group;
    m_key = key;
    m_caption = caption;
    m_description = description;
}

QString COption::Section() const {
    const QString page = m_group && m_group->Page() ? m_group->Page()->Key() : QString();
    return QStringLiteral("Options\\%1\\%2").arg(page, m_group ? m_group->Key() : QString());
}

QString COption::ReadText() const {
    return CTarvikApp::GetProfileString(Section(), m_key, QString());
}

bool COption::WriteText(const QString& text) const {
    return CTarvikApp::WriteProfileString(Section(), m_key, text);
}

int CIntOption::Get() const {
    bool ok = false;
    const int value = ReadText().trimmed().toInt(&ok);
    return ok ? value : m_default;
}

bool CIntOption::Set(int value) const {
    return WriteText(QString::number(value));
}

int CBoolOption::Get() const {
    bool ok = false;
    const int value = ReadText().trimmed().toInt(&ok);
    return ok ? (value != 0) : m_default;
}

bool CBoolOption::Set(int value) const {
    return WriteText(value ? QStringLiteral("1") : QStringLiteral("0"));
}

COptionsGroup::COptionsGroup(COptionsPage* page, const QString& key) : m_page(page), m_key(key) {}

COptionsGroup::~COptionsGroup() = default;

void COptionsGroup::RegisterGroup() {
    CvMessageQuery::RegisterQueryProcessor(MQ_OPTIONS, this, 100);
    vProcessMessage(MQ_OPTIONS, this);
}

void COptionsGroup::AppendOption(COption* option) {
    if (!m_options.contains(option))
        m_options.append(option);
}

namespace {
QList<COptionsPage*>& PageList() {
    static auto* pages = new QList<COptionsPage*>;
    return *pages;
}
} // namespace

COptionsPage::~COptionsPage() {
    PageList().removeAll(this);
    qDeleteAll(m_groups);
}

void COptionsPage::SetData(const QString& key, const QString& title) {
    m_key = key;
    m_title = title;
    if (!PageList().contains(this))
        PageList().append(this);
}

void COptionsPage::AppendGroup(COptionsGroup* group) {
    m_groups.append(group);
}

QList<COptionsPage*> COptionsPage::Pages() {
    return PageList();
}

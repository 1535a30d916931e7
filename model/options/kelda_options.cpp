#include "kelda_options.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

namespace {
// Never freed: the page outlives every reader, to the very end of the run.
COptionsPage_Kelda* const g_pOptionsPage_Kelda = new COptionsPage_Kelda;

const QString kLastState = QStringLiteral("AppState\\LastState");

constexpr CxTr Tr;

// One option's caption and description, translated in the group's context.
void SetOption(COptionsGroup* group, COption& option, const QString& caption,
               const QString& description, const char* context) {
    option.SetData(group, option.Key(), Tr(caption, context),
                   description.isEmpty() ? QString() : Tr(description, context));
}
} // namespace

COptionsGroupPtr<COption_ClientData, &COptionsPage_Kelda::m_pClientData> g_pOption_ClientData;
COptionsGroupPtr<COption_Diary, &COptionsPage_Kelda::m_pDiary> g_pOption_Diary;
COptionsGroupPtr<COption_Reminder, &COptionsPage_Kelda::m_pReminder> g_pOption_Reminder;
COptionsGroupPtr<COption_XMLExcel, &COptionsPage_Kelda::m_pXMLExcel> g_pOption_XMLExcel;
COptionsGroupPtr<COption_DiaryEdit, &COptionsPage_Kelda::m_pDiaryEdit> g_pOption_DiaryEdit;
COptionsGroupPtr<COption_RepParam, &COptionsPage_Kelda::m_pRepParam> g_pOption_RepParam;

// Each group lists its options when it answers its own first query, and sets
// (translated) captions at every query.
#define KELDA_GROUP_QUERY(Class, body)                                                             \
    int Class::vProcessMessage(int queryId, void* sender) {                                        \
        if (queryId != MQ_OPTIONS)                                                                 \
            return 3;                                                                              \
        const bool listOptions = sender == this;                                                   \
        const char* ctx = #Class "::vProcessMessage";                                              \
        auto add = [&](COption& option, const char* caption, const char* description) {            \
            if (listOptions)                                                                       \
                AppendOption(&option);                                                             \
            SetOption(this, option, QString::fromUtf8(caption), QString::fromUtf8(description),    \
                      ctx);                                                                        \
        };                                                                                         \
        body return 0;                                                                             \
    }

COption_ClientData::COption_ClientData(COptionsPage* page)
    : COptionsGroup(page, QStringLiteral("ClientData")) {
    RegisterGroup();
}
QString COption_ClientData::GetTitle() {
    return Tr(QStringLiteral("Параметры данных клиента"), "COption_ClientData::GetTitle");
}
KELDA_GROUP_QUERY(COption_ClientData, {
    add(m_MinAge, "Минимальный возраст клиента",
        "Программа не будет пропускать клиентов, возраст которых менее заданного");
    add(m_MaxAge, "Максимальный возраст клиента",
        "Программа не будет пропускать клиентов, возраст которых более заданного");
})

COption_Diary::COption_Diary(COptionsPage* page) : COptionsGroup(page, QStringLiteral("Diary")) {
    RegisterGroup();
}
QString COption_Diary::GetTitle() {
    return Tr(QStringLiteral("Ежедневный учет"), "COption_Diary::GetTitle");
}
KELDA_GROUP_QUERY(COption_Diary, {
    add(m_LoadLastSet, "Загружать последний набор материалов автоматически", "");
    add(m_LoadLastPlace, "Подставлять последний ПОУ", "");
    add(m_LoadLastWorker, "Подставлять последнего соц. раб.", "");
    add(m_LoadLastProject, "Подставлять последний проект.", "");
})

int COption_Diary::GetLastUsedSet() {
    return CTarvikApp::GetProfileInt(kLastState, QStringLiteral("LastUsedSet"), -1);
}
int COption_Diary::SetLastUsedSet(int value) {
    CTarvikApp::WriteProfileInt(kLastState, QStringLiteral("LastUsedSet"), value);
    return value;
}
int COption_Diary::GetLastPlace() {
    return CTarvikApp::GetProfileInt(kLastState, QStringLiteral("LastPlace"), -1);
}
int COption_Diary::SetLastPlace(int value) {
    CTarvikApp::WriteProfileInt(kLastState, QStringLiteral("LastPlace"), value);
    return value;
}
int COption_Diary::GetLastWorker() {
    return CTarvikApp::GetProfileInt(kLastState, QStringLiteral("LastWorker"), -1);
}
int COption_Diary::SetLastWorker(int value) {
    CTarvikApp::WriteProfileInt(kLastState, QStringLiteral("LastWorker"), value);
    return value;
}
int COption_Diary::GetLastProject() {
    return CTarvikApp::GetProfileInt(kLastState, QStringLiteral("LastProject"), -1);
}
int COption_Diary::SetLastProject(int value) {
    CTarvikApp::WriteProfileInt(kLastState, QStringLiteral("LastProject"), value);
    return value;
}

COption_Reminder::COption_Reminder(COptionsPage* page)
    : COptionsGroup(page, QStringLiteral("Reminder")) {
    RegisterGroup();
}
QString COption_Reminder::GetTitle() {
    return Tr(QStringLiteral("Предупреждать о наступлении даты за, дней"),
              "COption_Reminder::GetTitle");
}
KELDA_GROUP_QUERY(COption_Reminder, {
    add(m_ARTEndBefore, "до окончания АРТ препаратов", "");
    add(m_PregEnd, "до окончания беременности", "");
    add(m_ZTMiss, "о пропуске получения препаратов заместительной терапии", "");
})

COption_XMLExcel::COption_XMLExcel(COptionsPage* page)
    : COptionsGroup(page, QStringLiteral("XMLExcel")) {
    RegisterGroup();
}
QString COption_XMLExcel::GetTitle() {
    return Tr(QStringLiteral("Параметры XML-обмена"), "COption_XMLExcel::GetTitle");
}
KELDA_GROUP_QUERY(COption_XMLExcel, {
    add(m_MaxClientsCountXML, "Максимальное количество клиентов в файле XML-обмен", "");
})

COption_DiaryEdit::COption_DiaryEdit(COptionsPage* page)
    : COptionsGroup(page, QStringLiteral("DiaryEdit")) {
    RegisterGroup();
}
QString COption_DiaryEdit::GetTitle() {
    return Tr(QStringLiteral("Редактирование ежедневной ведомости"), "COption_DiaryEdit::GetTitle");
}
KELDA_GROUP_QUERY(COption_DiaryEdit,
                  { add(m_OldDiaryEditMode, "Использовать старый режим ввода", ""); })

COption_RepParam::COption_RepParam(COptionsPage* page)
    : COptionsGroup(page, QStringLiteral("RepParam")) {
    RegisterGroup();
}
QString COption_RepParam::GetTitle() {
    return Tr(QStringLiteral("Параметры отчета"), "COption_RepParam::GetTitle");
}
KELDA_GROUP_QUERY(COption_RepParam,
                  { add(m_ClipClientCode, "Убирать символы после апострофа в коде клиента", ""); })

void COptionsPage_Kelda::Init(int first) {
    if (!first || m_initialised)
        return;
    m_initialised = true;
    CGlobalRegisterObject::RegisterObject(this, OBJGROUP_OPTIONS_PAGES, 0);
    CvMessageQuery::RegisterQueryProcessor(MQ_OPTIONS, this, 100);
    AppendGroup(m_pClientData = new COption_ClientData(this));
    AppendGroup(m_pDiary = new COption_Diary(this));
    AppendGroup(m_pReminder = new COption_Reminder(this));
    AppendGroup(m_pXMLExcel = new COption_XMLExcel(this));
    AppendGroup(m_pDiaryEdit = new COption_DiaryEdit(this));
    AppendGroup(m_pRepParam = new COption_RepParam(this));
    vProcessMessage(MQ_OPTIONS, this);
}

int COptionsPage_Kelda::vProcessMessage(int queryId, void*) {
    if (queryId != MQ_OPTIONS)
        return 3;
    SetData(QStringLiteral("Kelda"),
            Tr(QStringLiteral("Параметры программы"), "COptionsPage_Kelda::vProcessMessage"));
    return 0;
}

COptionsPage_Kelda* COptionsPage_Kelda::Instance() {
    g_pOptionsPage_Kelda->Init(1);
    return g_pOptionsPage_Kelda;
}

#include "rep_base.h"

#include "framework/core/app/record_commands.h"

#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "posh_selection.h"
#include "rep_base_data.h"
#include "rep_base_summary.h"
#include "rep_field.h"
#include "rep_templates.h"

namespace {
constexpr CxTr Tr;
} // namespace

CRepBase::CRepBase(QObject* parent) : CRepDoc(parent) {}
CRepBase::~CRepBase() = default;

CRepBaseData* CRepBase::CreateReportData() {
    return new CRepBaseData(GetSQL(), m_params.from, m_params.to, GetProgress());
}

int CRepBase::CheckSelection() {
    if (!CPoshSelection::Get()->IsEmpty())
        return 1;
    DieMessage(Tr("Вы должны отметить хотя бы один ПОУ", "msgNoPOUReportData"),
               Tr("Отметьте хотя бы один пункт в списке «Пункты предоставления услуг» (кнопка "
                  "«☑» над списком отмечает их все или по типу) и нажмите «Формировать».",
                  "msgNoPOUHint"));
    return 0;
}

int CRepBase::CheckPreset() {
    KDRepPresetEx2 preset;
    if (m_presetList.GetSelectedPreset(preset)) {
        m_run->SetPreset(preset);
        return 1;
    }
    DieMessage(Tr("Необходимо выбрать один из вариантов формирования отчета", "msgNoRepType"),
               Tr("Отметьте вариант в списке «Варианты отчета» и нажмите «Формировать». Свой "
                  "вариант создается кнопкой «Новый вариант» под списком.",
                  "msgNoRepTypeHint"));
    return 0;
}

int CRepBase::LoadTemplate() {
    return m_run->GetReportTemplate().Load(kReportTemplateID) ? 1 : 0;
}

int CRepBase::DieMessage(const QString& message, const QString& description, const QString& title) {
    CHTMLTemplate loaded;
    const CHTMLTemplate* fatal = m_run ? &m_run->GetFatalTemplate() : nullptr;
    if (!fatal || !fatal->IsLoaded()) {
        InitReportTemplates();
        loaded.Load(kFatalTemplateID);
        fatal = &loaded;
    }
    const QString shownTitle =
        title.isEmpty() ? CTarvikApp::TranslateString(QStringLiteral("Ошибка"),
                                                      QStringLiteral("CRepBase::DieMessage"))
                        : title;
    const QString page = CxString::StrTr(fatal->GetSection(QStringLiteral("FATAL")),
                                         {{QStringLiteral("%MESSAGE%"), message},
                                          {QStringLiteral("%DESC%"), description},
                                          {QStringLiteral("%TITLE%"), shownTitle}});
    HTMLBuffer().Empty();
    HTMLBuffer().Add(page);
    return 1;
}

void CRepBase::OnInitHTML(CAccStringT<wchar_t>& html) {
    std::unique_ptr<CRepBaseData> run(CreateReportData());
    m_run = run.get();
    bool checked = false;
    try {
        if (CheckSelection() && CheckPreset()) {
            checked = true;
            LoadTemplate();
            m_run->HoldWorkTables();
            OnGenerateReport(html);
        }
    } catch (const CRepError& error) {
        checked = true;
        if (error.cancelled)
            DieMessage(Tr("Формирование отчета прервано пользователем", "msgReportCancelled"),
                       QString());
        else
            DieMessage(Tr("Возникла ошибка при формировании отчета", "msgReportGenError"),
                       error.html);
    } catch (...) {
        m_summaries.RemoveAll();
        m_run = nullptr;
        throw;
    }
    if (checked)
        m_summaries.RemoveAll();
    m_run = nullptr;
}

CRepField* CRepBase::AddField(CRepField* field) {
    if (!m_run || !field)
        return field;
    const long id = field->GetID();
    for (CRepField* listed : m_run->GetFields()) {
        if (listed->GetID() == id) {
            delete field;
            return listed;
        }
    }
    m_run->GetFields().Add(field);
    return field;
}

void CRepBase::AddFieldsToSelect(CSimpleSelect& select) {
    if (!m_run)
        return;
    for (CRepField* field : m_run->GetFields())
        field->AddSelect(select, m_run);
}

int CRepBase::ProcessRepViewCommand(unsigned id, int queryOnly) {
    if (id != ID_RECORD_NEW && id != ID_RECORD_EDIT && id != ID_RECORD_DELETE)
        return CRepDoc::ProcessRepViewCommand(id, queryOnly);
    m_presetError.clear();
    const int index = m_presetList.GetSelected();
    const KDRepPresetEx2* selected = m_presetList.GetAt(index);
    // Presets of the configuration can be run, not changed.
    if (id != ID_RECORD_NEW && (!selected || selected->RecordType == 0))
        return 0;
    // Without an editor nobody runs the command: it is off, not dead.
    if (!m_presetEditor)
        return 0;
    if (queryOnly)
        return 1;
    // A new preset starts empty: started from the selected one, the editor
    // would save it under that preset's title and write over it.
    KDRepPresetEx2 preset;
    if (id != ID_RECORD_NEW)
        preset.Copy(*selected);
    if (!m_presetEditor(preset, id == ID_RECORD_DELETE))
        return 1; // cancelled: nothing changes
    // A refused delete shows the list as stored now (another copy may have
    // changed the preset).
    if (id == ID_RECORD_DELETE)
        m_presetList.DeleteUserPreset(index, &m_presetError);
    m_presetList.Fill(-1);
    return 1;
}

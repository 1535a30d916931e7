#include "preset_list.h"

#include "framework/core/record/rows_fingerprint.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "rep_config.h"

namespace {
// The record kinds the lists give their entries.
constexpr long kConfigPreset = 0;
constexpr long kUserPreset = 2;

constexpr CxTr Tr;
} // namespace

template <class Preset> void CRepPresetListT<Preset>::Fill(int selectIndex) {
    const QString checkedTitle =
        (m_nChecked >= 0 && m_nChecked < GetCount()) ? m_items.at(m_nChecked)->Title : QString();
    m_presets.clear();
    m_items.clear();
    m_nChecked = -1;
    m_nSelected = -1;
    std::vector<std::unique_ptr<Preset>> user;
    if (!LoadUserPresets(user, nullptr))
        user.clear(); // an unreadable store shows the configuration's presets alone
    for (auto& preset : user) {
        preset->RecordType = kUserPreset;
        m_presets[preset->Title] = std::move(preset);
    }
    // A configuration preset hides a user preset of its title.
    for (const Preset* preset : ConfigPresets()) {
        auto copy = std::make_unique<Preset>();
        copy->Copy(*preset);
        copy->RecordType = kConfigPreset;
        m_presets[copy->Title] = std::move(copy);
    }
    for (auto& [title, preset] : m_presets)
        m_items.append(preset.get());
    if (selectIndex == -1) {
        if (!checkedTitle.isEmpty())
            SelectByName(checkedTitle);
    } else if (selectIndex >= 0 && selectIndex < GetCount()) {
        m_nSelected = selectIndex;
        SetItemCheck(selectIndex, true);
    }
}

template <class Preset> bool CRepPresetListT<Preset>::SelectByName(const QString& title) {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items.at(i)->Title == title) {
            m_nSelected = i;
            SetItemCheck(i, true);
            return true;
        }
    }
    return false;
}

template <class Preset> void CRepPresetListT<Preset>::SetItemCheck(int index, bool check) {
    if (index < 0 || index >= GetCount())
        return;
    if (check)
        m_nChecked = index;
    else if (m_nChecked == index)
        m_nChecked = -1;
}

template <class Preset> bool CRepPresetListT<Preset>::GetSelectedPreset(Preset& out) const {
    if (m_nChecked < 0 || m_nChecked >= GetCount())
        return false;
    const QString title = m_items.at(m_nChecked)->Title;
    for (const Preset* preset : ConfigPresets()) {
        if (preset->Title == title) {
            out.Copy(*preset);
            return true;
        }
    }
    std::vector<std::unique_ptr<Preset>> user;
    if (!LoadUserPresets(user, nullptr))
        return false;
    for (const auto& preset : user) {
        if (preset->Title == title) {
            out.Copy(*preset);
            return true;
        }
    }
    return false;
}

template <class Preset> QString CRepPresetListT<Preset>::GetItemHTML(int index) const {
    const Preset* preset = GetAt(index);
    return preset ? ItemHTML(*preset) : QString();
}

template <class Preset> QString CRepPresetListT<Preset>::ItemHTML(const Preset& preset) {
    const char* color = preset.RecordType == 0   ? "green"
                        : preset.RecordType == 1 ? "blue"
                        : preset.RecordType == 2 ? "black"
                                                 : "red";
    return CxString::StrTr(
        QStringLiteral("<span style='font-size:14px;color:{color}'><b>{name}</b></span><br>"
                       "<span style='font-size:11px'>{comment}</span>"),
        {{QStringLiteral("{color}"), QString::fromLatin1(color)},
         {QStringLiteral("{name}"), SafeHTML(preset.Title)},
         {QStringLiteral("{comment}"), SafeHTML(preset.Comment)}});
}

template class CRepPresetListT<KDRepPresetEx2>;
template class CRepPresetListT<KDRepPresetEx>;

// ---- version 2 ----

bool CRepPresetList2::LoadUserPresets(std::vector<std::unique_ptr<KDRepPresetEx2>>& out,
                                      QString* error) const {
    xKDReportPresets2 list;
    const bool ok = list.LoadFromProfile(error);
    for (int i = 0; i < list.GetCount(); ++i) {
        auto copy = std::make_unique<KDRepPresetEx2>();
        copy->Copy(*list.GetAt(i));
        out.push_back(std::move(copy));
    }
    return ok;
}

std::vector<const KDRepPresetEx2*> CRepPresetList2::ConfigPresets() const {
    std::vector<const KDRepPresetEx2*> presets;
    if (const xKDReportPresets2* list = RepConfig::Presets2())
        for (int i = 0; i < list->GetCount(); ++i)
            presets.push_back(list->GetAt(i));
    return presets;
}

namespace {
const QString kStoreSection = QStringLiteral("Reports");
const QString kStoreEntry = QStringLiteral("KDPresets2");
const QString kAsideEntry = QStringLiteral("KDPresets2Unreadable");

// Loads the user list for a change. An unreadable list would otherwise block
// every save and delete for good, so its text is first kept under an entry of
// its own (never over an earlier kept text), the user is told where, and the
// change goes on with an empty list. False only when the text could not be
// kept: then nothing is written over it.
bool LoadStoreForChange(xKDReportPresets2& list, QString* error) {
    QString why;
    if (list.LoadFromProfile(&why))
        return true;
    list.RemoveAll();
    const QString text = CTarvikApp::GetProfileString(kStoreSection, kStoreEntry, QString());
    QString entry = kAsideEntry;
    for (int n = 2;; ++n) {
        const QString kept = CTarvikApp::GetProfileString(kStoreSection, entry, QString());
        if (kept.isEmpty() || kept == text)
            break;
        entry = kAsideEntry + QString::number(n);
    }
    if (!CTarvikApp::WriteProfileString(kStoreSection, entry, text)) {
        if (error)
            *error = Tr("Не удалось прочитать сохраненные заготовки отчетов ({error}) и не "
                        "удалось сохранить их текст отдельно. Изменение не сохранено, чтобы не "
                        "потерять их.",
                        "msgCantReadUserPresets")
                         .replace(QLatin1String("{error}"), why);
        return false;
    }
    CTarvikApp::AddErrorMessage(
        Tr("Не удалось загрузить предыдущие заготовки отчетов. \nСписок отчетов будет очищен.",
           "msgCantLoadOldReports") +
        u'\n' +
        Tr("Прежний текст списка ({error}) сохранен в настройках: раздел «{section}», "
           "параметр «{entry}».",
           "msgUnreadablePresetsKept")
            .replace(QLatin1String("{error}"), why)
            .replace(QLatin1String("{section}"), kStoreSection)
            .replace(QLatin1String("{entry}"), entry));
    return true;
}
} // namespace

namespace {
// The refusal of a change to a preset another copy of the program changed or
// deleted since this one read it: the words of every such refusal, naming
// the preset.
QString PresetChangedMeanwhile(const QString& title) {
    return Tr("Заготовка <b>'{name}'</b>: ", "msgPresetOfName")
               .replace(QLatin1String("{name}"), SafeHTML(title)) +
           CxRowsFingerprint::ChangedMeanwhileText();
}

QString PresetsBusy() {
    return Tr("Заготовки отчетов сейчас сохраняет другая копия программы; попробуйте ещё раз.",
              "msgPresetsBusy");
}
} // namespace

bool CRepPresetList2::DeleteUserPreset(int index, QString* error) {
    const KDRepPresetEx2* entry = GetAt(index);
    if (!entry)
        return false;
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    // The read and the write under one lock, so no other copy's save comes
    // between them.
    CxSQL* sql = g_pBaseSQLConnection.get();
    CxSQLLockGuard lock(sql, 60);
    if (sql && !lock.Locked())
        return fail(PresetsBusy());
    xKDReportPresets2 list;
    if (!LoadStoreForChange(list, error))
        return false;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetAt(i)->Title != entry->Title)
            continue;
        // The preset deleted must be the one the list showed.
        if (PresetText(*list.GetAt(i)) != PresetText(*entry))
            return fail(PresetChangedMeanwhile(entry->Title));
        list.RemoveAt(i);
        if (!list.SaveToProfile())
            return fail(
                Tr("Не удалось сохранить заготовки отчетов", "CRepPresetList2::DeleteUserPreset"));
        return true;
    }
    return fail(PresetChangedMeanwhile(entry->Title));
}

QString CRepPresetList2::PresetText(const KDRepPresetEx2& preset) {
    // The kind is the lists' mark of where an entry came from, not part of
    // the preset: a stored preset and its entry in a list compare equal.
    xKDReportPresets2 one;
    one.AddCopy(preset);
    one.GetAt(0)->RecordType = 0;
    return one.BuildText();
}

bool CRepPresetList2::SaveUserPreset(const KDRepPresetEx2& edited, const QString& openingTitle,
                                     const QString& openedText, QString* error) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QString name = edited.Title;
    if (name.trimmed().isEmpty())
        return fail(Tr("Имя отчета обязательное поле", "CRepPresetEdit2::Apply"));
    CxSQL* sql = g_pBaseSQLConnection.get();
    CxSQLLockGuard lock(sql, 60);
    if (sql && !lock.Locked())
        return fail(PresetsBusy());
    xKDReportPresets2 list;
    QString why;
    if (!LoadStoreForChange(list, &why))
        return fail(why);
    int own = -1;
    for (int i = 0; i < list.GetCount(); ++i)
        if (!openingTitle.isEmpty() && list.GetAt(i)->Title == openingTitle)
            own = i;
    const xKDReportPresets2* config = RepConfig::Presets2();
    // A user preset opened for editing must still be as it was opened, and
    // still there (a configuration preset opened has no stored copy to
    // compare).
    const bool openedUserPreset =
        !openingTitle.isEmpty() && !(config && config->FindByTitle(openingTitle));
    if ((own >= 0 && PresetText(*list.GetAt(own)) != openedText) || (own < 0 && openedUserPreset))
        return fail(PresetChangedMeanwhile(openingTitle));
    if (config && config->FindByTitle(name))
        return fail(Tr("Заготовка с именем <b>'{name}'</b> есть среди заготовок программы; "
                       "выберите другое имя",
                       "msgPresetNameOfConfig")
                        .replace(QLatin1String("{name}"), SafeHTML(name)));
    for (int i = 0; i < list.GetCount(); ++i)
        if (name != openingTitle && list.GetAt(i)->Title == name)
            return fail(
                Tr("Запись с именем <b>'{name}'</b> уже есть в базе", "CRepPresetEdit2::Apply")
                    .replace(QLatin1String("{name}"), SafeHTML(name)));
    if (own >= 0) {
        list.GetAt(own)->Copy(edited);
    } else {
        list.AddCopy(edited);
    }
    if (!list.SaveToProfile())
        return fail(Tr("Не удалось сохранить заготовки отчетов", "CRepPresetEdit2::Apply"));
    return true;
}

// ---- version 1 ----

bool CRepPresetList::LoadUserPresets(std::vector<std::unique_ptr<KDRepPresetEx>>&, QString*) const {
    xKDReportPresets list;
    return list.LoadFromProfile(); // there is no store of version 1
}

std::vector<const KDRepPresetEx*> CRepPresetList::ConfigPresets() const {
    std::vector<const KDRepPresetEx*> presets;
    if (const xKDReportPresets* list = RepConfig::Presets())
        for (int i = 0; i < list->GetCount(); ++i)
            presets.push_back(list->GetAt(i));
    return presets;
}

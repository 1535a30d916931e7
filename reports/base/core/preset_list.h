#pragma once
// The lists of report presets a report window offers, without the widget:
// the user's presets (version 2 only; the settings store, "Reports" /
// "KDPresets2") and the configuration's, one entry per title in ordinal
// (case-sensitive, code unit) order of titles, one of them checked. The list
// widgets show ItemHTML of each entry and forward clicks.
#include "model/config/report_presets.h"

#include <QList>
#include <QString>
#include <map>
#include <memory>

template <class Preset> class CRepPresetListT {
public:
    virtual ~CRepPresetListT() = default;

    // Refills the list. -1 keeps the checked title (when it is still there);
    // any other index is selected and checked.
    void Fill(int selectIndex);
    // Selects and checks the first entry with exactly this title.
    bool SelectByName(const QString& title);
    // Copies the checked preset (the configuration's first, then the user's);
    // false when nothing is checked or no preset has its title any more.
    bool GetSelectedPreset(Preset& out) const;

    // One entry checked at a time: checking an entry unchecks the one before.
    void SetItemCheck(int index, bool check);
    // A click on an entry checks it (-1: a click beside the entries).
    void OnItemClick(int index) {
        if (index >= 0)
            SetItemCheck(index, true);
    }

    int GetCount() const { return int(m_items.size()); }
    const Preset* GetAt(int index) const {
        return index >= 0 && index < GetCount() ? m_items.at(index) : nullptr;
    }
    QString GetItemHTML(int index) const;
    int GetChecked() const { return m_nChecked; }
    int GetSelected() const { return m_nSelected; }
    void SetSelected(int index) { m_nSelected = index >= 0 && index < GetCount() ? index : -1; }

    // An entry as HTML: the title in the colour of its kind (configuration
    // green, user black), the comment below; both escaped.
    static QString ItemHTML(const Preset& preset);

protected:
    // The user's presets in store order; false when the store cannot be read.
    virtual bool LoadUserPresets(std::vector<std::unique_ptr<Preset>>& out,
                                 QString* error) const = 0;
    // The configuration's presets in list order.
    virtual std::vector<const Preset*> ConfigPresets() const = 0;

private:
    std::map<QString, std::unique_ptr<Preset>> m_presets; // ordinal order of titles
    QList<Preset*> m_items;
    int m_nChecked = -1;
    int m_nSelected = -1;
};

// Version 2, the configurable period reports.
class CRepPresetList2 : public CRepPresetListT<KDRepPresetEx2> {
public:
    // Removes the user preset of the entry from the store. False, and the
    // store untouched, when the store cannot be read (it would be written
    // back without the presets it lost), and when the stored preset of the
    // entry's title differs from the entry or is gone: another copy of the
    // program changed or deleted it since the list was filled (the refusal
    // says so in the words of every such refusal, rows_fingerprint.h). The
    // read and the write run under the lock "dblock".
    bool DeleteUserPreset(int index, QString* error = nullptr);

    // Saves an edited preset among the user's presets: the entry that had
    // the opening title is replaced (the last of them), else the preset is
    // added. Refused, with the reason in `error`, when the title is empty,
    // when another user preset or a configuration preset has it (a user
    // preset named like a configuration preset could never be chosen), or
    // when the store cannot be read (it is never written over then).
    // `openedText` is the preset as the editor opened it (PresetText; empty
    // for a new preset): when the stored preset of the opening title differs
    // from it or is gone, another copy of the program changed or deleted it
    // meanwhile and the save is refused (in the words of every such refusal,
    // rows_fingerprint.h). The read and the write run under the lock
    // "dblock", so no other copy's save comes between them.
    [[nodiscard]] static bool SaveUserPreset(const KDRepPresetEx2& edited,
                                             const QString& openingTitle, const QString& openedText,
                                             QString* error);
    // The preset as stored text, to compare one read with another (the kind
    // the lists give an entry aside).
    static QString PresetText(const KDRepPresetEx2& preset);

protected:
    bool LoadUserPresets(std::vector<std::unique_ptr<KDRepPresetEx2>>& out,
                         QString* error) const override;
    std::vector<const KDRepPresetEx2*> ConfigPresets() const override;
};

// Version 1, the visits reports: presets come from the configuration only.
class CRepPresetList : public CRepPresetListT<KDRepPresetEx> {
protected:
    bool LoadUserPresets(std::vector<std::unique_ptr<KDRepPresetEx>>& out,
                         QString* error) const override;
    std::vector<const KDRepPresetEx*> ConfigPresets() const override;
};

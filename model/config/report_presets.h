#pragma once
// Report presets: a named choice of columns (version 1, the visits reports)
// or of report fields (version 2, the configurable period reports). The
// configuration's language section holds the built-in presets of both
// versions (KDREPORTPRESETS, KDREPORTPRESETS2); the user's own presets of
// version 2 live in the settings store as one XML text (section "Reports",
// entry "KDPresets2"). Element and attribute names are read in any case and
// written in a fixed form; what a preset does not know is kept and written
// back.
#include "framework/core/xml/id_item.h"

#include <memory>
#include <vector>

// The fields both preset versions carry, read and written the same way.
struct xKDRepPresetFields {
    QString Title;
    QString Comment;
    long RecordType = 0; // set by the preset lists: 0 configuration, 2 user
    long ClipCodes = 0;
    long DirOnly = 0;
    QString ProjectStartDate;

protected:
    void ReadFields(const xml2Attr& attrs);
    QString FieldAttrs() const;
    void ClearFields();
    // Named access (any case): false when the name is none of these fields.
    bool SetField(const QString& name, const QString& value);
    bool GetField(const QString& name, QString* value) const;
};

class xKDReportPresets : public _XML2Tag {
public:
    // A version-1 preset: columns of the visits reports by their ids.
    class xKDRepPreset : public _XML2Tag, public xKDRepPresetFields {
    public:
        xKDRepPreset();

        _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                        _XML2Processor* parent) override;
        int OnOpenTag(xml2Attr& attrs) override;
        void BuildXML(CXMLOut& out) override;

        // A copy of everything, kept content included.
        void Copy(const xKDRepPreset& other);
        // Named access: 1 when the name (any case) is a field.
        int SetFieldValue(const QString& name, const QString& value);
        QString GetFieldValue(const QString& name) const;
        // Back to a new preset's state.
        void Clear();

        xIDItemList Detailed{QStringLiteral("DETAILED")};
        xIDItemList Summary{QStringLiteral("SUMMARY")};
    };

    xKDReportPresets() = default;

    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    void BuildXML(CXMLOut& out) override;

    int GetCount() const { return int(m_presets.size()); }
    xKDRepPreset* GetAt(int index) const { return m_presets.at(size_t(index)).get(); }

    // Version-1 presets come only from the configuration: there is no user
    // store, so both answer false and touch nothing.
    bool LoadFromProfile() { return false; }
    bool SaveToProfile() { return false; }

private:
    std::vector<std::unique_ptr<xKDRepPreset>> m_presets;
};

class xKDReportPresets2 : public _XML2Tag {
public:
    // A version-2 preset: report fields by their ids for the summary rows
    // (SUMROWS, -1 separating tables), the summary columns (SUMCOLS2), the
    // detail list (DETAILED) and the inner grouping (SUMGROUP); SUMCOLS is
    // kept as read.
    class xKDRepPreset2 : public _XML2Tag, public xKDRepPresetFields {
    public:
        xKDRepPreset2();

        _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                        _XML2Processor* parent) override;
        int OnOpenTag(xml2Attr& attrs) override;
        void BuildXML(CXMLOut& out) override;

        void Copy(const xKDRepPreset2& other);
        int SetFieldValue(const QString& name, const QString& value);
        QString GetFieldValue(const QString& name) const;
        // Back to a new preset's state.
        void Clear();

        long RepGrp = 0;
        long PivotMode = 0;  // 1: made for the pivot tables of a spreadsheet
        long PeriodMode = 0; // 0 one period, 1 by months, 2 by years
        xIDItemList Detailed{QStringLiteral("DETAILED")};
        xIDItemList SumRows{QStringLiteral("SUMROWS")};
        xIDItemList SumCols{QStringLiteral("SUMCOLS")};
        xIDItemList SumCols2{QStringLiteral("SUMCOLS2")};
        xIDItemList SumGroup{QStringLiteral("SUMGROUP")};

    private:
        xIDItemList* ListOfTag(const QString& tag);
    };

    xKDReportPresets2() = default;

    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    void BuildXML(CXMLOut& out) override;

    int GetCount() const { return int(m_presets.size()); }
    xKDRepPreset2* GetAt(int index) const { return m_presets.at(size_t(index)).get(); }
    // The first preset with exactly this title; null when none.
    xKDRepPreset2* FindByTitle(const QString& title) const;
    // Appends a copy of the preset.
    void AddCopy(const xKDRepPreset2& preset);
    void RemoveAt(int index);
    void RemoveAll();

    // Reads the user's presets from the settings store into this (empty)
    // list. An empty store is a list without presets. Answers false when the
    // stored text cannot be read, with the parser's message in `error`;
    // what was read up to the fault stays in the list.
    bool LoadFromProfile(QString* error = nullptr);
    // Writes the whole list to the settings store; answers the store's result.
    bool SaveToProfile();
    // The stored text: the whole list as XML.
    QString BuildText();

private:
    std::vector<std::unique_ptr<xKDRepPreset2>> m_presets;
};

// The working copies the report documents and preset lists hold.
using KDRepPresetEx = xKDReportPresets::xKDRepPreset;
using KDRepPresetEx2 = xKDReportPresets2::xKDRepPreset2;

#pragma once
// The configuration document: global settings (CONFIGURATION, PERIODS) and,
// per language, the predefined lists that forms, table columns and reports
// use as enumerations, plus the report presets. Read leniently (names in any
// case, unknown content kept) and written back in a fixed form.
#include "config_lists.h"
#include "framework/core/xml/cfg_base.h"
#include "report_presets.h"

#include <memory>
#include <vector>

class CxSQL;

class xConfiguration : public xCfgBase2 {
public:
    class xPeriods : public _XML2Tag {
    public:
        _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                        _XML2Processor* parent) override;
        int OnOpenTag(xml2Attr& attrs) override;
        void BuildXML(CXMLOut& out) override;
        void Reset();

        long BackupReminder = 0;  // warn about an old backup beyond this; 0 or less: never
        QString ProjectStartDate; // the reports' fallback start date
    };

    class xLanguage : public xLanguageBase {
    public:
        _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                        _XML2Processor* parent) override;
        void BuildXML(CXMLOut& out) override;

        xDirectionAndConsulting DirectionAndConsulting;
        xDonors Donors;
        xParticipantProgram ParticipantProgram;
        xServices Services;
        xSpeciality Speciality;
        xWhoDirect WhoDirect;
        xMatGroups MatGroups;
        xWorkerType WorkerType;
        xAgeGroup AgeGroup;
        xPrjList PrjList;
        xTowns Towns;
        xKDReportPresets KDReportPresets;
        xKDReportPresets2 KDReportPresets2;
        xToolTips ToolTips;
    };

    xConfiguration();
    ~xConfiguration() override;

    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    int OnOpenTag(xml2Attr& attrs) override;
    void BuildXML(CXMLOut& out) override;

    // The section of the language in use; an empty section (not part of the
    // document) when the document has none, so readers always get lists.
    xLanguage* GetCurrentLanguage();

    long Version = 0;
    QString UpdateURL;
    long PDIMode = 0;
    xPeriods Periods;
    std::vector<std::unique_ptr<xLanguage>> Languages;

protected:
    void ResetContent() override;

private:
    // Sections of an earlier reading: table descriptors may still point at
    // their lists, so they live as long as the configuration.
    std::vector<std::unique_ptr<xLanguage>> m_retired;
    xLanguage m_emptyLanguage;
};

using xLanguage = xConfiguration::xLanguage;

// The program's configuration: language access, and the copy of the towns
// into the database whenever the document is stored.
class xKDConfiguration : public xConfiguration {
public:
    xKDConfiguration();

    int GetLanguageIDs(QList<int>& ids) override;
    xLanguageBase* GetLanguageAt(int index) override;
    // Copies the towns of the current language into the table towns on the
    // base connection (see StoreTowns).
    bool OnStoreConfig() override;

    // Replaces the rows of the table towns by the TOWNS list of the current
    // language, under the lock "dblock" and in one transaction; then empties
    // the TOWNS list of every section, since the table now holds the towns.
    // An empty list leaves the table alone. On failure the table keeps its
    // previous rows, the lists stay, the error is reported and false answered.
    [[nodiscard]] bool StoreTowns(CxSQL* sql);

protected:
    QString GetDefaultConfigResource() const override;
};

// The configuration of the run (CTarvikApp::GetConfig) as the program's
// document; null while none is set.
xConfiguration* CurrentConfiguration();

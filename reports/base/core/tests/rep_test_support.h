#pragma once
// Shared by the report framework's tests: a configuration made from a text,
// a settings store in memory, report fields whose answers the test sets.
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "reports/base/core/rep_field.h"

#include <QString>

// Installs a configuration whose language section holds `lists` (XML of the
// MATGROUPS, AGEGROUP, preset lists...), and an empty settings store.
inline void InstallConfig(const QString& lists, const QString& projectStart = QString()) {
    auto* config = new xKDConfiguration;
    const QString text = QStringLiteral("<CONFIGURATION><PERIODS ProjectStartDate='") +
                         projectStart + QStringLiteral("'/><LANGUAGE ID='1049'>") + lists +
                         QStringLiteral("</LANGUAGE></CONFIGURATION>");
    if (!config->ParseConfig(text, QStringLiteral("test")))
        qFatal("test configuration does not parse: %s", qPrintable(config->GetLastError()));
    CTarvikApp::SetConfig(config);
    CTarvikApp::SetProfileManager(new CxProfileManager);
}

// The material groups of the fixtures: two top-level groups (510 syringes,
// 580 consultations), syringes of 2 ml under 510, consultations by a
// specialist under 580, needles without a group.
inline QString TestMatGroups() {
    return QStringLiteral("<MATGROUPS>"
                          "<Item ID='510' Title='Шприцы'/>"
                          "<Item ID='580' Title='Консультации'/>"
                          "<Item ID='65538' Title='Шприц 2мл' Group='510'/>"
                          "<Item ID='462847' Title='Консультации специалиста' Group='580'/>"
                          "</MATGROUPS>");
}

// A field whose answers for the current row the test sets.
class CTestField : public CRepField {
public:
    CTestField(long id, const QString& title, const QString& css = QStringLiteral("num"))
        : m_id(id), m_title(title), m_css(css) {}
    long GetID() override { return m_id; }
    QString GetFieldName() override { return QString(); }
    QString GetTitle() override { return m_title; }
    void AddSelect(CSimpleSelect&, CRepBaseData*) override {}
    double GetValue() override { return value; }
    long GetGroupID() override { return group; }
    QString GetGroupText() override { return text; }
    QString GetCSSClass() override { return m_css; }

    double value = 0;
    long group = 0;
    QString text;

private:
    long m_id;
    QString m_title;
    QString m_css;
};

#pragma once
// The restore wizard's page for archives of the previous program generation
// ("kldbkp.*.bkz"): the wizard offers their files through it and shows the
// conversion's run on it (loader messages, the statements that fail, the
// mapping entries still to be filled in).
#include "exchange/oldarchive/old_archive_restore.h"
#include "framework/widgets/wizard/restore_wizard.h"

class CSQLRestoreWizard_Converter_Kelda1 : public CSQLRestoreWizard_ConverterPane {
    Q_OBJECT
public:
    explicit CSQLRestoreWizard_Converter_Kelda1(QWidget* parent = nullptr);

    QString GetPaneTitle() const override;
    QString GetRunText() const override;
    QString GetSummary() const override;

    QString GetFileFilter() override { return m_converter.GetFileFilter(); }
    bool IsValid(const QString& path) override { return m_converter.IsValid(path); }
    QString GetFileInfo(const QString& path) override { return m_converter.GetFileInfo(path); }
    using CSQLRestoreWizard_ConverterPane::Process;
    bool Process(CSQLRestoreContext& context) override { return m_converter.Process(context); }

    COldArchiveRestoreConverter& Converter() { return m_converter; }

private:
    COldArchiveRestoreConverter m_converter;
};

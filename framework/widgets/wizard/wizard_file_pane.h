#pragma once
// A wizard page that asks for one file: an introduction, the path chooser and
// a note under it (what is wrong with the path, or what will become of the
// file). The path goes to the wizard's "filename" variable; the page lets the
// wizard go on once the path has no problem.
#include "framework/widgets/forms/file_edit.h"
#include "wizard_pane.h"

class QLabel;

class CWizardFilePane : public CWizardPane {
public:
    static constexpr char kFileVar[] = "filename";

    CWizardFilePane(const QString& title, const QString& intro, CxFileEdit::Mode mode,
                    const QString& filter);

    QString GetPaneTitle() const override { return m_title; }
    bool IsValid() const override;
    CxFileEdit* File() const { return m_file; }

    // The folder remembered under the section and entry of the settings while
    // it still exists, else the user's documents folder, else the home folder.
    static QString LastUsedFolder(const QString& section, const QString& entry);

protected:
    // Why the path cannot be taken; empty when it can.
    virtual QString Problem(const QString& path) const = 0;
    // The line under the path: its problem, or what will become of the file.
    virtual QString Note(const QString& path) const { return Problem(path); }

private:
    QString m_title;
    CxFileEdit* m_file;
    QLabel* m_note;
};

#include "wizard_file_pane.h"

#include "framework/core/tarvik_app.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

CWizardFilePane::CWizardFilePane(const QString& title, const QString& intro, CxFileEdit::Mode mode,
                                 const QString& filter)
    : m_title(title) {
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(intro, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    m_file = new CxFileEdit(mode, this);
    m_file->SetFilter(filter);
    layout->addWidget(m_file);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    layout->addWidget(m_note);
    layout->addStretch(1);
    connect(m_file, &CxFileEdit::pathChanged, this, [this](const QString& path) {
        SetVar(QLatin1String(kFileVar), path);
        m_note->setText(Note(path));
        UpdateButtons();
    });
}

bool CWizardFilePane::IsValid() const {
    return Problem(GetVar(QLatin1String(kFileVar)).toString()).isEmpty();
}

QString CWizardFilePane::LastUsedFolder(const QString& section, const QString& entry) {
    QString folder = CTarvikApp::GetProfileString(section, entry, QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder;
}

#include "backup_wizard.h"

#include "framework/core/backup/sql_backup.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/file_edit.h"
#include "wizard_pane.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
QString Tr(const char* text) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QStringLiteral("CSQLBackupWizard"));
}

const QString kFileVar = QStringLiteral("filename");

QString DatabaseName(CxSQL* sql) {
    if (!sql)
        return QString();
    CxResult res = sql->Execute(QStringLiteral("SELECT DATABASE()"));
    return res.isValid() && res.FetchRow() ? res.SFieldValue(0) : QString();
}

class CBackupFilePane : public CWizardPane {
public:
    explicit CBackupFilePane(CSQLBackupWizard* wizard) : m_wizard(wizard) {
        auto* layout = new QVBoxLayout(this);
        auto* intro = new QLabel(
            Tr("Резервная копия сохраняет все данные базы данных в один файл. Из него базу "
               "данных можно восстановить командой «Восстановление из резервной копии».\n\n"
               "Выберите файл резервной копии:"),
            this);
        intro->setWordWrap(true);
        layout->addWidget(intro);
        m_file = new CxFileEdit(CxFileEdit::Mode::SaveFile, this);
        m_file->SetFilter(CSQLBackup::FileFilter());
        layout->addWidget(m_file);
        m_note = new QLabel(this);
        m_note->setWordWrap(true);
        m_note->setTextFormat(Qt::PlainText);
        layout->addWidget(m_note);
        layout->addStretch(1);
        connect(m_file, &CxFileEdit::pathChanged, this, [this](const QString& path) {
            SetVar(kFileVar, path);
            m_note->setText(Note(path));
            UpdateButtons();
        });
    }

    QString GetPaneTitle() const override { return Tr("Файл резервной копии"); }

    void OnSetActive() override {
        if (!m_file->GetPath().isEmpty())
            return;
        QString folder =
            CTarvikApp::GetProfileString(QLatin1String(CSQLBackupWizard::kFolderSection),
                                         QLatin1String(CSQLBackupWizard::kFolderEntry), QString());
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(folder).isDir())
            folder = QDir::homePath();
        const QString database = DatabaseName(m_wizard->GetSQL());
        m_file->SetPath(QDir(folder).filePath(CSQLBackup::DefaultFileName(
            database.isEmpty() ? QCoreApplication::applicationName() : database)));
    }

    bool IsValid() const override { return Problem(GetVar(kFileVar).toString()).isEmpty(); }

private:
    static QString Problem(const QString& path) {
        if (path.isEmpty())
            return Tr("Укажите файл резервной копии.");
        const QFileInfo info(path);
        if (info.isDir())
            return Tr("Указана папка, а не файл.");
        if (!info.absoluteDir().exists())
            return Tr("Папка файла не существует.");
        return QString();
    }
    static QString Note(const QString& path) {
        const QString problem = Problem(path);
        if (!problem.isEmpty())
            return problem;
        if (QFileInfo::exists(path))
            return Tr("Файл уже существует: он будет заменен новой резервной копией, когда она "
                      "будет записана и проверена.");
        return QString();
    }

    CSQLBackupWizard* m_wizard;
    CxFileEdit* m_file;
    QLabel* m_note;
};

class CBackupProcessor : public CWizardPaneProcessor {
public:
    explicit CBackupProcessor(CSQLBackupWizard* wizard) : m_wizard(wizard) {}

    QString GetSummary() const override {
        return Tr("Будет создана резервная копия базы данных в файл:") + u'\n' +
               QStringLiteral("<b>") +
               QDir::toNativeSeparators(GetVar(kFileVar).toString()).toHtmlEscaped() +
               QStringLiteral("</b>\n\n") +
               Tr("Создание копии большой базы данных может занять несколько минут.");
    }
    QString GetRunText() const override { return Tr("Создать копию"); }

    bool Process() override {
        const QString path = GetVar(kFileVar).toString();
        QString error;
        if (!CSQLBackup::Backup(m_wizard->GetSQL(), path, m_wizard, this, &error))
            return false;
        CTarvikApp::WriteProfileString(QLatin1String(CSQLBackupWizard::kFolderSection),
                                       QLatin1String(CSQLBackupWizard::kFolderEntry),
                                       QFileInfo(path).absolutePath());
        return true;
    }

private:
    CSQLBackupWizard* m_wizard;
};
} // namespace

CSQLBackupWizard::CSQLBackupWizard(CxSQL* sql, QWidget* parent)
    : CWizardDlg(parent), m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

QString CSQLBackupWizard::GetWizardTitle() const {
    return Tr("Создание резервной копии");
}

void CSQLBackupWizard::OnInitPages() {
    RegisterPage(new CBackupFilePane(this));
    SetProcessorPage(new CBackupProcessor(this));
}

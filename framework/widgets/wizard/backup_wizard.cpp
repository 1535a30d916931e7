#include "backup_wizard.h"

#include "framework/core/backup/sql_backup.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/file_edit.h"
#include "wizard_file_pane.h"
#include "wizard_pane.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr CxTr Tr("CSQLBackupWizard");

const QString kFileVar = QStringLiteral("filename");

QString DatabaseName(CxSQL* sql) {
    if (!sql)
        return QString();
    CxResult res = sql->Execute(QStringLiteral("SELECT DATABASE()"));
    return res.isValid() && res.FetchRow() ? res.SFieldValue(0) : QString();
}

class CBackupFilePane : public CWizardFilePane {
public:
    explicit CBackupFilePane(CSQLBackupWizard* wizard)
        : CWizardFilePane(
              Tr("Файл резервной копии"),
              Tr("Резервная копия сохраняет все данные базы данных в один файл. Из него базу "
                 "данных можно восстановить командой «Восстановление из резервной копии».\n\n"
                 "Выберите файл резервной копии:"),
              CxFileEdit::Mode::SaveFile, CSQLBackup::FileFilter()),
          m_wizard(wizard) {}

    void OnSetActive() override {
        if (!File()->GetPath().isEmpty())
            return;
        const QString folder = LastUsedFolder(QLatin1String(CSQLBackupWizard::kFolderSection),
                                              QLatin1String(CSQLBackupWizard::kFolderEntry));
        const QString database = DatabaseName(m_wizard->GetSQL());
        File()->SetPath(QDir(folder).filePath(CSQLBackup::DefaultFileName(
            database.isEmpty() ? QCoreApplication::applicationName() : database)));
    }

protected:
    QString Problem(const QString& path) const override {
        if (path.isEmpty())
            return Tr("Укажите файл резервной копии.");
        const QFileInfo info(path);
        if (info.isDir())
            return Tr("Указана папка, а не файл.");
        if (!info.absoluteDir().exists())
            return Tr("Папка файла не существует.");
        return QString();
    }
    QString Note(const QString& path) const override {
        const QString problem = Problem(path);
        if (!problem.isEmpty())
            return problem;
        if (QFileInfo::exists(path))
            return Tr("Файл уже существует: он будет заменен новой резервной копией, когда она "
                      "будет записана и проверена.");
        return QString();
    }

private:
    CSQLBackupWizard* m_wizard;
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

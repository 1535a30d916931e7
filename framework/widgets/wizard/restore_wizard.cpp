#include "restore_wizard.h"

#include "framework/core/backup/sql_restore.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/file_edit.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CSQLRestoreWizard");

const QString kFileVar = QStringLiteral("filename");

// The engine owns its converters; the pages are the wizard's. This stands
// for a page in the engine and goes with the engine, before the pages.
class ConverterLink : public CSQLRestoreWizard_Converter {
public:
    explicit ConverterLink(CSQLRestoreWizard_Converter* page) : m_page(page) {}
    QString GetFileFilter() override { return m_page->GetFileFilter(); }
    bool IsValid(const QString& path) override { return m_page->IsValid(path); }
    QString GetFileInfo(const QString& path) override { return m_page->GetFileInfo(path); }
    bool Process(CSQLRestoreContext& context) override { return m_page->Process(context); }

private:
    CSQLRestoreWizard_Converter* m_page;
};

class CRestoreProcessor : public CWizardPaneProcessor {
public:
    explicit CRestoreProcessor(CSQLRestoreWizard* wizard) : m_wizard(wizard) {}
    QString GetSummary() const override { return m_wizard->RestoreWarning(); }
    QString GetRunText() const override { return Tr("Восстановить"); }
    bool Process() override { return m_wizard->RunRestore(this); }

private:
    CSQLRestoreWizard* m_wizard;
};

QString BackupInfoHtml(const CSQLBackupInfo& info) {
    QString html =
        QStringLiteral("<b>") +
        (Tr("Резервная копия") + u' ' + QCoreApplication::applicationName()).toHtmlEscaped() +
        QStringLiteral("</b><br>");
    const auto row = [&html](const QString& caption, const QString& value) {
        html += caption.toHtmlEscaped() + QStringLiteral(": <b>") + value.toHtmlEscaped() +
                QStringLiteral("</b><br>");
    };
    row(Tr("Создана"), info.created.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    row(Tr("Сервер"), info.server);
    row(Tr("База данных"), info.database);
    row(Tr("Версия базы данных"), QString::number(info.schemaVersion));
    row(Tr("Таблиц"), QString::number(info.tables));
    row(Tr("Записей"), QString::number(info.rows));
    return html;
}
} // namespace

// The choice of the file: what it holds, or why it cannot be restored.
class CRestoreFilePane : public CWizardPane {
public:
    explicit CRestoreFilePane(CSQLRestoreWizard* wizard) : m_wizard(wizard) {
        auto* layout = new QVBoxLayout(this);
        auto* intro = new QLabel(Tr("Выберите файл резервной копии:"), this);
        layout->addWidget(intro);
        m_file = new CxFileEdit(CxFileEdit::Mode::OpenFile, this);
        layout->addWidget(m_file);
        m_info = new QTextBrowser(this);
        m_info->setObjectName(QStringLiteral("RestoreFileInfo"));
        m_info->setOpenLinks(false);
        layout->addWidget(m_info, 1);
        // Looking at a file reads it whole: not at every key typed.
        m_timer.setSingleShot(true);
        m_timer.setInterval(400);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            Inspect();
            UpdateButtons();
        });
        connect(m_file, &CxFileEdit::pathChanged, this, [this](const QString& path) {
            SetVar(kFileVar, path);
            m_timer.start();
            UpdateButtons();
        });
    }

    QString GetPaneTitle() const override { return Tr("Файл для восстановления"); }
    void OnSetActive() override { m_file->SetFilter(m_wizard->m_restore->GetFileFilter()); }
    // Until the file was looked at, going on is allowed: leaving the page
    // looks at it first.
    bool IsValid() const override {
        const QString path = GetVar(kFileVar).toString();
        return !path.isEmpty() && (path != m_inspected || m_valid);
    }
    bool OnKillActive() override {
        Inspect();
        if (!m_valid)
            return false;
        // Whoever takes the file runs it.
        CWizardPaneProcessor* page = m_wizard->m_ownProcessor;
        if (CSQLRestoreWizard_ConverterPane* own = m_wizard->m_pages.value(m_converter))
            page = own;
        m_wizard->SetProcessorPage(page);
        return true;
    }

private:
    void Inspect() {
        const QString path = GetVar(kFileVar).toString();
        if (path == m_inspected)
            return;
        m_timer.stop();
        m_inspected = path;
        m_converter = nullptr;
        m_valid = false;
        if (path.isEmpty()) {
            m_info->clear();
            return;
        }
        CSQLBackupInfo info;
        CSQLRestoreWizard_Converter* converter = nullptr;
        QString error;
        m_valid = m_wizard->m_restore->Inspect(path, &info, &converter, &error);
        if (m_valid && !converter && m_wizard->m_schemaVersion >= 0 &&
            info.schemaVersion > m_wizard->m_schemaVersion) {
            m_valid = false;
            error = Tr("Резервная копия сделана более новой версией программы (версия базы данных "
                       "%1, программа знает версию %2).")
                        .arg(info.schemaVersion)
                        .arg(m_wizard->m_schemaVersion);
        }
        if (!m_valid && converter)
            // The converter's own text (escaped by it) says why it cannot
            // take a file of its kind.
            m_info->setHtml(QStringLiteral("<span style=\"color:#b00020\"><b>") +
                            Tr("Файл нельзя восстановить:").toHtmlEscaped() +
                            QStringLiteral("</b></span><br>") +
                            CxWizardMarkupToHtml(converter->GetFileInfo(path)));
        else if (!m_valid)
            m_info->setHtml(QStringLiteral("<span style=\"color:#b00020\"><b>") +
                            Tr("Файл нельзя восстановить:").toHtmlEscaped() +
                            QStringLiteral("</b><br>") + CxWizardLogLineToHtml(error) +
                            QStringLiteral("</span>"));
        else if (converter)
            // The converter's own text, escaped by the converter.
            m_info->setHtml(CxWizardMarkupToHtml(converter->GetFileInfo(path)));
        else
            m_info->setHtml(BackupInfoHtml(info));
        m_converter = m_valid ? converter : nullptr;
    }

    CSQLRestoreWizard* m_wizard;
    CxFileEdit* m_file;
    QTextBrowser* m_info;
    QTimer m_timer;
    QString m_inspected;
    CSQLRestoreWizard_Converter* m_converter = nullptr;
    bool m_valid = false;
};

bool CSQLRestoreWizard_ConverterPane::Process() {
    auto* wizard = qobject_cast<CSQLRestoreWizard*>(GetParent());
    return wizard && wizard->RunRestore(this);
}

QString CSQLRestoreWizard_ConverterPane::GetSummary() const {
    auto* wizard = qobject_cast<CSQLRestoreWizard*>(GetParent());
    const QString own = CWizardPaneProcessor::GetSummary();
    const QString warning = wizard ? wizard->RestoreWarning() : QString();
    return own.isEmpty() ? warning : warning + QStringLiteral("\n\n") + own;
}

CSQLRestoreWizard::CSQLRestoreWizard(CxSQL* sql, QWidget* parent)
    : CWizardDlg(parent), m_sql(sql ? sql : g_pBaseSQLConnection.get()),
      m_restore(std::make_unique<CSQLRestore>()) {}

// The engine (with the converter links) goes before the pages (children).
CSQLRestoreWizard::~CSQLRestoreWizard() = default;

QString CSQLRestoreWizard::GetWizardTitle() const {
    return Tr("Восстановление из резервной копии");
}

void CSQLRestoreWizard::AddConverter(CSQLRestoreWizard_ConverterPane* converter) {
    if (!converter || m_pages.contains(converter))
        return;
    auto link = std::make_unique<ConverterLink>(converter);
    m_pages.insert(link.get(), converter);
    m_restore->AddConverter(std::move(link));
    // A page of the wizard, reached only for the converter's files.
    SetProcessorPage(converter);
    SetProcessorPage(m_ownProcessor);
}

void CSQLRestoreWizard::SetSchemaVersion(int version) {
    m_schemaVersion = version;
    m_restore->SetSchemaVersion(version);
}

void CSQLRestoreWizard::OnInitPages() {
    RegisterPage(new CRestoreFilePane(this));
    if (!m_ownProcessor)
        m_ownProcessor = new CRestoreProcessor(this);
    SetProcessorPage(m_ownProcessor);
}

QString CSQLRestoreWizard::RestoreWarning() const {
    return QStringLiteral("<warning>") +
           Tr("Внимание! Все данные базы данных будут заменены данными из файла:") +
           QStringLiteral("</warning>\n<b>") +
           QDir::toNativeSeparators(GetVar(kFileVar).toString()).toHtmlEscaped() +
           QStringLiteral("</b>\n\n") +
           Tr("Данные, введенные после создания этой копии, будут потеряны. Если они нужны, "
              "закройте помощник и сначала создайте резервную копию текущей базы данных.\n\n"
              "Если восстановление не удастся или будет прервано, база данных останется "
              "прежней. После восстановления программа будет перезапущена.");
}

bool CSQLRestoreWizard::RunRestore(CWizardPaneProcessor* page) {
    QString error;
    return m_restore->Restore(m_sql, GetVar(kFileVar).toString(), this, page, &error);
}

bool CSQLRestoreWizard::NeedRestart() const {
    return m_restore->NeedRestart();
}

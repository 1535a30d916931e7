#include "xml_load.h"

#include "daily_report_form.h"
#include "diary/core/diary_verdict.h"
#include "diary/excel/sheet_import.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/forms/html_static.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QString PageText(const char* text) {
    return DiaryText(text, "CXMLLoadStartPage::DoDataExchange");
}

// The name of the target folder as the page shows it.
QString FolderCaption(qint64 folder) {
    if (folder == 0)
        return DiaryText("Папка не задана", "msgNotSelectedPath");
    CxSQL* sql = g_pBaseSQLConnection.get();
    if (sql) {
        CxResult r = sql->Execute(
            QStringLiteral("SELECT cComment FROM dailyreport WHERE ROWID=%1").arg(folder));
        if (r.isValid() && r.FetchRow())
            return r.SFieldValue(0);
    }
    return PageText("Ошибка");
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}
} // namespace

CXMLLoad::CXMLLoad(qint64 folder, QWidget* parent) : CWizardDlg(parent), m_folder(folder) {}

QString CXMLLoad::GetWizardTitle() const {
    // The title is spelled so in the program's texts.
    return DiaryText("Загузка ведомостей", "CXMLLoad::GetWizardTitle");
}

void CXMLLoad::OnInitPages() {
    RegisterPage(new CXMLLoadStartPage(m_folder));
    SetProcessorPage(new CXMLLoadProcess(m_folder));
}

QList<CDDiary*> CXMLLoad::OpenedForms() const {
    auto* process = qobject_cast<CXMLLoadProcess*>(GetProcessorPage());
    return process ? process->OpenedForms() : QList<CDDiary*>();
}

CXMLLoadStartPage::CXMLLoadStartPage(qint64 folder, QWidget* parent)
    : CWizardPane(parent), m_intro(new CHTMLStatic(this)),
      m_batch(new QCheckBox(DiaryText("Пакетная загрузка", "CXMLLoadStartPage"), this)),
      m_path(new CxFileEdit(CxFileEdit::Mode::OpenFile, this)), m_folderName(new QLineEdit(this)) {
    m_intro->SetHTML(QStringLiteral("<h1>") + PageText("Загрузка ведомостей") +
                     QStringLiteral("</h1>\n\n") +
                     PageText("Этот помощник предназначен для загрузки ведомостей "
                              "сформированных в MS Excel и сохраненных в формате XML"));
    m_intro->SetTransparent(true);
    m_intro->DisableScroll(3);
    // The heading and two lines: the page's fields stand right under them.
    m_intro->setFixedHeight(90);
    m_path->SetFilter(PageText("Файлы отчетов") + QStringLiteral(" (Report*.xml)|Report*.xml|") +
                      PageText("Все файлы") + QStringLiteral(" (*.*)|*||"));
    m_path->setObjectName(QStringLiteral("path"));
    m_batch->setObjectName(QStringLiteral("batch"));
    m_folderName->setObjectName(QStringLiteral("folder"));
    m_folderName->setReadOnly(true);
    m_folderName->setText(FolderCaption(folder));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_batch);
    layout->addWidget(WrappedLabel(
        DiaryText("Для продолжения выберите файл импорта и нажмите далее:", "CXMLLoadStartPage"),
        this));
    layout->addWidget(m_path);
    layout->addWidget(WrappedLabel(
        DiaryText("Для каждого файла будет создан документ и открыт на редактирование. "
                  "Поэтому не рекомендуется одновременный импорт большого числа документов.",
                  "CXMLLoadStartPage"),
        this));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(DiaryText("Загрузка в папку:", "CXMLLoadStartPage"), this));
    folderRow->addWidget(m_folderName, 1);
    layout->addLayout(folderRow);
    layout->addWidget(WrappedLabel(
        DiaryText("Для выбора папки, войдите в журнал «Визиты клиентов» и внутри нужной папки, "
                  "нажмите правую кнопку мышки.",
                  "CXMLLoadStartPage"),
        this));
    layout->addStretch(1);

    connect(m_batch, &QCheckBox::toggled, this, &CXMLLoadStartPage::BatchToggled);
    connect(m_path, &CxFileEdit::pathChanged, this, &CXMLLoadStartPage::PathChanged);
}

QString CXMLLoadStartPage::GetPaneTitle() const {
    return DiaryText("Начало", "CXMLLoadStartPage::GetPaneTitle");
}

void CXMLLoadStartPage::BatchToggled(bool batch) {
    m_path->SetMode(batch ? CxFileEdit::Mode::Folder : CxFileEdit::Mode::OpenFile);
    UpdateButtons();
}

void CXMLLoadStartPage::PathChanged(const QString& path) {
    SetVar(QStringLiteral("filename"), path);
    UpdateButtons();
}

QString CXMLLoadStartPage::SearchPattern() const {
    const QString path = m_path->GetPath().trimmed();
    if (!m_batch->isChecked())
        return path;
    return QDir(path).filePath(QStringLiteral("*.xml"));
}

bool CXMLLoadStartPage::IsValid() const {
    const QString path = m_path->GetPath().trimmed();
    if (path.isEmpty())
        return false;
    if (m_batch->isChecked())
        return QFileInfo(path).isDir() && !CSheetImport::FindFiles(SearchPattern()).isEmpty();
    return QFileInfo(path).isFile();
}

CXMLLoadProcess::CXMLLoadProcess(qint64 folder, QWidget* parent)
    : CWizardPaneProcessor(parent), m_folder(folder) {
    SetSummary(DiaryText("Нажмите «Выполнить», чтобы загрузить ведомости. Каждая ведомость "
                         "откроется в новом документе; документ сохраняется только кнопкой "
                         "«OK» в нем.",
                         "CXMLLoadProcess"));
}

QString CXMLLoadProcess::GetPaneTitle() const {
    return DiaryText("Загрузка", "CXMLLoadProcess");
}

QList<CDDiary*> CXMLLoadProcess::OpenedForms() const {
    QList<CDDiary*> forms;
    for (const QPointer<CDDiary>& form : m_forms)
        forms << form.data();
    return forms;
}

bool CXMLLoadProcess::Process() {
    CWizardDlg* wizard = GetParent();
    CXMLLoadStartPage* start = nullptr;
    if (wizard)
        for (CWizardPane* page : wizard->Pages())
            if ((start = qobject_cast<CXMLLoadStartPage*>(page)))
                break;
    if (!start)
        return false;

    CSheetImport import(g_pBaseSQLConnection.get(), m_folder);
    QString error;
    // Each report opens as soon as its file is read, under the file's lines.
    const bool ok =
        import.Run(CSheetImport::FindFiles(start->SearchPattern()), this, wizard, nullptr, &error,
                   [this](const CDailyReportDraft& draft) {
                       CDDiary* form = CDDiary::OpenDraft(draft);
                       m_forms << form;
                       if (form)
                           AddInfoMessage(SheetImportText("Создан документ"));
                       else
                           AddWarning(SheetImportText("Документ не удалось открыть"), 0);
                       // The form shows before the next file is read, and a
                       // stop the user presses on seeing it ends the run
                       // here, not one file later.
                       QCoreApplication::processEvents();
                   });
    return ok;
}

#include "rep_view.h"

#include "framework/core/documents/doc_template.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/export/excel_export.h"
#include "framework/widgets/export/xlsx_export.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "rep_print.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

namespace {
constexpr CxTr Tr;

QString FileError(const QString& path, const QString& why) {
    return Tr("Не удалось записать файл {file}: {error}", "CRepDoc::SaveHTML")
        .replace(QLatin1String("{file}"), path)
        .replace(QLatin1String("{error}"), why);
}

// A page wider than a portrait sheet goes on landscape sheets, so that wide
// tables keep their rows on one line where they can.
void ChooseOrientation(QPageLayout& layout, CRepPane* pane) {
    layout.setOrientation(QPageLayout::Portrait);
    // The engine lays the page out at 96 CSS pixels an inch.
    const double portrait = layout.paintRect(QPageLayout::Inch).width() * 96;
    if (pane->NeededWidth(portrait) > portrait + 1)
        layout.setOrientation(QPageLayout::Landscape);
}

QString PrintFileTemplate() {
    return QDir::temp().filePath(QStringLiteral("kelda-print-XXXXXX.pdf"));
}

// The sheets of a PDF written without a printer.
QPageLayout PdfSheets() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

} // namespace

CRepView::CRepView(QWidget* parent)
    : CxFormView(parent), m_splitter(new QSplitter(Qt::Horizontal, this)),
      m_paramsPanel(new QWidget(m_splitter)), m_params(new QVBoxLayout),
      m_build(new QPushButton(m_paramsPanel)), m_newWindow(new QPushButton(m_paramsPanel)),
      m_html(nullptr) {
    m_splitter->setObjectName(QStringLiteral("repSplitter"));
    m_splitter->setChildrenCollapsible(false);
    auto* panel = new QVBoxLayout(m_paramsPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    m_params->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(m_params, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_build->setObjectName(QStringLiteral("build"));
    m_build->setText(Tr("Формировать", "CRepView::Build"));
    m_build->setDefault(true);
    m_newWindow->setObjectName(QStringLiteral("newWindow"));
    m_newWindow->setText(Tr("Новое окно", "CRepView::NewWindow"));
    m_newWindow->setToolTip(
        Tr("Открыть второе окно этого отчета с теми же параметрами и копией результата",
           "CRepView::NewWindow"));
    buttons->addWidget(m_build);
    buttons->addWidget(m_newWindow);
    panel->addLayout(buttons);
    RegisterControl(IDC_BUILD, m_build);
    RegisterControl(IDC_NEW_WINDOW, m_newWindow);

    auto* result = new QWidget(m_splitter);
    auto* resultLayout = new QVBoxLayout(result);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    resultLayout->setSpacing(2);
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    const auto tool = [&](const char* name, const QString& text, const QString& tip,
                          void (CRepView::*slot)()) {
        auto* b = new QToolButton(result);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        tools->addWidget(b);
    };
    tool("saveHtml", Tr("Сохранить", "CRepView::SaveAs"),
         Tr("Сохранить отчет в файл HTML", "CRepView::SaveAs"), &CRepView::OnSaveAs);
    tool("print", Tr("Печать", "CRepView::Print"), Tr("Напечатать отчет", "CRepView::Print"),
         &CRepView::OnPrint);
    tool("preview", Tr("Просмотр", "CRepView::PrintPreview"),
         Tr("Просмотр перед печатью", "CRepView::PrintPreview"), &CRepView::OnPrintPreview);
    tool("pdf", Tr("PDF", "CRepView::ExportPDF"),
         Tr("Сохранить отчет в файл PDF", "CRepView::ExportPDF"), &CRepView::OnExportPDF);
    tools->addStretch(1);
    resultLayout->addLayout(tools);
    m_html = new CRepPane(result);
    m_html->setObjectName(QStringLiteral("reportHtml"));
    resultLayout->addWidget(m_html, 1);

    m_splitter->addWidget(m_paramsPanel);
    m_splitter->addWidget(result);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    // Wide enough for the longest choice of the parameters (the new-client
    // algorithm, a preset's title) to be read whole.
    m_splitter->setSizes({400, 680});
    Body()->addWidget(m_splitter, 1);

    connect(m_build, &QPushButton::clicked, this, [this] { OnBuild(); });
    connect(m_newWindow, &QPushButton::clicked, this, [this] { OnCloneReport(); });
    connect(m_html, &CRepPane::linkClicked, this, &CRepView::OnLinkClicked);
    // The page is written and loaded in the background: what went wrong
    // comes afterwards.
    connect(m_html, &CRepPane::pageFailed, this,
            [this](const QString& error) { CxMessage(this, CxMessageIcon::Error, error); });
}

CRepView::~CRepView() {
    if (CRepDoc* doc = GetRepDoc(); doc && doc->GetView() == this)
        doc->SetView(nullptr);
}

CRepDoc* CRepView::GetRepDoc() const {
    return qobject_cast<CRepDoc*>(GetDocument());
}

bool CRepView::OnInitialUpdate() {
    CRepDoc* doc = GetRepDoc();
    if (!doc)
        return false;
    doc->SetView(this);
    const QString title = doc->GetReportTitle();
    setWindowTitle(title);
    if (doc->GetTitle().isEmpty())
        doc->SetTitle(title);
    if (!CxFormView::OnInitialUpdate())
        return false;
    if (!doc->GetHTML().isEmpty())
        ShowReport();
    return true;
}

bool CRepView::OnBuild() {
    CRepDoc* doc = GetRepDoc();
    if (!doc)
        return false;
    if (CRepDoc::IsBuilding()) {
        CxMessage(this, CxMessageIcon::Warning,
                  Tr("Другой отчет еще формируется. Дождитесь его окончания.", "CRepDoc::Build"));
        return false;
    }
    if (!OnPreBuild())
        return false;
    QString error;
    bool built = false;
    {
        CRepProgressDlg progress(this);
        try {
            built = doc->Build(&progress, &error);
        } catch (...) {
            // A report must turn its failures into its page; one that did not
            // leaves the page it had begun.
            error = Tr("Внутренняя ошибка при формировании отчета", "CRepView::OnBuild");
            built = false;
        }
    }
    if (!built) {
        CxMessage(this, CxMessageIcon::Error, error);
        ShowReport();
        return false;
    }
    if (!doc->GetCheckText().isEmpty())
        CxMessage(this, CxMessageIcon::Warning, doc->GetCheckText(), doc->GetCheckTitle());
    ShowReport();
    return true;
}

CRepView* CRepView::OnCloneReport() {
    CRepDoc* doc = GetRepDoc();
    if (!doc)
        return nullptr;
    // The new window reads the choices from the saved state.
    StoreState();
    const QString name = QString::fromLatin1(doc->metaObject()->className());
    auto* clone = qobject_cast<CRepView*>(CxDocManager::Instance()->OpenNewDocument(name));
    if (!clone)
        return nullptr;
    clone->OnCloned(this);
    if (CRepDoc* copy = clone->GetRepDoc()) {
        copy->SetHTML(doc->GetHTML());
        clone->m_shown = copy->GetHTML();
        clone->m_html->ShowPage(clone->m_shown, m_html->ScrollPosition());
    }
    return clone;
}

void CRepView::ShowReport() {
    CRepDoc* doc = GetRepDoc();
    m_shown = doc ? doc->GetHTML() : QString();
    m_html->ShowPage(m_shown);
}

void CRepView::OnLinkClicked(const QUrl& url) {
    if (url.scheme().isEmpty() && url.path().isEmpty() && !url.fragment().isEmpty()) {
        return; // the pane scrolls to the page's own anchors
    }
    CRepDoc* doc = GetRepDoc();
    if (doc && doc->OnProcessURL(CxLinkAddress(url))) {
        // A link may rewrite the page (a pivot opens a row): show it where
        // the reader was.
        if (doc->GetHTML() != m_shown) {
            m_shown = doc->GetHTML();
            m_html->ShowPage(m_shown, m_html->ScrollPosition());
        }
        return;
    }
    static const QStringList external = {QStringLiteral("http"), QStringLiteral("https"),
                                         QStringLiteral("mailto"), QStringLiteral("file")};
    if (external.contains(url.scheme().toLower()))
        CxOpenExternal(url);
}

int CRepView::OnProcessURL(const QString& address) {
    static const QLatin1String prefix("command:");
    CRepDoc* doc = GetRepDoc();
    if (!doc || !address.startsWith(prefix))
        return 0;
    bool ok = false;
    const unsigned id = address.mid(prefix.size()).toUInt(&ok);
    if (!ok || !doc->ProcessRepViewCommand(id, 1))
        return 0;
    return ProcessCommand(id) ? 1 : 0;
}

bool CRepView::SaveReport(const QString& path, QString* error) {
    CRepDoc* doc = GetRepDoc();
    return doc && doc->SaveHTML(path, error);
}

bool CRepView::ExportPDF(const QString& path, QString* error) {
    QPageLayout sheets = PdfSheets();
    ChooseOrientation(sheets, m_html);
    QString why;
    if (!m_html->WritePdf(path, sheets, &why) || QFileInfo(path).size() == 0) {
        if (error)
            *error = FileError(
                path, why.isEmpty() ? Tr("нет доступа или нет места", "CRepView::ExportPDF") : why);
        return false;
    }
    return true;
}

bool CRepView::MakePrintPdf(QPrinter& printer, QTemporaryFile& file, QString* error) {
    if (!file.open()) {
        if (error)
            *error = FileError(file.fileTemplate(), file.errorString());
        return false;
    }
    file.close();
    return m_html->WritePdf(file.fileName(), printer.pageLayout(), error);
}

namespace {
QString DefaultPath(const QString& name, const QString& extension) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + u'.' + extension);
}

// Asks where the page goes in one format, under the report's name in the
// user's documents, and writes it there; a failure is shown, a cancel does
// nothing.
void WriteToChosenFile(QWidget* parent, const QString& caption, const QString& name,
                       const QString& extension, const QString& filter,
                       const std::function<bool(const QString&, QString*)>& write) {
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, DefaultPath(name, extension), filter);
    if (path.isEmpty())
        return;
    QString error;
    if (!write(path, &error))
        CxMessage(parent, CxMessageIcon::Error, error);
}
} // namespace

void CRepView::OnSaveAs() {
    WriteToChosenFile(
        this, Tr("Сохранить отчет", "CRepView::SaveAs"), OnGetExportFileName(),
        QStringLiteral("html"), Tr("Страницы HTML (*.html *.htm)", "CRepView::SaveAs"),
        [this](const QString& path, QString* error) { return SaveReport(path, error); });
}

bool CRepView::HasPage() {
    if (!m_shown.isEmpty())
        return true;
    CxMessage(this, CxMessageIcon::Information,
              Tr("Отчет еще не сформирован: нажмите «Формировать».", "CRepView::NoPage"));
    return false;
}

void CRepView::OnExportPDF() {
    if (!HasPage())
        return;
    WriteToChosenFile(
        this, Tr("Сохранить отчет в PDF", "CRepView::ExportPDF"), OnGetExportFileName(),
        QStringLiteral("pdf"), Tr("Документы PDF (*.pdf)", "CRepView::ExportPDF"),
        [this](const QString& path, QString* error) { return ExportPDF(path, error); });
}

QString CRepView::ExportToExcel() {
    // The page as its HTML says, not as the pane lays it out.
    const QString name = windowTitle().isEmpty() ? OnGetExportFileName() : windowTitle();
    const QString html = m_shown;
    return CxExportToExcel(this, name,
                           [&](const QString& path, CvProgress* progress, QString* error) {
                               return WriteHtmlXlsx(html, name, path, progress, error);
                           });
}

void CRepView::OnPrint() {
    if (!HasPage())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPageLayout sheets = printer.pageLayout();
    ChooseOrientation(sheets, m_html);
    printer.setPageOrientation(sheets.orientation());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTemporaryFile file(PrintFileTemplate());
    QString error;
    if (!MakePrintPdf(printer, file, &error) || !PrintPdfPages(file.fileName(), &printer, &error))
        CxMessage(this, CxMessageIcon::Error, error);
}

void CRepView::OnPrintPreview() {
    if (!HasPage())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPageLayout sheets = printer.pageLayout();
    ChooseOrientation(sheets, m_html);
    printer.setPageOrientation(sheets.orientation());
    QTemporaryFile file(PrintFileTemplate());
    QString error;
    CRepPreviewDlg preview(this);
    if (!MakePrintPdf(printer, file, &error) || !preview.Load(file.fileName(), &error)) {
        CxMessage(this, CxMessageIcon::Error, error);
        return;
    }
    if (preview.exec() == CRepPreviewDlg::kPrint)
        OnPrint();
}

bool CRepView::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    switch (id) {
    case ID_FILE_SAVE_AS:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case kIdToExcel:
    case kIdFileToExcel:
        ui.enabled = !m_shown.isEmpty();
        return true;
    default:
        break;
    }
    if (CRepDoc* doc = GetRepDoc()) {
        // The document's own commands (a report's presets): handled when it
        // knows them, enabled when they may run now.
        const int can = doc->ProcessRepViewCommand(id, 1);
        if (can) {
            ui.enabled = true;
            return true;
        }
    }
    return CxFormView::CanProcessCommand(id, ui);
}

bool CRepView::ProcessCommand(unsigned id) {
    switch (id) {
    case ID_FILE_SAVE_AS:
        OnSaveAs();
        return true;
    case ID_FILE_PRINT:
        OnPrint();
        return true;
    case ID_FILE_PRINT_PREVIEW:
        OnPrintPreview();
        return true;
    case kIdToExcel:
    case kIdFileToExcel:
        ExportToExcel();
        return true;
    default:
        break;
    }
    if (CRepDoc* doc = GetRepDoc(); doc && doc->ProcessRepViewCommand(id, 0))
        return true;
    return CxFormView::ProcessCommand(id);
}

void CRepView::RegisterControl(int id, QWidget* control) {
    m_controls.insert(id, control);
}

QWidget* CRepView::GetDlgItem(int id) const {
    return m_controls.value(id);
}

bool CRepView::EnableControl(int id, bool enable) {
    QWidget* control = GetDlgItem(id);
    if (!control)
        return false;
    control->setEnabled(enable);
    return true;
}

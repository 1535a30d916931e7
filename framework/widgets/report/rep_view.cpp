#include "rep_view.h"

#include "framework/core/documents/doc_template.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/export/excel_export.h"
#include "framework/widgets/export/xlsx_export.h"
#include "framework/widgets/message_box.h"
#include "rep_progress_dlg.h"

#include "framework/widgets/open_external.h"
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

namespace {
QString Tr(const char* text, const char* key) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(key), 1);
}

QString FileError(const QString& path, const QString& why) {
    return Tr("Не удалось записать файл {file}: {error}", "CRepDoc::SaveHTML")
        .replace(QLatin1String("{file}"), path)
        .replace(QLatin1String("{error}"), why);
}

// A page wider than a portrait sheet goes on landscape sheets, so that wide
// tables keep their rows on one line where they can.
void ChooseOrientation(QPrinter& printer, QTextDocument* page) {
    std::unique_ptr<QTextDocument> copy(page->clone());
    copy->setTextWidth(-1);
    const QPageLayout layout = printer.pageLayout();
    // The document is laid out at the screen's 96 dots per inch.
    const double portrait = layout.paintRect(QPageLayout::Inch).width() * 96;
    printer.setPageOrientation(copy->idealWidth() > portrait ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
}

} // namespace

CRepView::CRepView(QWidget* parent)
    : CxFormView(parent), m_splitter(new QSplitter(Qt::Horizontal, this)),
      m_paramsPanel(new QWidget(m_splitter)), m_params(new QVBoxLayout),
      m_build(new QPushButton(m_paramsPanel)), m_newWindow(new QPushButton(m_paramsPanel)),
      m_html(nullptr), m_partTimer(new QTimer(this)) {
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
    m_html = new QTextBrowser(result);
    m_html->setObjectName(QStringLiteral("reportHtml"));
    m_html->setOpenLinks(false);
    m_html->setOpenExternalLinks(false);
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
    connect(m_html, &QTextBrowser::anchorClicked, this, &CRepView::OnLinkClicked);
    // A read-only page needs no undo history (it would copy every part).
    m_html->document()->setUndoRedoEnabled(false);
    m_partTimer->setInterval(0);
    connect(m_partTimer, &QTimer::timeout, this, [this] {
        if (!AppendPagePart())
            m_partTimer->stop();
    });
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
        clone->ShowReport();
        clone->m_html->verticalScrollBar()->setValue(m_html->verticalScrollBar()->value());
    }
    return clone;
}

void CRepView::ShowReport() {
    CRepDoc* doc = GetRepDoc();
    const QString page = doc ? doc->GetHTML() : QString();
    m_shown = page;
    m_partTimer->stop();
    m_parts = CRepPageParts::Split(page);
    m_nextPart = 0;
    m_partsPerTurn = 1;
    m_lastPartPosition = -1;
    m_html->setHtml(m_parts.First());
    if (m_parts.IsCut())
        m_partTimer->start();
}

bool CRepView::IsShowingParts() const {
    return m_nextPart < m_parts.Parts().size();
}

namespace {
// The tables of the document in the order of their opening tags.
void CollectTables(QTextFrame* frame, QList<QTextTable*>& tables) {
    if (auto* table = qobject_cast<QTextTable*>(frame))
        tables.append(table);
    for (QTextFrame* child : frame->childFrames())
        CollectTables(child, tables);
}
} // namespace

QTextTable* CRepView::PartsTable() {
    QList<QTextTable*> tables;
    CollectTables(m_html->document()->rootFrame(), tables);
    return tables.value(m_parts.TableIndex());
}

bool CRepView::AppendPagePart() {
    return AppendParts(m_partsPerTurn);
}

bool CRepView::AppendParts(int count) {
    if (!IsShowingParts())
        return false;
    QElapsedTimer clock;
    clock.start();
    QTextDocument* page = m_html->document();
    if (m_lastPartPosition < 0) {
        // Every part is a table of its own; the same column shares (taken
        // from the first rows as laid out) keep their columns in line.
        QTextTable* table = PartsTable();
        if (!table) {
            m_nextPart = int(m_parts.Parts().size());
            return false;
        }
        QAbstractTextDocumentLayout* layout = page->documentLayout();
        const QRectF frame = layout->frameBoundingRect(table);
        const int row = table->rows() - 1;
        QList<qreal> left;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(row, c);
            left.append(cell.column() == c
                            ? layout->blockBoundingRect(cell.firstCursorPosition().block()).left()
                            : -1);
        }
        QTextTableFormat format = table->format();
        if (frame.width() > 0 && !left.contains(-1)) {
            left.append(frame.right());
            QList<QTextLength> widths;
            for (int c = 0; c < table->columns(); ++c)
                widths.append(QTextLength(QTextLength::PercentageLength,
                                          100.0 * (left[c + 1] - left[c]) / frame.width()));
            format.setColumnWidthConstraints(widths);
            format.setWidth(QTextLength(QTextLength::FixedLength, frame.width()));
            table->setFormat(format);
        }
        m_partsFormat = format;
        m_partsParent = table->parentFrame();
        m_lastPartPosition = table->lastPosition() + 1;
    }
    // No edit block around the parts: inside one, a table inserted as HTML
    // loses the width its format is given, and the parts fall out of line.
    QTextCursor cursor(page);
    const int end = int(qMin<qsizetype>(m_parts.Parts().size(), qsizetype(m_nextPart) + count));
    const int first = m_nextPart;
    while (m_nextPart < end) {
        cursor.setPosition(qMin(m_lastPartPosition, page->characterCount() - 1));
        const int start = cursor.position();
        cursor.insertHtml(m_parts.Parts().at(m_nextPart++));
        // The new part is the first table that starts after the insertion
        // point, among the tables beside the first one.
        QTextTable* added = nullptr;
        if (QTextFrame* parent = m_partsParent ? m_partsParent.data() : page->rootFrame()) {
            for (QTextFrame* frame : parent->childFrames()) {
                if (frame->firstPosition() > start) {
                    added = qobject_cast<QTextTable*>(frame);
                    break;
                }
            }
        }
        if (added) {
            added->setFormat(m_partsFormat);
            m_lastPartPosition = added->lastPosition() + 1;
        } else {
            m_lastPartPosition = cursor.position();
        }
    }
    // The next turn takes as many parts as fit in its time, judged by this
    // one.
    const double perPart = double(clock.nsecsElapsed()) / 1e6 / qMax(1, end - first);
    m_partsPerTurn = qBound(1, int(kTurnMs / qMax(perPart, 0.1)), kMaxPartsPerTurn);
    return IsShowingParts();
}

std::unique_ptr<QTextDocument> CRepView::PrintCopy() {
    FinishPage();
    std::unique_ptr<QTextDocument> copy(m_html->document()->clone());
    // Collected first: changing a format may merge the fragments walked.
    struct Change {
        int from;
        int to;
        QTextCharFormat format;
    };
    QList<Change> changes;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(QTextFormat::FontPixelSize))
                continue;
            const int pixels = format.intProperty(QTextFormat::FontPixelSize);
            format.clearProperty(QTextFormat::FontPixelSize);
            format.setFontPointSize(pixels * 72.0 / 96.0);
            changes.append({fragment.position(), fragment.position() + fragment.length(), format});
        }
    }
    QTextCursor cursor(copy.get());
    for (const Change& change : std::as_const(changes)) {
        cursor.setPosition(change.from);
        cursor.setPosition(change.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
    return copy;
}

void CRepView::FinishPage() {
    m_partTimer->stop();
    AppendParts(int(m_parts.Parts().size()));
}

void CRepView::OnLinkClicked(const QUrl& url) {
    if (url.scheme().isEmpty() && url.path().isEmpty() && !url.fragment().isEmpty()) {
        m_html->scrollToAnchor(url.fragment());
        return;
    }
    CRepDoc* doc = GetRepDoc();
    if (doc && doc->OnProcessURL(CxLinkAddress(url))) {
        // A link may rewrite the page (a pivot opens a row): show it where
        // the reader was.
        if (doc->GetHTML() != m_shown) {
            const int h = m_html->horizontalScrollBar()->value();
            const int v = m_html->verticalScrollBar()->value();
            ShowReport();
            m_html->horizontalScrollBar()->setValue(h);
            m_html->verticalScrollBar()->setValue(v);
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
    FinishPage();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    ChooseOrientation(printer, m_html->document());
    PrintCopy()->print(&printer);
    const QFileInfo written(path);
    if (!written.exists() || written.size() == 0) {
        if (error)
            *error = FileError(path, Tr("нет доступа или нет места", "CRepView::ExportPDF"));
        return false;
    }
    return true;
}

namespace {
QString DefaultPath(const QString& name, const QString& extension) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + u'.' + extension);
}
} // namespace

void CRepView::OnSaveAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, Tr("Сохранить отчет", "CRepView::SaveAs"),
                                     DefaultPath(OnGetExportFileName(), QStringLiteral("html")),
                                     Tr("Страницы HTML (*.html *.htm)", "CRepView::SaveAs"));
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveReport(path, &error))
        CxMessage(this, CxMessageIcon::Error, error);
}

void CRepView::OnExportPDF() {
    const QString path =
        QFileDialog::getSaveFileName(this, Tr("Сохранить отчет в PDF", "CRepView::ExportPDF"),
                                     DefaultPath(OnGetExportFileName(), QStringLiteral("pdf")),
                                     Tr("Документы PDF (*.pdf)", "CRepView::ExportPDF"));
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportPDF(path, &error))
        CxMessage(this, CxMessageIcon::Error, error);
}

QString CRepView::ExportToExcel() {
    // The whole page, as its HTML says, whatever part the pane shows yet.
    const QString name = windowTitle().isEmpty() ? OnGetExportFileName() : windowTitle();
    const QString html = m_shown;
    return CxExportToExcel(this, name,
                           [&](const QString& path, CvProgress* progress, QString* error) {
                               return WriteHtmlXlsx(html, name, path, progress, error);
                           });
}

void CRepView::OnPrint() {
    FinishPage();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    ChooseOrientation(printer, m_html->document());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintCopy()->print(&printer);
}

void CRepView::OnPrintPreview() {
    FinishPage();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    ChooseOrientation(printer, m_html->document());
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintCopy()->print(p); });
    preview.exec();
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

#include "rep_print.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

QString Unreadable() {
    return Tr("Не удалось прочитать страницы отчета для печати", "CRepPrint::Read");
}

// Sharp enough for text on paper; an A4 page at this is about 35 MB as an
// image, drawn and let go one at a time.
constexpr int kMaxPrintDpi = 300;
} // namespace

bool PrintPdfPages(const QString& path, QPrinter* printer, QString* error) {
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None || pdf.pageCount() < 1) {
        if (error)
            *error = Unreadable();
        return false;
    }
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer)) {
        if (error)
            *error = Tr("Принтер не начал печать", "CRepPrint::Begin");
        return false;
    }
    const int dpi = qMin(printer->resolution(), kMaxPrintDpi);
    const QSizeF sheet = printer->paperRect(QPrinter::DevicePixel).size();
    for (int i = 0; i < pdf.pageCount(); ++i) {
        if (i > 0 && !printer->newPage()) {
            if (error)
                *error = Tr("Принтер прервал печать", "CRepPrint::Page");
            return false;
        }
        const QSizeF points = pdf.pagePointSize(i);
        const QImage image = pdf.render(i, (points * dpi / 72.0).toSize());
        // The page fills the sheet it was made for; another paper gets it
        // whole, scaled.
        const double scale = qMin(sheet.width() / image.width(), sheet.height() / image.height());
        painter.drawImage(QRectF(0, 0, image.width() * scale, image.height() * scale), image);
    }
    return painter.end();
}

CRepPreviewDlg::CRepPreviewDlg(QWidget* parent)
    : QDialog(parent), m_document(new QPdfDocument(this)), m_view(new QPdfView(this)),
      m_pages(new QLabel(this)), m_print(new QPushButton(this)) {
    setWindowTitle(Tr("Просмотр перед печатью", "CRepView::PrintPreview"));
    m_view->setObjectName(QStringLiteral("previewPages"));
    m_view->setDocument(m_document);
    // The pages render as they scroll into sight: a long report costs no
    // more than the sheets on the screen.
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_print->setText(Tr("Печать", "CRepView::Print"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_print, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_print, &QPushButton::clicked, this, [this] { done(kPrint); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pages, 1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);
    // A sheet's height where the screen has room for it; on a smaller
    // screen the buttons must stay on it.
    QSize size(900, 1000);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

bool CRepPreviewDlg::Load(const QString& path, QString* error) {
    if (m_document->load(path) != QPdfDocument::Error::None || m_document->pageCount() < 1) {
        if (error)
            *error = Unreadable();
        return false;
    }
    m_pages->setText(
        Tr("Страниц: {count}", "CRepView::PrintPreview")
            .replace(QLatin1String("{count}"), QString::number(m_document->pageCount())));
    return true;
}

int CRepPreviewDlg::PageCount() const {
    return m_document->pageCount();
}

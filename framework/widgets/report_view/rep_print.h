#pragma once
// A report page on paper: the engine writes the page as PDF (as it prints
// it), and the PDF's pages go to a printer or to the preview from there.
#include <QDialog>

class QLabel;
class QPdfDocument;
class QPdfView;
class QPrinter;
class QPushButton;

// Puts the pages of the PDF file at `path` on the printer, each on a sheet of
// the printer's paper (the PDF is made for that paper, its margins included);
// false with the reason when the file cannot be read or the printer refuses.
bool PrintPdfPages(const QString& path, QPrinter* printer, QString* error = nullptr);

// The preview: the pages of the PDF of a page as they will print, with a
// button that prints them (the dialog closes with kPrint) and one that closes.
class CRepPreviewDlg : public QDialog {
    Q_OBJECT
public:
    enum : int { kPrint = 2 };

    explicit CRepPreviewDlg(QWidget* parent = nullptr);
    // Shows the PDF file at `path`; false with the reason when it cannot be
    // read.
    bool Load(const QString& path, QString* error = nullptr);

    int PageCount() const;
    QPushButton* PrintButton() const { return m_print; }

private:
    QPdfDocument* m_document;
    QPdfView* m_view;
    QLabel* m_pages;
    QPushButton* m_print;
};

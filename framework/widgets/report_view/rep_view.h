#pragma once
// The view of a report window: the report's parameters on the left (the
// derived view puts its controls there), the buttons "Формировать" and
// "Новое окно" below them, and the result on the right, an HTML pane with
// the commands to save the page as a file that any browser opens, to print
// it and to write it to PDF. The pane is a browser engine (CRepPane).
//
// Building runs the document's Build behind a CRepProgressDlg (modal to the
// whole application, with a cancel button); the page then shows in the pane.
// Links of the page go to the document's OnProcessURL (command addresses open
// records and other reports); links it does not take open in the system's
// browser, "#name" links scroll the page.
//
// Controls are known by number (RegisterControl), so a document may enable
// or disable them through CRepViewLink without knowing the widgets.
#include "framework/core/report/rep_doc.h"
#include "framework/widgets/documents/form_view.h"
#include "rep_pane.h"

#include <QHash>
#include <QPointer>

class QHBoxLayout;
class QPrinter;
class QPushButton;
class QSplitter;
class QTemporaryFile;
class QToolButton;
class QUrl;
class QVBoxLayout;

class CRepView : public CxFormView, public CRepViewLink {
    Q_OBJECT
public:
    // Standard commands the view answers (the main menu and tool bar).
    enum : unsigned {
        ID_FILE_SAVE_AS = 57604,
        ID_FILE_PRINT = 57607,
        ID_FILE_PRINT_PREVIEW = 57609,
    };
    // The numbers of the view's own controls.
    enum : int { IDC_BUILD = 1552, IDC_NEW_WINDOW = 1587 };

    Q_INVOKABLE explicit CRepView(QWidget* parent = nullptr);
    ~CRepView() override;

    CRepDoc* GetRepDoc() const;

    // Links the document to the view, sets the window's title from the
    // report's and restores the view's state; shows a page the document
    // already has (a cloned window).
    bool OnInitialUpdate() override;

    // The build: OnPreBuild hands the parameters to the document, then the
    // document builds behind the progress dialog and the page is shown.
    // False when nothing was built (another build runs, the parameters were
    // refused, the build failed before making a page).
    virtual bool OnBuild();
    // Opens another window of the same report with the same parameters and
    // a copy of the page; answers the new view.
    CRepView* OnCloneReport();
    // Before a build: the view gives the document what the user chose;
    // false stops the build.
    virtual bool OnPreBuild() { return true; }
    // A new window made by OnCloneReport from the source's window.
    virtual void OnCloned(CRepView* source) { (void)source; }
    // The name a saved page gets by default (without extension).
    virtual QString OnGetExportFileName() { return QStringLiteral("report"); }

    // Shows the document's page; the pane loads it in the background, so the
    // window answers meanwhile however long the page.
    void ShowReport();
    // A link of the page, as a click on it.
    void OnLinkClicked(const QUrl& url);
    // "command:<number>" addresses meant for this window run the document's
    // command of that number.
    int OnProcessURL(const QString& address) override;

    // Writes the page to a file as HTML (UTF-8, declared) or as PDF (as the
    // engine prints it, on A4 sheets, landscape when the page is wider than a
    // portrait sheet); false with the reason when the file could not be
    // written.
    bool SaveReport(const QString& path, QString* error = nullptr);
    bool ExportPDF(const QString& path, QString* error = nullptr);
    // The same, asking the user where (and telling what went wrong).
    void OnSaveAs();
    void OnExportPDF();
    // Print and preview go through the page's PDF, made for the printer's
    // paper.
    void OnPrint();
    void OnPrintPreview();
    // «Передать в MS Excel»: the page's tables as a workbook, opened; answers
    // its path, empty when cancelled or failed.
    QString ExportToExcel();

    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

    // Controls by number.
    void RegisterControl(int id, QWidget* control);
    QWidget* GetDlgItem(int id) const;
    bool EnableControl(int id, bool enable) override;

    CRepPane* HTMLCtrl() const { return m_html; }
    QPushButton* BuildButton() const { return m_build; }
    QPushButton* NewWindowButton() const { return m_newWindow; }

protected:
    // Where a derived view puts its parameter controls, top to bottom.
    QVBoxLayout* ParamsLayout() const { return m_params; }
    QSplitter* Splitter() const { return m_splitter; }

private:
    QSplitter* m_splitter;
    QWidget* m_paramsPanel;
    QVBoxLayout* m_params;
    QPushButton* m_build;
    QPushButton* m_newWindow;
    CRepPane* m_html;
    // The page's PDF for `printer`'s paper (and orientation, chosen from the
    // page), in a temporary file; false with the reason when none was made.
    bool MakePrintPdf(QPrinter& printer, QTemporaryFile& file, QString* error);
    // Whether a page is shown; tells the user when not.
    bool HasPage();

    QHash<int, QPointer<QWidget>> m_controls;
    QString m_shown; // the page the pane shows
};

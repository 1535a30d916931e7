#pragma once
// The wizard that loads daily sheets filled from the stencil: the start page
// takes a file (or, with "Пакетная загрузка", a folder of *.xml files); the
// run reads them through CSheetImport and opens each readable one as a new,
// unsaved report in its own daily report form in the target folder of the
// journal. Nothing reaches the database until the user saves a form.
//
//   CXMLLoad wizard(folder, parent);   // 0: the root
//   wizard.DoModal();
#include "framework/widgets/wizard/wizard_dlg.h"
#include "framework/widgets/wizard/wizard_pane.h"

#include <QPointer>

class CDDiary;
class CHTMLStatic;
class CxFileEdit;
class QCheckBox;
class QLineEdit;

class CXMLLoad : public CWizardDlg {
    Q_OBJECT
public:
    explicit CXMLLoad(qint64 folder = 0, QWidget* parent = nullptr);

    QString GetWizardTitle() const override;
    qint64 Folder() const { return m_folder; }
    // The forms the run opened, in file order (null where one was closed).
    QList<CDDiary*> OpenedForms() const;

protected:
    void OnInitPages() override;

private:
    qint64 m_folder;
};

class CXMLLoadStartPage : public CWizardPane {
    Q_OBJECT
public:
    explicit CXMLLoadStartPage(qint64 folder, QWidget* parent = nullptr);

    QString GetPaneTitle() const override;
    bool IsValid() const override;
    // The files to load: the path itself, or with the batch box ticked the
    // path followed by "/*.xml".
    QString SearchPattern() const;

    CxFileEdit* PathEdit() const { return m_path; }
    QCheckBox* BatchBox() const { return m_batch; }
    QLineEdit* FolderName() const { return m_folderName; }

private:
    void BatchToggled(bool batch);
    void PathChanged(const QString& path);

    CHTMLStatic* m_intro;
    QCheckBox* m_batch;
    CxFileEdit* m_path;
    QLineEdit* m_folderName;
};

class CXMLLoadProcess : public CWizardPaneProcessor {
    Q_OBJECT
public:
    explicit CXMLLoadProcess(qint64 folder, QWidget* parent = nullptr);

    QString GetPaneTitle() const override;
    // Reads the files of the start page's pattern and opens a form for each
    // readable one; false when there is no start page or the database could
    // not answer.
    bool Process() override;
    QList<CDDiary*> OpenedForms() const;

private:
    qint64 m_folder;
    QList<QPointer<CDDiary>> m_forms;
};

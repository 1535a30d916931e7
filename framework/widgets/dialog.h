#pragma once
// The base of the program's dialogs: DoModal runs one modally and answers
// IDOK or IDCANCEL. Tests (and scripted runs) install a modal driver instead
// of the user: while one is installed, a modal run shows the dialog without
// blocking, hands it to the driver, which drives it as a user would (fills
// it, clicks its buttons), and the run ends with the dialog's result; a
// dialog the driver left open counts as cancelled.
#include "message_box.h"

#include <QDialog>
#include <functional>

class CxDialog : public QDialog {
    Q_OBJECT
public:
    explicit CxDialog(QWidget* parent = nullptr);

    // IDOK when the dialog was accepted, IDCANCEL otherwise.
    virtual int DoModal();

protected:
    // Runs once, before the dialog first shows; false ends the run with
    // IDCANCEL at once.
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    bool EnsureInit();
    bool m_initDone = false;
    bool m_initOk = true;
};

// Runs any dialog modally, through the driver when one is installed:
// IDOK when it was accepted, IDCANCEL otherwise.
int CxDoModal(QDialog* dialog);

// Installs the driver of modal runs; an empty function puts the user back.
void SetModalDriver(std::function<void(QDialog*)> driver);

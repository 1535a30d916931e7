#include "dialog.h"

#include "message_box.h"

#include <QShowEvent>

namespace {
std::function<void(QDialog*)>& Driver() {
    static auto* driver = new std::function<void(QDialog*)>;
    return *driver;
}
} // namespace

void SetModalDriver(std::function<void(QDialog*)> driver) {
    Driver() = std::move(driver);
}

int CxDoModal(QDialog* dialog) {
    if (!Driver())
        return dialog->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    // The driver may install another driver for dialogs this one opens.
    const std::function<void(QDialog*)> driver = Driver();
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    if (dialog->isVisible())
        driver(dialog);
    if (dialog->isVisible())
        dialog->reject();
    return dialog->result() == QDialog::Accepted ? IDOK : IDCANCEL;
}

CxDialog::CxDialog(QWidget* parent) : QDialog(parent) {}

bool CxDialog::EnsureInit() {
    if (!m_initDone) {
        m_initDone = true;
        m_initOk = OnInitDialog();
    }
    return m_initOk;
}

int CxDialog::DoModal() {
    if (!EnsureInit())
        return IDCANCEL;
    return CxDoModal(this);
}

void CxDialog::showEvent(QShowEvent* event) {
    // A dialog shown without DoModal is set up the same way.
    if (!EnsureInit())
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    QDialog::showEvent(event);
}

#include "message_box.h"

#include "framework/core/tarvik_app.h"

#include <QApplication>
#include <QMessageBox>

namespace {
std::function<int(CxAskKind, const QString&)>& Answerer() {
    static auto* answerer = new std::function<int(CxAskKind, const QString&)>;
    return *answerer;
}

QWidget* DefaultParent(QWidget* parent) {
    if (parent)
        return parent;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    CTarvikApp* app = CTarvikApp::Instance();
    return app ? app->GetMainWnd() : nullptr;
}

QString Title(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Kelda2") : title;
}
} // namespace

void SetMessageAnswerer(std::function<int(CxAskKind, const QString&)> answerer) {
    Answerer() = std::move(answerer);
}

int CxAsk(QWidget* parent, CxAskKind kind, const QString& text, const QString& title) {
    if (Answerer())
        return Answerer()(kind, text);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (kind == CxAskKind::YesNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (kind == CxAskKind::YesNoCancel)
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(kind == CxAskKind::Ok ? QMessageBox::Information : QMessageBox::Question,
                    Title(title), text, buttons, DefaultParent(parent));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

int Yes_NO_(const QString& text, const QString& title) {
    return CxAsk(nullptr, CxAskKind::YesNo, text, title);
}

void CxMessage(QWidget* parent, int icon, const QString& text, const QString& title) {
    if (Answerer()) {
        Answerer()(CxAskKind::Ok, text);
        return;
    }
    QMessageBox::Icon kind = QMessageBox::Information;
    if ((icon & 0xf0) == 0x10)
        kind = QMessageBox::Critical;
    else if ((icon & 0xf0) == 0x30)
        kind = QMessageBox::Warning;
    QMessageBox box(kind, Title(title), text, QMessageBox::Ok, DefaultParent(parent));
    box.exec();
}

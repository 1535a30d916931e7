#include "message_box.h"

#include "framework/core/tarvik_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {
std::function<int(CxAskKind, const QString&)>& Answerer() {
    static auto* answerer = new std::function<int(CxAskKind, const QString&)>;
    return *answerer;
}

CxMessageButtonAnswerer& ButtonAnswerer() {
    static auto* answerer = new CxMessageButtonAnswerer;
    return *answerer;
}

int AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
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

// The buttons read in the program's language whatever Qt's own
// translations the machine has.
void NameButtons(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } names[] = {
        {QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto& name : names)
        if (QAbstractButton* button = box.button(name.button))
            button->setText(CTarvikApp::TranslateString(QString::fromUtf8(name.text),
                                                        QStringLiteral("CxAsk"), 1));
}

// Shows the box, or lets the installed answerer press one of its buttons by
// the text the user would read on it.
int Run(QMessageBox& box) {
    // A message is plain text: a name or a code the user typed shows as it
    // stands, even when it looks like markup.
    box.setTextFormat(Qt::PlainText);
    NameButtons(box);
    if (!ButtonAnswerer())
        return AnswerOf(QMessageBox::StandardButton(box.exec()));
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << CxButtonText(button->text());
    const QString chosen = CxButtonText(ButtonAnswerer()(box.windowTitle(), box.text(), texts));
    for (QAbstractButton* button : box.buttons())
        if (CxButtonText(button->text()) == chosen)
            return AnswerOf(box.standardButton(button));
    qWarning("The message box has no button \"%s\" (buttons: %s): %s", qPrintable(chosen),
             qPrintable(texts.join(QStringLiteral(", "))), qPrintable(box.text()));
    return IDCANCEL;
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
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}
} // namespace

void SetMessageAnswerer(std::function<int(CxAskKind, const QString&)> answerer) {
    Answerer() = std::move(answerer);
}

void SetMessageButtonAnswerer(CxMessageButtonAnswerer answerer) {
    ButtonAnswerer() = std::move(answerer);
}

QString CxButtonText(const QString& text) {
    QString plain = text;
    return plain.remove(u'&');
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
    return Run(box);
}

int Yes_NO_(const QString& text, const QString& title) {
    return CxAsk(nullptr, CxAskKind::YesNo, text, title);
}

CxMessageIcon CxMessageIconOf(int flags) {
    switch (flags & 0xf0) {
    case int(CxMessageIcon::Error):
        return CxMessageIcon::Error;
    case int(CxMessageIcon::Warning):
        return CxMessageIcon::Warning;
    case int(CxMessageIcon::Information):
        return CxMessageIcon::Information;
    default:
        return CxMessageIcon::None;
    }
}

void CxMessage(QWidget* parent, CxMessageIcon icon, const QString& text, const QString& title) {
    if (Answerer()) {
        Answerer()(CxAskKind::Ok, text);
        return;
    }
    QMessageBox::Icon kind = QMessageBox::Information;
    if (icon == CxMessageIcon::Error)
        kind = QMessageBox::Critical;
    else if (icon == CxMessageIcon::Warning)
        kind = QMessageBox::Warning;
    QMessageBox box(kind, Title(title), text, QMessageBox::Ok, DefaultParent(parent));
    Run(box);
}

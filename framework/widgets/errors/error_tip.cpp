#include "error_tip.h"

#include "framework/core/tarvik_app.h"

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QToolTip>
#include <QWidget>

namespace {
const char* kTip = "cxErrorTip";
const char* kSheet = "cxErrorSheet";

// Takes the mark away once the user edits the control.
class ErrorMarkWatcher : public QObject {
public:
    explicit ErrorMarkWatcher(QWidget* control) : QObject(control) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
            auto* control = static_cast<QWidget*>(watched);
            // After this event: the mark may delete this watcher.
            QMetaObject::invokeMethod(
                control, [c = QPointer<QWidget>(control)] { ClearErrorTip(c); },
                Qt::QueuedConnection);
        }
        return false;
    }
};

// The control's own watcher. The watcher has no meta-object of its own, so
// findChild<ErrorMarkWatcher*> would take any child of the control (a line
// edit's text engine, a combo box's line edit) for it.
ErrorMarkWatcher* Watcher(QWidget* control) {
    for (QObject* child : control->children())
        if (auto* watcher = dynamic_cast<ErrorMarkWatcher*>(child))
            return watcher;
    return nullptr;
}

QString TipText(const QString& text, const QString& title) {
    QString html = text.toHtmlEscaped();
    html.replace(u'\n', QStringLiteral("<br>"));
    if (title.isEmpty())
        return html;
    return QStringLiteral("<b>%1</b><br>%2").arg(title.toHtmlEscaped(), html);
}

void Mark(QWidget* control) {
    if (!control->property(kSheet).isValid())
        control->setProperty(kSheet, control->styleSheet());
    const QString type = QString::fromLatin1(control->metaObject()->className());
    control->setStyleSheet(control->property(kSheet).toString() +
                           QStringLiteral("%1 { border: 1px solid #d02020; }").arg(type));
    if (!Watcher(control))
        new ErrorMarkWatcher(control);
}
} // namespace

void ShowErrorTip(QWidget* control, const QString& text, const QString& title) {
    if (!control)
        return;
    ShowErrorTip(control, control->rect(), text, title);
}

void ShowErrorTip(QWidget* control, const QRect& place, const QString& text, const QString& title) {
    if (!control)
        return;
    control->setProperty(kTip, title.isEmpty() ? text : title + u'\n' + text);
    Mark(control);
    if (control->isVisible())
        QToolTip::showText(control->mapToGlobal(place.bottomLeft()), TipText(text, title), control,
                           place, 8000);
}

void ShowRequiredTip(QWidget* control, const QString& name) {
    ShowErrorTip(control,
                 CTarvikApp::TranslateString(QStringLiteral("Поле должно быть заполнено."),
                                             QStringLiteral("msgRequiredField"), 1),
                 name);
}

void ClearErrorTip(QWidget* control) {
    if (!control || !control->property(kTip).isValid())
        return;
    control->setProperty(kTip, QVariant());
    control->setStyleSheet(control->property(kSheet).toString());
    control->setProperty(kSheet, QVariant());
    delete Watcher(control);
}

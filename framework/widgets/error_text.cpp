#include "error_text.h"

#include <QFontMetrics>

CxErrorText::CxErrorText(QWidget* parent, int visibleLines) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("ErrorText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setStyleSheet(QStringLiteral("QPlainTextEdit { color: #b00020; }"));
    const int height = fontMetrics().lineSpacing() * visibleLines +
                       int(2 * document()->documentMargin()) + 2 * frameWidth();
    setFixedHeight(height);
    setVisible(false);
}

void CxErrorText::SetLines(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !shown.contains(trimmed))
            shown << trimmed;
    }
    setPlainText(shown.join(u'\n'));
    setVisible(!shown.isEmpty());
}

void CxErrorText::SetText(const QString& text) {
    SetLines(text.split(u'\n'));
}

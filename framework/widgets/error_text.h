#pragma once
// Where a dialog shows what went wrong: a read-only text of a few lines that
// scrolls when there is more, so a long error (or many) never makes the
// dialog grow past the screen. Repeated lines show once. Hidden while empty.
#include <QPlainTextEdit>

class CxErrorText : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CxErrorText(QWidget* parent = nullptr, int visibleLines = 5);

    void SetText(const QString& text);
    void SetLines(const QStringList& lines);
    QString Text() const { return toPlainText(); }
};

#include "acc_completer.h"

#include "framework/core/app/acc_dic.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextCursor>

namespace {
const char* kDictionary = "cxAccDictionary";

QCompleter* MakeCompleter(QWidget* edit, const QString& dictionary) {
    auto* completer = new QCompleter(edit);
    completer->setObjectName(QStringLiteral("accCompleter"));
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setModel(new QStringListModel(AccDicWords(dictionary), completer));
    return completer;
}

// Completes the word before the cursor of a text edit.
class TextWordCompleter : public QObject {
public:
    TextWordCompleter(QPlainTextEdit* edit, const QString& dictionary)
        : QObject(edit), m_edit(edit), m_completer(MakeCompleter(edit, dictionary)) {
        setObjectName(QStringLiteral("accWordCompleter"));
        m_completer->setWidget(edit);
        m_completer->setCompletionMode(QCompleter::PopupCompletion);
        connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
                &TextWordCompleter::Insert);
        connect(edit, &QPlainTextEdit::textChanged, this, &TextWordCompleter::Update);
        edit->installEventFilter(this);
    }
    void SetDictionary(const QString& dictionary) {
        static_cast<QStringListModel*>(m_completer->model())
            ->setStringList(AccDicWords(dictionary));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // Enter and Tab choose from an open list rather than reach the edit.
        if (event->type() == QEvent::KeyPress && m_completer->popup()->isVisible()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
                key == Qt::Key_Escape) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    QString WordBeforeCursor() const {
        QTextCursor cursor = m_edit->textCursor();
        cursor.select(QTextCursor::WordUnderCursor);
        return cursor.selectedText();
    }
    void Update() {
        if (!m_edit->hasFocus())
            return;
        const QString word = WordBeforeCursor();
        if (word.size() < 2) {
            m_completer->popup()->hide();
            return;
        }
        m_completer->setCompletionPrefix(word);
        if (m_completer->completionCount() == 0) {
            m_completer->popup()->hide();
            return;
        }
        QRect rect = m_edit->cursorRect();
        rect.setWidth(m_completer->popup()->sizeHintForColumn(0) +
                      m_completer->popup()->verticalScrollBar()->sizeHint().width());
        m_completer->complete(rect);
    }
    void Insert(const QString& completion) {
        QTextCursor cursor = m_edit->textCursor();
        cursor.select(QTextCursor::WordUnderCursor);
        cursor.insertText(completion);
        m_edit->setTextCursor(cursor);
    }

    QPlainTextEdit* m_edit;
    QCompleter* m_completer;
};
} // namespace

void AttachAccDic(QWidget* edit, const QString& dictionary) {
    if (!edit || dictionary.isEmpty() || AttachedAccDic(edit) == dictionary)
        return;
    const bool first = AttachedAccDic(edit).isEmpty();
    edit->setProperty(kDictionary, dictionary);
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        if (first) {
            line->setCompleter(MakeCompleter(line, dictionary));
        } else if (QCompleter* completer = line->completer()) {
            static_cast<QStringListModel*>(completer->model())
                ->setStringList(AccDicWords(dictionary));
        }
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(edit)) {
        if (first)
            new TextWordCompleter(text, dictionary);
        else if (QObject* completer = text->findChild<QObject*>(QStringLiteral("accWordCompleter"),
                                                                Qt::FindDirectChildrenOnly))
            static_cast<TextWordCompleter*>(completer)->SetDictionary(dictionary);
    }
}

QString AttachedAccDic(const QWidget* edit) {
    return edit ? edit->property(kDictionary).toString() : QString();
}

#include "sql_edit_list.h"

#include "framework/core/sql_connection.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

namespace {
bool IsSeparator(QChar c) {
    return c == u';' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}
constexpr int kCompletions = 20;
} // namespace

CSQLEditList::CSQLEditList(QWidget* parent)
    : QPlainTextEdit(parent), m_completer(new QCompleter(this)),
      m_completions(new QStringListModel(this)) {
    setTabChangesFocus(false);
    m_completer->setModel(m_completions);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &CSQLEditList::AcceptCompletion);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        m_core.SetText(toPlainText());
        // Completions are offered for what the user types, not for text the
        // program puts in.
        if (m_typing && !m_accepting)
            OfferCompletions();
        emit listChanged();
    });
}

CxSQL* CSQLEditList::Connection() const {
    return m_sql ? m_sql : g_pBaseSQLConnection.get();
}

QString CSQLEditList::CurrentEntry() const {
    const QString text = toPlainText();
    const int end = textCursor().position();
    int start = end;
    while (start > 0 && !IsSeparator(text[start - 1]))
        --start;
    return text.mid(start, end - start).trimmed();
}

void CSQLEditList::OfferCompletions() {
    const QString entry = CurrentEntry();
    if (entry.isEmpty() || !m_core.HasKeyColumn()) {
        m_completer->popup()->hide();
        return;
    }
    QStringList texts;
    QString error;
    if (!m_core.Complete(Connection(), entry, kCompletions, &texts, &error) || texts.isEmpty()) {
        m_completer->popup()->hide();
        return;
    }
    m_completions->setStringList(texts);
    m_completer->setCompletionPrefix(QString());
    QRect rect = cursorRect();
    rect.setWidth(qMax(200, m_completer->popup()->sizeHintForColumn(0) +
                                m_completer->popup()->verticalScrollBar()->sizeHint().width()));
    m_completer->complete(rect);
}

void CSQLEditList::AcceptCompletion(const QString& text) {
    QString all = toPlainText();
    const int end = textCursor().position();
    int start = end;
    while (start > 0 && !IsSeparator(all[start - 1]))
        --start;
    // Keep the blank after a separator.
    while (start < end && all[start].isSpace() && all[start] != u'\n')
        ++start;
    m_accepting = true;
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(text + m_autoAdd);
    setTextCursor(cursor);
    m_accepting = false;
    m_completer->popup()->hide();
}

void CSQLEditList::keyPressEvent(QKeyEvent* event) {
    if (m_completer->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // The list of completions takes these keys.
            event->ignore();
            return;
        default:
            break;
        }
    }
    m_typing = true;
    QPlainTextEdit::keyPressEvent(event);
    m_typing = false;
}

bool CSQLEditList::Load(qint64 ownerKey, QString* error) {
    if (!m_core.Load(Connection(), ownerKey, error))
        return false;
    m_accepting = true;
    setPlainText(m_core.GetText());
    m_accepting = false;
    return true;
}

bool CSQLEditList::CheckList(QString* error) {
    m_core.SetText(toPlainText());
    return m_core.CheckList(Connection(), error);
}

bool CSQLEditList::Save(qint64 ownerKey, QString* error) {
    m_core.SetText(toPlainText());
    return m_core.Save(Connection(), ownerKey, error);
}

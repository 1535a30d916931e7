#include "tarvik_app.h"
#include "translation.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

// The texts of the message keys in the program's language: one line per key,
// the key and its text separated by a tab; "\n" in a text stands for a line
// break.
namespace {
QHash<QString, QString> LoadDictionary() {
    QHash<QString, QString> dictionary;
    QFile file(QStringLiteral(":/translate/ru.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return dictionary;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QStringView line : QStringTokenizer(text, u'\n', Qt::SkipEmptyParts)) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        QString value = line.mid(tab + 1).toString();
        value.replace(QLatin1String("\\n"), QLatin1String("\n"));
        dictionary.insert(line.left(tab).toString(), value);
    }
    return dictionary;
}

const QHash<QString, QString>& Dictionary() {
    static const QHash<QString, QString> dictionary = LoadDictionary();
    return dictionary;
}

bool IsMessageKey(const QString& text) {
    return text.startsWith(QLatin1String("msg")) && !text.contains(u' ');
}
} // namespace

// A caller gives the default text (or a bare key) and the message key or its
// "Class::Method" context. A known message key answers its text; anything else
// answers the text the caller gave. Contexts name places, not texts, so they
// are never looked up.
QString CTarvikApp::TranslateString(const QString& textOrKey, const QString& context, int) {
    const auto& dictionary = Dictionary();
    if (IsMessageKey(context)) {
        auto it = dictionary.constFind(context);
        if (it != dictionary.constEnd())
            return *it;
    }
    if (IsMessageKey(textOrKey)) {
        auto it = dictionary.constFind(textOrKey);
        if (it != dictionary.constEnd())
            return *it;
    }
    return textOrKey;
}

QString CxTr::operator()(const char* text) const {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(m_context));
}

QString CxTr::operator()(const QString& text) const {
    return CTarvikApp::TranslateString(text, QString::fromLatin1(m_context));
}

QString CxTr::operator()(const char* text, const char* context) const {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(context));
}

QString CxTr::operator()(const QString& text, const char* context) const {
    return CTarvikApp::TranslateString(text, QString::fromLatin1(context));
}

QString CxTr::operator()(const QString& text, const QString& context) const {
    return CTarvikApp::TranslateString(text, context);
}

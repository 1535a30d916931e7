#pragma once
// The program's texts pass through the dictionary with the context they
// belong to: a class and method ("CSQLRestore::Restore"), or a message key
// ("msgName") that names the text itself. A file whose texts share one
// context keeps one CxTr, named Tr, bound to it; a file that names the
// context at each call keeps an unbound one. Either way a text the
// dictionary does not hold comes back as written.
#include <QString>

class CxTr {
public:
    constexpr CxTr() = default;
    explicit constexpr CxTr(const char* context) : m_context(context) {}

    // The text (UTF-8 in the source) in the bound context.
    QString operator()(const char* text) const;
    QString operator()(const QString& text) const;
    // The text in the context or under the message key given here.
    QString operator()(const char* text, const char* context) const;
    QString operator()(const QString& text, const char* context) const;
    QString operator()(const QString& text, const QString& context) const;

private:
    const char* m_context = nullptr;
};

#pragma once
// The application's auto-complete word dictionaries, by name, with the title
// shown to the user. Their words live in the settings store (section
// "AutoComplete", one entry per dictionary, the words one per line, the most
// recently used first).
#include <QList>
#include <QString>
#include <QStringList>

struct CxAccDic {
    QString name;
    QString title;
};

// Makes a dictionary known (again: its title is updated).
void LoadAccDic(const QString& name, const QString& title);
QList<CxAccDic> GetAccDics();

// The words of a dictionary, most recently used first.
QStringList AccDicWords(const QString& name);
// Puts a word (a text of one line, trimmed) first in the dictionary; the
// dictionary keeps the kMaxAccDicWords most recent words.
void AccDicAddWord(const QString& name, const QString& word);
// The same for several words at once, the first ending up first.
void AccDicAddWords(const QString& name, const QStringList& words);
constexpr int kMaxAccDicWords = 1000;

#pragma once
// The application's auto-complete word dictionaries, by name, with the title
// shown to the user. Their words live in the settings store.
#include <QList>
#include <QString>

struct CxAccDic {
    QString name;
    QString title;
};

// Makes a dictionary known (again: its title is updated).
void LoadAccDic(const QString& name, const QString& title);
QList<CxAccDic> GetAccDics();

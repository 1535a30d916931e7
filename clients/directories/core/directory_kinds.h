#pragma once
// The kinds of rows of the directory table `dir` (told apart by nDirType) and
// the tabs of the directories journal: for each tab its page class, title,
// icon, the directory view it lists with its columns, the kind of the
// folders made in it and the form that edits its rows.
#include <QList>
#include <QString>

class CxField;
class CxTable;

// nDirType of the directory rows.
enum DirType : int {
    DIR_WORKPLACE = 1,  // service points
    DIR_WORKERS = 2,    // project staff
    DIR_MATERIALS = 3,  // materials and services
    DIR_DRUGS = 4,      // drugs
    DIR_TRAININGS = 7,  // training and event types
    DIR_MATGROUPS = 10, // material groups
    DIR_MATPACK = 11,   // material and service packages
    DIR_DONORS = 12,    // funding sources
};

// The longest name a directory row holds (dir.cString).
constexpr int kDirNameLength = 255;
// The refusal of a longer name, naming the limit; empty when the name fits.
// A longer name must never reach the table: the server would cut it to the
// limit, and the cut name could then equal another row's.
QString DirNameTooLongText(const QString& name);

struct CxDirectoryTab {
    QString pageClass; // run-time class name of the tab's list
    QString titleKey;  // message key of the title
    QString title;     // its default text
    int icon = 0;
    int dirType = 0; // nDirType of the rows and of new folders
    CxTable* table = nullptr;
    QList<const CxField*> columns;
    bool folders = true;
    QString formClass; // run-time class of the item form
    bool shown = true; // whether the journal shows the tab
};

// Every tab class, in the journal's order, the one it does not show last.
// The columns come from the table set, which must be built.
QList<CxDirectoryTab> DirectoryTabs();
// The tab of a page class; null fields when there is none.
CxDirectoryTab DirectoryTab(const QString& pageClass);
// The translated title of a tab.
QString DirectoryTabTitle(const CxDirectoryTab& tab);

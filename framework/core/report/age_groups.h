#pragma once
// Age groups of the reports: an ordered list of groups, each with the lowest
// age it holds (in whole years) and a title. A group holds the ages from its
// lower bound up to the next greater bound.
#include <QList>
#include <QString>

class CAgeGroups {
public:
    struct Group {
        long lower = 0;
        QString title;
    };

    virtual ~CAgeGroups() = default;

    // Appends a group; the title may hold "%d" placeholders (see ReformatTitles).
    void Add(long lower, const QString& title);
    // Fills the placeholders of the titles: the first "%d" becomes the lower
    // bound, the second the last age of the group (the next greater bound
    // less one); the group of the greatest bound has no last age, so its
    // second placeholder and a dash before it are dropped ("60-%d" -> "60").
    void ReformatTitles();
    // The lower bound of the group that holds the age; -1 for an age below
    // every bound (an unknown or impossible age belongs to no group).
    long GetAgeGroup(long age) const;
    // The title of that group; empty when no group holds the age.
    QString GetGroupNameFromAge(long age) const;

    int GetCount() const { return int(m_groups.size()); }
    const Group& GetAt(int index) const { return m_groups.at(index); }
    const QList<Group>& Groups() const { return m_groups; }

private:
    const Group* Find(long age) const;

    QList<Group> m_groups; // in the order added
};

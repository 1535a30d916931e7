#include "age_groups.h"

#include <limits>

void CAgeGroups::Add(long lower, const QString& title) {
    m_groups.append({lower, title});
}

void CAgeGroups::ReformatTitles() {
    for (Group& group : m_groups) {
        long next = std::numeric_limits<long>::max();
        for (const Group& other : std::as_const(m_groups))
            if (other.lower > group.lower && other.lower < next)
                next = other.lower;
        QString title = group.title;
        qsizetype at = title.indexOf(QLatin1String("%d"));
        if (at < 0)
            continue;
        title.replace(at, 2, QString::number(group.lower));
        at = title.indexOf(QLatin1String("%d"), at);
        if (at >= 0) {
            if (next != std::numeric_limits<long>::max()) {
                title.replace(at, 2, QString::number(next - 1));
            } else {
                title.remove(at, 2);
                while (at > 0 && (title.at(at - 1) == u'-' || title.at(at - 1) == u' '))
                    title.remove(--at, 1);
            }
        }
        group.title = title;
    }
}

const CAgeGroups::Group* CAgeGroups::Find(long age) const {
    const Group* found = nullptr;
    for (const Group& group : m_groups)
        if (group.lower <= age && (!found || group.lower > found->lower))
            found = &group;
    return found;
}

long CAgeGroups::GetAgeGroup(long age) const {
    const Group* group = Find(age);
    return group ? group->lower : -1;
}

QString CAgeGroups::GetGroupNameFromAge(long age) const {
    const Group* group = Find(age);
    return group ? group->title : QString();
}

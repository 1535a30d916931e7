#pragma once
// The card of the own organisation (orginf row 0) as the settings page edits
// it, and what the organisation list offers for its selected row.
#include "framework/core/record/rows_fingerprint.h"

#include <QList>
#include <QString>

class CxSQL;

// One fact of the card: the orginf column, its caption, its value.
struct COrgFact {
    QString column;
    QString caption;
    QString value;
};

class COrgInfoCard {
public:
    // Reads row 0: one fact per item of the organisation-fields enumeration,
    // in its order; all empty, and IsNew, when the row does not exist.
    bool Load(CxSQL* sql, QString* error);
    // Writes the facts to row 0 in one transaction: inserts the row when it
    // does not exist at the time of the save, else updates it. Refused
    // (ChangedMeanwhile) when another copy of the program changed, made or
    // removed the row since Load or the last save. On failure nothing is
    // written.
    [[nodiscard]] bool Save(CxSQL* sql, QString* error);
    // Whether the last Save was refused because of another copy's change
    // (Load reads the card as it is now).
    bool ChangedMeanwhile() const { return m_changedMeanwhile; }

    QList<COrgFact>& Facts() { return m_facts; }
    bool IsNew() const { return m_new; }

private:
    QList<COrgFact> m_facts;
    bool m_new = true;
    CxRowsFingerprint m_guard;
    bool m_changedMeanwhile = false;
};

// The organisation list: every card (the own one among them) with its key
// and the columns the list shows (identifier, full name, project, city,
// region, agreement), as the orginf descriptor yields them; empty before the
// table set is built.
QString OrgListSelect();

// Commands of the organisation list.
enum COrgListCommand {
    kOrgCmdSearchPanel = 2046,
    kOrgCmdOpenCard2 = 2059,
};

// Whether the list offers a command: open the own card when it is selected,
// make it when it does not exist yet, remove a received organisation when one
// is selected, the search panel always. selectedId is -1 when nothing is
// selected. Other commands: false (the base decides).
bool OrgListCommandEnabled(int command, qint64 selectedId, bool ownCardExists);
// Whether orginf holds the own card; false with error set when it cannot be
// read.
bool OwnOrgCardExists(CxSQL* sql, bool* exists, QString* error);

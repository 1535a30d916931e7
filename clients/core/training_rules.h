#pragma once
// The participants of a training by its audience (traininglist.nForType).
// trainingssubdata.nClientID holds the ROWID of a row whose table depends on
// the audience: a client (clientdata) for audience 1, a worker (dir, nDirType
// 2) for audience 2, a free name (strtoid, nGroupID = the audience group) for
// every other audience. Whatever reads or moves participants must read that
// id by the training's audience, through the look-up below, never as a
// client.
#include "framework/core/record/rows_fingerprint.h"
#include "sql_edit_list.h"

#include <QString>

// Audiences the rules tell apart (xTrainingFor).
constexpr int kAudienceClients = 1;
constexpr int kAudienceWorkers = 2;
// The group of the free names of an audience without a button of its own.
constexpr int kAudienceGroupOther = 999;

// The audience group: -1 for clients and workers; 3..8 for the audiences 3..8
// (police, doctors, journalists, other categories, outreach workers, colony
// staff); 999 for any other value (9, none).
int TrainingAudienceGroup(int forType);
// Whether entries not found are added as new free names: not for clients and
// workers.
bool TrainingAudienceAutoAdd(int forType);
// The label before the check line: "Коды клиентов:", "Фамилии социальных
// работников:" or "Фамилии:".
QString TrainingParticipantsLabel(int forType);
// Where the audience's participants are looked up.
CEditListLookup TrainingParticipantLookup(int forType);
// Sets the list editor up for the audience: the look-up, the group and
// automatic adding.
void SetupTrainingParticipants(CSQLEditListCore* list, int forType);
// The rows a stored training consists of, as its form guards them against
// other copies' saves: the training's row and its participants.
QList<CxGuardedRows> TrainingGuardedRows(qint64 trainingId);

// The check line under the participant list: the label, then the entries not
// found in red and the duplicated entries in blue, from the list editor's
// error text (first line not found, second line duplicated). HTML.
QString TrainingCheckLineHtml(const QString& label, const QString& listError);

// The number of people: typed by the user while the list is empty, else the
// list's count, which the user can no longer edit.
struct CTrainingPeople {
    bool editable = true;
    int count = 0;
};
CTrainingPeople TrainingPeopleCount(const QString& listText, int listCount);

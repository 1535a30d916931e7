#pragma once
// The vulnerable groups of a client's dated page (clientdatachanges): the main
// group (nClientType) and the additional groups (nClientType2), bit sets of
// the client-group enumeration.
#include "rule_verdict.h"

#include <QList>

// Client-group bits the rules name.
constexpr int kGroupIDU = 0x1;
constexpr int kGroupWCS = 0x2;
constexpr int kGroupMSM = 0x4;
constexpr int kGroupPRIS = 0x8;
constexpr int kGroupSOZ = 0x20;
constexpr int kGroupOTH = 0x40;

// The values offered for the main group, in the enumeration's order (IDU, WCS,
// MSM, PRIS, STIM, DETULIC, OTHERRISK, PCIDU, OTHCONT).
const QList<int>& MainGroupChoices();

// The additional groups the page has a check box for (IDU, WCS, MSM, PRIS,
// partners of IDU, partners of WCS, women partners of MSM, non-injecting
// users, street children, secondary-exchange volunteers, other contacts).
constexpr int kShownAdditionalGroups =
    0x1 | 0x2 | 0x4 | 0x8 | 0x8000 | 0x80000 | 0x100000 | 0x400 | 0x1000 | 0x2000 | 0x200000;

// The additional groups to store: the page's boxes for the groups it shows,
// the stored bits for the groups it does not show (they are kept, not lost).
int MergeAdditionalGroups(int stored, int chosen);

// The page's refusals, first failure wins: MSM (in the main or the additional
// groups) for a client whose card says "Женский"; then main-group values that
// join groups excluding each other (WCS with MSM, WCS with PRIS, MSM with
// PRIS, "Со-зависимые" or "Другие" with anything). `sex` is the card's sex.
CRuleVerdict CheckVulnerableGroups(int mainGroup, int additionalGroups, int sex);

#include "vulnerable_group_rules.h"

#include "client_code_rules.h"

const QList<int>& MainGroupChoices() {
    static const QList<int> choices{kGroupIDU, kGroupWCS, kGroupMSM, kGroupPRIS, 0x400,
                                    0x1000,    0x4000,    0x8000,    0x200000};
    return choices;
}

int MergeAdditionalGroups(int stored, int chosen) {
    return (stored & ~kShownAdditionalGroups) | (chosen & kShownAdditionalGroups);
}

CRuleVerdict CheckVulnerableGroups(int mainGroup, int additionalGroups, int sex) {
    if (((mainGroup | additionalGroups) & kGroupMSM) && sex == kSexFemale)
        return CRuleVerdict::Refuse(
            EClientField::GroupMsm, QStringLiteral("msgMSMCantBeAWoman"),
            ClientRuleText("МСМ не может быть женщиной", "msgMSMCantBeAWoman"));
    auto both = [&](int bits) { return (mainGroup & bits) == bits; };
    const bool exclusive = both(kGroupWCS | kGroupMSM) || both(kGroupWCS | kGroupPRIS) ||
                           both(kGroupMSM | kGroupPRIS) ||
                           ((mainGroup & kGroupSOZ) && mainGroup != kGroupSOZ) ||
                           ((mainGroup & kGroupOTH) && mainGroup != kGroupOTH);
    if (exclusive)
        return CRuleVerdict::Refuse(EClientField::GroupCombination, QString(),
                                    ClientRuleText("Такое сочетание уязвимых групп недопустимо",
                                                   "CDClientBaseChangesSub::DoDataExchange"));
    return CRuleVerdict();
}

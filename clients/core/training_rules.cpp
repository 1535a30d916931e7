#include "training_rules.h"

#include "rule_verdict.h"

#include "framework/core/strings/cx_string.h"

#include <QStringList>

namespace {
// The longest free name strtoid.cStr holds.
constexpr int kFreeNameLength = 254;
} // namespace

int TrainingAudienceGroup(int forType) {
    if (forType == kAudienceClients || forType == kAudienceWorkers)
        return -1;
    if (forType >= 3 && forType <= 8)
        return forType;
    return kAudienceGroupOther;
}

bool TrainingAudienceAutoAdd(int forType) {
    return forType != kAudienceClients && forType != kAudienceWorkers;
}

QString TrainingParticipantsLabel(int forType) {
    if (forType == kAudienceClients)
        return ClientRuleText("Коды клиентов:", "msgClientsCode");
    if (forType == kAudienceWorkers)
        return ClientRuleText("Фамилии социальных работников:", "msgSocWorkersFIO");
    return ClientRuleText("Фамилии:", "msgOtherFIO");
}

CEditListLookup TrainingParticipantLookup(int forType) {
    CEditListLookup lookup;
    if (forType == kAudienceClients) {
        // Folder rows of clientdata carry a folder name in the code column.
        lookup.table = QStringLiteral("clientdata");
        lookup.textColumn = QStringLiteral("cClientCode");
        lookup.filter = QStringLiteral("bIsFolder=0");
    } else if (forType == kAudienceWorkers) {
        lookup.table = QStringLiteral("dir");
        lookup.textColumn = QStringLiteral("cString");
        lookup.filter = QStringLiteral("nDirType=2 AND bIsFolder=0");
    } else {
        lookup.table = QStringLiteral("strtoid");
        lookup.textColumn = QStringLiteral("cStr");
        lookup.filter =
            QStringLiteral("nGroupID=") + QString::number(TrainingAudienceGroup(forType));
        lookup.preference = QStringLiteral("(nRegionDataID<>0)");
        lookup.groupColumn = QStringLiteral("nGroupID");
        lookup.addValues = {{QStringLiteral("nRegionDataID"), QStringLiteral("0")}};
        lookup.maxTextLength = kFreeNameLength;
    }
    return lookup;
}

void SetupTrainingParticipants(CSQLEditListCore* list, int forType) {
    list->Init(QStringLiteral("trainingssubdata"), QStringLiteral("nTrainingID"),
               QStringLiteral("nClientID"));
    list->SetLookup(TrainingParticipantLookup(forType));
    list->SetGroupID(TrainingAudienceGroup(forType));
    list->EnableAutoAdd(TrainingAudienceAutoAdd(forType));
}

QList<CxGuardedRows> TrainingGuardedRows(qint64 trainingId) {
    const QString key = QString::number(trainingId);
    return {CxGuardedRows{QStringLiteral("traininglist"), QStringLiteral("ROWID=") + key, {}},
            CxGuardedRows{
                QStringLiteral("trainingssubdata"), QStringLiteral("nTrainingID=") + key, {}}};
}

QString TrainingCheckLineHtml(const QString& label, const QString& listError) {
    const QStringList lines = listError.split(u'\n');
    const QString notFound = lines.value(0).trimmed();
    const QString duplicated = lines.value(1).trimmed();
    QString result;
    if (!notFound.isEmpty())
        result += QStringLiteral(" <font color=red>") +
                  ClientRuleText("Не найдены:", "msgCliNotFound") + QStringLiteral(" <b>") +
                  SafeHTML(notFound) + QStringLiteral("</b></font>");
    if (!duplicated.isEmpty()) {
        if (!result.isEmpty())
            result += QStringLiteral(", ");
        result += QStringLiteral(" <font color=blue>") +
                  ClientRuleText("Дублируются:", "msgCliDuplicating") + QStringLiteral(" <b>") +
                  SafeHTML(duplicated) + QStringLiteral("</b></font>");
    }
    return SafeHTML(label) + result;
}

CTrainingPeople TrainingPeopleCount(const QString& listText, int listCount) {
    CTrainingPeople people;
    if (listText.trimmed().isEmpty())
        return people;
    people.editable = false;
    people.count = listCount;
    return people;
}

// Pictures of the client register's windows: the client journal, each tab of
// a client's card, the training form and the trainings journal, on a few rows
// written for the purpose (kept out of a database that already holds
// clients).
#include "client_pictures.h"
#include "bench/common/window_grab.h"

#include "clients/card/client_card.h"
#include "clients/card/visits_tab.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/pages/tab.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
void Fill(CxSQL* sql) {
    // The other windows' pictures may have put clients in already: only
    // this register's own client tells whether it is there.
    CxResult r = sql->Execute(QStringLiteral("SELECT COUNT(*) FROM clientdata WHERE ROWID=9010"));
    if (!r.FetchRow() || r.LFieldValue(0) != 0)
        return;
    const char* rows[] = {
        "INSERT IGNORE INTO orginf (ROWID,cOrgID,cOrgName) VALUES (0,'OWN','Своя организация')",
        "INSERT IGNORE INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nSpecFlags) VALUES (9001,0,0,'Пункт на вокзале',1,0,0,0,0),(9002,0,0,'Иванова О. П.',2,0,"
        "0,0,0),(9003,0,0,'Героин',4,1,0,0,0),(9004,0,0,'Метадон',4,1,0,0,0),"
        "(9005,0,0,'Шприц 2 мл',3,65537,0,0,0),(9006,0,0,'Тренинг по снижению вреда',7,0,0,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bIsFolder,nGroupID,nSex,nBirthYear,"
        "dBirthDate,bNewCode,dEnterDate,dStartInPrjDate,nEthnicity,nRelCount,cComment) VALUES "
        "(9001,'Вокзал',NULL,1,0,NULL,NULL,NULL,0,NULL,NULL,0,0,NULL),"
        "(9010,'АБВ0587ч','АБВ0587ч',0,0,1,1987,'1987-01-01',1,'2020-01-01','2020-01-01',0,0,"
        "'Направлен в центр СПИД'),(9011,'ГДЕ0190ж','ГДЕ0190ж',0,0,2,1990,'1990-01-01',1,"
        "'2021-03-01','2021-03-01',0,0,NULL),(9012,'ЖЗИ1292ч','ЖЗИ1292ч',0,9001,1,1992,"
        "'1992-01-01',1,'2022-05-01','2022-05-01',0,0,NULL)",
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2,nLastLinkID) "
        "VALUES (9010,'2021-01-01',1,0,NULL),(9010,'2023-01-01',1,1024,9010),"
        "(9011,'2021-03-01',2,0,9011)",
        "INSERT INTO drugusedata (nClientID,dDate,nBasicDrug,nMainRoute,nUseFrequency,"
        "nParticipation,nDrugStartDate,nSecondaryDrug,dUpdateDate,nLastLinkID) VALUES "
        "(9010,'2023-01-01',9003,1,4,NULL,2008,9004,'2023-01-01',9010)",
        "INSERT INTO riskbehavior (nClientID,dDate,nUseDirtySyr,nGivingUsed,nDesinfectionWay,"
        "nLastInjectWith,nUsingCondom,nLastSexualPart,dUpdateDate,nLastLinkID) VALUES "
        "(9010,'2023-01-01',0,0,5,1,1,1,'2023-01-01',9010)",
        "INSERT INTO socialstatus (nClientID,dDate,nEploymentStatus,nEducationLevel,"
        "nPlaceOfLiving,nLegalProblem,nChildCount,bRegPolice,bNarcoDisp,dUpdateDate,nLastLinkID) "
        "VALUES (9010,'2023-01-01',2,3,2,1,1,0,1,'2023-01-01',9010)",
        "INSERT INTO healthstatus (nClientID,nDisease,nStatus,nTreatmentStartDate) VALUES "
        "(9010,1,5,2019),(9010,2,3,0),(9010,3,0,0),(9010,4,0,0),(9010,5,1,0)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nGroupID,bIsFolder) VALUES "
        "(9001,'2023-02-05',9001,9002,0,0)",
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,NPP,nVedID) VALUES "
        "(9001,9010,9005,10,0,0)",
        "INSERT INTO traininglist (ROWID,nTopicID,nNumberOfClients,nTimeInHours,dDate,nForType,"
        "nTrainingType,cName,cTrainers,nGroupID,bIsFolder) VALUES (9001,9006,2,3,'2023-03-01',1,1,"
        "'Безопасные инъекции','Петренко А.',0,0)",
        "INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES (9001,9010),(9001,9011)",
    };
    for (const char* s : rows)
        if (!sql->Execute(QString::fromUtf8(s)).isValid())
            qWarning("Not added: %s", s);
}

} // namespace

bool SaveClientPictures(QWidget* frame, const QDir& out) {
    Fill(g_pBaseSQLConnection.get());
    bool saved = true;
    CxDocManager* docs = CxDocManager::Instance();
    if (OpenDocument(QStringLiteral("CJClients")))
        saved =
            SaveWindowPicture(frame, out.filePath(QStringLiteral("clients_journal.png"))) && saved;
    if (auto* card = qobject_cast<CDClients*>(
            docs->OpenSQLEditForm(QStringLiteral("CDClients"), 9010, EA_EDIT))) {
        const char* names[] = {"card_base", "card_drugs",  "card_social",
                               "card_risk", "card_health", "card_visits"};
        for (int i = 0; i < card->Tab()->count(); ++i) {
            card->Tab()->SetCurSel(i);
            if (i == 5)
                if (auto* visits = qobject_cast<CDClientsVisits*>(card->Tab()->GetTabWindow(i)))
                    visits->AddVisitPage();
            saved =
                SaveWindowPicture(frame, out.filePath(QString::fromLatin1(names[i]) + ".png")) &&
                saved;
        }
        card->SetModified(false);
    }
    if (docs->OpenSQLEditForm(QStringLiteral("CDClients"), -1, EA_NEW))
        saved = SaveWindowPicture(frame, out.filePath(QStringLiteral("card_new.png"))) && saved;
    if (OpenDocument(QStringLiteral("CJTrainings")))
        saved = SaveWindowPicture(frame, out.filePath(QStringLiteral("trainings_journal.png"))) &&
                saved;
    if (docs->OpenSQLEditForm(QStringLiteral("CDTraining"), 9001, EA_EDIT))
        saved =
            SaveWindowPicture(frame, out.filePath(QStringLiteral("training_form.png"))) && saved;
    return saved;
}

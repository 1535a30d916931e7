#pragma once
// What the client card's tests stand on: a database at the current schema
// that the application's base connection uses, a configuration with the
// lists the tabs offer, the table set, a main window whose MDI area takes the
// windows, answers in place of the message boxes, and a small register:
// service points, workers, drugs, materials and three clients, one of them
// with a history in every tab.
#include "clients/card/client_card.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/documents/document.h"
#include "framework/core/table/self_register.h"
#include "tests/support/window_test_app.h"

#include <QStringList>
#include <QTest>

inline const char kCardConfiguration[] =
    "<CONFIGURATION><LANGUAGE>\n"
    "<PARTICIPANTPROGRAM><Item ID='2' Title='Метадон'/><Item ID='3' Title='Бупренорфин'/>"
    "</PARTICIPANTPROGRAM>\n"
    "<TOOLTIPS><Item Name='secIDU' Title='Потребители инъекционных наркотиков'/>"
    "<Item Name='secMSM' Title='Мужчины, практикующие секс с мужчинами'/></TOOLTIPS>\n"
    "</LANGUAGE></CONFIGURATION>\n";

class CardFixture : public WindowTestApp {
public:
    CardFixture() : WindowTestApp(QStringLiteral("card"), kCardConfiguration, QSize(1100, 800)) {
        CTarvikApp::RegisterDocTemplate(1258, CDClients::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
    }

    // Every case starts from these rows.
    void ResetRows() {
        for (const char* table : {"dir", "clientdata", "clientdatachanges", "drugusedata",
                                  "riskbehavior", "socialstatus", "healthstatus", "dailyreport",
                                  "dailyvisits", "dailyvisitssubhdr", "dailyredirects", "orginf"})
            m_db->Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        const char* rows[] = {
            "INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES (0,'OWN','Своя'),(7,'ORG7','Чужая')",
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nSpecFlags) VALUES (1,0,0,'Пункт А',1,0,0,0,0),(2,0,0,'Иванов',2,0,0,0,0),"
            "(3,0,0,'Героин',4,1,0,0,0),(4,0,0,'Метадон',4,1,0,0,0),"
            "(5,0,0,'Шприц 2 мл',3,65537,0,0,0),(6,0,0,'Консультация',3,458753,0,0,6),"
            "(8,0,0,'Тест на ВИЧ',3,262145,0,0,0)",
            "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bIsFolder,nGroupID,nSex,"
            "nBirthYear,dBirthDate,bNewCode,dEnterDate,nEthnicity,nRelCount,nRegionDataID,"
            "cAIDSCode) VALUES "
            "(10,'АБВ0587ч','АБВ0587ч',0,0,1,1987,'1987-01-01',1,'2020-01-01',0,0,0,'aids-10'),"
            "(11,'ГДЕ0190ж','',0,0,2,1990,'1990-01-01',1,'2020-01-01',0,0,7,NULL),"
            "(12,'ЖЗИ0285т',NULL,0,0,3,1985,'1985-01-01',1,'2020-01-01',0,0,0,NULL)",
            // Client 10: two dated rows in every history, the older with a
            // column no page shows; health rows; client 11 has rows whose
            // ROWIDs equal client 10's.
            "INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType,nClientType2,"
            "cAddress,nLastLinkID) VALUES (1,10,'2021-01-01',1,65536,'ул. Морская',NULL),"
            "(2,10,'2022-01-01',1,1,NULL,10)",
            "INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nMainRoute,nUseFrequency,"
            "nDrugStartDate,nDonorID,dUpdateDate,nLastLinkID) VALUES "
            "(1,10,'2021-01-01',3,1,4,2010,5,'2021-01-02',NULL),"
            "(2,10,'2022-01-01',4,3,5,2010,NULL,'2022-01-02',10)",
            "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr,nGivingUsed,"
            "nDesinfectionWay,nLastInjectWith,nUsingCondom,nLastSexualPart,dUpdateDate,"
            "nLastLinkID) VALUES (1,10,'2021-01-01',1,0,2,1,1,1,'2021-01-02',NULL),"
            "(2,10,'2022-01-01',0,0,5,1,99,99,'2022-01-02',10)",
            "INSERT INTO socialstatus (ROWID,nClientID,dDate,nEploymentStatus,nEducationLevel,"
            "nPlaceOfLiving,nLegalProblem,nChildCount,bRegPolice,bNarcoDisp,bVolonter,nOtherReg,"
            "dUpdateDate,nLastLinkID) VALUES (1,10,'2021-01-01',1,2,2,1,2,0,1,1,4,'2021-01-02',"
            "10)",
            "INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus,nTreatmentStartDate,"
            "nRegionDataID,dUpdateDate) VALUES (10,11,1,5,2015,7,'2020-01-01'),"
            "(11,10,2,3,0,0,'2020-01-01')",
        };
        for (const char* s : rows)
            m_db->Exec(QString::fromUtf8(s));
        m_questions.clear();
        m_answer = IDYES;
    }
};

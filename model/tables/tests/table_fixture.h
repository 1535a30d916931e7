#pragma once
// A few rows of each kind in a version-486 database, for the table-set tests.
#include "tests/support/schema_test_database.h"

// A few rows: two organisations, a town, directory rows of every kind (a
// folder among the workers, one row of kind 5 that no view shows), a client
// in a folder with its newest history row, a daily report with a visit.
inline void FillDescribedTables(TestDatabase& db) {
    const char* statements[] = {
        "INSERT INTO orginf VALUES (0,'OWN','Своя','','','','','','','','','','','','','',''),"
        "(7,'ORG7','Чужая','','','','','','','','','','','','','','')",
        "INSERT INTO towns VALUES (1,0,'Область','Область'),(2,1,'Город','Город, Область')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID,nUsluga,nDonorID,nConfigGroup,nSpeciality,nSpecFlags) VALUES "
        "(1,0,0,'Пункт',1,1,0,2,0,NULL,NULL,0,NULL,0),"
        "(2,0,1,'Папка работников',2,0,0,0,0,NULL,NULL,0,NULL,0),"
        "(3,2,0,'Работник А',2,0,0,0,7,5,NULL,1,1,0),"
        "(4,0,0,'Работник Б',2,0,0,0,0,NULL,NULL,0,NULL,0),"
        "(5,0,0,'Консультация',3,458753,0,0,0,NULL,12,0,NULL,1),"
        "(6,0,0,'Шприц',3,65537,0,0,0,NULL,NULL,0,NULL,0),"
        "(7,0,0,'Услуга',3,262145,0,0,0,NULL,NULL,0,NULL,0),"
        "(8,0,0,'Героин',4,1,0,0,0,NULL,NULL,0,NULL,0),"
        "(9,0,0,'Неизвестный вид',5,0,0,0,0,NULL,NULL,0,NULL,0),"
        "(10,0,0,'Тренинг',7,0,0,0,0,NULL,NULL,0,NULL,0),"
        "(11,0,0,'Группа',10,0,0,0,0,NULL,NULL,0,NULL,0),"
        "(12,0,0,'Донор',12,0,0,0,0,NULL,NULL,1,NULL,0),"
        "(13,0,0,'Пакет',11,0,0,0,0,NULL,NULL,0,NULL,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,dBirthDate,nSex,bIsFolder,nGroupID,"
        "nSocRab,nRegionDataID,nEthnicity,nRelCount) VALUES (1,'Папка клиентов',NULL,NULL,NULL,1,"
        "0,NULL,0,0,0),(2,'АБВ0190Ч',1990,'1990-01-01',1,0,1,3,0,0,0),"
        "(3,'ГДЕ0285Ж',1985,'1985-02-02',2,0,0,NULL,7,0,0)",
        "INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType,nClientType2,"
        "nLastLinkID) VALUES (1,2,'2020-01-01',2,0,NULL),(2,2,'2021-01-01',1,4,2)",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr,nLastLinkID) VALUES "
        "(1,2,'2021-01-01',1,2)",
        "INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nDonorID,nLastLinkID) VALUES "
        "(1,2,'2021-01-01',8,12,2)",
        "INSERT INTO socialstatus (ROWID,nClientID,dDate,bRegPolice,nLastLinkID) VALUES "
        "(1,2,'2021-01-01','1',2)",
        "INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus) VALUES (1,2,1,3)",
        "INSERT INTO traininglist (ROWID,nTopicID,nTimeInHours,cName,nGroupID,bIsFolder,nDonorID,"
        "nRegionDataID) VALUES (1,NULL,0,'Папка "
        "тренингов',0,1,NULL,0),(2,10,12,'Занятие',1,0,12,0)",
        "INSERT INTO trainingssubdata VALUES (2,2,0)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,cComment,"
        "nGroupID,bIsFolder,nRegionDataID,nProject) VALUES (1,'1900-01-01',-1,-1,-1,-1,'Папка "
        "отчетов',0,1,0,0),(2,'2021-03-04',3,4,-1,1,'Отчет',1,0,0,1)",
        "INSERT INTO dailyvisitssubhdr VALUES (2,1,-1,-1,100,0,0),(2,1,6,0,50,1,0)",
        "INSERT INTO dailyredirects VALUES (2,5,3,1,4,0)",
        "INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP,nVedID) VALUES "
        "(1,2,2,6,5,0,1),(2,2,2,7,5,0,1),(3,2,2,5,5,0,1),(4,2,2,6,0,0,1)",
        "INSERT INTO strtoid VALUES (1,3,'Строка',7)",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}

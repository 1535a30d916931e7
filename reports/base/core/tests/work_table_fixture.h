#pragma once
// A small database of reports, visits and dated histories whose work tables
// are computed by hand in the tests (see the comments at each row).
#include "tests/support/test_database.h"

#include <QStringList>

// Materials (directory type 3):
//   100 syringe 2 ml  (65538, grouped under 510)      -> lists: 510 and 65538
//   101 needle        (131073, no group)              -> lists: 131073
//   102 other service (266239, configured group 1004) -> lists: 266239; visits also 263148
//   103 consultation  (462847, grouped under 580)     -> consultations: 580
//   104 consultation  (458753, no group, configured 7) -> consultations: -7
//   105 a folder, 106 a hidden consultation without group or configuration
// Service points (type 1): 1 "Центр" (org 1, town 10, type 1), 2 "Аптека`5"
//   (org 1, town 11, type 3), 3 "Выезд" (org 5, town 12, type 1). Workers 50, 51.
// Towns: 10 "Город А"; 11 "Район Б" in 10; 12 "Город В" in the missing 99.
// Reports (date, point, worker, project):
//   1 2012-01-10 p1 w50 pr1   2 2012-01-10 p2 w51 pr1   3 2012-03-05 p1 w50 pr2
//   4 2012-12-31 p3 w50 pr1   5 2011-12-31 p1 w50 pr1   6 no date    p1 w50 pr1
//   7 2013-01-01 p2 w51 pr1   8 2012-06-01 p1 w50 pr1
// Clients (code, new-code flag, sex, birth year):
//   1 ABC0180M 1 1 1980        2 abc0180m`512 1 1 1980 (same person as 1)
//   3 abc0180m`77 0 1 1980 (a key of its own)      4 DEF0290F 1 2 1990
//   5 DEF0290F`9 1 2 1991 (another year)           6 GHI0000M 1 NULL 2000
//   7 GHI0000M`1 1 NULL 2000 (unknown sex: a person of its own)
//   8 a folder, 9 without visits
inline void LoadWorkTableFixture(const TestDatabase& db) {
    const QStringList statements = {
        "INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES (1,'ORG1','Первая'),(5,'ORG5','Пятая')",
        "INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) VALUES (10,0,'Город А','Город "
        "А'),(11,10,'Район Б','Район Б, Город А'),(12,99,'Город В','Город В')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID) VALUES "
        "(1,0,0,0,10,'Центр',1,1,0,1),(2,0,0,0,11,'Аптека`5',1,3,0,1),(3,0,0,0,12,'Выезд',1,1,0,5),"
        "(50,0,0,0,0,'Иванов',2,0,0,0),(51,0,0,0,0,'Петров',2,0,0,0),"
        "(100,0,0,0,0,'Шприц 2мл',3,65538,0,0),(101,0,0,0,0,'Игла',3,131073,0,0),"
        "(102,0,0,0,0,'Прочие услуги',3,266239,1004,0),"
        "(103,0,0,0,0,'Консультация специалиста',3,462847,0,0),"
        "(104,0,0,0,0,'Консультация юриста',3,458753,7,0),"
        "(105,0,1,0,0,'Папка',3,65538,0,0),(106,0,0,1,0,'Старая консультация',3,458754,0,0)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nProject,nRegionDataID,nGroupID,"
        "bIsFolder) VALUES (1,'2012-01-10',1,50,1,1,0,0),(2,'2012-01-10',2,51,1,1,0,0),"
        "(3,'2012-03-05',1,50,2,1,0,0),(4,'2012-12-31',3,50,1,5,0,0),(5,'2011-12-31',1,50,1,1,0,0),"
        "(6,NULL,1,50,1,1,0,0),(7,'2013-01-01',2,51,1,1,0,0),(8,'2012-06-01',1,50,1,1,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bNewCode,nSex,nBirthYear,bIsFolder,"
        "nRegionDataID,nEthnicity,nRelCount,bSecondary,bPDI) VALUES "
        "(1,'ABC0180M','X1',1,1,1980,0,1,0,0,1,0),(2,'abc0180m`512',NULL,1,1,1980,0,1,0,0,0,0),"
        "(3,'abc0180m`77',NULL,0,1,1980,0,1,0,0,0,0),(4,'DEF0290F',NULL,1,2,1990,0,1,0,0,0,1),"
        "(5,'DEF0290F`9',NULL,1,2,1991,0,5,0,0,0,0),(6,'GHI0000M',NULL,1,NULL,2000,0,1,0,0,0,0),"
        "(7,'GHI0000M`1',NULL,1,NULL,2000,0,1,0,0,0,0),(8,'Папка',NULL,1,1,1980,1,1,0,0,0,0),"
        "(9,'JKL0101M',NULL,1,1,2001,0,1,0,0,0,0)",
        // (report, client, item, count)
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES "
        "(1,1,100,10),(1,1,103,34),(1,2,101,5),"
        "(2,2,100,3),(2,3,102,1),"
        "(3,1,100,2),(3,4,104,4),"
        "(4,1,100,1),(4,5,103,3),"
        "(5,4,100,7),(5,2,101,1),"
        "(6,6,100,9),"
        "(7,6,100,1),(7,7,101,2),"
        "(8,1,101,1)",
        // Histories. Client 1: two risk groups; a risk-behaviour row without a
        // date (left out); drug use and social status once.
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2) VALUES "
        "(1,'2010-05-01',1,NULL),(1,'2011-03-15',2,8192),(4,'2012-06-01',4,0),(5,'2012-01-01',2,0)",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr) VALUES "
        "(1,1,NULL,3),(2,1,'2012-02-01',1)",
        "INSERT INTO drugusedata (nClientID,dDate,nBasicDrug) VALUES (1,'2009-01-01',5)",
        "INSERT INTO socialstatus (nClientID,dDate,bRegPolice,nEploymentStatus) VALUES "
        "(1,'2012-01-01','1',NULL)",
    };
    for (const QString& statement : statements)
        db.Exec(statement);
}

#pragma once
// The period reports' test data: a few service points, workers, materials,
// clients with dated histories, daily reports and trainings, small enough
// that every figure of every report is worked out by hand in the tests.
//
// Towns: 10 "Область А" (top) with 11 "Город Б" and 12 "Город В"; 20 "Область
// Г" (top) with 21 "Город Д".
// Service points (dir type 1): 1 "Центр" (mobile, type 1, town 11),
// 2 "Аптека" (pharmacy, type 3, town 11), 3 "Офис" (office, type 2, town 12),
// all of the own organisation; 4 "Чужой" (type 1, town 21, organisation 5) is
// never chosen. Workers: 50 "Иванов", 51 "Петров". Drug 90 (opiates).
// Materials (dir type 3) and their groups:
//   100 syringe 2 ml   65538  -> 510 "Шприцы"
//   101 needle         131073 -> 560 "Иглы"
//   102 booklet        327681 -> 520 "ИОМ"
//   103 male condom    524289 -> 530 "Мужские презервативы"
//   104 female condom  524290 -> 535 "Женские презервативы"
//   105 collected syr. 393217 -> 400 "Собрано шприцев"
//   106 other services 266239, configured group 1004 -> community centre 263148
//   107 consultation   462847 -> 580 "Консультации" (kinds by bit)
// Clients (code, sex, birth year, PDI):
//   1 AAA0180M   male 1980          2 aaa0180m`7 male 1980 (the same person)
//   3 BBB0290F   female 1990 PDI    4 CCC0395M   male 1995
//   5 DDD0485T   trans 1985         6 EEE0500F   female 2000
//   7 FFF0170M   male 1970          8 a folder
//   9 GGG0388F   female 1988 PDI
// Vulnerable groups (clientdatachanges): 1: 2010-01-01 group 1 (and the
// volunteer mark), 2012-07-01 group 1; 3: 2011-05-01 group 2; 4 and 5:
// 2012-02-01 group 4; 6: 2012-03-01 groups 2+4; 7: 2013-03-01 group 1 (after
// every period); 9: 2012-10-01 group 2. Client 2 has none.
// Daily reports (date, point, worker, project bits):
//   1 2011-11-10 p1 w50 1      2 2012-01-15 p1 w50 1     3 2012-01-20 p2 w51 1
//   4 2012-02-10 p3 w50 2      5 2012-10-05 p1 w50 1     6 2012-11-12 p2 w51 3
//   7 2012-12-20 p1 w50 1      8 2012-12-28 p4 w50 1     9 2013-01-05 p1 w50 1
//  10 2012-10-20 p3 w50 1     11 2012-11-25 p3 w50 1
// Visits (report: client item count):
//   1: 1 100 5
//   2: 1 100 10, 1 101 4, 3 102 1, 2 100 2
//   3: 3 103 3, 4 100 1
//   4: 5 104 2, 1 106 1, 6 105 7
//   5: 4 100 3, 4 107 34 (kinds 32+2), 6 106 3, 9 100 2
//   6: 5 100 2, 6 103 4, 3 107 3 (kinds 1+2)
//   7: 1 100 1, 7 101 6, 2 102 2, 5 100 1
//   8: 4 100 50
//   9: 1 100 9
//  10: 5 101 1
//  11: 5 101 1
// So: first visits 1: 2011-11-10 at p1; 2, 3: 2012-01-15 p1; 4: 2012-01-20
// p2; 5, 6: 2012-02-10 p3; 7: 2012-12-20 p1; 9: 2012-10-05 p1. Client 5 is
// the one regular client of 2012 (group 4, reports 6, 7, 10, 11 in three
// months of the last quarter).
// Trainings (topic 200 "Профилактика ВИЧ", 201 "Снижение вреда"; target
// group 1 clients, 2 workers):
//   1 2012-03-01 topic 200 group 1, 10 people, 2 h, participants 1, 3
//   2 2012-05-01 topic 200 group 1, 5 people, 3 h, participants 1, 4
//   3 2012-06-01 topic 201 group 2, 4 people, 1 h, participants 50, 1
//   4 2012-07-01 topic 201 group 2, 6 people, 2 h, no participants
//   5 2012-08-01 topic 200 group 1, 7 people, 4 h, organisation 5 (not chosen)
//   6 2013-02-01 topic 200 group 1, 1 person, 1 h (after the period)
//   7 a folder dated 2012-04-01
//   8 2012-09-01 topic 999 (deleted) group 1, 3 people, 1 h, participant 9
#include "tests/support/test_database.h"

#include <QStringList>

inline QString PeriodTestLists() {
    return QStringLiteral(
        "<MATGROUPS>"
        "<Item ID='400' Title='Собрано шприцев'/><Item ID='510' Title='Шприцы'/>"
        "<Item ID='520' Title='ИОМ'/><Item ID='530' Title='Мужские презервативы'/>"
        "<Item ID='535' Title='Женские презервативы'/><Item ID='560' Title='Иглы'/>"
        "<Item ID='580' Title='Консультации'/>"
        "<Item ID='65538' Title='Шприц 2мл' Group='510'/>"
        "<Item ID='131073' Title='Игла' Group='560'/>"
        "<Item ID='327681' Title='Буклет' Group='520'/>"
        "<Item ID='524289' Title='Мужской презерватив' Group='530'/>"
        "<Item ID='524290' Title='Женский презерватив' Group='535'/>"
        "<Item ID='393217' Title='Собранный шприц' Group='400'/>"
        "<Item ID='462847' Title='Консультация' Group='580'/>"
        "</MATGROUPS>"
        "<AGEGROUP><Item ID='0' Name='0-17'/><Item ID='18' Name='18-29'/>"
        "<Item ID='30' Name='30 и старше'/></AGEGROUP>"
        "<PRJLIST><Item ID='1' Title='Основной'/><Item ID='2' Title='РКС'/></PRJLIST>");
}

inline void LoadPeriodFixture(const TestDatabase& db) {
    const QStringList statements = {
        "INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES (5,'ORG5','Пятая')",
        "INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) VALUES (10,0,'Область А','Область "
        "А'),(11,10,'Город Б','Город Б'),(12,10,'Город В','Город В'),(20,0,'Область Г','Область "
        "Г'),(21,20,'Город Д','Город Д')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID,nSpecFlags) VALUES "
        "(1,0,0,0,11,'Центр',1,1,0,0,0),(2,0,0,0,11,'Аптека',1,3,0,0,0),"
        "(3,0,0,0,12,'Офис',1,2,0,0,0),(4,0,0,0,21,'Чужой',1,1,0,5,0),"
        "(50,0,0,0,0,'Иванов',2,0,0,0,0),(51,0,0,0,0,'Петров',2,0,0,0,0),"
        "(90,0,0,0,0,'Героин',4,1,0,0,0),"
        "(100,0,0,0,0,'Шприц 2мл',3,65538,0,0,0),(101,0,0,0,0,'Игла',3,131073,0,0,0),"
        "(102,0,0,0,0,'Буклет',3,327681,0,0,0),(103,0,0,0,0,'Мужской презерватив',3,524289,0,0,0),"
        "(104,0,0,0,0,'Женский презерватив',3,524290,0,0,0),"
        "(105,0,0,0,0,'Собранный шприц',3,393217,0,0,0),"
        "(106,0,0,0,0,'Прочие услуги',3,266239,1004,0,0),"
        "(107,0,0,0,0,'Консультация',3,462847,0,0,1),"
        "(200,0,0,0,0,'Профилактика ВИЧ',7,0,0,0,0),(201,0,0,0,0,'Снижение вреда',7,0,0,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,bNewCode,nSex,nBirthYear,bIsFolder,"
        "nRegionDataID,nEthnicity,nRelCount,bSecondary,bPDI) VALUES "
        "(1,'AAA0180M',1,1,1980,0,0,0,0,1,0),(2,'aaa0180m`7',1,1,1980,0,0,0,0,0,0),"
        "(3,'BBB0290F',1,2,1990,0,0,0,0,0,1),(4,'CCC0395M',1,1,1995,0,0,0,0,0,0),"
        "(5,'DDD0485T',1,3,1985,0,0,0,0,0,0),(6,'EEE0500F',1,2,2000,0,0,0,0,0,0),"
        "(7,'FFF0170M',1,1,1970,0,0,0,0,0,0),(8,'Папка',1,1,1980,1,0,0,0,0,0),"
        "(9,'GGG0388F',1,2,1988,0,0,0,0,0,1)",
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2) VALUES "
        "(1,'2010-01-01',1,8192),(1,'2012-07-01',1,0),(3,'2011-05-01',2,0),(4,'2012-02-01',4,0),"
        "(5,'2012-02-01',4,0),(6,'2012-03-01',6,0),(7,'2013-03-01',1,0),(9,'2012-10-01',2,0)",
        "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nProject,nRegionDataID,nGroupID,"
        "bIsFolder) VALUES (1,'2011-11-10',1,50,1,0,0,0),(2,'2012-01-15',1,50,1,0,0,0),"
        "(3,'2012-01-20',2,51,1,0,0,0),(4,'2012-02-10',3,50,2,0,0,0),"
        "(5,'2012-10-05',1,50,1,0,0,0),(6,'2012-11-12',2,51,3,0,0,0),"
        "(7,'2012-12-20',1,50,1,0,0,0),(8,'2012-12-28',4,50,1,5,0,0),"
        "(9,'2013-01-05',1,50,1,0,0,0),(10,'2012-10-20',3,50,1,0,0,0),"
        "(11,'2012-11-25',3,50,1,0,0,0)",
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES "
        "(1,1,100,5),"
        "(2,1,100,10),(2,1,101,4),(2,3,102,1),(2,2,100,2),"
        "(3,3,103,3),(3,4,100,1),"
        "(4,5,104,2),(4,1,106,1),(4,6,105,7),"
        "(5,4,100,3),(5,4,107,34),(5,6,106,3),(5,9,100,2),"
        "(6,5,100,2),(6,6,103,4),(6,3,107,3),"
        "(7,1,100,1),(7,7,101,6),(7,2,102,2),(7,5,100,1),"
        "(8,4,100,50),(9,1,100,9),(10,5,101,1),(11,5,101,1)",
        "INSERT INTO traininglist (ROWID,dDate,nTopicID,nForType,nNumberOfClients,nTimeInHours,"
        "nRegionDataID,bIsFolder,nGroupID) VALUES "
        "(1,'2012-03-01',200,1,10,2,0,0,0),(2,'2012-05-01',200,1,5,3,0,0,0),"
        "(3,'2012-06-01',201,2,4,1,0,0,0),(4,'2012-07-01',201,2,6,2,0,0,0),"
        "(5,'2012-08-01',200,1,7,4,5,0,0),(6,'2013-02-01',200,1,1,1,0,0,0),"
        "(7,'2012-04-01',200,1,9,9,0,1,0),(8,'2012-09-01',999,1,3,1,0,0,0)",
        "INSERT INTO trainingssubdata (nTrainingID,nClientID,nRegionDataID) VALUES "
        "(1,1,0),(1,3,0),(2,1,0),(2,4,0),(3,50,0),(3,1,0),(5,5,0),(6,6,0),(7,7,0),(8,9,0)",
    };
    for (const QString& statement : statements)
        db.Exec(statement);
}

#pragma once
// A small database of visits whose report figures are computed by hand in
// the tests (see test_visits_reports.cpp).
//
// Service points (type 1): 1 "Центр <b>" (town 11), 2 "Аптека" (town 10),
//   3 "Выезд" (town 11, never chosen). Towns: 10 "Город А" (a region),
//   11 "Район Б" in 10. Workers 50, 51.
// Materials (type 3): 100 "Шприц <2мл>" 0x10002 (list 510), 101 "Игла"
//   0x20001 (list 520), 102 "Консультация" 0x70001 (list 580, configured
//   group 7).
// Reports (date, point, worker):
//   1 2012-01-10 p1 w50   2 2012-01-20 p2 w51   3 2012-02-05 p1 w50
//   4 2012-03-15 p3 w50   5 2011-12-20 p1 w50   6 2012-01-25 p1 w50
//   7 2012-04-01 p1 w50   101..112 the 15th of each month of 2012 p2 w51
//   201..207 2012-01-02..08 p2 w51   8 2014-06-01 p1 w50
// Clients (code, sex, birth year): 1 AAA0180M 1 1980 (comment with markup
//   and a placeholder, secondary exchange, organisation 1); 2 BBB0290F 2 1990
//   (PDI); 3 CCC0300M`17 1 2000 (old code CCC0300M: a key of its own,
//   "CCC0300M`3"); 4 DDD0185F unknown sex 1985; 5 EEE0100M 1 2001;
//   6 FFF0170M 1 1970; 7 AAA0180M`5 1 1980 (another record of the person of
//   c1: the same person key).
// Visits (report: client item count):
//   1: c1 syringe 10, c1 needle 5, c2 syringe 3, c4 consultation 34 (kinds 32|2)
//   2: c1 syringe 2, c3 needle 4          3: c1 syringe 1, c2 needle 2
//   4: c5 syringe 7                       5: c2 syringe 9
//   6: c1 needle 1, c4 syringe 6          7: c5 syringe 1
//   101..112, 201..207: c6 syringe 1 each
//   8: c1 syringe 1, c7 syringe 1
// Client types (date type type2, * = current record):
//   c1 2011-01-01 1 8192, 2012-06-01 6 8192*; c2 2012-03-01 1 0, 2013-05-01 4 0*;
//   c3 2013-01-05 2 0*; c6 2012-01-01 1 0*; c4, c5 none.
// Redirections: report 1 item 102 kinds 4|8 count 3; report 4 (p3) kind 4 count 5.
// Trainings (date topic for clients hours; people):
//   1 2012-03-01 300 1 10 2 (c1, c2)   2 2012-04-01 300 2 5 3 (c1)
//   3 2012-05-01 301 1 7 1 (none)       4 2013-01-01 301 1 100 9 (c1)
#include "tests/support/test_database.h"

#include <QStringList>

inline QString VisitsFixtureLists() {
    return QStringLiteral("<MATGROUPS>"
                          "<Item ID='510' Title='Шприцы'/>"
                          "<Item ID='520' Title='Иглы'/>"
                          "<Item ID='580' Title='Консультации'/>"
                          "<Item ID='65538' Title='Шприц 2мл' Group='510'/>"
                          "<Item ID='131073' Title='Игла' Group='520'/>"
                          "<Item ID='458753' Title='Консультация' Group='580'/>"
                          "</MATGROUPS>"
                          // Groups are titled by Name (an empty one by their bounds), never
                          // by Title.
                          "<AGEGROUP><Item ID='15'/><Item ID='25' Name='25-34' Title='от 25'/>"
                          "<Item ID='35' Name='35 и старше' Title='35'/></AGEGROUP>"
                          "<DIRECTIONANDCONSULTING><Item ID='7' Title='Юрист'/>"
                          "</DIRECTIONANDCONSULTING>");
}

inline void LoadVisitsFixture(const TestDatabase& db) {
    QStringList s = {
        "INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES (1,'ORG<1>','Первая')",
        "INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) VALUES (10,0,'Город А','Город "
        "А'),(11,10,'Район Б','Район Б, Город А')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID) VALUES "
        "(1,0,0,0,11,'Центр "
        "<b>',1,1,0,0),(2,0,0,0,10,'Аптека',1,3,0,0),(3,0,0,0,11,'Выезд',1,1,0,0),"
        "(50,0,0,0,0,'Иванов',2,0,0,0),(51,0,0,0,0,'Петров',2,0,0,0),"
        "(100,0,0,0,0,'Шприц <2мл>',3,65538,0,0),(101,0,0,0,0,'Игла',3,131073,0,0),"
        "(102,0,0,0,0,'Консультация',3,458753,7,0),"
        "(300,0,0,0,0,'Тема <A>',6,0,0,0),(301,0,0,0,0,'Тема Б',6,0,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bNewCode,nSex,nBirthYear,bIsFolder,"
        "nRegionDataID,bSecondary,bPDI,cComment) VALUES "
        "(1,'AAA0180M',NULL,1,1,1980,0,1,1,0,'<script>x</script> %TITLE%'),"
        "(2,'BBB0290F',NULL,1,2,1990,0,0,0,1,NULL),"
        "(3,'CCC0300M`17','CCC0300M',1,1,2000,0,0,0,0,NULL),"
        "(4,'DDD0185F',NULL,1,NULL,1985,0,0,0,0,NULL),"
        "(5,'EEE0100M',NULL,1,1,2001,0,0,0,0,NULL),"
        "(6,'FFF0170M',NULL,1,1,1970,0,0,0,0,NULL),"
        "(7,'AAA0180M`5',NULL,1,1,1980,0,0,0,0,NULL)",
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2,nLastLinkID) "
        "VALUES "
        "(1,'2011-01-01',1,8192,NULL),(1,'2012-06-01',6,8192,1),(2,'2012-03-01',1,0,NULL),"
        "(2,'2013-05-01',4,0,2),(3,'2013-01-05',2,0,3),(6,'2012-01-01',1,0,6)",
    };
    QString reports = QStringLiteral(
        "INSERT INTO dailyreport "
        "(ROWID,dDate,nWorkPlace,nWorker1,nRegionDataID,nGroupID,bIsFolder) "
        "VALUES "
        "(1,'2012-01-10',1,50,0,0,0),(2,'2012-01-20',2,51,0,0,0),(3,'2012-02-05',1,50,0,0,0),"
        "(4,'2012-03-15',3,50,0,0,0),(5,'2011-12-20',1,50,0,0,0),(6,'2012-01-25',1,50,0,0,0),"
        "(7,'2012-04-01',1,50,0,0,0),(8,'2014-06-01',1,50,0,0,0)");
    QString visits = QStringLiteral(
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES "
        "(1,1,100,10),(1,1,101,5),(1,2,100,3),(1,4,102,34),(2,1,100,2),(2,3,101,4),(3,1,100,1),"
        "(3,2,101,2),(4,5,100,7),(5,2,100,9),(6,1,101,1),(6,4,100,6),(7,5,100,1),(8,1,100,1),"
        "(8,7,100,1)");
    for (int m = 1; m <= 12; ++m) {
        reports += QStringLiteral(",(%1,'2012-%2-15',2,51,0,0,0)")
                       .arg(100 + m)
                       .arg(m, 2, 10, QLatin1Char('0'));
        visits += QStringLiteral(",(%1,6,100,1)").arg(100 + m);
    }
    for (int d = 2; d <= 8; ++d) {
        reports += QStringLiteral(",(%1,'2012-01-0%2',2,51,0,0,0)").arg(199 + d).arg(d);
        visits += QStringLiteral(",(%1,6,100,1)").arg(199 + d);
    }
    s << reports << visits;
    s << QStringLiteral("INSERT INTO dailyredirects (nReportID,nItem,nConsultKey,nCount) VALUES "
                        "(1,102,12,3),(4,102,4,5)");
    s << QStringLiteral(
        "INSERT INTO traininglist (ROWID,dDate,nTopicID,nForType,nNumberOfClients,"
        "nTimeInHours) VALUES (1,'2012-03-01',300,1,10,2),(2,'2012-04-01',300,2,5,3),"
        "(3,'2012-05-01',301,1,7,1),(4,'2013-01-01',301,1,100,9)");
    s << QStringLiteral("INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES "
                        "(1,1),(1,2),(2,1),(4,1)");
    for (const QString& statement : std::as_const(s))
        db.Exec(statement);
}

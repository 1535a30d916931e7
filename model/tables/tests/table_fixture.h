#pragma once
// A version-486 database with the sixteen described tables and a few rows of
// each kind, for the table-set tests.
#include "tests/support/test_database.h"

inline void CreateDescribedTables(TestDatabase& db) {
    const char* statements[] = {
        "CREATE TABLE clientdata (ROWID int(11) NOT NULL auto_increment, cClientCode varchar(64) "
        "default NULL, dEnterDate date default NULL, dUpdateDate date default NULL, nBirthYear "
        "int(11) default NULL, dStartInPrjDate date default NULL, nSex int(11) default NULL, "
        "cComment mediumtext, bSecondary tinyint default '0' NOT NULL, bIsFolder TINYINT not NULL, "
        "nGroupID int default '0' NOT NULL, dBirthDate date default NULL, cSurname varchar(32) "
        "default NULL, cName varchar(32) default NULL, cPatname varchar(32) default NULL, nSocRab "
        "INT, nRegionDataID INT default 0, cAIDSCode varchar(64), cGlobalCode varchar(255), bPDI "
        "TINYINT NOT NULL default 0, cOClientCode varchar(64) default NULL, nEthnicity INT NOT "
        "NULL, nRelCount INT NOT NULL, bNewCode TINYINT NOT NULL default 0, PRIMARY KEY (ROWID), "
        "UNIQUE KEY cClientCode (cClientCode)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE dailyredirects (nReportID int(11) default NULL, nItem int(11) default NULL, "
        "nCount int(11) default NULL, nVedID INT, nConsultKey TINYINT UNSIGNED, nRegionDataID INT "
        "default 0, UNIQUE KEY i1 (nReportID,nVedID,nItem,nConsultKey)) ENGINE=InnoDB DEFAULT "
        "CHARSET=utf8",
        "CREATE TABLE dailyreport (ROWID int(11) NOT NULL auto_increment, dDate date default "
        "'1900-01-01', nWorker1 INT NOT NULL DEFAULT -1, nWorker2 INT NOT NULL DEFAULT -1, "
        "nWorker3 INT NOT NULL DEFAULT -1, nWorkPlace INT NOT NULL DEFAULT -1, cComment "
        "varchar(50) default NULL, nGroupID INT not NULL, bIsFolder TINYINT not NULL, "
        "nRegionDataID INT NOT NULL DEFAULT 0, nCrc INT default NULL, nProject INT NOT NULL "
        "DEFAULT 0, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE dailyvisits (nReportID INT NOT NULL DEFAULT 0, nClientID INT NOT NULL "
        "DEFAULT 0, nItem INT NOT NULL DEFAULT 0, nCount INT NOT NULL DEFAULT 0, NPP INT NOT NULL "
        "DEFAULT 0, nVedID INT NOT NULL DEFAULT 0, ROWID BIGINT PRIMARY KEY AUTO_INCREMENT, "
        "nRegionDataID INT NOT NULL DEFAULT 0) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE dir (ROWID int(11) NOT NULL auto_increment, nGroupID INT not NULL, bIsFolder "
        "TINYINT not NULL, cString varchar(255) default NULL, cDescription mediumtext, bVisible "
        "char(1) default '1', cOtherInfo mediumtext, nMinValue int(11) default NULL, nMaxValue "
        "int(11) default NULL, nDefValue int(11) default NULL, nDirType int(11) default NULL, "
        "nType "
        "int(11) default NULL, nRegionID int(11) default '0', nCircul int(11) default NULL, "
        "nProdType int(11) default NULL, nUseType int(11) default NULL, bHidden tinyint NOT NULL, "
        "nPubType int(11) default '0', nSource int(11) default '0', nAuditory int(11) default '0', "
        "nOrder int(11) default '0', bByCode TINYINT default 0, nSpecFlags INT default 0, nUsluga "
        "INT, nConfigGroup INT default 0, nSortCode INT default 100, nSpeciality INT, nDonorID "
        "INT, nRegionDataID INT NOT NULL default 0, cFlatCode VARCHAR(255) default NULL, nTown INT "
        "NOT NULL, PRIMARY KEY (ROWID), UNIQUE KEY nDirTypeString (nDirType,cString)) "
        "ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE drugusedata (ROWID INT NOT NULL AUTO_INCREMENT, dUpdateDate date default "
        "NULL, nBasicDrug int(11) default NULL, nMainRoute int(11) default NULL, nSecondaryDrug "
        "int(11) default NULL, nUseFrequency int(11) default NULL, nParticipation int(11) default "
        "NULL, nDrugStartDate int(11) default NULL, dDate DATE, nClientID INT, nRecordType INT "
        "default 1, nDonorID INT, nZTCancelReason INT, nLastLinkID INT default NULL, nRegionDataID "
        "INT default 0, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE healthstatus (ROWID int(11) NOT NULL auto_increment, nClientID int(11) "
        "default NULL, nDisease int(11) default NULL, nStatus int(11) default NULL, "
        "nTreatmentStartDate int(11) default '0', dUpdateDate date default NULL, nRegionDataID INT "
        "default 0, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE riskbehavior (ROWID INT NOT NULL AUTO_INCREMENT, nUseDirtySyr tinyint(4) "
        "default NULL, nDesinfectionWay tinyint(4) default NULL, nGivingUsed tinyint(4) default "
        "NULL, nLastInjectWith tinyint(4) default NULL, nUsingCondom tinyint(4) default NULL, "
        "nLastSexualPart tinyint(4) default NULL, dUpdateDate date default NULL, dDate DATE, "
        "nClientID INT, nLastLinkID INT default NULL, nRegionDataID INT default 0, UNIQUE KEY i2 "
        "(ROWID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE socialstatus (ROWID int(11) NOT NULL auto_increment, nEploymentStatus "
        "int(11) default NULL, cOtherEployment varchar(30) default NULL, nPlaceOfLiving int(11) "
        "default NULL, nEducationLevel int(11) default NULL, nLegalProblem int(11) default NULL, "
        "nChildCount int(11) default NULL, dUpdateDate date default NULL, bRegPolice char(1) "
        "default NULL, bNarcoDisp char(1) default NULL, nClientID INT, dDate DATE, bVolonter "
        "TINYINT DEFAULT 0, nLastLinkID INT default NULL, nRegionDataID INT default 0, nOtherReg "
        "INT, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE traininglist (ROWID int(11) NOT NULL auto_increment, nTopicID int(11) "
        "default NULL, nNumberOfClients int(11) default NULL, nTimeInHours int(11) default NULL, "
        "dDate date default NULL, cTrainers mediumtext, cComment mediumtext, nForType int(11) "
        "default NULL, cName varchar(254), nGroupID int(11) default '0', bIsFolder tinyint(4) "
        "default '0', cFCompanyName varchar(255) default NULL, nDonorID INT, nRegionDataID INT "
        "default 0, nTrainingType INT default 1, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT "
        "CHARSET=utf8",
        "CREATE TABLE clientdatachanges (ROWID INT NOT NULL PRIMARY KEY AUTO_INCREMENT, nClientID "
        "int(11) default NULL, dDate DATE NOT NULL, cComment mediumtext, nClientType int(11) "
        "default NULL, cAddress varchar(128) default NULL, nLastLinkID INT, nRegionDataID INT "
        "default 0, nClientType2 int default NULL) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE trainingssubdata (nTrainingID INT, nClientID INT, nRegionDataID INT default "
        "0, UNIQUE INDEX (nTrainingID,nClientID)) ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE dailyvisitssubhdr (nReportID INT, nVedID INT, nKeyFirst INT, nKeySecond "
        "INT, nWidth INT, nPos INT, nRegionDataID INT default 0, INDEX (nReportID,nVedID)) "
        "ENGINE=InnoDB DEFAULT CHARSET=utf8",
        "CREATE TABLE strtoid (ROWID int(11) NOT NULL auto_increment, nGroupID INT NOT NULL, cStr "
        "varchar(254) NOT NULL, nRegionDataID INT NOT NULL, PRIMARY KEY (ROWID)) ENGINE=InnoDB "
        "DEFAULT CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
        "CREATE TABLE towns (ROWID INT NOT NULL PRIMARY KEY, nGroupID INT NOT NULL, cShortName "
        "varchar(255) NOT NULL, cFullName varchar(255) NOT NULL) ENGINE=InnoDB DEFAULT "
        "CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
        "CREATE TABLE orginf (ROWID INT NOT NULL, cOrgID varchar(64) not null, cOrgName "
        "varchar(254) NOT NULL, cPrjName varchar(254) NOT NULL, cSogName varchar(254) NOT NULL, "
        "cCity varchar(254) NOT NULL, cRegion varchar(254) NOT NULL, cAddress varchar(254) NOT "
        "NULL, cPhone varchar(254) NOT NULL, cEMail varchar(254) NOT NULL, cWWW varchar(254) NOT "
        "NULL, cBoss varchar(254) NOT NULL, cBossPhone varchar(254) NOT NULL, cProjRuk "
        "varchar(254) NOT NULL, cProjRukPhone varchar(254) NOT NULL, cDonors varchar(254) NOT "
        "NULL, cProjectDate varchar(254) NOT NULL, PRIMARY KEY (ROWID)) ENGINE=InnoDB DEFAULT "
        "CHARSET=ucs2 COLLATE=ucs2_unicode_ci",
    };
    for (const char* s : statements)
        db.Exec(QString::fromUtf8(s));
}

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

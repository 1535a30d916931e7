#include "old_archive_fixture.h"

QByteArray Cp1251(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            out += char(u);
        else if (u >= 0x410 && u <= 0x44F)
            out += char(0xC0 + (u - 0x410));
        else if (u == 0x401)
            out += char(0xA8);
        else if (u == 0x451)
            out += char(0xB8);
        else
            out += '?';
    }
    return out;
}

TestValue T(const QString& text) {
    return Text(Cp1251(text));
}
TestValue N(qint64 n) {
    return Literal(QByteArray::number(n));
}
TestValue D(const char* date) {
    return Text(date);
}
TestTable Table(const char* name, const char* columns, QList<QList<TestValue>> rows) {
    const QByteArray cols(columns);
    return {name, "CREATE TABLE `" + QByteArray(name) + "` (" + cols + ") ENGINE=InnoDB",
            int(cols.count(',') + 1), rows};
}

// Settings, a training, directories of every kind (roots,
// a folder, names that differ in letter case only, a name with a "(...)"
// prefix), daily general figures, visits with returned syringes and needles,
// clients with their histories, health rows, reports, a table that is never
// converted and one nobody knows.
QList<TestTable> OldTables() {
    return {
        Table("orginfo",
              "`ROWID` int, `cParameter` text, `cValue` text, `nRegionID` int, "
              "`nUpdateID` int",
              {{N(2147483640), Z, T("ORG-OLD"), N(0), N(-1)},
               {N(2), Z, T("Проект"), N(0), N(-1)},
               {N(3), Z, T("лишнее"), N(0), N(-1)},
               {N(4), Z, T("Город"), N(0), N(-1)},
               {N(8), Z, T("www"), N(0), N(-1)},
               {N(9), Z, T("mail"), N(0), N(-1)},
               {N(2), Z, T("чужое"), N(1), N(-1)}}),
        Table("traininglist",
              "`ROWID` int, `nTopicID` int, `nNumberOfClients` int, `nTimeInHours` int, `dDate` "
              "date, `cTrainers` text, `cComment` text, `nForType` int, `nGroupID` int, "
              "`bIsFolder` tinyint, `cName` varchar(200), `nRegionID` int",
              {{N(1), N(70), N(12), N(3), D("2003-05-06"), T("Тренер"), Z, N(1), N(0), N(0),
                T("Семинар"), N(0)}}),
        Table("directories",
              "`ROWID` int, `nGroupID` int, `bIsFolder` tinyint, `cString` varchar(100), "
              "`cDescription` text, `cOtherInfo` text, `nDirectoryType` int, `nWorkplaceType` "
              "int, `nType` int, `nMaxValue` int, `nDefValue` int, `nMinValue` int, `nCircul` int",
              {{N(1), N(0), N(1), T("Пункты"), Z, Z, N(1), Z, Z, Z, Z, Z, Z},
               {N(2), N(0), N(1), T("Сотрудники"), Z, Z, N(2), Z, Z, Z, Z, Z, Z},
               {N(10), N(1), N(0), T("(ПВ) Пункт А "), Z, Z, N(1), N(7), Z, Z, Z, Z, Z},
               {N(11), N(1), N(1), T("Папка"), Z, Z, N(1), N(2), Z, Z, Z, Z, Z},
               {N(12), N(11), N(0), T("пункт а"), Z, Z, N(1), N(3), Z, Z, Z, Z, Z},
               {N(20), N(2), N(0), T("Иванов"), T("Соц"), T("Тел"), N(2), Z, Z, Z, Z, Z, Z},
               {N(30), N(3), N(0), T("Шприц"), Z, Z, N(3), Z, N(196609), N(5), N(6), N(7), N(8)},
               {N(31), N(3), N(0), T("Игла"), Z, Z, N(3), Z, N(196610), Z, Z, Z, Z},
               {N(40), N(4), N(0), T("Героин"), T("опиат"), Z, N(4), Z, N(2), N(4), Z, N(3), Z},
               {N(50), N(5), N(0), T("Гепатит"), Z, Z, N(5), Z, Z, Z, Z, Z, Z},
               {N(60), N(6), N(0), T("(x) Программа"), Z, Z, N(6), Z, Z, Z, Z, Z, Z},
               {N(70), N(7), N(0), T("Тренинг"), T("d"), Z, N(7), Z, Z, Z, Z, Z, Z},
               {N(80), N(9), N(0), T("Странное"), Z, Z, N(9), Z, Z, Z, Z, Z, Z}}),
        Table("dailygeneral", "`ROWID` int, `nGroupID` int, `nCount` int",
              {{N(1), N(100), N(3)},
               {N(2), N(100), N(2)},
               {N(3), N(100), N(5)},
               {N(4), N(100), N(0)},
               {N(5), N(101), N(7)}}),
        Table("dailyvisits",
              "`nReportID` int, `nClientID` int, `nItem` int, `nCount` int, `NPP` int",
              {{N(100), N(1), N(30), N(5), N(1)},
               {N(100), N(2), N(-3), N(4), N(2)},
               {N(101), N(1), N(-2), N(1), N(1)},
               {N(101), N(2), N(-5), N(1), N(2)}}),
        Table("clientdata",
              "`ROWID` int, `cClientCode` varchar(64), `dFirstDate` date, `dUpdateDate` date, "
              "`nBirthYear` int, `dStartInPrjDate` date, `nSex` int, `cComment` text, `nGroupID` "
              "int, `bIsFolder` tinyint, `nClientType` int, `bSecondary` tinyint, `bFromOther` "
              "tinyint",
              {{N(1), T("АБВ0185Ч"), D("2003-01-01"), D("2003-02-01"), N(1985), D("2003-01-05"),
                N(1), T("к"), N(0), N(0), N(129), N(0), N(1)},
               {N(2), T("XYZ"), Z, Z, N(1940), Z, N(2), Z, Z, Z, N(128), Z, N(0)},
               {N(3), T("Папка"), Z, Z, Z, Z, Z, Z, N(0), N(1), Z, Z, Z},
               {N(4), T("ГДЕ1210Ж"), D("2012-01-01"), Z, N(2010), D("2012-01-02"), N(2), Z, N(3),
                N(0), N(66), N(1), N(0)}}),
        Table("drugusedata",
              "`ROWID` int, `dUpdateDate` date, `nBasicDrug` int, `nMainRoute` int, "
              "`nSecondaryDrug` int, `nUseFrequency` int, `nParticipation` int, `nDrugStartDate` "
              "int",
              {{N(1), D("2003-02-01"), N(40), N(1), N(-1), N(2), N(60), N(1999)},
               {N(2), Z, N(40), N(2), N(40), N(1), N(-1), N(2000)}}),
        Table("riskbehavior",
              "`ROWID` int, `nUseDirtySyr` int, `nDesinfectionWay` int, `nGivingUsed` int, "
              "`nLastInjectWith` int, `nUsingCondom` int, `nLastSexualPart` int, `dFirstDate` "
              "date, `dUpdateDate` date",
              {{N(1), N(1), N(2), N(3), N(4), N(5), N(0), D("2003-01-01"), Z},
               {N(2), N(1), N(1), N(1), N(1), N(1), N(1), Z, Z},
               {N(4), N(1), N(1), N(1), N(1), N(1), N(2), D("2012-01-03"), Z}}),
        Table("socialstatus",
              "`ROWID` int, `nEploymentStatus` int, `cOtherEployment` varchar(30), "
              "`nPlaceOfLiving` int, `nEducationLevel` int, `nLegalProblem` int, `nChildCount` "
              "int, `dUpdateDate` date, `bRegPolice` char(1), `bNarcoDisp` char(1)",
              {{N(1), N(0), T("нет"), N(0), N(3), N(0), N(2), D("2003-01-01"), T("1"), T("0")}}),
        Table("healthstatus",
              "`nClientID` int, `nStatus` int, `nTreatmentStartDate` varchar(20), `nDisease` int",
              {{N(1), N(1), T("12.05.2005"), N(50)},
               {N(2), N(1), T(""), N(50)},
               {N(1), N(0), T("x"), N(999)},
               {N(4), N(2), T("2006-01-01"), N(-1)},
               {N(4), N(1), T("01.01.2001"), N(777)}}),
        Table("dailyreport",
              "`ROWID` int, `dDate` date, `nWorker1` int, `nWorker2` int, `nWorker3` int, "
              "`nWorkPlace` int, `cComment` varchar(50), `nGroupID` int, `bIsFolder` tinyint",
              {{N(100), D("2003-03-01"), N(20), Z, Z, N(10), T("ком"), N(0), N(0)},
               {N(101), D("2003-03-02"), N(20), N(20), Z, Z, Z, Z, Z}}),
        Table("settings", "`cName` varchar(20), `cValue` text", {{T("a"), T("b")}}),
        Table("oldjunk", "`n` int", {{N(1)}}),
    };
}

#pragma once
// A small directory, register and report for the daily report tests: items of
// every kind a sheet shows, clients (one with a quote in its code, one
// folder), a service point and workers.
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet.h"
#include "tests/support/schema_test_database.h"

#include <QString>
#include <QStringList>

namespace diarytest {
// Materials and services (dir, nDirType 3).
enum : int {
    kSyringe = 101,       // a material: counts
    kCondom = 102,        // a material: counts
    kMeal = 103,          // a service: 0/1
    kHivConsult = 104,    // consultation per client: kinds 2 and 16
    kLawyer = 105,        // consultation per client: kind 4 only
    kTbReferral = 106,    // consultation in people: kinds 4 and 8
    kStdConsult = 107,    // consultation in people: kinds 2, 32 and 64 (sorts first)
    kHiddenConsult = 108, // hidden consultation in people: kind 2
    kCodeOnly = 109,      // consultation per client without kinds
};
enum : int { kPlace = 11, kOtherPlace = 12, kWorker = 21, kOtherWorker = 22, kPackage = 120 };
enum : int { kClientA = 201, kClientB = 202, kClientQuote = 203, kClientFolder = 204 };

inline void FillDirectory(const TestDatabase& db) {
    db.Exec(QStringLiteral(
        "INSERT INTO dir (ROWID,nDirType,cString,nType,nSpecFlags,bHidden,nGroupID,bIsFolder,"
        "nTown,nSortCode) VALUES "
        "(11,1,'Пункт 1',1,0,0,0,0,0,100),(12,1,'Пункт 2',1,0,0,0,0,0,100),"
        "(21,2,'Иванова',0,0,0,0,0,0,100),(22,2,'Петров',0,0,0,0,0,0,100),"
        "(101,3,'Шприц 2мл',65538,0,0,0,0,0,10),"
        "(102,3,'Презервативы',524289,0,0,0,0,0,20),"
        "(103,3,'Горячее питание',266239,0,0,0,0,0,30),"
        "(104,3,'Консультация по ВИЧ',462847,19,0,0,0,0,40),"
        "(105,3,'Консультация юриста',462847,5,0,0,0,0,50),"
        "(106,3,'Направление к фтизиатру',462847,12,0,0,0,0,60),"
        "(107,3,'Консультация по ИППП',462847,98,0,0,0,0,5),"
        "(108,3,'Скрытая консультация',462847,2,1,0,0,0,70),"
        "(109,3,'Только по коду',462847,1,0,0,0,0,80),"
        "(120,11,'Базовый набор',0,0,0,0,0,0,100)"));
    db.Exec(QStringLiteral(
        "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) "
        "VALUES (201,'АБВ0190Ч',0,0,0,0),(202,'ГДЕ1585Ж',0,0,0,0),(203,'O''Brien',0,0,0,0),"
        "(204,'ПАПКА',1,0,0,0)"));
}

// A report header row; returns its ROWID.
inline int AddReport(const TestDatabase& db, int id, const char* date = "2024-03-15",
                     int place = kPlace, int worker = kWorker, int region = 0) {
    db.Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nGroupID,"
                           "bIsFolder,nRegionDataID,nProject) VALUES (%1,'%2',%3,%4,0,0,%5,1)")
                .arg(id)
                .arg(QLatin1String(date))
                .arg(place)
                .arg(worker)
                .arg(region));
    return id;
}

// The visit cells of a sheet as "NPP:client:item:count" in row and item order.
inline QString Cells(const TestDatabase& db, int report, int sheet) {
    return db.Rows(QStringLiteral("SELECT CONCAT(NPP,':',nClientID,':',nItem,':',nCount) FROM "
                                  "dailyvisits WHERE nReportID=%1 AND nVedID=%2 ORDER BY "
                                  "NPP,nItem")
                       .arg(report)
                       .arg(sheet));
}

// The stored columns of a sheet as "item/flag@width" in position order.
inline QString Layout(const TestDatabase& db, int report, int sheet) {
    return db.Rows(QStringLiteral("SELECT CONCAT(nKeyFirst,'/',nKeySecond,'@',nWidth) FROM "
                                  "dailyvisitssubhdr WHERE nReportID=%1 AND nVedID=%2 ORDER BY "
                                  "nPos")
                       .arg(report)
                       .arg(sheet));
}
// Types the rows into the sheet, one "code|cell|cell..." text a row.
inline void TypeRows(CVisitsSheet* sheet, const QStringList& rows) {
    for (const QString& text : rows) {
        const int r = sheet->AppendRow();
        const QStringList cells = text.split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            sheet->SetText(r, c, cells[c]);
    }
}

// A sheet with the items' columns as the database describes them and the
// rows typed.
inline CVisitsSheet SheetOf(CxSQL* sql, const QList<qint32>& items, const QStringList& rows) {
    CVisitsSheet sheet;
    QString error;
    if (!UpdateSheetColumns(sql, &sheet, items, nullptr, &error))
        qFatal("%s", qPrintable(error));
    TypeRows(&sheet, rows);
    return sheet;
}
} // namespace diarytest

#pragma once
// What the generator is asked to make, and what one stage of it hands to the
// next: the rows it made that later rows refer to.
#include <QDate>
#include <QList>
#include <QString>

struct CDataGenOptions {
    int points = 50;
    int workers = 0;   // 0: two per service point
    int materials = 0; // materials and services; 0: the whole catalogue
    int clients = 20000;
    int years = 3;
    qint64 visits = 1000000; // dailyvisits rows, exactly
    int history = 0;         // rows per client in each dated history; 0: 1 to 3
    int trainingsPerYear = 24;
    int dirRows = 0; // pad the directory table to this many rows
    quint64 seed = 1;
    QDate lastDay{2025, 12, 31}; // the last day of the data
    bool checksums = true;       // compute dailyreport.nCrc as the form would

    QDate FirstDay() const { return lastDay.addYears(-years).addDays(1); }
};

struct CGenTown {
    int id;
    int region; // the ID of the town's region entry
    QString title;
    QString regionTitle;
};

struct CGenPoint {
    int id;
    int regionIndex;     // index into CDataGenWorld::regions
    double weight;       // how busy the point is
    double workChance;   // chance of a report on a working day
    bool weekends;       // mobile and street points also go out at weekends
    int project;         // PRJLIST code of its reports
    QList<int> workers;  // dir ROWIDs
    QList<int> sheetSet; // materials of its sheets, in column order (indexes into materials)
};

struct CGenMaterial {
    int id;
    int type;      // material type code
    int specFlags; // consultation kinds (xConsAndDir)
    bool hidden;
    int weight; // how often it is handed out

    int Kind() const { return type & 0x0fff0000; }
    bool IsConsultation() const { return (type & 0x70000) == 0x70000; }
    bool ByCode() const { return IsConsultation() && (specFlags & 1); }
};

struct CGenClient {
    int id;
    int point;    // index of the home service point
    int enterDay; // Julian day of the first entry
    int sex;      // xSex code
    int birthYear;
};

struct CDataGenWorld {
    QList<CGenTown> towns;
    QList<QString> regions; // region titles that have service points
    QList<CGenPoint> points;
    QList<CGenMaterial> materials;
    QList<int> workers; // dir ROWIDs
    QList<QString> workerNames;
    QList<int> drugs;         // dir ROWIDs, in the order of the drug catalogue
    QList<int> trainingTypes; // dir ROWIDs
    QList<int> donors;        // dir ROWIDs
    QList<CGenClient> clients;
    // Clients of each point and of all points, in order of their first entry,
    // so that the clients known on a day are a prefix.
    QList<QList<int>> clientsByPoint;
    QList<int> clientsByEntry;
    int nextDirId = 1;
};

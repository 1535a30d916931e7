#pragma once
// The program's database tests: rows that lost their client, reports that
// point at deleted workers or service points, rows in deleted folders,
// duplicate sort numbers, visit rows without report, client or material,
// reports without a checksum.
// Each finds the rows, repairs them in one transaction and journals what it
// changed (in that transaction, after the repair succeeded). They register
// themselves; TestDB runs them in ascending order number.
#include "framework/core/dbtest/db_test.h"

#include <QPair>
#include <functional>

// What the program's tests share: the find, journal and repair flow.
class CKDDBTest_Base : public CvDBTest {
protected:
    struct Repair {
        QString context;   // translation context: "<class>::FullTest"
        QString tempTable; // "CREATE TEMPORARY TABLE $$$ ..." of the bad ids, column r1
        QString select;    // the affected rows; "%TMP%" stands for the table's name
        QString summaryCaption;
        QString summaryText; // "{num}" becomes the number of rows
        // The journal caption and text of one row.
        std::function<QPair<QString, QString>(const CxResult&)> row;
        QString repairCaption;
        QStringList statements; // "%TMP%" as above
        // Runs after the repair, or when nothing was found, before the
        // progress ends; false (with the failure set) fails the test.
        std::function<bool()> after;
    };
    bool RunShared(const Repair& repair);
    // Ends the progress with "Ok" or the failure and answers ok.
    bool Finish(bool ok);
    QString Tr(const QString& text, const QString& context) const;
};

class KDDBTest_Clients : public CKDDBTest_Base {};

class CKDDBTest_ClientsFolders : public KDDBTest_Clients {
public:
    QString GetTestName() const override;
    int GetOrder() const override { return 2; }
    bool FullTest() override;
};

class CKDDBTest_ClientsSubData : public KDDBTest_Clients {
public:
    int GetOrder() const override { return 2; }
    bool FullTest() override;
    virtual QString GetTableName() const = 0;
};

class CKDDBTest_ClientDataChanges : public CKDDBTest_ClientsSubData {
public:
    QString GetTestName() const override;
    QString GetTableName() const override { return QStringLiteral("clientdatachanges"); }
};

class CKDDBTest_DrugUseData : public CKDDBTest_ClientsSubData {
public:
    QString GetTestName() const override;
    QString GetTableName() const override { return QStringLiteral("drugusedata"); }
};

class CKDDBTest_SocialStatus : public CKDDBTest_ClientsSubData {
public:
    QString GetTestName() const override;
    QString GetTableName() const override { return QStringLiteral("socialstatus"); }
};

class CKDDBTest_RiskBehavior : public CKDDBTest_ClientsSubData {
public:
    QString GetTestName() const override;
    QString GetTableName() const override { return QStringLiteral("riskbehavior"); }
};

class CKDDBTest_VisitsNPP : public CKDDBTest_Base {
public:
    QString GetTestName() const override;
    int GetOrder() const override { return 100; }
    bool FullTest() override;
};

class CKDDBTest_ReportCliTest : public CKDDBTest_Base {
public:
    QString GetTestName() const override;
    int GetOrder() const override { return 100; }
    bool FullTest() override;
};

// Computes the checksums the own organisation's reports lack.
class CKDDBTest_CalcCRC : public CKDDBTest_Base {
public:
    QString GetTestName() const override;
    int GetOrder() const override { return 10000; }
    bool QuickTest() override { return FullTest(); }
    bool NormalTest() override { return FullTest(); }
    bool FullTest() override;
};

class CKDDBTest_DailyReport : public CKDDBTest_Base {
public:
    int GetOrder() const override { return 1; }
};

class CKDDBTest_Worker : public CKDDBTest_DailyReport {
public:
    QString GetTestName() const override;
    bool FullTest() override;
};

class CKDDBTest_WorkPlace : public CKDDBTest_DailyReport {
public:
    QString GetTestName() const override;
    bool FullTest() override;
};

class CKDDBTest_Folders : public CKDDBTest_DailyReport {
public:
    QString GetTestName() const override;
    bool FullTest() override;
};

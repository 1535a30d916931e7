// The client journal's query on a database: every client with the newest
// rows of its histories as the newest-row marks point at them, computed by
// the history store; empty history columns for a client without rows.
#include "clients/core/client_history_store.h"
#include "clients/core/client_journal_query.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include "framework/core/tarvik_app.h"

#include "framework/core/lists/sql_filter.h"
#include "framework/core/lists/sql_list_model.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <memory>

namespace {
const char kConfiguration[] =
    "<CONFIGURATION><LANGUAGE>\n"
    "<PARTICIPANTPROGRAM><Item ID='2' Title='Метадон'/></PARTICIPANTPROGRAM>\n"
    "</LANGUAGE></CONFIGURATION>\n";
} // namespace

class TestClientJournal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void columns();
    void newestRowsPerClient();
    void folderAndCondition();
    void pagedByTheListModel();

private:
    // The named columns of the journal's rows, in the journal's order.
    QString Journal(const QString& columns, qint64 folder = -1, const QString& where = {}) const {
        CxResult r = m_db->Exec(CClientJournalQuery::Select(folder, where));
        QStringList rows;
        while (r.FetchRow()) {
            QStringList cells;
            for (const QString& name : columns.split(u','))
                cells << (r.IsNull(r.FieldPos(name)) ? QString("NULL") : r.SFieldValue(name));
            rows << cells.join(u'|');
        }
        return rows.join(u';');
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestClientJournal::initTestCase() {
    auto* config = new xKDConfiguration;
    QVERIFY(config->ParseConfig(QString::fromUtf8(kConfiguration), QStringLiteral("test")));
    CTarvikApp::SetConfig(config);
    g_SelfTablesKelda.Init(0);

    m_db = std::make_unique<SchemaTestDatabase>("journal");
    const char* fixture[] = {
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) VALUES "
        "(8,0,0,'Героин',4,0,0),(9,0,0,'Метадон',4,0,0)",
        "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nSex,nEthnicity,nRelCount) "
        "VALUES (1,'Папка клиентов',1,0,NULL,0,0),(10,'АБВ0587ч',0,1,1,0,0),"
        "(11,'ГДЕ0190ж',0,0,2,0,0),(12,'ЖЗИ0285ч',0,0,1,0,0)",
        // Client 10: groups WCS then IDU; risk no then yes; drugs heroin
        // then methadone. Client 12: one row of each, and a stale mark left
        // on an older drug row. Client 11 has no history.
        "INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType) VALUES "
        "(1,10,'2020-01-01',2),(2,10,'2021-01-01',1),(3,12,'2022-02-02',4)",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr,dUpdateDate) VALUES "
        "(1,10,'2020-01-01',0,'2020-01-02'),(2,10,'2022-01-01',1,'2022-01-02'),"
        "(3,12,'2021-01-01',0,'2021-01-02')",
        "INSERT INTO socialstatus (ROWID,nClientID,dDate,nEploymentStatus) VALUES "
        "(1,10,'2021-05-05',1),(2,12,'2021-05-05',4)",
        "INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nParticipation,nLastLinkID) "
        "VALUES (1,10,'2019-01-01',8,NULL,NULL),(2,10,'2023-01-01',9,2,NULL),"
        "(3,12,'2018-01-01',8,NULL,12),(4,12,'2020-01-01',9,NULL,NULL)",
    };
    for (const char* s : fixture)
        m_db->Exec(QString::fromUtf8(s));
    QString error;
    for (EClientHistory h : {EClientHistory::ClientDataChanges, EClientHistory::DrugUseData,
                             EClientHistory::RiskBehavior, EClientHistory::SocialStatus})
        for (const qint64 client : {10, 11, 12})
            QVERIFY2(CClientHistoryStore::UpdateLastLinkID(m_db->Connection(), h, client, &error),
                     qPrintable(error));
}

void TestClientJournal::cleanupTestCase() {
    m_db.reset();
    CTarvikApp::SetConfig(nullptr);
    g_SelfTablesKelda.Init(0);
}

void TestClientJournal::columns() {
    const QList<CClientJournalColumn> columns = CClientJournalQuery::Columns();
    QCOMPARE(columns.size(), 36);
    QStringList captions, names;
    for (const CClientJournalColumn& c : columns) {
        captions << c.caption;
        names << c.resultName;
    }
    QCOMPARE(captions[0], QString("Внутренний код"));
    QCOMPARE(captions[4], QString("Последняя уязвимая группа"));
    QCOMPARE(captions[13], QString("Дата заполнения рискованного поведения"));
    QCOMPARE(captions[30], QString("Основной наркотик"));
    QCOMPARE(captions[35], QString("Частота употребления"));
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 36);

    // Every column is in the result under its name.
    CxResult r = m_db->Exec(CClientJournalQuery::Select());
    for (const QString& name : names)
        QVERIFY2(r.FieldPos(name, 1) >= 0, qPrintable(name));
    QVERIFY(r.FieldPos("bIsFolder", 1) >= 0 && r.FieldPos("nGroupID", 1) >= 0);
}

void TestClientJournal::newestRowsPerClient() {
    QCOMPARE(Journal("ROWID,cClientCode,bIsFolder,CLIEXT_nClientType_text,"
                     "RiskBehavior_nUseDirtySyr_text,RiskBehavior_dUpdateDate,"
                     "SocialStatus_nEploymentStatus_text,DrugUseData_BASICDRUG_cString,"
                     "DrugUseData_nParticipation_text"),
             QString("1|Папка клиентов|1|||NULL||NULL|;"
                     "10|АБВ0587ч|0|ПИН|Да|2022-01-02|Постоянная работа|Метадон|Метадон;"
                     "11|ГДЕ0190ж|0|||NULL||NULL|;"
                     "12|ЖЗИ0285ч|0|МСМ|Нет|2021-01-02|Безработный|Метадон|"));
}

void TestClientJournal::folderAndCondition() {
    QCOMPARE(Journal("ROWID", 1), QString("10"));
    QCOMPARE(Journal("ROWID", 0), QString("1;11;12"));
    QCOMPARE(Journal("ROWID", -1, "{TABLE}.cClientCode LIKE 'Ж%'"), QString("12"));
}

// The journal is a list like any other: pages of two rows continue by the
// code, a sort by a history column and a code filter read the same rows.
void TestClientJournal::pagedByTheListModel() {
    m_db->Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nSex,nEthnicity,"
               "nRelCount) VALUES (13,'ГАА0101ж',0,0,2,0,0),(14,'ААА0101ч',0,0,1,0,0)");
    CxSQLListModel model;
    QAbstractItemModelTester tester(&model);
    model.SetConnection(m_db->Connection());
    model.SetPageSize(2);
    model.Begin(CClientJournalQuery::Table(), "CJClients");
    QList<int> risk;
    for (const CClientJournalColumn& c : CClientJournalQuery::Columns()) {
        const int column = model.RegisterField(c.field);
        if (c.resultName == "RiskBehavior_nUseDirtySyr_text")
            risk << column;
    }
    CxTable_ClientJournal* t = CClientJournalQuery::Table();
    model.EnableFolders(t->ClientField(g_pClientDataTable->m_cClientCode),
                        t->ClientField(g_pClientDataTable->m_bIsFolder),
                        t->ClientField(g_pClientDataTable->m_nGroupID));
    QVERIFY(model.End());
    const auto codes = [&] {
        while (model.canFetchMore())
            model.fetchMore();
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r)
            rows << model.RowText(r, 1) + u'/' + model.RowText(r, risk[0]);
        return rows.join(u';');
    };
    QCOMPARE(codes(), QString("Папка клиентов/;ААА0101ч/;ГАА0101ж/;ГДЕ0190ж/;ЖЗИ0285ч/Нет"));
    model.sort(risk[0], Qt::DescendingOrder);
    QCOMPARE(codes(), QString("Папка клиентов/;ЖЗИ0285ч/Нет;ААА0101ч/;ГАА0101ж/;ГДЕ0190ж/"));
    CxSQLFilter filter;
    filter.AddSQLFilter("{TABLE}.cClientCode LIKE 'Г%'");
    model.AddFilter(&filter);
    model.sort(1, Qt::AscendingOrder);
    QCOMPARE(codes(), QString("ГАА0101ж/;ГДЕ0190ж/"));
    QVERIFY(model.SetFolder(1));
    filter.ClearFilter();
    QVERIFY(model.Reload());
    QCOMPARE(codes(), QString("АБВ0587ч/Да"));
    m_db->Exec("DELETE FROM clientdata WHERE ROWID IN (13,14)");
}

QTEST_GUILESS_MAIN(TestClientJournal)
#include "test_client_journal.moc"

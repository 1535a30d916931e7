// The participants of trainings on a database with the three audiences:
// clients, workers and free names. Entries resolve by the training's
// audience, duplicates are stored once, free names are added where the rules
// say so, and the stored ids are read back by audience.
#include "clients/core/training_rules.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

class TestTrainingParticipants : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void loadReadsByAudience_data();
    void loadReadsByAudience();
    void checkList_data();
    void checkList();
    void checkLineOfMissingAndRepeatedCodes();
    void save_data();
    void save();
    void savedTwiceTheSame();
    void audienceSwitch();
    void complete_data();
    void complete();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestTrainingParticipants::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>("training");
    const char* fixture[] = {
        "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) VALUES "
        "(1,'Папка',1,0,0,0),(10,'АБВ0587ч',0,1,0,0),(11,'ГДЕ0190ж',0,0,0,0),"
        "(12,'ЖЗИ0285ч`7',0,0,0,0)",
        // Workers (a folder among them) and a drug of the same name as a worker.
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) VALUES "
        "(2,0,1,'Папка работников',2,0,0),(3,2,0,'Иванова',2,0,0),(4,0,0,'Петров',2,0,0),"
        "(8,0,0,'Петров',4,0,0)",
    };
    for (const char* s : fixture)
        m_db->Exec(QString::fromUtf8(s));
}

void TestTrainingParticipants::cleanupTestCase() {
    m_db.reset();
}

void TestTrainingParticipants::init() {
    const char* fixture[] = {
        "TRUNCATE strtoid",
        "TRUNCATE traininglist",
        "TRUNCATE trainingssubdata",
        // Free names: "Сидоров" of group 3 for the own and another
        // organisation, "Орлов" only for the other one, a doctor, a guest of
        // an audience without a button.
        "INSERT INTO strtoid VALUES (1,3,'Сидоров',0),(2,3,'Сидоров',7),(3,4,'Врачев',0),"
        "(4,999,'Гость',0),(5,3,'Орлов',7)",
        "INSERT INTO traininglist (ROWID,cName,nForType) VALUES (100,'Клиенты',1),"
        "(101,'Работники',2),(102,'Милиция',3),(103,'Стейкхолдеры',9)",
        // Training 102's participant 1 is the free name 1, not the client
        // folder 1; training 101's participant 3 is the worker 3, not the
        // free name 3.
        "INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES (100,10),(100,11),(101,3),"
        "(102,1),(103,4),(100,999)",
    };
    for (const char* s : fixture)
        m_db->Exec(QString::fromUtf8(s));
}

void TestTrainingParticipants::loadReadsByAudience_data() {
    QTest::addColumn<qint64>("training");
    QTest::addColumn<int>("forType");
    QTest::addColumn<QString>("text");
    QTest::newRow("clients (a dangling id not shown)") << qint64(100) << 1 << "АБВ0587ч; ГДЕ0190ж";
    QTest::newRow("workers") << qint64(101) << 2 << "Иванова";
    QTest::newRow("police") << qint64(102) << 3 << "Сидоров";
    QTest::newRow("no button: group 999") << qint64(103) << 9 << "Гость";
    QTest::newRow("no participants") << qint64(999) << 1 << "";
}

void TestTrainingParticipants::loadReadsByAudience() {
    QFETCH(qint64, training);
    QFETCH(int, forType);
    QFETCH(QString, text);
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, forType);
    list.SetText("stale");
    QString error;
    QVERIFY(list.Load(m_db->Connection(), training, &error));
    QCOMPARE(list.GetText(), text);
}

void TestTrainingParticipants::checkList_data() {
    QTest::addColumn<int>("forType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notFound");
    QTest::addColumn<QString>("duplicated");
    QTest::addColumn<int>("count");

    QTest::newRow("clients: case, folder, missing") << 1 << "АБВ0587ч; абв0587Ч\nХХХ0000ч;Папка"
                                                    << "ХХХ0000ч; Папка"
                                                    << "абв0587Ч" << 3;
    QTest::newRow("clients: code with a suffix") << 1 << "ЖЗИ0285ч`7"
                                                 << ""
                                                 << "" << 1;
    QTest::newRow("clients: empty") << 1 << " ; \n"
                                    << ""
                                    << "" << 0;
    QTest::newRow("workers: only workers") << 2 << "Иванова\tПетров\tСидоров"
                                           << "Сидоров"
                                           << "" << 3;
    QTest::newRow("police: new names not reported") << 3 << "Сидоров; Новиков; новиков"
                                                    << ""
                                                    << "новиков" << 2;
    QTest::newRow("police: too long to add")
        << 3 << QString(300, u'Я') << QString(300, u'Я') << "" << 1;
    QTest::newRow("doctors: another group's name is new") << 4 << "Сидоров"
                                                          << ""
                                                          << "" << 1;
}

void TestTrainingParticipants::checkList() {
    QFETCH(int, forType);
    QFETCH(QString, text);
    QFETCH(QString, notFound);
    QFETCH(QString, duplicated);
    QFETCH(int, count);
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, forType);
    list.SetText(text);
    QString error;
    QVERIFY(list.CheckList(m_db->Connection(), &error));
    QCOMPARE(list.NotFound().join("; "), notFound);
    QCOMPARE(list.Duplicated().join("; "), duplicated);
    QCOMPARE(list.GetCount(), count);
    QCOMPARE(list.GetError().isEmpty(), notFound.isEmpty() && duplicated.isEmpty());
}

void TestTrainingParticipants::checkLineOfMissingAndRepeatedCodes() {
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, kAudienceClients);
    list.SetText("ААА0101ч; АБВ0587ч; БББ0202ж; АБВ0587ч");
    QString error;
    QVERIFY(list.CheckList(m_db->Connection(), &error));
    QCOMPARE(TrainingCheckLineHtml(TrainingParticipantsLabel(kAudienceClients), list.GetError()),
             QString("Коды клиентов: <font color=red>Не найдены: <b>ААА0101ч; БББ0202ж</b></font>, "
                     " <font color=blue>Дублируются: <b>АБВ0587ч</b></font>"));
    const CTrainingPeople people = TrainingPeopleCount(list.GetText(), list.GetCount());
    QVERIFY(!people.editable);
    QCOMPARE(people.count, 3);
}

void TestTrainingParticipants::save_data() {
    QTest::addColumn<qint64>("training");
    QTest::addColumn<int>("forType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("members"); // the training's stored ids
    QTest::addColumn<QString>("added");   // free names added (group|name|organisation)
    QTest::addColumn<QString>("notFound");
    QTest::addColumn<QString>("duplicated");

    QTest::newRow("clients replace the stored ones")
        << qint64(100) << 1 << "ГДЕ0190ж; АБВ0587ч; гдЕ0190Ж; НЕТ0000ч"
        << "10;11"
        << ""
        << "НЕТ0000ч"
        << "гдЕ0190Ж";
    QTest::newRow("workers") << qint64(101) << 2 << "Петров"
                             << "4"
                             << ""
                             << ""
                             << "";
    QTest::newRow("police: own, new, another organisation's")
        << qint64(102) << 3 << "Сидоров; Новиков; Орлов"
        << "1;5;6"
        << "3|Новиков|0"
        << ""
        << "";
    QTest::newRow("police: two spellings of one new name") << qint64(102) << 3 << "Семёнов; Семенов"
                                                           << "6"
                                                           << "3|Семёнов|0"
                                                           << ""
                                                           << "Семенов";
    QTest::newRow("no button: group 999") << qint64(103) << 9 << "Гость; Новый"
                                          << "4;6"
                                          << "999|Новый|0"
                                          << ""
                                          << "";
    QTest::newRow("emptied list") << qint64(100) << 1 << ""
                                  << ""
                                  << ""
                                  << ""
                                  << "";
}

void TestTrainingParticipants::save() {
    QFETCH(qint64, training);
    QFETCH(int, forType);
    QFETCH(QString, text);
    QFETCH(QString, members);
    QFETCH(QString, added);
    QFETCH(QString, notFound);
    QFETCH(QString, duplicated);
    const QString others = m_db->Rows(
        QString("SELECT * FROM trainingssubdata WHERE nTrainingID<>%1 ORDER BY 1,2").arg(training));
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, forType);
    list.SetText(text);
    QString error;
    QVERIFY2(list.Save(m_db->Connection(), training, &error), qPrintable(error));
    QCOMPARE(m_db->Rows(QString("SELECT nClientID FROM trainingssubdata WHERE nTrainingID=%1 "
                                "ORDER BY nClientID")
                            .arg(training)),
             members);
    QCOMPARE(m_db->Rows("SELECT nGroupID,cStr,nRegionDataID FROM strtoid WHERE ROWID>5"), added);
    QCOMPARE(list.NotFound().join("; "), notFound);
    QCOMPARE(list.Duplicated().join("; "), duplicated);
    // Other trainings keep their participants.
    QCOMPARE(m_db->Rows(QString("SELECT * FROM trainingssubdata WHERE nTrainingID<>%1 ORDER BY 1,2")
                            .arg(training)),
             others);
}

void TestTrainingParticipants::savedTwiceTheSame() {
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, 3);
    list.SetText("Новиков; Сидоров");
    QString error;
    CxMySQL* sql = m_db->Connection();
    QVERIFY(sql->BeginTransaction());
    QVERIFY(list.Save(sql, 102, &error));
    QVERIFY2(list.Save(sql, 102, &error), qPrintable(error));
    QVERIFY(sql->CommitTransaction());
    QCOMPARE(m_db->Rows("SELECT nClientID FROM trainingssubdata WHERE nTrainingID=102 ORDER BY "
                        "nClientID"),
             QString("1;6"));
    QCOMPARE(m_db->Scalar("SELECT COUNT(*) FROM strtoid"), QString("6"));
    // Read back by the audience, the list shows what was typed.
    QVERIFY(list.Load(sql, 102, &error));
    QCOMPARE(list.GetText(), QString("Новиков; Сидоров"));
}

void TestTrainingParticipants::audienceSwitch() {
    CSQLEditListCore list;
    QString error;
    SetupTrainingParticipants(&list, kAudienceClients);
    list.SetText("Сидоров");
    QVERIFY(list.CheckList(m_db->Connection(), &error));
    QCOMPARE(list.NotFound(), QStringList{"Сидоров"});
    // Police: the name is one of group 3's.
    SetupTrainingParticipants(&list, 3);
    QVERIFY(list.CheckList(m_db->Connection(), &error));
    QVERIFY(list.GetError().isEmpty());
    // Back to clients: no adding.
    SetupTrainingParticipants(&list, kAudienceClients);
    list.SetText("Новиков");
    QVERIFY(list.Save(m_db->Connection(), 100, &error));
    QCOMPARE(m_db->Scalar("SELECT COUNT(*) FROM strtoid"), QString("5"));
    QCOMPARE(m_db->Scalar("SELECT COUNT(*) FROM trainingssubdata WHERE nTrainingID=100"),
             QString("0"));
}

void TestTrainingParticipants::complete_data() {
    QTest::addColumn<int>("forType");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("offers");
    QTest::newRow("clients") << 1 << "абв" << QStringList{"АБВ0587ч"};
    QTest::newRow("clients: no folders") << 1 << "Па" << QStringList{};
    QTest::newRow("workers: no folders, no drugs") << 2 << "П" << QStringList{"Петров"};
    QTest::newRow("police: group 3 only, once") << 3 << "" << QStringList{"Орлов", "Сидоров"};
    QTest::newRow("doctors") << 4 << "В" << QStringList{"Врачев"};
    QTest::newRow("wildcards are plain") << 3 << "%" << QStringList{};
    QTest::newRow("quote") << 3 << "O'" << QStringList{};
}

void TestTrainingParticipants::complete() {
    QFETCH(int, forType);
    QFETCH(QString, prefix);
    QFETCH(QStringList, offers);
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, forType);
    QStringList texts;
    QString error;
    QVERIFY(list.Complete(m_db->Connection(), prefix, 10, &texts, &error));
    QCOMPARE(texts, offers);
}

QTEST_GUILESS_MAIN(TestTrainingParticipants)
#include "test_training_participants.moc"

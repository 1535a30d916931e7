// The training form and the trainings journal on a fixture of the three
// audiences: client codes, worker names and free names. The check line says
// what was not found and what is listed twice, the count follows the list,
// and the save writes the training, then its participants under its ROWID —
// for free names adding the names not found to their audience's group.
#include "clients/core/training_rules.h"
#include "clients/directories/tests/directory_fixture.h"
#include "clients/trainings/sql_edit_list.h"
#include "clients/trainings/training_form.h"
#include "clients/trainings/trainings_journal.h"
#include "db/mysql_connection.h"
#include "framework/core/documents/document.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/html_static.h"
#include "tests/support/typing.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

class TestTrainingForm : public QObject {
    Q_OBJECT
    std::unique_ptr<DirectoryFixture> m_fx;

    CDTraining* Open(qint64 key, int mode) {
        return qobject_cast<CDTraining*>(
            CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("CDTraining"), key, mode));
    }
    QString Participants(int training) {
        return m_fx->Db().Rows(
            QStringLiteral("SELECT nClientID FROM trainingssubdata WHERE nTrainingID=%1 ORDER BY "
                           "nClientID")
                .arg(training));
    }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<DirectoryFixture>();
        CTarvikApp::RegisterDocTemplate(1307, CDTraining::GetThisClass(),
                                        &CxSQLDocument::staticMetaObject, nullptr);
        CTarvikApp::RegisterDocTemplate(1303, CJTrainings::GetThisClass(),
                                        &CxFormDocument::staticMetaObject, nullptr);
    }
    void cleanupTestCase() { m_fx.reset(); }
    void init() {
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        for (const char* table :
             {"clientdata", "dir", "strtoid", "traininglist", "trainingssubdata"})
            m_fx->Db().Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        m_fx->Db().Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,"
                        "nRelCount) VALUES (10,'АБВ0587ч',0,0,0,0),(11,'ГДЕ0190ж',0,0,0,0),"
                        "(12,'Папка',1,0,0,0)");
        m_fx->Db().Exec("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) "
                        "VALUES (10,0,0,'Иванов',2,0,0),(11,0,0,'Петров',2,0,0),"
                        "(20,0,0,'Тренинг',7,0,0)");
        m_fx->Db().Exec("INSERT INTO strtoid VALUES (10,3,'Сидоров',0),(11,4,'Врачев',0)");
        m_fx->Db().Exec("INSERT INTO traininglist (ROWID,nTopicID,nNumberOfClients,nTimeInHours,"
                        "dDate,nForType,cName,nGroupID,bIsFolder) VALUES "
                        "(1,20,5,2,'2023-03-01',1,'Для клиентов',0,0),"
                        "(2,20,0,2,'2023-03-02',2,'Для работников',0,0),"
                        "(3,20,0,2,'2023-03-03',3,'Для милиции',0,0),"
                        "(4,20,0,2,'2023-03-04',9,'Другим',0,0),(5,0,0,0,NULL,0,'Папка',0,1)");
        // Participant 10 of each training is another table's row 10.
        m_fx->Db().Exec("INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES (1,10),(2,10),"
                        "(3,10)");
    }

    // What each audience's participants are, as loaded, checked and saved.
    void participantsByAudience_data() {
        QTest::addColumn<int>("training");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("checkLine"); // pieces the line must hold
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("stored");
        QTest::newRow("clients")
            << 1 << "АБВ0587ч"
            << "АБВ0587ч; ЯЯЯ0000ч; абв0587Ч; Папка; ГДЕ0190ж"
            << "Коды клиентов:|Не найдены:|ЯЯЯ0000ч; Папка|Дублируются:|абв0587Ч" << 4 << "10;11";
        QTest::newRow("workers") << 2 << "Иванов"
                                 << "Иванов\nПетров\nСидоров"
                                 << "Фамилии социальных работников:|Не найдены:|Сидоров" << 3
                                 << "10;11";
        QTest::newRow("police") << 3 << "Сидоров"
                                << "Сидоров; Врачев; Новиков"
                                << "Фамилии:" << 3 << "10;12;13";
    }
    void participantsByAudience() {
        QFETCH(int, training);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, checkLine);
        QFETCH(int, count);
        QFETCH(QString, stored);
        CDTraining* form = Open(training, EA_EDIT);
        QVERIFY(form);
        QCOMPARE(form->Participants()->toPlainText(), shown);
        QVERIFY(!form->PeopleCount()->isEnabled());
        form->Participants()->setPlainText(typed);
        for (const QString& piece : checkLine.split(u'|'))
            QVERIFY2(form->CheckLine()->GetHTML().contains(piece.toHtmlEscaped()),
                     qPrintable(form->CheckLine()->GetHTML() + " lacks " + piece));
        QCOMPARE(form->PeopleCount()->text(), QString::number(count));
        QVERIFY(form->Apply());
        QCOMPARE(Participants(training), stored);
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nNumberOfClients FROM traininglist WHERE "
                                                "ROWID=%1")
                                     .arg(training)),
                 QString::number(count));
        if (training == 3) // "Врачев" of group 4 is not a police officer: added to group 3
            QCOMPARE(m_fx->Db().Rows("SELECT ROWID,nGroupID,cStr FROM strtoid WHERE ROWID>11 "
                                     "ORDER BY ROWID"),
                     QString("12|3|Врачев;13|3|Новиков"));
    }

    // An empty list leaves the count to the user; switching the audience
    // changes the look-up and the label; a training of audience 9 has no
    // button and uses the free names of group 999.
    void audienceAndCount() {
        CDTraining* form = Open(4, EA_EDIT);
        QVERIFY(form);
        QVERIFY(form->PeopleCount()->isEnabled());
        QCOMPARE(form->CurrentAudience(), 9);
        for (int a = 1; a <= 8; ++a)
            QVERIFY(!form->AudienceButton(a)->isChecked());
        QCOMPARE(form->Participants()->Core().GetText(), QString());
        form->PeopleCount()->setText(QStringLiteral("12"));
        form->AudienceButton(1)->click();
        QVERIFY(form->CheckLine()->GetHTML().contains("Коды клиентов:"));
        TypeText(form->Participants(), QStringLiteral("АБ"));
        QVERIFY(!form->PeopleCount()->isEnabled());
        QCOMPARE(form->PeopleCount()->text(), QString("1"));
        form->Participants()->clear();
        QVERIFY(form->PeopleCount()->isEnabled());
        form->PeopleCount()->setText(QStringLiteral("12"));
        form->AudienceButton(4)->click();
        QVERIFY(form->CheckLine()->GetHTML().contains("Фамилии:"));
        QVERIFY(form->Apply());
        QCOMPARE(
            m_fx->Db().Rows("SELECT nForType,nNumberOfClients FROM traininglist WHERE ROWID=4"),
            QString("4|12"));
        QCOMPARE(Participants(4), QString());
    }

    // Typing the beginning of an entry offers the look-up's texts; taking
    // one replaces the entry and appends "; ".
    void autoComplete() {
        CDTraining* form = Open(2, EA_EDIT);
        CSQLEditList* list = form->Participants();
        list->setFocus();
        list->clear();
        TypeText(list, QStringLiteral("Иванов; Пе"));
        QCOMPARE(list->CurrentEntry(), QString("Пе"));
        QCOMPARE(list->Completer()->model()->rowCount(), 1);
        list->AcceptCompletion(QStringLiteral("Петров"));
        QCOMPARE(list->toPlainText(), QString("Иванов; Петров; "));
        QCOMPARE(form->PeopleCount()->text(), QString("2"));
    }

    // A new training: the row first, its participants under its new ROWID.
    void newTraining() {
        CDTraining* form = Open(-1, EA_NEW);
        QVERIFY(form);
        form->findChild<QLineEdit*>("cName")->setText(QStringLiteral("Новый"));
        // The date is required.
        QVERIFY(!form->Apply());
        form->findChild<CDateTimeEditCtrl*>("dDate")->SetDate(QDate(2024, 1, 2));
        form->AudienceButton(2)->click();
        form->Participants()->setPlainText(QStringLiteral("Петров"));
        QVERIFY(form->Apply());
        const QString id = m_fx->Db().Rows("SELECT ROWID FROM traininglist WHERE cName='Новый'");
        QCOMPARE(Participants(id.toInt()), QString("11"));
    }

    // The journal: trainings in folders, the folder first.
    void journal() {
        auto* journal = qobject_cast<CJTrainings*>(OpenDocument(QStringLiteral("CJTrainings")));
        QVERIFY(journal);
        CxSQLListModel* model = journal->List()->Model();
        QAbstractItemModelTester tester(model);
        QCOMPARE(model->columnCount(), 14);
        QCOMPARE(model->rowCount(), 5);
        QVERIFY(model->IsFolderRow(0));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Тема"));
        QCOMPARE(model->RowText(1, 1), QString("Тренинг"));

        // The column widths the user leaves come back in the next journal;
        // they are kept with the journal's state, the list has no name of
        // its own.
        auto* view = journal->List()->findChild<QTableView*>();
        QVERIFY(view);
        view->horizontalHeader()->resizeSection(2, 333);
        journal->StoreState();
        QVERIFY(!CTarvikApp::GetProfileString("State\\Trainings", "Columns").isEmpty());
        for (const char* name : {"State\\TrainingsLst", "State\\CJTrainings"})
            QVERIFY2(CTarvikApp::GetProfileString(name, "Columns").isEmpty(), name);
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        auto* again = qobject_cast<CJTrainings*>(OpenDocument(QStringLiteral("CJTrainings")));
        QVERIFY(again);
        QCOMPARE(again->List()->findChild<QTableView*>()->horizontalHeader()->sectionSize(2), 333);
    }

    // Two copies open one training; the other copy changes the training's
    // row or only its participants. This form's save is refused with the
    // message and writes nothing; opened anew it shows the other copy's
    // participants and saves, twice in a row.
    void otherCopyChangedTraining_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("the training's name")
            << "UPDATE traininglist SET cName='Чужое' WHERE ROWID=1";
        QTest::newRow("a participant added")
            << "INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES (1,11)";
        QTest::newRow("a participant removed")
            << "DELETE FROM trainingssubdata WHERE nTrainingID=1";
    }
    void otherCopyChangedTraining() {
        QFETCH(QString, statement);
        CDTraining* form = Open(1, EA_EDIT);
        QVERIFY(form);
        CxMySQL other;
        SQLConnectXML info = m_fx->Db().Info();
        QVERIFY(other.Connect(&info));
        QVERIFY(other.Execute(statement).isValid());
        const QString theirs = m_fx->Db().Rows("SELECT cName FROM traininglist WHERE ROWID=1") +
                               u'#' + Participants(1);

        form->Participants()->setPlainText(QStringLiteral("ГДЕ0190ж"));
        m_fx->Answer(IDYES);
        QVERIFY(!form->Apply());
        QVERIFY2(form->LastFailure().text.contains(QStringLiteral("в другом окне")),
                 qPrintable(form->LastFailure().text));
        QCOMPARE(m_fx->Db().Rows("SELECT cName FROM traininglist WHERE ROWID=1") + u'#' +
                     Participants(1),
                 theirs);
        QTRY_VERIFY(!form->isVisible());
        auto* reopened = qobject_cast<CDTraining*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(reopened && reopened != form);
        QCOMPARE(reopened->Participants()->Core().GetText().isEmpty(), Participants(1).isEmpty());
        reopened->Participants()->setPlainText(QStringLiteral("ГДЕ0190ж"));
        QVERIFY2(reopened->Apply(), qPrintable(reopened->LastFailure().text));
        reopened->Participants()->setPlainText(QStringLiteral("АБВ0587ч\nГДЕ0190ж"));
        QVERIFY2(reopened->Apply(), qPrintable(reopened->LastFailure().text));
        QCOMPARE(Participants(1), QStringLiteral("10;11"));
        CTarvikApp::ClearErrorMessages();
    }
};

QTEST_MAIN(TestTrainingForm)
#include "test_training_form.moc"

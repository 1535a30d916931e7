// The directory item forms, driven as a user drives them: a row loads into
// the controls, the user types, ticks and presses Enter, and the row read
// back with plain SQL holds what was typed while every column the form does
// not show keeps its value. A save that fails rolls everything back, keeps
// what the user typed and says why at the field; a name that the directory
// already has is such a failure.
#include "clients/directories/dir_item_form.h"
#include "clients/directories/donors_form.h"
#include "clients/directories/drugs_form.h"
#include "clients/directories/training_type_form.h"
#include "clients/directories/workers_form.h"
#include "clients/directories/workplace_form.h"
#include "db/mysql_connection.h"
#include "directory_fixture.h"
#include "framework/core/app/acc_dic.h"
#include "framework/core/documents/document.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "tests/support/typing.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {
// The columns every form leaves alone, with values that must survive.
const char kUntouched[] = "cOtherInfo='x',nSortCode=7,nOrder=3,nRegionDataID=0,nSpecFlags=5,"
                          "nCircul=11,nPubType=2,nAuditory=6";

template <class T> T* Child(QWidget* form, const char* name) {
    T* child = form->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qWarning("no control %s", name);
    return child;
}

void Retype(QWidget* form, const char* name, const QString& text) {
    QWidget* edit = Child<QWidget>(form, name);
    QVERIFY(edit);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
}

// Enter in the name field saves (and closes the form when it worked).
void PressEnter(QWidget* form) {
    QTest::keyClick(Child<QLineEdit>(form, "cString"), Qt::Key_Return);
    QCoreApplication::processEvents();
}
} // namespace

class TestDirectoryForms : public QObject {
    Q_OBJECT
    std::unique_ptr<DirectoryFixture> m_fx;

    QString Row(int id, const char* columns) {
        return m_fx->Db().Rows(QStringLiteral("SELECT %1 FROM dir WHERE ROWID=%2")
                                   .arg(QLatin1String(columns))
                                   .arg(id));
    }
    CDDirItemForm* Open(const QString& form, qint64 key, int mode) {
        return qobject_cast<CDDirItemForm*>(
            CxDocManager::Instance()->OpenSQLEditForm(form, key, mode));
    }
    int OpenWindows() { return int(m_fx->Frame()->MDIArea()->subWindowList().size()); }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<DirectoryFixture>();
        const QMetaObject* doc = &CxSQLDocument::staticMetaObject;
        CTarvikApp::RegisterDocTemplate(1297, CDDirWorkPlace::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1305, CDDirWorkers::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1301, CDDirDrugs::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1307, CDDirTrainig::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1959, CDDirDonors::GetThisClass(), doc, nullptr);
    }
    void cleanupTestCase() { m_fx.reset(); }
    // Every case starts from the same rows and no open window.
    void init() {
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        m_fx->Questions().clear();
        m_fx->Answer(IDYES);
        m_fx->Db().Exec(QStringLiteral("DELETE FROM dir"));
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,cDescription,nDirType,nType,"
            "bHidden,nTown,nConfigGroup,nUseType,nProdType,cOtherInfo,nSortCode,nOrder,"
            "nRegionDataID,nSpecFlags,nCircul,nPubType,nAuditory) VALUES "
            "(1,0,0,'Пункт А',NULL,1,8,0,2,0,NULL,NULL,'x',7,3,0,5,11,2,6),"
            "(2,0,0,'Иванов И. И.','врач',2,0,0,0,1,NULL,NULL,'x',7,3,0,5,11,2,6),"
            "(3,0,0,'Героин','опиат',4,1,0,0,0,17,1,'x',7,3,0,5,11,2,6),"
            "(4,0,0,'Тренинг','',7,0,1,0,0,NULL,NULL,'x',7,3,0,5,11,2,6),"
            "(5,0,0,'Фонд','адрес',12,0,0,0,2,NULL,NULL,'x',7,3,0,5,11,2,6),"
            "(6,0,0,'Пункт Б','',1,2,0,3,0,NULL,NULL,'x',7,3,0,5,11,2,6)"));
    }

    // Load, change, save, read back: the row holds what the user entered, the
    // rest of it is as it was.
    void roundTrip_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("shown");   // what the controls show after loading
        QTest::addColumn<QString>("stored");  // the row after the save
        QTest::addColumn<QString>("columns"); // the columns that say so
        QTest::newRow("service point")
            << "CDDirWorkPlace" << 1 << "Пункт А||Одесса, Одесская обл.|8|0"
            << "Пункт на вокзале|ул. Вокзальная, 1|3|999|1|1"
            << "cString,cDescription,nTown,nType,bHidden,nDirType";
        QTest::newRow("worker") << "CDDirWorkers" << 2 << "Иванов И. И.|врач|Аутрич-работник||0"
                                << "Петров П. П.|врач, опыт 5 лет|2|0|2"
                                << "cString,cDescription,nConfigGroup,bHidden,nDirType";
        QTest::newRow("drug") << "CDDirDrugs" << 3 << "Героин|опиат||1|0"
                              << "Героин уличный|опиат|1|24|2|4"
                              << "cString,cDescription,nType,nUseType,nProdType,nDirType";
        QTest::newRow("training type") << "CDDirTrainig" << 4 << "Тренинг|||1|0"
                                       << "Занятие|вводное|0|7"
                                       << "cString,cDescription,bHidden,nDirType";
        QTest::newRow("donor") << "CDDirDonors" << 5 << "Фонд|адрес|Местный бюджет||0"
                               << "Фонд «Помощь»|адрес|1|1|12"
                               << "cString,cDescription,nConfigGroup,bHidden,nDirType";
    }
    void roundTrip() {
        QFETCH(QString, form);
        QFETCH(int, id);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, columns);
        CDDirItemForm* view = Open(form, id, EA_EDIT);
        QVERIFY(view);
        QCOMPARE(view->windowTitle().section(QStringLiteral(": "), 1), shown.section(u'|', 0, 0));
        auto* name = Child<QLineEdit>(view, "cString");
        auto* description = Child<QPlainTextEdit>(view, "cDescription");
        QCOMPARE(name->text(), shown.section(u'|', 0, 0));
        if (form == QLatin1String("CDDirWorkPlace")) {
            QCOMPARE(Child<CxSqlComboList>(view, "nTown")->currentText(),
                     shown.section(u'|', 2, 2));
            QVERIFY(Child<QRadioButton>(view, "nType_8")->isChecked());
            Retype(view, "cString", QStringLiteral("Пункт на вокзале"));
            QTest::keyClick(name, Qt::Key_Tab);
            TypeText(description, QStringLiteral("ул. Вокзальная, 1"));
            // The town is chosen by typing its name.
            auto* town = Child<CxSqlComboList>(view, "nTown");
            town->setFocus();
            town->lineEdit()->selectAll();
            TypeText(town->lineEdit(), QStringLiteral("Измаил, Одесская обл."));
            Child<QRadioButton>(view, "nType_999")->click();
            Child<QCheckBox>(view, "bHidden")->click();
        } else if (form == QLatin1String("CDDirWorkers")) {
            QCOMPARE(Child<CxComboList>(view, "nConfigGroup")->currentText(),
                     shown.section(u'|', 2, 2));
            Retype(view, "cString", QStringLiteral("Петров П. П."));
            description->moveCursor(QTextCursor::End);
            TypeText(description, QStringLiteral(", опыт 5 лет"));
            auto* type = Child<CxComboList>(view, "nConfigGroup");
            type->setCurrentIndex(type->findText(QStringLiteral("Врач")));
            emit type->activated(type->currentIndex());
        } else if (form == QLatin1String("CDDirDrugs")) {
            QVERIFY(Child<QRadioButton>(view, "nType_1")->isChecked());
            QCOMPARE(Child<QRadioButton>(view, "nType_1")->toolTip(),
                     QStringLiteral("Героин, опий, метадон"));
            // Stored 17: bit 16 has no box; injection is shown ticked.
            QVERIFY(Child<QCheckBox>(view, "nUseType_1")->isChecked());
            Retype(view, "cString", QStringLiteral("Героин уличный"));
            Child<QCheckBox>(view, "nUseType_8")->click();
            Child<QCheckBox>(view, "nUseType_1")->click();
            Child<QRadioButton>(view, "nProdType_2")->click();
        } else if (form == QLatin1String("CDDirTrainig")) {
            QVERIFY(Child<QCheckBox>(view, "bHidden")->isChecked());
            Retype(view, "cString", QStringLiteral("Занятие"));
            TypeText(description, QStringLiteral("вводное"));
            Child<QCheckBox>(view, "bHidden")->click();
        } else {
            QCOMPARE(Child<CxComboList>(view, "nConfigGroup")->currentText(),
                     shown.section(u'|', 2, 2));
            Retype(view, "cString", QStringLiteral("Фонд «Помощь»"));
            auto* group = Child<CxComboList>(view, "nConfigGroup");
            group->setCurrentIndex(group->findText(QStringLiteral("Глобальный фонд")));
            Child<QCheckBox>(view, "bHidden")->click();
        }
        QVERIFY(view->IsModified());
        const int before = OpenWindows();
        PressEnter(view);
        QTRY_COMPARE(OpenWindows(), before - 1);
        QCOMPARE(Row(id, qPrintable(columns)), stored);
        QCOMPARE(Row(id, "cOtherInfo,nSortCode,nOrder,nRegionDataID,nSpecFlags,nCircul,nPubType,"
                         "nAuditory,nGroupID,bIsFolder"),
                 QStringLiteral("x|7|3|0|5|11|2|6|0|0"));
        // What was saved joins the form's word dictionary (not the donor's
        // form, which has none): the name whole, the description by words.
        const QStringList words = AccDicWords(QStringLiteral("mycompletes"));
        QCOMPARE(words.contains(Row(id, "cString")), form != QLatin1String("CDDirDonors"));
        if (form == QLatin1String("CDDirWorkPlace"))
            QVERIFY(words.contains(QStringLiteral("Вокзальная")));
        Q_UNUSED(kUntouched);
    }

    // The captions of the fields, as the dialogs word them.
    void fieldCaptions_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("service point")
            << "CDDirWorkPlace"
            << QStringList{"Пункт предоставления услуг", "Описание и адрес",
                           "Географическое расположение ПОУ:"};
        QTest::newRow("worker") << "CDDirWorkers"
                                << QStringList{"Фамилия, имя и отчество:", "Специализация:",
                                               "Образование, контакты"};
        QTest::newRow("drug") << "CDDirDrugs" << QStringList{"Название наркотика:", "Описание:"};
        QTest::newRow("donor") << "CDDirDonors"
                               << QStringList{"Название организации:", "Группа из конфигурации:",
                                              "Контактная информация:"};
    }
    void fieldCaptions() {
        QFETCH(QString, form);
        QFETCH(QStringList, captions);
        CDDirItemForm* view = Open(form, -1, EA_NEW);
        QVERIFY(view);
        QStringList shown;
        for (QLabel* label : view->findChildren<QLabel*>())
            if (label->buddy())
                shown << label->text();
        QCOMPARE(shown, captions);
    }

    // A new item gets its directory type; the same name is fine in another
    // directory, refused within one with a message at the name field; the
    // refused save leaves the database and the user's input as they were.
    void duplicateNameIsReadable() {
        CDDirItemForm* view = Open(QStringLiteral("CDDirWorkPlace"), -1, EA_NEW);
        QVERIFY(view);
        Retype(view, "cString", QStringLiteral("Иванов И. И.")); // a worker's name: fine here
        auto* town = Child<CxSqlComboList>(view, "nTown");
        town->SetSelectedID(2);
        Child<QRadioButton>(view, "nType_4")->click();
        QVERIFY(view->Apply());
        const QString id = m_fx->Db().Scalar(
            QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=1 AND cString='Иванов И. И.'"));
        QVERIFY(!id.isEmpty());
        QCOMPARE(view->GetDXRecord()->GetDXIndex(), id);
        QCOMPARE(Row(id.toInt(), "nType,nTown,nGroupID,bIsFolder,bHidden"),
                 QStringLiteral("4|2|0|0|0"));

        // Now the name of another service point, differing only in case.
        Retype(view, "cString", QStringLiteral("пункт а"));
        TypeText(Child<QPlainTextEdit>(view, "cDescription"), QStringLiteral("заметка"));
        PressEnter(view);
        auto* name = Child<QLineEdit>(view, "cString");
        QVERIFY(view->isVisible());
        QCOMPARE(name->text(), QStringLiteral("пункт а"));
        QCOMPARE(Child<QPlainTextEdit>(view, "cDescription")->toPlainText(),
                 QStringLiteral("заметка"));
        const QString tip = name->property("cxErrorTip").toString();
        QVERIFY2(tip.contains(QStringLiteral("уже есть запись «пункт а»")), qPrintable(tip));
        // The error list shows the message too, and is in view.
        QVERIFY(CxErrorListWnd::Get());
        QVERIFY(CxErrorListWnd::Get()->isVisible());
        QVERIFY(CxErrorListWnd::Get()->Lines().join(u'\n').contains(QStringLiteral("пункт а")));
        QCOMPARE(Row(id.toInt(), "cString,cDescription"), QStringLiteral("Иванов И. И.|NULL"));
        QVERIFY(view->IsModified());
        // Mended, the same form saves the row it made (an update, not a
        // second row).
        Retype(view, "cString", QStringLiteral("Пункт В"));
        QVERIFY(view->Apply());
        QCOMPARE(Row(id.toInt(), "cString,cDescription"), QStringLiteral("Пункт В|заметка"));
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=1")),
                 QStringLiteral("3"));
        CTarvikApp::ClearErrorMessages();
    }

    // Required values: a new service point without a name, town or kind
    // stays unsaved with a tip at the first that is missing.
    void requiredValues() {
        CDDirItemForm* view = Open(QStringLiteral("CDDirWorkPlace"), -1, EA_NEW);
        QVERIFY(view);
        QVERIFY(!view->Apply());
        QVERIFY(!Child<QLineEdit>(view, "cString")->property("cxErrorTip").toString().isEmpty());
        Retype(view, "cString", QStringLiteral("Новый пункт"));
        QVERIFY(!view->Apply());
        QVERIFY(!Child<CxSqlComboList>(view, "nTown")->property("cxErrorTip").toString().isEmpty());
        // A town name that is not in the list is refused too.
        auto* town = Child<CxSqlComboList>(view, "nTown");
        town->setEditText(QStringLiteral("Атлантида"));
        QVERIFY(!view->Apply());
        QVERIFY(town->property("cxErrorTip").toString().contains(QStringLiteral("Атлантида")));
        town->SetSelectedID(3);
        QVERIFY(!view->Apply());
        QVERIFY(!Child<QRadioButton>(view, "nType_8")->property("cxErrorTip").toString().isEmpty());
        Child<QRadioButton>(view, "nType_999")->click();
        QVERIFY(view->Apply());
        QCOMPARE(m_fx->Db().Rows(QStringLiteral(
                     "SELECT nType,nTown FROM dir WHERE cString='Новый пункт' AND nDirType=1")),
                 QStringLiteral("999|3"));

        // A stored town 0 is no town: the field shows empty and must be
        // filled before the point is saved again.
        m_fx->Db().Exec(QStringLiteral("UPDATE dir SET nTown=0 WHERE ROWID=6"));
        view = Open(QStringLiteral("CDDirWorkPlace"), 6, EA_EDIT);
        QVERIFY(view);
        QCOMPARE(Child<CxSqlComboList>(view, "nTown")->currentText(), QString());
        QVERIFY(!view->Apply());
        QVERIFY(!Child<CxSqlComboList>(view, "nTown")->property("cxErrorTip").toString().isEmpty());
        CTarvikApp::ClearErrorMessages();
    }

    // A form opened again on its record is the one already open; a new
    // record always gets a window of its own.
    void secondOpeningActivates() {
        CDDirItemForm* first = Open(QStringLiteral("CDDirDrugs"), 3, EA_EDIT);
        const int windows = OpenWindows();
        QVERIFY(
            CxDocManager::Instance()->ProcessAddress(QStringLiteral("sqledit:CDDirDrugs:3:2055")));
        QCOMPARE(OpenWindows(), windows);
        QCOMPARE(CxDocManager::Instance()->ActiveView(), first);
        QVERIFY(Open(QStringLiteral("CDDirDrugs"), -1, EA_NEW));
        QVERIFY(Open(QStringLiteral("CDDirDrugs"), -1, EA_NEW));
        QCOMPARE(OpenWindows(), windows + 2);
        // A record that is gone opens no form.
        QVERIFY(!Open(QStringLiteral("CDDirDrugs"), 999, EA_EDIT));
        QCOMPARE(OpenWindows(), windows + 2);
    }

    // A form with unsaved changes does not close without asking: "Cancel"
    // keeps it open with the changes, "No" closes it and nothing is written,
    // "Yes" saves first.
    void refusesToCloseWithUnsavedData() {
        CDDirItemForm* view = Open(QStringLiteral("CDDirTrainig"), 4, EA_EDIT);
        QVERIFY(view);
        QMdiSubWindow* window = m_fx->Frame()->MDIArea()->activeSubWindow();
        Retype(view, "cString", QStringLiteral("Семинар"));
        m_fx->Answer(IDCANCEL);
        QVERIFY(!window->close());
        QCOMPARE(m_fx->Questions().size(), 1);
        QVERIFY(view->isVisible());
        QCOMPARE(Child<QLineEdit>(view, "cString")->text(), QStringLiteral("Семинар"));
        m_fx->Answer(IDNO);
        QVERIFY(window->close());
        QCOMPARE(Row(4, "cString"), QStringLiteral("Тренинг"));

        view = Open(QStringLiteral("CDDirTrainig"), 4, EA_EDIT);
        window = m_fx->Frame()->MDIArea()->activeSubWindow();
        Retype(view, "cString", QStringLiteral("Семинар"));
        m_fx->Answer(IDYES);
        QVERIFY(window->close());
        QCOMPARE(Row(4, "cString"), QStringLiteral("Семинар"));

        // An unchanged form closes without a question.
        m_fx->Questions().clear();
        view = Open(QStringLiteral("CDDirTrainig"), 4, EA_EDIT);
        QVERIFY(m_fx->Frame()->MDIArea()->activeSubWindow()->close());
        QVERIFY(m_fx->Questions().isEmpty());
    }

    // Saving a form changes nothing that the user did not change: a NULL
    // description stays NULL, no statement runs for an untouched form.
    void untouchedFormWritesNothing() {
        CDDirItemForm* view = Open(QStringLiteral("CDDirWorkPlace"), 1, EA_EDIT);
        QVERIFY(view);
        QVERIFY(view->Apply());
        QVERIFY(view->GetDXRecord()->BuildStatement(EA_EDIT).isEmpty());
        QCOMPARE(Row(1, "cDescription,nTown,nType,bHidden"), QStringLiteral("NULL|2|8|0"));
    }

    // Two copies of the program open one item: the other copy saves its
    // change first; this form's save is refused with the message and the
    // offer to open the item again, and writes nothing. "No" keeps the form
    // as typed; "yes" opens the item anew with the other copy's data, which
    // then saves, twice in a row.
    void otherCopyChangedItem_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("id");
        QTest::newRow("service point") << "CDDirWorkPlace" << 1;
        QTest::newRow("worker") << "CDDirWorkers" << 2;
        QTest::newRow("drug") << "CDDirDrugs" << 3;
        QTest::newRow("training type") << "CDDirTrainig" << 4;
        QTest::newRow("donor") << "CDDirDonors" << 5;
    }
    void otherCopyChangedItem() {
        QFETCH(QString, form);
        QFETCH(int, id);
        CDDirItemForm* view = Open(form, id, EA_EDIT);
        QVERIFY(view);
        CxMySQL other;
        SQLConnectXML info = m_fx->Db().Info();
        QVERIFY(other.Connect(&info));
        QVERIFY(other
                    .Execute(QStringLiteral("UPDATE dir SET cString=CONCAT(cString,' (чужое)') "
                                            "WHERE ROWID=%1")
                                 .arg(id))
                    .isValid());
        const QString theirs = Row(id, "cString");

        Retype(view, "cString", QStringLiteral("Моё название"));
        m_fx->Answer(IDNO);
        QVERIFY(!view->Apply());
        QVERIFY2(view->LastFailure().text.contains(QStringLiteral("в другом окне")),
                 qPrintable(view->LastFailure().text));
        QVERIFY(m_fx->Questions().join(u'\n').contains(QStringLiteral("Открыть запись заново")));
        QCOMPARE(Row(id, "cString"), theirs);
        QCOMPARE(Child<QLineEdit>(view, "cString")->text(), QStringLiteral("Моё название"));

        m_fx->Answer(IDYES);
        QVERIFY(!view->Apply());
        QCOMPARE(Row(id, "cString"), theirs);
        QTRY_VERIFY(!view->isVisible());
        auto* reopened = qobject_cast<CDDirItemForm*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(reopened);
        QVERIFY(reopened != view);
        QCOMPARE(Child<QLineEdit>(reopened, "cString")->text(), theirs);
        Retype(reopened, "cString", QStringLiteral("Моё название"));
        QVERIFY2(reopened->Apply(), qPrintable(reopened->LastFailure().text));
        Retype(reopened, "cString", QStringLiteral("Моё второе название"));
        QVERIFY2(reopened->Apply(), qPrintable(reopened->LastFailure().text));
        QCOMPARE(Row(id, "cString"), QStringLiteral("Моё второе название"));
        CTarvikApp::ClearErrorMessages();
    }

    // A name longer than the directory holds is refused as too long, naming
    // the limit, even when its first 255 characters are another entry's
    // name; a name of exactly 255 such characters is that entry's duplicate.
    void tooLongName() {
        const QString existing(255, QChar(u'д'));
        m_fx->Db().Exec(QStringLiteral("UPDATE dir SET cString='%1' WHERE ROWID=6").arg(existing));
        const QString before = m_fx->Db().Rows(QStringLiteral("SELECT * FROM dir ORDER BY ROWID"));
        CDDirItemForm* view = Open(QStringLiteral("CDDirWorkPlace"), -1, EA_NEW);
        QVERIFY(view);
        auto* name = Child<QLineEdit>(view, "cString");
        name->setFocus();
        name->insert(existing + u'д'); // pasted
        QCOMPARE(name->text().size(), 256);
        Child<CxSqlComboList>(view, "nTown")->SetSelectedID(2);
        Child<QRadioButton>(view, "nType_4")->click();
        QVERIFY(!view->Apply());
        const QString tip = name->property("cxErrorTip").toString();
        QVERIFY2(tip.contains(QStringLiteral("слишком длинное")) &&
                     tip.contains(QStringLiteral("255")),
                 qPrintable(tip));
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT * FROM dir ORDER BY ROWID")), before);

        name->backspace();
        QVERIFY(!view->Apply());
        QVERIFY2(name->property("cxErrorTip").toString().contains(QStringLiteral("уже есть")),
                 qPrintable(name->property("cxErrorTip").toString()));
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT * FROM dir ORDER BY ROWID")), before);
        CTarvikApp::ClearErrorMessages();
    }
};

QTEST_MAIN(TestDirectoryForms)
#include "test_directory_forms.moc"

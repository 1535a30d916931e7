// The material form, the material group form and the material package form,
// driven as a user drives them: a row loads into the controls, the user
// changes it and saves, and the row read back with plain SQL holds what the
// form should write while every other column keeps its value. A save that
// fails rolls everything back and keeps what the user entered; a stored list
// that cannot be read is reported and never saved over.
#include "clients/directories/material_form.h"
#include "clients/directories/material_group_form.h"
#include "clients/directories/material_kind_pages.h"
#include "clients/directories/material_pack_form.h"
#include "directory_fixture.h"
#include "framework/core/documents/document.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "tests/support/typing.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace {
template <class T> T* Child(QWidget* form, const QString& name) {
    T* child = form->findChild<T*>(name);
    if (!child)
        qWarning("no control %s", qPrintable(name));
    return child;
}

void Retype(QWidget* form, const char* name, const QString& text) {
    auto* edit = Child<QLineEdit>(form, QString::fromLatin1(name));
    QVERIFY(edit);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
}

// The columns of a material that no kind owns, as the rows below hold them:
// they must come through every save unchanged.
const char kKept[] = "nSortCode,cFlatCode,bByCode,nOrder,nRegionDataID,nTown,nDonorID,nGroupID,"
                     "bIsFolder,cOtherInfo,nUseType";
QString KeptValues(int id) {
    return QStringLiteral("7|f%1|1|3|0|2|5|0|0|x|9").arg(id);
}

// What each material row holds besides its kind's columns.
const char kMaterialColumns[] =
    "(ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nAuditory,nPubType,nCircul,"
    "nSpecFlags,nConfigGroup,nSortCode,cFlatCode,bByCode,nOrder,nRegionDataID,nTown,nDonorID,"
    "cOtherInfo,nUseType)";
} // namespace

class TestMaterialForms : public QObject {
    Q_OBJECT
    std::unique_ptr<DirectoryFixture> m_fx;

    QString Row(int id, const char* columns) {
        return m_fx->Db().Rows(QStringLiteral("SELECT %1 FROM dir WHERE ROWID=%2")
                                   .arg(QLatin1String(columns))
                                   .arg(id));
    }
    template <class T> T* Open(qint64 key, int mode) {
        return qobject_cast<T*>(CxDocManager::Instance()->OpenSQLEditForm(
            QString::fromLatin1(T::staticMetaObject.className()), key, mode));
    }
    // The page shown and the button of a code on it.
    static QRadioButton* Code(CDDirMat* form, long code) {
        return form->KindPage()
                   ? Child<QRadioButton>(form->KindPage(), QStringLiteral("nType_%1").arg(code))
                   : nullptr;
    }
    static QRadioButton* Kind(CDDirMat* form, const char* kind) {
        return Child<QRadioButton>(form, QStringLiteral("kind_") + QLatin1String(kind));
    }
    static QString CheckedCodes(CDDirMat* form) {
        QStringList codes;
        if (form->KindPage())
            for (QRadioButton* b : form->KindPage()->findChildren<QRadioButton*>())
                if (b->isChecked())
                    codes << b->objectName();
        return codes.join(u',');
    }
    static void Tick(QWidget* page, const QString& name, bool on) {
        auto* box = Child<QAbstractButton>(page, name);
        QVERIFY(box);
        if (box->isChecked() != on)
            box->click();
    }
    static void Choose(QWidget* page, const QString& text) {
        auto* combo = Child<CxComboList>(page, QStringLiteral("nConfigGroup"));
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText(text));
        emit combo->activated(combo->currentIndex());
    }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<DirectoryFixture>();
        const QMetaObject* doc = &CxSQLDocument::staticMetaObject;
        CTarvikApp::RegisterDocTemplate(1266, CDDirMat::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1296, CDDirMatGroup::GetThisClass(), doc, nullptr);
        CTarvikApp::RegisterDocTemplate(1296, CDDirMatPack::GetThisClass(), doc, nullptr);
    }
    void cleanupTestCase() { m_fx.reset(); }
    void init() {
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        m_fx->Questions().clear();
        m_fx->Answer(IDYES);
        CTarvikApp::ClearErrorMessages();
        m_fx->Db().Exec(QStringLiteral("DELETE FROM dir"));
        m_fx->Db().Exec(
            QStringLiteral(
                "INSERT INTO dir %1 VALUES "
                "(10,0,0,'Буклет о ВИЧ',3,327685,0,3,2,500,NULL,NULL,7,'f10',1,3,0,2,5,"
                "'x',9),"
                "(11,0,0,'Консультация',3,462847,0,NULL,NULL,NULL,5,2,7,'f11',1,3,0,2,5,"
                "'x',9),"
                "(12,0,0,'Презерватив женский',3,524290,0,0,0,NULL,NULL,NULL,7,'f12',1,3,"
                "0,2,5,'x',9),"
                "(13,0,0,'Налоксон',3,196624,0,0,0,NULL,NULL,NULL,7,'f13',1,3,0,2,5,'x',"
                "9),"
                "(14,0,0,'Лубрикант',3,196622,0,0,0,NULL,NULL,NULL,7,'f14',1,3,0,2,5,'x',"
                "9),"
                "(15,0,0,'Набор',3,196625,0,0,0,NULL,NULL,NULL,7,'f15',1,3,0,2,5,'x',9),"
                "(16,0,0,'Непонятное',3,589824,0,0,0,NULL,NULL,NULL,7,'f16',1,3,0,2,5,"
                "'x',9),"
                "(17,0,0,'Шприц',3,65537,0,0,0,NULL,NULL,NULL,7,'f17',1,3,0,2,5,'x',9),"
                "(18,0,0,'Юрист',3,266239,0,0,0,NULL,NULL,1,7,'f18',1,3,0,2,5,'x',9),"
                "(19,0,0,'Старый шприц',3,65538,1,0,0,NULL,NULL,NULL,7,'f19',1,3,0,2,5,"
                "'x',9),"
                "(20,0,0,'Консультация врача',3,462847,0,NULL,NULL,NULL,2,1,7,'f20',1,3,"
                "0,2,5,'x',9),"
                "(21,0,1,'Папка материалов',3,0,0,0,0,NULL,NULL,NULL,7,'f21',1,3,0,2,5,"
                "'x',9)")
                .arg(QLatin1String(kMaterialColumns)));
        m_fx->Db().Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,cDescription,nDirType,cOtherInfo,"
            "nSortCode) VALUES "
            "(5,0,0,'Фонд',NULL,12,NULL,NULL),(6,0,0,'Местный фонд',NULL,12,NULL,NULL),"
            "(30,0,0,'Пакет','для выезда',11,'BAARAAAAFAAAABMAAABjAAAA',4),"
            "(31,0,0,'Сломанный пакет',NULL,11,'Шприц; Игла',4),"
            "(32,0,0,'Пакет без списка',NULL,11,NULL,4),"
            "(40,0,0,'Группа','шприцы и наборы',10,"
            "'AwAGADE5NjYyNQEAMQYANDYyODQ3AQAxBQA2NTUzNwEAMQ==',4),"
            "(41,0,0,'Пустая группа',NULL,10,NULL,4),"
            "(42,0,0,'Сломанная группа',NULL,10,'x',4)"));
    }

    // Load, change, save, read back: the row holds the kind the user chose
    // with its own columns, the columns of a kind it left are empty, the
    // rest is as it was.
    void materialRoundTrip_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("opens");  // kind and the checked code buttons
        QTest::addColumn<QString>("change"); // what the user does
        QTest::addColumn<QString>("stored"); // the kind's columns after the save
        QTest::newRow("booklet to syringe") << 10 << "Booklets|nPubType_2"
                                            << "kind Syringes; code 65538"
                                            << "65538|NULL|NULL|NULL|NULL|NULL";
        QTest::newRow("booklet edited")
            << 10 << "Booklets|nPubType_2"
            << "untick nAuditory_1; tick nAuditory_512; circulation 1000"
            << "327685|514|2|1000|NULL|NULL";
        QTest::newRow("consultation to service") << 11 << "Consultations|"
                                                 << "kind Services; choose Юридические услуги"
                                                 << "266239|NULL|NULL|NULL|NULL|3";
        QTest::newRow("service to consultation")
            << 18 << "Services|"
            << "kind Consultations; tick nSpecFlags_1; tick nSpecFlags_8; "
               "choose Тестирование на ВИЧ"
            << "462847|0|0|NULL|9|2";
        QTest::newRow("female condoms renamed") << 12 << "Condoms|nType_524290"
                                                << "name Презерватив"
                                                << "524290|0|0|NULL|NULL|NULL";
        QTest::newRow("naloxone to iodine") << 13 << "Medicines|nType_196624"
                                            << "code 196612"
                                            << "196612|0|0|NULL|NULL|NULL";
        QTest::newRow("lubricant") << 14 << "Other|nType_196622"
                                   << "name Лубрикант на водной основе"
                                   << "196622|0|0|NULL|NULL|NULL";
        // A code of the kind without a button of its own stays.
        QTest::newRow("kit keeps its code") << 15 << "Other|"
                                            << "name Набор для инъекций"
                                            << "196625|0|0|NULL|NULL|NULL";
    }
    void materialRoundTrip() {
        QFETCH(int, id);
        QFETCH(QString, opens);
        QFETCH(QString, change);
        QFETCH(QString, stored);
        auto* form = Open<CDDirMat>(id, EA_EDIT);
        QVERIFY(form);
        QVERIFY(form->KindPage());
        QCOMPARE(QString::fromLatin1(MaterialKind(form->ChosenKind())->name) + u'|' +
                     CheckedCodes(form),
                 opens);
        QCOMPARE(Child<QStackedWidget>(form, QStringLiteral("kindPages"))->currentWidget(),
                 form->KindPage());
        QCOMPARE(Child<CxSqlComboList>(form, QStringLiteral("nDonorID"))->currentText(),
                 QStringLiteral("Фонд"));
        if (id == 10) {
            QWidget* page = form->KindPage();
            QVERIFY(Child<QCheckBox>(page, QStringLiteral("nAuditory_1"))->isChecked());
            QVERIFY(Child<QCheckBox>(page, QStringLiteral("nAuditory_2"))->isChecked());
            QVERIFY(!Child<QCheckBox>(page, QStringLiteral("nAuditory_4"))->isChecked());
            QCOMPARE(Child<QLineEdit>(page, QStringLiteral("nCircul"))->text(),
                     QStringLiteral("500"));
        }
        for (const QString& step : change.split(QStringLiteral("; "))) {
            const QString verb = step.section(u' ', 0, 0);
            const QString arg = step.section(u' ', 1);
            if (verb == QLatin1String("kind")) {
                Kind(form, qPrintable(arg))->click();
                QVERIFY(form->KindPage());
                QCOMPARE(QString::fromLatin1(MaterialKind(form->KindPage()->Kind())->name), arg);
                // A page of another kind than the row's starts empty.
                QCOMPARE(CheckedCodes(form), QString());
                for (QAbstractButton* b : form->KindPage()->findChildren<QAbstractButton*>())
                    QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
                if (auto* combo = form->KindPage()->findChild<CxComboList*>())
                    QCOMPARE(combo->GetCurSelCode(), -1L);
            } else if (verb == QLatin1String("code")) {
                Code(form, arg.toLong())->click();
            } else if (verb == QLatin1String("tick") || verb == QLatin1String("untick")) {
                Tick(form->KindPage(), arg, verb == QLatin1String("tick"));
            } else if (verb == QLatin1String("choose")) {
                Choose(form->KindPage(), arg);
            } else if (verb == QLatin1String("circulation")) {
                auto* edit = Child<QLineEdit>(form->KindPage(), QStringLiteral("nCircul"));
                edit->selectAll();
                TypeText(edit, arg);
            } else if (verb == QLatin1String("name")) {
                Retype(form, "cString", arg);
            }
        }
        QVERIFY(form->IsModified());
        QVERIFY(form->Apply());
        QCOMPARE(Row(id, "nType,nAuditory,nPubType,nCircul,nSpecFlags,nConfigGroup"), stored);
        QCOMPARE(Row(id, kKept), KeptValues(id));
        QCOMPARE(Row(id, "nDirType,bHidden"), QStringLiteral("3|0"));
    }

    // A row whose code has no kind opens with none chosen and is saved only
    // once a kind and, where the kind has them, a subtype are chosen; a new
    // row likewise. Deleting never asks for a kind.
    void kindIsRequired() {
        auto* form = Open<CDDirMat>(16, EA_EDIT);
        QVERIFY(form);
        QCOMPARE(form->ChosenKind(), EMaterialKind::None);
        QVERIFY(!form->KindPage());
        QVERIFY(!form->Apply());
        QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(
            QStringLiteral("Необходимо указать тип материала или услуги")));
        Kind(form, "Needles")->click();
        QVERIFY(!form->Apply());
        QVERIFY(!Code(form, 0x20001)->property("cxErrorTip").toString().isEmpty());
        QCOMPARE(Row(16, "nType"), QStringLiteral("589824"));
        Code(form, 0x20003)->click();
        QVERIFY(form->Apply());
        QCOMPARE(Row(16, "nType"), QStringLiteral("131075"));

        form = Open<CDDirMat>(-1, EA_NEW);
        QVERIFY(form);
        QVERIFY(!form->KindPage());
        Retype(form, "cString", QStringLiteral("Новый буклет"));
        QVERIFY(!form->Apply());
        Kind(form, "Booklets")->click();
        // A booklet needs its audience and publication type.
        QVERIFY(!form->Apply());
        Tick(form->KindPage(), QStringLiteral("nAuditory_16"), true);
        QVERIFY(!form->Apply());
        Child<QRadioButton>(form->KindPage(), QStringLiteral("nPubType_3"))->click();
        QVERIFY(form->Apply());
        QCOMPARE(m_fx->Db().Rows(QStringLiteral("SELECT nDirType,nType,nAuditory,nPubType,nCircul,"
                                                "bHidden FROM dir WHERE cString='Новый буклет'")),
                 QStringLiteral("3|327685|16|3|NULL|0"));

        form = Open<CDDirMat>(19, EA_DELETE);
        QVERIFY(form);
        QCOMPARE(form->ChosenKind(), EMaterialKind::None);
        QVERIFY(form->Apply());
        QCOMPARE(Row(19, "ROWID"), QString());
        CTarvikApp::ClearErrorMessages();
    }

    // A save that fails (a name the directory has) leaves the row as it was
    // and the form as the user left it; once mended it writes the new kind
    // and empties the booklet's columns.
    void failedSaveRollsBack() {
        auto* form = Open<CDDirMat>(10, EA_EDIT);
        QVERIFY(form);
        Kind(form, "Syringes")->click();
        Code(form, 0x10003)->click();
        Retype(form, "cString", QStringLiteral("Шприц"));
        const QString before = Row(10, "*");
        QVERIFY(!form->Apply());
        QCOMPARE(Row(10, "*"), before);
        QCOMPARE(Child<QLineEdit>(form, QStringLiteral("cString"))->text(),
                 QStringLiteral("Шприц"));
        QCOMPARE(form->ChosenKind(), EMaterialKind::Syringes);
        QVERIFY(Code(form, 0x10003)->isChecked());
        QVERIFY(form->IsModified());
        // Back to the booklet page: what the user entered there is still
        // there, but only the page shown writes.
        Kind(form, "Booklets")->click();
        QVERIFY(Child<QCheckBox>(form->KindPage(), QStringLiteral("nAuditory_2"))->isChecked());
        Kind(form, "Syringes")->click();
        Retype(form, "cString", QStringLiteral("Шприц 5 мл"));
        QVERIFY(form->Apply());
        QCOMPARE(Row(10, "cString,nType,nAuditory,nPubType,nCircul"),
                 QStringLiteral("Шприц 5 мл|65539|NULL|NULL|NULL"));
        QCOMPARE(Row(10, kKept), KeptValues(10));
        CTarvikApp::ClearErrorMessages();
    }

    // The package chooser: the offered materials unticked, then the
    // package's own, ticked, in its order, a hidden material and a
    // consultation not counted by code among them, a material that is gone
    // left out. Saving writes the ticked ones in the chooser's order.
    void packageRoundTrip() {
        auto* form = Open<CDDirMatPack>(30, EA_EDIT);
        QVERIFY(form);
        QVERIFY(form->Unsaveable().isEmpty());
        QVERIFY(!Child<QLabel>(form, QStringLiteral("problem"))->isVisible());
        CxListSelOrderModel* model = form->Chooser()->Model();
        QAbstractItemModelTester tester(model);
        QStringList offered, chosen;
        for (const CxListSelOrder_Struct& e : model->Entries())
            (e.selected ? chosen : offered) << QString::number(e.id);
        QCOMPARE(chosen.join(u','), QStringLiteral("17,20,19"));
        // The ticked ones come last.
        for (const CxListSelOrder_Struct& e : model->Entries().mid(offered.size()))
            QVERIFY(e.selected);
        // Offered: not folders, not hidden, consultations only when counted
        // by code.
        std::sort(offered.begin(), offered.end());
        QCOMPARE(offered.join(u','), QStringLiteral("10,11,12,13,14,15,16,18"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Пакет материалов и услуг: Пакет"));
        // The bar names the packages (not the material groups).
        QStringList bar;
        for (QLabel* label : form->Infobar()->findChildren<QLabel*>())
            bar << label->text();
        QVERIFY2(bar.join(u' ').contains(QStringLiteral("пакетов материалов и услуг")),
                 qPrintable(bar.join(u' ')));

        const auto rowOf = [&](int id) {
            for (int r = 0; r < model->rowCount(); ++r)
                if (model->Entries()[r].id == id)
                    return r;
            return -1;
        };
        model->setData(model->index(rowOf(20), 0), Qt::Unchecked, Qt::CheckStateRole);
        model->setData(model->index(rowOf(13), 0), Qt::Checked, Qt::CheckStateRole);
        QListView* view = form->Chooser()->View();
        view->setCurrentIndex(model->index(rowOf(19), 0));
        auto* up = Child<QPushButton>(form->Chooser(), QStringLiteral("moveUp"));
        up->click();
        up->click();
        QVERIFY(form->IsModified());
        QVERIFY(form->Apply());
        // 13, 19, 17 as the archive writes them.
        QCOMPARE(Row(30, "cOtherInfo,cString,cDescription,nSortCode"),
                 QStringLiteral("AwANAAAAEwAAABEAAAA=|Пакет|для выезда|4"));
        CDDirMatPackArray back;
        QVERIFY(back.LoadFromString(Row(30, "cOtherInfo")));
        QCOMPARE(back, (CDDirMatPackArray{13, 19, 17}));

        // A new package without materials stores the empty list; a package
        // without a list opens empty and, saved unchanged, stays so.
        form = Open<CDDirMatPack>(-1, EA_NEW);
        Retype(form, "cString", QStringLiteral("Пустой пакет"));
        QVERIFY(form->Apply());
        QCOMPARE(m_fx->Db().Scalar(QStringLiteral(
                     "SELECT cOtherInfo FROM dir WHERE nDirType=11 AND cString='Пустой пакет'")),
                 QStringLiteral("AAA="));
        form = Open<CDDirMatPack>(32, EA_EDIT);
        QVERIFY(form->Unsaveable().isEmpty());
        QVERIFY(form->Apply());
        QCOMPARE(Row(32, "cOtherInfo"), QStringLiteral("NULL"));
    }

    // A package whose list does not decode, or whose materials cannot be
    // read, opens with the problem in view and is not saved; it can still be
    // deleted.
    void unreadablePackageIsNotSavedOver() {
        auto* form = Open<CDDirMatPack>(31, EA_EDIT);
        QVERIFY(form);
        QVERIFY(!form->Unsaveable().isEmpty());
        auto* problem = Child<QLabel>(form, QStringLiteral("problem"));
        QVERIFY(problem->isVisible());
        QVERIFY(problem->text().contains(QStringLiteral("Сломанный пакет")));
        QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(problem->text()));
        Retype(form, "cString", QStringLiteral("Починенный пакет"));
        CxListSelOrderModel* model = form->Chooser()->Model();
        model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
        QVERIFY(!form->Apply());
        QCOMPARE(Row(31, "cString,cOtherInfo"), QStringLiteral("Сломанный пакет|Шприц; Игла"));
        QCOMPARE(Child<QLineEdit>(form, QStringLiteral("cString"))->text(),
                 QStringLiteral("Починенный пакет"));

        // The materials cannot be read (the directory lacks a column the
        // chooser needs): the list is not saved empty either.
        m_fx->Db().Exec(QStringLiteral("ALTER TABLE dir CHANGE nSpecFlags nSpecFlagsAway int"));
        form = Open<CDDirMatPack>(30, EA_EDIT);
        m_fx->Db().Exec(QStringLiteral("ALTER TABLE dir CHANGE nSpecFlagsAway nSpecFlags int"));
        QVERIFY(form);
        QVERIFY(!form->Unsaveable().isEmpty());
        QCOMPARE(form->Chooser()->Model()->rowCount(), 0);
        QVERIFY(!form->Apply());
        QCOMPARE(Row(30, "cOtherInfo"), QStringLiteral("BAARAAAAFAAAABMAAABjAAAA"));

        m_fx->Answer(IDNO); // the changes made above are dropped
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        form = Open<CDDirMatPack>(31, EA_DELETE);
        QVERIFY(form);
        QVERIFY(form->Apply());
        QCOMPARE(Row(31, "ROWID"), QString());
        CTarvikApp::ClearErrorMessages();
    }

    // The group grid: every material type that may be a member, none of the
    // services or consultations; the members ticked. Saving writes the
    // ticked ones as the packed set, and nothing else.
    void groupRoundTrip() {
        auto* form = Open<CDDirMatGroup>(40, EA_EDIT);
        QVERIFY(form);
        QVERIFY(form->Unsaveable().isEmpty());
        CGridCtrl* grid = form->Grid();
        QAbstractItemModelTester tester(grid->Model());
        const QList<long>& codes = form->Codes();
        QCOMPARE(codes.size(), 33);
        QCOMPARE(grid->GetItemCount(), 33);
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
        QVERIFY(!codes.contains(0x70fff) && !codes.contains(0x40fff) && !codes.contains(0x403ec));
        QVERIFY(!codes.contains(0x10000) && !codes.contains(0x90000));
        QStringList ticked;
        for (int r = 0; r < codes.size(); ++r)
            if (grid->GetItemText(r, 1) == QLatin1String("1"))
                ticked << QString::number(codes[r]);
        QCOMPARE(ticked.join(u','), QStringLiteral("65537,196625"));
        QCOMPARE(grid->GetItemText(codes.indexOf(0x30011), 0), QStringLiteral("Набор материалов"));
        QVERIFY(!(grid->Model()->flags(grid->Model()->index(0, 0)) & Qt::ItemIsEditable));

        grid->Model()->setData(grid->Model()->index(codes.indexOf(0x10001), 1), Qt::Unchecked,
                               Qt::CheckStateRole);
        grid->Model()->setData(grid->Model()->index(codes.indexOf(0x80002), 1), Qt::Checked,
                               Qt::CheckStateRole);
        QVERIFY(form->IsModified());
        QVERIFY(form->Apply());
        // {196625, 524290}; the consultation 462847 the group held is gone.
        QCOMPARE(Row(40, "cOtherInfo,cString,cDescription,nSortCode"),
                 QStringLiteral("AgAGADE5NjYyNQEAMQYANTI0MjkwAQAx|Группа|шприцы и наборы|4"));

        // No stored set: every box unticked; saved unchanged, nothing is
        // written.
        form = Open<CDDirMatGroup>(41, EA_EDIT);
        for (int r = 0; r < form->Grid()->GetItemCount(); ++r)
            QCOMPARE(form->Grid()->GetItemText(r, 1), QStringLiteral("0"));
        QVERIFY(form->Apply());
        QCOMPARE(Row(41, "cOtherInfo"), QStringLiteral("NULL"));
    }

    void unreadableGroupIsNotSavedOver() {
        auto* form = Open<CDDirMatGroup>(42, EA_EDIT);
        QVERIFY(form);
        QVERIFY(!form->Unsaveable().isEmpty());
        QVERIFY(Child<QLabel>(form, QStringLiteral("problem"))->isVisible());
        form->Grid()->Model()->setData(form->Grid()->Model()->index(0, 1), Qt::Checked,
                                       Qt::CheckStateRole);
        QVERIFY(!form->Apply());
        QCOMPARE(Row(42, "cOtherInfo"), QStringLiteral("x"));
        CTarvikApp::ClearErrorMessages();
    }
};

QTEST_MAIN(TestMaterialForms)
#include "test_material_forms.moc"

// The client card driven as a user drives it: a new client with its
// vulnerable groups, a drug-use page and health; an existing client whose one
// page is edited and another removed; refused saves, which leave the
// database as it was and the input on the screen; the save through
// "command:forceapply"; two copies of the program editing one client; the
// visits tab in both modes, without the daily report form, and a visit
// recorded from the card.
#include "card_fixture.h"
#include "clients/card/client_base_tab.h"
#include "clients/card/client_card.h"
#include "clients/card/clients_journal.h"
#include "clients/card/health_tab.h"
#include "clients/card/history_tabs.h"
#include "clients/card/visits_tab.h"
#include "clients/core/client_code_rules.h"
#include "framework/core/report/rep_doc.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/html_static.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/pages/tab.h"
#include "tests/support/typing.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>

namespace {
enum TabIndex { kBase = 0, kDrugs = 1, kSocial = 2, kRisk = 3, kHealth = 4, kVisits = 5 };

template <class T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child)
        qWarning("no control %s", qPrintable(name));
    return child;
}
} // namespace

class TestClientCard : public QObject {
    Q_OBJECT
    std::unique_ptr<CardFixture> m_fx;

    CDClients* Open(qint64 key, int mode) {
        return qobject_cast<CDClients*>(
            CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("CDClients"), key, mode));
    }
    template <class T> T* Tab(CDClients* card, int index) {
        card->Tab()->SetCurSel(index);
        return qobject_cast<T*>(card->Tab()->GetTabWindow(index, true));
    }
    // Every row of the client's data, to see that a refused save changed
    // nothing.
    QString Everything(bool withClients = true) {
        QStringList parts;
        if (withClients)
            parts << m_fx->Db().Rows(QStringLiteral("SELECT * FROM clientdata ORDER BY ROWID"));
        for (const char* table : {"clientdatachanges", "drugusedata", "riskbehavior",
                                  "socialstatus", "healthstatus", "dailyreport", "dailyvisits"})
            parts << m_fx->Db().Rows(
                QStringLiteral("SELECT * FROM %1 ORDER BY ROWID").arg(QLatin1String(table)));
        return parts.join(u'#');
    }
    QString Row(const QString& statement) { return m_fx->Db().Rows(statement); }
    // A second copy of the program with a client's card open for editing: a
    // connection of its own and a card on it (closed before the connection).
    struct OtherCopy {
        std::unique_ptr<CxMySQL> sql = std::make_unique<CxMySQL>();
        CDClients card;
    };
    bool OpenInOtherCopy(OtherCopy& copy, qint64 key) {
        SQLConnectXML info = m_fx->Db().Info();
        if (!copy.sql->Connect(&info))
            return false;
        auto record = std::make_unique<CDXRecordSQL>(copy.sql.get(), QStringLiteral("clientdata"));
        return record->Load(key) && copy.card.LoadRecord(std::move(record), EA_EDIT);
    }
    static QAbstractButton* Button(QWidget* page, const char* name) {
        return Child<QAbstractButton>(page, QString::fromLatin1(name));
    }
    // The message of the card's last refused save, the card's or a tab's.
    static QString FailureText(CDClients* card) {
        if (!card->LastFailure().text.isEmpty())
            return card->LastFailure().text;
        for (CDXForm* f : card->ChildForms())
            if (!f->LastFailure().text.isEmpty())
                return f->LastFailure().text;
        return QString();
    }
    QWidget* TabWindow(CDClients* card, int tab) {
        return tab == kBase ? static_cast<QWidget*>(card->BaseTab()) : Tab<QWidget>(card, tab);
    }
    static CClientHistoryHost* HostOf(QWidget* tab) {
        if (auto* base = qobject_cast<CDClientsBase*>(tab))
            return base->Groups();
        auto* dated = qobject_cast<CDClientTabDyn*>(tab);
        return dated ? dated->Host() : nullptr;
    }
    // Changes the tab's newest stored row (variant 1 or 2: two different
    // values).
    static void EditTab(QWidget* tab, int index, int variant) {
        if (auto* health = qobject_cast<CDClientsHealth*>(tab)) {
            health->Grid()->SetItemText(variant == 1 ? 0 : 2, variant == 1 ? 4 : 1,
                                        QStringLiteral("1"));
            return;
        }
        CClientHistoryHost* host = HostOf(tab);
        host->EditButton()->click();
        QWidget* page = host->CurrentPage();
        switch (index) {
        case kBase:
            qobject_cast<CDClientBaseChangesSub*>(page)->MainGroup()->SetCurSelCode(
                variant == 1 ? 2 : 8);
            break;
        case kDrugs:
            Button(page, variant == 1 ? "nUseFrequency_1" : "nUseFrequency_2")->click();
            break;
        case kSocial:
            Button(page, variant == 1 ? "nEploymentStatus_2" : "nEploymentStatus_3")->click();
            break;
        case kRisk:
            Button(page, variant == 1 ? "nUseDirtySyr_1" : "nUseDirtySyr_99")->click();
            break;
        }
    }

private slots:
    void initTestCase() {
        m_fx = std::make_unique<CardFixture>();
        CTarvikApp::RegisterDocTemplate(1258, CJClients::GetThisClass(),
                                        &CxFormDocument::staticMetaObject, nullptr);
    }
    void cleanupTestCase() { m_fx.reset(); }
    void init() {
        m_fx->Frame()->MDIArea()->closeAllSubWindows();
        m_fx->ResetRows();
    }

    // A new client: the client's row is written first, then every opened tab
    // under the client's ROWID; tabs never opened write nothing.
    void newClientWithHistoriesAndHealth() {
        CDClients* card = Open(-1, EA_NEW);
        QVERIFY(card);
        CDClientsBase* base = card->BaseTab();
        QVERIFY(base);
        // Only the base tab is made at first, with one page of groups dated
        // today.
        QVERIFY(!card->Tab()->GetTabWindow(kDrugs, false));
        QCOMPARE(base->Groups()->GetPageCount(), 1);
        QCOMPARE(base->Groups()->Page(0)->Date(), QDate::currentDate());

        base->CodeEdit()->setText(QStringLiteral("  ЕЁЖ1203ж "));
        base->BirthYearEdit()->setText(QStringLiteral("03"));
        Button(base, "nSex_2")->click();
        auto* groups = qobject_cast<CDClientBaseChangesSub*>(base->Groups()->Page(0));
        groups->MainGroup()->SetCurSelCode(2);
        groups->GroupBox(0x400)->setChecked(true);

        auto* drugs = Tab<CDClientsDrugs>(card, kDrugs);
        QVERIFY(drugs);
        QCOMPARE(drugs->Host()->GetPageCount(), 0);
        QVERIFY(drugs->Host()->FillButton()->isVisibleTo(drugs));
        drugs->Host()->FillButton()->click();
        QWidget* page = drugs->Host()->CurrentPage();
        Child<CxSqlComboList>(page, "nBasicDrug")->SetSelectedID(3);
        Button(page, "nMainRoute_1")->click();
        Button(page, "nUseFrequency_3")->click();
        Child<QLineEdit>(page, "nDrugStartDate")->setText(QStringLiteral("5"));

        auto* health = Tab<CDClientsHealth>(card, kHealth);
        health->FillBox()->click();
        health->Grid()->SetItemText(0, 4, QStringLiteral("1")); // HIV: knows +
        health->Grid()->SetItemText(0, 5, QStringLiteral("2019"));

        QVERIFY(card->Apply());
        const QString id = Row("SELECT ROWID FROM clientdata WHERE cClientCode='ЕЁЖ1203ж'");
        QVERIFY(!id.isEmpty());
        QCOMPARE(card->GetClientID(), id.toLongLong());
        QCOMPARE(Row("SELECT cClientCode,cOClientCode,bNewCode,nBirthYear,dBirthDate,nSex,"
                     "dEnterDate=CURDATE(),nRegionDataID FROM clientdata WHERE ROWID=" +
                     id),
                 QString("ЕЁЖ1203ж|ЕЁЖ1203ж|1|2003|2003-01-01|2|1|0"));
        QCOMPARE(Row("SELECT dDate=CURDATE(),nClientType,nClientType2,nLastLinkID=nClientID FROM "
                     "clientdatachanges WHERE nClientID=" +
                     id),
                 QString("1|2|1024|1"));
        QCOMPARE(Row("SELECT nBasicDrug,nMainRoute,nUseFrequency,nDrugStartDate,"
                     "nLastLinkID=nClientID FROM drugusedata WHERE nClientID=" +
                     id),
                 QString("3|1|3|%1|1").arg(QDate::currentDate().year() - 5));
        QCOMPARE(Row("SELECT nDisease,nStatus,nTreatmentStartDate FROM healthstatus WHERE "
                     "nClientID=" +
                     id + " ORDER BY nDisease"),
                 QString("1|5|2019;2|0|0;3|0|0;4|0|0;5|0|0"));
        // Tabs never opened wrote nothing; no row lost its client.
        QCOMPARE(Row("SELECT COUNT(*) FROM riskbehavior WHERE nClientID=" + id), QString("0"));
        QCOMPARE(Row("SELECT COUNT(*) FROM drugusedata WHERE nClientID<=0 OR nClientID IS NULL"),
                 QString("0"));
        // Client 11's health row, whose ROWID is 10, is untouched.
        QCOMPARE(Row("SELECT nClientID,nStatus FROM healthstatus WHERE ROWID=10"), QString("11|5"));

        // Saved again unchanged: nothing of the histories moves.
        const QString before = Everything(false);
        QVERIFY(card->Apply());
        QCOMPARE(Everything(false), before);
    }

    // The card writes its dates dd.MM.yyyy whatever the locale says.
    void datesReadDayMonthYear() {
        QLocale::setDefault(QLocale::c());
        CDClients* card = Open(10, EA_EDIT);
        QVERIFY(card);
        CClientHistoryHost* groups = card->BaseTab()->Groups();
        QStringList listed;
        for (int i = 0; i < groups->DateList()->count(); ++i)
            listed << groups->DateList()->itemText(i);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(listed, (QStringList{"01.01.2021", "01.01.2022"}));
        QCOMPARE(groups->DateEdit()->text(), QStringLiteral("01.01.2022"));
    }

    // An existing client: one stored page opened and changed, another page
    // removed; every other stored row, and every column no page shows, stays
    // as it was; the newest-row marks follow the dates.
    void editOnePageRemoveAnother() {
        CDClients* card = Open(10, EA_EDIT);
        QVERIFY(card);
        CDClientsBase* base = card->BaseTab();
        QCOMPARE(base->CodeEdit()->text(), QString("АБВ0587ч"));
        QCOMPARE(base->Groups()->GetPageCount(), 2);
        QVERIFY(!base->Groups()->CurrentPage()->isEnabled()); // stored rows show read-only

        auto* risk = Tab<CDClientsRisc>(card, kRisk);
        CClientHistoryHost* host = risk->Host();
        QCOMPARE(host->GetPageCount(), 2);
        QCOMPARE(host->GetCurPage(), 1); // the newest
        QVERIFY(host->EditButton()->isEnabled());
        host->EditButton()->click();
        QVERIFY(host->CurrentPage()->isEnabled());
        Button(host->CurrentPage(), "nUseDirtySyr_1")->click();
        // Its date moves back before the older row: the mark moves with it.
        host->DateEdit()->SetDate(QDate(2020, 6, 1));

        auto* social = Tab<CDClientsSocial>(card, kSocial);
        QCOMPARE(social->Host()->GetPageCount(), 1);
        social->Host()->RemoveButton()->click();

        auto* drugs = Tab<CDClientsDrugs>(card, kDrugs);
        QCOMPARE(drugs->Host()->GetPageCount(), 2);
        const QString drugRows = Row("SELECT * FROM drugusedata ORDER BY ROWID");
        const QString groupRows = Row("SELECT * FROM clientdatachanges ORDER BY ROWID");
        const QString riskColumns("nUseDirtySyr,nGivingUsed,nDesinfectionWay,nLastInjectWith,"
                                  "nUsingCondom,nLastSexualPart,dDate,dUpdateDate");
        const QString riskOld = Row("SELECT " + riskColumns + " FROM riskbehavior WHERE ROWID=1");

        QVERIFY(card->Apply());
        QCOMPARE(Row("SELECT * FROM drugusedata ORDER BY ROWID"), drugRows);
        QCOMPARE(Row("SELECT * FROM clientdatachanges ORDER BY ROWID"), groupRows);
        QCOMPARE(Row("SELECT nUseDirtySyr,nGivingUsed,nDesinfectionWay,nUsingCondom,dDate,"
                     "dUpdateDate=CURDATE(),nLastLinkID FROM riskbehavior WHERE ROWID=2"),
                 QString("1|0|5|99|2020-06-01|1|NULL"));
        QCOMPARE(Row("SELECT nLastLinkID FROM riskbehavior WHERE ROWID=1"), QString("10"));
        QCOMPARE(Row("SELECT " + riskColumns + " FROM riskbehavior WHERE ROWID=1"), riskOld);
        QCOMPARE(Row("SELECT COUNT(*) FROM socialstatus WHERE nClientID=10"), QString("0"));
        // Columns of the client's row that the card does not show stay.
        QCOMPARE(Row("SELECT cAIDSCode,cOClientCode,dEnterDate,dUpdateDate=CURDATE() FROM "
                     "clientdata WHERE ROWID=10"),
                 QString("aids-10|АБВ0587ч|2020-01-01|1"));
        // The pages show what is stored now, read-only again.
        QCOMPARE(host->GetPageCount(), 2);
        QVERIFY(!host->CurrentPage()->isEnabled());
    }

    // Refused saves: the message goes to the field, nothing is written, the
    // input stays on the screen and a corrected save goes through.
    void refusedSaveChangesNothing_data() {
        QTest::addColumn<QString>("expected"); // a piece of the message
        QTest::newRow("code length") << "8 символам";
        QTest::newRow("code of another client") << "ГДЕ0190ж";
        QTest::newRow("age") << "Год рождения содержит ошибку";
        QTest::newRow("groups") << "МСМ";
        QTest::newRow("two pages on one date") << "уже есть запись";
        QTest::newRow("drug start") << "Ошибочное значение";
        QTest::newRow("health") << "оба статуса";
    }
    void refusedSaveChangesNothing() {
        QFETCH(QString, expected);
        m_fx->Answer(IDNO);
        const QString before = Everything();
        CDClients* card = Open(12, EA_EDIT);
        QVERIFY(card);
        CDClientsBase* base = card->BaseTab();
        base->BirthYearEdit()->setText(QStringLiteral("1985"));
        const QString tag = QTest::currentDataTag();
        QWidget* typed = nullptr;
        QString typedText;
        if (tag == "code length") {
            typed = base->CodeEdit();
            typedText = QStringLiteral("ЖЗИ0285");
        } else if (tag == "code of another client") {
            typed = base->CodeEdit();
            typedText = QStringLiteral("ГДЕ0190ж");
            Button(base, "nSex_2")->click();
            base->BirthYearEdit()->setText(QStringLiteral("1990"));
        } else if (tag == "age") {
            typed = base->BirthYearEdit();
            const int year = QDate::currentDate().year() - 5;
            typedText = QString::number(year);
            base->CodeEdit()->setText(
                QStringLiteral("ЖЗИ02%1т").arg(year % 100, 2, 10, QChar(u'0')));
        } else if (tag == "groups") {
            Button(base, "nSex_2")->click();
            base->Groups()->AddPage();
            auto* page = qobject_cast<CDClientBaseChangesSub*>(base->Groups()->CurrentPage());
            page->MainGroup()->SetCurSelCode(4);
            base->CodeEdit()->setText(QStringLiteral("ЖЗИ0285ж"));
        } else if (tag == "two pages on one date") {
            auto* risk = Tab<CDClientsRisc>(card, kRisk);
            risk->Host()->AddPage();
            risk->Host()->AddPage();
        } else if (tag == "drug start") {
            auto* drugs = Tab<CDClientsDrugs>(card, kDrugs);
            drugs->Host()->AddPage();
            typed = Child<QLineEdit>(drugs->Host()->CurrentPage(), "nDrugStartDate");
            typedText = QString::number(QDate::currentDate().year() + 1);
        } else if (tag == "health") {
            auto* health = Tab<CDClientsHealth>(card, kHealth);
            health->FillBox()->click();
            health->Grid()->SetItemText(1, 3, QStringLiteral("1"));
            health->Grid()->SetItemText(1, 4, QStringLiteral("1"));
        }
        if (auto* edit = qobject_cast<QLineEdit*>(typed))
            edit->setText(typedText);
        QVERIFY(!card->Apply());
        QVERIFY2(
            card->LastFailure().text.contains(expected) ||
                [&] {
                    for (CDXForm* f : card->ChildForms())
                        if (f->LastFailure().text.contains(expected))
                            return true;
                    return false;
                }(),
            qPrintable(expected));
        QCOMPARE(Everything(), before);
        if (auto* edit = qobject_cast<QLineEdit*>(typed))
            QCOMPARE(edit->text(), typedText);
        // The window stays open with the input.
        QVERIFY(m_fx->Frame()->MDIArea()->subWindowList().size() == 1);
    }

    // A code that breaks the coding: refused with the explanation and its
    // link; the link saves after a Yes, with bNewCode 0 and the old code kept;
    // a No saves nothing. Only the exact address is the command.
    void forcedSave() {
        CDClients* card = Open(12, EA_EDIT);
        CDClientsBase* base = card->BaseTab();
        base->CodeEdit()->setText(QStringLiteral("ЖЗИ0285ч")); // the card says Трансгендер
        const QString before = Everything();
        QVERIFY(!card->Apply());
        QCOMPARE(Everything(), before);
        QCOMPARE(card->OnProcessURL(QStringLiteral("command:forceapplyX")), 0);
        QVERIFY(!card->IsForceApply());

        m_fx->Answer(IDNO);
        QCOMPARE(card->OnProcessURL(QString::fromUtf16(kForceApplyCommand)), 1);
        QCOMPARE(m_fx->Questions().size(), 1);
        QCOMPARE(Everything(), before);
        QVERIFY(!card->IsForceApply());

        m_fx->Answer(IDYES);
        QCOMPARE(card->OnProcessURL(QString::fromUtf16(kForceApplyCommand)), 1);
        QVERIFY(!card->IsForceApply());
        QCOMPARE(Row("SELECT cClientCode,bNewCode,cOClientCode FROM clientdata WHERE ROWID=12"),
                 QString("ЖЗИ0285ч|0|ЖЗИ0285ч"));
        // cOClientCode keeps the code of the first save from now on.
        base->CodeEdit()->setText(QStringLiteral("ЖЗИ0285т"));
        QVERIFY(card->Apply());
        QCOMPARE(Row("SELECT cClientCode,bNewCode,cOClientCode FROM clientdata WHERE ROWID=12"),
                 QString("ЖЗИ0285т|1|ЖЗИ0285ч"));
    }

    // A new card says nothing of the age until a birth year is typed; then
    // it tells the age, or the error for a year out of range.
    void ageShownOnceTyped() {
        CDClients* card = Open(-1, EA_NEW);
        QVERIFY(card);
        auto* age = card->BaseTab()->findChild<QLabel*>(QStringLiteral("ageText"));
        QVERIFY(age);
        QCOMPARE(age->text(), QString());
        auto* year = card->BaseTab()->findChild<QLineEdit*>(QStringLiteral("nBirthYear"));
        TypeText(year, QString::number(QDate::currentDate().year() - 30));
        QCOMPARE(age->text(), QStringLiteral("Возраст клиента 30"));
        year->clear();
        TypeText(year, QStringLiteral("1900"));
        QVERIFY2(age->text().startsWith(QStringLiteral("Ошибка!!! ")), qPrintable(age->text()));
        year->clear();
        QCOMPARE(age->text(), QString());
        card->SetModified(false);
        card->CloseFrame();
    }

    // The duplicate warning on focus loss, then the readable refusal at save.
    void duplicateCodeWarning() {
        CDClients* card = Open(12, EA_EDIT);
        CDClientsBase* base = card->BaseTab();
        base->CodeEdit()->setText(QStringLiteral("ГДЕ0190ж"));
        base->CheckDuplicateCode();
        QVERIFY(base->DuplicateWarning()->isVisibleTo(base));
        QVERIFY(base->DuplicateWarning()->GetHTML().contains("Клиент уже есть в базе данных"));
        base->CodeEdit()->setText(QStringLiteral("ЖЗИ0285т"));
        base->CheckDuplicateCode(); // the loaded code: nothing is checked
        QVERIFY(base->DuplicateWarning()->isVisibleTo(base));
        base->CodeEdit()->setText(QStringLiteral("ЖЗИ1285т"));
        base->CheckDuplicateCode();
        QVERIFY(!base->DuplicateWarning()->isVisibleTo(base));
        // During a report build the check waits: each try puts it off again,
        // until the build ends and it runs.
        base->CodeEdit()->setText(QStringLiteral("ГДЕ0190ж"));
        auto* retry = base->findChild<QTimer*>(QStringLiteral("codeCheckRetry"));
        QVERIFY(retry);
        {
            CRepBuildScope build(nullptr);
            base->CheckDuplicateCode();
            QVERIFY(retry->isActive());
            QSignalSpy tried(retry, &QTimer::timeout);
            QVERIFY(tried.wait());
            QVERIFY(retry->isActive());
            QVERIFY(!base->DuplicateWarning()->isVisibleTo(base));
        }
        QTRY_VERIFY(base->DuplicateWarning()->isVisibleTo(base));
        QVERIFY(!retry->isActive());
    }

    // Two copies of the program open one client: the first save goes
    // through, the second is refused with a message and writes nothing; a
    // copy that opens the client afterwards saves.
    void twoCopiesEditOneClient() {
        CDClients* first = Open(10, EA_EDIT);
        QVERIFY(first);
        OtherCopy other;
        QVERIFY(OpenInOtherCopy(other, 10));
        CDClients& second = other.card;

        qobject_cast<QPlainTextEdit*>(first->BaseTab()->findChild<QWidget*>("cComment"))
            ->setPlainText(QStringLiteral("первая копия"));
        QVERIFY(first->Apply());
        qobject_cast<QPlainTextEdit*>(second.BaseTab()->findChild<QWidget*>("cComment"))
            ->setPlainText(QStringLiteral("вторая копия"));
        const QString before = Everything();
        m_fx->Questions().clear();
        m_fx->Answer(IDNO);
        QVERIFY(!second.Apply());
        m_fx->Answer(IDYES);
        QVERIFY(second.LastFailure().text.contains("другом окне"));
        QCOMPARE(m_fx->Questions(), QStringList{CxRowsFingerprint::ReopenQuestion()});
        QCOMPARE(Everything(), before);
        QCOMPARE(Row("SELECT cComment FROM clientdata WHERE ROWID=10"), QString("первая копия"));
        // The first copy goes on saving: its own save is its new start.
        QVERIFY(first->Apply());
        // A client deleted by the other copy.
        m_fx->Db().Exec("DELETE FROM clientdata WHERE ROWID=10");
        QVERIFY(!first->Apply());
        QVERIFY(first->LastFailure().text.contains("удалили"));
    }

    // The visits tab lists the client's visits per report and per item;
    // opening a line without the report form says so and opens nothing; a
    // visit added on the tab is written into the report of its day, point
    // and worker at the card's save.
    // Two copies of the program have one client's card open, on the same
    // day, so the client's own row stays as it was: a tab's save must not
    // overwrite what the other copy stored on a row of that tab since. The
    // second copy changes the row too or removes its page (refused, nothing
    // written), or only opens the tab and changes the comment (saved, the
    // other copy's row stays).
    void twoCopiesEditOneTab_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("second");     // 0 only opens the tab, 1 edits the row, 2 removes it
        QTest::addColumn<QString>("stored"); // the row the first copy wrote
        QTest::addColumn<QString>("expected");
        const struct {
            const char* name;
            int tab;
            int second;
            const char* stored;
            const char* expected;
        } cases[] = {
            {"groups page", kBase, 1, "SELECT nClientType FROM clientdatachanges WHERE ROWID=2",
             "2"},
            {"drug-use page", kDrugs, 1, "SELECT nUseFrequency FROM drugusedata WHERE ROWID=2",
             "1"},
            {"drug-use page removed", kDrugs, 2,
             "SELECT nUseFrequency FROM drugusedata WHERE ROWID=2", "1"},
            {"social page", kSocial, 1, "SELECT nEploymentStatus FROM socialstatus WHERE ROWID=1",
             "2"},
            {"risk page", kRisk, 1, "SELECT nUseDirtySyr FROM riskbehavior WHERE ROWID=2", "1"},
            {"health", kHealth, 1,
             "SELECT GROUP_CONCAT(nDisease,':',nStatus ORDER BY nDisease) FROM healthstatus "
             "WHERE nClientID=10",
             "1:5,2:3,3:0,4:0,5:0"},
            {"health only opened", kHealth, 0,
             "SELECT GROUP_CONCAT(nDisease,':',nStatus ORDER BY nDisease) FROM healthstatus "
             "WHERE nClientID=10",
             "1:5,2:3,3:0,4:0,5:0"},
            {"drug-use page only opened", kDrugs, 0,
             "SELECT nUseFrequency FROM drugusedata WHERE ROWID=2", "1"},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << c.tab << c.second << QString::fromUtf8(c.stored)
                                  << QString::fromUtf8(c.expected);
    }
    void twoCopiesEditOneTab() {
        QFETCH(int, tab);
        QFETCH(int, second);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        m_fx->Db().Exec("UPDATE clientdata SET dUpdateDate=CURDATE() WHERE ROWID=10");
        CDClients* first = Open(10, EA_EDIT);
        QVERIFY(first);
        OtherCopy other;
        QVERIFY(OpenInOtherCopy(other, 10));
        CDClients& copy = other.card;
        QWidget* mine = TabWindow(first, tab);
        QWidget* theirs = TabWindow(&copy, tab);
        QVERIFY(mine && theirs);

        EditTab(mine, tab, 1);
        QVERIFY(first->Apply());
        QCOMPARE(Row(stored), expected);
        if (second == 2)
            HostOf(theirs)->RemoveButton()->click();
        else if (second == 1)
            EditTab(theirs, tab, 2);
        qobject_cast<QPlainTextEdit*>(copy.BaseTab()->findChild<QWidget*>("cComment"))
            ->setPlainText(QStringLiteral("вторая копия"));
        const QString before = Everything();
        if (second == 0) {
            QVERIFY2(copy.Apply(), qPrintable(FailureText(&copy)));
            QCOMPARE(Row("SELECT cComment FROM clientdata WHERE ROWID=10"),
                     QString("вторая копия"));
        } else {
            m_fx->Questions().clear();
            m_fx->Answer(IDNO);
            QVERIFY(!copy.Apply());
            m_fx->Answer(IDYES);
            QVERIFY2(FailureText(&copy).contains(CxRowsFingerprint::ChangedMeanwhileText()),
                     qPrintable(FailureText(&copy)));
            // The refusal offers to open the client again.
            QCOMPARE(m_fx->Questions(), QStringList{CxRowsFingerprint::ReopenQuestion()});
            QCOMPARE(Everything(), before);
        }
        QCOMPARE(Row(stored), expected);
        copy.close();
    }

    // The vulnerable groups' page: the main group may stay unchosen (stored
    // as NULL, shown empty again); the group boxes keep their captions and
    // show the configuration's tool tips.
    void groupsPage() {
        CDClients* card = Open(-1, EA_NEW);
        CDClientsBase* base = card->BaseTab();
        auto* page = qobject_cast<CDClientBaseChangesSub*>(base->Groups()->Page(0));
        QVERIFY(page);
        QCOMPARE(page->MainGroup()->GetCurSelCode(), -1L);
        QVERIFY(page->MainGroup()->currentText().isEmpty());
        QCOMPARE(page->GroupBox(0x1)->text(), QString("ПИН"));
        QCOMPARE(page->GroupBox(0x1)->toolTip(), QString("Потребители инъекционных наркотиков"));
        QCOMPARE(page->GroupBox(0x4)->text(), QString("МСМ"));
        QCOMPARE(page->GroupBox(0x4)->toolTip(), QString("Мужчины, практикующие секс с мужчинами"));
        QVERIFY(page->GroupBox(0x8)->toolTip().isEmpty()); // none configured

        base->CodeEdit()->setText(QStringLiteral("КЛМ0190ч"));
        base->BirthYearEdit()->setText(QStringLiteral("1990"));
        Button(base, "nSex_1")->click();
        page->GroupBox(0x400)->setChecked(true);
        QVERIFY2(card->Apply(), qPrintable(card->LastFailure().text));
        QCOMPARE(Row("SELECT nClientType,nClientType2 FROM clientdatachanges WHERE nClientID=" +
                     QString::number(card->GetClientID())),
                 QString("NULL|1024"));
        CDClients* again = Open(card->GetClientID(), EA_EDIT);
        auto* stored = qobject_cast<CDClientBaseChangesSub*>(again->BaseTab()->Groups()->Page(0));
        QCOMPARE(stored->MainGroup()->GetCurSelCode(), -1L);
        QVERIFY(stored->MainGroup()->currentText().isEmpty());
    }

    // Tab goes through the base tab in the order of its controls: code,
    // birth year, start date, sex, flags, the groups' dates and page, and
    // the comment last, also after a page of groups was added.
    void baseTabOrder() {
        CDClients* card = Open(10, EA_EDIT);
        CDClientsBase* base = card->BaseTab();
        base->Groups()->AddButton()->click();
        const QStringList expected{"cClientCode", "nBirthYear", "dStartInPrjDate", "nSex_1",
                                   "nSex_2",      "nSex_3",     "bSecondary",      "bPDI",
                                   "dateList",    "pageDate",   "nClientType",     "cComment"};
        // The named controls in the order the focus chain meets them (a
        // control's inner widgets count as the control).
        QStringList met;
        QWidget* w = base->CodeEdit();
        for (int i = 0; i < 2000 && met.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
                continue;
            for (QWidget* named = w; named && named != base; named = named->parentWidget())
                if (expected.contains(named->objectName())) {
                    if (!met.contains(named->objectName()))
                        met << named->objectName();
                    break;
                }
        }
        QCOMPARE(met, expected);
    }

    void visitsTab() {
        m_fx->Db().Exec("INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nGroupID,"
                        "bIsFolder,nRegionDataID) VALUES (1,'2023-01-05',1,2,0,0,0),"
                        "(2,'2023-02-05',1,2,0,0,0)");
        m_fx->Db().Exec("INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP,"
                        "nVedID,nRegionDataID) VALUES (1,1,10,5,3,0,0,0),(2,1,10,8,1,0,0,0),"
                        "(3,2,10,5,2,0,0,0),(4,2,11,5,9,0,0,0)");
        CDClients* card = Open(10, EA_EDIT);
        auto* visits = Tab<CDClientsVisits>(card, kVisits);
        QVERIFY(visits);
        CxSQLListModel* model = visits->List()->Model();
        QAbstractItemModelTester tester(model);
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(visits->ProcessCommand(ID_VISITS_SWITCH_MODE));
        QVERIFY(!visits->IsGrouped());
        QCOMPARE(model->rowCount(), 3);
        QVERIFY(visits->ProcessCommand(ID_VISITS_SWITCH_MODE));
        QCOMPARE(model->rowCount(), 2);

        // No daily report form in this program: a message, no window.
        QVERIFY(!visits->OpenReportOfLine(1));
        QVERIFY(m_fx->Questions().last().contains("недоступна"));
        QCOMPARE(m_fx->Frame()->MDIArea()->subWindowList().size(), 1);

        CDClientsVisitsAdd* page = visits->AddVisitPage();
        page->DateEdit()->SetDate(QDate(2023, 2, 5));
        page->WorkPlace()->SetSelectedID(1);
        page->Worker()->SetSelectedID(2);
        page->Grid()->SetItemText(0, 0, QStringLiteral("5"));
        page->Grid()->SetItemText(0, 1, QStringLiteral("4"));
        QVERIFY(card->Apply());
        QCOMPARE(Row("SELECT nReportID,nItem,nCount FROM dailyvisits WHERE nClientID=10 AND "
                     "ROWID>4"),
                 QString("2|5|4"));
        QCOMPARE(visits->AddPages()->count(), 0);
        QCOMPARE(model->rowCount(), 2);
    }

    // A client without visits shows none; a new client's visits tab too.
    void journal();
    void visitsTabOfNewClient() {
        CDClients* card = Open(-1, EA_NEW);
        auto* visits = Tab<CDClientsVisits>(card, kVisits);
        QCOMPARE(visits->List()->Model()->rowCount(), 0);
        QVERIFY(visits->ProcessCommand(ID_VISITS_SWITCH_MODE));
        QCOMPARE(visits->List()->Model()->rowCount(), 0);
    }
};

// The journal shows each client with the newest row of each history; the
// code filter narrows it; a saved card shows in it at once.
void TestClientCard::journal() {
    auto* journal = qobject_cast<CJClients*>(OpenDocument(QStringLiteral("CJClients")));
    QVERIFY(journal);
    CxSQLListModel* model = journal->List()->Model();
    QAbstractItemModelTester tester(model);
    QCOMPARE(model->columnCount(), 36);
    QCOMPARE(model->rowCount(), 3);
    const auto column = [&](const QString& caption) {
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == caption)
                return c;
        return -1;
    };
    QCOMPARE(model->RowText(0, 1), QString("АБВ0587ч"));
    QCOMPARE(model->RowText(0, column("Последняя уязвимая группа")), QString("ПИН"));
    QCOMPARE(model->RowText(0, column("Основной наркотик")), QString("Метадон"));
    QCOMPARE(model->RowText(0, column("Использовал нестерильный чужой шприц или иглу?")),
             QString("Нет"));
    QCOMPARE(model->RowText(0, column("Количество детей")), QString("2"));
    QVERIFY(model->RowText(1, column("Основной наркотик")).isNull());
    QCOMPARE(model->data(model->index(0, 1), CxSQLListModel::TextColorRole).toUInt(), 0xFF0000FFu);
    journal->SetCodeFilter(QStringLiteral("Г"));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->RowText(0, 1), QString("ГДЕ0190ж"));
    journal->SetCodeFilter(QString());
    QCOMPARE(model->rowCount(), 3);

    // A save that changes only a client's histories reloads the journal
    // too: its columns show the newest rows.
    for (const char* table :
         {"CLIENTDATA", "CLIENTDATACHANGES", "DRUGUSEDATA", "RISKBEHAVIOR", "SOCIALSTATUS"})
        QVERIFY2(model->WatchedTables().contains(table), table);
}

QTEST_MAIN(TestClientCard)
#include "test_client_card.moc"

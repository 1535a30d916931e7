// Report presets: both XML versions read and written, the preset lists of
// the report windows, saving and deleting user presets, and the preset
// commands of the report document.
#include "framework/core/app/record_commands.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/xml/xml_parser.h"
#include "rep_test_support.h"
#include "reports/base/core/preset_list.h"
#include "reports/base/core/rep_base.h"

#include <QTest>

namespace {
template <class T> QString Xml(T& tag) {
    CXMLOut out;
    tag.BuildXML(out);
    return out.ToString();
}

QString UserStore() {
    return CTarvikApp::GetProfileString(QStringLiteral("Reports"), QStringLiteral("KDPresets2"));
}

void SetUserStore(const QString& text) {
    CTarvikApp::WriteProfileString(QStringLiteral("Reports"), QStringLiteral("KDPresets2"), text);
}

QString Titles(const CRepPresetList2& list) {
    QStringList titles;
    for (int i = 0; i < list.GetCount(); ++i)
        titles << QStringLiteral("%1/%2").arg(list.GetAt(i)->Title).arg(list.GetAt(i)->RecordType);
    return titles.join(u' ');
}

// The configuration's presets: "Охват" and "beta".
const QString kConfigPresets = QStringLiteral(
    "<KDREPORTPRESETS2>"
    "<KDREPPRESET2 Title='Охват' Comment='по точкам'><SUMROWS><Item ID='20581'/></SUMROWS>"
    "</KDREPPRESET2>"
    "<KDREPPRESET2 Title='beta'/>"
    "</KDREPORTPRESETS2>"
    "<KDREPORTPRESETS><KDREPPRESET Title='Визиты'><SUMMARY><Item ID='1797'/></SUMMARY>"
    "</KDREPPRESET></KDREPORTPRESETS>");
} // namespace

class TestPresets : public QObject {
    Q_OBJECT
private slots:
    void init();
    void version2RoundTrip();
    void version1RoundTrip();
    void lenientReading();
    void copyKeepsEverything();
    void listOrder();
    void checkedPresetAndRefill();
    void saveUserPreset_data();
    void saveUserPreset();
    void unreadableStoreIsKeptAside();
    void presetChangedByOtherCopy();
    void deleteUserPreset();
    void presetCommands();
    void version1List();
};

void TestPresets::init() {
    InstallConfig(kConfigPresets);
}

void TestPresets::version2RoundTrip() {
    KDRepPresetEx2 preset;
    preset.RepGrp = 3;
    preset.PivotMode = 1;
    preset.PeriodMode = 2;
    preset.Title = QStringLiteral("O'Neil <&> \"Охват\"");
    preset.Comment = QStringLiteral("две\nстроки");
    preset.RecordType = 2;
    preset.ClipCodes = -1;
    preset.DirOnly = 7;
    preset.ProjectStartDate = QStringLiteral("01.02.2012");
    preset.SumRows.SetIDs({20439, -1, 20581});
    preset.SumCols2.SetIDs({20441});
    const QString written = Xml(preset);
    QCOMPARE(written,
             QStringLiteral("<KDREPPRESET2 RepGrp='3' PivotMode='1' PeriodMode='2' "
                            "Title='O&apos;Neil &lt;&amp;&gt; &quot;Охват&quot;' "
                            "Comment='две&#10;строки' RecordType='2' ClipCodes='-1' DirOnly='7' "
                            "ProjectStartDate='01.02.2012'><DETAILED></DETAILED><SUMROWS><Item "
                            "ID='20439'/><Item ID='-1'/><Item ID='20581'/></SUMROWS><SUMCOLS>"
                            "</SUMCOLS><SUMCOLS2><Item ID='20441'/></SUMCOLS2><SUMGROUP>"
                            "</SUMGROUP></KDREPPRESET2>"));
    KDRepPresetEx2 back;
    XML2Parser parser;
    QVERIFY(parser.Parse(written, &back));
    QCOMPARE(Xml(back), written);
    QCOMPARE(back.Title, preset.Title);
    QCOMPARE(back.Comment, preset.Comment);
    QCOMPARE(back.SumRows.GetIDs(), QList<long>({20439, -1, 20581}));
}

void TestPresets::version1RoundTrip() {
    xKDReportPresets list;
    XML2Parser parser;
    QVERIFY(parser.Parse(QStringLiteral("<KDREPORTPRESETS><KDREPPRESET Title='A' DirOnly='1'>"
                                        "<SUMMARY><Item ID='1797'/><Item ID='1139'/></SUMMARY>"
                                        "<DETAILED><Item ID='1010'/></DETAILED></KDREPPRESET>"
                                        "</KDREPORTPRESETS>"),
                         &list));
    const QString written = Xml(list);
    QCOMPARE(written, QStringLiteral("<KDREPORTPRESETS><KDREPPRESET Title='A' Comment='' "
                                     "RecordType='0' ClipCodes='0' DirOnly='1' "
                                     "ProjectStartDate=''><DETAILED><Item ID='1010'/></DETAILED>"
                                     "<SUMMARY><Item ID='1797'/><Item ID='1139'/></SUMMARY>"
                                     "</KDREPPRESET></KDREPORTPRESETS>"));
    xKDReportPresets again;
    QVERIFY(parser.Parse(written, &again));
    QCOMPARE(Xml(again), written);
    QVERIFY(!again.LoadFromProfile());
    QVERIFY(!again.SaveToProfile());
}

void TestPresets::lenientReading() {
    xKDReportPresets2 list;
    XML2Parser parser;
    QVERIFY(
        parser.Parse(QStringLiteral("<kdreportpresets2><kdrepPreset2 title='x' pivotmode=' -4z' "
                                    "periodmode='abc' Extra='keep'><sumrows><item id='5'/>"
                                    "</sumrows><Note>kept</Note></kdrepPreset2>"
                                    "</kdreportpresets2>"),
                     &list));
    QCOMPARE(list.GetCount(), 1);
    const KDRepPresetEx2* p = list.GetAt(0);
    QCOMPARE(p->Title, QStringLiteral("x"));
    QCOMPARE(p->PivotMode, -4L);
    QCOMPARE(p->PeriodMode, 0L);
    QCOMPARE(p->SumRows.GetIDs(), QList<long>({5}));
    const QString written = Xml(list);
    QVERIFY(written.contains(QStringLiteral(" Extra='keep'>")));
    QVERIFY(written.contains(QStringLiteral("<Note>kept</Note></KDREPPRESET2>")));
    // Named access, names in any case.
    KDRepPresetEx2 named;
    QCOMPARE(named.SetFieldValue(QStringLiteral("periodMODE"), QStringLiteral("2")), 1);
    QCOMPARE(named.SetFieldValue(QStringLiteral("Nothing"), QStringLiteral("2")), 0);
    QCOMPARE(named.GetFieldValue(QStringLiteral("PeriodMode")), QStringLiteral("2"));
    QCOMPARE(named.GetFieldValue(QStringLiteral("Nothing")), QString());
}

void TestPresets::copyKeepsEverything() {
    KDRepPresetEx2 source;
    XML2Parser parser;
    QVERIFY(parser.Parse(QStringLiteral("<KDREPPRESET2 Title='t' Extra='1'><SUMCOLS><Item "
                                        "ID='9'/></SUMCOLS><X/></KDREPPRESET2>"),
                         &source));
    KDRepPresetEx2 copy;
    copy.Title = QStringLiteral("old");
    copy.SumRows.SetIDs({1, 2});
    copy.Copy(source);
    QCOMPARE(Xml(copy), Xml(source));
    QCOMPARE(copy.SumCols.GetIDs(), QList<long>({9}));
    QCOMPARE(copy.SumRows.GetCount(), 0);
}

void TestPresets::listOrder() {
    // User presets first, then the configuration's; titles in ordinal order
    // (upper-case Latin, lower-case Latin, Cyrillic); a configuration preset
    // hides the user's of its title.
    xKDReportPresets2 user;
    for (const char* title : {"zeta", "Охват", "Alpha", "beta", "Бета"}) {
        KDRepPresetEx2 p;
        p.Title = QString::fromUtf8(title);
        p.RecordType = 7;
        user.AddCopy(p);
    }
    QVERIFY(user.SaveToProfile());
    CRepPresetList2 list;
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("Alpha/2 beta/0 zeta/2 Бета/2 Охват/0"));
    QVERIFY(list.GetItemHTML(1).contains(QStringLiteral("color:green")));
    QVERIFY(list.GetItemHTML(0).contains(QStringLiteral("color:black")));
    QCOMPARE(list.GetChecked(), -1);
}

void TestPresets::checkedPresetAndRefill() {
    CRepPresetList2 list;
    list.Fill(1);
    QCOMPARE(list.GetChecked(), 1);
    KDRepPresetEx2 chosen;
    QVERIFY(list.GetSelectedPreset(chosen));
    QCOMPARE(chosen.Title, QStringLiteral("Охват"));
    QCOMPARE(chosen.SumRows.GetIDs(), QList<long>({20581}));
    // Radio behaviour: one checked entry; a click beside the entries changes nothing.
    list.OnItemClick(0);
    QCOMPARE(list.GetChecked(), 0);
    list.OnItemClick(-1);
    QCOMPARE(list.GetChecked(), 0);
    // A refill keeps the checked title.
    list.Fill(-1);
    QCOMPARE(list.GetAt(list.GetChecked())->Title, QStringLiteral("beta"));
    QVERIFY(list.SelectByName(QStringLiteral("Охват")));
    QVERIFY(!list.SelectByName(QStringLiteral("охват")));
    QCOMPARE(list.GetAt(list.GetChecked())->Title, QStringLiteral("Охват"));
    CRepPresetList2 empty;
    empty.Fill(-1);
    QVERIFY(!empty.GetSelectedPreset(chosen));
}

void TestPresets::saveUserPreset_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("titlesAfter");
    QTest::newRow("new") << "Новый"
                         << "" << true << "Мой Новый";
    QTest::newRow("edited in place") << "Мой"
                                     << "Мой" << true << "Мой";
    QTest::newRow("renamed") << "Другой"
                             << "Мой" << true << "Другой";
    QTest::newRow("name of another user preset") << "Мой"
                                                 << "" << false << "Мой";
    QTest::newRow("name of a configuration preset") << "Охват"
                                                    << "" << false << "Мой";
    QTest::newRow("configuration name kept on edit") << "Охват"
                                                     << "Мой" << false << "Мой";
    QTest::newRow("empty name") << "  "
                                << "" << false << "Мой";
}

void TestPresets::saveUserPreset() {
    QFETCH(QString, title);
    QFETCH(QString, opening);
    QFETCH(bool, saved);
    QFETCH(QString, titlesAfter);
    KDRepPresetEx2 mine;
    mine.Title = QStringLiteral("Мой");
    xKDReportPresets2 store;
    store.AddCopy(mine);
    QVERIFY(store.SaveToProfile());
    KDRepPresetEx2 edited;
    edited.Title = title;
    edited.Comment = QStringLiteral("c");
    edited.SumCols2.SetIDs({20441});
    QString error;
    QCOMPARE(
        CRepPresetList2::SaveUserPreset(edited, opening, CRepPresetList2::PresetText(mine), &error),
        saved);
    QCOMPARE(error.isEmpty(), saved);
    xKDReportPresets2 after;
    QVERIFY(after.LoadFromProfile());
    QStringList titles;
    for (int i = 0; i < after.GetCount(); ++i)
        titles << after.GetAt(i)->Title;
    QCOMPARE(titles.join(u' '), titlesAfter);
    if (saved)
        QCOMPARE(after.FindByTitle(title)->SumCols2.GetIDs(), QList<long>({20441}));
}

// Two copies open the user preset "Мой"; the first saves its change, the
// second's save is refused and leaves the first's change; opened anew, the
// second saves, and saves again from what it stored.
void TestPresets::presetChangedByOtherCopy() {
    KDRepPresetEx2 mine;
    mine.Title = QStringLiteral("Мой");
    xKDReportPresets2 store;
    store.AddCopy(mine);
    QVERIFY(store.SaveToProfile());
    const QString opened = CRepPresetList2::PresetText(mine);

    KDRepPresetEx2 first;
    first.Copy(mine);
    first.Comment = QStringLiteral("первая копия");
    QString error;
    QVERIFY2(CRepPresetList2::SaveUserPreset(first, mine.Title, opened, &error), qPrintable(error));
    const QString afterFirst = UserStore();

    KDRepPresetEx2 second;
    second.Copy(mine);
    second.Comment = QStringLiteral("вторая копия");
    QVERIFY(!CRepPresetList2::SaveUserPreset(second, mine.Title, opened, &error));
    QVERIFY2(error.contains(CxRowsFingerprint::ChangedMeanwhileText()), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("'Мой'")), qPrintable(error));
    QCOMPARE(UserStore(), afterFirst);

    const QString reopened = CRepPresetList2::PresetText(first);
    QVERIFY(CRepPresetList2::SaveUserPreset(second, mine.Title, reopened, &error));
    const QString stored = CRepPresetList2::PresetText(second);
    second.Comment = QStringLiteral("ещё раз");
    QVERIFY(CRepPresetList2::SaveUserPreset(second, mine.Title, stored, &error));
    xKDReportPresets2 after;
    QVERIFY(after.LoadFromProfile());
    QCOMPARE(after.GetCount(), 1);
    QCOMPARE(after.GetAt(0)->Comment, QStringLiteral("ещё раз"));

    // Deleted by another copy meanwhile: the save does not bring it back.
    const QString last = CRepPresetList2::PresetText(second);
    SetUserStore(QString());
    second.Comment = QStringLiteral("после удаления");
    error.clear();
    QVERIFY(!CRepPresetList2::SaveUserPreset(second, mine.Title, last, &error));
    QVERIFY2(error.contains(CxRowsFingerprint::ChangedMeanwhileText()), qPrintable(error));
    QCOMPARE(UserStore(), QString());
}

QString KeptStore(const QString& entry) {
    return CTarvikApp::GetProfileString(QStringLiteral("Reports"), entry);
}

void TestPresets::unreadableStoreIsKeptAside() {
    const QString broken = QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='a'>");
    SetUserStore(broken);
    CRepPresetList2 list;
    list.Fill(-1); // shows the configuration's presets alone
    QCOMPARE(Titles(list), QStringLiteral("beta/0 Охват/0"));

    // Saving warns, keeps the unreadable text under its own entry and starts an empty list.
    const quint64 mark = CTarvikApp::ErrorMessageMark();
    KDRepPresetEx2 edited;
    edited.Title = QStringLiteral("b");
    QString error;
    QVERIFY2(CRepPresetList2::SaveUserPreset(edited, QString(), QString(), &error),
             qPrintable(error));
    const QString warning = CTarvikApp::ErrorMessagesSince(mark).join(u'\n');
    QVERIFY2(warning.contains(QStringLiteral("Список отчетов будет очищен.")), qPrintable(warning));
    QVERIFY2(warning.contains(QStringLiteral("KDPresets2Unreadable")), qPrintable(warning));
    QCOMPARE(KeptStore(QStringLiteral("KDPresets2Unreadable")), broken);
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("b/2 beta/0 Охват/0"));
    QVERIFY(list.DeleteUserPreset(0, &error));

    // A second damaged list never replaces the text kept from the first.
    const QString brokenAgain = QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='c'");
    SetUserStore(brokenAgain);
    const quint64 again = CTarvikApp::ErrorMessageMark();
    QVERIFY(CRepPresetList2::SaveUserPreset(edited, QString(), QString(), &error));
    QVERIFY(CTarvikApp::ErrorMessagesSince(again).join(u'\n').contains(
        QStringLiteral("KDPresets2Unreadable2")));
    QCOMPARE(KeptStore(QStringLiteral("KDPresets2Unreadable")), broken);
    QCOMPARE(KeptStore(QStringLiteral("KDPresets2Unreadable2")), brokenAgain);
    xKDReportPresets2 after;
    QVERIFY(after.LoadFromProfile());
    QCOMPARE(after.GetCount(), 1);
}

// The list's entries are deleted and saved over as the list shows them;
// one that another copy changed or deleted since the list was filled is
// refused with the words of every such refusal, and the store stays.
void TestPresets::deleteUserPreset() {
    xKDReportPresets2 store;
    for (const char* title : {"a", "b", "ba"}) {
        KDRepPresetEx2 p;
        p.Title = QString::fromLatin1(title);
        store.AddCopy(p);
    }
    QVERIFY(store.SaveToProfile());
    CRepPresetList2 list;
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("a/2 b/2 ba/2 beta/0 Охват/0"));
    // Opened from the list (the entry marked as the user's), "ba" saves.
    KDRepPresetEx2 edited;
    edited.Copy(*list.GetAt(2));
    edited.Comment = QStringLiteral("изменена здесь");
    QString error;
    QVERIFY2(CRepPresetList2::SaveUserPreset(edited, edited.Title,
                                             CRepPresetList2::PresetText(*list.GetAt(2)), &error),
             qPrintable(error));
    QVERIFY(list.DeleteUserPreset(0, &error));

    // Another copy changes "b"; "ba" was saved since the list was filled.
    xKDReportPresets2 other;
    QVERIFY(other.LoadFromProfile());
    other.FindByTitle(QStringLiteral("b"))->Comment = QStringLiteral("другая копия");
    QVERIFY(other.SaveToProfile());
    const QString stored = UserStore();
    for (int index : {0, 1, 2}) {
        error.clear();
        QVERIFY(!list.DeleteUserPreset(index, &error)); // "a" is gone, "b" and "ba" changed
        QVERIFY2(error.contains(CxRowsFingerprint::ChangedMeanwhileText()), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("'%1'").arg(list.GetAt(index)->Title)),
                 qPrintable(error));
        QCOMPARE(UserStore(), stored);
    }
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("b/2 ba/2 beta/0 Охват/0"));
    QVERIFY(list.DeleteUserPreset(0, &error));
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("ba/2 beta/0 Охват/0"));
}

void TestPresets::presetCommands() {
    KDRepPresetEx2 mine;
    mine.Title = QStringLiteral("mine");
    xKDReportPresets2 store;
    store.AddCopy(mine);
    QVERIFY(store.SaveToProfile());

    struct Doc : CRepBase {
        QString GetReportTitle() override { return QStringLiteral("t"); }
    } doc;
    CRepPresetList2& list = doc.GetPresetList();
    list.Fill(-1);
    QCOMPARE(Titles(list), QStringLiteral("beta/0 mine/2 Охват/0"));
    int edits = 0;
    bool answer = false;
    QString opened; // the title of the preset the editor was given
    doc.SetPresetEditor([&](KDRepPresetEx2& preset, bool readOnly) {
        ++edits;
        opened = preset.Title;
        if (!readOnly && answer) {
            preset.Title += QStringLiteral("2");
            return CRepPresetList2::SaveUserPreset(preset, QString(), QString(), nullptr);
        }
        return answer;
    });
    // Nothing selected: only "new" may run.
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_NEW, 1), 1);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_EDIT, 1), 0);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_DELETE, 1), 0);
    // A configuration preset is run, never changed.
    list.SetSelected(0);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_EDIT, 1), 0);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_DELETE, 0), 0);
    QCOMPARE(edits, 0);
    // A user preset: cancelling the editor changes nothing.
    list.SetSelected(1);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_EDIT, 1), 1);
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_DELETE, 0), 1);
    QCOMPARE(edits, 1);
    QCOMPARE(Titles(list), QStringLiteral("beta/0 mine/2 Охват/0"));
    // A new preset starts empty, whatever is selected: the editor saves over
    // the preset whose title it was given.
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_NEW, 0), 1);
    QCOMPARE(edits, 2);
    QCOMPARE(opened, QString());
    QCOMPARE(Titles(list), QStringLiteral("beta/0 mine/2 Охват/0"));
    // Confirmed: the delete removes it and the list is filled again.
    answer = true;
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_DELETE, 0), 1);
    QCOMPARE(Titles(list), QStringLiteral("beta/0 Охват/0"));
    QCOMPARE(doc.ProcessRepViewCommand(ID_RECORD_NEW, 0), 1);
    QCOMPARE(Titles(list), QStringLiteral("2/2 beta/0 Охват/0"));
    QCOMPARE(doc.ProcessRepViewCommand(999, 1), 0);
}

void TestPresets::version1List() {
    CRepPresetList list;
    list.Fill(0);
    QCOMPARE(list.GetCount(), 1);
    QCOMPARE(list.GetAt(0)->RecordType, 0L);
    KDRepPresetEx chosen;
    QVERIFY(list.GetSelectedPreset(chosen));
    QCOMPARE(chosen.Summary.GetIDs(), QList<long>({1797}));
}

QTEST_GUILESS_MAIN(TestPresets)
#include "test_presets.moc"

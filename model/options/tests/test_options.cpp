// The program's options: six groups in order, each option with its key and
// default, read and written through the settings store in use.
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "model/options/kelda_options.h"

#include <QTest>

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void init() { CTarvikApp::SetProfileManager(new CxProfileManager); }

    void pageLayout() {
        COptionsPage_Kelda* page = COptionsPage_Kelda::Instance();
        QCOMPARE(page->Key(), QStringLiteral("Kelda"));
        QCOMPARE(page->Title(), QStringLiteral("Параметры программы"));
        QStringList groups, options;
        for (COptionsGroup* group : page->Groups()) {
            groups << group->Key() + u'=' + group->GetTitle();
            for (COption* option : group->Options())
                options << group->Key() + u'.' + option->Key();
        }
        QCOMPARE(groups,
                 (QStringList{"ClientData=Параметры данных клиента", "Diary=Ежедневный учет",
                              "Reminder=Предупреждать о наступлении даты за, дней",
                              "XMLExcel=Параметры XML-обмена",
                              "DiaryEdit=Редактирование ежедневной ведомости",
                              "RepParam=Параметры отчета"}));
        QCOMPARE(options,
                 (QStringList{"ClientData.MinAge", "ClientData.MaxAge", "Diary.LoadLastSet",
                              "Diary.LoadLastPlace", "Diary.LoadLastWorker",
                              "Diary.LoadLastProject", "Reminder.ARTEndBefore", "Reminder.PregEnd",
                              "Reminder.ZTMiss", "XMLExcel.MaxClientsCountXML",
                              "DiaryEdit.OldDiaryEditMode", "RepParam.ClipClientCode"}));
        QCOMPARE(g_pOption_ClientData->m_MinAge.Caption(),
                 QStringLiteral("Минимальный возраст клиента"));
        QCOMPARE(g_pOption_ClientData->m_MaxAge.Description(),
                 QStringLiteral("Программа не будет пропускать клиентов, возраст которых более "
                                "заданного"));
    }

    void defaultsAndStoredValues_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("defaultValue");
        QTest::addColumn<QString>("path");
        QTest::newRow("MinAge") << 0 << 10 << "Options\\Kelda\\ClientData\\MinAge";
        QTest::newRow("MaxAge") << 1 << 100 << "Options\\Kelda\\ClientData\\MaxAge";
        QTest::newRow("ZTMiss") << 2 << 10 << "Options\\Kelda\\Reminder\\ZTMiss";
        QTest::newRow("MaxClientsCountXML")
            << 3 << 200 << "Options\\Kelda\\XMLExcel\\MaxClientsCountXML";
        QTest::newRow("ClipClientCode") << 4 << 0 << "Options\\Kelda\\RepParam\\ClipClientCode";
    }
    void defaultsAndStoredValues() {
        QFETCH(int, which);
        QFETCH(int, defaultValue);
        QFETCH(QString, path);
        const QList<std::function<int()>> get{
            [] { return g_pOption_ClientData->m_MinAge.Get(); },
            [] { return g_pOption_ClientData->m_MaxAge.Get(); },
            [] { return g_pOption_Reminder->m_ZTMiss.Get(); },
            [] { return g_pOption_XMLExcel->m_MaxClientsCountXML.Get(); },
            [] { return g_pOption_RepParam->m_ClipClientCode.Get(); }};
        QCOMPARE(get[which](), defaultValue);
        const qsizetype cut = path.lastIndexOf(u'\\');
        CTarvikApp::WriteProfileString(path.left(cut), path.mid(cut + 1), QStringLiteral("1"));
        QCOMPARE(get[which](), 1);
    }

    void lastState() {
        QCOMPARE(COption_Diary::GetLastUsedSet(), -1);
        QCOMPARE(COption_Diary::GetLastWorker(), -1);
        QCOMPARE(COption_Diary::SetLastWorker(9), 9);
        QCOMPARE(CTarvikApp::GetProfileInt(QStringLiteral("AppState\\LastState"),
                                           QStringLiteral("LastWorker"), -1),
                 9);
        QCOMPARE(COption_Diary::GetLastProject(), -1);
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "test_options.moc"

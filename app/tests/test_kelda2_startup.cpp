// The program starts in-process on a server without its database: it makes
// the database, upgrades it, keeps its settings in `profiles`, puts up the
// main window with its menus and tool bar, and leaves no temporary table and
// no lock behind at exit.
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/sql/sql_init.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"
#include "tests/support/test_database.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

namespace {
// The menu items on the way to a caption path ("Файл/Экспорт/...").
QAction* FindMenuItem(const QList<QAction*>& actions, const QStringList& path) {
    for (QAction* action : actions) {
        if (action->text() != path.first())
            continue;
        if (path.size() == 1)
            return action;
        if (action->menu())
            return FindMenuItem(action->menu()->actions(), path.mid(1));
    }
    return nullptr;
}

QList<unsigned> ItemIds(QMenu* menu) {
    QList<unsigned> ids;
    for (QAction* action : menu->actions())
        ids << (action->isSeparator() ? 0u : action->data().toUInt());
    return ids;
}
} // namespace

class TestKelda2Startup : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<CKelda2App> m_app;
    int m_asked = 0;

    QString Scalar(const QString& statement) { return m_db->Scalar(statement); }
    QString Profile(const QString& path) {
        return Scalar(QStringLiteral("SELECT cValue FROM `%1`.profiles WHERE cUser='root' AND "
                                     "cPath=%2")
                          .arg(m_db->Name(), SQLQuoteString(path)));
    }
    CMainFrame* Frame() const { return m_app->MainFrame(); }

private slots:
    void initTestCase() {
        // The configuration and settings files of this run stay in a folder
        // of its own (other runs on the machine keep theirs).
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toLocal8Bit());
        SetSQLConnectMemoryFile(m_dir->filePath(QStringLiteral("connection.conf")));
        SetSQLConnectAsk([this](SQLConnectXML&, const QString& reason) {
            ++m_asked;
            qWarning().noquote() << "asked:" << reason;
            return false;
        });
        // A server without the program's database; the remembered connection
        // names it.
        m_db = std::make_unique<TestDatabase>(QStringLiteral("shell"));
        m_db->Exec(QStringLiteral("DROP DATABASE `%1`").arg(m_db->Name()));
        CxProfileManager memory(m_dir->filePath(QStringLiteral("connection.conf")));
        const SQLConnectXML server = TestDatabase::ServerInfo();
        memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Server"),
                                  QStringLiteral("localhost"));
        memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Socket"),
                                  server.get_Socket());
        memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("User"),
                                  QStringLiteral("root"));
        memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Database"),
                                  m_db->Name());

        m_app = std::make_unique<CKelda2App>();
        RegisterDBUpdater(&SchemaUpdater());
        QVERIFY2(m_app->InitInstance(), qPrintable(CTarvikApp::TakeErrorMessages()));
        QVERIFY(Frame());
    }

    void databaseMadeAndUpgraded() {
        QCOMPARE(m_asked, 0);
        QCOMPARE(Scalar(QStringLiteral("SELECT cValue FROM `%1`.dbsettings WHERE "
                                       "cVariable='DatabaseVersion'")
                            .arg(m_db->Name())),
                 QStringLiteral("486"));
        QVERIFY(dynamic_cast<CxSQLProfileManager*>(CTarvikApp::GetProfileManager()));
        QVERIFY(g_pBaseSQLConnection && g_pBaseSQLConnection->IsConnected());
        // The configuration is loaded, its towns are in the database, and the
        // table set stands.
        QVERIFY(CTarvikApp::GetConfig());
        QVERIFY(
            Scalar(QStringLiteral("SELECT COUNT(*) FROM `%1`.towns").arg(m_db->Name())).toInt() >
            0);
        QCOMPARE(KeldaTables().size(), 24);
    }

    void settingsLandInProfiles() {
        QCOMPARE(g_pOption_ClientData->m_MinAge.Get(), 10);
        QCOMPARE(COption_Diary::GetLastPlace(), -1);
        QVERIFY(g_pOption_ClientData->m_MinAge.Set(12));
        QCOMPARE(COption_Diary::SetLastPlace(5), 5);
        QVERIFY(g_pOption_RepParam->m_ClipClientCode.Set(1));
        QCOMPARE(Profile(QStringLiteral("Options\\Kelda\\ClientData\\MinAge")),
                 QStringLiteral("12"));
        QCOMPARE(Profile(QStringLiteral("AppState\\LastState\\LastPlace")), QStringLiteral("5"));
        QCOMPARE(Profile(QStringLiteral("Options\\Kelda\\RepParam\\ClipClientCode")),
                 QStringLiteral("1"));
        QCOMPARE(g_pOption_ClientData->m_MinAge.Get(), 12);
        QCOMPARE(COption_Diary::GetLastPlace(), 5);
    }

    // The start page opens with the main window, and its title follows the
    // frame's: the product, then the connection (named after its database)
    // and the user.
    void title() {
        QCOMPARE(Frame()->windowTitle(),
                 QStringLiteral("Kelda2 (%1/root) - Главное окно").arg(m_db->Name()));
        QCOMPARE(Frame()->MDIArea()->subWindowList().size(), 1);
    }

    void menus_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<uint>("id");
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char* path, uint id, bool enabled) {
            QTest::newRow(path) << QString::fromUtf8(path) << id << enabled;
        };
        row("Файл/Главное окно", 1651, true);
        row("Файл/Экспорт/Экспорт данных в формате CSV", 1792, true);
        row("Файл/Передать в MS Excel", 1255, false);
        row("Файл/Настройки печати", 57606, false);
        row("Файл/Закрыть окно", 57602, true);
        row("Файл/Выход из программы", 57665, true);
        row("Вид/Панель инструментов", 59392, true);
        row("Вид/Строка состояния", 59393, true);
        row("Справочники/Раздаточные материалы и услуги", 3403, true);
        row("Справочники/Пункты предоставления услуг", 3210, true);
        row("Справочники/Наркотические вещества", 3212, true);
        row("Справочники/Типы мероприятий (тренинги, занятия)", 3216, true);
        row("Справочники/Пакет услуг", 3218, true);
        row("Справочники/Персонал проекта", 3220, true);
        row("Справочники/Источники финансирования", 3223, true);
        row("Справочники/Организации", 1681, true);
        row("Журналы/Карточки клиентов", 1260, true);
        row("Журналы/Ежедневные учетные формы", 1256, true);
        row("Журналы/Проведенные тренинги", 1257, true);
        row("Отчеты/Отчет за период по материалам", 2204, true);
        row("Отчеты/Отчет за период по консультациям и перенаправлениям", 2205, true);
        row("Отчеты/Отчет по проведенным тренингам", 1031, true);
        row("Отчеты/Охват за период", 3324, true);
        row("Отчеты/Распределение визитов", 1648, true);
        row("Отчеты/Итоги по визитам за период", 1757, true);
        row("Отчеты/Сводные данные для квартального отчета в Велмар", 3279, true);
        row("Услуги/Обмен данными/Передача данных", 1646, true);
        row("Услуги/Обмен данными/Прием данных", 1647, true);
        row("Услуги/Обмен данными/Сравнение данных загрузок", 3229, true);
        row("Услуги/Обмен данными/Выгрузка в dbf формате", 3237, true);
        row("Услуги/Создать резервную копию", 2117, true);
        row("Услуги/Обслуживание базы данных/Восстановление из резевной копии", 1661, true);
        row("Услуги/Обслуживание базы данных/Оптимизация базы данных", 1687, true);
        row("Услуги/Обслуживание базы данных/Объединение организаций", 3431, true);
        row("Услуги/Обслуживание базы данных/Тестирование базы данных", 1840, true);
        row("Услуги/Ведомости/Сформировать трафарет для MS Excel", 1744, true);
        row("Услуги/Ведомости/Загрузить ведомости", 1745, true);
        row("Услуги/Параметры программы", 1881, true);
        row("Услуги/Установка конфигурации", 2076, false);
        row("Окно/Каскадом", 57650, true);
        row("Окно/Разместить вертикально", 57652, true);
        row("Окно/Разместить горизонтально", 57651, true);
        row("Окно/Разместить значки", 57649, true);
        row("Помощь/О программе", 57664, true);
    }
    void menus() {
        QFETCH(QString, path);
        QFETCH(uint, id);
        QFETCH(bool, enabled);
        Frame()->UpdateCommandUI();
        QAction* item = FindMenuItem(Frame()->menuBar()->actions(), path.split(u'/'));
        QVERIFY2(item, qPrintable(path));
        QCOMPARE(item->data().toUInt(), id);
        QCOMPARE(item->isEnabled(), enabled);
    }

    void menuShape() {
        const QStringList tops{"Файл",   "Вид",    "Справочники", "Журналы",
                               "Отчеты", "Услуги", "Окно",        "Помощь"};
        QStringList shown;
        for (QAction* action : Frame()->menuBar()->actions())
            shown << action->text();
        QCOMPARE(shown, tops);
        QAction* reports = FindMenuItem(Frame()->menuBar()->actions(), {"Отчеты"});
        QCOMPARE(ItemIds(reports->menu()),
                 (QList<unsigned>{2204, 0, 2205, 0, 1031, 0, 3324, 0, 1648, 0, 1757, 0, 3279}));
        QAction* dirs = FindMenuItem(Frame()->menuBar()->actions(), {"Справочники"});
        QCOMPARE(ItemIds(dirs->menu()),
                 (QList<unsigned>{3403, 3210, 3212, 3216, 3218, 3220, 3223, 0, 1681}));
        QAction* exitItem =
            FindMenuItem(Frame()->menuBar()->actions(), {"Файл", "Выход из программы"});
        QCOMPARE(exitItem->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
        QAction* exportItem = FindMenuItem(Frame()->menuBar()->actions(),
                                           {"Услуги", "Обмен данными", "Передача данных"});
        QCOMPARE(exportItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    }

    // The journals' group ends with the search panel's switch: no menu item
    // reaches the panel, so the tool bar does.
    void toolBar() {
        const QList<std::pair<uint, QString>> expected{
            {2056, "Новая запись"},     {2055, "Изменить"},        {2057, "Удалить"},
            {2030, "Создать папку"},    {2033, "Группировка"},     {2035, "Переместить"},
            {1261, "Справочники"},      {1260, "Клиенты проекта"}, {1256, "Ежедневные формы"},
            {1257, "Тренинги"},         {2046, "Панель поиска"},   {57607, "Печать"},
            {2060, "Передать в Excel"}, {57609, "Просмотр"},       {2117, "Резервная копия"},
            {1881, "Настройки"},        {57664, "Информация"}};
        QList<std::pair<uint, QString>> shown;
        int separators = 0;
        for (QAction* action : Frame()->ToolBar()->actions()) {
            if (action->isSeparator()) {
                ++separators;
                continue;
            }
            shown.append({action->data().toUInt(), action->text()});
            QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
        }
        QCOMPARE(shown, expected);
        QCOMPARE(separators, 4);
        QCOMPARE(Frame()->toolBarArea(Frame()->ToolBar()), Qt::TopToolBarArea);
        QVERIFY(qobject_cast<QMdiArea*>(Frame()->centralWidget()));
        QCOMPARE(Frame()->MDIArea()->viewMode(), QMdiArea::TabbedView);
    }

    // Runs last: the end of the run.
    void exitLeavesNoTemporaryTableAndNoLock() {
        const QString temp = m_app->RegisterTemporaryTable(
            QStringLiteral("$$$!CREATE TEMPORARY TABLE $$$ (ROWID INT)"));
        QVERIFY(!temp.isEmpty());
        QCOMPARE(m_app->GetTemporaryTables(), QStringList{temp});
        QVERIFY(g_pBaseSQLConnection->Lock(5));
        CxResult id = g_pBaseSQLConnection->Execute(QStringLiteral("SELECT CONNECTION_ID()"));
        QVERIFY(id.FetchRow());
        const QString connection = id.SFieldValue(0);
        QVERIFY(!connection.isEmpty());

        Frame()->close();
        QVERIFY(!Profile(QStringLiteral("Settings\\MainFrame\\State")).isEmpty());
        m_app->ExitInstance();

        QVERIFY(!g_pBaseSQLConnection);
        QVERIFY(m_app->GetTemporaryTables().isEmpty());
        // The closing connection gives the lock back itself, so it is free
        // when exit returns (not only once the server has ended the session).
        QCOMPARE(
            Scalar(QStringLiteral("SELECT IFNULL(IS_USED_LOCK('dblock'),0)=%1").arg(connection)),
            QStringLiteral("0"));
    }

    void cleanupTestCase() {
        m_app.reset();
        SetSQLConnectAsk({});
    }
};

QTEST_MAIN(TestKelda2Startup)
#include "test_kelda2_startup.moc"

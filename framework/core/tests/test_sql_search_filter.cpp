// The search of a list against the server: texts found without case and with
// Е and Ё alike, the user's quotes, backslashes, % and _ taken literally,
// number and date ranges, enumeration choices, and the list model paging
// through the found rows (under QAbstractItemModelTester).
#include "db/mysql_connection.h"
#include "framework/core/enums/enum2.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/lists/sql_search_filter.h"
#include "framework/core/table/cx_table.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {
struct sTestSex : sEnum2 {};
class TestSexes : public CEnum2Tpl<sTestSex> {
public:
    TestSexes() {
        Add(1, QStringLiteral("Male"), QStringLiteral("Мужской"));
        Add(2, QStringLiteral("Female"), QStringLiteral("Женский"));
    }
};

class TestClients : public CxTable {
public:
    TestClients()
        : CxTable(QStringLiteral("clientdata"), QStringLiteral("Клиенты"),
                  QStringLiteral("Clients")) {
        m_ROWID = RegisterField(1, QStringLiteral("ROWID"), QStringLiteral("Код"), FF_INT | FF_KEY);
        m_cCode = RegisterField(2, QStringLiteral("cClientCode"), QStringLiteral("Код клиента"),
                                FF_TEXT | FF_NAME);
        m_dEnter =
            RegisterField(3, QStringLiteral("dEnterDate"), QStringLiteral("Дата ввода"), FF_DATE);
        m_nSex = RegisterField(4, QStringLiteral("nSex"), QStringLiteral("Пол"),
                               FF_TEXT | FF_ENUMTEXT, &m_sexes);
        m_nYear =
            RegisterField(5, QStringLiteral("nBirthYear"), QStringLiteral("Год рождения"), FF_INT);
        m_bIsFolder = RegisterField(6, QStringLiteral("bIsFolder"), QStringLiteral("Папка?"),
                                    FF_INT | FF_FOLDERMARK);
        m_nGroupID = RegisterField(7, QStringLiteral("nGroupID"), QStringLiteral("Папка"),
                                   FF_INT | FF_PARENT);
    }
    TestSexes m_sexes;
    CxField* m_ROWID;
    CxField* m_cCode;
    CxField* m_dEnter;
    CxField* m_nSex;
    CxField* m_nYear;
    CxField* m_bIsFolder;
    CxField* m_nGroupID;
};

// A criterion of a case: which field, and what the user gave.
struct Given {
    int field = 0; // 1 code, 2 date, 3 sex, 4 year
    QString a, b;
};
} // namespace
Q_DECLARE_METATYPE(QList<Given>)

class TestSQLSearchFilter : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<TestClients> m_table;

    QStringList Found(CxSQLSearchFilter& search, int pageSize) {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        model.Begin(m_table.get(), QStringLiteral("Clients"));
        model.SetConnection(m_db->Connection());
        model.SetPageSize(pageSize);
        for (const CxField* f : {m_table->m_ROWID, m_table->m_cCode, m_table->m_dEnter,
                                 m_table->m_nSex, m_table->m_nYear})
            model.RegisterField(f);
        model.EnableFolders(m_table->m_cCode, m_table->m_bIsFolder, m_table->m_nGroupID);
        model.AddFilter(&search);
        if (!model.End())
            return {QStringLiteral("error: ") + model.LastError().text};
        while (model.canFetchMore())
            model.fetchMore();
        QStringList keys;
        for (int i = 0; i < model.rowCount(); ++i)
            keys << QString::number(model.RowKey(i));
        std::sort(keys.begin(), keys.end());
        return keys;
    }

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("search"));
        m_table = std::make_unique<TestClients>();
        m_db->Exec(QStringLiteral(
            "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,dEnterDate,nSex,"
            "nBirthYear) VALUES (1,'Папка',1,0,NULL,NULL,NULL),"
            "(10,'Ёлка',0,0,'2026-12-10',1,1990),(11,'ЕЛКА-2',0,0,'2026-12-11',2,1985),"
            "(12,'O''Brien',0,0,'2025-01-01',1,2000),(13,'C:\\\\temp',0,0,NULL,NULL,NULL),"
            "(14,'100% чисто',0,0,'2026-12-09',2,1990),(15,'a_b',0,0,NULL,NULL,NULL),"
            "(16,'aXb',0,0,NULL,NULL,NULL),(20,'Ёж в папке',0,1,'2026-12-10',1,1990)"));
    }
    void cleanupTestCase() {
        m_table.reset();
        m_db.reset();
    }

    void search_data() {
        QTest::addColumn<QList<Given>>("given");
        QTest::addColumn<QString>("keys"); // the folder row 1 stays in every search
        QTest::newRow("nothing") << QList<Given>{} << "1 10 11 12 13 14 15 16";
        QTest::newRow("Е finds Ё, without case") << QList<Given>{{1, "ел"}} << "1 10 11";
        QTest::newRow("Ё finds Е") << QList<Given>{{1, "ЁЛК"}} << "1 10 11";
        QTest::newRow("quote") << QList<Given>{{1, "o'b"}} << "1 12";
        QTest::newRow("backslash") << QList<Given>{{1, "C:\\te"}} << "1 13";
        QTest::newRow("lone backslash") << QList<Given>{{1, "\\"}} << "1 13";
        QTest::newRow("percent is a percent") << QList<Given>{{1, "%"}} << "1 14";
        QTest::newRow("underscore is an underscore") << QList<Given>{{1, "a_"}} << "1 15";
        QTest::newRow("statement in a field")
            << QList<Given>{{1, "'; DROP TABLE clientdata; --"}} << "1";
        QTest::newRow("blanks are no search")
            << QList<Given>{{1, "  "}} << "1 10 11 12 13 14 15 16";
        QTest::newRow("year from-to") << QList<Given>{{4, "1986", "1995"}} << "1 10 14";
        QTest::newRow("year from") << QList<Given>{{4, "1990", ""}} << "1 10 12 14";
        QTest::newRow("year to") << QList<Given>{{4, "", "1989,5"}} << "1 11";
        QTest::newRow("year no number") << QList<Given>{{4, "1990 OR 1=1", ""}} << "";
        QTest::newRow("date from-to") << QList<Given>{{2, "2026-12-10", "2026-12-11"}} << "1 10 11";
        QTest::newRow("date to") << QList<Given>{{2, "", "2025-12-31"}} << "1 12";
        QTest::newRow("choice") << QList<Given>{{3, "2"}} << "1 11 14";
        QTest::newRow("all criteria hold") << QList<Given>{{1, "ел"}, {3, "1"}} << "1 10";
    }
    void search() {
        QFETCH(QList<Given>, given);
        QFETCH(QString, keys);
        CxSQLSearchFilter search;
        for (const Given& g : given) {
            switch (g.field) {
            case 1:
                search.SetText(m_table->m_cCode, g.a);
                break;
            case 2:
                search.SetDateRange(m_table->m_dEnter, QDate::fromString(g.a, Qt::ISODate),
                                    QDate::fromString(g.b, Qt::ISODate));
                break;
            case 3:
                search.SetChoice(m_table->m_nSex, g.a.toLongLong());
                break;
            case 4:
                search.SetNumberRange(m_table->m_nYear, g.a, g.b);
                break;
            }
        }
        // The found rows are the same whether read in pages of one or at once.
        const QStringList expected = keys.split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(Found(search, 1), expected);
        QCOMPARE(Found(search, 200), expected);
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT COUNT(*) FROM clientdata")),
                 QStringLiteral("9"));
    }

    void kinds_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("kind");
        QTest::newRow("key") << 0 << int(CxSQLSearchFilter::Kind::Number);
        QTest::newRow("text") << 1 << int(CxSQLSearchFilter::Kind::Text);
        QTest::newRow("date") << 2 << int(CxSQLSearchFilter::Kind::Date);
        QTest::newRow("enumeration text") << 3 << int(CxSQLSearchFilter::Kind::Choice);
        QTest::newRow("folder mark") << 5 << int(CxSQLSearchFilter::Kind::None);
        QTest::newRow("parent") << 6 << int(CxSQLSearchFilter::Kind::None);
    }
    void kinds() {
        QFETCH(int, field);
        QFETCH(int, kind);
        QCOMPARE(int(CxSQLSearchFilter::KindOf(m_table->GetFields().at(field))), kind);
    }
};

QTEST_GUILESS_MAIN(TestSQLSearchFilter)
#include "test_sql_search_filter.moc"

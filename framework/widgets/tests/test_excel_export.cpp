// «Передать в MS Excel»: a list's rows and a report page's tables written as
// a workbook and read back from its sheet XML: every cell in its place and of
// its kind (numbers, dates, Cyrillic texts), merged header cells, widths that
// fit, cancel and a write failure; LibreOffice, where it is installed, reads
// the same cells.
#include "db/mysql_connection.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/progress.h"
#include "framework/core/tests/test_dir_table.h"
#include "framework/widgets/export/xlsx_export.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/xlsx_reader.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
// The materials with a date column.
class DatedMaterials : public TestMaterials {
public:
    DatedMaterials() {
        m_dDate =
            RegisterField(9, QStringLiteral("DATE_ADD('2026-01-01',INTERVAL {TABLE}.ROWID DAY)"),
                          QStringLiteral("Дата"), FF_DATE);
    }
    CxField* m_dDate;
};

// Stops the work at its first look.
class CancellingProgress : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString&, int) override {}
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return true; }
};

const char* const kPage = R"(<html><head><title>Отчет</title></head><body>
<h2>Охват за период</h2><p>с 01.01.2026 по 31.03.2026</p>
<table border=1>
<tr><th rowspan=2>Проект</th><th colspan=2>Клиенты</th><th rowspan=2>Первый визит</th></tr>
<tr><th>муж.</th><th>жен.</th></tr>
<tr><td>Ёлки-Палки «Север»</td><td>12</td><td>0</td><td>05.01.2026</td></tr>
<tr><td>Код 007</td><td>3,5</td><td>-4</td><td>нет</td></tr>
</table>
<h3>Итого по районам</h3>
<table border=1><tr><th>Район</th><th>Всего</th></tr><tr><td>Центральный</td><td>15</td></tr></table>
</body></html>)";
} // namespace

class TestExcelExport : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<DatedMaterials> m_table;
    QTemporaryDir m_dir;

    void Fill(CxSQLListModel& model) {
        model.Begin(m_table.get(), QStringLiteral("Materials"));
        model.SetConnection(m_db->Connection());
        model.RegisterField(m_table->m_ROWID);
        model.RegisterField(m_table->m_cString);
        model.RegisterField(m_table->m_nKindText);
        model.RegisterField(m_table->m_nSortCode);
        model.RegisterField(m_table->m_dDate);
        model.EnableFolders(m_table->m_cString, m_table->m_bIsFolder, m_table->m_nGroupID);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("xlsx"));
        m_table = std::make_unique<DatedMaterials>();
        m_db->Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nSortCode) VALUES (1,0,1,'Папка',3,0,0,0,NULL),(2,1,0,'В папке',3,65537,0,0,1)"));
        m_db->Exec(InsertRootMaterials(450, QStringLiteral("Материал «%1» ёлка")));
    }
    void cleanupTestCase() {
        m_table.reset();
        m_db.reset();
    }

    void listAsShown_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<qint64>("folder");
        QTest::newRow("root by name") << 1 << true << qint64(0);
        QTest::newRow("root by sort code desc") << 3 << false << qint64(0);
        QTest::newRow("a folder") << 1 << true << qint64(1);
    }
    void listAsShown() {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(qint64, folder);
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        model.SetPageSize(50);
        QVERIFY(model.End());
        QVERIFY(model.SetFolder(folder));
        model.sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        // The view holds one page; the workbook has every row.
        const int shown = model.rowCount();
        const QString path = m_dir.filePath(QStringLiteral("list.xlsx"));
        QString error;
        QVERIFY2(WriteListXlsx(model, QStringLiteral("Материалы"), path, nullptr, &error),
                 qPrintable(error));
        QCOMPARE(model.rowCount(), shown);
        while (model.canFetchMore())
            model.fetchMore();
        const XlsxSheet sheet = ReadXlsxSheet(path);
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.Rows(), model.rowCount() + 1);
        for (int c = 0; c < model.columnCount(); ++c)
            QCOMPARE(sheet.Text(0, c), model.headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                QCOMPARE(sheet.Text(r + 1, c), model.data(model.index(r, c)).toString());
        // Keys and numbers as numbers, dates as dates, texts as texts.
        const int last = model.rowCount();
        QCOMPARE(sheet.Cell(last, 0)->kind, XlsxCell::Number);
        QCOMPARE(sheet.Cell(last, 1)->kind, XlsxCell::Text);
        QCOMPARE(sheet.Cell(last, 2)->kind, XlsxCell::Text);
        QCOMPARE(sheet.Cell(last, 4)->kind, XlsxCell::Date);
        // The widest text fits its column.
        int longest = 0;
        for (int r = 0; r <= last; ++r)
            longest = qMax(longest, int(sheet.Text(r, 1).size()));
        QVERIFY(sheet.widths.value(1) >= longest);
    }

    void pageTables() {
        const QString path = m_dir.filePath(QStringLiteral("page.xlsx"));
        QString error;
        QVERIFY2(WriteHtmlXlsx(QString::fromUtf8(kPage), QStringLiteral("Охват: за [период]"), path,
                               nullptr, &error),
                 qPrintable(error));
        const XlsxSheet sheet = ReadXlsxSheet(path);
        QVERIFY(sheet.ok);
        // Headings, then the table, a blank row, the next heading and table.
        QCOMPARE(sheet.Text(0, 0), QStringLiteral("Охват за период"));
        QCOMPARE(sheet.Text(1, 0), QStringLiteral("с 01.01.2026 по 31.03.2026"));
        QCOMPARE(sheet.Text(2, 0), QStringLiteral("Проект"));
        QCOMPARE(sheet.Text(2, 1), QStringLiteral("Клиенты"));
        QCOMPARE(sheet.Text(2, 3), QStringLiteral("Первый визит"));
        QCOMPARE(sheet.Text(3, 1), QStringLiteral("муж."));
        QCOMPARE(sheet.Text(3, 2), QStringLiteral("жен."));
        QCOMPARE(sheet.merges, QStringList({"A3:A4", "B3:C3", "D3:D4"}));
        QCOMPARE(sheet.Text(4, 0), QStringLiteral("Ёлки-Палки «Север»"));
        QCOMPARE(sheet.Cell(4, 1)->kind, XlsxCell::Number);
        QCOMPARE(sheet.Cell(4, 1)->number, 12.0);
        QCOMPARE(sheet.Cell(4, 2)->number, 0.0);
        QCOMPARE(sheet.Cell(4, 3)->kind, XlsxCell::Date);
        QCOMPARE(sheet.Cell(4, 3)->date, QDate(2026, 1, 5));
        // A code with a leading zero stays a text, a decimal comma a number.
        QCOMPARE(sheet.Cell(5, 0)->kind, XlsxCell::Text);
        QCOMPARE(sheet.Cell(5, 1)->number, 3.5);
        QCOMPARE(sheet.Cell(5, 2)->number, -4.0);
        QCOMPARE(sheet.Text(5, 3), QStringLiteral("нет"));
        QVERIFY(!sheet.Cell(6, 0));
        QCOMPARE(sheet.Text(7, 0), QStringLiteral("Итого по районам"));
        QCOMPARE(sheet.Text(8, 0), QStringLiteral("Район"));
        QCOMPARE(sheet.Text(9, 0), QStringLiteral("Центральный"));
        QCOMPARE(sheet.Cell(9, 1)->number, 15.0);
        QCOMPARE(sheet.Rows(), 10);
        QVERIFY(sheet.widths.value(0) >= QStringLiteral("Ёлки-Палки «Север»").size());
        // The sheet's name without the characters Excel refuses.
        const QByteArray book = ReadZip(path).value(QStringLiteral("xl/workbook.xml"));
        QVERIFY(QString::fromUtf8(book).contains(QStringLiteral("name=\"Охват за период\"")));
    }

    void tablesInsideATableAreWritten() {
        // The distribution page lays its charts out in a table, a row per
        // point: the charts' own figures are what the sheet must hold.
        const QString page = QStringLiteral(
            "<html><body><table><tr><td><h2>Пункт «Север»</h2>"
            "<table class=\"chart\" style=\"float: left;\"><tr><td colspan=\"2\">Шприцы</td></tr>"
            "<tr><td>10</td><td>20</td></tr></table>"
            "<table class=\"chart\" style=\"float: left;\"><tr><td colspan=\"2\">Салфетки</td></tr>"
            "<tr><td>3</td><td>4</td></tr></table></td></tr>"
            "<tr><td><h2>Пункт «Юг»</h2><table><tr><td>7</td></tr></table></td></tr>"
            "</table><p>* сноска</p></body></html>");
        const QString path = m_dir.filePath(QStringLiteral("nested.xlsx"));
        QString error;
        QVERIFY2(WriteHtmlXlsx(page, QStringLiteral("Распределение"), path, nullptr, &error),
                 qPrintable(error));
        const XlsxSheet sheet = ReadXlsxSheet(path);
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.Text(0, 0), QStringLiteral("Пункт «Север»"));
        QCOMPARE(sheet.Text(1, 0), QStringLiteral("Шприцы"));
        QCOMPARE(sheet.Cell(2, 0)->number, 10.0);
        QCOMPARE(sheet.Cell(2, 1)->number, 20.0);
        QCOMPARE(sheet.Text(4, 0), QStringLiteral("Салфетки"));
        QCOMPARE(sheet.Cell(5, 1)->number, 4.0);
        QCOMPARE(sheet.Text(7, 0), QStringLiteral("Пункт «Юг»"));
        QCOMPARE(sheet.Cell(8, 0)->number, 7.0);
        QCOMPARE(sheet.Text(10, 0), QStringLiteral("* сноска"));
    }

    void cancelAndFailure() {
        CxSQLListModel model;
        Fill(model);
        QVERIFY(model.End());
        CancellingProgress cancel;
        QString error = QStringLiteral("x");
        const QString cancelled = m_dir.filePath(QStringLiteral("cancelled.xlsx"));
        QVERIFY(!WriteListXlsx(model, QStringLiteral("Материалы"), cancelled, &cancel, &error));
        QVERIFY(error.isEmpty());
        QVERIFY(!QFile::exists(cancelled));
        // A folder that does not exist: said in Russian, no file.
        const QString nowhere = m_dir.filePath(QStringLiteral("нет/папки/list.xlsx"));
        QVERIFY(!WriteListXlsx(model, QStringLiteral("Материалы"), nowhere, nullptr, &error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось записать файл")), qPrintable(error));
        QVERIFY(!QFile::exists(nowhere));
        QVERIFY(!WriteHtmlXlsx(QString::fromUtf8(kPage), QStringLiteral("Отчет"), nowhere, nullptr,
                               &error));
        QVERIFY(error.startsWith(QStringLiteral("Не удалось записать файл")));
    }

    void tempPathIsInTempFolder() {
        const QString path = XlsxTempPath(QStringLiteral("Карточки клиентов: 2026/1"));
        QVERIFY(path.startsWith(QDir::tempPath()));
        QVERIFY(path.endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFileInfo(path).fileName().startsWith(QStringLiteral("Карточки_клиентов_2026_1-")));
    }

    void libreOfficeReadsTheSame() {
        const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed");
        const QString path = m_dir.filePath(QStringLiteral("office.xlsx"));
        QString error;
        QVERIFY(WriteHtmlXlsx(QString::fromUtf8(kPage), QStringLiteral("Отчет"), path, nullptr,
                              &error));
        QProcess convert;
        convert.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                               QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                               QStringLiteral("--outdir"), m_dir.path(), path});
        QVERIFY(convert.waitForFinished(120000));
        QFile csv(m_dir.filePath(QStringLiteral("office.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(u'\n');
        QVERIFY(lines.value(4).startsWith(QStringLiteral("Ёлки-Палки «Север»,12,0,")));
        QVERIFY(lines.value(5).startsWith(QStringLiteral("Код 007,3.5,-4,нет")));
        QVERIFY(lines.value(9).startsWith(QStringLiteral("Центральный,15")));
    }
};

QTEST_MAIN(TestExcelExport)
#include "test_excel_export.moc"

// The sheet stencil over a small directory: the whole text against the
// committed stencil (the one LibreOffice Calc filled for test_excel_xml), the
// lists it offers, what it does with empty directories, the format's row
// limit, a failing query, and writing the file.
#include "diary/excel/excel_xml.h"
#include "diary/excel/stencil_layout.h"
#include "diary/excel/xml_trafaret.h"
#include "stencil_test_data.h"

#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {
const QString kFixtures = QStringLiteral(KELDA_EXCEL_FIXTURES);

// Fixed parameters, so the text can be compared.
XMLTrafaretParams SmallParams() {
    XMLTrafaretParams p;
    p.clientRows = 6;
    p.projects = {QStringLiteral("Проект «Альфа»"), QStringLiteral("Проект Бета")};
    p.programName = QStringLiteral("Kelda2");
    p.version = QStringLiteral("2.0.1.14042");
    p.date = QStringLiteral("05.03.2024");
    p.created = QDateTime(QDate(2024, 3, 5), QTime(9, 30), Qt::UTC);
    return p;
}

int Count(const QString& text, const QString& what) {
    return int(text.count(what));
}

QStringList ReportFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("Report2*")}, QDir::Files);
}
} // namespace

class TestXMLTrafaret : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void matchesTheCommittedStencil();
    void readsBack();
    void emptyDirectories_data();
    void emptyDirectories();
    void fitsTheFormat();
    void failedQueryIsReported();
    void writesAClosedFile();
    void folderFailure();
    void writeFailure();

private:
    QString Build(const XMLTrafaretParams& params) {
        QString text, error;
        if (!BuildXMLTrafaret(m_db->Connection(), params, &text, &error))
            qWarning().noquote() << error;
        return text;
    }
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestXMLTrafaret::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("excel"));
    m_db->Exec(QString::fromUtf8(kDirectory));
    auto* config = new xKDConfiguration;
    QVERIFY(config->ParseConfig(QString::fromUtf8(kConfiguration), QStringLiteral("test")));
    CTarvikApp::SetConfig(config);
    QVERIFY(InitTables());
}

void TestXMLTrafaret::cleanupTestCase() {
    m_db.reset();
    CTarvikApp::SetConfig(nullptr);
    g_SelfTablesKelda.Init(0);
}

void TestXMLTrafaret::matchesTheCommittedStencil() {
    const QString text = Build(SmallParams());
    QFile expected(QDir(kFixtures).filePath(QStringLiteral("stencil_small.xml")));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    if (text != QString::fromUtf8(expected.readAll())) {
        // Left beside the test program for a look (and, when the change is
        // meant, to replace the fixture and fill it in Calc again).
        QFile actual(QStringLiteral("stencil_small.actual.xml"));
        QVERIFY(actual.open(QIODevice::WriteOnly));
        actual.write(text.toUtf8());
        QFAIL(qPrintable(QStringLiteral("the stencil differs from the fixture; see ") +
                         QFileInfo(actual).absoluteFilePath()));
    }
}

void TestXMLTrafaret::readsBack() {
    using namespace StencilLayout;
    const QString text = Build(SmallParams());
    CExcelXML sheet;
    QString error;
    QVERIFY2(sheet.LoadData(text.toUtf8(), &error), qPrintable(error));
    auto cell = [&](int row, int column) {
        const QString* t = sheet.GetCellText(row, column, 0);
        return t ? *t : QStringLiteral("<none>");
    };
    // Five dictionary rows: the material entries are the longest list. A
    // consultation gives one entry per flag besides counting by code.
    const QStringList materials = {
        "Буклет <Здоровье>",
        "Консультация:Предоставлена консультация/ тестирование (внутри проекта)",
        "Консультация:Получил консультацию/ прошёл тестирование (по направлению)", "Презерватив",
        "Шприц 2 мл & игла"};
    const QStringList points = {"Пункт «Центр»", "Пункт Север", "", "", ""};
    const QStringList workers = {"Иванова А. & Ко", "Петров Б.", "", "", ""};
    const QStringList projects = {"Проект «Альфа»", "Проект Бета", "", "", ""};
    for (int row = 0; row < 5; ++row) {
        QCOMPARE(cell(row, 1), points.at(row));
        QCOMPARE(cell(row, 2), materials.at(row));
        QCOMPARE(cell(row, 3), workers.at(row));
        QCOMPARE(cell(row, 4), projects.at(row));
    }
    const int r = FindSignatureRow(sheet);
    QCOMPARE(r, 5);
    QCOMPARE(cell(r + kDateRow, kDateColumn - 1), QStringLiteral("Дата"));
    QCOMPARE(cell(r + kDateRow, kDateColumn), QString());
    QCOMPARE(cell(r + kWorkPlaceRow, kWorkPlaceColumn - 1), QStringLiteral("ПОУ"));
    QCOMPARE(cell(r + kWorker1Row, kWorker1Column - 1), QStringLiteral("Социальный работник"));
    QCOMPARE(cell(r + kWorker2Row, kWorker2Column - 1), QStringLiteral("Социальный работник 2"));
    QCOMPARE(cell(r + kWorker3Row, kWorker3Column - 1), QStringLiteral("Социальный работник 3"));
    QCOMPARE(cell(r + kProjectRow, kProjectColumn - 1), QStringLiteral("Проект"));
    QCOMPARE(cell(r + kCommentRow, kCommentColumn - 1), QStringLiteral("Комментарий"));
    QCOMPARE(cell(r + 3, 6), QStringLiteral("Kelda2, 2.0.1.14042, 05.03.2024"));
    QCOMPARE(cell(r + 6, 2), QStringLiteral("Материалы (Выбирайте из выпадающего меню)"));
    // Every entry cell is there, empty, for the import to read.
    for (const auto& [row, column] : {std::pair{kDateRow, kDateColumn},
                                      {kWorkPlaceRow, kWorkPlaceColumn},
                                      {kWorker1Row, kWorker1Column},
                                      {kWorker2Row, kWorker2Column},
                                      {kWorker3Row, kWorker3Column},
                                      {kProjectRow, kProjectColumn},
                                      {kCommentRow, kCommentColumn}})
        QCOMPARE(cell(r + row, column), QString());
    // Totals over every material column the stencil offers, none beyond.
    for (int column = kFirstMaterialColumn; column <= kLastMaterialColumn; ++column)
        QCOMPARE(cell(r + kTotalsRow, column), QStringLiteral("0"));
    QCOMPARE(cell(r + kTotalsRow, kLastMaterialColumn + 1), QStringLiteral("<none>"));
    // Six client rows.
    QCOMPARE(sheet.GetLastRow(0), r + kFirstClientRow + 5);

    // One row range for every total, ending at the format's last row.
    const int totalsExcelRow = r + kTotalsRow + 1;
    const QString end = QString::number(kFormatRows - totalsExcelRow);
    QCOMPARE(Count(text, QStringLiteral("=COUNTA(R[1]C:R[%1]C)").arg(end)), 1);
    QCOMPARE(Count(text, QStringLiteral("=SUM(R[1]C:R[%1]C)").arg(end)), 254);
    QCOMPARE(Count(text, QStringLiteral("ss:Formula=\"=SUM(")), 254);
    // The material list covers the picking row up to the last offered column.
    QVERIFY(text.contains(QStringLiteral("<Range>R13C3:R13C256</Range>")));
    QVERIFY(text.contains(QStringLiteral("<Value>R1C3:R5C3</Value>")));
}

void TestXMLTrafaret::emptyDirectories_data() {
    QTest::addColumn<QString>("hide"); // dir types made hidden for the case
    QTest::addColumn<bool>("withProjects");
    QTest::addColumn<int>("dictionaryRows");
    QTest::addColumn<QStringList>("lists"); // the dictionary columns offered, in order

    QTest::newRow("only materials") << "1,2" << false << 5 << QStringList{"R1C3:R5C3"};
    QTest::newRow("only projects") << "1,2,3" << true << 2 << QStringList{"R1C5:R2C5"};
    QTest::newRow("nothing") << "1,2,3" << false << 0 << QStringList{};
    QTest::newRow("everything") << "" << true << 5
                                << QStringList{"R1C5:R2C5", "R1C4:R2C4", "R1C2:R2C2", "R1C3:R5C3"};
}

void TestXMLTrafaret::emptyDirectories() {
    QFETCH(QString, hide);
    QFETCH(bool, withProjects);
    QFETCH(int, dictionaryRows);
    QFETCH(QStringList, lists);

    // Hidden for this case only: the stencil reads inside the transaction.
    m_db->Exec(QStringLiteral("START TRANSACTION"));
    if (!hide.isEmpty())
        m_db->Exec(QStringLiteral("UPDATE dir SET bHidden=1 WHERE nDirType IN (") + hide + u')');
    XMLTrafaretParams params = SmallParams();
    if (!withProjects)
        params.projects.clear();
    const QString text = Build(params);
    m_db->Exec(QStringLiteral("ROLLBACK"));
    QVERIFY(!text.isEmpty());

    CExcelXML sheet;
    QVERIFY(sheet.LoadData(text.toUtf8()));
    QCOMPARE(StencilLayout::FindSignatureRow(sheet), dictionaryRows);
    static const QRegularExpression value(QStringLiteral("<Value>([^<]*)</Value>"));
    QStringList offered;
    for (auto it = value.globalMatch(text); it.hasNext();)
        offered << it.next().captured(1);
    QCOMPARE(offered, lists);
}

void TestXMLTrafaret::fitsTheFormat() {
    XMLTrafaretParams params = SmallParams();
    // Five dictionary rows and nine header rows leave 65,522 client rows.
    params.clientRows = 65522;
    QString text, error;
    QVERIFY2(BuildXMLTrafaret(m_db->Connection(), params, &text, &error), qPrintable(error));
    QCOMPARE(Count(text, QStringLiteral("<Row ")), 5 + 9 + 65522);
    params.clientRows = 65523;
    text.clear();
    QVERIFY(!BuildXMLTrafaret(m_db->Connection(), params, &text, &error));
    QVERIFY(text.isEmpty());
    QVERIFY2(error.contains(QLatin1String("65523")) && error.contains(QLatin1String("65536")),
             qPrintable(error));
}

void TestXMLTrafaret::failedQueryIsReported() {
    m_db->Exec(QStringLiteral("RENAME TABLE dir TO dir_away"));
    QString text, error;
    const bool ok = BuildXMLTrafaret(m_db->Connection(), SmallParams(), &text, &error);
    m_db->Exec(QStringLiteral("RENAME TABLE dir_away TO dir"));
    QVERIFY(!ok);
    QVERIFY(text.isEmpty());
    QVERIFY2(error.contains(QLatin1String("dir")), qPrintable(error)); // the server's word
}

void TestXMLTrafaret::writesAClosedFile() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("tmp/Kelda2"));
    QString path, error;
    QVERIFY2(MakeXMLTrafaret(m_db->Connection(), folder, &path, &error), qPrintable(error));
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
    QVERIFY(QFileInfo(path).fileName().startsWith(QLatin1String("Report2")));
    QVERIFY(path.endsWith(QLatin1String(".xml")));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("<?xml version=\"1.0\"?>\n")); // UTF-8 without a byte-order mark
    CExcelXML sheet;
    QVERIFY(sheet.LoadData(bytes));
    // The option's default of 200 client rows: the last is Excel row D + 209.
    QCOMPARE(sheet.GetLastRow(0), 5 + 208);

    // A second stencil is a new file; the first stays.
    QString second;
    QVERIFY(MakeXMLTrafaret(m_db->Connection(), folder, &second, &error));
    QVERIFY(second != path);
    QCOMPARE(ReportFiles(folder).size(), 2);
}

void TestXMLTrafaret::folderFailure() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = dir.filePath(QStringLiteral("blocker/Kelda2"));
    QString path, error;
    QVERIFY(!MakeXMLTrafaret(m_db->Connection(), folder, &path, &error));
    QVERIFY(path.isEmpty());
    QVERIFY2(error.contains(folder), qPrintable(error));
}

// The disk fills up while the stencil is written: the failure is reported
// and no half-written file is left for the user to open.
void TestXMLTrafaret::writeFailure() {
    QTemporaryDir dir;
    QString path, error;
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool ok = MakeXMLTrafaret(m_db->Connection(), dir.path(), &path, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!ok);
    QVERIFY(path.isEmpty());
    QVERIFY2(error.contains(QLatin1String("Report2")), qPrintable(error));
    QVERIFY(ReportFiles(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestXMLTrafaret)
#include "test_xml_trafaret.moc"

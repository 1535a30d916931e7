// The import of filled daily sheets: a folder of good, damaged and foreign
// files gives one report per good file and one message per bad one, and
// writes nothing; the stencil filled in LibreOffice Calc comes back as what
// was typed into it and saves as such; and sheet by sheet, what the import
// makes of dates, names, client rows, counts and consultation marks.
#include "diary/core/daily_report_store.h"
#include "diary/excel/excel_xml.h"
#include "diary/excel/sheet_file_reader.h"
#include "diary/excel/sheet_import.h"
#include "diary/excel/stencil_layout.h"
#include "sheet_file.h"
#include "stencil_test_data.h"

#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kFixtures = QStringLiteral(KELDA_EXCEL_FIXTURES);

// Clients of the fixture's codes (the third is not registered), one known
// by the code of its organisation of origin, one whose code holds a quote,
// one whose code the server finds also when typed with "Е" for "Ё".
const char* const kClients =
    "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bIsFolder,nGroupID,nEthnicity,"
    "nRelCount) VALUES (201,'АБВ0190Ч','',0,0,0,0),(202,'ГДЕ0285Ж','',0,0,0,0),"
    "(203,'НОВ0101Ч`2','СТР0101Ч',0,0,0,0),(204,'O''Brien','',0,0,0,0),"
    "(206,'ЁЛК0303Ж','',0,0,0,0)";
// Names with a quote and a backslash, to be looked up as they stand.
const char* const kQuotedNames =
    "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nSpecFlags) VALUES "
    "(30,0,0,'Пункт О''Нил',1,1,0,0),(31,0,0,'Сидоров \\\\ Ко',2,0,0,0),"
    "(32,0,0,'Шприц 5'' мл',3,65537,0,0)";

// A header every case starts from (a case replaces a cell by naming it).
const QStringList kHeader = {
    "1,3=2024-03-05T00:00:00.000",
    "2,3=Пункт Север",
    "3,3=Иванова А. & Ко",
    "1,7=Петров Б.",
    "4,3=Проект Бета",
    "4,7=Вечер",
};
// The material row's entry for one kind of the consultation counted by code.
QString Kind(long flag) {
    return StencilLayout::ConsultationEntry(QStringLiteral("Консультация"), flag);
}

QStringList Cells(const QStringList& overrides) {
    QMap<QString, QString> byPlace;
    for (const QString& c : kHeader + overrides)
        byPlace[c.left(c.indexOf(u'='))] = c;
    return byPlace.values();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString HeaderText(const CDailyReportHeader& h) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(h.date.toString(Qt::ISODate))
        .arg(h.workPlace)
        .arg(h.worker1)
        .arg(h.worker2)
        .arg(h.worker3)
        .arg(h.project)
        .arg(h.groupId);
}

// The cells as "NPP:client:item:count", in NPP and item order (a client not
// found shows its code after the -1).
QString VisitsText(QList<CVisitsSheetCell> visits) {
    std::sort(visits.begin(), visits.end(), [](const auto& a, const auto& b) {
        return std::pair(a.npp, a.item) < std::pair(b.npp, b.item);
    });
    QStringList out;
    for (const CVisitsSheetCell& v : visits)
        out << QStringLiteral("%1:%2:%3:%4")
                   .arg(v.npp)
                   .arg(v.clientId > 0 ? QString::number(v.clientId)
                                       : QStringLiteral("-1/") + v.clientCode)
                   .arg(v.item)
                   .arg(v.count);
    return out.join(u';');
}

// The message of a value the import left out: the test file, the sheet's
// row and column as the spreadsheet shows them, the column's name, the text.
QString Refused(int row, const char* column, const QString& name, const char* typed,
                const char* reason, const char* file = "Report2one.xml") {
    return QStringLiteral("warning: %1, строка %2, столбец %3 «%4»: «%5» — %6; "
                          "ячейка оставлена пустой")
        .arg(QLatin1String(file))
        .arg(row)
        .arg(QLatin1String(column), name, QString::fromUtf8(typed), QString::fromUtf8(reason));
}

// The client codes of the rows of the draft's sheet, in order.
QString SheetRows(const CDailyReportDraft& draft) {
    QStringList rows;
    const CVisitsSheet& sheet = draft.sheets.value(0);
    for (int r = 0; r < sheet.RowCount(); ++r)
        rows << sheet.Text(r, sheet.ClientColumn());
    return rows.join(u',');
}

// Steps the run's bar; stops when told to.
class CountingProgress : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override { ++phases; }
    void Step(const QString&, int count) override { steps += count; }
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return stop; }
    int steps = 0;
    int phases = 0;
    bool stop = false;
};

QStringList Warnings(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(QStringLiteral("warning: ")) || l.startsWith(QStringLiteral("error: ")))
            out << l;
    return out;
}
} // namespace

class TestSheetImport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void folderOfGoodAndBadFiles();
    void calcFilledStencilComesBack();
    void calcFilledSlipsAreReported();
    void sheets_data();
    void sheets();
    void emptyCommentNamesTheFile();
    void lostConnectionStopsTheRun();
    void reportSheetBehindOthers();
    void refusedValuesStayForTheUser();
    void refusedFiles_data();
    void refusedFiles();
    void readingStepsAndStops();

private:
    // Imports one sheet file; answers whether it gave a draft.
    bool Import(const QByteArray& bytes, CDailyReportDraft* draft, QStringList* log,
                qint64 folder = 0) {
        const QString path = m_dir.filePath(QStringLiteral("Report2one.xml"));
        WriteFile(path, bytes);
        CSheetImport import(m_db->Connection(), folder);
        import.SetLimits(m_limits);
        CvRunLogLines lines;
        QList<CDailyReportDraft> drafts;
        QString error;
        if (!import.Run({path}, &lines, nullptr, &drafts, &error))
            qWarning().noquote() << error;
        *log = lines.lines;
        if (drafts.isEmpty())
            return false;
        *draft = drafts.first();
        return true;
    }
    // Saves the draft's header with sheet as a new report: the stored cells
    // as "NPP:client:item:count" in NPP and item order, or "refused: " and
    // the reason. The reports are removed afterwards.
    QString SaveDraft(const CDailyReportDraft& draft, const CVisitsSheet& sheet) {
        CDailyReportSave save;
        save.action = EDailyReportAction::Insert;
        save.header = draft.header;
        save.pages = {{0, &sheet, nullptr}};
        CDiaryVerdict refusal;
        QString error;
        qint64 id = 0;
        const QString stored =
            SaveDailyReport(m_db->Connection(), save, &id, &refusal, &error)
                ? m_db->Rows(QStringLiteral("SELECT CONCAT(NPP,':',nClientID,':',nItem,':',"
                                            "nCount) FROM dailyvisits WHERE nReportID=%1 ORDER "
                                            "BY NPP,nItem")
                                 .arg(id))
                : QStringLiteral("refused: ") + refusal.text + error;
        m_db->Exec(QStringLiteral("DELETE FROM dailyvisits"));
        m_db->Exec(QStringLiteral("DELETE FROM dailyvisitssubhdr"));
        m_db->Exec(QStringLiteral("DELETE FROM dailyreport"));
        return stored;
    }
    QString Stored() const {
        return m_db->Rows(QStringLiteral("SELECT COUNT(*) FROM dailyreport")) + u'/' +
               m_db->Rows(QStringLiteral("SELECT COUNT(*) FROM dailyvisits"));
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
    QTemporaryDir m_dir;
    CSheetFileLimits m_limits; // the stencil's 200 client rows
};

void TestSheetImport::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("sheetimport"));
    m_db->Exec(QString::fromUtf8(kDirectory));
    m_db->Exec(QString::fromUtf8(kQuotedNames));
    m_db->Exec(QString::fromUtf8(kClients));
    m_db->Exec(QStringLiteral("INSERT INTO orginf VALUES "
                              "(0,'OWN','Своя','','','','','','','','','','','','','','')"));
    auto* config = new xKDConfiguration;
    QVERIFY(config->ParseConfig(QString::fromUtf8(kConfiguration), QStringLiteral("test")));
    CTarvikApp::SetConfig(config);
    QVERIFY(InitTables());
}

void TestSheetImport::cleanupTestCase() {
    m_db.reset();
    CTarvikApp::SetConfig(nullptr);
    g_SelfTablesKelda.Init(0);
}

// Two good files give two drafts, in name order; a damaged file, a foreign
// one (no signature) and one without a readable date each give their message
// and no draft, and the run goes on past them. Nothing reaches the database.
void TestSheetImport::folderOfGoodAndBadFiles() {
    QTemporaryDir dir;
    const QString good = QStringLiteral("7,2=Шприц 2 мл & игла");
    WriteFile(dir.filePath("Report2a.xml"), SheetFile(Cells({good, "9,1=АБВ0190Ч", "9,2=1"})));
    WriteFile(dir.filePath("Report2b.xml"), SheetFile({}).replace("{HdrStart}", "Итого"));
    WriteFile(dir.filePath("Report2c.xml"), SheetFile(Cells({good})).left(200));
    WriteFile(dir.filePath("Report2d.xml"), SheetFile(Cells({"1,3=32.13.2024", good})));
    WriteFile(dir.filePath("Report2e.XML"), SheetFile(Cells({good, "9,1=ГДЕ0285Ж", "9,2=2"})));
    WriteFile(dir.filePath("notes.txt"), "not a sheet");

    const QStringList files = CSheetImport::FindFiles(dir.filePath("*.xml"));
    QCOMPARE(files.size(), 5);
    QCOMPARE(CSheetImport::FindFiles(dir.filePath("Report2a.xml")), files.mid(0, 1));
    QVERIFY(CSheetImport::FindFiles(dir.filePath("missing.xml")).isEmpty());

    const QString before = Stored();
    CSheetImport import(m_db->Connection(), 77);
    CvRunLogLines log;
    QList<CDailyReportDraft> drafts;
    QList<QString> handed;
    QString error;
    QVERIFY2(import.Run(files, &log, nullptr, &drafts, &error,
                        [&](const CDailyReportDraft& d) { handed << d.source; }),
             qPrintable(error));
    QCOMPARE(drafts.size(), 2);
    QCOMPARE(handed, (QStringList{files[0], files[4]}));
    QCOMPARE(VisitsText(drafts[0].visits), QStringLiteral("1:201:9:1"));
    QCOMPARE(VisitsText(drafts[1].visits), QStringLiteral("1:202:9:2"));
    QCOMPARE(drafts[1].header.groupId, 77);
    const QStringList warnings = Warnings(log.lines);
    QCOMPARE(warnings.size(), 3);
    QCOMPARE(warnings[0],
             QStringLiteral("warning: Не найдена сигнатура {HdrStart}. Вы удалили ее?"));
    QVERIFY2(warnings[1].startsWith(QStringLiteral("warning: Ошибка загрузки файла:\n")),
             qPrintable(warnings[1]));
    QCOMPARE(warnings[2],
             QStringLiteral("warning: Поле дата не заполнено или заполнено с ошибками"));
    QCOMPARE(log.lines.filter(QStringLiteral("- Анализ файла")).size(), 5);
    QCOMPARE(Stored(), before);
}

// The stencil LibreOffice Calc filled comes back as it was typed (the
// material in the last column the stencil offers included), and the draft
// saves as the report the user sees.
void TestSheetImport::calcFilledStencilComesBack() {
    m_db->Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,"
                              "nEthnicity,nRelCount) VALUES (205,'ЖЗИ1201М',0,0,0,0)"));
    CSheetImport import(m_db->Connection(), 0);
    CvRunLogLines log;
    QList<CDailyReportDraft> drafts;
    QString error;
    QVERIFY(import.Run({QDir(kFixtures).filePath("stencil_filled_by_calc.xml")}, &log, nullptr,
                       &drafts, &error));
    m_db->Exec(QStringLiteral("DELETE FROM clientdata WHERE ROWID=205"));
    QCOMPARE(Warnings(log.lines), QStringList());
    QCOMPARE(drafts.size(), 1);
    const CDailyReportDraft& d = drafts[0];
    QCOMPARE(HeaderText(d.header), QStringLiteral("2024-03-05|1|5|6|-1|1|0"));
    QCOMPARE(d.header.comment, QStringLiteral("Выезд <вечер>"));
    // Syringes, the consultation's kinds 2 and 8, booklets, and condoms
    // picked in column 255; the third row was left empty, the fourth is NPP 4.
    QCOMPARE(VisitsText(d.visits),
             QStringLiteral("1:201:9:10;1:201:11:2;1:201:14:4;2:202:9:5;2:202:10:2;2:202:11:8;"
                            "4:205:9:3"));
    QCOMPARE(d.sheets.size(), 1);
    const CVisitsSheet& sheet = d.sheets[0];
    QCOMPARE(sheet.RowCount(), 3);
    QCOMPARE(sheet.Text(1, 0), QStringLiteral("ГДЕ0285Ж"));

    // Saved, the rows are those of the file.
    m_db->Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,"
                              "nEthnicity,nRelCount) VALUES (205,'ЖЗИ1201М',0,0,0,0)"));
    QCOMPARE(SaveDraft(d, sheet),
             QStringLiteral("0:201:9:10;0:201:11:2;0:201:14:4;1:202:9:5;1:202:10:2;1:202:11:8;"
                            "2:205:9:3"));
    m_db->Exec(QStringLiteral("DELETE FROM clientdata WHERE ROWID=205"));
}

// The worker's slips, typed in LibreOffice Calc and saved by it: a sheet of
// notes before the report's, which is renamed; names of the point, the workers, the project,
// a material and a consultation with doubled blanks, in other letters, "ё"
// for "е" or blanks around; a client code in small letters with blanks
// around; a count too large, a negative one, fractions both as Calc stores
// numbers and as text, a count in words, a mark in words and one that reads
// as nothing. Each value comes back exactly or is reported at its cell, and
// no row is lost; the draft saves what was taken.
void TestSheetImport::calcFilledSlipsAreReported() {
    const QString path = QDir(kFixtures).filePath("stencil_slips_by_calc.xml");
    CExcelXML stencil;
    QVERIFY(stencil.Load(path));
    const int top = StencilLayout::FindSignatureRow(stencil, 1);
    QVERIFY(top > 0);
    const int row = top + StencilLayout::kFirstClientRow + 1; // as Calc numbers it

    CSheetImport import(m_db->Connection(), 0);
    import.SetLimits(m_limits);
    CvRunLogLines log;
    QList<CDailyReportDraft> drafts;
    QString error;
    QVERIFY(import.Run({path}, &log, nullptr, &drafts, &error));
    const QString syringe = QStringLiteral("Шприц 2 мл & игла");
    const char* const file = "stencil_slips_by_calc.xml";
    const char* const fraction = "дробное число, а количество должно быть целым";
    QCOMPARE(
        Warnings(log.lines),
        (QStringList{
            Refused(row, "C", syringe, "99999999999", "число слишком велико", file),
            Refused(row + 1, "C", syringe, "-3", "количество не может быть отрицательным", file),
            Refused(row + 2, "C", syringe, "1,5", fraction, file),
            Refused(row + 3, "C", syringe, "2.7", fraction, file),
            Refused(row + 3, "D",
                    QStringLiteral("консультация:предоставлена консультация/ тестирование "
                                   "(внутри проекта)"),
                    "может быть", "отметка не распознана (ставьте 1 или «да»)", file),
            Refused(row + 5, "F", QStringLiteral("буклет <здоровье>"), "пять", "это не число",
                    file)}));
    QCOMPARE(drafts.size(), 1);
    const CDailyReportDraft& d = drafts[0];
    QCOMPARE(HeaderText(d.header), QStringLiteral("2024-03-05|2|5|6|-1|2|0"));
    QCOMPARE(VisitsText(d.visits), QStringLiteral("1:201:11:2;2:202:11:8;5:201:9:4;6:206:9:2"));
    QCOMPARE(SheetRows(d), QStringLiteral("АБВ0190Ч,ГДЕ0285Ж,ЁЛК0303Ж,O'Brien,АБВ0190Ч,елк0303ж"));
    QCOMPARE(SaveDraft(d, d.sheets[0]),
             QStringLiteral("0:201:11:2;1:202:11:8;4:201:9:4;5:206:9:2"));
}

void TestSheetImport::sheets_data() {
    QTest::addColumn<QStringList>("cells"); // over the common header
    QTest::addColumn<int>("top");           // the signature row
    QTest::addColumn<QString>("header");    // "" when no draft is made
    QTest::addColumn<QString>("visits");
    QTest::addColumn<QStringList>("warnings");

    const QString header = QStringLiteral("2024-03-05|2|5|6|-1|2|0");
    const QString syringe = QStringLiteral("7,2=Шприц 2 мл & игла");
    QTest::newRow("moved down by inserted rows")
        << QStringList{syringe, "9,1=АБВ0190Ч", "9,2=4"} << 40 << header
        << QStringLiteral("1:201:9:4") << QStringList();
    QTest::newRow("date typed in the user's form")
        << QStringList{"1,3=05.03.2024"} << 3 << header << QString() << QStringList();
    for (const char* date : {"", "32.13.2024", "завтра", "05.03.24"})
        QTest::addRow("date '%s' skips the file", date)
            << QStringList{QStringLiteral("1,3=") + QString::fromUtf8(date), syringe,
                           "9,1=АБВ0190Ч", "9,2=4"}
            << 3 << QString() << QString()
            << QStringList{"warning: Поле дата не заполнено или заполнено с ошибками"};
    QTest::newRow("names with quotes and backslashes")
        << QStringList{"2,3=Пункт О'Нил", "3,3=Сидоров \\ Ко", "7,2=Шприц 5' мл", "9,1=O'Brien",
                       "9,2=1"}
        << 3 << QStringLiteral("2024-03-05|30|31|6|-1|2|0") << QStringLiteral("1:204:32:1")
        << QStringList();
    QTest::newRow("names not found")
        << QStringList{"2,3=Пункт Юг", "3,3= ", "1,7=Кто-то",   "2,7=Петров Б.", "4,3=Другой",
                       "7,3=Бинт",     syringe, "9,1=АБВ0190Ч", "9,2=1",         "9,3=5"}
        << 3 << QStringLiteral("2024-03-05|-1|-1|-1|6|0|0") << QStringLiteral("1:201:9:1")
        << QStringList{"warning: Пункт предоставления не найден в базе",
                       "warning: Первый социальный работник должен быть заполнен",
                       "warning: Кто-то не найден в базе социальных работников",
                       "warning: Бинт не найден в базе материалов"};
    QTest::newRow("the last column the stencil offers")
        << QStringList{"7,255=Презерватив", "7,256=Шприц 2 мл & игла", "9,1=АБВ0190Ч", "9,255=3",
                       "9,256=9"}
        << 3 << header << QStringLiteral("1:201:14:3") << QStringList();
    QTest::newRow("counts as typed")
        << QStringList{syringe,           "7,3=Буклет <Здоровье>",
                       "7,4=Презерватив", "9,1=АБВ0190Ч",
                       "9,2=12 шт.",      "9,3=abc",
                       "9,4=0",           "10,1=ГДЕ0285Ж",
                       "10,2= -2",        "10,3=",
                       "10,4=1"}
        << 3 << header << QStringLiteral("1:201:9:12;2:202:14:1")
        << QStringList{Refused(13, "D", "Буклет <Здоровье>", "abc", "это не число"),
                       Refused(14, "C", "Шприц 2 мл & игла", "-2",
                               "количество не может быть отрицательным")};
    QTest::newRow("a row without a code uses up its number")
        << QStringList{syringe, "9,2=7", "10,1=ГДЕ0285Ж", "10,2=1"} << 3 << header
        << QStringLiteral("2:202:9:1")
        << QStringList{"warning: Report2one.xml, строка 13: в строке нет кода клиента, ее "
                       "значения не загружены"};
    // Values the import cannot take exactly are left out with a message at
    // their cell; their rows stay (the checks below count the kept rows).
    QTest::newRow("a count too large for the column")
        << QStringList{syringe, "9,1=АБВ0190Ч", "9,2=99999999999", "10,1=ГДЕ0285Ж", "10,2=3"} << 3
        << header << QStringLiteral("2:202:9:3")
        << QStringList{
               Refused(13, "C", "Шприц 2 мл & игла", "99999999999", "число слишком велико")};
    QTest::newRow("fractions")
        << QStringList{syringe, "7,3=Буклет <Здоровье>", "9,1=АБВ0190Ч", "9,2=1,5",
                       "9,3=2", "10,1=ГДЕ0285Ж",         "10,2=2.7"}
        << 3 << header << QStringLiteral("1:201:10:2")
        << QStringList{Refused(13, "C", "Шприц 2 мл & игла", "1,5",
                               "дробное число, а количество должно быть целым"),
                       Refused(14, "C", "Шприц 2 мл & игла", "2.7",
                               "дробное число, а количество должно быть целым")};
    // Consultation names match as the server compares names: without case,
    // "е" for "ё", blanks folded; a mark may be a word.
    QString kind8 = Kind(8).toUpper();
    kind8.replace(QStringLiteral("Ё"), QStringLiteral("Е")).replace(u' ', QStringLiteral("  "));
    QTest::newRow("consultation marks in words, names in other letters")
        << QStringList{"7,2=" + Kind(2).toLower(),
                       "7,3=" + kind8,
                       "9,1=АБВ0190Ч",
                       "9,2=да",
                       "9,3=Да",
                       "10,1=ГДЕ0285Ж",
                       "10,2=нет",
                       "10,3=+"}
        << 3 << header << QStringLiteral("1:201:11:10;2:202:11:8") << QStringList();
    QTest::newRow("a mark the import cannot read")
        << QStringList{"7,2=" + Kind(2), "9,1=АБВ0190Ч", "9,2=может быть"} << 3 << header
        << QString()
        << QStringList{Refused(13, "C", Kind(2), "может быть",
                               "отметка не распознана (ставьте 1 или «да»)")};
    QTest::newRow("a project typed in other letters, with blanks")
        << QStringList{"4,3= проЁкт  «АЛЬФА» "} << 3 << QStringLiteral("2024-03-05|2|5|6|-1|1|0")
        << QString() << QStringList();
    QTest::newRow("names typed with doubled blanks")
        << QStringList{"2,3=Пункт  Север",       "3,3=Иванова  А.  &  Ко", "1,7=Петров\u00a0 Б.",
                       "7,2=Шприц 2  мл & игла", "9,1=АБВ0190Ч",           "9,2=1"}
        << 3 << header << QStringLiteral("1:201:9:1") << QStringList();
    QTest::newRow("a client by its code of origin, or in another case")
        << QStringList{syringe,  "9,1=СТР0101Ч",  "9,2=1", "10,1=абв0190ч",
                       "10,2=2", "11,1=АБВ0190Ч", "11,2=3"}
        << 3 << header << QStringLiteral("1:203:9:1;2:201:9:2;3:201:9:3") << QStringList();
    QTest::newRow("a client the server finds by a code typed otherwise")
        << QStringList{syringe, "9,1=ЕЛК0303Ж", "9,2=1", "10,1=елк0303ж", "10,2=2"} << 3 << header
        << QStringLiteral("1:206:9:1;2:206:9:2") << QStringList();
    QTest::newRow("one client typed with \"Ё\" and with \"е\" on two rows")
        << QStringList{syringe, "9,1=ЁЛК0303Ж", "9,2=1", "10,1=елк0303ж", "10,2=2"} << 3 << header
        << QStringLiteral("1:206:9:1;2:206:9:2") << QStringList();
    QTest::newRow("one client on two rows")
        << QStringList{syringe,         "7,3=" + Kind(2), "7,4=" + Kind(8), "9,1=АБВ0190Ч",
                       "9,2=1",         "9,3=1",          "10,1=ГДЕ0285Ж",  "10,4=1",
                       "11,1=АБВ0190Ч", "11,2=3",         "11,4=1"}
        << 3 << header << QStringLiteral("1:201:9:1;1:201:11:10;2:202:11:8;3:201:9:3")
        << QStringList();
    QTest::newRow("clients not found keep their own rows")
        << QStringList{"7,3=" + Kind(2), "7,4=" + Kind(8), "9,1=ЯЯЯ0101Ч",  "9,3=1",
                       "10,1=ЮЮЮ0202Ж",  "10,4=1",         "11,1=ЯЯЯ0101Ч", "11,4=1"}
        << 3 << header << QStringLiteral("1:-1/ЯЯЯ0101Ч:11:2;2:-1/ЮЮЮ0202Ж:11:8;3:-1/ЯЯЯ0101Ч:11:8")
        << QStringList{"warning: ЯЯЯ0101Ч не найден в базе клиентов",
                       "warning: ЮЮЮ0202Ж не найден в базе клиентов",
                       "warning: ЯЯЯ0101Ч не найден в базе клиентов"};
    QTest::newRow("a kind the consultation does not carry")
        << QStringList{"7,2=" + Kind(4), "9,1=АБВ0190Ч", "9,2=1"} << 3 << header
        << QStringLiteral("1:201:11:4") << QStringList();
}

void TestSheetImport::sheets() {
    QFETCH(QStringList, cells);
    QFETCH(int, top);
    QFETCH(QString, header);
    QFETCH(QString, visits);
    QFETCH(QStringList, warnings);
    CDailyReportDraft draft;
    QStringList log;
    const bool made = Import(SheetFile(Cells(cells), top), &draft, &log);
    QCOMPARE(Warnings(log), warnings);
    QCOMPARE(made, !header.isEmpty());
    if (!made)
        return;
    QCOMPARE(HeaderText(draft.header), header);
    QCOMPARE(VisitsText(draft.visits), visits);
    // Every row of the draft is a row of the sheet the form shows, and so is
    // every row a refused value kept.
    QSet<qint64> rows;
    for (const CVisitsSheetCell& v : draft.visits + draft.keptRows)
        rows.insert(v.npp);
    QCOMPARE(draft.sheets.size(), 1);
    QCOMPARE(draft.sheets[0].RowCount(), rows.size());
}

// A comment left empty names the file and today; when the full path does
// not fit the column, the file's name does, cut from the left as needed.
void TestSheetImport::emptyCommentNamesTheFile() {
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    const QString path = m_dir.filePath(QStringLiteral("Report2one.xml"));
    const QString full = QStringLiteral("Загружено из файла %1. Дата: %2").arg(path, today);
    CDailyReportDraft draft;
    QStringList log;
    QVERIFY(Import(SheetFile(Cells({"4,7="})), &draft, &log));
    const QString& comment = draft.header.comment;
    if (full.size() <= kDailyReportCommentLength) {
        QCOMPARE(comment, full);
    } else {
        QCOMPARE(comment.size(), kDailyReportCommentLength);
        QVERIFY2(comment.startsWith(QStringLiteral("Загружено из файла ")), qPrintable(comment));
        QVERIFY2(comment.endsWith(QStringLiteral("one.xml. Дата: ") + today), qPrintable(comment));
    }
    // A comment typed into the sheet is kept as typed, blanks and all.
    QVERIFY(Import(SheetFile(Cells({"4,7= вечер "})), &draft, &log));
    QCOMPARE(draft.header.comment, QStringLiteral(" вечер "));
}

// A look-up the server cannot answer ends the run with the server's word,
// not with a report built on guesses.
void TestSheetImport::lostConnectionStopsTheRun() {
    const QString path = m_dir.filePath(QStringLiteral("Report2lost.xml"));
    WriteFile(path, SheetFile(Cells({"7,2=Шприц 2 мл & игла", "9,1=АБВ0190Ч", "9,2=1"})));
    m_db->Exec(QStringLiteral("RENAME TABLE clientdata TO clientdata_away"));
    CSheetImport import(m_db->Connection(), 0);
    CvRunLogLines log;
    QList<CDailyReportDraft> drafts;
    QString error;
    const bool ok = import.Run({path, path}, &log, nullptr, &drafts, &error);
    m_db->Exec(QStringLiteral("RENAME TABLE clientdata_away TO clientdata"));
    QVERIFY(!ok);
    QVERIFY(drafts.isEmpty());
    QVERIFY2(error.contains(QStringLiteral("clientdata")), qPrintable(error));
    QCOMPARE(log.lines.filter(QStringLiteral("- Анализ файла")).size(), 1);
    QVERIFY(log.lines.last().startsWith(QStringLiteral("error: ")));
}

// A sheet a user added before the report's own does not hide the report:
// the signature is searched on every sheet, and the report read from its own.
void TestSheetImport::reportSheetBehindOthers() {
    CDailyReportDraft draft;
    QStringList log;
    QVERIFY(Import(SheetFile(Cells({"7,2=Шприц 2 мл & игла", "9,1=АБВ0190Ч", "9,2=4"}), 5, 2),
                   &draft, &log));
    QCOMPARE(Warnings(log), QStringList());
    QCOMPARE(HeaderText(draft.header), QStringLiteral("2024-03-05|2|5|6|-1|2|0"));
    QCOMPARE(VisitsText(draft.visits), QStringLiteral("1:201:9:4"));
}

// A refused value leaves its cell empty in the draft, its row and its column
// in the sheet the form shows; the save then stores what was taken and
// nothing in place of the refused value.
void TestSheetImport::refusedValuesStayForTheUser() {
    CDailyReportDraft draft;
    QStringList log;
    QVERIFY(Import(SheetFile(Cells({"7,2=Шприц 2 мл & игла", "7,3=Презерватив", "9,1=АБВ0190Ч",
                                    "9,2=-3", "10,1=ГДЕ0285Ж", "10,2=2", "11,1=ЁЛК0303Ж",
                                    "11,3=1,5", "12,1=ЯЯЯ0101Ч", "12,3=много"})),
                   &draft, &log));
    QCOMPARE(Warnings(log).size(), 4);
    QVERIFY2(Warnings(log).last().contains(QStringLiteral("ЯЯЯ0101Ч не найден")),
             qPrintable(Warnings(log).join(u'\n')));
    QCOMPARE(VisitsText(draft.visits), QStringLiteral("2:202:9:2"));
    QCOMPARE(SheetRows(draft), QStringLiteral("АБВ0190Ч,ГДЕ0285Ж,ЁЛК0303Ж,ЯЯЯ0101Ч"));
    const CVisitsSheet& sheet = draft.sheets[0];
    const int syringe = sheet.FindColumn({9, -1}), condom = sheet.FindColumn({14, -1});
    QVERIFY(syringe > 0 && condom > 0);
    for (int r = 0; r < sheet.RowCount(); ++r)
        QCOMPARE(sheet.Text(r, condom), QString());
    QCOMPARE(sheet.Text(0, syringe), QString());
    QCOMPARE(sheet.Text(1, syringe), QStringLiteral("2"));

    // The unknown code stops the save, as the form shows; without it the
    // save stores the one value taken.
    QCOMPARE(SaveDraft(draft, sheet), QStringLiteral("refused: Код клиента не найден в базе"));
    CVisitsSheet known = sheet;
    known.RemoveRows(3, 1);
    QCOMPARE(SaveDraft(draft, known), QStringLiteral("1:202:9:2"));
}

// Files that cannot be a daily sheet are refused with their reason and give
// no draft; the oversized ones before they are read.
void TestSheetImport::refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("clientRows"); // the option MaxClientsCountXML
    QTest::addColumn<QString>("message");
    const QString sheet = QStringLiteral("не ведомость");
    QTest::newRow("empty") << QByteArray() << 200 << sheet + ": файл пуст";
    QTest::newRow("blanks and a declaration")
        << QByteArray(" \n<?xml version=\"1.0\"?>\n") << 200 << sheet + ": файл пуст";
    QTest::newRow("binary") << QByteArray("\x01\x02\x00\x03<Workbook>", 14) << 200
                            << sheet + ": это не текстовый файл XML";
    QTest::newRow("plain text") << QByteArray("Иванов 3 шприца") << 200
                                << sheet + ": это не файл XML";
    QTest::newRow("another XML document")
        << QByteArray("<?xml version=\"1.0\"?><html><body>{HdrStart}</body></html>") << 200
        << sheet + ": это документ «html», а не таблица Excel 2003 XML";
    QTest::newRow("a document type declaration")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Workbook [<!ENTITY e \"e\">]>"
                      "<Workbook/>")
        << 200 << QStringLiteral("файлы с DTD не принимаются");
    const QString workbook = QStringLiteral("книга в формате .xlsx или .ods. Откройте его в "
                                            "LibreOffice Calc и сохраните через «Файл → "
                                            "Сохранить как…», выбрав тип файла «Таблица XML "
                                            "2003 (.xml)»");
    QTest::newRow("xlsx or ods") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) << 200 << workbook;
    // The filled stencil as Calc saves it when the user keeps its offer.
    for (const char* saved : {"stencil_filled_by_calc.ods", "stencil_filled_by_calc.xlsx"}) {
        QFile file(QDir(kFixtures).filePath(QString::fromLatin1(saved)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::addRow("%s", saved) << file.readAll() << 200 << workbook;
    }
    QTest::newRow("old xls") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00", 9) << 200
                             << QStringLiteral("в старом формате .xls");
    // Made here, not kept among the fixtures.
    QByteArray large = "<?xml version=\"1.0\"?><Workbook>";
    large += QByteArray(CSheetFileLimits::kMaxBytes, ' ');
    large += "</Workbook>";
    QTest::newRow("larger than a sheet can be")
        << large << 200 << QStringLiteral("а ведомость не может быть больше 16 МБ");
    QTest::newRow("more rows than a sheet holds")
        << SheetFile({QStringLiteral("2199,1=АБВ0190Ч")}) << 200
        << QStringLiteral("в нём больше 2200 строк, а ведомость вмещает 200 строк клиентов");
    QTest::newRow("client rows beyond the option")
        << SheetFile(Cells({"7,2=Шприц 2 мл & игла", "9,1=АБВ0190Ч", "14,1=ГДЕ0285Ж"})) << 5
        << QStringLiteral("заполнены строки клиентов дальше 5-й, а ведомость вмещает 5 строк");
}

void TestSheetImport::refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, clientRows);
    QFETCH(QString, message);
    m_limits.clientRows = clientRows;
    CDailyReportDraft draft;
    QStringList log;
    const bool made = Import(bytes, &draft, &log);
    m_limits = CSheetFileLimits();
    QVERIFY(!made);
    const QStringList warnings = Warnings(log);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(message), qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains(QStringLiteral("Report2one.xml")), qPrintable(warnings[0]));
}

// The read moves the run's bar by its share, parses in a worker, and a stop
// the user gave ends it with the file not read.
void TestSheetImport::readingStepsAndStops() {
    const QString path = m_dir.filePath(QStringLiteral("Report2steps.xml"));
    WriteFile(path, SheetFile(Cells({"7,2=Шприц 2 мл & игла", "9,1=АБВ0190Ч", "9,2=1"})));
    CountingProgress progress;
    CExcelXML sheet;
    QString why;
    QCOMPARE(ReadSheetFile(path, m_limits, &progress, 100, &sheet, &why), ESheetFileRead::Read);
    QCOMPARE(progress.steps, 100);
    QCOMPARE(progress.phases, 0);
    QVERIFY(sheet.GetCellCount() > 0);

    progress.stop = true;
    CExcelXML stopped;
    QCOMPARE(ReadSheetFile(path, m_limits, &progress, 100, &stopped, &why),
             ESheetFileRead::Stopped);
    QCOMPARE(stopped.GetCellCount(), 0);
}

QTEST_GUILESS_MAIN(TestSheetImport)
#include "test_sheet_import.moc"

#include "archive_writer.h"
#include "brennock.h"
#include "text_conversion.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibrary>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

QString FromUtf16(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}

// Records everything the loader sends. Translate answers from one buffer that
// every call overwrites, as a caller with a single scratch string would.
class RecordingCallback : public CBrennock_Callback {
public:
    QStringList statements;
    QList<QPair<int, QString>> messages;
    QStringList progress; // "range 0 N" and step texts; plain steps are only counted
    int plainSteps = 0;
    QHash<QString, QString> translations;
    std::function<bool(const QString&)> fails = [](const QString&) { return false; };

    void Message(const char16_t* text, int level) override {
        messages.append({level, FromUtf16(text)});
    }
    const char16_t* Translate(const char16_t* text) override {
        const QString source = FromUtf16(text);
        m_scratch = translations.value(source, source).toStdU16String();
        return m_scratch.c_str();
    }
    void SetProgressRange(int lower, int upper) override {
        progress.append(QStringLiteral("range %1 %2").arg(lower).arg(upper));
    }
    void StepProgress(const char16_t* text) override {
        if (text)
            progress.append(FromUtf16(text));
        else
            ++plainSteps;
    }
    bool Execute(const char16_t* sql) override {
        const QString text = FromUtf16(sql);
        statements.append(text);
        return !fails(text);
    }

    QStringList Errors() const {
        QStringList out;
        for (const auto& [level, text] : messages)
            if (level == 2)
                out.append(text);
        return out;
    }

private:
    std::u16string m_scratch;
};

// Code page 1251 bytes of the Cyrillic used below.
const QByteArray kIvan("\xC8\xE2\xE0\xED");  // Иван
const QByteArray kYolka("\xB8\xEB\xEA\xE0"); // ёлка
const QByteArray kYozh("\xA8\xE6");          // Ёж

TestTable Table(const QByteArray& name, int columns, QList<QList<TestValue>> rows = {}) {
    QByteArray create = "CREATE TABLE `" + name + "` (`ROWID` int";
    for (int c = 1; c < columns; ++c)
        create += ", `c" + QByteArray::number(c) + "` text";
    return {name, create + ")", columns, rows};
}

// Rows of one column pair (number, long text) to make a table that must be split.
QList<QList<TestValue>> LongRows(int count) {
    QList<QList<TestValue>> rows;
    for (int i = 0; i < count; ++i)
        rows.append({Literal(QByteArray::number(i)), Text(QByteArray(200 + i % 37, 'x'))});
    return rows;
}

const QString kCleanup = QStringLiteral("set foreign_key_checks = 1|ROLLBACK");

} // namespace

class TestBrennock : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Archive(const QByteArray& bytes) {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("kldbkp.%1.bkz").arg(++n));
        if (!WriteBytes(path, bytes))
            qFatal("cannot write a test archive");
        return path;
    }

    static bool Run(const QString& path, RecordingCallback& cb) {
        CBrennock loader(reinterpret_cast<const char16_t*>(path.utf16()), &cb);
        return loader.Process();
    }

private slots:
    void version100Statements() {
        const TestTable clients{
            "clients",
            "CREATE TABLE `clients` (`ROWID` int, `cName` text, `clientsNote` text)",
            3,
            {{Text("1"), Text(kIvan), Null()},
             {Text("2"), Text("O'Brien \"x\" \\ end"), Text(kYolka + " " + kYozh)}}};
        RecordingCallback cb;
        cb.translations["Таблицы:"] = "Tables:";
        const QString path = Archive(BackupArchive(0, {clients, Table("dir", 1)}, false));
        QVERIFY(Run(path, cb));
        const QStringList expected = {
            "set foreign_key_checks = 0",
            "drop table if exists `orvel_clients`",
            "drop table if exists `orvel_dir`",
            "CREATE TABLE `orvel_clients` (`ROWID` int, `cName` text, `orvel_clientsNote` text)",
            "CREATE TABLE `orvel_dir` (`ROWID` int)",
            "START TRANSACTION",
            "insert into `orvel_clients` values('1','Иван',NULL),"
            "('2','O\\'Brien \\\"x\\\" \\\\ end','е_лка Е_ж')",
            "COMMIT",
            "set foreign_key_checks = 1",
        };
        QCOMPARE(cb.statements, expected);
        const QList<QPair<int, QString>> messages = {
            {0, "Tables: 2"},
            {0, "Восстановление данных таблицы: orvel_clients"},
            {0, "Восстановление данных таблицы: orvel_dir"},
        };
        QCOMPARE(cb.messages, messages);
        const QStringList progress = {"range 0 2", "Удаление таблицы, если есть: clients",
                                      "Удаление таблицы, если есть: dir", "range 0 2", "range 0 0"};
        QCOMPARE(cb.progress, progress);
        QCOMPARE(cb.plainSteps, 2);
    }

    void version101Statements() {
        const TestTable visits{
            "visits",
            "create table visits (a int, b text, c int, d double, e text, f text)",
            6,
            {{Literal("42"),
              Text("It's"),
              {0, "ignored"},
              Literal("-1.5e3"),
              Text(""),
              Text(QByteArray("nul\0byte", 8))}}};
        RecordingCallback cb;
        QVERIFY(Run(Archive(BackupArchive(101, {visits})), cb));
        QCOMPARE(cb.statements.value(2),
                 "create table orvel_visits (a int, b text, c int, d double, e text, f text)");
        QCOMPARE(cb.statements.value(4),
                 "insert into `orvel_visits` values(42,'It\\'s',NULL,-1.5e3,'','nul\\0byte')");
        QCOMPARE(cb.statements.size(), 7);
    }

    // A long table goes out as several INSERTs, each sent as soon as it passed 512 KiB.
    void longTableIsSplit() {
        const QList<QList<TestValue>> rows = LongRows(6000);
        RecordingCallback cb;
        QVERIFY(Run(Archive(BackupArchive(101, {Table("big", 2, rows)})), cb));

        QStringList expected;
        QString open;
        for (const auto& row : rows) {
            open += open.isEmpty() ? QStringLiteral("insert into `orvel_big` values")
                                   : QStringLiteral(",");
            open += "(" + row[0].text + ",'" + row[1].text + "')";
            if (open.size() > 0x80000) {
                expected.append(open);
                open.clear();
            }
        }
        expected.append(open);
        QVERIFY(expected.size() >= 3);
        QCOMPARE(cb.statements.mid(4, cb.statements.size() - 6), expected);
        QCOMPARE(cb.plainSteps, 6000);
    }

    void failureInThirdInsertOfSecondTable() {
        RecordingCallback cb;
        int inserts = 0;
        cb.fails = [&](const QString& sql) {
            return sql.startsWith("insert into `orvel_second`") && ++inserts == 3;
        };
        const QString path = Archive(BackupArchive(
            101, {Table("first", 2, LongRows(10)), Table("second", 2, LongRows(9000))}));
        QVERIFY(!Run(path, cb));
        const QString failed = cb.statements.value(cb.statements.size() - 5);
        QVERIFY(failed.startsWith("insert into `orvel_second`"));
        QCOMPARE(cb.statements.mid(cb.statements.size() - 4),
                 QStringList({"set foreign_key_checks = 1", "ROLLBACK",
                              "drop table if exists `orvel_first`",
                              "drop table if exists `orvel_second`"}));
        QCOMPARE(cb.Errors(), QStringList({failed, "Ошибка выполнения запроса"}));
    }

    void zeroTables() {
        RecordingCallback cb;
        QVERIFY(Run(Archive(BackupArchive(100, {})), cb));
        QVERIFY(cb.statements.isEmpty());
        QCOMPARE(cb.messages, (QList<QPair<int, QString>>{{0, "Таблицы: 0"}}));
    }

    // A clean-up statement that fails is reported; the clean-up goes on.
    void failingCleanupIsReported() {
        RecordingCallback cb;
        cb.fails = [](const QString& sql) { return sql.startsWith("insert") || sql == "ROLLBACK"; };
        QVERIFY(!Run(Archive(BackupArchive(100, {Table("t", 1, {{Text("1")}})})), cb));
        QCOMPARE(cb.statements.last(), "drop table if exists `orvel_t`");
        QCOMPARE(cb.Errors().mid(2), QStringList({"ROLLBACK", "Ошибка выполнения запроса"}));
    }

    // Committed, but the session could not be switched back: still a failed
    // run, and a failed run leaves no staging table behind.
    void failingLastStatementLeavesNoTable() {
        RecordingCallback cb;
        int restores = 0;
        cb.fails = [&](const QString& sql) {
            return sql == "set foreign_key_checks = 1" && ++restores == 1;
        };
        QVERIFY(!Run(Archive(BackupArchive(100, {Table("t", 1, {{Text("1")}})})), cb));
        QCOMPARE(cb.statements.last(), "drop table if exists `orvel_t`");
        QCOMPARE(cb.Errors(),
                 QStringList({"set foreign_key_checks = 1", "Ошибка выполнения запроса"}));
    }

    void fileInfo_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("info");
        QTest::addColumn<bool>("valid");
        const QByteArray v101 = BackupArchive(101, {});
        QByteArray changed = v101;
        changed[0] = char(changed[0] ^ 1);
        QTest::newRow("no version part") << BackupArchive(0, {}) << "Archive version: 100\n"
                                         << true;
        QTest::newRow("version 101") << v101 << "Archive version: 101\n" << true;
        QTest::newRow("version 102")
            << BackupArchive(102, {}) << "Версия архива не поддерживается" << false;
        QTest::newRow("version 99")
            << BackupArchive(99, {}) << "Версия архива не поддерживается" << false;
        QTest::newRow("no file") << QByteArray() << "Ошибка открытия файла" << false;
        QTest::newRow("not an archive") << QByteArray(300, 'q') << "Ошибка открытия файла" << false;
        QTest::newRow("checksum differs")
            << changed << "Контрольная сумма архива не совпадает" << false;
        QTest::newRow("short version part")
            << HandBuiltArchive({{"Backup.Version", "\x65\x00", false}}) << "Архив поврежден"
            << false;
    }

    void fileInfo() {
        QFETCH(QByteArray, archive);
        QFETCH(QString, info);
        QFETCH(bool, valid);
        RecordingCallback cb;
        cb.translations["Версия архива:"] = "Archive version:";
        const QString path = archive.isEmpty() ? m_dir.filePath("missing.bkz") : Archive(archive);
        CBrennock* loader = Brenvale_Begin(reinterpret_cast<const char16_t*>(path.utf16()), &cb);
        QVERIFY(loader);
        const char16_t* text = loader->GetFileInfo();
        cb.Translate(
            u"something else entirely"); // the caller's buffer changes; the loader's text must not
        QCOMPARE(FromUtf16(text), info);
        QCOMPARE(loader->IsValid(), valid);
        QVERIFY(cb.statements.isEmpty());
        Brenvale_End(loader);
    }

    void malformedArchives_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("touchesDatabase");
        const QString kDamaged = "Архив поврежден";
        const auto one = [](const QByteArray& name, const QByteArray& create) {
            return TestTable{name, create, 1, {{Text("1")}}};
        };
        QByteArray valid = BackupArchive(100, {Table("t", 1, {{Text("1")}})});

        QTest::newRow("truncated trailer")
            << valid.left(valid.size() - 20) << "Ошибка открытия архива" << false;
        QByteArray signature = valid;
        signature[signature.size() - 128] = 'i';
        QTest::newRow("wrong signature") << signature << "Ошибка открытия архива" << false;
        QByteArray changed = valid;
        changed[10] = char(changed[10] ^ 0x20);
        QTest::newRow("checksum differs")
            << changed << "Контрольная сумма архива не совпадает" << false;
        QTest::newRow("no Backup part")
            << HandBuiltArchive({{"Other", Int32(0), false}}) << kDamaged << false;
        QTest::newRow("garbage Backup part")
            << HandBuiltArchive({{"Backup", QByteArray(20, '\x07'), false}}) << kDamaged << false;
        ArchiveLayout layout;
        QByteArray corrupt = HandBuiltArchive(
            {{"Backup", BackupPart(100, {Table("t", 1, {{Text("1")}})}), true}}, &layout);
        corrupt[layout.partOffsets["Backup"] + 10] =
            char(corrupt[layout.partOffsets["Backup"] + 10] ^ 0xFF);
        FixChecksum(corrupt);
        QTest::newRow("corrupt compressed part") << corrupt << kDamaged << false;
        QTest::newRow("table count past the end")
            << HandBuiltArchive({{"Backup", Int32(1000) + String8("t"), false}}) << kDamaged
            << false;
        QTest::newRow("name past the end")
            << HandBuiltArchive({{"Backup", Int32(1) + Int32(50) + "t", false}}) << kDamaged
            << false;
        QTest::newRow("create text past the end")
            << HandBuiltArchive({{"Backup", Int32(1) + String8("t") + Int32(9999), false}})
            << kDamaged << false;
        QTest::newRow("back-quote in a name")
            << BackupArchive(100, {one("a`b", "CREATE TABLE `a`b` (x int)")})
            << "Недопустимое имя таблицы в архиве" << false;
        QTest::newRow("statement in a name")
            << BackupArchive(100, {one("x; DROP TABLE clients", "CREATE TABLE x (a int)")})
            << "Недопустимое имя таблицы в архиве" << false;
        QTest::newRow("empty name") << BackupArchive(100, {one("", "CREATE TABLE x (a int)")})
                                    << "Недопустимое имя таблицы в архиве" << false;
        const QString badCreate = "Недопустимый текст создания таблицы в архиве: orvel_t";
        QTest::newRow("not a CREATE TABLE")
            << BackupArchive(100, {one("t", "DROP TABLE clients")}) << badCreate << false;
        QTest::newRow("second statement")
            << BackupArchive(100, {one("t", "CREATE TABLE `t` (a int); DROP TABLE clients")})
            << badCreate << false;
        QTest::newRow("another table")
            << BackupArchive(100, {one("t", "CREATE TABLE clients (a int)")}) << badCreate << false;
        QTest::newRow("another database")
            << BackupArchive(100, {one("t", "CREATE TABLE `t`.`clients` (a int)")}) << badCreate
            << false;
        QTest::newRow("unbalanced quote")
            << BackupArchive(100, {one("t", "CREATE TABLE t (a int comment 'x)")}) << badCreate
            << false;
        QTest::newRow("statement hidden behind comments")
            << BackupArchive(
                   100, {one("t", "CREATE TABLE t (a int) /* ' */; DROP TABLE clients /* ' */")})
            << badCreate << false;
        QTest::newRow("statement hidden behind a line comment")
            << BackupArchive(100,
                             {one("t", "CREATE TABLE t (a int) -- '\n;DROP TABLE clients -- '")})
            << badCreate << false;
        QTest::newRow("statement hidden after an escaped quote")
            << BackupArchive(100,
                             {one("t", "CREATE TABLE t (a int comment 'x\\'');DROP TABLE clients")})
            << badCreate << false;
        QTest::newRow("row count past the end")
            << HandBuiltArchive({{"Backup",
                                  Int32(1) + String8("t") + String8("CREATE TABLE t (a int)") +
                                      Int32(1) + Int32(1000000) + Int32(1) + String8("1"),
                                  true}})
            << kDamaged << true;
        QTest::newRow("no columns")
            << HandBuiltArchive({{"Backup",
                                  Int32(1) + String8("t") + String8("CREATE TABLE t (a int)") +
                                      Int32(1) + Int32(2000000000) + Int32(0),
                                  true}})
            << kDamaged << true;
        QTest::newRow("value past the end")
            << HandBuiltArchive({{"Backup",
                                  Int32(1) + String8("t") + String8("CREATE TABLE t (a int)") +
                                      Int32(1) + Int32(1) + Int32(1) + Int32(100) + "12",
                                  false}})
            << kDamaged << true;
        const QString badValue = "Недопустимое значение в архиве, таблица: orvel_t";
        QTest::newRow("statement as a literal")
            << BackupArchive(101, {TestTable{"t",
                                             "CREATE TABLE t (a int)",
                                             1,
                                             {{Literal("1); DROP TABLE clients; --")}}}})
            << badValue << true;
        QTest::newRow("function as a literal")
            << BackupArchive(
                   101, {TestTable{"t", "CREATE TABLE t (a int)", 1, {{Literal("sleep(100)")}}}})
            << badValue << true;
        QTest::newRow("empty literal")
            << BackupArchive(101, {TestTable{"t", "CREATE TABLE t (a int)", 1, {{Literal("")}}}})
            << badValue << true;
    }

    void malformedArchives() {
        QFETCH(QByteArray, archive);
        QFETCH(QString, error);
        QFETCH(bool, touchesDatabase);
        RecordingCallback cb;
        QVERIFY(!Run(Archive(archive), cb));
        QCOMPARE(cb.Errors().value(0), error);
        for (const QString& sql : cb.statements)
            QVERIFY2(!sql.contains("clients", Qt::CaseInsensitive), qPrintable(sql));
        if (!touchesDatabase) {
            QVERIFY(cb.statements.isEmpty());
            return;
        }
        QVERIFY(cb.statements.size() >= 3);
        QCOMPARE(cb.statements.mid(cb.statements.size() - 3),
                 QStringList(
                     {"set foreign_key_checks = 1", "ROLLBACK", "drop table if exists `orvel_t`"}));
        QVERIFY(!cb.statements.join('\n').contains("COMMIT"));
    }

    // The program links the library and also finds its entry points by name.
    void loadByName() {
        QLibrary library(QCoreApplication::applicationDirPath() + "/Brennock");
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        using Begin = CBrennock* (*)(const char16_t*, CBrennock_Callback*);
        using End = void (*)(CBrennock*);
        const auto begin = reinterpret_cast<Begin>(library.resolve("Brenvale_Begin"));
        const auto end = reinterpret_cast<End>(library.resolve("Brenvale_End"));
        QVERIFY(begin && end);
        RecordingCallback cb;
        const QString path = Archive(BackupArchive(101, {}));
        CBrennock* loader = begin(reinterpret_cast<const char16_t*>(path.utf16()), &cb);
        QVERIFY(loader);
        QVERIFY(loader->IsValid());
        end(loader);
        end(nullptr);
    }

    void queryReportsFailure() {
        RecordingCallback cb;
        cb.fails = [](const QString& sql) { return sql.contains("broken"); };
        CBrennock loader(u"unused", &cb);
        QVERIFY(loader.StartTransact());
        QVERIFY(!loader.Query("select broken \xB8"));
        QCOMPARE(cb.statements, QStringList({"START TRANSACTION", "select broken е_"}));
        QCOMPARE(cb.Errors(), QStringList({"select broken е_", "Ошибка выполнения запроса"}));
    }

    void archiveTextsKeepEveryByte() {
        std::string bytes;
        for (int b = 0; b < 256; ++b)
            bytes += char(b);
        const std::u16string text = Cp1251ToUtf16(bytes);
        QCOMPARE(int(text.size()), 256);
        // No two bytes become one character, so nothing is lost.
        QCOMPARE(QSet<char16_t>(text.begin(), text.end()).size(), 256);
        QCOMPARE(text[0x98], u'\x98'); // the byte the code page leaves without a character
        QCOMPARE(text[0xA8], u'Ё');
        QCOMPARE(text[0xC0], u'А');
        QCOMPARE(text[0xFF], u'я');
    }
};

QTEST_GUILESS_MAIN(TestBrennock)
#include "tst_brennock.moc"

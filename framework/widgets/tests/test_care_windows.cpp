// The database care windows on the private server, driven as a user drives
// them: a backup through its wizard (and the backup reminder it resets), the
// restore wizard with a good file, a damaged one it refuses before touching
// the database and one whose damage shows only while loading, the database
// test window with a repair the server refuses, the change journal read page
// by page, and the optimisation window.
#include "framework/core/app/program_marks.h"
#include "framework/core/backup/backup_reminder.h"
#include "framework/core/dbtest/change_journal.h"
#include "framework/core/dbtest/db_test.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/error_text.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/maintenance/change_journal_model.h"
#include "framework/widgets/maintenance/change_journal_view.h"
#include "framework/widgets/maintenance/optimize_db_dialog.h"
#include "framework/widgets/maintenance/test_db_dialog.h"
#include "framework/widgets/wizard/backup_wizard.h"
#include "framework/widgets/wizard/restore_wizard.h"
#include "loader/indexed_file.h"
#include "tests/support/test_database.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {
// Moves rows whose parent folder is gone to the root, journalled.
class FolderRepair : public CvDBTest {
public:
    QString GetTestName() const override { return QStringLiteral("Папки"); }
    int GetOrder() const override { return 1; }
    bool FullTest() override {
        CvLogRef journal(GetSQL(), GetTestName());
        CxResult rows = Query(QStringLiteral("SELECT id FROM items WHERE parent=99"));
        if (!rows.isValid())
            return false;
        while (rows.FetchRow())
            journal.Log(QStringLiteral("Перенос в корень"),
                        QStringLiteral("Запись ") + rows.SFieldValue(0));
        return RunRepair(QStringLiteral("перенос"),
                         {QStringLiteral("UPDATE items SET parent=0 WHERE parent=99")}, &journal);
    }
};
IMPLEMENT_DBTEST(FolderRepair);

// A repair the server refuses: a value that does not fit the key.
class RefusedRepair : public CvDBTest {
public:
    QString GetTestName() const override { return QStringLiteral("Коды"); }
    int GetOrder() const override { return 2; }
    bool FullTest() override {
        CvLogRef journal(GetSQL(), GetTestName());
        journal.Log(QStringLiteral("Исправление кода"), QStringLiteral("Запись 1"));
        return RunRepair(QStringLiteral("исправление"),
                         {QStringLiteral("UPDATE items SET code='same'")}, &journal);
    }
};
IMPLEMENT_DBTEST(RefusedRepair);

// The page of an archive format whose loader cannot be loaded: it takes no
// file and says why.
class UnloadableConverter : public CSQLRestoreWizard_ConverterPane {
public:
    QString GetFileFilter() override { return QStringLiteral("Архивы (old.*.arc)|old.*.arc"); }
    bool IsValid(const QString&) override { return false; }
    QString GetFileInfo(const QString&) override {
        return QStringLiteral("<b>Ошибка загрузки библиотеки обработки</b>");
    }
    using CSQLRestoreWizard_ConverterPane::Process;
    bool Process(CSQLRestoreContext&) override { return false; }
};

void Fill(TestDatabase& db) {
    db.Exec(QStringLiteral("CREATE TABLE items (id INT PRIMARY KEY, parent INT, code VARCHAR(20) "
                           "UNIQUE, name TEXT) ENGINE=InnoDB"));
    db.Exec(QStringLiteral("INSERT INTO items VALUES (1,0,'a','Первый'),(2,99,'b','Второй'),"
                           "(3,99,'c','Третий')"));
}

// Every table's definition and content.
QString Fingerprint(TestDatabase& db) {
    CxResult tables = db.Exec(QStringLiteral("SHOW TABLES"));
    QStringList parts;
    while (tables.FetchRow())
        parts << db.Rows(QStringLiteral("CHECKSUM TABLE `%1` EXTENDED").arg(tables.SFieldValue(0)));
    return parts.join(u'\n');
}
} // namespace

class TestCareWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<TestDatabase> m_db;
    QString m_backup;

private slots:
    void initTestCase() {
        // The windows name backup files by the program's extension.
        CxProgramMarks marks;
        marks.backupExtension = QStringLiteral("k2backup");
        SetProgramMarks(marks);
        CTarvikApp::SetAllUsersFile(m_dir.filePath(QStringLiteral("AllUsers.conf")));
        m_db = std::make_unique<TestDatabase>(QStringLiteral("care"));
        Fill(*m_db);
    }
    void cleanupTestCase() {
        m_db.reset();
        CTarvikApp::SetAllUsersFile(QString());
    }

    // The wizard offers a file in the folder used last, writes the backup
    // with its progress and log, and the start page's count starts again.
    void backup() {
        CTarvikApp::WriteAllUsersString(QLatin1String(kBackupSettingsSection),
                                        QLatin1String(kBackupDaysEntry), QStringLiteral("12"));
        CTarvikApp::WriteProfileString(QLatin1String(CSQLBackupWizard::kFolderSection),
                                       QLatin1String(CSQLBackupWizard::kFolderEntry), m_dir.path());
        CSQLBackupWizard wizard(m_db->Connection());
        wizard.show();
        auto* file = wizard.findChild<CxFileEdit*>();
        QVERIFY(file->GetPath().startsWith(m_dir.path() + u'/' + m_db->Name() + u'_'));
        QVERIFY(file->GetPath().endsWith(QStringLiteral(".k2backup")));
        file->SetPath(m_dir.filePath(QStringLiteral("no/such/folder/x.k2backup")));
        QVERIFY(!wizard.NextButton()->isEnabled());
        m_backup = m_dir.filePath(QStringLiteral("care.k2backup"));
        file->SetPath(m_backup);
        QVERIFY(wizard.Next());
        QVERIFY(wizard.Run());
        QVERIFY(QFile::exists(m_backup));
        QVERIFY(wizard.GetProcessorPage()->GetLogText().contains(
            QStringLiteral("Резервная копия записана и проверена")));
        QCOMPARE(CTarvikApp::GetAllUsersString(QLatin1String(kBackupSettingsSection),
                                               QLatin1String(kBackupDaysEntry)),
                 QStringLiteral("0"));
    }

    // "Отмена" pressed while the backup runs reaches the engine, which stops
    // and leaves no file.
    void backupStopped() {
        CSQLBackupWizard wizard(m_db->Connection());
        wizard.show();
        const QString path = m_dir.filePath(QStringLiteral("stopped.k2backup"));
        wizard.findChild<CxFileEdit*>()->SetPath(path);
        QVERIFY(wizard.Next());
        // The first progress call lets the window answer the press.
        QTimer::singleShot(0, &wizard, [&] { wizard.CancelButton()->click(); });
        QVERIFY(!wizard.Run());
        QVERIFY(wizard.WasCancelled());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(
            QDir(m_dir.path()).entryList({QStringLiteral("stopped*")}, QDir::Files | QDir::Hidden),
            QStringList());
        QVERIFY(wizard.GetProcessorPage()->GetLogText().contains(QStringLiteral("прервано")));
    }

    // A file damaged where the whole-file checksum sees it is refused on the
    // page; one damaged inside a data part (its whole checksum made right)
    // passes the page and fails while loading. Neither touches the database.
    void restoreRefusesDamage() {
        QVERIFY(!m_backup.isEmpty());
        QFile good(m_backup);
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray bytes = good.readAll();
        m_db->Exec(QStringLiteral("UPDATE items SET name='после копии' WHERE id=1"));
        const QString before = Fingerprint(*m_db);

        QByteArray flipped = bytes;
        flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x10);
        const QString flippedPath = m_dir.filePath(QStringLiteral("flipped.k2backup"));
        QFile out(flippedPath);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(flipped) == flipped.size());
        out.close();
        {
            CSQLRestoreWizard wizard(m_db->Connection());
            wizard.show();
            wizard.findChild<CxFileEdit*>()->SetPath(flippedPath);
            QVERIFY(!wizard.Next());
            QVERIFY(wizard.findChild<QTextBrowser*>(QStringLiteral("RestoreFileInfo"))
                        ->toPlainText()
                        .contains(QStringLiteral("поврежден")));
            QVERIFY(!wizard.NextButton()->isEnabled());
        }

        QByteArray part = bytes;
        {
            CIndexedFile file;
            QVERIFY(file.Open(m_backup.toStdString(), CIndexedFile::modeRead));
            const auto it = file.Directory().find("Data/0/0");
            QVERIFY(it != file.Directory().end());
            const qint64 at = it->second.nOffset + std::min<qint64>(20, it->second.nLength - 1);
            part[at] = char(part[at] ^ 0x01);
        }
        const quint32 crc = CIndexedFile::Checksum(part.constData(), size_t(part.size() - 128));
        for (int i = 0; i < 4; ++i)
            part[part.size() - 128 + 52 + i] = char((crc >> (8 * i)) & 0xFF);
        const QString partPath = m_dir.filePath(QStringLiteral("part.k2backup"));
        QFile partFile(partPath);
        QVERIFY(partFile.open(QIODevice::WriteOnly) && partFile.write(part) == part.size());
        partFile.close();
        {
            CSQLRestoreWizard wizard(m_db->Connection());
            wizard.show();
            wizard.findChild<CxFileEdit*>()->SetPath(partPath);
            QVERIFY(wizard.Next());
            QVERIFY(!wizard.Run());
            QVERIFY(!wizard.NeedRestart());
            QVERIFY(wizard.GetProcessorPage()->ErrorCount() > 0);
            QVERIFY(wizard.GetProcessorPage()->GetLogText().contains(QStringLiteral("поврежден")));
        }
        QCOMPARE(Fingerprint(*m_db), before);
    }

    // A file that nobody takes is refused on the page with the reason: the
    // converter's own when it is named as that converter's archives.
    void restoreExplainsRefusedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("archive of a converter without its loader")
            << "old.1.arc"
            << "Ошибка загрузки библиотеки обработки";
        QTest::newRow("any other file") << "notes.txt"
                                        << "не является резервной копией";
    }
    void restoreExplainsRefusedFiles() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("не архив") > 0);
        file.close();
        CSQLRestoreWizard wizard(m_db->Connection());
        wizard.AddConverter(new UnloadableConverter);
        wizard.show();
        wizard.findChild<CxFileEdit*>()->SetPath(path);
        QVERIFY(!wizard.Next());
        const QString info =
            wizard.findChild<QTextBrowser*>(QStringLiteral("RestoreFileInfo"))->toPlainText();
        QVERIFY2(info.startsWith(QStringLiteral("Файл нельзя восстановить")), qPrintable(info));
        QVERIFY2(info.contains(reason), qPrintable(info));
        QVERIFY(!wizard.NextButton()->isEnabled());
    }

    // A good file: what it holds, the warning, the restore; the program
    // must start again.
    void restore() {
        m_db->Exec(QStringLiteral("UPDATE items SET name='после копии' WHERE id=1"));
        CSQLRestoreWizard wizard(m_db->Connection());
        wizard.show();
        wizard.findChild<CxFileEdit*>()->SetPath(m_backup);
        QVERIFY(wizard.Next());
        const QString info =
            wizard.findChild<QTextBrowser*>(QStringLiteral("RestoreFileInfo"))->toPlainText();
        QVERIFY2(info.contains(m_db->Name()), qPrintable(info));
        QVERIFY(wizard.GetProcessorPage()->GetSummary().contains(QStringLiteral("Внимание")));
        QVERIFY(wizard.Run());
        QVERIFY(wizard.NeedRestart());
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT name FROM items WHERE id=1")),
                 QStringLiteral("Первый"));
        QVERIFY(wizard.GetProcessorPage()->GetLogText().contains(QStringLiteral("перезапущена")));
    }

    // The tests run in their order; a repair the server refuses shows as a
    // failure with its reason and leaves neither its change nor its journal
    // lines; the journal shows what the other repair did.
    void testWindow() {
        m_db->Exec(QStringLiteral("UPDATE items SET parent=99 WHERE id IN (2,3)"));
        CTestDBDlg dialog(m_db->Connection());
        dialog.show();
        const QString summary = dialog.GetProcessorPage()->GetSummary();
        QVERIFY(summary.indexOf(QStringLiteral("Папки")) < summary.indexOf(QStringLiteral("Коды")));
        QVERIFY(!dialog.Run());
        QVERIFY(!dialog.Succeeded());
        QCOMPARE(dialog.Results().size(), 2);
        QVERIFY(dialog.Results()[0].ok);
        QVERIFY(!dialog.Results()[1].ok);
        const QString log = dialog.GetProcessorPage()->GetLogText();
        QVERIFY2(log.contains(QStringLiteral("Папки: в порядке")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("Коды: Duplicate entry")), qPrintable(log));
        QVERIFY(dialog.GetProcessorPage()->ErrorCount() >= 1);
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT id,parent,code FROM items ORDER BY id")),
                 QStringLiteral("1|0|a;2|0|b;3|0|c"));

        CvLogRefView journal(m_db->Connection());
        QCOMPARE(journal.Model()->rowCount(), 2);
        QCOMPARE(journal.Model()->Entry(0).source, QStringLiteral("Папки"));
        QVERIFY(journal.DetailText().startsWith(QStringLiteral("Перенос в корень\nЗапись ")));
    }

    // Newest first, a page at a time; a database without a journal has none.
    void journalModel() {
        TestDatabase empty(QStringLiteral("nojournal"));
        CvLogRefModel none(empty.Connection());
        QVERIFY(none.Reload());
        QCOMPARE(none.rowCount(), 0);

        TestDatabase db(QStringLiteral("journal"));
        QString error;
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), &error));
        CvLogRef writer(db.Connection(), QStringLiteral("Проверка"));
        const int total = CvLogRefModel::kPageSize * 2 + 17;
        for (int i = 1; i <= total; ++i)
            writer.Log(QStringLiteral("Запись %1").arg(i), QStringLiteral("строка 1\nстрока 2"));
        QVERIFY(writer.Write(&error));
        CvLogRefModel model(db.Connection());
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.Reload());
        QCOMPARE(model.rowCount(), CvLogRefModel::kPageSize);
        QCOMPARE(model.index(0, CvLogRefModel::kCaption).data().toString(),
                 QStringLiteral("Запись %1").arg(total));
        QCOMPARE(model.index(0, CvLogRefModel::kText).data().toString(),
                 QStringLiteral("строка 1"));
        QCOMPARE(model.index(0, CvLogRefModel::kText).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("строка 1\nстрока 2"));
        while (model.canFetchMore(QModelIndex()))
            model.fetchMore(QModelIndex());
        QCOMPARE(model.rowCount(), total);
        QCOMPARE(model.index(total - 1, CvLogRefModel::kCaption).data().toString(),
                 QStringLiteral("Запись 1"));
    }

    // A page that cannot be read, at the first reading or while the list
    // scrolls on, is said in the window; the rows read before it stay and
    // the list stops asking for more.
    void journalReadFailure_data() {
        QTest::addColumn<bool>("whileScrolling");
        QTest::newRow("first page") << false;
        QTest::newRow("next page") << true;
    }
    void journalReadFailure() {
        QFETCH(bool, whileScrolling);
        TestDatabase db(QStringLiteral("badjournal"));
        QString error;
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), &error));
        CvLogRef writer(db.Connection(), QStringLiteral("Проверка"));
        for (int i = 0; i < CvLogRefModel::kPageSize + 5; ++i)
            writer.Log(QStringLiteral("Запись"), QStringLiteral("текст"));
        QVERIFY(writer.Write(&error));
        const QString breakJournal = QStringLiteral("ALTER TABLE changelog DROP COLUMN cText");
        if (!whileScrolling)
            db.Exec(breakJournal);
        CvLogRefView view(db.Connection());
        QSignalSpy failed(view.Model(), &CvLogRefModel::readFailed);
        auto* shown = view.findChild<CxErrorText*>();
        QVERIFY(shown);
        if (whileScrolling) {
            QCOMPARE(view.Model()->rowCount(), CvLogRefModel::kPageSize);
            QVERIFY(shown->Text().isEmpty());
            db.Exec(breakJournal);
            QVERIFY(view.Model()->canFetchMore(QModelIndex()));
            view.Model()->fetchMore(QModelIndex());
            QCOMPARE(failed.size(), 1);
            QCOMPARE(view.Model()->rowCount(), CvLogRefModel::kPageSize);
        } else {
            QVERIFY(!view.Model()->Reload());
            QCOMPARE(failed.size(), 1);
            QCOMPARE(view.Model()->rowCount(), 0);
        }
        QVERIFY(!view.Model()->canFetchMore(QModelIndex()));
        QVERIFY(failed.first().first().toString().contains(QStringLiteral("cText")));
        QVERIFY2(shown->Text().startsWith(QStringLiteral("Не удалось прочитать журнал")),
                 qPrintable(shown->Text()));
    }

    void optimizeWindow() {
        COptimizeDBDlg dialog(m_db->Connection());
        dialog.show();
        QVERIFY(dialog.Run());
        QVERIFY(dialog.GetProcessorPage()->GetLogText().contains(QStringLiteral("items: OK")));
    }
};

QTEST_MAIN(TestCareWindows)
#include "test_care_windows.moc"

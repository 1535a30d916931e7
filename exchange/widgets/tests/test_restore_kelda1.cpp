// The restore wizard with the page for archives of the previous program
// generation, on a schema database: the wizard offers their files, says
// what the chosen archive is, runs the conversion on its own page and puts
// the converted database in place; a conversion that stops (a mapping entry
// still to be filled in) leaves the live database as it was and tells the
// user what to fill in.
#include "exchange/oldarchive/tests/old_archive_fixture.h"
#include "exchange/widgets/restore_converter_kelda1.h"
#include "framework/widgets/forms/file_edit.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/table_fingerprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class TestRestoreKelda1 : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString Archive(const QString& name) {
        const QString path = m_dir.filePath(name);
        return WriteBytes(path, BackupArchive(101, OldTables())) ? path : QString();
    }
    QString Mapping(const QString& name, const QByteArray& content) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? path
                                                                                        : QString();
    }

    // The wizard on the live database with the old archives' page, on the
    // archive given.
    struct Run {
        CSQLRestoreWizard wizard;
        CSQLRestoreWizard_Converter_Kelda1* page = new CSQLRestoreWizard_Converter_Kelda1;
        Run(CxSQL* sql, const QString& mapping, const QString& archive) : wizard(sql) {
            wizard.AddConverter(page);
            page->Converter().SetMappingFilePath(mapping);
            wizard.show();
            wizard.findChild<CxFileEdit*>()->SetPath(archive);
        }
    };

private slots:
    void convertsAndReplaces() {
        SchemaTestDatabase db(QStringLiteral("k1"));
        db.Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
        const QString archive = Archive(QStringLiteral("kldbkp.1.bkz"));
        Run run(db.Connection(), Mapping(QStringLiteral("map1.txt"), kMapping), archive);
        QVERIFY(CxFileEdit::DialogFilter(run.page->GetFileFilter())
                    .contains(QStringLiteral("(kldbkp.*.bkz)")));
        QVERIFY(run.wizard.Next());
        QCOMPARE(run.wizard.CurrentPage(), run.page);
        QCOMPARE(run.wizard.GetProcessorPage(), run.page);
        const QString info =
            run.wizard.findChild<QTextBrowser*>(QStringLiteral("RestoreFileInfo"))->toPlainText();
        QVERIFY2(info.startsWith(QStringLiteral("Архив Kelda - импорт данных")), qPrintable(info));
        QVERIFY(run.page->GetSummary().contains(QStringLiteral("map1.txt")));
        QVERIFY2(run.wizard.Run(), qPrintable(run.page->GetLogText()));
        QVERIFY(run.wizard.NeedRestart());
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0")),
                 QStringLiteral("ORG-OLD"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cString FROM dir WHERE ROWID=30")),
                 QStringLiteral("Шприц"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM towns WHERE ROWID=3")),
                 QStringLiteral("0"));
    }

    void stopsWithTheDatabaseAsItWas() {
        SchemaTestDatabase db(QStringLiteral("k1s"));
        db.Exec(QStringLiteral("INSERT INTO towns VALUES (3,0,'Живой','Живой')"));
        const QString before = TableFingerprint(db);
        QByteArray missing(kMapping);
        missing.replace("6:Программа\t196608+5\r\n", "");
        const QString mapping = Mapping(QStringLiteral("map2.txt"), missing);
        Run run(db.Connection(), mapping, Archive(QStringLiteral("kldbkp.2.bkz")));
        QVERIFY(run.wizard.Next());
        QVERIFY(!run.wizard.Run());
        QVERIFY(!run.wizard.NeedRestart());
        QVERIFY(run.page->ErrorCount() > 0);
        QVERIFY2(run.page->GetLogText().contains(QStringLiteral("Вышлите файл")),
                 qPrintable(run.page->GetLogText()));
        QCOMPARE(TableFingerprint(db), before);
        QFile file(mapping);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll()).contains(QStringLiteral("6:Программа\t-999")));
    }
};

QTEST_MAIN(TestRestoreKelda1)
#include "test_restore_kelda1.moc"

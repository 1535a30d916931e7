// Record binding against the real schema: a row loaded, changed and written
// back touches only what was set; new rows get their ROWID as index, in one
// statement or in batches; insert-or-update by key; deletes; texts survive
// byte for byte; a duplicate name names its field and leaves the record as it
// was.
#include "framework/core/record/dx_record.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

class TestDXRecord : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    CxSQL* Sql() const { return m_db->Connection(); }

private slots:
    void initTestCase() { m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("rec")); }
    void cleanupTestCase() { m_db.reset(); }
    // Every case starts from the same two rows.
    void init() {
        m_db->Exec(QStringLiteral("DELETE FROM dir"));
        m_db->Exec(QStringLiteral("DELETE FROM riskbehavior"));
        m_db->Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,cDescription,cOtherInfo,nDirType,"
            "nType,bHidden,nTown,nSpecFlags) VALUES (1,0,0,'Шприц','описание','\x01\x02',3,65537,0,"
            "0,5),(2,0,0,'Игла',NULL,NULL,3,131073,1,0,0)"));
    }

    void updateWritesOnlyWhatWasSet() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(1));
        QVERIFY(record.IsLoaded());
        QCOMPARE(record.SFieldValue(QStringLiteral("dir.cString")), QStringLiteral("Шприц"));
        QCOMPARE(record.LFieldValue(QStringLiteral("NTYPE")), 65537L);
        QVERIFY(record.GetFields().contains(QStringLiteral("dir.cOtherInfo")));
        record.SetFieldValue(QStringLiteral("dir.cString"), QStringLiteral("Шприц 2мл"));
        record.SetFieldNull(QStringLiteral("cDescription"));
        QCOMPARE(record.BuildStatement(EA_EDIT),
                 QStringLiteral("UPDATE `dir` SET `cString`='Шприц 2мл',`cDescription`=NULL "
                                "WHERE `ROWID`=1"));
        // Someone else changes a column the record does not set meanwhile.
        m_db->Exec(QStringLiteral("UPDATE dir SET nSpecFlags=9 WHERE ROWID=1"));
        CxDXError error;
        QVERIFY(record.ApplyDXRecordAction(EA_EDIT, &error));
        QVERIFY(!error.isSet());
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT cString,cDescription,nSpecFlags,nType,"
                                           "HEX(cOtherInfo) FROM dir WHERE ROWID=1")),
                 QStringLiteral("Шприц 2мл|NULL|9|65537|0102"));
        // Written means no longer changed: nothing is sent again.
        QVERIFY(!record.IsFieldChanged(QStringLiteral("cString")));
        QVERIFY(record.BuildStatement(EA_EDIT).isEmpty());
        QVERIFY(record.ApplyDXRecordAction(EA_EDIT));
    }

    // A row deleted meanwhile (by another window or copy) cannot take the
    // changes: the update says so rather than reporting them stored.
    void updateOfDeletedRowFails() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(2));
        // The same value again changes no row, and is no failure.
        record.SetFieldValue(QStringLiteral("cString"), QStringLiteral("Игла"));
        QVERIFY(record.ApplyDXRecordAction(EA_EDIT));
        m_db->Exec(QStringLiteral("DELETE FROM dir WHERE ROWID=2"));
        record.SetFieldValue(QStringLiteral("cString"), QStringLiteral("Игла 0,8"));
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_EDIT, &error));
        QVERIFY(error.message.contains(QStringLiteral("удалили")));
        QVERIFY(record.IsFieldChanged(QStringLiteral("cString")));
    }

    void missingRowLoadsNothing() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        CxDXError error;
        QVERIFY(!record.Load(99, &error));
        QVERIFY(!error.isSet());
        QVERIFY(!AllocateSQLDXRecord(QStringLiteral("dir"), 99, 1, Sql()));
        auto found = AllocateSQLDXRecord(QStringLiteral("dir"), 2, 1, Sql());
        QVERIFY(found);
        QCOMPARE(found->GetKey(), qint64(2));
        auto fresh = AllocateSQLDXRecord(QStringLiteral("dir"), -1, 0, Sql());
        QVERIFY(fresh && !fresh->IsLoaded() && fresh->GetDXIndex().isEmpty());
        QCOMPARE(fresh->GetKey(), qint64(-1));
    }

    void newRowsGetTheirRowid() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        record.SetFieldValue(QStringLiteral("dir.cString"), QStringLiteral("Бинт"));
        record.SetFieldValue(QStringLiteral("dir.nDirType"), 3L);
        QVERIFY(record.ApplyDXRecordAction(EA_NEW));
        const QString id =
            m_db->Scalar(QStringLiteral("SELECT ROWID FROM dir WHERE cString='Бинт'"));
        QCOMPARE(record.GetDXIndex(), id);

        // Many rows pushed one after the other go in batches; every row's
        // index is its own ROWID. The empty row a record starts with is not
        // written.
        CDXRecordSQL batch(Sql(), QStringLiteral("dir"));
        for (int i = 0; i < 450; ++i) {
            batch.Push();
            batch.SetFieldValue(QStringLiteral("cString"), QStringLiteral("Материал %1").arg(i));
            batch.SetFieldValue(QStringLiteral("nDirType"), 3L);
            if (i == 7)
                batch.SetFieldValue(QStringLiteral("ROWID"), 5000L);
        }
        QCOMPARE(batch.GetRowCount(), 451);
        QVERIFY(batch.ApplyDXRecordAction(EA_NEW));
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=3")),
                 QStringLiteral("453"));
        for (int i : {0, 7, 8, 199, 200, 449}) {
            batch.SetCurrentRow(i + 1);
            QCOMPARE(
                batch.GetDXIndex(),
                m_db->Scalar(
                    QStringLiteral("SELECT ROWID FROM dir WHERE cString='Материал %1'").arg(i)));
        }
    }

    void insertOrUpdateByKey() {
        // A one-row table keyed by the client: the first save inserts, the
        // next one updates the same row.
        for (int pass = 0; pass < 2; ++pass) {
            auto record = AllocateSQLDXRecord(QStringLiteral("riskbehavior"), -1, 0, Sql());
            record->SetFieldValue(QStringLiteral("riskbehavior.ROWID"), 42L);
            record->SetFieldValue(QStringLiteral("riskbehavior.nUseDirtySyr"), long(pass));
            QVERIFY(record->ApplyDXRecordAction(EA_INSERT_OR_UPDATE));
            QCOMPARE(record->GetDXIndex(), QStringLiteral("42"));
        }
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID,nUseDirtySyr FROM riskbehavior")),
                 QStringLiteral("42|1"));

        // Without a ROWID the row is found by another unique key (the name
        // within a directory type); the index is the ROWID of the row
        // inserted or updated, so the record can be written again by key.
        const auto byName = [&](const QString& name, long type) {
            auto record = AllocateSQLDXRecord(QStringLiteral("dir"), -1, 0, Sql());
            record->SetFieldValue(QStringLiteral("nDirType"), 3L);
            record->SetFieldValue(QStringLiteral("cString"), name);
            record->SetFieldValue(QStringLiteral("nType"), type);
            if (!record->ApplyDXRecordAction(EA_INSERT_OR_UPDATE))
                return QString();
            record->SetFieldValue(QStringLiteral("cDescription"), QStringLiteral("по ключу"));
            if (!record->ApplyDXRecordAction(EA_EDIT))
                return QString();
            return record->GetDXIndex();
        };
        QCOMPARE(byName(QStringLiteral("Шприц"), 7), QStringLiteral("1"));
        const QString fresh = byName(QStringLiteral("Пластырь"), 8);
        QCOMPARE(fresh, m_db->Scalar(QStringLiteral("SELECT ROWID FROM dir WHERE cString="
                                                    "'Пластырь'")));
        QCOMPARE(byName(QStringLiteral("Пластырь"), 9), fresh);
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID,nType,cDescription FROM dir WHERE ROWID "
                                           "IN (1,%1) ORDER BY ROWID")
                                .arg(fresh)),
                 QStringLiteral("1|7|по ключу;%1|9|по ключу").arg(fresh));

        // A table without a ROWID column is written by its unique key alone.
        m_db->Exec(QStringLiteral("DELETE FROM clientslink"));
        for (long relation : {1L, 2L}) {
            CDXRecordSQL link(Sql(), QStringLiteral("clientslink"));
            link.SetFieldValue(QStringLiteral("nMainClientID"), 5L);
            link.SetFieldValue(QStringLiteral("nSubClientID"), 6L);
            link.SetFieldValue(QStringLiteral("nClientRel"), relation);
            QVERIFY(link.ApplyDXRecordAction(EA_INSERT_OR_UPDATE));
        }
        QCOMPARE(m_db->Rows(QStringLiteral("SELECT nMainClientID,nSubClientID,nClientRel FROM "
                                           "clientslink")),
                 QStringLiteral("5|6|2"));
    }

    // An update needs the row's key: changes to a record that has none are
    // refused, not dropped as if written.
    void updateWithoutKeyFails() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        record.SetFieldValue(QStringLiteral("cString"), QStringLiteral("Вата"));
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_EDIT, &error));
        QVERIFY(!error.message.isEmpty());
        QVERIFY(record.IsFieldChanged(QStringLiteral("cString")));
        // A record with nothing set has nothing to write.
        CDXRecordSQL empty(Sql(), QStringLiteral("dir"));
        QVERIFY(empty.ApplyDXRecordAction(EA_EDIT));
    }

    void deleteByKey() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(2));
        QVERIFY(record.ApplyDXRecordAction(EA_DELETE));
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir")), QStringLiteral("1"));
        QVERIFY(record.GetDXIndex().isEmpty());
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_DELETE, &error));
        QVERIFY(!error.message.isEmpty());
    }

    void textsSurviveByteForByte_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Hara \"и\" `он`");
        QTest::newRow("backslashes") << QStringLiteral("a\\b\\\\c\\'d\\");
        QTest::newRow("comment and semicolon") << QStringLiteral("x'; DROP TABLE dir; -- ");
        QTest::newRow("control characters") << QStringLiteral("line\nnext\r\ttab\x1a end");
        QTest::newRow("letters") << QStringLiteral("Ёлка, ґанок, їжак, Ÿ — №5");
    }
    void textsSurviveByteForByte() {
        QFETCH(QString, text);
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(1));
        record.SetFieldValue(QStringLiteral("cDescription"), text);
        QVERIFY(record.ApplyDXRecordAction(EA_EDIT));
        CDXRecordSQL back(Sql(), QStringLiteral("dir"));
        QVERIFY(back.Load(1));
        QCOMPARE(back.SFieldValue(QStringLiteral("cDescription")), text);
    }

    void duplicateNameNamesItsField() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(2));
        record.SetFieldValue(QStringLiteral("dir.cString"), QStringLiteral("шприц"));
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_EDIT, &error));
        QCOMPARE(error.sql.serverCode, kSQLErrDuplicateEntry);
        QCOMPARE(error.field, QStringLiteral("cString"));
        QVERIFY(error.message.contains(QStringLiteral("шприц")));
        QVERIFY(error.sql.statement.startsWith(QStringLiteral("UPDATE `dir`")));
        // The record keeps the change, to be written once the user mends it.
        QVERIFY(record.IsFieldChanged(QStringLiteral("cString")));
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT cString FROM dir WHERE ROWID=2")),
                 QStringLiteral("Игла"));

        CDXRecordSQL fresh(Sql(), QStringLiteral("dir"));
        fresh.SetFieldValue(QStringLiteral("nDirType"), 3L);
        fresh.SetFieldValue(QStringLiteral("cString"), QStringLiteral("Игла"));
        QVERIFY(!fresh.ApplyDXRecordAction(EA_NEW, &error));
        QCOMPARE(error.field, QStringLiteral("cString"));
        QVERIFY(fresh.GetDXIndex().isEmpty());
        // The same name in another directory type is allowed.
        fresh.SetFieldValue(QStringLiteral("nDirType"), 4L);
        QVERIFY(fresh.ApplyDXRecordAction(EA_NEW));
        QVERIFY(!fresh.GetDXIndex().isEmpty());
    }

    // A text the column cannot store is refused and names its field, so the
    // form shows the message at that control.
    void unstorableTextNamesItsField() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(1));
        record.SetFieldValue(QStringLiteral("cDescription"), QStringLiteral("шприц \U0001F489"));
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_EDIT, &error));
        QCOMPARE(error.field, QStringLiteral("cDescription"));
        QVERIFY(!error.message.isEmpty());
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT cDescription FROM dir WHERE ROWID=1")),
                 QStringLiteral("описание"));
    }

    void badNamesAreRefused() {
        CDXRecordSQL record(Sql(), QStringLiteral("dir"));
        QVERIFY(record.Load(1));
        record.SetFieldValue(QStringLiteral("cString`=1,`nType"), QStringLiteral("x"));
        QVERIFY(record.BuildStatement(EA_EDIT).isEmpty());
        CxDXError error;
        QVERIFY(!record.ApplyDXRecordAction(EA_EDIT, &error));
        QVERIFY(error.message.contains(QStringLiteral("bad field name")));
        CDXRecordSQL wrongTable(Sql(), QStringLiteral("dir; DROP TABLE dir"));
        QVERIFY(!wrongTable.Load(1));
        QVERIFY(!wrongTable.ApplyDXRecordAction(EA_NEW));
    }
};

QTEST_GUILESS_MAIN(TestDXRecord)
#include "test_dx_record.moc"

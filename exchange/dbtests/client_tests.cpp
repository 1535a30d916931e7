// Tests of the client register: clients in deleted folders, history rows of
// clients that no longer exist.
#include "framework/core/tarvik_app.h"
#include "kelda_db_tests.h"

IMPLEMENT_DBTEST(CKDDBTest_ClientsFolders);
IMPLEMENT_DBTEST(CKDDBTest_ClientDataChanges);
IMPLEMENT_DBTEST(CKDDBTest_DrugUseData);
IMPLEMENT_DBTEST(CKDDBTest_SocialStatus);
IMPLEMENT_DBTEST(CKDDBTest_RiskBehavior);

QString CKDDBTest_ClientsFolders::GetTestName() const {
    return Tr(QStringLiteral("Клиенты: Проверка папок"),
              QStringLiteral("CKDDBTest_ClientsFolders::GetTestName"));
}

bool CKDDBTest_ClientsFolders::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_ClientsFolders::FullTest");
    Repair repair;
    repair.context = context;
    repair.tempTable = QStringLiteral(
        "CREATE TEMPORARY TABLE $$$ SELECT d1.ROWID AS r1 FROM clientdata AS d1 LEFT JOIN "
        "clientdata AS d2 ON d2.ROWID=d1.nGroupID WHERE ISNULL(d2.ROWID) AND d1.nGroupID<>0");
    repair.select = QStringLiteral("SELECT dr.* FROM %TMP% JOIN clientdata AS dr ON dr.ROWID=r1 "
                                   "ORDER BY dr.ROWID");
    repair.summaryCaption =
        Tr(QStringLiteral("Восстановление клиентов из удаленных папок"), context);
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} клиентов "), context);
    const QString caption = Tr(QStringLiteral("Клиент: папка"), context);
    const QString text = Tr(QStringLiteral("Клиент {row}/{code}"), context);
    repair.row = [caption, text](const CxResult& row) {
        return qMakePair(
            caption,
            QString(text)
                .replace(QLatin1String("{row}"), row.SFieldValue(QStringLiteral("ROWID")))
                .replace(QLatin1String("{code}"), row.SFieldValue(QStringLiteral("cClientCode"))));
    };
    repair.repairCaption = Tr(QStringLiteral("перенос ведомостей"), context);
    repair.statements << QStringLiteral(
        "UPDATE clientdata,%TMP% SET nGroupID=0 WHERE clientdata.ROWID=r1");
    // Whatever was found: codes that follow the rules of new codes (three
    // letters, day, two digits of the birth year, sex letter; the
    // organisation suffix aside) are marked as such. Never cleared here.
    repair.after = [this] {
        return Query(QStringLiteral(
                         "update `clientdata`,(select * from (select ROWID,nBirthYear,nSex,"
                         "upper(if(locate('`',cClientCode),substr(cClientCode,1,locate('`',"
                         "cClientCode)-1),cClientCode)) as cClientCode from clientdata) as t1 "
                         "where CHAR_LENGTH(cClientCode)=8 and substr(cClientCode,1,3)>'999' and "
                         "substr(cClientCode,4,2) between 1 and 31 and "
                         "substr(cClientCode,6,2)=(nBirthYear%100) and (case nSex when 1 then "
                         "'Ч' when 2 then 'Ж' when 3 then 'Т' end)=substr(cClientCode,8,1)) as "
                         "t2 set bNewCode=1 where clientdata.rowid=t2.rowid"))
            .isValid();
    };
    return RunShared(repair);
}

bool CKDDBTest_ClientsSubData::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_ClientsSubData::FullTest");
    const QString table = GetTableName();
    Repair repair;
    repair.context = context;
    repair.tempTable =
        QStringLiteral("CREATE TEMPORARY TABLE $$$ SELECT d1.ROWID AS r1,d1.nClientID "
                       "FROM %1 AS d1 LEFT JOIN clientdata AS d2 ON "
                       "d2.ROWID=d1.nClientID WHERE ISNULL(d2.ROWID)")
            .arg(table);
    repair.select = QStringLiteral("SELECT * FROM %TMP% ORDER BY r1");
    repair.summaryCaption =
        Tr(QStringLiteral("удаление данных непривязанных к клиенту, таблица {table}"), context)
            .replace(QLatin1String("{table}"), table);
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} записей "), context);
    repair.row = [table](const CxResult& row) {
        return qMakePair(table, row.SFieldValue(QStringLiteral("nClientID")));
    };
    repair.repairCaption = Tr(QStringLiteral("удаление данных непривязанных к клиенту"), context);
    repair.statements
        << QStringLiteral("DELETE FROM %1 USING %1,%TMP% WHERE %1.ROWID=r1").arg(table);
    return RunShared(repair);
}

QString CKDDBTest_ClientDataChanges::GetTestName() const {
    return Tr(QStringLiteral("Клиенты: изменение уязвимой группы"),
              QStringLiteral("CKDDBTest_ClientDataChanges::GetTestName"));
}

QString CKDDBTest_DrugUseData::GetTestName() const {
    return Tr(QStringLiteral("Клиенты: употребление наркотиков"),
              QStringLiteral("CKDDBTest_DrugUseData::GetTestName"));
}

QString CKDDBTest_SocialStatus::GetTestName() const {
    return Tr(QStringLiteral("Клиенты: социальный статус"),
              QStringLiteral("CKDDBTest_SocialStatus::GetTestName"));
}

QString CKDDBTest_RiskBehavior::GetTestName() const {
    return Tr(QStringLiteral("Клиенты: рискованное поведение"),
              QStringLiteral("CKDDBTest_RiskBehavior::GetTestName"));
}

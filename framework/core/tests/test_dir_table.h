#pragma once
// A small descriptor over the directory table for the framework's own tests:
// the materials (nDirType 3) with their folders, a joined folder name, an
// enumeration-bound kind and a column that is an SQL expression.
#include "framework/core/enums/enum2.h"
#include "framework/core/table/cx_table.h"

#include <QStringList>

struct sTestKind : sEnum2 {};

class TestKinds : public CEnum2Tpl<sTestKind> {
public:
    TestKinds() {
        Add(1, QStringLiteral("Syr"), QStringLiteral("Шприцы"));
        Add(2, QStringLiteral("Needle"), QStringLiteral("Иглы"));
    }
};

class TestMaterials : public CxTable {
public:
    TestMaterials()
        : CxTable(QStringLiteral("dir"), QStringLiteral("Материалы"), QStringLiteral("Materials"),
                  QStringLiteral("{TABLE}.nDirType=3")) {
        m_ROWID = RegisterField(1, QStringLiteral("ROWID"), QStringLiteral("Код"), FF_INT | FF_KEY);
        m_cString = RegisterField(2, QStringLiteral("cString"), QStringLiteral("Название"),
                                  FF_TEXT | FF_NAME);
        m_cString->SetFlags(ATTR_FOLDERNAME);
        m_cDescription =
            RegisterField(3, QStringLiteral("cDescription"), QStringLiteral("Описание"), FF_TEXT);
        m_nKind = RegisterField(4, QStringLiteral("{TABLE}.nType>>16"), QStringLiteral("Вид"),
                                FF_INT | FF_ENUM, &m_kinds);
        m_nKindText = RegisterField(4, QStringLiteral("{TABLE}.nType>>16"), QStringLiteral("Вид"),
                                    FF_TEXT | FF_ENUMTEXT, &m_kinds);
        m_nSortCode =
            RegisterField(5, QStringLiteral("nSortCode"), QStringLiteral("Порядок"), FF_INT);
        m_bHidden = RegisterField(6, QStringLiteral("bHidden"), QStringLiteral("Скрыт"),
                                  FF_INT | FF_HIDDEN);
        m_bIsFolder = RegisterField(7, QStringLiteral("bIsFolder"), QStringLiteral("Папка?"),
                                    FF_INT | FF_FOLDERMARK);
        m_FOLDER =
            RegisterField(8, QStringLiteral("{FOLDER}.cString"), QStringLiteral("Папка"), FF_TEXT)
                ->LeftJoin(this, QStringLiteral("{FOLDER}"),
                           QStringLiteral("{TABLE}.nGroupID={FOLDER}.ROWID"), 0);
        m_nGroupID = RegisterField(8, QStringLiteral("nGroupID"), QStringLiteral("Папка"),
                                   FF_INT | FF_PARENT);
    }
    TestKinds m_kinds;
    CxField* m_ROWID;
    CxField* m_cString;
    CxField* m_cDescription;
    CxField* m_nKind;
    CxField* m_nKindText;
    CxField* m_nSortCode;
    CxField* m_bHidden;
    CxField* m_bIsFolder;
    CxField* m_FOLDER;
    CxField* m_nGroupID;
};

// The statement that adds `count` materials at the root from ROWID 100: their
// names are `name` with a zero-padded number for %1, numbered in another order
// than the keys, of both kinds, with repeated and missing sort codes.
inline QString InsertRootMaterials(int count, const QString& name) {
    const int width = int(QString::number(count - 1).size());
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("(%1,0,0,'%2',3,%3,0,0,%4)")
                    .arg(100 + i)
                    .arg(name.arg((i * 23) % count, width, 10, QLatin1Char('0')))
                    .arg(i % 3 == 0 ? 65537 : 131073)
                    .arg(i % 5 == 0 ? QStringLiteral("NULL") : QString::number(i % 4));
    return QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,"
                          "bHidden,nTown,nSortCode) VALUES ") +
           rows.join(u',');
}

#include "sheet_materials.h"

#include "diary_sql.h"
#include "diary_verdict.h"

#include "model/enums/directory_enums.h"

#include <QSet>

bool LoadSheetMaterials(CxSQL* sql, const QList<qint32>& ids, CSheetMaterials* materials,
                        QString* error) {
    QStringList wanted;
    QSet<qint32> seen;
    for (const qint32 id : ids)
        if (!materials->contains(id) && !seen.contains(id)) {
            seen.insert(id);
            wanted << QString::number(id);
        }
    if (wanted.isEmpty())
        return true;
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT ROWID,cString,IFNULL(nType,0),IFNULL(nSpecFlags,0),"
                                    "IFNULL(bHidden,0) FROM dir WHERE dir.nDirType=3 AND "
                                    "dir.ROWID IN (%1)")
                         .arg(wanted.join(QLatin1Char(','))),
                     &r, error))
        return false;
    while (r.FetchRow()) {
        CSheetMaterial m;
        m.id = qint32(r.LFieldValue(0));
        m.name = r.SFieldValue(1);
        m.type = qint32(r.LFieldValue(2));
        m.specFlags = qint32(r.LFieldValue(3));
        m.hidden = r.LFieldValue(4) != 0;
        materials->insert(m.id, m);
    }
    return true;
}

QString ConsultationFlagText(qint32 flag) {
    return g_pConsAndDir.Get()->IDToString(flag, QString());
}

QString MaterialLoadErrorText(int position, qint32 item) {
    return DiaryText("Ошибка загрузки материала с кодом %1\n(позиция ошибки %2)", "AddLoadMatError")
        .arg(item)
        .arg(position);
}

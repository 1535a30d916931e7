#include "export_check.h"

#include "framework/core/select/executer.h"
#include "framework/core/tarvik_app.h"
#include "model/tables/table_set.h"

bool HasServicePointWithoutTown(CxSQL* sql, QString* error) {
    CxTable_WorkPlace* points = g_pWorkPlaceTable.GetPtr();
    if (!points)
        return false;
    CxExecuter ex(points, sql);
    ex.ASelAll();
    ex.AWhere(QStringLiteral("IFNULL(") + points->GetFieldSQL(points->m_nTown) +
              QStringLiteral(",0)=0"));
    ex.AWhere(QStringLiteral("NOT ") + points->GetFieldSQL(points->m_bIsFolder),
              QStringLiteral("AND"));
    ex.ALimit(QStringLiteral("1"));
    CxResult res = ex.ExecSelect();
    if (!res.isValid()) {
        if (error)
            *error = res.Error().text;
        return false;
    }
    return res.FetchRow();
}

QString WorkplaceTownNotFilledText() {
    return CTarvikApp::TranslateString(
        QStringLiteral("Перед экспортом данных, необходимо заполнить поле «Географическое "
                       "расположение ПОУ» в справочнике «Пункты предоставления услуг».\n"
                       "Для этого, зайдите в справочник «Пункты предоставления услуг», "
                       "поочередно, на каждой записи справочника, кликните правой кнопкой мышки, "
                       "выберите пункт изменить, и заполните поле «Географическое расположение "
                       "ПОУ». \n"
                       "Необходимо указывать конкретный населенный пункт."),
        QStringLiteral("msgWorkplaceTownNotFilled"), 1);
}

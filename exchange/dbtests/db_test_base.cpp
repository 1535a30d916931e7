#include "framework/core/dbtest/change_journal.h"
#include "framework/core/tarvik_app.h"
#include "kelda_db_tests.h"

QString CKDDBTest_Base::Tr(const QString& text, const QString& context) const {
    return CTarvikApp::TranslateString(text, context);
}

bool CKDDBTest_Base::Finish(bool ok) {
    EndProgress(ok ? QStringLiteral("Ok") : GetFailure());
    return ok;
}

bool CKDDBTest_Base::RunShared(const Repair& repair) {
    BeginProgress(GetTestName());
    TempTable ids(this);
    if (!ids.Create(repair.tempTable) || !ids.CreateIndex(QStringLiteral("r1"), true))
        return Finish(false);
    auto named = [&](QString text) { return text.replace(QLatin1String("%TMP%"), ids.GetName()); };
    CxResult rows = Query(named(repair.select));
    if (!rows.isValid())
        return Finish(false);
    const qint64 count = rows.RowsCount();
    if (count == 0)
        return Finish(!repair.after || repair.after());
    CvLogRef journal(GetSQL(), GetTestName());
    SetRange(int(count),
             Tr(QStringLiteral("запись в журнал проводимых изменений"), repair.context));
    journal.Log(
        repair.summaryCaption,
        QString(repair.summaryText).replace(QLatin1String("{num}"), QString::number(count)));
    while (rows.FetchRow()) {
        const auto [caption, text] = repair.row(rows);
        journal.Log(caption, text);
        Step();
    }
    QStringList statements;
    for (const QString& s : repair.statements)
        statements << named(s);
    return Finish(RunRepair(repair.repairCaption, statements, &journal) &&
                  (!repair.after || repair.after()));
}

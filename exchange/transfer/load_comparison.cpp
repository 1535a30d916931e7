#include "load_comparison.h"

#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

namespace {

constexpr CxTr Tr;

bool Fail(QString* error, const CxResult& res) {
    if (error)
        *error = res.Error().text + u'\n' + res.Error().statement.left(500);
    return false;
}

QDate SqlDate(const CxResult& res, const QString& field) {
    return QDate::fromString(res.SFieldValue(field), Qt::ISODate);
}

CCompareDirRef DirRef(const CxResult& res, const QString& idField, const QString& nameField) {
    return {int(res.LFieldValue(idField)), res.SFieldValue(nameField)};
}

CCompareReport Report(const CxResult& res, const QString& suffix) {
    const auto f = [&](const char* name) { return QString::fromLatin1(name) + suffix; };
    CCompareReport r;
    r.reportId = int(res.LFieldValue(QStringLiteral("ROWID")));
    r.date = SqlDate(res, f("dDate"));
    r.workPlace = DirRef(res, f("nWorkPlace"), f("cWorkplace"));
    r.worker1 = DirRef(res, f("nWorker1"), f("cWorker1"));
    r.worker2 = DirRef(res, f("nWorker2"), f("cWorker2"));
    r.worker3 = DirRef(res, f("nWorker3"), f("cWorker3"));
    return r;
}

} // namespace

bool ReadCompareLoadTree(CxSQL* sql, QList<CCompareLoadOrg>* tree, QString* error) {
    tree->clear();
    CxResult res = sql->Execute(QStringLiteral(
        "SELECT orginf.cOrgID,t1.dDate,t1.nLoadID FROM cmp_loadids AS t1 LEFT JOIN orginf ON "
        "orginf.ROWID=t1.nRegionDataID ORDER BY t1.nRegionDataID,t1.dDate,t1.nLoadID"));
    if (!res.isValid())
        return Fail(error, res);
    QString current;
    while (res.FetchRow()) {
        const QString org = res.SFieldValue(0);
        if (org.isEmpty())
            continue;
        if (org != current || tree->isEmpty()) {
            current = org;
            tree->append({org, {}});
        }
        tree->last().loads.append({int(res.LFieldValue(2)), SqlDate(res, res.FieldName(1))});
    }
    return true;
}

QString CompareLoadItemText(const CCompareLoadItem& item) {
    const QString date =
        item.date.isValid()
            ? item.date.toString(QStringLiteral("dd.MM.yyyy"))
            : Tr(QStringLiteral("Ошибка"), QStringLiteral("CRepCompareChanges::DoDataExchange"));
    return QStringLiteral("%1, %2").arg(date).arg(item.loadId);
}

QString CheckCompareChoice(CxSQL* sql, const QList<int>& ticked, const QDate& date, int* first,
                           int* second) {
    *first = *second = 0;
    if (!date.isValid())
        return Tr(QStringLiteral("Необходимо заполнить дату"), QStringLiteral("msgFillDate"));
    const QString nothing =
        Tr(QStringLiteral("Не выбраны данные для сравнения"), QStringLiteral("msgNothingToDo"));
    // Organisation items of the list carry no load number: their ticks take
    // no part, neither in the check nor in the choice of the two loads.
    QList<int> loads;
    for (int id : ticked)
        if (id > 0)
            loads << id;
    QStringList filter;
    for (int id : std::as_const(loads))
        filter << QStringLiteral("nLoadID=%1").arg(id);
    if (filter.isEmpty())
        return nothing;
    CxResult res = sql->Execute(QStringLiteral("SELECT Count(*) AS nCnt,nRegionDataID FROM "
                                               "cmp_loadids WHERE ") +
                                filter.join(QStringLiteral(" OR ")) +
                                QStringLiteral(" GROUP BY nRegionDataID"));
    if (!res.isValid() || res.RowsCount() == 0)
        return nothing;
    if (res.RowsCount() > 1)
        return Tr(QStringLiteral("Можно выбирать только одну организацию за раз"),
                  QStringLiteral("msgOnlyOneRegionCanSelect"));
    res.FetchRow();
    if (res.LFieldValue(QStringLiteral("nCnt")) != 2)
        return Tr(QStringLiteral("Необходимо выбрать две записи для сравнения"),
                  QStringLiteral("msgOnlyTwo"));
    *first = loads.first();
    *second = loads.last();
    return QString();
}

QString CCompareDirRef::Text() const {
    if (!name.isEmpty())
        return name;
    if (id == -1)
        return QStringLiteral("-");
    return Tr(QStringLiteral("Код {id} не найден"), QStringLiteral("msgErrorDirRecNotFound"))
        .replace(QStringLiteral("{id}"), QString::number(id));
}

bool CompareLoads(CxSQL* sql, int first, int second, const QDate& date, CCompareLoadsData* data,
                  QString* error) {
    *data = CCompareLoadsData();
    data->first = first;
    data->second = second;
    const QString T1 = QStringLiteral("t1.nLoadID=%1").arg(first);
    const QString T2 = QStringLiteral("t2.nLoadID=%1").arg(second);
    const QString d = SafeSQL(date.toString(QStringLiteral("yyyy-MM-dd")));
    const QString D1 = QStringLiteral("t1.dDate<") + d;
    const QString D2 = QStringLiteral("t2.dDate<") + d;
    const QString limit = QStringLiteral(" LIMIT %1").arg(kCompareRowLimit);

    // Reports of one load that the other lacks, dated before the date; each
    // load's own directory copy names its workers and service point.
    CxResult added = sql->Execute(
        QStringLiteral("select t3.nWorker1,t3.nWorker2,t3.nWorker3,t3.nWorkPlace,wp.cString AS "
                       "cWorkplace, w.cString AS cWorker1, w2.cString AS cWorker2,w3.cString AS "
                       "cWorker3,t3.dDate,t3.ROWID,t3.nLoadID FROM ( SELECT * FROM "
                       "cmp_dailyreport AS t1 WHERE ") +
        T1 + QStringLiteral(" AND NOT EXISTS (SELECT * FROM cmp_dailyreport AS t2 WHERE ") + T2 +
        QStringLiteral(" AND t2.ROWID=t1.ROWID) AND ") + D1 +
        QStringLiteral(" UNION SELECT * FROM cmp_dailyreport AS t2 WHERE ") + T2 +
        QStringLiteral(" AND NOT EXISTS (SELECT * FROM cmp_dailyreport AS t1 WHERE ") + T1 +
        QStringLiteral(" AND t2.ROWID=t1.ROWID) AND ") + D2 +
        QStringLiteral(") AS t3 LEFT JOIN cmp_dir AS w ON w.rowid=t3.nWorker1 AND "
                       "w.nLoadID=t3.nLoadID LEFT JOIN cmp_dir AS w2 ON w2.rowid=t3.nWorker2 AND "
                       "w2.nLoadID=t3.nLoadID LEFT JOIN cmp_dir AS w3 ON w3.rowid=t3.nWorker3 AND "
                       "w3.nLoadID=t3.nLoadID LEFT JOIN cmp_dir AS wp ON wp.rowid=t3.nWorkPlace "
                       "AND wp.nLoadID=t3.nLoadID ORDER BY t3.nLoadID<>%1,t3.dDate,t3.ROWID")
            .arg(first) +
        limit);
    if (!added.isValid())
        return Fail(error, added);
    while (added.FetchRow())
        data->addedRemoved.append(
            {Report(added, QString()), added.LFieldValue(QStringLiteral("nLoadID")) == first});

    // Reports that both loads hold with a different checksum, at least one of
    // their two dates before the date.
    CxResult changed = sql->Execute(
        QStringLiteral(
            "SELECT t1.nWorker1,t1.nWorker2,t1.nWorker3,t1.nWorkPlace,wp.cString AS "
            "cWorkplace,w.cString AS cWorker1, w2.cString AS cWorker2,w3.cString AS "
            "cWorker3,t1.dDate,t2.nWorker1 AS nWorker1_2,t2.nWorker2 AS nWorker2_2,t2.nWorker3 "
            "AS nWorker3_2,t2.nWorkPlace AS nWorkPlace_2,wp_2.cString AS cWorkplace_2,w_2.cString "
            "AS cWorker1_2, w2_2.cString AS cWorker2_2,w3_2.cString AS cWorker3_2,t2.dDate AS "
            "dDate_2,t1.ROWID FROM cmp_dailyreport AS t1  JOIN cmp_dailyreport AS t2 ON "
            "t1.ROWID=t2.ROWID LEFT JOIN cmp_dir AS w ON w.rowid=t1.nWorker1 AND "
            "w.nLoadID=t1.nLoadID LEFT JOIN cmp_dir AS w2 ON w2.rowid=t1.nWorker2 AND "
            "w2.nLoadID=t1.nLoadID LEFT JOIN cmp_dir AS w3 ON w3.rowid=t1.nWorker3 AND "
            "w3.nLoadID=t1.nLoadID LEFT JOIN cmp_dir AS wp ON wp.rowid=t1.nWorkPlace AND "
            "wp.nLoadID=t1.nLoadID LEFT JOIN cmp_dir AS w_2 ON w_2.rowid=t2.nWorker1 AND "
            "w_2.nLoadID=t2.nLoadID LEFT JOIN cmp_dir AS w2_2 ON w2_2.rowid=t2.nWorker2 AND "
            "w2_2.nLoadID=t2.nLoadID LEFT JOIN cmp_dir AS w3_2 ON w3_2.rowid=t2.nWorker3 AND "
            "w3_2.nLoadID=t2.nLoadID LEFT JOIN cmp_dir AS wp_2 ON wp_2.rowid=t2.nWorkPlace AND "
            "wp_2.nLoadID=t2.nLoadID WHERE ") +
        T1 + QStringLiteral(" AND ") + T2 + QStringLiteral(" AND t1.nCrc<>t2.nCrc AND (") + D1 +
        QStringLiteral(" OR ") + D2 + QStringLiteral(") ORDER BY t1.dDate,t1.ROWID") + limit);
    if (!changed.isValid())
        return Fail(error, changed);
    while (changed.FetchRow()) {
        CCompareChanged c{Report(changed, QString()), Report(changed, QStringLiteral("_2")), {}};
        // The visits that one load has and the other has not with the same
        // client, material and count: the first load's, then the second's.
        CxResult visits = sql->Execute(
            QStringLiteral(
                "SELECT cc.cClientID,ii.cString AS cItem,t1.nClientID,t1.nItem,t1.nCount,"
                "t1.nLoadID FROM cmp_visits as t1 LEFT JOIN cmp_visits as t2 on "
                "t1.nReportID=t2.nReportID and t1.nClientID=t2.nClientID AND t2.nCount=t1.nCount "
                "AND t1.nItem=t2.nItem and t2.nLoadID={id2} LEFT JOIN cmp_clients as cc ON "
                "cc.rowid=t1.nClientID and cc.nLoadID={id1} LEFT JOIN cmp_dir as ii ON "
                "ii.rowid=t1.nItem and ii.nLoadID={id1} WHERE t1.nLoadID={id1} and "
                "t1.nReportID={rowid} AND ISNULL(t2.ROWID)  UNION ALL  SELECT "
                "cc.cClientID,ii.cString AS cItem,t1.nClientID,t1.nItem,t1.nCount,t1.nLoadID "
                "FROM cmp_visits as t1 LEFT JOIN cmp_visits as t2 on t1.nReportID=t2.nReportID "
                "and t1.nClientID=t2.nClientID AND t2.nCount=t1.nCount AND t1.nItem=t2.nItem "
                "and t2.nLoadID={id1} LEFT JOIN cmp_clients as cc ON cc.rowid=t1.nClientID and "
                "cc.nLoadID={id2} LEFT JOIN cmp_dir as ii ON ii.rowid=t1.nItem and "
                "ii.nLoadID={id2} WHERE t1.nLoadID={id2} and t1.nReportID={rowid} AND "
                "ISNULL(t2.ROWID)")
                .replace(QStringLiteral("{rowid}"), QString::number(c.first.reportId))
                .replace(QStringLiteral("{id1}"), QString::number(first))
                .replace(QStringLiteral("{id2}"), QString::number(second)));
        if (!visits.isValid())
            return Fail(error, visits);
        while (visits.FetchRow())
            c.visits.append({visits.LFieldValue(5) == first, int(visits.LFieldValue(2)),
                             visits.SFieldValue(0), int(visits.LFieldValue(3)),
                             visits.SFieldValue(1), int(visits.LFieldValue(4))});
        data->changed.append(c);
    }
    return true;
}

#include "sql_import_wizard.h"

#include "exchange_sql.h"
#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

#include <QSet>

#include <limits>

namespace {

using namespace ExchangeSQL;

// A multi-row INSERT into a load table is sent once it passes this size.
constexpr qsizetype kStatementBytes = 512 * 1024;

QString Tr(const QString& text, const QString& key) {
    return CTarvikApp::TranslateString(text, key);
}

} // namespace

// One import: the state that the steps share, and the clean-up on every way
// out (rollback, the load's temporary tables, the lock).
struct CSQLImportWizard::Run {
    CSQLImportWizard& wizard;
    CxSQL* sql;
    CvProgress* progress;
    QString* error;
    CSQLExchangePackageReader reader;
    QList<CSQLExchangeTable> tables; // those of the helper that the package carries
    QHash<QString, QList<CSQLExchangeColumn>> targetColumns;
    QStringList loadTables;
    bool locked = false;
    bool inTransaction = false;

    ~Run() {
        if (inTransaction)
            sql->RollbackTransaction();
        for (const QString& t : std::as_const(loadTables))
            sql->Execute(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + t);
        if (locked)
            sql->Unlock();
    }

    bool Fail(const QString& text) {
        if (error)
            *error = text;
        return false;
    }
    bool FailStatement(const QString& statement) { return Fail(StatementError(sql, statement)); }
    bool Cancelled() {
        return progress && progress->IsCancelled() &&
               !Fail(Tr(QStringLiteral("Операция прервана пользователем"),
                        QStringLiteral("msgExchangeCancelled")));
    }
    CxResult Exec(const QString& statement) { return sql->Execute(statement); }

    CSQLImportWizard_Helper* helper() const { return wizard.m_helper; }

    bool HasColumn(const QString& table, const QString& column) const {
        for (const CSQLExchangeColumn& c : targetColumns.value(table))
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    // Everything about the package that can be checked without the database
    // changing: the file, the program that wrote it, the sender, the tables.
    bool CheckPackage(const QString& path) {
        if (!reader.Open(path, error))
            return false;
        CSQLExchangeAttributes own;
        helper()->SetAppID(own);
        const QString app = reader.Attributes().value(QStringLiteral("SCAppID"));
        if (app != own.value(QStringLiteral("SCAppID")))
            return Fail(Tr(QStringLiteral("Пакет обмена создан другой программой ({app})"),
                           QStringLiteral("msgExchangeForeign"))
                            .replace(QStringLiteral("{app}"), app));
        wizard.m_sender = reader.Attributes().value(QStringLiteral("cOrgID")).trimmed();
        if (wizard.m_sender.isEmpty())
            return Fail(Tr(QStringLiteral("В пакете обмена не указана организация-отправитель"),
                           QStringLiteral("msgExchangeNoSender")));
        if (reader.Attributes().value(QStringLiteral("PackageID")).isEmpty())
            return Fail(
                Tr(QStringLiteral("Пакет обмена поврежден"), QStringLiteral("msgExchangeDamaged")));
        const QString own_org = helper()->GetOwnOrgID().trimmed();
        if (own_org.compare(wizard.m_sender, Qt::CaseInsensitive) == 0)
            return Fail(Tr(QStringLiteral("Пакет отправлен этой же организацией ({org}): свои "
                                          "данные повторно не загружаются"),
                           QStringLiteral("msgExchangeOwnPackage"))
                            .replace(QStringLiteral("{org}"), wizard.m_sender));

        const QList<CSQLExchangeTable> known = helper()->GetExchangeTables();
        for (const CSQLExchangeTableInfo& info : reader.Tables()) {
            const auto it = std::find_if(known.begin(), known.end(), [&](const auto& t) {
                return t.name.compare(info.name, Qt::CaseInsensitive) == 0;
            });
            if (it == known.end())
                return Fail(Tr(QStringLiteral("Пакет обмена содержит таблицу {table}, которой нет "
                                              "в этой версии программы. Обновите программу."),
                               QStringLiteral("msgExchangeUnknownTable"))
                                .replace(QStringLiteral("{table}"), info.name));
        }
        for (const CSQLExchangeTable& table : known) {
            QList<CSQLExchangeColumn> columns;
            if (!TableColumns(sql, table.name, &columns, error))
                return false;
            targetColumns.insert(table.name, columns);
            // A table the package lacks takes part as an empty one: the
            // sender's earlier rows of it go like all others.
            tables.append(table);
            const CSQLExchangeTableInfo* info = reader.FindTable(table.name);
            if (!info)
                continue;
            for (const CSQLExchangeColumn& c : info->columns)
                if (!HasColumn(table.name, c.name))
                    return Fail(Tr(QStringLiteral("Пакет обмена содержит поле {table}.{column}, "
                                                  "которого нет в этой версии программы. "
                                                  "Обновите программу."),
                                   QStringLiteral("msgExchangeUnknownColumn"))
                                    .replace(QStringLiteral("{table}"), table.name)
                                    .replace(QStringLiteral("{column}"), c.name));
        }
        return true;
    }

    // Temporary tables of this session with the receiving tables' layout and
    // key, made before the transaction (changing a table's indexes ends a
    // transaction); without the other indexes they take rows much faster.
    bool CreateLoadTables() {
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            const QString load = helper()->LoadTable(table.name);
            const QString create = QStringLiteral("CREATE TEMPORARY TABLE ") + load +
                                   QStringLiteral(" LIKE ") + Quoted(table.name);
            Exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + load);
            if (!Exec(create).isValid())
                return FailStatement(create);
            loadTables << load;
            // The index of the key column stays (it may hold the
            // AUTO_INCREMENT column, and the merge joins on it).
            CxResult keys = Exec(QStringLiteral("SHOW INDEX FROM ") + load);
            QSet<QString> kept, dropped;
            while (keys.FetchRow()) {
                const QString key = keys.SFieldValue(QStringLiteral("Key_name"));
                if (keys.LFieldValue(QStringLiteral("Seq_in_index")) == 1 &&
                    keys.SFieldValue(QStringLiteral("Column_name"))
                            .compare(table.key, Qt::CaseInsensitive) == 0)
                    kept << key;
                else
                    dropped << key;
            }
            QStringList drops;
            for (const QString& key : std::as_const(dropped))
                if (!kept.contains(key))
                    drops << QStringLiteral("DROP INDEX ") + Quoted(key);
            const QString alter = QStringLiteral("ALTER TABLE ") + load + u' ' + drops.join(u',');
            if (!drops.isEmpty() && !Exec(alter).isValid())
                return FailStatement(alter);
        }
        return true;
    }

    // The package's rows, as the sender stored them, into the load tables.
    bool LoadRows() {
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            const CSQLExchangeTableInfo* info = reader.FindTable(table.name);
            if (!info)
                continue;
            if (progress)
                progress->SetRange(int(std::min<qint64>(info->rows, INT_MAX)), table.name);
            if (!reader.BeginTable(info->name, error))
                return false;
            QStringList names;
            for (const CSQLExchangeColumn& c : info->columns)
                names << Quoted(c.name);
            const QString head = QStringLiteral("INSERT INTO ") + helper()->LoadTable(table.name) +
                                 QStringLiteral(" (") + names.join(u',') +
                                 QStringLiteral(") VALUES ");
            QByteArray statement;
            qint64 rows = 0, pending = 0;
            CSQLExchangeRow row;
            auto send = [&]() {
                if (pending == 0)
                    return true;
                CxResult res = sql->ExecuteRaw(statement);
                if (!res.isValid())
                    return Fail(res.Error().text + u'\n' + table.name);
                if (progress)
                    progress->Step(QString(), int(pending));
                statement.clear();
                pending = 0;
                return !Cancelled();
            };
            while (reader.ReadRow(row)) {
                statement += pending == 0 ? head.toUtf8() : QByteArray(",");
                statement += '(';
                for (qsizetype i = 0; i < row.size(); ++i) {
                    if (i > 0)
                        statement += ',';
                    const QByteArray& v = row[i];
                    if (v.isNull())
                        statement += "NULL";
                    else if (info->columns[i].numeric && IsNumericLiteral(v))
                        statement += v;
                    else
                        statement += SafeSQL(QString::fromUtf8(v)).toUtf8();
                }
                statement += ')';
                ++rows;
                ++pending;
                if (statement.size() > kStatementBytes && !send())
                    return false;
            }
            if (!reader.EndTable(error) || !send())
                return false;
            wizard.m_rows.insert(table.name, rows);
        }
        return true;
    }

    qint64 Scalar(const QString& statement, bool* ok) {
        CxResult res = Exec(statement);
        *ok = res.isValid() && res.FetchRow();
        return *ok ? res.SFieldValue(0).toLongLong() : 0;
    }

    // The sender's earlier load goes, then the load is merged with its ids
    // moved past the receiving tables' own.
    bool Merge(const QHash<QString, int>& marks) {
        const int region = wizard.m_region;
        for (qsizetype i = tables.size() - 1; i >= 0; --i) {
            const CSQLExchangeTable& table = tables[i];
            if (marks.value(table.name.toLower()) == kExchangeOrganisationTable ||
                !HasColumn(table.name, QStringLiteral("nRegionDataID")))
                continue;
            const QString remove = QStringLiteral("DELETE FROM ") + Quoted(table.name) +
                                   QStringLiteral(" WHERE nRegionDataID=%1").arg(region);
            if (!Exec(remove).isValid())
                return FailStatement(remove);
        }
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            if (table.key.isEmpty() || marks.value(table.name.toLower()))
                continue;
            // Each read is checked on its own: a failed one stops the merge
            // and never passes for an empty table whose highest id is 0.
            qint64 offset = 0, highest = 0;
            if (!HighestKey(sql, Quoted(table.name), table.key, &offset, error) ||
                !HighestKey(sql, helper()->LoadTable(table.name), table.key, &highest, error))
                return false;
            if (highest > std::numeric_limits<int>::max() - offset &&
                table.name.compare(QStringLiteral("dailyvisits"), Qt::CaseInsensitive) != 0)
                return Fail(Tr(QStringLiteral("Номера записей таблицы {table} исчерпаны: "
                                              "пакет не может быть загружен"),
                               QStringLiteral("msgExchangeIdsExhausted"))
                                .replace(QStringLiteral("{table}"), table.name));
            helper()->SetRowIdOffset(table.name, offset);
        }
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            if (Cancelled())
                return false;
            if (progress)
                progress->Step(Tr(QStringLiteral("Объединение таблицы {table}"),
                                  QStringLiteral("msgExchangeMerging"))
                                   .replace(QStringLiteral("{table}"), table.name),
                               0);
            if (!MergeTable(table, marks.value(table.name.toLower()) == kExchangeOrganisationTable))
                return false;
        }
        return true;
    }

    QString Proposed(const CSQLExchangeTable& table, const QString& column, bool organisations) {
        const QString quoted = Quoted(column);
        if (column.compare(table.key, Qt::CaseInsensitive) == 0)
            return organisations
                       ? QString::number(wizard.m_region)
                       : QStringLiteral("%1+%2").arg(quoted).arg(helper()->RowIdOffset(table.name));
        if (column.compare(QStringLiteral("nRegionDataID"), Qt::CaseInsensitive) == 0)
            return QString::number(wizard.m_region);
        for (const CSQLExchangeReference& ref : table.references)
            if (ref.column.compare(column, Qt::CaseInsensitive) == 0)
                return QStringLiteral("IF(%1>0,%1+%2,%1)")
                    .arg(quoted)
                    .arg(helper()->RowIdOffset(ref.table));
        return quoted;
    }

    bool MergeTable(const CSQLExchangeTable& table, bool organisations) {
        const CSQLExchangeTableInfo* info = reader.FindTable(table.name);
        if (!info)
            return !organisations || Fail(Tr(QStringLiteral("В пакете обмена нет сведений об "
                                                            "организации-отправителе"),
                                             QStringLiteral("msgExchangeNoSenderCard")));
        QStringList names, expressions;
        for (const CSQLExchangeColumn& c : info->columns) {
            names << Quoted(c.name);
            expressions << helper()->GetFieldExpression(table.name, c.name,
                                                        Proposed(table, c.name, organisations));
        }
        bool hasRegion = false;
        for (const CSQLExchangeColumn& c : info->columns)
            hasRegion |= c.name.compare(QStringLiteral("nRegionDataID"), Qt::CaseInsensitive) == 0;
        if (!hasRegion && !organisations &&
            HasColumn(table.name, QStringLiteral("nRegionDataID"))) {
            names << QStringLiteral("`nRegionDataID`");
            expressions << QString::number(wizard.m_region);
        }
        const QString head = QStringLiteral("INSERT INTO ") + Quoted(table.name) +
                             QStringLiteral(" (") + names.join(u',') + QStringLiteral(") ");
        QString select = QStringLiteral("SELECT ") + expressions.join(u',') +
                         QStringLiteral(" FROM ") + helper()->LoadTable(table.name) +
                         QStringLiteral(" AS ") + Quoted(table.name);
        if (organisations) {
            // The sender's card replaces the row that holds its number.
            const QString remove =
                QStringLiteral("DELETE FROM ") + Quoted(table.name) +
                QStringLiteral(" WHERE %1=%2").arg(Quoted(table.key)).arg(wizard.m_region);
            if (!Exec(remove).isValid())
                return FailStatement(remove);
        }
        if (!helper()->QueryInsert(table.name, select, head, error))
            return false;
        if (organisations) {
            bool ok = false;
            const qint64 kept = Scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2=%3")
                                           .arg(Quoted(table.name), Quoted(table.key))
                                           .arg(wizard.m_region),
                                       &ok);
            if (!ok || kept != 1)
                return Fail(Tr(QStringLiteral("В пакете обмена нет сведений об "
                                              "организации-отправителе"),
                               QStringLiteral("msgExchangeNoSenderCard")));
        }
        return true;
    }
};

bool CSQLImportWizard::Import(CxSQL* sql, const QString& path, CvProgress* progress,
                              CSQLWizardLog* log, QString* error) {
    m_sender.clear();
    m_region = -1;
    m_loadId = 0;
    m_rows.clear();
    m_helper->m_pSQL = sql;
    m_helper->m_pLog = log;
    m_helper->SetLoadPrefix(LoadPrefix());

    Run run{*this, sql, progress, error, {}, {}, {}, {}};
    if (!run.CheckPackage(path))
        return false;

    // The organisation number is found or allocated, and the load merged,
    // under one hold of the lock: two copies that receive at once never take
    // the same number or mix their loads.
    run.locked = sql->Lock(kLockSeconds) != 0;
    if (!run.locked)
        return run.Fail(Tr(QStringLiteral("База данных занята другой операцией. Повторите "
                                          "загрузку позже."),
                           QStringLiteral("msgExchangeBusy")));
    if (!run.CreateLoadTables())
        return false;
    if (!sql->BeginTransaction())
        return run.FailStatement(QStringLiteral("START TRANSACTION"));
    run.inTransaction = true;

    qint64 total = 0;
    for (const CSQLExchangeTableInfo& info : run.reader.Tables())
        total += info.rows;
    if (progress)
        progress->BeginProgress(
            Tr(QStringLiteral("Загрузка данных"), QStringLiteral("msgExchangeImporting")),
            int(std::min<qint64>(total, INT_MAX)));
    if (!run.LoadRows())
        return false;

    QString orgError;
    m_region = m_helper->GetOrgNumber(m_sender, QString(), &orgError);
    if (m_region <= 0)
        return run.Fail(orgError);
    m_helper->m_nRegionID = m_region;
    QHash<QString, int> marks;
    m_helper->FillTableMap(marks);
    QHash<QString, int> lowered;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        lowered.insert(it.key().toLower(), it.value());
    if (!run.Merge(lowered))
        return false;

    if (!m_helper->SaveLoadSnapshot(m_region, run.reader.Attributes(), &m_loadId, error))
        return false;

    if (!sql->CommitTransaction())
        return run.FailStatement(QStringLiteral("COMMIT"));
    run.inTransaction = false;
    if (progress)
        progress->EndProgress();
    return true;
}

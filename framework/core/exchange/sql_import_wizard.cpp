#include "sql_import_wizard.h"

#include "exchange_sql.h"
#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "sql_export_wizard.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSet>

#include <future>
#include <limits>

namespace {

using namespace ExchangeSQL;

// A multi-row INSERT into a load table is sent once it passes this size.
constexpr qsizetype kStatementBytes = 512 * 1024;

constexpr CxTr Tr;

const char kRegionColumn[] = "nRegionDataID";

QDateTime Stamp(const QString& text) {
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

QString StampText(const QDateTime& stamp) {
    return stamp.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

} // namespace

QString CSQLImportWizard::LastPackageVariable(const QString& orgID) {
    // The identifier may be longer than the settings table's name column.
    return QStringLiteral("ExchangeLast.") +
           QString::fromLatin1(
               QCryptographicHash::hash(orgID.trimmed().toLower().toUtf8(), QCryptographicHash::Md5)
                   .toHex());
}

bool CSQLImportWizard::LastPackageStamp(CxSQL* sql, const QString& orgID, QString* stamp,
                                        QString* error) {
    stamp->clear();
    const QString statement = QStringLiteral("SELECT cValue FROM dbsettings WHERE cVariable=%1")
                                  .arg(SafeSQL(LastPackageVariable(orgID)));
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        if (error)
            *error = StatementError(sql, statement);
        return false;
    }
    if (res.FetchRow())
        *stamp = res.SFieldValue(0).trimmed();
    return true;
}

// One import: the state that the steps share, and the clean-up on every way
// out (rollback, the load's temporary tables, the lock).
struct CSQLImportWizard::Run {
    Run(CSQLImportWizard& wizard, CxSQL* sql, CvProgress* progress, QString* error)
        : wizard(wizard), sql(sql), progress(progress), error(error) {}

    CSQLImportWizard& wizard;
    CxSQL* sql;
    CvProgress* progress;
    QString* error;
    CSQLExchangePackageReader reader;
    QList<CSQLExchangeTable> tables; // those of the helper that the package carries
    QHash<QString, QList<CSQLExchangeColumn>> targetColumns;
    QStringList loadTables;
    // Package number of an organisation -> the receiver's number for it (0:
    // the receiver's own rows, sent back to it, which are never filed again).
    QMap<int, int> origins;
    // Numbers whose rows the package replaces: the sender's and those of the
    // organisations it passes on.
    QList<int> replaced;
    // Organisations new to the receiver: package number -> receiver's number;
    // their cards come from the package.
    QMap<int, int> newOrganisations;
    // Numbers of the organisations whose rows the package passes on older
    // than the receiver's: their rows stay as the receiver has them, like the
    // receiver's own rows sent back.
    QList<int> kept;
    // The creation stamps of the data of the organisations the package
    // passes on and replaces, by identifier, to be remembered with the load.
    QMap<QString, QString> originStamps;
    // Tables whose own rows sent back were found in the receiver: the
    // references to them go to the receiver's rows.
    QSet<QString> ownMapped;
    // Receiving tables that held no row: the merge fills them in bulk.
    QSet<QString> bulk;
    bool locked = false;
    bool inTransaction = false;

    ~Run() {
        if (inTransaction)
            sql->RollbackAfterFailure(error);
        for (const QString& t : std::as_const(loadTables))
            sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + t);
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
            if (!helper()->GetOriginRowExpression(table.name, true).isEmpty()) {
                const QString own = OwnMapTable(table.name);
                Exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + own);
                const QString make = QStringLiteral("CREATE TEMPORARY TABLE ") + own +
                                     QStringLiteral(" (nFrom INT NOT NULL PRIMARY KEY,nTo INT "
                                                    "NOT NULL)");
                if (!Exec(make).isValid())
                    return FailStatement(make);
                loadTables << own;
                // Where the replaced rows were and where they are after the
                // merge, and where the kept rows of others are, by their
                // organisation and their ROWID there.
                for (const QString& place :
                     {WasTable(table.name), NowTable(table.name), KeptTable(table.name)}) {
                    Exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + place);
                    const QString spot =
                        QStringLiteral("CREATE TEMPORARY TABLE ") + place +
                        QStringLiteral(" (nRowID INT NOT NULL,nRegion INT NOT NULL,nOrigin INT "
                                       "NOT NULL,PRIMARY KEY (nRegion,nOrigin),KEY (nRowID))");
                    if (!Exec(spot).isValid())
                        return FailStatement(spot);
                    loadTables << place;
                }
            }
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
                progress->SetRange(int(std::min<qint64>(info->rows, INT_MAX)),
                                   TableCaption(table.name));
            if (!reader.BeginTable(info->name, error))
                return false;
            QStringList names;
            for (const CSQLExchangeColumn& c : info->columns)
                names << Quoted(c.name);
            // The rows go in under the receiver's numbers of their
            // organisations (MapOrigins), also where the package lacks the
            // column.
            qsizetype region = -1;
            QByteArray missingRegion;
            if (HasColumn(table.name, QString::fromLatin1(kRegionColumn))) {
                for (qsizetype i = 0; i < info->columns.size(); ++i)
                    if (info->columns[i].name.compare(QString::fromLatin1(kRegionColumn),
                                                      Qt::CaseInsensitive) == 0)
                        region = i;
                if (region < 0) {
                    names << Quoted(QString::fromLatin1(kRegionColumn));
                    missingRegion = ',' + QByteArray::number(Receiving(0));
                }
            }
            const QString head = QStringLiteral("INSERT INTO ") + helper()->LoadTable(table.name) +
                                 QStringLiteral(" (") + names.join(u',') +
                                 QStringLiteral(") VALUES ");
            const QByteArray headUtf8 = head.toUtf8();
            // The server takes one statement while the next is read from the
            // package and written: two buffers, one statement under way.
            QByteArray statement, sending;
            statement.reserve(kStatementBytes + 64 * 1024);
            sending.reserve(kStatementBytes + 64 * 1024);
            qint64 rows = 0, pending = 0, sendingRows = 0;
            std::future<CxResult> underWay;
            auto finish = [&]() {
                if (!underWay.valid())
                    return true;
                const CxResult res = underWay.get();
                if (!res.isValid())
                    return Fail(res.Error().text + u'\n' + table.name);
                if (progress)
                    progress->Step(QString(), int(sendingRows));
                return !Cancelled();
            };
            auto send = [&]() {
                if (!finish())
                    return false;
                if (pending == 0)
                    return true;
                std::swap(statement, sending);
                statement.truncate(0); // keeps the buffer for the next statement
                sendingRows = pending;
                pending = 0;
                underWay = std::async(std::launch::async,
                                      [this, &sending] { return sql->ExecuteRaw(sending); });
                return true;
            };
            CSQLExchangeRow row;
            while (reader.ReadRow(row)) {
                if (pending == 0)
                    statement += headUtf8;
                else
                    statement += ',';
                statement += '(';
                for (qsizetype i = 0; i < row.size(); ++i) {
                    if (i > 0)
                        statement += ',';
                    const QByteArray& v = row[i];
                    if (i == region)
                        statement += QByteArray::number(Receiving(PackageNumber(v)));
                    else if (v.isNull())
                        statement += "NULL";
                    else if (info->columns[i].numeric && IsNumericLiteral(v))
                        statement += v;
                    else
                        AppendSQLLiteral(statement, v);
                }
                statement += missingRegion;
                statement += ')';
                ++rows;
                ++pending;
                if (statement.size() > kStatementBytes && !send())
                    return false;
            }
            if (!reader.EndTable(error) || !send() || !finish())
                return false;
            wizard.m_rows.insert(table.name, rows);
        }
        return true;
    }

    // An organisation number of the package as the server would read it
    // into an int column: NULL and what is no number count as 0.
    static int PackageNumber(const QByteArray& value) {
        bool ok = false;
        const int number = value.isNull() ? 0 : value.trimmed().toInt(&ok);
        return ok ? number : 0;
    }
    // The receiver's number for an organisation number of the package; one
    // the package does not name is the sender's.
    int Receiving(int number) const { return origins.value(number, wizard.m_region); }

    // The organisation numbers that the package's rows carry, read before
    // any row is loaded, so that the rows go in already placed.
    bool UsedNumbers(QSet<int>* used) {
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            const CSQLExchangeTableInfo* info = reader.FindTable(table.name);
            if (!info || info->rows == 0 ||
                !HasColumn(table.name, QString::fromLatin1(kRegionColumn)))
                continue;
            qsizetype region = -1;
            for (qsizetype i = 0; i < info->columns.size(); ++i)
                if (info->columns[i].name.compare(QString::fromLatin1(kRegionColumn),
                                                  Qt::CaseInsensitive) == 0)
                    region = i;
            if (region < 0) {
                used->insert(0); // the column's default
                continue;
            }
            if (!reader.BeginTable(info->name, error))
                return false;
            CSQLExchangeRow row;
            while (reader.ReadRow(row))
                used->insert(PackageNumber(row[region]));
            if (!reader.EndTable(error))
                return false;
            if (Cancelled())
                return false;
        }
        return true;
    }

    // The load's own rows of a table (those the receiver sent out itself)
    // paired with the receiver's rows they are.
    QString OwnMapTable(const QString& table) const {
        return Quoted(CSQLImportWizard::LoadPrefix() + QStringLiteral("own_") + table);
    }

    QString WasTable(const QString& table) const {
        return Quoted(CSQLImportWizard::LoadPrefix() + QStringLiteral("was_") + table);
    }
    QString NowTable(const QString& table) const {
        return Quoted(CSQLImportWizard::LoadPrefix() + QStringLiteral("now_") + table);
    }
    QString KeptTable(const QString& table) const {
        return Quoted(CSQLImportWizard::LoadPrefix() + QStringLiteral("kept_") + table);
    }
    static QString NumberList(const QList<int>& numbers) {
        QStringList texts;
        for (int number : numbers)
            texts << QString::number(number);
        return texts.join(u',');
    }
    QString ReplacedList() const { return NumberList(replaced); }
    // The numbers whose rows of the load are not merged: the receiver's own
    // (0) and those of the organisations kept as the receiver has them.
    QString KeptList() const { return NumberList(QList<int>{0} + kept); }

    // Notes where the rows of the organisations numbered in list are (into
    // table's "was", "now" or "kept" table), by their organisation and their
    // ROWID there.
    bool NoteRows(const CSQLExchangeTable& table, const QString& place, const QString& list) {
        const QString note =
            QStringLiteral("INSERT IGNORE INTO %1 (nRowID,nRegion,nOrigin) SELECT %2,"
                           "nRegionDataID,o FROM (SELECT %2,nRegionDataID,%3 AS o FROM %4 WHERE "
                           "nRegionDataID IN (%5)) AS r WHERE o IS NOT NULL")
                .arg(place, Quoted(table.key), helper()->GetOriginRowExpression(table.name, false),
                     Quoted(table.name), list);
        return Exec(note).isValid() || FailStatement(note);
    }
    bool NoteReplacedRows(const CSQLExchangeTable& table, const QString& place) {
        return NoteRows(table, place, ReplacedList());
    }

    // The rows the package does not replace (the receiver's own, other
    // organisations') that refer to a replaced row follow it to its new
    // ROWID: a visit of a received client stays that client's.
    bool FollowReplacedRows() {
        for (const CSQLExchangeTable& target : std::as_const(tables)) {
            if (helper()->GetOriginRowExpression(target.name, false).isEmpty() ||
                !HasColumn(target.name, QString::fromLatin1(kRegionColumn)))
                continue;
            if (!NoteReplacedRows(target, NowTable(target.name)))
                return false;
            for (const CSQLExchangeTable& table : std::as_const(tables)) {
                if (!HasColumn(table.name, QString::fromLatin1(kRegionColumn)))
                    continue;
                for (const CSQLExchangeReference& ref : table.references) {
                    if (ref.table.compare(target.name, Qt::CaseInsensitive) != 0)
                        continue;
                    const QString follow =
                        QStringLiteral("UPDATE %1 AS r JOIN %2 AS w ON w.nRowID=r.%3 JOIN %4 AS n "
                                       "ON n.nRegion=w.nRegion AND n.nOrigin=w.nOrigin SET "
                                       "r.%3=n.nRowID WHERE IFNULL(r.nRegionDataID,0) NOT IN (%5) "
                                       "AND r.%3<>n.nRowID")
                            .arg(Quoted(table.name), WasTable(target.name), Quoted(ref.column),
                                 NowTable(target.name), ReplacedList());
                    if (!Exec(follow).isValid())
                        return FailStatement(follow);
                }
            }
        }
        return true;
    }

    // A package older than the last one received from its sender would bring
    // back what later packages changed: refused unless the user confirmed it.
    bool CheckStamp() {
        const QDateTime created = Stamp(reader.Attributes().value(QStringLiteral("Created")));
        if (!created.isValid() || wizard.m_acceptOlder)
            return true;
        QString held;
        if (!CSQLImportWizard::LastPackageStamp(sql, wizard.m_sender, &held, error))
            return false;
        const QDateTime last = Stamp(held);
        if (!last.isValid() || created >= last)
            return true;
        wizard.m_refusedAsOlder = true;
        return Fail(Tr(QStringLiteral("Пакет организации {org} создан {created}, а последний "
                                      "принятый от нее пакет создан {last}. Более старый пакет "
                                      "заменил бы более новые данные, поэтому он не загружен."),
                       QStringLiteral("msgExchangeOlderPackage"))
                        .replace(QStringLiteral("{org}"), wizard.m_sender)
                        .replace(QStringLiteral("{created}"), StampText(created))
                        .replace(QStringLiteral("{last}"), StampText(last)));
    }

    // The receiver now holds the sender's data as of the package's creation,
    // and those of every organisation the package passed on and replaced as
    // of the stamp the sender had of them.
    bool RememberStamp() {
        QMap<QString, QString> stamps = originStamps;
        stamps.insert(wizard.m_sender, reader.Attributes().value(QStringLiteral("Created")));
        for (auto it = stamps.cbegin(); it != stamps.cend(); ++it) {
            if (!Stamp(it.value()).isValid())
                continue;
            const QString statement =
                QStringLiteral("REPLACE INTO dbsettings (cVariable,cValue) VALUES (%1,%2)")
                    .arg(SafeSQL(CSQLImportWizard::LastPackageVariable(it.key())),
                         SafeSQL(it.value()));
            if (!Exec(statement).isValid())
                return FailStatement(statement);
        }
        return true;
    }

    // An organisation's rows passed on older than the data the receiver
    // holds of it would replace newer ones: unless the user confirmed it,
    // they are left out (*older; its number goes to `kept`) with a message
    // naming it and both dates.
    bool KeepNewer(int number, const QString& org, int known, bool* older) {
        *older = false;
        const QString carried =
            reader.Attributes().value(CSQLExportWizard::OriginCreatedAttribute(number));
        const QDateTime stamp = Stamp(carried);
        if (!stamp.isValid())
            return true;
        if (known > 0 && !wizard.m_acceptOlder) {
            QString held;
            if (!CSQLImportWizard::LastPackageStamp(sql, org, &held, error))
                return false;
            const QDateTime last = Stamp(held);
            if (last.isValid() && stamp < last) {
                *older = true;
                const QString text =
                    Tr(QStringLiteral("Данные организации {org} в пакете организации {sender} "
                                      "созданы {created}, а в базе уже есть ее данные, созданные "
                                      "{last}. Более старые данные заменили бы более новые, "
                                      "поэтому данные организации {org} из этого пакета не "
                                      "загружены."),
                       QStringLiteral("msgExchangeOlderOrigin"))
                        .replace(QStringLiteral("{org}"), org)
                        .replace(QStringLiteral("{sender}"), wizard.m_sender)
                        .replace(QStringLiteral("{created}"), StampText(stamp))
                        .replace(QStringLiteral("{last}"), StampText(last));
                wizard.m_olderOrigins << text;
                if (helper()->m_pLog)
                    helper()->m_pLog->AddWarning(text, 1);
                return true;
            }
        }
        originStamps.insert(org, carried);
        return true;
    }

    // Every row of the package is placed under the receiver's number of the
    // organisation it came from, named in the package by its identifier. A
    // package without that information (an older program's) is all the
    // sender's, as are rows whose number the package does not name. The
    // receiver's own rows sent back to it are marked 0. The load writes the
    // rows with these numbers (Receiving).
    bool MapOrigins() {
        const int region = wizard.m_region;
        const QString ownOrg = helper()->GetOwnOrgID().trimmed();
        replaced = {region};
        const CSQLExchangeAttributes& attributes = reader.Attributes();
        const QString prefix = CSQLExportWizard::OriginPrefix();
        // Only organisations that own rows of the package are placed: one the
        // sender merely knows of gets no entry here, and its rows stay.
        QSet<int> used;
        if (!UsedNumbers(&used))
            return false;
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
            if (!it.key().startsWith(prefix))
                continue;
            bool ok = false;
            const int number = it.key().mid(prefix.size()).toInt(&ok);
            const QString org = it.value().trimmed();
            if (!ok || org.isEmpty() || !used.contains(number))
                continue;
            if (org.compare(ownOrg, Qt::CaseInsensitive) == 0) {
                origins.insert(number, 0);
                continue;
            }
            if (org.compare(wizard.m_sender, Qt::CaseInsensitive) == 0) {
                origins.insert(number, region);
                continue;
            }
            QString orgError;
            const int known = helper()->FindOrgNumber(org, QString(), &orgError);
            if (!orgError.isEmpty())
                return Fail(orgError);
            bool older = false;
            if (!KeepNewer(number, org, known, &older))
                return false;
            if (older) {
                origins.insert(number, known);
                if (!kept.contains(known))
                    kept << known;
                continue;
            }
            const int mine = helper()->GetOrgNumber(org, QString(), &orgError);
            if (mine <= 0)
                return Fail(orgError);
            origins.insert(number, mine);
            if (known < 0)
                newOrganisations.insert(number, mine);
            if (!replaced.contains(mine))
                replaced << mine;
        }
        return true;
    }

    // The receiver's own rows sent back to it, and those of the organisations
    // kept as the receiver has them, paired with the receiver's rows they are.
    bool PairKeptRows() {
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            if (!HasColumn(table.name, QString::fromLatin1(kRegionColumn)))
                continue;
            const QString origin = helper()->GetOriginRowExpression(table.name, true);
            if (origin.isEmpty() || (!origins.values().contains(0) && kept.isEmpty()))
                continue;
            const QString pair =
                QStringLiteral("INSERT INTO %1 (nFrom,nTo) SELECT x.nFrom,t.%2 FROM (SELECT %2 AS "
                               "nFrom,%3 AS nOrigin FROM %4 AS %5 WHERE nRegionDataID=0) AS x "
                               "JOIN %5 AS t ON t.%2=x.nOrigin WHERE IFNULL(t.nRegionDataID,0)=0")
                    .arg(OwnMapTable(table.name), Quoted(table.key), origin,
                         helper()->LoadTable(table.name), Quoted(table.name));
            if (!Exec(pair).isValid())
                return FailStatement(pair);
            // The kept organisations' rows of the load are the receiver's rows
            // of the same organisation with the same ROWID there.
            if (!kept.isEmpty()) {
                if (!NoteRows(table, KeptTable(table.name), NumberList(kept)))
                    return false;
                const QString pairKept =
                    QStringLiteral("INSERT INTO %1 (nFrom,nTo) SELECT x.nFrom,k.nRowID FROM "
                                   "(SELECT %2 AS nFrom,nRegionDataID AS nRegion,%3 AS nOrigin "
                                   "FROM %4 AS %5 WHERE nRegionDataID IN (%6)) AS x JOIN %7 AS k "
                                   "ON k.nRegion=x.nRegion AND k.nOrigin=x.nOrigin")
                        .arg(OwnMapTable(table.name), Quoted(table.key), origin,
                             helper()->LoadTable(table.name), Quoted(table.name), NumberList(kept),
                             KeptTable(table.name));
                if (!Exec(pairKept).isValid())
                    return FailStatement(pairKept);
            }
            bool ok = false;
            if (Scalar(QStringLiteral("SELECT COUNT(*) FROM ") + OwnMapTable(table.name), &ok) > 0)
                ownMapped << table.name.toLower();
            if (!ok)
                return FailStatement(QStringLiteral("SELECT COUNT(*) FROM ") +
                                     OwnMapTable(table.name));
        }
        return true;
    }

    qint64 Scalar(const QString& statement, bool* ok) {
        CxResult res = Exec(statement);
        *ok = res.isValid() && res.FetchRow();
        return *ok ? res.SFieldValue(0).toLongLong() : 0;
    }

    // The earlier rows of the organisations the package carries go, then the
    // load is merged with its ids moved past the receiving tables' own.
    bool Merge(const QHash<QString, int>& marks) {
        for (const CSQLExchangeTable& table : std::as_const(tables))
            if (!helper()->GetOriginRowExpression(table.name, true).isEmpty() &&
                HasColumn(table.name, QString::fromLatin1(kRegionColumn)) &&
                !NoteReplacedRows(table, WasTable(table.name)))
                return false;
        // A table that is still empty takes the load in bulk; it has no rows
        // to remove (a DELETE, even of nothing, would make the server place
        // the rows one by one).
        for (const CSQLExchangeTable& table : std::as_const(tables))
            if (marks.value(table.name.toLower()) != kExchangeOrganisationTable &&
                BulkInsertAllowed(sql, table.name, table.key))
                bulk << table.name.toLower();
        for (qsizetype i = tables.size() - 1; i >= 0; --i) {
            const CSQLExchangeTable& table = tables[i];
            if (marks.value(table.name.toLower()) == kExchangeOrganisationTable ||
                bulk.contains(table.name.toLower()) ||
                !HasColumn(table.name, QStringLiteral("nRegionDataID")))
                continue;
            const QString remove =
                QStringLiteral("DELETE FROM ") + Quoted(table.name) +
                QStringLiteral(" WHERE nRegionDataID IN (%1)").arg(ReplacedList());
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
            if (!table.wideKey && highest > std::numeric_limits<int>::max() - offset)
                return Fail(Tr(QStringLiteral("Номера записей в таблице «{table}» исчерпаны: "
                                              "пакет не может быть загружен"),
                               QStringLiteral("msgExchangeIdsExhausted"))
                                .replace(QStringLiteral("{table}"), TableCaption(table.name)));
            helper()->SetRowIdOffset(table.name, offset);
        }
        for (const CSQLExchangeTable& table : std::as_const(tables)) {
            if (Cancelled())
                return false;
            if (progress)
                progress->Step(Tr(QStringLiteral("Объединение данных: {table}"),
                                  QStringLiteral("msgExchangeMerging"))
                                   .replace(QStringLiteral("{table}"), TableCaption(table.name)),
                               0);
            if (!MergeTable(table, marks.value(table.name.toLower()) == kExchangeOrganisationTable))
                return false;
        }
        return FollowReplacedRows();
    }

    QString Proposed(const CSQLExchangeTable& table, const QString& column, bool organisations) {
        const QString quoted = Quoted(column);
        if (column.compare(table.key, Qt::CaseInsensitive) == 0)
            return organisations
                       ? QString::number(wizard.m_region)
                       : QStringLiteral("%1+%2").arg(quoted).arg(helper()->RowIdOffset(table.name));
        // Placed by the load (MapOrigins).
        if (column.compare(QString::fromLatin1(kRegionColumn), Qt::CaseInsensitive) == 0)
            return quoted;
        for (const CSQLExchangeReference& ref : table.references) {
            if (ref.column.compare(column, Qt::CaseInsensitive) != 0)
                continue;
            const qint64 offset = helper()->RowIdOffset(ref.table);
            if (ownMapped.contains(ref.table.toLower()))
                return QStringLiteral("IF(%1>0,IFNULL((SELECT m.nTo FROM %3 AS m WHERE "
                                      "m.nFrom=%1),%1+%2),%1)")
                    .arg(quoted)
                    .arg(offset)
                    .arg(OwnMapTable(ref.table));
            return QStringLiteral("IF(%1>0,%1+%2,%1)").arg(quoted).arg(offset);
        }
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
        const bool placed = HasColumn(table.name, QString::fromLatin1(kRegionColumn));
        if (!hasRegion && !organisations && placed) {
            names << Quoted(QString::fromLatin1(kRegionColumn));
            expressions << Quoted(QString::fromLatin1(kRegionColumn));
        }
        const QString head = QStringLiteral("INSERT INTO ") + Quoted(table.name) +
                             QStringLiteral(" (") + names.join(u',') + QStringLiteral(") ");
        QString select = QStringLiteral("SELECT ") + expressions.join(u',') +
                         QStringLiteral(" FROM ") + helper()->LoadTable(table.name) +
                         QStringLiteral(" AS ") + Quoted(table.name);
        // The receiver's own rows sent back to it, and the kept ones of others,
        // stay as the receiver has them.
        if (placed && !organisations)
            select += QStringLiteral(" WHERE nRegionDataID NOT IN (%1)").arg(KeptList());
        if (organisations) {
            // The sender's card replaces the row that holds its number.
            const QString remove =
                QStringLiteral("DELETE FROM ") + Quoted(table.name) +
                QStringLiteral(" WHERE %1=%2").arg(Quoted(table.key)).arg(wizard.m_region);
            if (!Exec(remove).isValid())
                return FailStatement(remove);
        }
        {
            const CBulkInsertScope scope(sql, bulk.contains(table.name.toLower()));
            if (!helper()->QueryInsert(table.name, select, head, error))
                return false;
        }
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
            // An organisation the receiver meets for the first time through
            // this package takes the card the sender has of it.
            for (auto it = newOrganisations.cbegin(); it != newOrganisations.cend(); ++it) {
                QStringList cardExpressions = expressions;
                for (qsizetype i = 0; i < info->columns.size(); ++i)
                    if (info->columns[i].name.compare(table.key, Qt::CaseInsensitive) == 0)
                        cardExpressions[i] = QString::number(it.value());
                const QString card =
                    head + QStringLiteral("SELECT ") + cardExpressions.join(u',') +
                    QStringLiteral(" FROM ") + helper()->LoadTable(table.name) +
                    QStringLiteral(" AS ") + Quoted(table.name) +
                    QStringLiteral(" WHERE %1=%2").arg(Quoted(table.key)).arg(it.key());
                bool present = false;
                const qint64 rows =
                    Scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2=%3")
                               .arg(helper()->LoadTable(table.name), Quoted(table.key))
                               .arg(it.key()),
                           &present);
                if (!present)
                    return FailStatement(card);
                if (rows != 1)
                    continue;
                const QString remove =
                    QStringLiteral("DELETE FROM ") + Quoted(table.name) +
                    QStringLiteral(" WHERE %1=%2").arg(Quoted(table.key)).arg(it.value());
                if (!Exec(remove).isValid())
                    return FailStatement(remove);
                if (!Exec(card).isValid())
                    return FailStatement(card);
            }
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
    m_refusedAsOlder = false;
    m_olderOrigins.clear();
    m_helper->m_pSQL = sql;
    m_helper->m_pLog = log;
    m_helper->SetLoadPrefix(LoadPrefix());

    Run run(*this, sql, progress, error);
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
    if (!run.CheckStamp() || !run.CreateLoadTables())
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
    QString orgError;
    m_region = m_helper->GetOrgNumber(m_sender, QString(), &orgError);
    if (m_region <= 0)
        return run.Fail(orgError);
    m_helper->m_nRegionID = m_region;
    if (!run.MapOrigins() || !run.LoadRows() || !run.PairKeptRows())
        return false;
    QHash<QString, int> marks;
    m_helper->FillTableMap(marks);
    QHash<QString, int> lowered;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        lowered.insert(it.key().toLower(), it.value());
    if (!run.Merge(lowered))
        return false;

    if (progress)
        progress->Step(
            Tr(QStringLiteral("Запись сведений о загрузке"), QStringLiteral("msgExchangeSnapshot")),
            0);
    if (!m_helper->SaveLoadSnapshot(m_region, run.reader.Attributes(), &m_loadId, error) ||
        !run.RememberStamp())
        return false;
    if (progress)
        progress->Step(Tr(QStringLiteral("Сохранение загруженных данных"),
                          QStringLiteral("msgExchangeCommitting")),
                       0);

    if (!sql->CommitTransaction())
        return run.FailStatement(QStringLiteral("COMMIT"));
    run.inTransaction = false;
    if (progress)
        progress->EndProgress();
    return true;
}

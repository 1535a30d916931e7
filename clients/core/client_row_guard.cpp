#include "client_row_guard.h"

#include "sql_run.h"

namespace {
CStoredRowValues RowValues(const CxResult& r) {
    CStoredRowValues values;
    for (int i = 0; i < r.FieldsCount(); ++i) {
        QString value;
        if (!r.IsNull(i)) {
            value = r.SFieldValue(i);
            if (value.isNull())
                value = QStringLiteral(""); // an empty text is not NULL
        }
        values.insert(r.FieldName(i).toLower(), value);
    }
    return values;
}

const char kAskAgain[] = " Ваши изменения не сохранены, чтобы не затереть чужие: закройте "
                         "карточку без сохранения, откройте её снова и внесите изменения ещё "
                         "раз.";
} // namespace

bool ReadStoredRows(CxSQL* sql, const QString& table, const QString& where, bool lock,
                    QHash<qint64, CStoredRowValues>* rows, QString* error) {
    rows->clear();
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + where +
                          (lock ? QStringLiteral(" FOR UPDATE") : QString()),
                      &r, error))
        return false;
    while (r.FetchRow()) {
        const CStoredRowValues values = RowValues(r);
        rows->insert(values.value(QStringLiteral("rowid")).toLongLong(), values);
    }
    return true;
}

bool SameStoredRow(const CStoredRowValues& loaded, const CStoredRowValues& now,
                   const QStringList& ignored) {
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (ignored.contains(it.key()))
            continue;
        const auto old = loaded.constFind(it.key());
        if (old == loaded.cend() || old->isNull() != it->isNull() || *old != *it)
            return false;
    }
    for (auto it = loaded.cbegin(); it != loaded.cend(); ++it)
        if (!ignored.contains(it.key()) && !now.contains(it.key()))
            return false;
    return true;
}

CRuleVerdict HistoryRowChangedMeanwhile(const QDate& date, int page) {
    QString text = ClientRuleText("Запись на дату {date} изменили или удалили в другом окне или "
                                  "на другом компьютере после того, как вы открыли карточку.",
                                  "msgHistoryChangedMeanwhile") +
                   ClientRuleText(kAskAgain, "msgAskToEditAgain");
    text.replace(QLatin1String("{date}"), date.toString(QStringLiteral("dd.MM.yyyy")));
    return CRuleVerdict::Refuse(EClientField::PageDate,
                                QStringLiteral("msgHistoryChangedMeanwhile"), text, page);
}

CRuleVerdict HealthChangedMeanwhile() {
    return CRuleVerdict::Refuse(
        EClientField::HealthStatus, QStringLiteral("msgHealthChangedMeanwhile"),
        ClientRuleText("Состояние здоровья этого клиента сохранили в другом окне или на другом "
                       "компьютере после того, как вы открыли карточку.",
                       "msgHealthChangedMeanwhile") +
            ClientRuleText(kAskAgain, "msgAskToEditAgain"));
}

#include "client_row_guard.h"

#include "sql_run.h"

bool ReadClientRow(CxSQL* sql, qint64 clientId, bool lock, CClientRowSnapshot* row,
                   QString* error) {
    *row = CClientRowSnapshot();
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT * FROM clientdata WHERE ROWID=") +
                          QString::number(clientId) +
                          (lock ? QStringLiteral(" FOR UPDATE") : QString()),
                      &r, error))
        return false;
    if (!r.FetchRow())
        return true;
    row->exists = true;
    for (int i = 0; i < r.FieldsCount(); ++i) {
        QString value;
        if (!r.IsNull(i)) {
            value = r.SFieldValue(i);
            if (value.isNull())
                value = QStringLiteral(""); // an empty text is not NULL
        }
        row->values.insert(r.FieldName(i).toLower(), value);
    }
    return true;
}

CRuleVerdict CheckClientRowUnchanged(const CClientRowSnapshot& loaded,
                                     const CClientRowSnapshot& now) {
    if (!now.exists)
        return CRuleVerdict::Refuse(
            EClientField::ClientCode, QStringLiteral("msgClientDeletedMeanwhile"),
            ClientRuleText("Этого клиента удалили в другом окне или на другом компьютере, пока "
                           "карточка была открыта. Карточка не сохранена.",
                           "msgClientDeletedMeanwhile"));
    bool same = loaded.exists && loaded.values.size() == now.values.size();
    for (auto it = now.values.cbegin(); same && it != now.values.cend(); ++it) {
        const auto old = loaded.values.constFind(it.key());
        same = old != loaded.values.cend() && old->isNull() == it->isNull() && *old == *it;
    }
    if (same)
        return CRuleVerdict();
    return CRuleVerdict::Refuse(
        EClientField::ClientCode, QStringLiteral("msgClientChangedMeanwhile"),
        ClientRuleText("Карточку этого клиента сохранили в другом окне или на другом компьютере "
                       "после того, как вы её открыли. Ваши изменения не сохранены, чтобы не "
                       "затереть чужие: закройте карточку без сохранения, откройте её снова и "
                       "внесите изменения ещё раз.",
                       "msgClientChangedMeanwhile"));
}

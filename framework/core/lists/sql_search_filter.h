#pragma once
// The search of a list: per column a text the value contains (without case,
// as the server compares its texts, so Е finds Ё), a range of numbers or
// dates, or one item of an enumeration. All given criteria must hold; folder
// rows are kept so the user can still walk the folders while searching.
// The criteria are kept as text so a journal can store them and set them
// again on its next opening.
#include "sql_filter.h"

#include <QDate>
#include <QList>
#include <QString>

class CxSQLSearchFilter : public CxSQLFilter {
public:
    enum class Kind { None, Text, Number, Date, Choice };
    // How a field is searched; None for fields that are not (hidden, folder
    // marks and links, fields without a value type).
    static Kind KindOf(const CxField* field);

    // An empty text (blanks only) drops the criterion.
    void SetText(const CxField* field, const QString& text);
    // Numbers as typed ("12", "1,5"); an empty bound is open.
    void SetNumberRange(const CxField* field, const QString& from, const QString& to);
    // Invalid dates are open bounds.
    void SetDateRange(const CxField* field, const QDate& from, const QDate& to);
    // The code of an enumeration item; -1 drops the criterion.
    void SetChoice(const CxField* field, qint64 code);
    void Clear(const CxField* field);
    void ClearAll() { m_criteria.clear(); }
    bool HasCriteria() const { return !m_criteria.isEmpty(); }
    // A search set aside (its panel hidden) keeps its criteria but narrows
    // nothing, so no row is missing from a list without the user seeing why.
    void SetActive(bool active) { m_active = active; }
    bool IsActive() const { return m_active; }

    // A number bound that is not empty and says no number.
    static bool IsBadNumber(const QString& text);

    QString BuildCondition(const CxTable* table) const override;

private:
    struct Criterion {
        const CxField* field = nullptr;
        Kind kind = Kind::None;
        QString text;     // Text
        QString from, to; // Number: as typed
        QDate fromDate, toDate;
        qint64 code = -1;
    };
    void Put(const Criterion& criterion);
    QString Condition(const CxTable* table, const Criterion& c, bool* ok) const;

    QList<Criterion> m_criteria;
    bool m_active = true;
};

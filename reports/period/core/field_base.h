#pragma once
// The common frame of the catalogue's fields: a fixed identifier, result
// column name, title (a message key with its default text, translated each
// time it is asked, after an optional prefix such as "*"), editor-page flags
// and CSS class; and the per-row cache (Refresh calls OnNewRow once per
// fetched row, whichever getter comes first).
#include "reports/base/core/rep_field.h"

class CRepFieldBase : public CRepField {
public:
    CRepFieldBase(long id, const char* fieldName, const char* title, const char* key,
                  unsigned flags, const char* css, const char* titlePrefix = "");

    long GetID() override { return m_id; }
    QString GetFieldName() override { return m_fieldName; }
    QString GetTitle() override;
    unsigned GetFlags() override { return m_flags; }
    QString GetCSSClass() override { return m_css; }

protected:
    void Refresh() {
        if (IsNewRow())
            OnNewRow();
    }
    // Reads the row's columns into the field's cache.
    virtual void OnNewRow() {}
    // Enters the duplication footnote in the run's list and answers its mark,
    // for fields whose grouping may count a client more than once.
    static QString DuplicationWarning(CRepBaseData* run);

    QString m_fieldName;

private:
    long m_id;
    const char* m_title;
    const char* m_key;
    unsigned m_flags;
    QString m_css;
    const char* m_prefix;
};

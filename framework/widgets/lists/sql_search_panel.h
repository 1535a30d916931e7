#pragma once
// The search panel of a list: a field per searchable column (a text the
// value contains, a from–to range of numbers or dates typed as users type
// them, a choice of an enumeration's items) and one button that clears them
// all. It keeps its criteria in a CxSQLSearchFilter that the list's model
// applies on the server; changed() says when the list must be read again.
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/lists/sql_search_filter.h"

#include <QList>
#include <QWidget>
#include <functional>

class QPushButton;
class QScrollArea;
class QTimer;

class CxSQLSearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit CxSQLSearchPanel(QWidget* parent = nullptr);

    // Builds the fields for the columns (the fields of another set go).
    void SetColumns(const QList<CxColumnData>& columns);
    CxSQLSearchFilter* Filter() { return &m_filter; }
    bool HasFields() const { return !m_fields.isEmpty(); }

    // Empties every field; changed() follows when something was set.
    void ClearAll();
    // The criteria as text, by column caption, to keep between sessions; and
    // back (columns no longer in the list are skipped).
    QString SaveState() const;
    void RestoreState(const QString& state);

signals:
    void changed();

private:
    struct Field {
        const CxField* field = nullptr;
        QString caption;
        CxSQLSearchFilter::Kind kind = CxSQLSearchFilter::Kind::None;
        QWidget* from = nullptr; // the text, the lower bound or the choice
        QWidget* to = nullptr;   // the upper bound of a range
    };
    // The filter from the fields as they stand; true when it changed.
    bool Collect();
    void Apply();
    QWidget* AddEditor(Field& field, bool upper);
    static QString ValueOf(const Field& field, QWidget* editor);
    static void SetValueOf(QWidget* editor, const QString& value);
    void FitWidth();

    QList<Field> m_fields;
    CxSQLSearchFilter m_filter;
    QScrollArea* m_scroll;
    QWidget* m_form;
    QPushButton* m_clear;
    QTimer* m_delay;
    QString m_applied; // the state the list was last read with
    bool m_settingUp = false;
};

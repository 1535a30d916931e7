#pragma once
// The frame's status bar: a message pane and the lock-key indicators. While
// the database connection is lost it shows so in a pane of its own, and says
// when the connection is back (notices of kSQLConnectionChannel).
#include "framework/core/app/base_class.h"
#include "framework/core/notify_processor.h"

#include <QHash>
#include <QStatusBar>

class QLabel;

class CxStatusBar : public QStatusBar, public CBaseClass, public CxNotifyProcessor {
    Q_OBJECT
public:
    explicit CxStatusBar(QWidget* parent = nullptr);

    enum : unsigned {
        ID_SEPARATOR = 0,
        ID_INDICATOR_CAPS = 59137,
        ID_INDICATOR_NUM = 59138,
        ID_INDICATOR_SCRL = 59139,
    };
    // Pane 0 is the message pane; the others are indicators. False for an
    // unknown indicator.
    bool SetIndicators(const QList<unsigned>& ids);
    QList<unsigned> Indicators() const { return m_ids; }
    QLabel* Pane(unsigned id) const { return m_panes.value(id); }

    // Reads the lock keys again (the window system's state where it tells).
    void UpdateIndicators();

    // The pane that says the database connection is lost (hidden otherwise).
    QLabel* ConnectionPane() const { return m_connection; }
    void OnNotify(const QString& channel, const QString& message) override;

private:
    QLabel* m_connection;
    QList<unsigned> m_ids;
    QHash<unsigned, QLabel*> m_panes;
};

#pragma once
// Change notices as a Qt signal. The change watcher announces every changed
// table on the notice channel "SQL"; the notifier collects the names of one
// burst (the notices sent before control returns to the event loop) and then
// emits tableChanged once per table, so a list reloads once per burst.
#include "framework/core/notify_processor.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

class CxTableChangeNotifier : public QObject, public CxNotifyProcessor {
    Q_OBJECT
public:
    // The application's one notifier (made on first use, on the thread that
    // runs the event loop).
    static CxTableChangeNotifier* Instance();

    void OnNotify(const QString& channel, const QString& message) override;
    // Emits what is collected now rather than when the event loop comes back.
    void Flush();

signals:
    // The table name in upper case, as the watcher announces it.
    void tableChanged(const QString& table);

private:
    CxTableChangeNotifier();
    QTimer* m_timer;
    QMutex m_mutex;
    QStringList m_pending;
};

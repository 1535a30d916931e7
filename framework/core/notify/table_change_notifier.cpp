#include "table_change_notifier.h"

#include <QCoreApplication>
#include <QTimer>

CxTableChangeNotifier* CxTableChangeNotifier::Instance() {
    static CxTableChangeNotifier* notifier = new CxTableChangeNotifier;
    return notifier;
}

CxTableChangeNotifier::CxTableChangeNotifier() : m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &CxTableChangeNotifier::Flush);
    RequestForNotify(QStringLiteral("SQL"), QString());
}

void CxTableChangeNotifier::OnNotify(const QString& channel, const QString& message) {
    if (channel.compare(QStringLiteral("SQL"), Qt::CaseInsensitive) != 0 || message.isEmpty())
        return;
    const QString table = message.toUpper();
    {
        QMutexLocker lock(&m_mutex);
        if (!m_pending.contains(table))
            m_pending << table;
    }
    // The timer lives on the notifier's thread; a notice from elsewhere only
    // queues the start.
    QMetaObject::invokeMethod(m_timer, qOverload<>(&QTimer::start), Qt::AutoConnection);
}

void CxTableChangeNotifier::Flush() {
    m_timer->stop();
    QStringList tables;
    {
        QMutexLocker lock(&m_mutex);
        tables.swap(m_pending);
    }
    for (const QString& table : tables)
        emit tableChanged(table);
}

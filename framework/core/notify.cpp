#include "notify_processor.h"
#include "tarvik_app.h"

#include <QList>
#include <QRecursiveMutex>

namespace {
struct Request {
    CxNotifyProcessor* processor;
    QString channel;
    QString message;
};

// Never destroyed: processors that are themselves static objects unregister
// during program exit.
QRecursiveMutex& RegistryMutex() {
    static auto* mutex = new QRecursiveMutex;
    return *mutex;
}

QList<Request>& Registry() {
    static auto* requests = new QList<Request>;
    return *requests;
}

bool IsRegistered(CxNotifyProcessor* processor) {
    for (const Request& r : Registry())
        if (r.processor == processor)
            return true;
    return false;
}
} // namespace

CxNotifyProcessor::CxNotifyProcessor() = default;

CxNotifyProcessor::~CxNotifyProcessor() {
    RemoveAllNotify();
}

void CxNotifyProcessor::RequestForNotify(const QString& channel, const QString& message) {
    QMutexLocker lock(&RegistryMutex());
    for (const Request& r : Registry())
        if (r.processor == this && r.channel.compare(channel, Qt::CaseInsensitive) == 0 &&
            r.message.compare(message, Qt::CaseInsensitive) == 0)
            return;
    Registry().append({this, channel, message});
}

void CxNotifyProcessor::RemoveAllNotify() {
    QMutexLocker lock(&RegistryMutex());
    Registry().removeIf([this](const Request& r) { return r.processor == this; });
}

void CTarvikApp::SendForNotify(const QString& channel, const QString& message) {
    QList<CxNotifyProcessor*> targets;
    {
        QMutexLocker lock(&RegistryMutex());
        for (const Request& r : Registry()) {
            if (r.channel.compare(channel, Qt::CaseInsensitive) != 0)
                continue;
            if (!r.message.isEmpty() && r.message.compare(message, Qt::CaseInsensitive) != 0)
                continue;
            if (!targets.contains(r.processor))
                targets.append(r.processor);
        }
    }
    // A processor may remove itself or others while it handles the notice.
    for (CxNotifyProcessor* p : targets) {
        {
            QMutexLocker lock(&RegistryMutex());
            if (!IsRegistered(p))
                continue;
        }
        p->OnNotify(channel, message);
    }
}

#pragma once
// Receivers of the application's notices. A processor asks for the messages it
// wants on a channel (for the channel "SQL" a message is a table name); the
// application hands every notice sent with CTarvikApp::SendForNotify to the
// processors that asked for it. Channels and messages compare without case.
#include <QString>

class CxNotifyProcessor {
public:
    CxNotifyProcessor();
    virtual ~CxNotifyProcessor();

    // An empty message asks for every message of the channel.
    void RequestForNotify(const QString& channel, const QString& message);
    // Withdraws every request of this processor.
    void RemoveAllNotify();

    virtual void OnNotify(const QString& channel, const QString& message) = 0;

    CxNotifyProcessor(const CxNotifyProcessor&) = delete;
    CxNotifyProcessor& operator=(const CxNotifyProcessor&) = delete;
};

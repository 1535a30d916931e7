#pragma once
// Announces every line added to the application's error list, so that the
// user interface can show the list as it grows.
#include <QObject>
#include <QString>

class CxErrorLog : public QObject {
    Q_OBJECT
public:
    static CxErrorLog* Instance();

signals:
    // A line of the error list as added: plain text, or the program's own
    // HTML when `html` is set.
    void messageAdded(const QString& text, bool html);

private:
    CxErrorLog() = default;
    friend class CTarvikApp;
};

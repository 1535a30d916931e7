#include "tarvik_app.h"

#include "framework/core/app/error_log.h"
#include "framework/core/xml/cfg_base.h"

#include <QDebug>
#include <QMutex>

CTarvikApp* CTarvikApp::s_instance = nullptr;

namespace {
QMutex g_errorMutex;
QStringList g_errors;
constexpr int kMaxErrorLines = 1000; // a runaway loop must not eat memory
std::unique_ptr<xCfgBase2> g_config;
xConfiguration* g_typedConfig = nullptr;
} // namespace

CTarvikApp::CTarvikApp() {
    s_instance = this;
}

CTarvikApp::~CTarvikApp() {
    if (s_instance == this)
        s_instance = nullptr;
}

void CTarvikApp::AddErrorMessage(const QString& text, int code) {
    const QString line = code ? QStringLiteral("%1 (%2)").arg(text).arg(code) : text;
    {
        QMutexLocker lock(&g_errorMutex);
        if (g_errors.size() >= kMaxErrorLines)
            g_errors.removeFirst();
        g_errors << line;
    }
    qWarning().noquote() << text;
    emit CxErrorLog::Instance()->messageAdded(line);
}

QStringList CTarvikApp::GetErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    return g_errors;
}

QString CTarvikApp::TakeErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    QString text = g_errors.join(u'\n');
    g_errors.clear();
    return text;
}

void CTarvikApp::ClearErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    g_errors.clear();
}

xConfiguration* CTarvikApp::GetConfig() {
    return g_typedConfig;
}

void CTarvikApp::SetConfigObject(xCfgBase2* owner, xConfiguration* config) {
    g_typedConfig = config;
    if (owner != g_config.get())
        g_config.reset(owner);
}

#include "tarvik_app.h"

#include "framework/core/app/error_log.h"
#include "framework/core/app/russian_language.h"
#include "framework/core/xml/cfg_base.h"

#include <QDebug>
#include <QMutex>

CTarvikApp* CTarvikApp::s_instance = nullptr;

namespace {
QMutex g_errorMutex;
QList<CxErrorLine> g_errors;
quint64 g_errorsAdded = 0;           // lines ever added; the list keeps the newest
constexpr int kMaxErrorLines = 1000; // a runaway loop must not eat memory
std::unique_ptr<xCfgBase2> g_config;

void AddErrorLine(const CxErrorLine& line) {
    {
        QMutexLocker lock(&g_errorMutex);
        if (g_errors.size() >= kMaxErrorLines)
            g_errors.removeFirst();
        g_errors << line;
        ++g_errorsAdded;
    }
    // Echoed on the console as information: these are the user's messages,
    // not warnings of the program about itself.
    qInfo().noquote() << line.text;
    emit CxErrorLog::Instance()->messageAdded(line.text, line.html);
}

QStringList Texts(const QList<CxErrorLine>& lines) {
    QStringList texts;
    texts.reserve(lines.size());
    for (const CxErrorLine& line : lines)
        texts << line.text;
    return texts;
}
} // namespace

CTarvikApp::CTarvikApp() {
    s_instance = this;
    InstallRussianLanguage();
}

CTarvikApp::~CTarvikApp() {
    if (s_instance == this)
        s_instance = nullptr;
}

void CTarvikApp::AddErrorMessage(const QString& text, int code) {
    AddErrorLine({code ? QStringLiteral("%1 (%2)").arg(text).arg(code) : text, false});
}

void CTarvikApp::AddErrorHtml(const QString& html) {
    AddErrorLine({html, true});
}

QStringList CTarvikApp::GetErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    return Texts(g_errors);
}

QList<CxErrorLine> CTarvikApp::GetErrorLines() {
    QMutexLocker lock(&g_errorMutex);
    return g_errors;
}

QString CTarvikApp::TakeErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    QString text = Texts(g_errors).join(u'\n');
    g_errors.clear();
    return text;
}

void CTarvikApp::ClearErrorMessages() {
    QMutexLocker lock(&g_errorMutex);
    g_errors.clear();
}

quint64 CTarvikApp::ErrorMessageMark() {
    QMutexLocker lock(&g_errorMutex);
    return g_errorsAdded;
}

QStringList CTarvikApp::ErrorMessagesSince(quint64 mark) {
    QMutexLocker lock(&g_errorMutex);
    const quint64 newer = g_errorsAdded > mark ? g_errorsAdded - mark : 0;
    const qsizetype count = qMin<qsizetype>(qsizetype(newer), g_errors.size());
    return Texts(g_errors.mid(g_errors.size() - count));
}

xCfgBase2* CTarvikApp::GetConfig() {
    return g_config.get();
}

void CTarvikApp::SetConfig(xCfgBase2* config) {
    if (config != g_config.get())
        g_config.reset(config);
}

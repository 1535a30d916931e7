#include "rep_doc.h"

#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace {
int g_buildDepth = 0;
} // namespace

CRepBuildScope::CRepBuildScope(CxSQL* sql) : m_sql(sql) {
    ++g_buildDepth;
    if (m_sql)
        m_sql->SuspendWatchdog(0);
}

CRepBuildScope::~CRepBuildScope() {
    if (m_sql)
        m_sql->SuspendWatchdog(1);
    // Command addresses queued meanwhile run now.
    if (--g_buildDepth == 0)
        CTarvikApp::PostAppQueries();
}

int CRepBuildScope::Depth() {
    return g_buildDepth;
}

CRepDoc::CRepDoc(QObject* parent) : CxFormDocument(parent) {}
CRepDoc::~CRepDoc() = default;

int CRepDoc::OnProcessURL(const QString& url) {
    static const char* const kCommands[] = {"opendoc:", "sqledit:", "command:", "messagebox:"};
    for (const char* prefix : kCommands) {
        if (url.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
            CTarvikApp::AddAppQuery(url);
            return 1;
        }
    }
    return 0;
}

int CRepDoc::ProcessRepViewCommand(unsigned, int) {
    return 0;
}

bool CRepDoc::IsBuilding() {
    return g_buildDepth > 0;
}

bool CRepDoc::Build(CvProgress* progress, QString* error) {
    if (IsBuilding()) {
        if (error)
            *error = CTarvikApp::TranslateString(
                QStringLiteral("Другой отчет еще формируется. Дождитесь его окончания."),
                QStringLiteral("CRepDoc::Build"));
        return false;
    }
    CRepBuildScope scope(GetSQL());
    m_checkTitle.clear();
    m_checkText.clear();
    m_html.Empty();
    m_textMade = false;
    // The progress belongs to the caller: it is forgotten however the build
    // ends.
    struct Running {
        CRepDoc* doc;
        ~Running() {
            if (doc->m_progress)
                doc->m_progress->EndProgress();
            doc->m_progress = nullptr;
        }
    } running{this};
    m_progress = progress;
    if (progress)
        progress->BeginProgress(GetReportTitle(), -1);
    OnInitHTML(m_html);
    m_text = m_html.ToString();
    m_textMade = true;
    return true;
}

QString CRepDoc::GetHTML() const {
    if (!m_textMade) {
        m_text = m_html.ToString();
        m_textMade = true;
    }
    return m_text;
}

void CRepDoc::SetHTML(const QString& html) {
    m_html.Empty();
    m_html.Add(html);
    m_text = html;
    m_textMade = true;
}

int CRepDoc::RepCheckTrue(bool condition, const QString& text, const QString& title) {
    if (!condition) {
        m_checkTitle = title;
        m_checkText = text;
    }
    return condition ? 1 : 0;
}

void CRepDoc::SetProgessMessage(const QString& text, int) {
    if (m_progress)
        m_progress->Step(text, 0);
}

CxSQL* CRepDoc::GetSQL() const {
    return m_sql ? m_sql : g_pBaseSQLConnection.get();
}

QString CRepDoc::StandalonePage(const QString& html) {
    static const QRegularExpression charset(QStringLiteral("<meta[^>]*charset"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (charset.match(html).hasMatch())
        return html;
    const QString meta = QStringLiteral("<meta charset=\"utf-8\">");
    static const QRegularExpression head(QStringLiteral("<head[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(html);
    if (m.hasMatch()) {
        QString page = html;
        page.insert(m.capturedEnd(), meta);
        return page;
    }
    static const QRegularExpression htmlTag(QStringLiteral("<html[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch h = htmlTag.match(html);
    if (h.hasMatch()) {
        QString page = html;
        page.insert(h.capturedEnd(), QStringLiteral("<head>") + meta + QStringLiteral("</head>"));
        return page;
    }
    return QStringLiteral("<!DOCTYPE html>\n<html><head>") + meta +
           QStringLiteral("</head><body>") + html + QStringLiteral("</body></html>");
}

bool CRepDoc::SaveHTML(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = CTarvikApp::TranslateString(
                         QStringLiteral("Не удалось записать файл {file}: {error}"),
                         QStringLiteral("CRepDoc::SaveHTML"))
                         .replace(QLatin1String("{file}"), path)
                         .replace(QLatin1String("{error}"), file.errorString());
        return false;
    }
    file.write(StandalonePage(GetHTML()).toUtf8());
    if (!file.commit()) {
        if (error)
            *error = CTarvikApp::TranslateString(
                         QStringLiteral("Не удалось записать файл {file}: {error}"),
                         QStringLiteral("CRepDoc::SaveHTML"))
                         .replace(QLatin1String("{file}"), path)
                         .replace(QLatin1String("{error}"), file.errorString());
        return false;
    }
    return true;
}

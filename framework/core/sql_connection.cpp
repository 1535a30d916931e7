#include "sql_connection.h"

#include "tarvik_app.h"

std::unique_ptr<CxSQL> g_pBaseSQLConnection;

QString SQLErrorText(int code) {
    switch (code) {
    case SQLERR_DUPLICATE_KEY:
        return QStringLiteral("Повторяющееся значение ключа");
    case SQLERR_UNKNOWN_DATABASE:
        return QStringLiteral("База данных не найдена");
    case SQLERR_UNKNOWN_CLIENT:
        return QStringLiteral("Неизвестная ошибка клиента базы данных");
    case SQLERR_CANT_CONNECT:
        return QStringLiteral("Не удалось подключиться к серверу базы данных");
    case SQLERR_UNKNOWN_HOST:
        return QStringLiteral("Неизвестный сервер базы данных");
    case SQLERR_CONNECTION_LOST:
        return QStringLiteral("Соединение с сервером базы данных потеряно");
    case SQLERR_PROTOCOL:
        return QStringLiteral("Несовместимая версия протокола сервера базы данных");
    case SQLERR_OUT_OF_MEMORY:
        return QStringLiteral("Недостаточно памяти для работы с базой данных");
    default:
        return QString();
    }
}

QStringList CxSQL::SplitScript(const QString& script) {
    QStringList out;
    QString current;
    QChar quote;
    bool lineComment = false, blockComment = false;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script[i];
        const QChar next = i + 1 < n ? script[i + 1] : QChar();
        if (lineComment) {
            if (c == u'\n')
                lineComment = false;
            continue;
        }
        if (blockComment) {
            if (c == u'*' && next == u'/') {
                blockComment = false;
                ++i;
            }
            continue;
        }
        if (!quote.isNull()) {
            current += c;
            if (c == u'\\' && quote != u'`' && i + 1 < n) {
                current += script[++i];
            } else if (c == quote) {
                if (next == quote) {
                    current += script[++i];
                } else {
                    quote = QChar();
                }
            }
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'`') {
            quote = c;
            current += c;
        } else if (c == u'-' && next == u'-' && (i + 2 >= n || script[i + 2].isSpace())) {
            lineComment = true;
        } else if (c == u'#') {
            lineComment = true;
        } else if (c == u'/' && next == u'*') {
            blockComment = true;
            ++i;
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

void CxSQL::ExecuteCleanup(const QString& statement) {
    static_cast<void>(Execute(statement));
}

bool CxSQL::RollbackAfterFailure(QString* error) {
    if (RollbackTransaction())
        return true;
    const QString text =
        CTarvikApp::TranslateString(
            QStringLiteral("Изменения не удалось отменить, они могли сохраниться:"),
            QStringLiteral("msgRollbackFailed")) +
        u' ' + GetSqlErrorString();
    if (!error)
        CTarvikApp::AddErrorMessage(text);
    else if (error->isEmpty())
        *error = text;
    else
        *error += u'\n' + text;
    return false;
}

bool CxSQL::MultiQuery(const QString& script) {
    for (const QString& statement : SplitScript(script)) {
        if (!Execute(statement).isValid())
            return false;
    }
    return true;
}

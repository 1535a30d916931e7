#include "sql_connect_dialog.h"

#include "error_text.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <memory>

namespace {
CxSQLConnectAsk g_ask;
QString g_memoryFile;

const QString kSection = QStringLiteral("Connection");

QString MemoryFile() {
    return g_memoryFile.isEmpty() ? CxProfileManager::DefaultFile() : g_memoryFile;
}

void Recall(SQLConnectXML& info) {
    CxProfileManager memory(MemoryFile());
    if (memory.GetProfileString(kSection, QStringLiteral("Server"), QString()).isEmpty())
        return;
    auto get = [&](const char* entry) {
        return memory.GetProfileString(kSection, QString::fromLatin1(entry), QString());
    };
    info.put_Server(get("Server"));
    info.put_Port(get("Port"));
    info.put_Socket(get("Socket"));
    info.put_User(get("User"));
    info.put_Pass(get("Password"));
    info.put_Database(get("Database"));
}

void Remember(const SQLConnectXML& info) {
    // The file holds a password: it is made the user's alone before the
    // password goes in (rewrites keep the permissions).
    const QString file = MemoryFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (QFile f(file); f.open(QIODevice::Append))
        f.close();
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    CxProfileManager memory(file);
    memory.WriteProfileString(kSection, QStringLiteral("Server"), info.get_Server());
    memory.WriteProfileString(kSection, QStringLiteral("Port"), info.get_Port());
    memory.WriteProfileString(kSection, QStringLiteral("Socket"), info.get_Socket());
    memory.WriteProfileString(kSection, QStringLiteral("User"), info.get_User());
    memory.WriteProfileString(kSection, QStringLiteral("Password"), info.get_Pass());
    memory.WriteProfileString(kSection, QStringLiteral("Database"), info.get_Database());
}

// An environment variable of the application: its name in capitals, then
// the suffix ("MYAPP_SOCKET" for an application named MyApp).
QByteArray EnvironmentName(const char* suffix) {
    QString name = QCoreApplication::applicationName().toUpper();
    for (QChar& c : name)
        if (!(c.isDigit() || (c >= u'A' && c <= u'Z')))
            c = u'_';
    return name.toLatin1() + '_' + suffix;
}

bool AskWithDialog(SQLConnectXML& info, const QString& reason) {
    CSQLConnectDlg dialog;
    dialog.SetInfo(info);
    dialog.SetErrorText(reason);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    info = dialog.GetInfo();
    return true;
}
} // namespace

CSQLConnectDlg::CSQLConnectDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Подключение к базе данных"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Укажите, где находится база данных программы. Для сервера на этом "
                       "компьютере можно указать сокет вместо порта."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_error = new CxErrorText(this, 6);
    layout->addWidget(m_error);

    auto* form = new QFormLayout;
    m_server = new QLineEdit(this);
    m_server->setObjectName(QStringLiteral("Server"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("Port"));
    m_port->setRange(0, 65535);
    m_port->setSpecialValueText(QStringLiteral("по умолчанию"));
    m_socket = new QLineEdit(this);
    m_socket->setObjectName(QStringLiteral("Socket"));
    m_socket->setPlaceholderText(QStringLiteral("по умолчанию"));
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("User"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_database = new QLineEdit(this);
    m_database->setObjectName(QStringLiteral("Database"));
    form->addRow(QStringLiteral("Сервер:"), m_server);
    form->addRow(QStringLiteral("Порт:"), m_port);
    form->addRow(QStringLiteral("Сокет:"), m_socket);
    form->addRow(QStringLiteral("Пользователь:"), m_user);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    form->addRow(QStringLiteral("База данных:"), m_database);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Подключиться"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Выход"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(440, sizeHint().height());
}

void CSQLConnectDlg::SetInfo(const SQLConnectXML& info) {
    m_server->setText(info.get_Server());
    m_port->setValue(info.get_Port().toInt());
    m_socket->setText(info.get_Socket());
    m_user->setText(info.get_User());
    m_password->setText(info.get_Pass());
    m_database->setText(info.get_Database());
}

SQLConnectXML CSQLConnectDlg::GetInfo() const {
    SQLConnectXML info;
    info.put_Server(m_server->text().trimmed());
    info.put_Port(m_port->value() ? QString::number(m_port->value()) : QString());
    info.put_Socket(m_socket->text().trimmed());
    info.put_User(m_user->text().trimmed());
    info.put_Pass(m_password->text());
    info.put_Database(m_database->text().trimmed());
    return info;
}

void CSQLConnectDlg::SetErrorText(const QString& text) {
    m_error->SetText(text);
}

void SetSQLConnectAsk(CxSQLConnectAsk ask) {
    g_ask = std::move(ask);
}

void SetSQLConnectMemoryFile(const QString& fileName) {
    g_memoryFile = fileName;
}

CxSQL* DoSQLConnect(CxSQL* connection, SQLConnectXML* info, const QByteArray& creationScript,
                    const QString& reason) {
    std::unique_ptr<CxSQL> sql(connection);
    if (!sql || !info)
        return nullptr;
    const CxSQLConnectAsk ask = g_ask ? g_ask : CxSQLConnectAsk(AskWithDialog);

    SQLConnectXML tried = *info;
    Recall(tried);
    // The launcher's choice of server wins over a remembered one.
    const QByteArray server = EnvironmentName("SERVER");
    const QByteArray socket = EnvironmentName("SOCKET");
    if (qEnvironmentVariableIsSet(server.constData()))
        tried.put_Server(qEnvironmentVariable(server.constData()));
    if (qEnvironmentVariableIsSet(socket.constData()))
        tried.put_Socket(qEnvironmentVariable(socket.constData()));

    bool answered = false;
    if (!reason.isEmpty()) {
        if (!ask(tried, reason)) {
            *info = tried;
            return nullptr;
        }
        answered = true;
    }
    for (;;) {
        QString error;
        if (SQLConnectOrCreate(sql.get(), tried, creationScript, &error) ==
            SQLConnectResult::Connected) {
            if (answered)
                Remember(tried);
            // A connection nobody named goes by its database: the main
            // window's title shows it beside the user.
            if (tried.get_Name().isEmpty()) {
                tried.put_Name(tried.get_Database());
                if (SQLConnectXML* own = sql->GetConnectInfo())
                    own->put_Name(tried.get_Name());
            }
            *info = tried;
            if (g_pBaseSQLConnection.get() != sql.get())
                g_pBaseSQLConnection.reset(sql.get());
            return sql.release();
        }
        if (error.isEmpty())
            error = CTarvikApp::TakeErrorMessages();
        CTarvikApp::ClearErrorMessages();
        if (!ask(tried, QStringLiteral("Не удалось подключиться к базе данных.\n") + error)) {
            *info = tried;
            return nullptr;
        }
        answered = true;
    }
}

// The about box's module records and pages.
#include "framework/core/app/about_pages.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "version.h"

namespace {
constexpr CxTr Tr;

class CAboutModule_kelda2 : public CModulesInfo {
public:
    QString GetAboutString() override {
        return Tr(QStringLiteral("Основной модуль"),
                  QStringLiteral("CAboutModule_kelda2::GetAboutString")) +
               u' ' + QLatin1String(kKeldaVersion) + u' ' + QLatin1String(kKeldaBuild);
    }
    QString GetModuleKey() override { return QStringLiteral("kelda2"); }
};

class CAboutModule_Brennock : public CModulesInfo {
public:
    QString GetAboutString() override {
        return Tr(QStringLiteral("Библиотека Brennock.dll"),
                  QStringLiteral("CAboutModule_Brennock::GetAboutString"));
    }
    QString GetModuleKey() override { return QStringLiteral("Brennock"); }
};

class CAboutModule_tessary : public CModulesInfo {
public:
    QString GetAboutString() override {
        return Tr(QStringLiteral("Подключение с базе MySQL"),
                  QStringLiteral("CAboutModule_tessary::GetAboutString")) +
               QStringLiteral(" 1.0.0.2592 Release");
    }
    QString GetModuleKey() override { return QStringLiteral("tessary"); }
};

// The people who built the system, grouped by task.
class CAboutDevelopers : public CAboutSelfReg {
public:
    QString GetTitle() override {
        return Tr(QStringLiteral("Разработчики"), QStringLiteral("CAboutDevelopers::GetTitle"));
    }
    QString GetHTML() override {
        const QString ctx = QStringLiteral("CAboutDevelopers::GetHTML");
        const QList<std::pair<const char*, const char*>> rows{
            {"Постановка задачи", "Сотрудники проектов снижения вреда"},
            {"Программирование", "Команда разработчиков Kelda2"},
            {"Тестирование", "Координаторы проектов"},
        };
        QString html = QStringLiteral("<table>");
        for (const auto& [name, role] : rows)
            html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                        .arg(Tr(QString::fromUtf8(name), ctx).toHtmlEscaped(),
                             Tr(QString::fromUtf8(role), ctx).toHtmlEscaped());
        return html + QStringLiteral("</table>");
    }
};

// Where users get help.
class CAboutSupport : public CAboutSelfReg {
public:
    QString GetTitle() override {
        return Tr(QStringLiteral("Техническая поддержка"),
                  QStringLiteral("CAboutSupport::GetTitle"));
    }
    QString GetHTML() override {
        return Tr(QStringLiteral("msgAboutSupport"), QStringLiteral("CAboutSupport::GetHTML"))
                       .startsWith(QLatin1String("msg"))
                   ? QStringLiteral(
                         "<p>По вопросам технической поддержки, адаптации программы и обучения "
                         "работе с ней обращайтесь к координатору вашего проекта или пишите "
                         "по адресу <a href='mailto:support@kelda2.example'>"
                         "support@kelda2.example</a>.</p>"
                         "<p>Сайт программы: <a href='https://kelda2.example'>"
                         "https://kelda2.example</a></p>")
                   : Tr(QStringLiteral("msgAboutSupport"),
                        QStringLiteral("CAboutSupport::GetHTML"));
    }
};

// Made once and never freed, like every self-registering object.
struct Records {
    Records() {
        new CAboutModule_kelda2;
        new CAboutModule_Brennock;
        new CAboutModule_tessary;
        new CAboutDevelopers;
        new CAboutSupport;
    }
} g_records;
} // namespace

#include "main_frame.h"
#include "app/icon_ids.h"

#include "command_ids.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/status_bar.h"

#include <QMdiArea>

namespace {
constexpr CxTr Tr("CMainFrame::OnCreate");

struct ItemDef {
    unsigned id;
    const char* caption;
    int icon; // negative: a framework icon number
    int style;
};
struct GroupDef {
    const char* caption;
    int style;
    QList<ItemDef> items;
};

const QList<GroupDef>& ToolGroups() {
    static const QList<GroupDef> groups{
        {"Редактирование",
         0,
         {{ID_RECORD_NEW, "Новая запись", IDI_RECORD_NEW, 1},
          {ID_RECORD_EDIT, "Изменить", IDI_RECORD_EDIT, 7},
          {ID_RECORD_DELETE, "Удалить", IDI_RECORD_DELETE, 7},
          {ID_FOLDER_NEW, "Создать папку", -VARICON_NEWFOLDER, 6},
          {ID_GROUPING, "Группировка", -VARICON_GROUPING, 6},
          {ID_MOVE, "Переместить", -VARICON_MOVE, 6}}},
        {"Справочники", 3, {{ID_DIRECTORIES, "Справочники", IDI_DIRECTORIES, 7}}},
        {"Журналы",
         3,
         {{ID_CLIENTS, "Клиенты проекта", IDI_CLIENTS, 1},
          {ID_DIARY, "Ежедневные формы", IDI_DIARY, 7},
          {ID_TRAININGS, "Тренинги", IDI_TRAINING, 7},
          {ID_SEARCH_PANEL, "Панель поиска", -VARICON_SEARCH, 6}}},
        {"Отчеты",
         3,
         {{ID_FILE_PRINT, "Печать", IDI_PRINT, 7},
          {ID_TO_EXCEL, "Передать в Excel", IDI_TO_EXCEL, 7},
          {ID_FILE_PRINT_PREVIEW, "Просмотр", IDI_PREVIEW, 7}}},
        {"Сервис\x01Панель инструментов",
         0,
         {{ID_BACKUP, "Резервная копия", IDI_BACKUP, 1},
          {CxMDIFrameWnd::ID_APP_OPTIONS, "Настройки", IDI_SETTINGS, 7},
          {ID_APP_ABOUT, "Информация", IDI_ABOUT, 7}}},
    };
    return groups;
}
} // namespace

CMainFrame::CxToolBarThis::~CxToolBarThis() = default;

CMainFrame::CMainFrame(QWidget* parent) : CxMDIFrameWnd(parent) {
    setObjectName(QStringLiteral("MainFrame"));
}

QString CMainFrame::MakeTitle(const QString& connectionName, const QString& user) {
    return QStringLiteral("Kelda2 (%1/%2)").arg(connectionName, user);
}

bool CMainFrame::OnCreate() {
    if (!CxMDIFrameWnd::OnCreate())
        return false;
    setDockNestingEnabled(true);

    m_wndToolBar = new CxToolBarThis(this);
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar59392"));
    m_wndToolBar->setWindowTitle(QStringLiteral("Панель инструментов"));

    QString name, user;
    if (g_pBaseSQLConnection)
        if (const SQLConnectXML* info = g_pBaseSQLConnection->GetConnectInfo()) {
            name = info->get_Name();
            user = info->get_User();
        }
    SetFrameTitle(MakeTitle(name, user));

    for (const GroupDef& def : ToolGroups()) {
        auto* group = new CxToolBarGroup(Tr(def.caption), def.style);
        for (const ItemDef& item : def.items)
            group->AddItem(new CxToolBarItem(item.id, Tr(item.caption),
                                             item.icon < 0 ? GetVarIcon(-item.icon) : item.icon, 0,
                                             item.style));
        m_wndToolBar->AddToolGroup(group);
    }
    m_wndToolBar->setAllowedAreas(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    m_wndStatusBar = new CxStatusBar(this);
    setStatusBar(m_wndStatusBar);
    if (!m_wndStatusBar->SetIndicators({CxStatusBar::ID_SEPARATOR, CxStatusBar::ID_INDICATOR_CAPS,
                                        CxStatusBar::ID_INDICATOR_NUM,
                                        CxStatusBar::ID_INDICATOR_SCRL}))
        return false;

    RestoreSizingBars();
    EnableMDITabs(true);
    return true;
}

// The program's menus: the main menu, the report items and the directory
// items, which the menu extension CKeldaRepMenu puts into the main menu.
#include "command_ids.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/menu_resource.h"

namespace {
using M = CxMenuItem;
using F = CxMDIFrameWnd; // the frame's own commands

QList<CxMenuItem> MainMenu() {
    return {
        M::Popup(
            QStringLiteral("Файл"),
            {M::Command(ID_START_PAGE, QStringLiteral("Главное окно")), M::Separator(),
             M::Popup(QStringLiteral("Экспорт"),
                      {M::Command(ID_EXPORT_CSV, QStringLiteral("Экспорт данных в формате CSV"))}),
             M::Command(ID_FILE_TO_EXCEL, QStringLiteral("Передать в MS Excel")), M::Separator(),
             M::Command(ID_FILE_PRINT_SETUP, QStringLiteral("Настройки печати")), M::Separator(),
             M::Command(F::ID_FILE_CLOSE, QStringLiteral("Закрыть окно"),
                        QStringLiteral("Ctrl+F4")),
             M::Command(F::ID_APP_EXIT, QStringLiteral("Выход из программы"),
                        QStringLiteral("Alt+F4"))}),
        M::Popup(QStringLiteral("Вид"),
                 {M::Command(F::ID_VIEW_TOOLBAR, QStringLiteral("Панель инструментов")),
                  M::Command(F::ID_VIEW_STATUS_BAR, QStringLiteral("Строка состояния"))}),
        M::Popup(QStringLiteral("Справочники"),
                 {M::Command(ID_PLACEHOLDER_DIR, QStringLiteral("<DIR>"))}),
        M::Popup(QStringLiteral("Журналы"),
                 {M::Command(ID_CLIENTS, QStringLiteral("Карточки клиентов")),
                  M::Command(ID_DIARY, QStringLiteral("Ежедневные учетные формы")),
                  M::Command(ID_TRAININGS, QStringLiteral("Проведенные тренинги"))}),
        M::Popup(QStringLiteral("Отчеты"),
                 {M::Command(ID_PLACEHOLDER_REPORTS, QStringLiteral("<<REPORT_ITEMS>>"))}),
        M::Popup(
            QStringLiteral("Услуги") + QChar(1) + QStringLiteral("Меню"),
            {M::Popup(QStringLiteral("Обмен данными"),
                      {M::Command(ID_EXPORT_DATA, QStringLiteral("Передача данных"),
                                  QStringLiteral("Ctrl+E")),
                       M::Command(ID_IMPORT_DATA, QStringLiteral("Прием данных")), M::Separator(),
                       M::Command(ID_REP_COMPARE, QStringLiteral("Сравнение данных загрузок")),
                       M::Separator(),
                       M::Command(ID_EXPORT_DBF, QStringLiteral("Выгрузка в dbf формате"))}),
             M::Separator(), M::Command(ID_BACKUP, QStringLiteral("Создать резервную копию")),
             M::Popup(QStringLiteral("Обслуживание базы данных"),
                      {M::Command(ID_RESTORE, QStringLiteral("Восстановление из резевной копии")),
                       M::Separator(),
                       M::Command(ID_OPTIMIZE, QStringLiteral("Оптимизация базы данных")),
                       M::Command(ID_MERGE_ORGS, QStringLiteral("Объединение организаций")),
                       M::Separator(),
                       M::Command(ID_TEST_DB, QStringLiteral("Тестирование базы данных"))}),
             M::Separator(),
             M::Popup(QStringLiteral("Ведомости"),
                      {M::Command(ID_SHEET_STENCIL,
                                  QStringLiteral("Сформировать трафарет для MS Excel")),
                       M::Command(ID_SHEET_LOAD, QStringLiteral("Загрузить ведомости"),
                                  QStringLiteral("Ctrl+L"))}),
             M::Separator(), M::Command(F::ID_APP_OPTIONS, QStringLiteral("Параметры программы")),
             M::Command(ID_CONFIGURATION, QStringLiteral("Установка конфигурации"))}),
        M::Popup(QStringLiteral("Окно"),
                 {M::Command(F::ID_WINDOW_CASCADE, QStringLiteral("Каскадом")),
                  M::Command(F::ID_WINDOW_TILE_VERT, QStringLiteral("Разместить вертикально")),
                  M::Command(F::ID_WINDOW_TILE_HORZ, QStringLiteral("Разместить горизонтально")),
                  M::Command(F::ID_WINDOW_ARRANGE, QStringLiteral("Разместить значки"))}),
        M::Popup(QStringLiteral("Помощь"),
                 {M::Command(ID_APP_ABOUT, QStringLiteral("О программе"))}),
    };
}

QList<CxMenuItem> ReportMenu() {
    return {M::Popup(
        QStringLiteral("Отчеты"),
        {M::Command(ID_REP_PERIOD_MAT, QStringLiteral("Отчет за период по материалам")),
         M::Separator(),
         M::Command(ID_REP_PERIOD_CONS,
                    QStringLiteral("Отчет за период по консультациям и перенаправлениям")),
         M::Separator(),
         M::Command(ID_REP_TRAININGS, QStringLiteral("Отчет по проведенным тренингам")),
         M::Separator(), M::Command(ID_REP_COVERAGE, QStringLiteral("Охват за период")),
         M::Separator(), M::Command(ID_REP_DISTRIBUTION, QStringLiteral("Распределение визитов")),
         M::Separator(),
         M::Command(ID_REP_VISITS_SUMMARY, QStringLiteral("Итоги по визитам за период")),
         M::Separator(),
         M::Command(ID_REP_QUARTER,
                    QStringLiteral("Сводные данные для квартального отчета в Велмар"))})};
}

QList<CxMenuItem> DirectoryMenu() {
    return {M::Popup(
        QStringLiteral("Справочники"),
        {M::Command(ID_DIR_MATERIALS, QStringLiteral("Раздаточные материалы и услуги")),
         M::Command(ID_DIR_POINTS, QStringLiteral("Пункты предоставления услуг")),
         M::Command(ID_DIR_DRUGS, QStringLiteral("Наркотические вещества")),
         M::Command(ID_DIR_TRAININGS, QStringLiteral("Типы мероприятий (тренинги, занятия)")),
         M::Command(ID_DIR_MATPACK, QStringLiteral("Пакет услуг")),
         M::Command(ID_DIR_STAFF, QStringLiteral("Персонал проекта")),
         M::Command(ID_DIR_DONORS, QStringLiteral("Источники финансирования")), M::Separator(),
         M::Command(ID_ORGANISATIONS, QStringLiteral("Организации"))})};
}

struct Registrar {
    Registrar() {
        CxMenuResources::Register(IDR_MAINFRAME, MainMenu());
        CxMenuResources::Register(IDR_REPORT_MENU, ReportMenu());
        CxMenuResources::Register(IDR_DIRECTORY_MENU, DirectoryMenu());
    }
} g_registrar;
} // namespace

#pragma once
// The program's icons, painted at start (app_icons.cpp) under the numbers that
// the tool bar and the document templates name.
enum AppIcon : int {
    IDI_RECORD_NEW = 1971,
    IDI_RECORD_EDIT = 1970,
    IDI_RECORD_DELETE = 1969,
    IDI_DIRECTORIES = 1979,
    IDI_CLIENTS = 1258,
    IDI_DIARY = 1293,
    IDI_TRAINING = 1307,
    IDI_TRAININGS = 1303,
    IDI_PRINT = 1973,
    IDI_TO_EXCEL = 2723,
    IDI_PREVIEW = 1974,
    IDI_BACKUP = 2116,
    IDI_SETTINGS = 1968,
    IDI_ABOUT = 1972,
    IDI_DOCUMENT = 1959,
    IDI_MATERIALS = 1266,
    IDI_POINTS = 1297,
    IDI_DRUGS = 1301,
    IDI_STAFF = 1305,
    IDI_DONORS = 1322,
    IDI_MATERIAL_GROUPS = 1296,
};

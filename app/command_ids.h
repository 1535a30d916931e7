#pragma once
#include "framework/core/app/record_commands.h"
// Command ids of the program's menus and tool bar.
enum KeldaCommand : unsigned {
    // Editing in journals (the record commands are the framework's)
    ID_FOLDER_NEW = 2030,
    ID_GROUPING = 2033,
    ID_MOVE = 2035,
    // Journals and directories
    ID_DIRECTORIES = 1261,
    ID_CLIENTS = 1260,
    ID_DIARY = 1256,
    ID_TRAININGS = 1257,
    ID_DIR_MATERIALS = 3403,
    ID_DIR_POINTS = 3210,
    ID_DIR_DRUGS = 3212,
    ID_DIR_TRAININGS = 3216,
    ID_DIR_MATPACK = 3218,
    ID_DIR_STAFF = 3220,
    ID_DIR_DONORS = 3223,
    ID_ORGANISATIONS = 1681,
    // Reports
    ID_REP_PERIOD_MAT = 2204,
    ID_REP_PERIOD_CONS = 2205,
    ID_REP_TRAININGS = 1031,
    ID_REP_COVERAGE = 3324,
    ID_REP_DISTRIBUTION = 1648,
    ID_REP_VISITS_SUMMARY = 1757,
    ID_REP_QUARTER = 3279,
    ID_REP_COMPARE = 3229,
    // Reports reached from buttons and links of other windows
    ID_REP_VISITS = 1115,
    ID_REP_VISITS_NEW = 1029,
    ID_REP_VISITS_REGULAR = 1030,
    ID_REP_YEARS = 3266,
    ID_REP_NEW_CONSULT = 3313,
    ID_REP_CLIENT_INFO = 1650,
    ID_TO_EXCEL = 2060,
    // The search panel of the active journal's list
    ID_SEARCH_PANEL = 2046,
    // File and services
    ID_START_PAGE = 1651,
    ID_EXPORT_CSV = 1792,
    ID_FILE_TO_EXCEL = 1255,
    ID_EXPORT_DATA = 1646,
    ID_IMPORT_DATA = 1647,
    ID_EXPORT_DBF = 3237,
    ID_BACKUP = 2117,
    ID_RESTORE = 1661,
    ID_OPTIMIZE = 1687,
    ID_MERGE_ORGS = 3431,
    ID_ORG_SETTINGS = 1639,
    ID_CONFIGURATOR = 1643,
    ID_TEST_DB = 1840,
    ID_SHEET_STENCIL = 1744,
    ID_SHEET_LOAD = 1745,
    ID_CONFIGURATION = 2076,
    // Standard commands
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_APP_ABOUT = 57664,
    // Placeholders of the main menu that the menu extension replaces
    ID_PLACEHOLDER_DIR = 3222,
    ID_PLACEHOLDER_REPORTS = 1723,
};

// The settings dialog (ID_APP_OPTIONS) and the window commands are the main
// frame's own: CxMDIFrameWnd names them.

// Resource numbers: the main menu (also the window icon and title), the
// report items, the directory items, the start-up picture and the about
// box's HTML template.
enum : int {
    IDR_MAINFRAME = 128,
    IDR_REPORT_MENU = 1125,
    IDR_DIRECTORY_MENU = 3221,
    IDB_SPLASH = 1049,
    IDR_ABOUT_TEMPLATE = 1341,
};

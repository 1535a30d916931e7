#pragma once
// The program's application base: the framework's application joined with
// the SQL application extension (the temporary tables of the run). The
// program's application class derives from it and fills the start-up hooks.
#include "framework/core/app/base_class.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/temp_tables/sql_win_app_ext.h"
#include "pavo_export.h"

class PAVO_EXPORT CPavoApp : public CTarvikApp, public CSQLWinAppExt, public virtual CBaseClass {
    Q_OBJECT
public:
    CPavoApp();
    ~CPavoApp() override;

    // The framework's own start-up: settings in the plain store until the
    // database is connected, and the self-registered objects initialised.
    bool OnApplicationInit() override;
    // Command addresses that the user interface runs itself (message boxes).
    bool OnProcessURL(const QString& address) override;
};

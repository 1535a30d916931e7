#pragma once
// The program's application base: the framework's application joined with
// the SQL application extension (temporary tables of the run). The program's
// application class derives from it and fills the start-up hooks.
#include "framework/core/tarvik_app.h"
#include "pavo_export.h"

class PAVO_EXPORT CPavoApp : public CTarvikApp {
    Q_OBJECT
public:
    CPavoApp();
    ~CPavoApp() override;
};

#include "pavo_app.h"

CPavoApp::CPavoApp() = default;

CPavoApp::~CPavoApp() = default;

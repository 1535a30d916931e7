#include "tarvik_app.h"

void CTarvikApp::SendForNotify(const QString&, const QString&) {}

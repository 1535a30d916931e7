#include "error_log.h"

CxErrorLog* CxErrorLog::Instance() {
    // Never destroyed: messages may come during program exit.
    static auto* log = new CxErrorLog;
    return log;
}

#pragma once
// Before data go to the superior organisation, every service point must name
// its town: the export refuses to start while one (not a folder) has none.
#include <QString>

class CxSQL;

// Whether some service point that is not a folder has no town; false also
// when the question could not be asked (error set then).
bool HasServicePointWithoutTown(CxSQL* sql = nullptr, QString* error = nullptr);
// The message that tells the user what to fill in.
QString WorkplaceTownNotFilledText();

#pragma once
// The record commands of lists and forms: open a record, make a new one,
// delete one. The framework's lists and forms answer them, and every window
// that offers them on its tool bar or in its menus uses these ids.
enum RecordCommand : unsigned {
    ID_RECORD_EDIT = 2055,
    ID_RECORD_NEW = 2056,
    ID_RECORD_DELETE = 2057,
};

#include "program_marks.h"

namespace {
CxProgramMarks& Marks() {
    static CxProgramMarks marks;
    return marks;
}
} // namespace

void SetProgramMarks(const CxProgramMarks& marks) {
    Marks() = marks;
}

const CxProgramMarks& ProgramMarks() {
    return Marks();
}

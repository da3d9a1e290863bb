#pragma once
// The program's own threads: its worker threads, told apart by their names' prefix from
// those a sanitizer or a library starts in the same process.

namespace testing_support {

int ProgramThreadCount();

}  // namespace testing_support

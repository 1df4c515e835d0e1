#pragma once
// A large study's genotype table is hundreds of megabytes of small blocks,
// every page of which the system maps when it is first written. Asked for
// transparent huge pages (glibc.malloc.hugetlb=1), the C library's allocator
// takes its memory in 2 MiB pages instead, 512 times fewer; on the 2-core
// machine the bench runs on that takes a quarter off a 100,000-subject
// export. The library reads its tunables only as a process starts, so the
// command starts itself again, once, with the tunable added.

#include <optional>
#include <string>
#include <string_view>

namespace workstation::console {

// The GLIBC_TUNABLES a process should start with, given the ones it has
// (null when unset) and the system's transparent huge page setting (the text
// of /sys/kernel/mm/transparent_hugepage/enabled, empty when there is none);
// nothing when it should keep what it has: huge pages are never used, or
// the tunable is set already, whatever its value.
std::optional<std::string> tunablesForHugePages(const char* current, std::string_view setting);

// Whether a command line runs one of the commands that hold a whole study in
// memory (import, the exports, loh): only those are worth a restart's few
// milliseconds.
bool holdsAStudy(int argc, char** argv);

// Starts the command again with those tunables, when they differ from the
// ones it has; returns (changing nothing) when they do not or the restart fails.
void restartWithHugePages(char** argv);

}  // namespace workstation::console

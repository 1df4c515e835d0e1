#pragma once
// A study export builds its genotype table and export log from millions of
// small allocations: gigabytes of heap, each 4 KiB page faulted in and
// cleared one at a time, which at 100,000 subjects cost more time than the
// export itself. Where the kernel gives transparent huge pages only on
// request (the "madvise" setting, Debian's default), glibc's allocator asks
// for them when its glibc.malloc.hugetlb tunable is 1; tunables are read
// only as a process starts, so the command starts itself once more with it
// set. The environment is put back before anything else runs, so the
// programs the command starts (Calc) see the user's own.

#include <optional>
#include <string>

namespace workstation::console {

// Call first thing in main. Returns only when no restart is needed or it
// failed; either way the command then runs as it is.
void useHugePageHeap(char** argv);

// The GLIBC_TUNABLES value that adds glibc.malloc.hugetlb=1 to the user's
// own, or nothing when the user's already sets glibc.malloc.hugetlb.
std::optional<std::string> tunablesWithHugePages(const char* own);

}  // namespace workstation::console

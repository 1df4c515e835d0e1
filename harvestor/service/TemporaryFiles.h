#pragma once
// The names of the temporary files being written right now, so that a run
// stopped by a signal can remove them. This is the component's one global
// registry on purpose: a signal handler has no other way to reach the
// writers, and it may only touch fixed storage with lock-free flags, so the
// names live in a fixed table rather than in any container.

#include <string>

namespace harvestor::TemporaryFiles {

// Remembers a temporary file; returns its slot, or -1 when the name is too
// long or the table is full (the file is then simply not cleaned on a signal).
int Add(const std::string& path);
// Forgets a slot (after the file was renamed or removed).
void Forget(int slot);
// Removes every remembered file. Async-signal-safe: only atomics and unlink.
void RemoveAll() noexcept;

}  // namespace harvestor::TemporaryFiles

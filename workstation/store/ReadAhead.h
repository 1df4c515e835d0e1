#pragma once
// A result source run on a thread of its own, a few results ahead of the
// sink it feeds, so that reading an import's files and writing the store
// share the machine's cores. The sink still sees every result in order, on
// the caller's thread, one call at a time; at most kResults results wait
// between the two. An exception on either side stops both, and it is the
// one that reaches the caller; the source's thread has ended by then.
//
// The source runs on another thread: whatever it calls (a warning sink, say)
// must not race with what the sink does.

#include <cstddef>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

// Results waiting at most: enough to ride out a slow result on either side,
// few enough that memory holds a handful of results.
constexpr std::size_t kReadAheadResults = 8;

ResultSource readAhead(ResultSource source);

}  // namespace workstation

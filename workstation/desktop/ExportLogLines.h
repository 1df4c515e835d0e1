#pragma once
// The desktop's one reader of the export log: how many lines it holds, one
// line by its index, and which log it is (a new run starts a new one). Views
// read through it line by line, so showing the log copies nothing.

#include <cstddef>
#include <string_view>

namespace workstation::desktop::ExportLogLines {

std::size_t count();
// The line at index (below count()), as logged.
std::string_view line(std::size_t index);
unsigned long generation();

}  // namespace workstation::desktop::ExportLogLines

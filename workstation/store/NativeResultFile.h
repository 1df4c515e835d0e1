#pragma once
// The workstation's native result file (extension zlu): one result whole and
// lossless (its sample's subject, record and traces, and its fragments), as
// tab-delimited text lines with a version line first. What is written reads
// back as the same result, so a natively exported result can be imported
// into a study again.

#include <string>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

class StoredSample;

constexpr int kNativeResultVersion = 1;

// Writes the sample's result; false when the file cannot be written (a
// previous file of that name is then left whole).
bool writeNativeResult(const std::string& path, const StoredSample& sample,
                       std::string* failure = nullptr);
// Reads a native result file, checking every value as the table reader
// does; throws ImportError naming the file and the byte offset of the fault.
ImportedResult readNativeResult(const std::string& path);

// Text that may hold tabs and line ends, kept on one line: \t \r \n \\ escaped.
std::string escapeField(const std::string& text);
std::string unescapeField(const std::string& text);

}  // namespace workstation

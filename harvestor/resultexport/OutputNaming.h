#pragma once
// The naming rules of the result export: the result's name put in place of
// "{Result Name}", characters a file name cannot hold replaced, the
// instrument's tracking suffix (.B03_0407221455) optionally cut out, and a
// free name chosen when asked to. For CRV the whole file set of a target is
// checked and, when conflicts are not resolved, asked about. They are the
// status page's procedures and report errors under its name.

#include <cstdint>
#include <string>

namespace harvestor::OutputNaming {

std::string CorrectForbiddenFileNameCharacters(const std::string& resultName);
std::string SubstituteForDefaultName(const std::string& path, const std::string& resultName);
// 0-based position of the first tracking suffix, or -1.
int SuffixIndex(const std::string& text);
std::string RemoveSuffix(const std::string& path);
std::string ResolveFileNames(const std::string& path);
std::string ResolveFileNamesCRV(const std::string& path);
// 1 to go on, 2 to abort the CRV export.
std::int32_t ConfirmCRVOverwrite(const std::string& path);

// The CRV set of a target: B_D1.E to B_D4.E, then B_CRV_TRACE_ORDER.txt.
std::string CRVTraceFileName(const std::string& target, int dye);
std::string CRVOrderFileName(const std::string& target);

}  // namespace harvestor::OutputNaming

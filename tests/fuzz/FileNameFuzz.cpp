// Splits each input at its first line end into a path and a result name, and
// names files as the result export does. A path refused with HError (error 5
// without a folder part, error 6 when too long) is a good outcome; anything
// else that escapes, a sanitizer report or a part that is not a prefix of
// the path it came from is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/service/HError.h"
#include "tests/fuzz/ScratchFile.h"

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void SplitPath(const std::string& path) {
  harvestor::FileName parts;
  parts.Initialize(path);
  const std::string full = parts.FullPathAndFileName();
  if (full != path || !StartsWith(full, parts.PathName()) ||
      !StartsWith(full, parts.PathAndFileNameSansExtension()) ||
      !StartsWith(parts.FileName_(), parts.FileNameSansExtension()) ||
      !StartsWith(full, parts.DriveName()) || full.find(parts.FileName_()) == std::string::npos)
    std::abort();
  (void)parts.ExtensionName();
}

void NameOutputs(const std::string& path, const std::string& resultName) {
  namespace naming = harvestor::OutputNaming;
  const std::string cleaned = naming::CorrectForbiddenFileNameCharacters(resultName);
  if (cleaned.size() != resultName.size()) std::abort();
  const std::string target = naming::SubstituteForDefaultName(path, cleaned);
  const int suffix = naming::SuffixIndex(target);
  const std::string plain = naming::RemoveSuffix(target);
  if (suffix >= 0 ? plain.size() + 15 != target.size() : plain != target) std::abort();
  for (int dye = 1; dye <= 4; ++dye) (void)naming::CRVTraceFileName(plain, dye);
  (void)naming::CRVOrderFileName(plain);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\n');
  const std::string path = input.substr(0, end);
  const std::string resultName = end == std::string::npos ? "" : input.substr(end + 1);
  harvestor_fuzz::Tolerating<harvestor::HError>([&] { SplitPath(path); });
  harvestor_fuzz::Tolerating<harvestor::HError>([&] { NameOutputs(path, resultName); });
  return 0;
}

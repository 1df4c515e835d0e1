#include "harvestor/resultexport/OutputNaming.h"

#include <regex>

#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"

namespace harvestor::OutputNaming {
namespace {

const char* const kClass = "ExportResultsStatusPage";
const char* const kPlaceholder = "{Result Name}";

const std::regex& TrackingSuffix() {
  static const std::regex suffix(
      "[.][A-H][01][0-9][_][0-9][0-9][0-1][0-9][0-3][0-9][0-2][0-9][0-9|A-Z][0-9|A-Z]");
  return suffix;
}

struct SetName {
  std::string base;       // the target without its extension and period
  std::string extension;  // the target's extension
};

SetName Split(const std::string& target) {
  FileName parts;
  parts.Initialize(target);
  return {parts.PathAndFileNameSansExtension(), parts.ExtensionName()};
}

Int16 Next(Int16 k) { return ToInt16(std::int64_t{k} + 1); }

}  // namespace

std::string CRVTraceFileName(const std::string& target, int dye) {
  const SetName set = Split(target);
  return set.base + "_D" + std::to_string(dye) + "." + set.extension;
}

std::string CRVOrderFileName(const std::string& target) {
  return Split(target).base + "_CRV_TRACE_ORDER.txt";
}

std::string CorrectForbiddenFileNameCharacters(const std::string& resultName) {
  std::string cleaned = ResultExportRoutines::ReplaceIllegalFileNameCharacters(resultName);
  if (!EqualsNoCase(cleaned, resultName)) {
    ErrorLog::LogExportMsg(
        "Replacing illegal file name character(s) in result name with underscore character(s) "
        "(\"_\")");
  }
  return cleaned;
}

std::string SubstituteForDefaultName(const std::string& path, const std::string& resultName) {
  return Handled(kClass, "SubstituteForDefaultName", [&] {
    const std::string name = TrimTrailingBlanks(resultName);
    const std::string folded = LowerCase(path);
    const std::string placeholder = LowerCase(kPlaceholder);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = folded.find(placeholder, from)) != std::string::npos;) {
      out.append(path, from, at - from).append(name);
      from = at + placeholder.size();
    }
    return out.append(path, from, std::string::npos);
  });
}

int SuffixIndex(const std::string& text) {
  return Handled(kClass, "SuffixIndex", [&] {
    std::smatch match;
    if (!std::regex_search(text, match, TrackingSuffix())) return -1;
    return static_cast<int>(match.position(0));
  });
}

std::string RemoveSuffix(const std::string& path) {
  return Handled(kClass, "RemoveSuffix", [&] {
    const int i = SuffixIndex(path);
    if (i == -1) return path;
    const auto at = static_cast<std::size_t>(i);
    return path.substr(0, at) + path.substr(std::min(path.size(), at + 15));
  });
}

std::string ResolveFileNames(const std::string& path) {
  return Handled(kClass, "ResolveFileNames", [&] {
    FileName parts;
    parts.Initialize(path);
    std::string candidate = path;
    for (Int16 k = 1; FileExists(candidate); k = Next(k)) {
      candidate = parts.PathAndFileNameSansExtension() + "_" + std::to_string(k) + "." +
                  parts.ExtensionName();
    }
    return candidate;
  });
}

std::string ResolveFileNamesCRV(const std::string& path) {
  return Handled(kClass, "ResolveFileNamesCRV", [&] {
    const SetName set = Split(path);
    Int16 k = 0;
    // With a counter the set is B_k_Dn.E, as the writer produces it for the returned target.
    // (The counter is appended rather than concatenated: GCC 12 at -O3
    // warns falsely of an overlapping copy in "_" + std::to_string(k).)
    auto counted = [&] {
      std::string name = set.base;
      if (k != 0) name.append("_").append(std::to_string(k));
      return name;
    };
    auto trace = [&](int dye) {
      return counted().append("_D").append(std::to_string(dye)).append(".").append(set.extension);
    };
    for (int dye = 1; dye <= 4; ++dye) {
      while (FileExists(trace(dye))) k = Next(k);
    }
    auto order = [&] { return counted().append("_CRV_TRACE_ORDER.txt"); };
    while (FileExists(order())) k = Next(k);
    return k > 0 ? counted().append(".").append(set.extension) : path;
  });
}

std::int32_t ConfirmCRVOverwrite(const std::string& path) {
  return Handled(kClass, "ConfirmCRVOverwrite", [&]() -> std::int32_t {
    std::string list;
    for (int dye = 1; dye <= 4; ++dye) {
      if (FileExists(CRVTraceFileName(path, dye))) list += CRVTraceFileName(path, dye) + "\r\n";
    }
    if (FileExists(CRVOrderFileName(path))) list += CRVOrderFileName(path) + "\r\n";
    if (list.empty()) return MsgBoxResult::OK;
    return HostObjects::UserInterface().MsgBox(
        "CRV export will overwrite the following existed file names:\r\n\r\n" + list +
            "\r\n[OK] to overwrite file. [Cancel] to abort CRV export.\r\n",
        MsgBoxStyle::OKCancel | MsgBoxStyle::DefaultButton2, "Export Results");
  });
}

}  // namespace harvestor::OutputNaming

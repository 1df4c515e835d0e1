#include "workstation/store/NativeResultFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "harvestor/service/TextFile.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/StoredStudy.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

const char* const kMagic = "Harvestor native result";

std::string exact(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

}  // namespace

std::string escapeField(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescapeField(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return out;
}

bool writeNativeResult(const std::string& path, const StoredSample& sample, std::string* failure) {
  const SampleFacts& facts = sample.facts();
  harvestor::TextFileWriter file(path);
  if (!file.Ok()) {
    if (failure) *failure = file.Failure();
    return false;
  }
  file.WriteLine(std::string(kMagic) + "\t" + std::to_string(kNativeResultVersion));
  file.WriteLine("Result Name\t" + escapeField(facts.resultName));
  file.WriteLine("Subject ID\t" + escapeField(facts.subjectId));
  file.WriteLine("Analysis Revision\t" + std::to_string(facts.analysisRevision));
  file.WriteLine("Area Scale\t" + exact(facts.record->areaScale));
  for (const harvestor::PropertyEntry& e : facts.record->properties->entries) {
    const bool number = e.Value.GetKind() == harvestor::Variant::Kind::Number;
    file.WriteLine("Property\t" + escapeField(e.Name) + "\t" + (number ? "N\t" : "T\t") +
                   (number ? exact(*e.Value.ToNumber()) : escapeField(e.Value.ToText())));
  }
  for (std::int16_t dye = 1; dye <= 4; ++dye) {
    std::string line = "Trace\t" + std::to_string(dye);
    for (float v : sample.Trace(dye)) line += "\t" + exact(v);
    file.WriteLine(line);
  }
  const auto fragments = facts.loadFragments();
  for (const StoredFragment& f : fragments->items) {
    file.WriteLine("Fragment\t" + std::to_string(f.dye) + "\t" + escapeField(f.locus) + "\t" +
                   escapeField(f.alleleId) + "\t" + escapeField(f.comment) + "\t" +
                   std::to_string(f.conditionCode) + "\t" + (f.excluded ? "1" : "0") + "\t" +
                   exact(f.size) + "\t" + exact(f.height) + "\t" + exact(f.area) + "\t" +
                   exact(f.divisor));
  }
  file.WriteLine("End");
  if (file.Commit()) return true;
  if (failure) *failure = file.Failure();
  return false;
}

namespace {

// The longest line a native file may hold: a trace of the most scans allowed,
// each written in full precision, with room to spare.
constexpr std::size_t kMaxLineBytes = 64u << 20;

// One field of a line as it stands in the file, before unescaping.
struct Field {
  std::string_view raw;
  std::uint64_t offset;
};

// Reads one native result file, refusing it at the first fault with the
// file's name and the fault's byte offset.
class NativeReader {
 public:
  explicit NativeReader(const std::string& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_) throw ImportError(path + ": cannot be read");
  }

  ImportedResult read();

 private:
  [[noreturn]] void fail(std::uint64_t offset, const std::string& what) const {
    throw ImportError(path_ + ": byte " + std::to_string(offset) + " (line " +
                      std::to_string(line_) + "): " + what);
  }
  bool nextLine();
  std::vector<Field> split() const;
  void expect(const std::vector<Field>& f, std::size_t count) const;
  std::string text(const Field& f, const std::string& what, bool freeText = false) const;
  double number(const Field& f, const std::string& what) const;
  float single(const Field& f, const std::string& what) const;
  std::int64_t whole(const Field& f, const std::string& what, std::int64_t min,
                     std::int64_t max) const;

  std::string path_;
  std::ifstream in_;
  std::string text_;  // the current line without its line end
  std::uint64_t start_ = 0, next_ = 0;
  int line_ = 0;
};

bool NativeReader::nextLine() {
  start_ = next_;
  text_.clear();
  std::istreambuf_iterator<char> it(in_), end;
  if (it == end) return false;
  ++line_;
  for (; it != end && *it != '\n'; ++it) {
    if (text_.size() == kMaxLineBytes) fail(start_, "a line longer than 64 MiB");
    text_ += *it;
  }
  next_ = start_ + text_.size();
  if (it != end) {
    ++it;
    ++next_;
  }
  if (!text_.empty() && text_.back() == '\r') text_.pop_back();
  return true;
}

std::vector<Field> NativeReader::split() const {
  std::vector<Field> out;
  std::size_t begin = 0;
  while (true) {
    const std::size_t tab = text_.find('\t', begin);
    const std::string_view raw = std::string_view(text_).substr(
        begin, tab == std::string::npos ? std::string::npos : tab - begin);
    if (const TextFault fault = textFault(raw); !fault.cause.empty()) {
      fail(start_ + begin + fault.offset, "a field holds " + fault.cause);
    }
    out.push_back({raw, start_ + begin});
    if (tab == std::string::npos) return out;
    begin = tab + 1;
  }
}

void NativeReader::expect(const std::vector<Field>& f, std::size_t count) const {
  if (f.size() != count) {
    fail(start_, "a '" + std::string(f[0].raw) + "' line has " + std::to_string(count - 1) +
                     " fields, not " + std::to_string(f.size() - 1));
  }
}

std::string NativeReader::text(const Field& f, const std::string& what, bool freeText) const {
  std::string value = unescapeField(std::string(f.raw));
  if (const TextFault fault = textFault(value, freeText); !fault.cause.empty()) {
    fail(f.offset, what + ": holds " + fault.cause);
  }
  return value;
}

double NativeReader::number(const Field& f, const std::string& what) const {
  double value = 0;
  if (const std::string fault = numberFault(f.raw, value); !fault.empty()) {
    fail(f.offset, what + ": " + fault);
  }
  return value;
}

float NativeReader::single(const Field& f, const std::string& what) const {
  float value = 0;
  if (const std::string fault = singleFault(f.raw, value); !fault.empty()) {
    fail(f.offset, what + ": " + fault);
  }
  return value;
}

std::int64_t NativeReader::whole(const Field& f, const std::string& what, std::int64_t min,
                                 std::int64_t max) const {
  std::int64_t value = 0;
  if (const std::string fault = wholeFault(f.raw, min, max, value); !fault.empty()) {
    fail(f.offset, what + ": " + fault);
  }
  return value;
}

ImportedResult NativeReader::read() {
  if (!nextLine()) fail(0, "not a native result file (it is empty)");
  {
    const auto pos = text_.find('\t');
    if (text_.substr(0, pos) != kMagic || pos == std::string::npos) {
      fail(0, "not a native result file");
    }
    if (text_.substr(pos + 1) != std::to_string(kNativeResultVersion)) {
      fail(pos + 1, "native result version '" + text(split()[1], "version") + "' cannot be read");
    }
  }
  ImportedResult result;
  std::vector<std::string> seen;  // the one-off lines already read
  auto once = [&](const std::string& kind) {
    for (const auto& s : seen) {
      if (s == kind) fail(start_, "a second '" + kind + "' line");
    }
    seen.push_back(kind);
  };
  bool ended = false;
  while (nextLine()) {
    if (ended) fail(start_, "text after the end of the result");
    const std::vector<Field> f = split();
    const std::string kind(f[0].raw);
    if (kind == "Result Name") {
      expect(f, 2);
      once(kind);
      result.name = text(f[1], kind);
    } else if (kind == "Subject ID") {
      expect(f, 2);
      once(kind);
      result.subjectId = text(f[1], kind);
    } else if (kind == "Analysis Revision") {
      expect(f, 2);
      once(kind);
      result.analysisRevision = static_cast<std::int32_t>(whole(f[1], kind, INT32_MIN, INT32_MAX));
    } else if (kind == "Area Scale") {
      expect(f, 2);
      once(kind);
      result.areaScale = number(f[1], kind);
    } else if (kind == "Property") {
      expect(f, 4);
      const std::string name = text(f[1], "Property 'Name'");
      if (f[2].raw != "N" && f[2].raw != "T") fail(f[2].offset, "a property's kind is N or T");
      result.properties.push_back(
          {name, f[2].raw == "N"
                     ? harvestor::Variant::FromNumber(number(f[3], "Property 'Value'"))
                     : harvestor::Variant::FromText(text(f[3], "Property 'Value'", true))});
    } else if (kind == "Trace") {
      if (f.size() < 2) expect(f, 2);
      const auto dye = whole(f[1], "Trace 'Dye'", 1, 4);
      once("Trace " + std::to_string(dye));
      if (f.size() - 2 > static_cast<std::size_t>(kMaxScanIndex) + 1) {
        fail(f[1].offset, "a trace of more than " + std::to_string(kMaxScanIndex + 1) + " scans");
      }
      auto& trace = result.traces[static_cast<std::size_t>(dye - 1)];
      trace.reserve(f.size() - 2);
      for (std::size_t i = 2; i < f.size(); ++i) trace.push_back(single(f[i], "Trace 'Value'"));
    } else if (kind == "Fragment") {
      expect(f, 11);
      StoredFragment& fr = result.fragments.emplace_back();
      fr.dye = static_cast<std::int16_t>(whole(f[1], "Fragment 'Dye'", INT16_MIN, INT16_MAX));
      fr.locus = text(f[2], "Fragment 'Locus'");
      fr.alleleId = text(f[3], "Fragment 'Allele ID'");
      fr.comment = text(f[4], "Fragment 'Comment'", true);
      fr.conditionCode =
          static_cast<std::int32_t>(whole(f[5], "Fragment 'Condition Code'", INT32_MIN, INT32_MAX));
      fr.excluded = whole(f[6], "Fragment 'Excluded'", 0, 1) == 1;
      fr.size = single(f[7], "Fragment 'Fragment Size'");
      fr.height = single(f[8], "Fragment 'Peak Height'");
      fr.area = single(f[9], "Fragment 'Peak Area'");
      fr.divisor = single(f[10], "Fragment 'Area Divisor'");
    } else if (kind == "End") {
      expect(f, 1);
      if (std::find(seen.begin(), seen.end(), "Result Name") == seen.end()) {
        fail(start_, "the result has no 'Result Name' line");
      }
      ended = true;
    } else {
      fail(start_, "unknown line '" + text(f[0], "line kind") + "'");
    }
  }
  if (!ended) fail(next_, "the file ends before the result does (it is cut short)");
  return result;
}

}  // namespace

ImportedResult readNativeResult(const std::string& path) { return NativeReader(path).read(); }

}  // namespace workstation

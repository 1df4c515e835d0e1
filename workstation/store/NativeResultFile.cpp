#include "workstation/store/NativeResultFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "harvestor/service/TextFile.h"
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

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(unescapeField(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

}  // namespace

std::string escapeField(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
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

bool writeNativeResult(const std::string& path, const StoredSample& sample) {
  const SampleFacts& facts = sample.facts();
  harvestor::TextFileWriter file(path);
  if (!file.Ok()) return false;
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
  for (const StoredFragment& f : facts.fragments->items) {
    file.WriteLine("Fragment\t" + std::to_string(f.dye) + "\t" + escapeField(f.locus) + "\t" +
                   escapeField(f.alleleId) + "\t" + escapeField(f.comment) + "\t" +
                   std::to_string(f.conditionCode) + "\t" + (f.excluded ? "1" : "0") + "\t" +
                   exact(f.size) + "\t" + exact(f.height) + "\t" + exact(f.area) + "\t" +
                   exact(f.divisor));
  }
  file.WriteLine("End");
  return file.Commit();
}

ImportedResult readNativeResult(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImportError(path + ": cannot be read");
  auto fail = [&](int line, const std::string& what) -> void {
    throw ImportError(path + ":" + std::to_string(line) + ": " + what);
  };
  auto number = [&](int line, const std::string& text) {
    try {
      std::size_t used = 0;
      const double v = std::stod(text, &used);
      if (used != text.size()) fail(line, "'" + text + "' is not a number");
      return v;
    } catch (const std::logic_error&) {
      fail(line, "'" + text + "' is not a number");
      return 0.0;
    }
  };
  // A whole number the field can hold; anything else is refused before the cast.
  auto whole = [&](int line, const std::string& text, double min, double max) {
    const double v = number(line, text);
    if (!(v >= min && v <= max) || v != std::floor(v)) {
      fail(line, "'" + text + "' is not a whole number from " + exact(min) + " to " + exact(max));
    }
    return v;
  };
  ImportedResult result;
  std::string line;
  int n = 0;
  bool ended = false;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> f = fields(line);
    if (n == 1) {
      if (f.size() != 2 || f[0] != kMagic) fail(1, "not a native result file");
      if (f[1] != std::to_string(kNativeResultVersion)) fail(1, "native result version " + f[1] + " cannot be read");
      continue;
    }
    if (ended) fail(n, "text after the end of the result");
    const std::string& kind = f[0];
    auto expect = [&](std::size_t count) {
      if (f.size() != count) fail(n, "'" + kind + "' needs " + std::to_string(count - 1) + " fields");
    };
    if (kind == "Result Name") {
      expect(2);
      result.name = f[1];
    } else if (kind == "Subject ID") {
      expect(2);
      result.subjectId = f[1];
    } else if (kind == "Analysis Revision") {
      expect(2);
      result.analysisRevision = static_cast<std::int32_t>(whole(n, f[1], INT32_MIN, INT32_MAX));
    } else if (kind == "Area Scale") {
      expect(2);
      result.areaScale = number(n, f[1]);
    } else if (kind == "Property") {
      expect(4);
      result.properties.push_back({f[1], f[2] == "N" ? harvestor::Variant::FromNumber(number(n, f[3]))
                                                     : harvestor::Variant::FromText(f[3])});
    } else if (kind == "Trace") {
      const int dye = static_cast<int>(whole(n, f.size() > 1 ? f[1] : "", 1, 4));
      if (dye < 1 || dye > 4) fail(n, "a trace's dye is 1 to 4");
      auto& trace = result.traces[static_cast<std::size_t>(dye - 1)];
      for (std::size_t i = 2; i < f.size(); ++i) trace.push_back(static_cast<float>(number(n, f[i])));
    } else if (kind == "Fragment") {
      expect(11);
      StoredFragment& fr = result.fragments.emplace_back();
      fr.dye = static_cast<std::int16_t>(whole(n, f[1], INT16_MIN, INT16_MAX));
      fr.locus = f[2];
      fr.alleleId = f[3];
      fr.comment = f[4];
      fr.conditionCode = static_cast<std::int32_t>(whole(n, f[5], INT32_MIN, INT32_MAX));
      fr.excluded = f[6] == "1";
      fr.size = static_cast<float>(number(n, f[7]));
      fr.height = static_cast<float>(number(n, f[8]));
      fr.area = static_cast<float>(number(n, f[9]));
      fr.divisor = static_cast<float>(number(n, f[10]));
    } else if (kind == "End") {
      ended = true;
    } else {
      fail(n, "unknown line '" + kind + "'");
    }
  }
  if (n == 0) fail(1, "not a native result file");
  if (!ended) fail(n, "the file ends before the result does");
  return result;
}

}  // namespace workstation

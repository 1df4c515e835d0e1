#pragma once
// Installs the fake host objects, a fixed clock and a component folder in a
// fresh temporary tree (<tmp>/App/bin, with <tmp>/App/Export as the export
// folder), and starts a new export log. Everything is undone on destruction.

#include <string>
#include <vector>

#include "harvestor/service/Clock.h"
#include "harvestor/service/HError.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeLibraries.h"

namespace harvestor::testing {

class FixedClock : public IClock {
 public:
  explicit FixedClock(LocalDateTime t) : time(t) {}
  LocalDateTime Now() const override { return time; }
  LocalDateTime time;
};

class TestHost {
 public:
  TestHost();
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  std::string root;          // the fresh temporary folder
  std::string exportFolder;  // root + "/App/Export"
  FakeHostApplication application;
  FakeStudyService studies;
  FakeHostUtility utility;
  FakeFragmentFilter filter;
  FakeUserInterface ui;
  FakeSpreadsheet spreadsheet;
  FakeLibraries libraries;

  std::string Path(const std::string& name) const { return root + "/" + name; }
  void WriteLocusList(const std::string& bytes) const;
  // The current export log's lines, and how often it holds a line.
  std::vector<std::string> Log() const;
  long Logged(const std::string& line) const;
};

// Reads a whole file ("" when missing) and writes one.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Joins lines, each followed by CR LF.
std::string CrLf(const std::vector<std::string>& lines);

// The text of the E that run throws, or "" when it runs through.
template <typename E, typename Run>
std::string RefusalOf(Run run) {
  try {
    run();
  } catch (const E& e) {
    return e.what();
  }
  return "";
}

// The number of the HError that run raises, or 0 when it runs through.
template <typename Run>
std::int32_t ErrorOf(Run run) {
  try {
    run();
  } catch (const HError& e) {
    return e.Number;
  }
  return 0;
}

}  // namespace harvestor::testing

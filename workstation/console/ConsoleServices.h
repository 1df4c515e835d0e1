#pragma once
// The console's host services: the progress indicator (a bar on standard
// error when it is a terminal), the study service, the error reporter (every
// report printed on standard error and counted) with its collection
// operations, and the fragment filter (the console leaves every fragment in).

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "harvestor/service/HostFramework.h"

namespace workstation::console {

// The bar is drawn only on a terminal, redrawn when its percentage changes
// but at most every kRedraw (and always at 100%), and cleared by Finish or
// clear(); elsewhere nothing is written at all.
class ConsoleProgress final : public harvestor::IProgressBar {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kRedraw{250};

  ConsoleProgress(std::ostream& err, bool terminal, Clock clock = {});
  void Start(double maximum, double minimum) override;
  void Advance() override;
  void Finish() override;
  // Removes the bar from the terminal, if one is drawn.
  void clear();

 private:
  void draw();
  std::ostream& err_;
  bool terminal_;
  Clock clock_;
  double maximum_ = 0, value_ = 0;
  int shownPercent_ = -1;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point drawnAt_;
};

class ConsoleStudyService final : public harvestor::IStudyService {
 public:
  std::shared_ptr<harvestor::IStudy> CurrentStudy() override { return study_; }
  bool IsStudyOpen() override { return study_ != nullptr; }
  void Advise(harvestor::IStudyServiceEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(harvestor::IStudyServiceEvents* sink) override;
  void open(std::shared_ptr<harvestor::IStudy> study);
  void close();

 private:
  std::shared_ptr<harvestor::IStudy> study_;
  std::vector<harvestor::IStudyServiceEvents*> sinks_;
};

class ConsoleUtility final : public harvestor::IHostUtility {
 public:
  explicit ConsoleUtility(std::ostream& err) : err_(err) {}
  void ReportError(const std::string& component, const std::string& where,
                   const std::string& procedure, const harvestor::HError& error,
                   const std::string& helpText, std::int32_t helpContext) override;
  bool CollectionHasKey(const harvestor::CollectionBase& collection, std::string_view key) override;
  std::shared_ptr<harvestor::CollectionBase> SortCollection(
      const harvestor::CollectionBase& collection, std::int32_t, std::int32_t,
      const std::string& propertyName, bool descending) override;
  bool DebugMode() override { return false; }
  // One line on standard error naming the file and the reason.
  void ReportFileFailure(const std::string& failure) override { err_ << failure << "\n"; }
  int reports() const { return reports_; }
  // The procedure where the first error reported was raised (the first
  // report of an error is the deepest), and its number; empty and 0 before.
  const std::string& firstProcedure() const { return firstProcedure_; }
  std::int32_t firstNumber() const { return firstNumber_; }

 private:
  std::ostream& err_;
  int reports_ = 0;
  std::string firstProcedure_;
  std::int32_t firstNumber_ = 0;
};

class KeepEveryFragment final : public harvestor::IFragmentFilter {
 public:
  bool IsExcluded(const harvestor::IFragment&) override { return false; }
};

}  // namespace workstation::console

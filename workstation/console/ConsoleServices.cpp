#include "workstation/console/ConsoleServices.h"

#include <algorithm>
#include <ostream>

#include "harvestor/service/CollectionSort.h"

namespace workstation::console {

ConsoleProgress::ConsoleProgress(std::ostream& err, bool terminal, Clock clock)
    : err_(err), terminal_(terminal), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

void ConsoleProgress::Start(double maximum, double) {
  maximum_ = maximum;
  value_ = 0;
  shownPercent_ = -1;
  draw();
}

void ConsoleProgress::Advance() {
  value_ += 1;
  draw();
}

void ConsoleProgress::Finish() {
  clear();
  shownPercent_ = -1;
}

void ConsoleProgress::clear() {
  if (!drawn_) return;
  err_ << "\r" << std::string(60, ' ') << "\r" << std::flush;
  drawn_ = false;
}

void ConsoleProgress::draw() {
  if (!terminal_) return;
  const int percent =
      maximum_ > 0 ? static_cast<int>(std::min(100.0, 100.0 * value_ / maximum_)) : 0;
  if (percent == shownPercent_) return;
  const auto now = clock_();
  if (drawn_ && percent < 100 && now - drawnAt_ < kRedraw) return;
  shownPercent_ = percent;
  drawn_ = true;
  drawnAt_ = now;
  const int filled = percent * 40 / 100;
  err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(40 - filled), ' ') << "] " << percent << "%"
       << std::flush;
}

void ConsoleStudyService::Unadvise(harvestor::IStudyServiceEvents* sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void ConsoleStudyService::open(std::shared_ptr<harvestor::IStudy> study) {
  study_ = std::move(study);
  for (auto* sink : std::vector<harvestor::IStudyServiceEvents*>(sinks_)) sink->StudyOpened(study_);
}

void ConsoleStudyService::close() {
  auto closing = std::move(study_);
  study_ = nullptr;
  for (auto* sink : std::vector<harvestor::IStudyServiceEvents*>(sinks_))
    sink->StudyClosed(closing);
}

void ConsoleUtility::ReportError(const std::string& component, const std::string& where,
                                 const std::string& procedure, const harvestor::HError& error,
                                 const std::string&, std::int32_t) {
  if (reports_++ == 0) {
    firstProcedure_ = procedure;
    firstNumber_ = error.Number;
  }
  err_ << "error: " << component << " " << where << "." << procedure << ": " << error.Number << " "
       << error.Description << "\n";
}

bool ConsoleUtility::CollectionHasKey(const harvestor::CollectionBase& collection,
                                      std::string_view key) {
  return collection.HasKey(key);
}

std::shared_ptr<harvestor::CollectionBase> ConsoleUtility::SortCollection(
    const harvestor::CollectionBase& collection, std::int32_t, std::int32_t,
    const std::string& propertyName, bool descending) {
  return harvestor::SortByProperty(collection, propertyName, descending);
}

}  // namespace workstation::console

#include "tests/fakes/FakeHost.h"

#include <algorithm>

#include "harvestor/service/CollectionSort.h"
#include "harvestor/service/Text.h"

namespace harvestor::testing {

void FakeProgressBar::Start(double maximum, double minimum) {
  calls.push_back("Start " + FormatNumber(maximum) + " " + FormatNumber(minimum));
}
void FakeProgressBar::Advance() {
  ++advances;
  if (calls.empty() || calls.back() != "Advance") calls.push_back("Advance");
}
void FakeProgressBar::Finish() { calls.push_back("Finish"); }

void FakeCommonDialog::ShowSave() {
  if (onShow) onShow(*this);
  if (cancel && cancelError) throw HError(32755, "CommonDialog", "Cancel was selected.");
}

void FakeWindow::EnableButton(std::int32_t button, bool enabled) {
  buttons.emplace_back(button, enabled);
}

std::shared_ptr<IWindow> FakeWindowManager::ShowPage(const std::string& pageName,
                                                     const std::any& parameter,
                                                     IWindowExitHandler* exitHandler,
                                                     std::int32_t flag) {
  calls.push_back({pageName, parameter, exitHandler, flag});
  auto window = std::make_shared<FakeWindow>();
  window->pageName = pageName;
  window->parameter = parameter;
  if (onShow) onShow(*window);
  return window;
}

void FakeStudyService::Unadvise(IStudyServiceEvents* sink) {
  sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
}
void FakeStudyService::Open(std::shared_ptr<IStudy> s) {
  study = std::move(s);
  for (auto* sink : sinks) sink->StudyOpened(study);
}
void FakeStudyService::Close() {
  auto closing = study;
  study = nullptr;
  for (auto* sink : sinks) sink->StudyClosed(closing);
}

void FakeHostUtility::ReportError(const std::string& component, const std::string& where,
                                  const std::string& procedure, const HError& error,
                                  const std::string&, std::int32_t) {
  reported.push_back({component, where, procedure, error.Number, error.Description});
}

bool FakeHostUtility::CollectionHasKey(const CollectionBase& collection, std::string_view key) {
  return collection.HasKey(key);
}

std::shared_ptr<CollectionBase> FakeHostUtility::SortCollection(const CollectionBase& collection,
                                                                std::int32_t, std::int32_t,
                                                                const std::string& propertyName,
                                                                bool descending) {
  return SortByProperty(collection, propertyName, descending);
}

std::vector<std::string> FakeHostUtility::ReportedPlaces() const {
  std::vector<std::string> out;
  for (const auto& r : reported) out.push_back(r.where + "." + r.procedure);
  return out;
}

bool FakeFragmentFilter::IsExcluded(const IFragment& fragment) {
  ++asked;
  return predicate ? predicate(fragment) : false;
}

}  // namespace harvestor::testing

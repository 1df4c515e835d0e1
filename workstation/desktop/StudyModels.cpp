#include "workstation/desktop/StudyModels.h"

#include <map>

namespace workstation::desktop {
namespace {

QStandardItem* number(qlonglong value) {
  auto* item = new QStandardItem;
  item->setData(value, Qt::DisplayRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QStandardItem* text(const std::string& value) {
  return new QStandardItem(QString::fromStdString(value));
}

}  // namespace

void fillSubjects(QStandardItemModel& model, const harvestor::IStudy* study) {
  model.clear();
  model.setHorizontalHeaderLabels(
      {QObject::tr("Subject ID"), QObject::tr("Results"), QObject::tr("Included Results")});
  if (!study) return;
  struct Counts {
    qlonglong results = 0, included = 0;
  };
  std::map<std::string, Counts> subjects;
  std::vector<std::string> order;
  const auto results = study->Results();
  for (std::int32_t i = 0; i < results->Count(); ++i) {
    const auto item = results->Item(i);
    const std::string id = item->Result()->Sample()->SubjectID();
    auto [it, added] = subjects.try_emplace(id);
    if (added) order.push_back(id);
    ++it->second.results;
    if (!item->Excluded()) ++it->second.included;
  }
  for (const std::string& id : order) {
    const Counts& counts = subjects[id];
    model.appendRow({text(id), number(counts.results), number(counts.included)});
  }
}

void fillResults(QStandardItemModel& model, const harvestor::IStudy* study) {
  model.clear();
  model.setHorizontalHeaderLabels({QObject::tr("Result Name"), QObject::tr("Subject ID"),
                                   QObject::tr("Excluded"), QObject::tr("Fragments")});
  if (!study) return;
  const auto results = study->Results();
  for (std::int32_t i = 0; i < results->Count(); ++i) {
    const auto item = results->Item(i);
    const auto result = item->Result();
    model.appendRow({text(result->ResultName()), text(result->Sample()->SubjectID()),
                     text(item->Excluded() ? "Yes" : ""), number(item->Fragments()->Count())});
  }
}

}  // namespace workstation::desktop

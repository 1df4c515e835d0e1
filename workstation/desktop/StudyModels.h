#pragma once
// The main window's models of the open study: its subjects (with how many
// results each has, and how many of them are included) and its results (name,
// subject, whether excluded, fragment count). Numbers are kept as numbers,
// so sorting a column orders them by value.

#include <QStandardItemModel>
#include <memory>

#include "harvestor/service/StudyObjects.h"

namespace workstation::desktop {

void fillSubjects(QStandardItemModel& model, const harvestor::IStudy* study);
void fillResults(QStandardItemModel& model, const harvestor::IStudy* study);

}  // namespace workstation::desktop

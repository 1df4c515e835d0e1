#pragma once
// How every workstation host attaches the component: it creates the Service,
// gives its service base the four host commands ("ExportResult",
// "ExportStudy", "LOH", "LocusListEdit") and raises Initialize, so the
// service disables "ExportStudy" and "LOH" until a study opens. The host
// objects must be installed first.

#include <memory>

#include "harvestor/service/Service.h"

namespace workstation {

std::unique_ptr<harvestor::Service> attachService();

}  // namespace workstation

#include "workstation/console/AttachedService.h"

namespace workstation {

std::unique_ptr<harvestor::Service> attachService() {
  auto service = std::make_unique<harvestor::Service>();
  const auto base = service->IServiceAccess_Service();
  for (const char* command : {"ExportResult", "ExportStudy", "LOH", "LocusListEdit"})
    base->AddCommand(command);
  base->RaiseInitialize();
  return service;
}

}  // namespace workstation

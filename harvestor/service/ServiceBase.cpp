#include "harvestor/service/ServiceBase.h"

namespace harvestor {

std::shared_ptr<HostCommand> ServiceBase::AddCommand(const std::string& name, bool enabled) {
  auto command = std::make_shared<HostCommand>(HostCommand{name, enabled});
  commands_->Add(command, name);
  return command;
}

void ServiceBase::RaiseInitialize() {
  if (Initialize) Initialize();
}

}  // namespace harvestor

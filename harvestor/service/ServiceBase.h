#pragma once
// The host framework's service base: the object through which a host
// attaches a service. The service creates it; the host fills its command
// collection (keyed by command name) and raises Initialize once.

#include <functional>
#include <memory>
#include <string>

#include "harvestor/service/Collection.h"

namespace harvestor {

struct HostCommand {
  std::string Name;
  bool Enabled = true;
};

class ServiceBase {
 public:
  ServiceBase() : commands_(NewCollection<std::shared_ptr<HostCommand>>()) {}

  CollectionPtr<std::shared_ptr<HostCommand>> Commands() const { return commands_; }
  // Host side: adds a command under its name.
  std::shared_ptr<HostCommand> AddCommand(const std::string& name, bool enabled = true);

  // The Initialize event; the service connects its handler.
  std::function<void()> Initialize;
  void RaiseInitialize();

 private:
  CollectionPtr<std::shared_ptr<HostCommand>> commands_;
};

// What a host asks of a service object to attach it.
class IServiceAccess {
 public:
  virtual ~IServiceAccess() = default;
  virtual std::shared_ptr<ServiceBase> IServiceAccess_Service() = 0;
};

}  // namespace harvestor

#pragma once
// The workstation's CRV trace writer: it collects results and writes one set
// for a target B.E: four dye trace files B_D1.E to B_D4.E (one comma-separated
// column per result in the order they were added, one row per scan point)
// and the order file B_CRV_TRACE_ORDER.txt (the result names in that order).
// A result without any trace is not taken (status 2). The five files are
// replaced together or not at all.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/FileSystem.h"
#include "harvestor/service/HostLibraries.h"

namespace workstation {

class CRVTraceWriter final : public harvestor::ICRVTraceWriter {
 public:
  explicit CRVTraceWriter(harvestor::FileSystem& fs = harvestor::FileSystem::Real()) : fs_(fs) {}
  void SetOutputFile(const std::string& fileName) override { target_ = fileName; }
  void AddResult(const std::shared_ptr<harvestor::ISample>& sample, std::int32_t& status,
                 const std::string& resultName) override;
  // Throws StoreError naming the file that could not be written and why.
  void WriteFiles() override;

 private:
  struct Column {
    std::string name;
    std::vector<float> dyes[4];
  };
  harvestor::FileSystem& fs_;
  std::string target_;
  std::vector<Column> columns_;
};

}  // namespace workstation

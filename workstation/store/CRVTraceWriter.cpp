#include "workstation/store/CRVTraceWriter.h"

#include <algorithm>

#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"
#include "workstation/store/Database.h"

namespace workstation {

void CRVTraceWriter::AddResult(const std::shared_ptr<harvestor::ISample>& sample, std::int32_t& status,
                               const std::string& resultName) {
  Column column{resultName, {}};
  bool any = false;
  for (std::int16_t dye = 1; dye <= 4; ++dye) {
    column.dyes[dye - 1] = sample->Trace(dye);
    any = any || !column.dyes[dye - 1].empty();
  }
  if (!any) {
    status = 2;
    return;
  }
  columns_.push_back(std::move(column));
  status = 1;
}

void CRVTraceWriter::WriteFiles() {
  for (int dye = 1; dye <= 4; ++dye) {
    const std::string name = harvestor::OutputNaming::CRVTraceFileName(target_, dye);
    std::size_t scans = 0;
    for (const Column& c : columns_) scans = std::max(scans, c.dyes[dye - 1].size());
    harvestor::TextFileWriter file(name);
    for (std::size_t s = 0; s < scans; ++s) {
      std::string line;
      for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c > 0) line += ",";
        const auto& trace = columns_[c].dyes[dye - 1];
        if (s < trace.size()) line += harvestor::FormatSignificant(trace[s], 7);
      }
      file.WriteLine(line);
    }
    if (!file.Commit()) throw StoreError(name + ": cannot be written");
  }
  std::vector<std::string> names;
  for (const Column& c : columns_) names.push_back(c.name);
  const std::string order = harvestor::OutputNaming::CRVOrderFileName(target_);
  if (!harvestor::WriteTextLines(order, names)) throw StoreError(order + ": cannot be written");
}

}  // namespace workstation

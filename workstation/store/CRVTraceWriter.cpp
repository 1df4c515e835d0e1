#include "workstation/store/CRVTraceWriter.h"

#include <algorithm>

#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/service/FileSet.h"
#include "harvestor/service/Text.h"
#include "workstation/store/Database.h"

namespace workstation {

void CRVTraceWriter::AddResult(const std::shared_ptr<harvestor::ISample>& sample,
                               std::int32_t& status, const std::string& resultName) {
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
  harvestor::FileSet set(fs_);
  std::string line;
  for (int dye = 1; dye <= 4; ++dye) {
    harvestor::TextFileWriter& file =
        set.Add(harvestor::OutputNaming::CRVTraceFileName(target_, dye));
    std::size_t scans = 0;
    for (const Column& c : columns_) scans = std::max(scans, c.dyes[dye - 1].size());
    for (std::size_t s = 0; s < scans; ++s) {
      line.clear();
      for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c > 0) line += ",";
        const auto& trace = columns_[c].dyes[dye - 1];
        if (s < trace.size()) line += harvestor::FormatSignificant(trace[s], 7);
      }
      file.WriteLine(line);
    }
  }
  harvestor::TextFileWriter& order = set.Add(harvestor::OutputNaming::CRVOrderFileName(target_));
  for (const Column& c : columns_) order.WriteLine(c.name);
  if (!set.Commit()) throw StoreError(set.Failure());
}

}  // namespace workstation

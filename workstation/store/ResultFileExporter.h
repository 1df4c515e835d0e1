#pragma once
// The workstation's result file exporter: one result as one file, in the
// tab-delimited text format (sections chosen by the option string, each
// introduced by a line naming it) or the native format (always whole).
// Status 1 means written; 2 the file could not be written; 3 the sample is
// not one of the study database's; 4 the format is not one it writes. A file
// that could not be written is reported to the host with the system's reason.

#include <string>

#include "harvestor/service/HostLibraries.h"

namespace workstation {

class ResultFileExporter final : public harvestor::IResultFileExporter {
 public:
  enum Status : std::int32_t { Written = 1, CannotWrite = 2, UnknownSample = 3, UnknownFormat = 4 };

  void SetOptionString(const std::string& options) override { options_ = options; }
  void SetFlags(std::int32_t flags) override { flags_ = flags; }
  void SetFormat(std::int32_t format) override { format_ = format; }
  void SetOutputFile(const std::string& fileName) override { outputFile_ = fileName; }
  std::int32_t ExportSample(const std::shared_ptr<harvestor::ISample>& sample) override;

  // Whether the option string turns an element on ("HEADER", "FRAGLIST", ...).
  bool option(const std::string& key) const;

 private:
  static std::int32_t cannotWrite(const std::string& failure);
  std::string options_;
  std::int32_t flags_ = 0;
  std::int32_t format_ = 0;
  std::string outputFile_;
};

}  // namespace workstation

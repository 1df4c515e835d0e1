#pragma once
// Objects the component creates from the host's libraries: the
// fragment-analysis library's result file exporter and CRV trace writer, and
// the controls a page hosts (its own common dialog, the selection control).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "harvestor/service/Collection.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/StudyObjects.h"

namespace harvestor {

// Writes one result as one file, in the format and with the elements set.
class IResultFileExporter {
 public:
  virtual ~IResultFileExporter() = default;
  virtual void SetOptionString(const std::string& options) = 0;
  virtual void SetFlags(std::int32_t flags) = 0;
  virtual void SetFormat(std::int32_t format) = 0;
  virtual void SetOutputFile(const std::string& fileName) = 0;
  // Writes the file; 1 when written, any other value when not.
  virtual std::int32_t ExportSample(const std::shared_ptr<ISample>& sample) = 0;
};

// Collects results and writes one CRV set: four dye trace files and the
// trace order file.
class ICRVTraceWriter {
 public:
  virtual ~ICRVTraceWriter() = default;
  virtual void SetOutputFile(const std::string& fileName) = 0;
  // Sets status to 1 when the result was taken into the set.
  virtual void AddResult(const std::shared_ptr<ISample>& sample, std::int32_t& status,
                         const std::string& resultName) = 0;
  virtual void WriteFiles() = 0;
};

using ResultCollection = CollectionPtr<std::shared_ptr<IResult>>;

// The host's selection control: offers the items of a type and keeps the
// selected ones in the collection it was given, filled in place.
class ISelectionControl {
 public:
  virtual ~ISelectionControl() = default;
  virtual void InitSelection(const std::string& selectionType,
                             const ResultCollection& selection) = 0;
  // Raised whenever the selection changes.
  std::function<void()> SelectionChanged;
};

// The host's loader of study objects. The locus list editor asks it
// Query("CurrentLoci", "", "", "Name", 0, true) for the open study's loci,
// each an object with a Name.
class ILociLoader {
 public:
  virtual ~ILociLoader() = default;
  virtual CollectionPtr<std::shared_ptr<IObject>> Query(const std::string& what,
                                                        const std::string& a, const std::string& b,
                                                        const std::string& property, std::int32_t c,
                                                        bool d) = 0;
};

class IHostLibraries {
 public:
  virtual ~IHostLibraries() = default;
  virtual std::shared_ptr<IResultFileExporter> CreateResultFileExporter() = 0;
  virtual std::shared_ptr<ICRVTraceWriter> CreateCRVTraceWriter() = 0;
  virtual std::shared_ptr<ICommonDialog> CreateCommonDialog() = 0;
  virtual std::shared_ptr<ISelectionControl> CreateSelectionControl() = 0;
  virtual std::shared_ptr<ILociLoader> CreateLociLoader() = 0;
};

}  // namespace harvestor

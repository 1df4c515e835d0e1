#pragma once
// The settings of one result export run: filled by the wizard pages, read by
// the status page. Only the collection is set up on creation; the wizard adds
// to it and never replaces it.

#include <memory>
#include <string>

#include "harvestor/resultexport/FormatTypes.h"
#include "harvestor/service/Collection.h"
#include "harvestor/service/PageBase.h"
#include "harvestor/service/StudyObjects.h"

namespace harvestor {

class ExportParameters {
 public:
  ExportParameters();

  CollectionPtr<std::shared_ptr<IResult>> colSelectedResults;
  bool bSendHeader = false;
  bool bSendRawData = false;
  bool bSendResultData = false;
  bool bSendResultOutput = false;
  bool bRemoveSuffix = false;
  bool bResolveFilenameConflicts = false;
  std::string strFileName;
  std::string strFilePath;
  std::string strFileExtension;
  std::string strFullPathAndFileName;
  std::int32_t enumFileFormat = 0;
};

// The run's parameters, as the result export pages get them: their page
// base's parameter object, fetched afresh by each procedure.
std::shared_ptr<ExportParameters> ParametersOf(const PageBase& base);

}  // namespace harvestor

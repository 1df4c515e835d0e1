#pragma once
// The genotype table of one study export, and its writers. BuildGenoGroup
// turns every included study result into one Individual per subject (several
// results of a subject merged), sorted by individual ID; the exporters then
// write the loci named in LocusList.txt, in its order. Everything the run
// meets is logged to the export log; a file that cannot be written is logged
// and the export goes on.

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "harvestor/genotype/Individual.h"
#include "harvestor/service/Collection.h"
#include "harvestor/service/HostFramework.h"

namespace harvestor {

class GenoGroup {
 public:
  GenoGroup();

  CollectionPtr<IndividualPtr> Individuals() const;
  void Individuals(CollectionPtr<IndividualPtr> colIndividuals);
  CollectionPtr<std::string> LociList() const;
  std::shared_ptr<IProgressBar> ProgressBar() const;

  void BuildGenoGroup(const IStudy& oStudy);
  void ExportAsPedin(const std::string& strPathAndFileName);
  bool CheckLocusList();
  bool ReadLocusList(bool UpdateLocusList);
  void ExportAsDMP(const std::string& strPathAndFileName);
  void ExportAsGSR(const std::string& strPathAndFileName);
  std::string RetrieveLociRev2(const Individual& oIndividual, const std::string& charDelimiter,
                               const std::string& charError, bool bLog);
  std::string RetrieveLociRev3(const Individual& oIndividual, const std::string& charDelimiter,
                               const std::string& charError, bool bLog);
  std::string GetExportFolder();

 private:
  // What a writer puts where it cannot give a genotype: the value for a locus
  // the individual lacks, and for a locus with 0 or more than 2 alleles the
  // value (written twice) and the line logged under it.
  struct UncalledLocus {
    std::string absent;
    std::function<std::pair<std::string, std::string>(Int16 alleles)> uncalled;
  };
  // Two columns for each locus of the list, each preceded by the delimiter.
  std::string RetrieveLociColumns(const Individual& oIndividual, const std::string& delimiter,
                                  bool bLog, const UncalledLocus& fill);
  std::string RetrievePedinPedigree(const Individual& oIndividual, const std::string& delimiter,
                                    const std::string& error, bool bLog);
  void InitializePedinDebugFile(const std::string& strPathAndFileName);
  void WritePedinFile(const std::string& strPathAndFileName);
  void WritePedinDebugFile(const std::string& strPathAndFileName);
  void WriteExportLogFile(const std::string& strPathAndFileName);
  std::string FindLocusListFilePathAndName();
  std::string RetrieveDMPPedigree(const Individual& oIndividual, const std::string& delimiter,
                                  const std::string& error);
  void WriteExportFile(const Collection<std::string>& lines, const std::string& strPathAndFileName);
  // Writes lines to a file and logs "Exported " + exportedNote, or the
  // "Can't create " line; never raises.
  void WriteLinesLogged(const Collection<std::string>& lines, const std::string& fileName,
                        const std::string& exportedNote);
  IProgressBar& Progress() const;

  CollectionPtr<IndividualPtr> m_colIndividuals;
  CollectionPtr<std::string> m_colDMPLines;
  CollectionPtr<std::string> m_colPedinLines;
  CollectionPtr<std::string> m_colGSRLines;
  CollectionPtr<std::string> m_colPedinDebugLines;
  CollectionPtr<std::string> m_colLociList;
  std::shared_ptr<IProgressBar> m_oProgressBar;
};

}  // namespace harvestor

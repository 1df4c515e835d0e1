#pragma once
// The genotype table of one study export, and its writers. BuildGenoGroup
// turns every included study result into one Individual per subject (several
// results of a subject merged), sorted by individual ID; the exporters then
// write the loci named in LocusList.txt, in its order. Everything the run
// meets is logged to the export log; a file that cannot be written is logged
// and the export goes on. Each line is formatted into a reused buffer and
// handed to the file's writer as it is made, so a file's size never counts
// against memory.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "harvestor/genotype/Individual.h"
#include "harvestor/service/Collection.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/TextFile.h"

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
  // Where one writer's line grows: the line and the delimiter before each field.
  struct LineColumns {
    std::string& line;
    const std::string& delimiter;
  };
  // Appends two columns for each locus of the list to every line given, each
  // preceded by its delimiter; logs what it finds once when bLog.
  void AppendLociColumns(const Individual& oIndividual, bool bLog, const UncalledLocus& fill,
                         std::initializer_list<LineColumns> lines);
  void AppendPedinPedigree(std::string& text, const Individual& oIndividual,
                           const std::string& delimiter, const std::string& error, bool bLog);
  void AppendDMPPedigree(std::string& text, const Individual& oIndividual,
                         const std::string& delimiter, const std::string& error);
  UncalledLocus PedinFill(const std::string& error) const;
  static UncalledLocus SummaryFill();
  std::string RetrievePedinPedigree(const Individual& oIndividual, const std::string& delimiter,
                                    const std::string& error, bool bLog);
  void WritePedinDebugHeading(TextFileWriter& debugFile, const std::string& strPathAndFileName);
  void WriteExportLogFile(const std::string& strPathAndFileName);
  std::string FindLocusListFilePathAndName();
  // Completes a file written line by line and logs "Exported " + exportedNote,
  // or the "Can't create " line; never raises.
  void CommitLogged(TextFileWriter& file, const std::string& exportedNote);
  // Logs "Missing " + what + " for Subject: " + id through a reused buffer.
  void LogMissing(const char* what, const std::string& id);
  IProgressBar& Progress() const;

  CollectionPtr<IndividualPtr> m_colIndividuals;
  std::string m_strMessage;  // a log line being put together, reused line after line
  CollectionPtr<std::string> m_colLociList;
  std::shared_ptr<IProgressBar> m_oProgressBar;
};

}  // namespace harvestor

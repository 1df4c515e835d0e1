// GenoGroup: the Linkage (pre-makeped) file and its comma-separated debug copy.
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/Text.h"

namespace harvestor {
namespace {

std::string Cut11(const std::string& id) { return Left(id, 11); }

std::string DebugFileName(const std::string& strPathAndFileName) {
  FileName parts;
  parts.Initialize(strPathAndFileName);
  return parts.PathAndFileNameSansExtension() + ".debug";
}

}  // namespace

void GenoGroup::ExportAsPedin(const std::string& P) {
  Handled("GenoGroup", "ExportAsPedin", [&] {
    m_colLociList = NewCollection<std::string>();
    m_colPedinLines = NewCollection<std::string>();
    m_colPedinDebugLines = NewCollection<std::string>();
    const bool listRead = ReadLocusList(false);
    InitializePedinDebugFile(P);
    const std::string space = " ", comma = ",", missing = "?";
    for (const IndividualPtr& individual : *m_colIndividuals) {
      Progress().Advance();
      std::string line = RetrievePedinPedigree(*individual, space, missing, true);
      std::string debugLine = RetrievePedinPedigree(*individual, comma, missing, false);
      if (listRead) {
        line += RetrieveLociRev2(*individual, space, missing, true);
        debugLine += RetrieveLociRev2(*individual, comma, missing, false);
      }
      m_colPedinLines->Add(std::move(line));
      m_colPedinDebugLines->Add(std::move(debugLine));
    }
    WritePedinDebugFile(P);
    WritePedinFile(P);
    WriteExportLogFile(P);
    Progress().Finish();
  });
}

std::string GenoGroup::RetrievePedinPedigree(const Individual& o, const std::string& D,
                                             const std::string& E, bool bLog) {
  const std::string id = o.IndividualID();
  auto missing = [&](const char* what) {
    if (bLog) ErrorLog::LogExportMsg(std::string("Missing ") + what + " for Subject: " + id);
  };
  std::string text;
  const std::string pedigree = o.PedigreeID();
  if (pedigree.empty()) {
    text = E;
    missing("Pedigree ID");
  } else {
    text = Cut11(pedigree);
  }
  text += D + Cut11(id);
  const std::string father = o.FatherID();
  if (father.empty()) missing("Father ID");
  text += D + (father.empty() ? E : Cut11(father));
  const std::string mother = o.MotherID();
  if (mother.empty()) missing("Mother ID");
  text += D + (mother.empty() ? E : Cut11(mother));
  const std::int32_t gender = o.Gender();
  if (gender == enumGenderUnspecified) missing("Gender");
  text += D + (gender == enumGenderUnspecified ? E : std::to_string(gender));
  const std::int32_t affectation = o.AffectationStatus();
  const bool noStatus =
      affectation == enumAffectationUnknown || affectation == enumAffectationUnspecified;
  if (noStatus) missing("Affectation Status");
  text += D + (noStatus ? std::string("0") : std::to_string(affectation));
  text += D + std::to_string(o.LiabilityClass());
  return text;
}

std::string GenoGroup::RetrieveLociRev2(const Individual& o, const std::string& D,
                                        const std::string& E, bool bLog) {
  return RetrieveLociColumns(
      o, D, bLog, {E, [&](Int16 n) {
                     const char* what =
                         n == 0 ? "\tNo alleles: Allele ID: " : "\tToo many alleles: Allele ID: ";
                     return std::make_pair(E, what + E + "\t Allele ID: " + E);
                   }});
}

std::string GenoGroup::RetrieveLociColumns(const Individual& o, const std::string& D, bool bLog,
                                           const UncalledLocus& fill) {
  std::string result;
  ToInt16(m_colLociList->Count());  // the count is 16-bit: a longer list overflows
  const std::string id = o.IndividualID();
  for (const std::string& L : *m_colLociList) {
    std::string a1 = fill.absent, a2 = fill.absent;
    const GenoLocusPtr locus = o.RetrieveGenoLocus(L);
    if (!locus) {
      if (bLog) ErrorLog::LogExportMsg("Missing locus: " + L + " for Subject: " + id);
    } else {
      if (bLog) ErrorLog::LogExportMsg("Processing locus: " + L + " for Subject: " + id);
      const Int16 n = locus->NumberOfAlleles();
      const CollectionPtr<std::string> alleles = locus->Alleles();
      if (n == 1) {
        a1 = a2 = *alleles->begin();
        if (bLog) ErrorLog::LogExportMsg("\tHomozygous: Allele ID: " + a1);
      } else if (n == 2) {
        auto it = alleles->begin();
        a1 = *it;
        a2 = *++it;
        if (bLog)
          ErrorLog::LogExportMsg("\tHeterozygous: Allele ID: " + a1 + "\t Allele ID: " + a2);
      } else {
        auto [value, line] = fill.uncalled(n);
        a1 = a2 = value;
        if (bLog) ErrorLog::LogExportMsg(line);
      }
    }
    result += D + a1 + D + a2;
  }
  return result;
}

void GenoGroup::InitializePedinDebugFile(const std::string& P) {
  Handled("GenoGroup", "InitializePedinDebugFile", [&] {
    FileName parts;
    parts.Initialize(P);
    Collection<std::string>& lines = *m_colPedinDebugLines;
    lines.Add("File: " + parts.FileNameSansExtension() + ".debug");
    lines.Add("Created: " + FormatGeneralDate(HostObjects::Clock().Now()));
    lines.Add("This is a debugging version of the " + parts.FileName_() + " file.");
    lines.Add("It includes column headings and Comma separated data.");
    lines.Add("It can be opened in a spreadsheet as an aid to correcting errors");
    lines.Add("in the associated *.pre format file.");
    lines.Add(" ");
    lines.Add("After correcting errors this file can be saved as the desired *.pre file.");
    lines.Add("Before saving the file remove this preamble and the column headings.");
    lines.Add("Save the file using Space character delimiters in place of the Comma delimiters.");
    lines.Add(" ");
    std::string heading =
        "Pedigree ID,Individual ID,Father ID,Mother ID,Gender,Affectation Status,Liability Class";
    for (const std::string& L : *m_colLociList) {
      heading += ",Allele 1 for " + L + ",Allele 2 for " + L;
    }
    lines.Add(std::move(heading));
  });
}

void GenoGroup::WritePedinFile(const std::string& P) { WriteLinesLogged(*m_colPedinLines, P, P); }

void GenoGroup::WritePedinDebugFile(const std::string& P) {
  const std::string name = DebugFileName(P);
  WriteLinesLogged(*m_colPedinDebugLines, name,
                   name +
                       "  (as an aid to viewing and correcting the contents of the associated "
                       "*.pre file)");
}

}  // namespace harvestor

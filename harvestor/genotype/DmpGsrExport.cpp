// GenoGroup: the Discovery Manager population file and the Genotype Summary
// Report. Neither has an error handler of its own: errors reach the caller.
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/Int16.h"

namespace harvestor {

void GenoGroup::ExportAsDMP(const std::string& P) {
  m_colLociList = NewCollection<std::string>();
  m_colDMPLines = NewCollection<std::string>();
  const bool listRead = ReadLocusList(false);
  std::string heading = "PopID,KinID,SubID,MID,FID,Sex";
  for (const std::string& L : *m_colLociList) heading += "," + L;
  m_colDMPLines->Add(std::move(heading));
  const std::string comma = ",", none;
  for (const IndividualPtr& individual : *m_colIndividuals) {
    Progress().Advance();
    std::string line = RetrieveDMPPedigree(*individual, comma, none);
    if (listRead) line += RetrieveLociRev2(*individual, comma, none, true);
    m_colDMPLines->Add(std::move(line));
  }
  WriteExportFile(*m_colDMPLines, P);
  WriteExportLogFile(P);
  Progress().Finish();
}

std::string GenoGroup::RetrieveDMPPedigree(const Individual& o, const std::string& D,
                                           const std::string& E) {
  const std::string id = o.IndividualID();
  auto field = [&](const std::string& value, const char* what) {
    if (!value.empty()) return value;
    ErrorLog::LogExportMsg(std::string("Missing ") + what + " for Subject: " + id);
    return E;
  };
  std::string text = field(o.PopulationID(), "Population ID");
  text += D + field(o.PedigreeID(), "Kindred ID");
  text += D + id;
  text += D + field(o.MotherID(), "Mother ID");
  text += D + field(o.FatherID(), "Father ID");
  const std::int32_t gender = o.Gender();
  text += D + field(gender == enumGenderUnspecified ? std::string() : std::to_string(gender), "Gender");
  return text;
}

void GenoGroup::ExportAsGSR(const std::string& P) {
  m_colLociList = NewCollection<std::string>();
  m_colGSRLines = NewCollection<std::string>();
  const bool listRead = ReadLocusList(false);
  std::string heading = "Subject ID";
  for (const std::string& L : *m_colLociList) heading += "\t" + L + " A1\t" + L + " A2";
  m_colGSRLines->Add(std::move(heading));
  const std::string tab = "\t", none;
  for (const IndividualPtr& individual : *m_colIndividuals) {
    Progress().Advance();
    std::string line = individual->IndividualID();
    if (listRead) line += RetrieveLociRev3(*individual, tab, none, true);
    m_colGSRLines->Add(std::move(line));
  }
  WriteExportFile(*m_colGSRLines, P);
  WriteExportLogFile(P);
  Progress().Finish();
}

std::string GenoGroup::RetrieveLociRev3(const Individual& o, const std::string& D,
                                        const std::string& /*charError: the fill values are fixed*/,
                                        bool bLog) {
  std::string result;
  ToInt16(m_colLociList->Count());  // the count is 16-bit: a longer list overflows
  const std::string id = o.IndividualID();
  for (const std::string& L : *m_colLociList) {
    std::string a1 = " ", a2 = " ";
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
        if (bLog) ErrorLog::LogExportMsg("\tHeterozygous: Allele ID: " + a1 + "\t Allele ID: " + a2);
      } else if (n == 0) {
        a1 = a2 = "None found";
        if (bLog) ErrorLog::LogExportMsg("\tNo alleles found");
      } else {
        a1 = a2 = "Too many (" + std::to_string(n) + ")";
        if (bLog) ErrorLog::LogExportMsg("\tToo many alleles");
      }
    }
    result += D + a1 + D + a2;
  }
  return result;
}

}  // namespace harvestor

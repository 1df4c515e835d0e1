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
  text +=
      D + field(gender == enumGenderUnspecified ? std::string() : std::to_string(gender), "Gender");
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
  return RetrieveLociColumns(o, D, bLog,
                             {" ", [](Int16 n) {
                                if (n == 0)
                                  return std::make_pair(std::string("None found"),
                                                        std::string("\tNo alleles found"));
                                return std::make_pair("Too many (" + std::to_string(n) + ")",
                                                      std::string("\tToo many alleles"));
                              }});
}

}  // namespace harvestor

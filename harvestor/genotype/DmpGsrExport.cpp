// GenoGroup: the Discovery Manager population file and the Genotype Summary
// Report. Neither has an error handler of its own: errors reach the caller.
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/Int16.h"

namespace harvestor {

void GenoGroup::ExportAsDMP(const std::string& P) {
  m_colLociList = NewCollection<std::string>();
  const bool listRead = ReadLocusList(false);
  TextFileWriter file(P);
  std::string line = "PopID,KinID,SubID,MID,FID,Sex";
  for (const std::string& L : *m_colLociList) line.append(",").append(L);
  file.WriteLine(line);
  const std::string comma = ",", none;
  const UncalledLocus fill = PedinFill(none);
  for (const IndividualPtr& individual : *m_colIndividuals) {
    Progress().Advance();
    line.clear();
    AppendDMPPedigree(line, *individual, comma, none);
    if (listRead) AppendLociColumns(*individual, true, fill, {{line, comma}});
    file.WriteLine(line);
  }
  CommitLogged(file, P);
  WriteExportLogFile(P);
  Progress().Finish();
}

void GenoGroup::AppendDMPPedigree(std::string& text, const Individual& o, const std::string& D,
                                  const std::string& E) {
  const std::string id = o.IndividualID();
  auto field = [&](const std::string& value, const char* what) {
    if (!value.empty()) {
      text += value;
    } else {
      LogMissing(what, id);
      text += E;
    }
  };
  field(o.PopulationID(), "Population ID");
  text += D;
  field(o.PedigreeID(), "Kindred ID");
  text += D;
  text += id;
  text += D;
  field(o.MotherID(), "Mother ID");
  text += D;
  field(o.FatherID(), "Father ID");
  text += D;
  const std::int32_t gender = o.Gender();
  field(gender == enumGenderUnspecified ? std::string() : std::to_string(gender), "Gender");
}

void GenoGroup::ExportAsGSR(const std::string& P) {
  m_colLociList = NewCollection<std::string>();
  const bool listRead = ReadLocusList(false);
  TextFileWriter file(P);
  std::string line = "Subject ID";
  for (const std::string& L : *m_colLociList) {
    line.append("\t").append(L).append(" A1\t").append(L).append(" A2");
  }
  file.WriteLine(line);
  const std::string tab = "\t";
  const UncalledLocus fill = SummaryFill();
  for (const IndividualPtr& individual : *m_colIndividuals) {
    Progress().Advance();
    line = individual->IndividualID();
    if (listRead) AppendLociColumns(*individual, true, fill, {{line, tab}});
    file.WriteLine(line);
  }
  CommitLogged(file, P);
  WriteExportLogFile(P);
  Progress().Finish();
}

GenoGroup::UncalledLocus GenoGroup::SummaryFill() {
  return {" ", [](Int16 n) {
            if (n == 0)
              return std::make_pair(std::string("None found"), std::string("\tNo alleles found"));
            return std::make_pair("Too many (" + std::to_string(n) + ")",
                                  std::string("\tToo many alleles"));
          }};
}

std::string GenoGroup::RetrieveLociRev3(const Individual& o, const std::string& D,
                                        const std::string& /*charError: the fill values are fixed*/,
                                        bool bLog) {
  std::string result;
  AppendLociColumns(o, bLog, SummaryFill(), {{result, D}});
  return result;
}

}  // namespace harvestor

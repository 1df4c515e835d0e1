// GenoGroup: the Linkage (pre-makeped) file and its comma-separated debug copy.
#include <charconv>

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/Utf8.h"

namespace harvestor {
namespace {

void AppendInteger(std::string& text, std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, end);
}

std::string DebugFileName(const std::string& strPathAndFileName) {
  FileName parts;
  parts.Initialize(strPathAndFileName);
  return parts.PathAndFileNameSansExtension() + ".debug";
}

}  // namespace

void GenoGroup::ExportAsPedin(const std::string& P) {
  Handled("GenoGroup", "ExportAsPedin", [&] {
    m_colLociList = NewCollection<std::string>();
    const bool listRead = ReadLocusList(false);
    // Both files are written as their lines are made; the debug copy is put
    // in place first, as it always has been.
    TextFileWriter debugFile(DebugFileName(P));
    TextFileWriter pedinFile(P);
    WritePedinDebugHeading(debugFile, P);
    const std::string space = " ", comma = ",", missing = "?";
    const UncalledLocus fill = PedinFill(missing);
    std::string line, debugLine;
    for (const IndividualPtr& individual : *m_colIndividuals) {
      Progress().Advance();
      line.clear();
      debugLine.clear();
      AppendPedinPedigree(line, *individual, space, missing, true);
      AppendPedinPedigree(debugLine, *individual, comma, missing, false);
      if (listRead) AppendLociColumns(*individual, true, fill, {{line, space}, {debugLine, comma}});
      pedinFile.WriteLine(line);
      debugFile.WriteLine(debugLine);
    }
    CommitLogged(debugFile, debugFile.Path() +
                                "  (as an aid to viewing and correcting the contents of the "
                                "associated *.pre file)");
    CommitLogged(pedinFile, P);
    WriteExportLogFile(P);
    Progress().Finish();
  });
}

void GenoGroup::LogMissing(const char* what, const std::string& id) {
  m_strMessage.assign("Missing ").append(what).append(" for Subject: ").append(id);
  ErrorLog::LogExportMsg(m_strMessage);
}

std::string GenoGroup::RetrievePedinPedigree(const Individual& o, const std::string& D,
                                             const std::string& E, bool bLog) {
  std::string text;
  AppendPedinPedigree(text, o, D, E, bLog);
  return text;
}

void GenoGroup::AppendPedinPedigree(std::string& text, const Individual& o, const std::string& D,
                                    const std::string& E, bool bLog) {
  const std::string id = o.IndividualID();
  auto missing = [&](const char* what) {
    if (bLog) LogMissing(what, id);
  };
  // The first 11 characters, not bytes.
  auto cut11 = [&](const std::string& value) {
    text.append(value, 0, Utf8::OffsetOfCharacter(value, 11));
  };
  const std::string pedigree = o.PedigreeID();
  if (pedigree.empty()) {
    text += E;
    missing("Pedigree ID");
  } else {
    cut11(pedigree);
  }
  text += D;
  cut11(id);
  const std::string father = o.FatherID();
  if (father.empty()) missing("Father ID");
  text += D;
  father.empty() ? void(text += E) : cut11(father);
  const std::string mother = o.MotherID();
  if (mother.empty()) missing("Mother ID");
  text += D;
  mother.empty() ? void(text += E) : cut11(mother);
  const std::int32_t gender = o.Gender();
  if (gender == enumGenderUnspecified) missing("Gender");
  text += D;
  gender == enumGenderUnspecified ? void(text += E) : AppendInteger(text, gender);
  const std::int32_t affectation = o.AffectationStatus();
  const bool noStatus =
      affectation == enumAffectationUnknown || affectation == enumAffectationUnspecified;
  if (noStatus) missing("Affectation Status");
  text += D;
  noStatus ? void(text += '0') : AppendInteger(text, affectation);
  text += D;
  AppendInteger(text, o.LiabilityClass());
}

GenoGroup::UncalledLocus GenoGroup::PedinFill(const std::string& E) const {
  return {E, [E](Int16 n) {
            const char* what =
                n == 0 ? "\tNo alleles: Allele ID: " : "\tToo many alleles: Allele ID: ";
            return std::make_pair(E, what + E + "\t Allele ID: " + E);
          }};
}

std::string GenoGroup::RetrieveLociRev2(const Individual& o, const std::string& D,
                                        const std::string& E, bool bLog) {
  std::string result;
  AppendLociColumns(o, bLog, PedinFill(E), {{result, D}});
  return result;
}

void GenoGroup::AppendLociColumns(const Individual& o, bool bLog, const UncalledLocus& fill,
                                  std::initializer_list<LineColumns> lines) {
  ToInt16(m_colLociList->Count());  // the count is 16-bit: a longer list overflows
  const std::string id = o.IndividualID();
  std::string uncalled;
  auto log = [&](std::initializer_list<std::string_view> parts) {
    if (!bLog) return;
    m_strMessage.clear();
    for (std::string_view part : parts) m_strMessage.append(part);
    ErrorLog::LogExportMsg(m_strMessage);
  };
  for (const std::string& L : *m_colLociList) {
    std::string_view a1 = fill.absent, a2 = fill.absent;
    const GenoLocus* locus = o.FindGenoLocus(L);
    if (!locus) {
      log({"Missing locus: ", L, " for Subject: ", id});
    } else {
      log({"Processing locus: ", L, " for Subject: ", id});
      const Int16 n = locus->NumberOfAlleles();
      if (n == 1) {
        a1 = a2 = locus->AlleleID(0);
        log({"\tHomozygous: Allele ID: ", a1});
      } else if (n == 2) {
        a1 = locus->AlleleID(0);
        a2 = locus->AlleleID(1);
        log({"\tHeterozygous: Allele ID: ", a1, "\t Allele ID: ", a2});
      } else {
        auto [value, line] = fill.uncalled(n);
        uncalled = std::move(value);
        a1 = a2 = uncalled;
        log({line});
      }
    }
    for (const LineColumns& columns : lines) {
      columns.line.append(columns.delimiter).append(a1).append(columns.delimiter).append(a2);
    }
  }
}

void GenoGroup::WritePedinDebugHeading(TextFileWriter& debugFile, const std::string& P) {
  Handled("GenoGroup", "InitializePedinDebugFile", [&] {
    FileName parts;
    parts.Initialize(P);
    debugFile.WriteLine("File: " + parts.FileNameSansExtension() + ".debug");
    debugFile.WriteLine("Created: " + FormatGeneralDate(HostObjects::Clock().Now()));
    debugFile.WriteLine("This is a debugging version of the " + parts.FileName_() + " file.");
    debugFile.WriteLine("It includes column headings and Comma separated data.");
    debugFile.WriteLine("It can be opened in a spreadsheet as an aid to correcting errors");
    debugFile.WriteLine("in the associated *.pre format file.");
    debugFile.WriteLine(" ");
    debugFile.WriteLine(
        "After correcting errors this file can be saved as the desired *.pre file.");
    debugFile.WriteLine("Before saving the file remove this preamble and the column headings.");
    debugFile.WriteLine(
        "Save the file using Space character delimiters in place of the Comma delimiters.");
    debugFile.WriteLine(" ");
    std::string heading =
        "Pedigree ID,Individual ID,Father ID,Mother ID,Gender,Affectation Status,Liability Class";
    for (const std::string& L : *m_colLociList) {
      heading.append(",Allele 1 for ").append(L).append(",Allele 2 for ").append(L);
    }
    debugFile.WriteLine(heading);
  });
}

}  // namespace harvestor

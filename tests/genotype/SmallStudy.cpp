#include "tests/genotype/SmallStudy.h"

#include "harvestor/service/Text.h"
#include "tests/fakes/TestHost.h"

namespace harvestor::testing {

std::shared_ptr<FakeStudy> MakeSmallStudy() {
  auto study = std::make_shared<FakeStudy>();
  study->name = "Small";
  auto& r3 = study->AddResult("R3", "S2");
  r3.Properties()
      .Text("Pedigree ID", "FAM1")
      .Text("Father ID", "S1")
      .Number("Gender", 2)
      .Number("Affectation Status", 1);
  r3.Call("D1", "12");
  r3.Call("D1", "14");
  r3.Call("D2", "9");
  auto& r1 = study->AddResult("R1   ", "S1");
  r1.Properties().Text("Pedigree ID", "FAM1").Number("Gender", 1).Number("Affectation Status", 2);
  r1.Call("D1", "12");
  r1.Call("D2", "9");
  r1.Call("D1", "14");
  study->AddResult("R2", "").Call("D1", "10");
  auto& r4 = study->AddResult("R4", "S1", true);
  r4.Properties().Text("Pedigree ID", "OTHER");
  r4.Call("D1", "20");
  auto& r5 = study->AddResult("R5", "s1");
  r5.Properties().Text("Pedigree ID", "FAM1").Number("Gender", 2).Text("Mother ID", "M9");
  r5.Call("D3", "").conditionCode = 512;
  auto& r6 = study->AddResult("R6", "S3ABCDEFGHIJKLM");
  r6.Call("D1", "10");
  r6.Call("D1", "11");
  r6.Call("D1", "12");
  return study;
}

std::string ExpectedFile(const std::string& name, const std::string& dir,
                         const std::string& exportFolder) {
  const std::string raw = ReadFile(std::string(HARVESTOR_TEST_DATA) + "/smallstudy/" + name);
  return ReplaceAll(ReplaceAll(raw, "{DIR}", dir), "{EXPORT}", exportFolder);
}

}  // namespace harvestor::testing

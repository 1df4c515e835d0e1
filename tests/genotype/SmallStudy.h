#pragma once
// The small study that the export tests write out and compare, byte for
// byte, with the files in tests/data/smallstudy: two results of one subject
// with disagreeing pedigrees, a result without a subject, an excluded result,
// an unknown allele, a surplus allele and a 15-character subject ID.

#include <memory>
#include <string>

#include "tests/fakes/FakeStudy.h"

namespace harvestor::testing {

std::shared_ptr<FakeStudy> MakeSmallStudy();

// The expected file, with {DIR} and {EXPORT} put in for the test's folders.
std::string ExpectedFile(const std::string& name, const std::string& dir,
                         const std::string& exportFolder);

}  // namespace harvestor::testing

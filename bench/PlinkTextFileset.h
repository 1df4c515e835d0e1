#pragma once
// Writes a study's genotypes as a PLINK text fileset (PREFIX.ped and
// PREFIX.map), so the bench can time PLINK on the same subjects as our
// Linkage export. PLINK wants two allele codes per marker, so an allele ID
// becomes 'A' when its number is even and 'C' when it is odd; a missing,
// excluded or non-numeric call becomes PLINK's missing code '0'. Each subject
// is written once, from its first result, with its pedigree ID as the family.

#include <string>
#include <vector>

#include "harvestor/service/StudyObjects.h"

namespace harvestor::bench {

// Loci are the markers in order, all on chromosome 1, 1,000 bp apart.
void WritePlinkTextFileset(const IStudy& study, const std::vector<std::string>& loci,
                           const std::string& prefix);

}  // namespace harvestor::bench

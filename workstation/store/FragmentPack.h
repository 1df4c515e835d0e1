#pragma once
// One study result's fragments packed into one value, so that a store keeps
// a row per result rather than per fragment: ten million fragments are a
// hundred thousand rows to write and read. Little-endian, self-delimiting;
// decode() refuses bytes that are not a pack, so a damaged row is named
// rather than read as garbage.

#include <string>
#include <string_view>
#include <vector>

#include "harvestor/service/FragmentRecord.h"

namespace workstation {

// Appends the pack of fragments to out.
void encodeFragments(const std::vector<harvestor::FragmentRecord>& fragments, std::string& out);
// Replaces out with the fragments in pack; throws StoreError (what names
// the cause) when pack is damaged.
void decodeFragments(std::string_view pack, std::vector<harvestor::FragmentRecord>& out);

}  // namespace workstation

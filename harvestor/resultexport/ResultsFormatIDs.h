#pragma once
// The result export's one format table: the Save As dialog's filter index,
// the format, its display name, its extension and its dialog filter. An
// argument outside the table shows "Unknown format. Harvestor." with the
// function's name and answers an empty value.

#include <cstdint>
#include <string>

#include "harvestor/resultexport/FormatTypes.h"
#include "harvestor/service/Int16.h"

namespace harvestor::ResultsFormatIDs {

std::string GetFormatExtensionByIndex(Int16 index);
std::int32_t GetFormatEnumByIndex(Int16 index);
std::string GetFormatNameByEnum(std::int32_t format);
std::string GetDialogFilterByIndex(Int16 index);

}  // namespace harvestor::ResultsFormatIDs

#include "harvestor/resultexport/ResultsFormatIDs.h"

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor::ResultsFormatIDs {
namespace {

struct Format {
  std::int32_t format;
  const char* name;
  const char* extension;
  const char* filter;
};
const Format kFormats[] = {
    {TAB_DELIMITED, "Text", "txt", "Text (Tab delimited)(*.txt)|*.txt|"},
    {ZAL_BASE, "ZAL", "zlu", "ZAL (*.zl*)|*.zlu|"},
    {CRV, "CRV", "CRV", "CRV (*.CRV)|*.CRV|"},
};

const Format* ByIndex(Int16 index) {
  return index >= 1 && index <= 3 ? &kFormats[index - 1] : nullptr;
}

const Format* ByEnum(std::int32_t format) {
  for (const Format& f : kFormats) {
    if (f.format == format) return &f;
  }
  return nullptr;
}

void Unknown(const char* function) {
  HostObjects::UserInterface().MsgBox(std::string("Unknown format. Harvestor.") + function + ".",
                                      MsgBoxStyle::OKOnly, "");
}

}  // namespace

std::string GetFormatExtensionByIndex(Int16 index) {
  return Handled("ResultsFormatIDs", "GetFormatExtensionByIndex", [&]() -> std::string {
    if (const Format* f = ByIndex(index)) return f->extension;
    Unknown("GetFormatExtensionByIndex");
    return "";
  });
}

std::int32_t GetFormatEnumByIndex(Int16 index) {
  return Handled("ResultsFormatIDs", "GetFormatEnumByIndex", [&]() -> std::int32_t {
    if (const Format* f = ByIndex(index)) return f->format;
    Unknown("GetFormatEnumByIndex");
    return 0;
  });
}

std::string GetFormatNameByEnum(std::int32_t format) {
  return Handled("ResultsFormatIDs", "GetFormatNameByEnum", [&]() -> std::string {
    if (const Format* f = ByEnum(format)) return f->name;
    Unknown("GetFormatNameByEnum");
    return "";
  });
}

std::string GetDialogFilterByIndex(Int16 index) {
  return Handled("ResultsFormatIDs", "GetDialogFilterByIndex", [&]() -> std::string {
    if (const Format* f = ByIndex(index)) return f->filter;
    Unknown("GetDialogFilterByIndex");
    return "";
  });
}

}  // namespace harvestor::ResultsFormatIDs

#include "workstation/store/FragmentPack.h"

#include <cstdint>
#include <cstring>

#include "workstation/store/Database.h"

namespace workstation {
namespace {

template <class T>
void put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

void putText(std::string& out, const std::string& text) {
  put(out, static_cast<std::uint32_t>(text.size()));
  out += text;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  template <class T>
  T get() {
    need(sizeof(T));
    T value;
    std::memcpy(&value, bytes_.data() + at_, sizeof(T));
    at_ += sizeof(T);
    return value;
  }
  void getText(std::string& text) {
    const auto size = get<std::uint32_t>();
    need(size);
    text.assign(bytes_.data() + at_, size);
    at_ += size;
  }
  bool done() const { return at_ == bytes_.size(); }

 private:
  void need(std::size_t n) const {
    if (bytes_.size() - at_ < n) throw StoreError("damaged fragment data: cut short");
  }
  std::string_view bytes_;
  std::size_t at_ = 0;
};

constexpr std::uint32_t kMagic = 0x31465248;  // "HRF1"

}  // namespace

void encodeFragments(const std::vector<harvestor::FragmentRecord>& fragments, std::string& out) {
  put(out, kMagic);
  put(out, static_cast<std::uint32_t>(fragments.size()));
  for (const auto& f : fragments) {
    putText(out, f.locus);
    putText(out, f.alleleId);
    putText(out, f.comment);
    put(out, f.conditionCode);
    put(out, static_cast<std::uint8_t>(f.excluded));
    put(out, f.dye);
    put(out, f.size);
    put(out, f.height);
    put(out, f.area);
    put(out, f.divisor);
  }
}

void decodeFragments(std::string_view pack, std::vector<harvestor::FragmentRecord>& out) {
  Reader in(pack);
  if (in.get<std::uint32_t>() != kMagic) throw StoreError("damaged fragment data: not a pack");
  const auto count = in.get<std::uint32_t>();
  // Every fragment takes at least 35 bytes, so a count beyond that is damage,
  // not a reason to allocate.
  if (count > pack.size() / 35) throw StoreError("damaged fragment data: count too large");
  out.resize(count);
  for (auto& f : out) {
    in.getText(f.locus);
    in.getText(f.alleleId);
    in.getText(f.comment);
    f.conditionCode = in.get<std::int32_t>();
    f.excluded = in.get<std::uint8_t>() != 0;
    f.dye = in.get<std::int16_t>();
    f.size = in.get<float>();
    f.height = in.get<float>();
    f.area = in.get<float>();
    f.divisor = in.get<float>();
  }
  if (!in.done()) throw StoreError("damaged fragment data: bytes after the last fragment");
}

}  // namespace workstation

#include "DIB/DIBGuid.h"

#include <cstdio>
#include <exception>
#include <random>

#include "DIB/DIBLittleEndian.h"

namespace dib {
namespace {

std::optional<TDIBId> RandomGuid() {
  TDIBId id;
  try {
    std::random_device device;
    for (std::size_t i = 0; i < id.size(); i += 4) StoreLE32(id.data() + i, device());
  } catch (const std::exception&) {  // no entropy source on this system
    return std::nullopt;
  }
  id[7] = static_cast<uint8_t>((id[7] & 0x0F) | 0x40);  // version 4: random
  id[8] = static_cast<uint8_t>((id[8] & 0x3F) | 0x80);  // variant 1
  return id;
}

TGuidSource& Source() {
  static TGuidSource source = &RandomGuid;
  return source;
}

}  // namespace

std::optional<TDIBId> NewGuid() {
  return Source()();
}

std::string GuidToString(const TDIBId& id) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(LoadLE32(id.data())), LoadLE16(id.data() + 4),
                LoadLE16(id.data() + 6), id[8], id[9], id[10], id[11], id[12], id[13], id[14],
                id[15]);
  return text;
}

TGuidSource SetGuidSource(TGuidSource source) {
  TGuidSource previous = Source();
  Source() = source;
  return previous;
}

}  // namespace dib

// Reads arbitrary bytes as a feature item's stored settings ("DIBFeatureParameters"): only
// framework errors may come out, a failed read leaves the item's feature as it was, and settings
// that were read are written again unchanged by a copy that reads them back.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "DIB/cDIBFeatures.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"

namespace {

void WriteBackTwice(TDIBFeatures& features, TDIBFeatureItem& item) {
  ui::MemoryStream written;
  item.WriteFeatureParameters(written);
  written.SetPosition(0);
  TDIBFeatureItem& copy = features.Add();
  copy.ReadFeatureParameters(written);
  ui::MemoryStream again;
  copy.WriteFeatureParameters(again);
  if (again.Bytes() != written.Bytes()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDIBFeatures features(nullptr);
  TDIBFeatureItem& item = features.Add();
  item.SetFeatureClassName("TMoveableDIB");
  const TDIBFeature* before = item.Feature();
  try {
    ui::MemoryStream stream(std::span<const uint8_t>(data, size));
    item.ReadFeatureParameters(stream);
  } catch (const ui::Exception&) {
    if (item.Feature() != before || item.FeatureClassName() != "TMoveableDIB") std::abort();
    return 0;
  }
  WriteBackTwice(features, item);
  return 0;
}

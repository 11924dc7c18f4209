// The feature classes this library offers, registered when the program starts and gone at the
// end. Nothing refers to this file: the build hands its object to every program that links the
// library instead of archiving it, where the linker would leave it out.

#include "DIB/DIBHighlightFeature.h"
#include "DIB/DIBMoveableFeature.h"
#include "DIB/DIBShapeableFeature.h"
#include "DIB/cDIBFeatures.h"

namespace {

struct BuiltInFeatures {
  BuiltInFeatures() {
    RegisterFeatureClass(TMoveableDIB::StaticType());
    RegisterFeatureClass(THighlightDIB::StaticType());
    RegisterFeatureClass(TShapeableDIB::StaticType());
  }
  ~BuiltInFeatures() {
    UnregisterFeatureClass(TShapeableDIB::StaticType());
    UnregisterFeatureClass(THighlightDIB::StaticType());
    UnregisterFeatureClass(TMoveableDIB::StaticType());
  }
} const builtInFeatures;

}  // namespace

#pragma once
// The blit implementations a test can switch between: the SIMD ones this machine runs, and one
// switched off for a scope, as on a processor without its instruction set.

#include <vector>

#include "DIB/pixels/DIBBlit.h"

namespace dibtest {

// The available implementations above Portable, lowest first.
inline std::vector<dib::BlitImplementation> AvailableSimdImplementations() {
  std::vector<dib::BlitImplementation> found;
  for (dib::BlitImplementation implementation : dib::kBlitImplementations) {
    if (implementation != dib::BlitImplementation::Portable &&
        dib::BlitImplementationAvailable(implementation)) {
      found.push_back(implementation);
    }
  }
  return found;
}

class SwitchedOff {
 public:
  explicit SwitchedOff(dib::BlitImplementation implementation)
      : m_Implementation(implementation),
        m_WasOn(dib::BlitImplementationSwitchedOn(implementation)) {
    dib::SwitchBlitImplementation(implementation, false);
  }
  ~SwitchedOff() { dib::SwitchBlitImplementation(m_Implementation, m_WasOn); }
  SwitchedOff(const SwitchedOff&) = delete;
  SwitchedOff& operator=(const SwitchedOff&) = delete;

 private:
  dib::BlitImplementation m_Implementation;
  bool m_WasOn;
};

}  // namespace dibtest

#pragma once
// A blit implementation switched off for a scope, as on a processor without its instruction set.

#include "DIB/pixels/DIBBlit.h"

namespace dibtest {

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

#pragma once
// The time-info record a host hands out for audioMasterGetTime. The shared
// record declarations only name it, since the plug-in never reads it; the host
// fills it, so its layout is declared here.

#include <cstddef>

#include "vst/VstRecords.h"

struct VstTimeInfo {
  double samplePos;  // frames since the start of the run
  double sampleRate;
  double nanoSeconds;  // system time
  double ppqPos;       // quarter notes since the start
  double tempo;        // beats per minute
  double barStartPos;  // quarter-note position of the current bar's start
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;
};

enum : VstInt32 {
  kVstTransportChanged = 1,
  kVstTransportPlaying = 2,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstTimeSigValid = 1 << 13,
};

static_assert(sizeof(VstTimeInfo) == 88);
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(VstTimeInfo, flags) == 84);

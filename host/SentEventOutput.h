#pragma once
// What a plug-in sent, as a MIDI file or as text a person reads.

#include <string>
#include <vector>

#include "HostContext.h"
#include "MidiFile.h"
#include "TempoMap.h"

namespace fluxhost {

// "CC 14 = 64", "Note On 60 velocity 100", ... for one channel message.
std::string describeMidi(const uint8_t bytes[3]);

// One line per event: time in seconds, block, offset in the block, channel, message.
std::string sentEventsAsText(const std::vector<SentEvent>& events, double sampleRate);

// A format 0 file on the time line of `tempo`, its tempo changes included.
// Events that are not MIDI are left out.
MidiFile sentEventsAsMidiFile(const std::vector<SentEvent>& events, const TempoMap& tempo,
                              double sampleRate);

}  // namespace fluxhost

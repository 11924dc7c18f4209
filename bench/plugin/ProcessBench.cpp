// The audio path against a plain copy of the same buffers: 512 stereo frames,
// a host callback that does nothing.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/uPlugin.h"
#include "testsupport/plugin/LiteralCcGenerator.h"

namespace {

constexpr int kFrames = 512;

VstIntPtr VSTCALLBACK IdleHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

struct Buffers {
  std::vector<float> in[2]{std::vector<float>(kFrames, 0.5f), std::vector<float>(kFrames, -0.5f)};
  std::vector<float> out[2]{std::vector<float>(kFrames), std::vector<float>(kFrames)};
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
};

// Note Ons that fall due only after millions of blocks.
struct FarEvents {
  FarEvents() {
    for (size_t i = 0; i < records.size(); ++i) {
      records[i].type = kVstMidiType;
      records[i].deltaFrames = INT32_MAX - static_cast<VstInt32>(i);
      records[i].midiData[0] = static_cast<char>(0x90);
      records[i].midiData[2] = 100;
      pointers[i] = reinterpret_cast<VstEvent*>(&records[i]);
    }
    storage.assign(sizeof(VstEvents) + sizeof(VstEvent*) * records.size(), 0);
    list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(records.size());
    std::memcpy(list->events, pointers.data(), sizeof(VstEvent*) * records.size());
  }
  std::vector<VstMidiEvent> records = std::vector<VstMidiEvent>(16);
  std::vector<VstEvent*> pointers = std::vector<VstEvent*>(16);
  std::vector<unsigned char> storage;
  VstEvents* list;
};

// Runs `block` on the same buffers once per iteration; a template, so that the timed loop holds
// no call the compiler cannot see through.
template <class Block>
void TimeBlocks(benchmark::State& state, Block block) {
  Buffers b;
  for (auto _ : state) {
    block(b);
    benchmark::ClobberMemory();
  }
}

void CopyReference(benchmark::State& state) {
  TimeBlocks(state, [](Buffers& b) {
    for (int c = 0; c < 2; ++c) std::memcpy(b.outputs[c], b.inputs[c], sizeof(float) * kFrames);
  });
}

void ProcessEmpty(benchmark::State& state) {
  APlugin plugin(IdleHost);
  TimeBlocks(state, [&](Buffers& b) { plugin.processReplacing(b.inputs, b.outputs, kFrames); });
}

void ProcessQueued(benchmark::State& state) {
  APlugin plugin(IdleHost);
  FarEvents events;
  plugin.processEvents(events.list);
  TimeBlocks(state, [&](Buffers& b) { plugin.processReplacing(b.inputs, b.outputs, kFrames); });
}

void ProcessLiteral(benchmark::State& state) {
  APlugin plugin(IdleHost);
  LiteralCcGenerator literal(IdleHost, plugin.getAeffect(), 1);
  FarEvents events;
  literal.ProcessEvents(events.list);
  TimeBlocks(state, [&](Buffers& b) { literal.Process(b.inputs, b.outputs, kFrames, true); });
}

BENCHMARK(ProcessEmpty)->Name("process_empty_vs_memcpy:subject");
BENCHMARK(CopyReference)->Name("process_empty_vs_memcpy:reference");
BENCHMARK(ProcessQueued)->Name("process_queued_vs_memcpy:subject");
BENCHMARK(CopyReference)->Name("process_queued_vs_memcpy:reference");
BENCHMARK(ProcessLiteral)->Name("process_literal_vs_memcpy:subject");
BENCHMARK(CopyReference)->Name("process_literal_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();

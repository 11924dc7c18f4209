#include <cmath>
#include <filesystem>

#include "CommandSupport.h"
#include "Commands.h"
#include "ControlChangeReport.h"
#include "Platform.h"
#include "Render.h"
#include "TextFormat.h"

namespace fluxhost {

namespace {

constexpr const char* kDemoHelp =
    "Usage: fluxhost demo [--plugin FILE]\n"
    "Plays a four-bar phrase of eighth notes at 120 BPM through the Fluxomatic plug-in and\n"
    "shows the Control Changes it sends for each note, per unit, with the spread of the\n"
    "values. Unit 1 drives CC 74 (brightness) around the middle, unit 2 CC 10 (pan) across\n"
    "the whole field.\n"
    "\n"
    "Options:\n"
    "      --plugin FILE        the plug-in library (default: fluxomatic beside fluxhost,\n"
    "                           then in ../lib/lxvst and ../src/plugin from there)\n"
    "      --block FRAMES       block size (default 512)\n";

constexpr double kRate = 44100.0;
constexpr uint16_t kTicksPerQuarter = 480;

// The demo's settings, as parameter index and value: CC Value, Randomise Amt
// and CC Out of unit 1, then of unit 2.
constexpr float kSettings[] = {0.5f, 0.3f, 74.0f / 127.0f, 0.5f, 0.5f, 10.0f / 127.0f};

MidiFile DemoPhrase() {
  static constexpr int kKeys[] = {60, 64, 67, 72, 67, 64, 60, 64, 57, 60, 64, 69, 64, 60, 57, 60,
                                  53, 57, 60, 65, 60, 57, 53, 57, 55, 59, 62, 67, 62, 59, 55, 43};
  constexpr uint64_t kEighth = kTicksPerQuarter / 2;
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = kTicksPerQuarter;
  MidiTrack track = TempoMap::Constant(file.division, 120.0).TempoEvents();
  uint64_t tick = 0;
  for (int key : kKeys) {
    const auto k = static_cast<uint8_t>(key);
    track.push_back({tick, {0x90, k, 100}});
    track.push_back({tick + kEighth - 20, {0x80, k, 64}});
    tick += kEighth;
  }
  file.tracks.push_back(std::move(track));
  return file;
}

std::string FindFluxomatic() {
  namespace fs = std::filesystem;
  const fs::path executable = platform::ExecutablePath();
  if (executable.empty()) throw std::runtime_error("cannot tell where fluxhost is: give --plugin");
  const fs::path dir = executable.parent_path();
  const std::string name = std::string("fluxomatic") + platform::LibraryExtension();
  std::string tried;
  // Beside fluxhost in a build tree; where the installation puts it otherwise.
  for (const fs::path& candidate :
       {dir / name, dir / ".." / "lib" / "lxvst" / name, dir / ".." / "src" / "plugin" / name}) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
    tried += "\n  " + candidate.lexically_normal().string();
  }
  throw std::runtime_error("cannot find the Fluxomatic plug-in; looked for" + tried +
                           "\nBuild it, or give its path with --plugin.");
}

std::string SettingsText(const PluginInstance& plugin) {
  std::string text;
  for (VstInt32 i = 0; i < plugin.Effect().numParams && i < 6; ++i) {
    text += FormatText("  %-18s %6s %-3s (%3ld of 127)\n", plugin.Text(effGetParamName, i).c_str(),
                       plugin.Text(effGetParamDisplay, i).c_str(),
                       plugin.Text(effGetParamLabel, i).c_str(),
                       std::lround(plugin.Parameter(i) * 127.0f));
  }
  return text;
}

std::string UnitText(const UnitOutput& unit) {
  return FormatText("CC %3d = %3d%s x%-2d", unit.controller, unit.value, unit.sameValue ? "" : "*",
                    unit.channels);
}

std::string NotesTable(const std::vector<NoteOutput>& notes) {
  std::string text = " note    time  key   unit 1            unit 2\n";
  for (size_t i = 0; i < notes.size(); ++i) {
    const NoteOutput& note = notes[i];
    text += FormatText("  %3zu  %6.3f  %-4s", i + 1, static_cast<double>(note.frame) / kRate,
                       NoteName(note.key).c_str());
    if (note.units.empty()) text += "  (nothing sent)";
    for (const UnitOutput& unit : note.units) text += "  " + UnitText(unit);
    if (note.unitsLeftOut > 0)
      text += FormatText("  and %lld more units", static_cast<long long>(note.unitsLeftOut));
    text += "\n";
  }
  return text;
}

std::string UnitSummary(const std::vector<NoteOutput>& notes, size_t unit) {
  const std::vector<int> values = UnitValues(notes, unit);
  if (values.empty()) return FormatText("\nUnit %zu sent nothing.\n", unit + 1);
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  double sum = 0.0;
  for (int v : values) sum += v;
  std::string text =
      FormatText("\nUnit %zu: %zu notes, values %d..%d, mean %.1f\n", unit + 1, values.size(), *low,
                 *high, sum / static_cast<double>(values.size()));
  return text + ValueHistogram(values, 8);
}

}  // namespace

void RunDemo(std::span<const std::string> args, std::ostream& out, std::ostream&) {
  const ParsedOptions options(args, WithLoadOptions({{"plugin", true}, {"block", true}}));
  if (options.Has("help")) {
    out << kDemoHelp << kLoadOptionsHelp;
    return;
  }
  if (!options.Positionals().empty())
    throw UsageError("unexpected argument '" + options.Positionals()[0] + "'");
  const auto blockSize = static_cast<int32_t>(options.Integer("block", 512, 1, 1 << 16));
  const std::string path = options.Has("plugin") ? options.Value("plugin") : FindFluxomatic();

  const PreparedMidi midi = PrepareMidi(DemoPhrase(), std::nullopt, kRate);
  PluginInstance plugin(path, LoadOptionsFrom(options));
  for (VstInt32 i = 0; i < plugin.Effect().numParams && i < 6; ++i) {
    plugin.SetParameter(i, kSettings[i]);
  }
  RenderSettings settings;
  settings.sampleRate = kRate;
  settings.blockSize = blockSize;
  settings.frames = midi.endFrame + static_cast<int64_t>(kRate / 2);
  settings.tempo = &midi.tempo;
  settings.midi = &midi.schedule;
  ControlChangeReport report(midi.schedule, blockSize);
  {
    const ListeningScope listening(plugin.Host(), [&report](const SentEvent& e) { report.Add(e); });
    Render(plugin, settings);
  }

  const std::vector<NoteOutput>& notes = report.Notes();
  out << "Fluxomatic demo: " << notes.size() << " notes, four bars of eighths at 120 BPM\n"
      << "Plug-in: " << path << " (" << plugin.Text(effGetEffectName) << ")\n\nSettings:\n"
      << SettingsText(plugin) << "\nControl Changes per note (value x channels; * = values differ "
      << "between channels):\n"
      << NotesTable(notes) << UnitSummary(notes, 0) << UnitSummary(notes, 1);
}

}  // namespace fluxhost

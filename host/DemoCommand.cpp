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

MidiFile demoPhrase() {
  static constexpr int kKeys[] = {60, 64, 67, 72, 67, 64, 60, 64, 57, 60, 64, 69, 64, 60, 57, 60,
                                  53, 57, 60, 65, 60, 57, 53, 57, 55, 59, 62, 67, 62, 59, 55, 43};
  constexpr uint64_t kEighth = kTicksPerQuarter / 2;
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = kTicksPerQuarter;
  MidiTrack track = TempoMap::constant(file.division, 120.0).tempoEvents();
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

std::string findFluxomatic() {
  namespace fs = std::filesystem;
  const fs::path executable = platform::executablePath();
  if (executable.empty()) throw std::runtime_error("cannot tell where fluxhost is: give --plugin");
  const fs::path dir = executable.parent_path();
  const std::string name = std::string("fluxomatic") + platform::libraryExtension();
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

std::string settingsText(const PluginInstance& plugin) {
  std::string text;
  for (VstInt32 i = 0; i < plugin.effect().numParams && i < 6; ++i) {
    text += formatText("  %-18s %6s %-3s (%3ld of 127)\n", plugin.text(effGetParamName, i).c_str(),
                       plugin.text(effGetParamDisplay, i).c_str(),
                       plugin.text(effGetParamLabel, i).c_str(),
                       std::lround(plugin.parameter(i) * 127.0f));
  }
  return text;
}

std::string unitText(const UnitOutput& unit) {
  return formatText("CC %3d = %3d%s x%-2d", unit.controller, unit.value, unit.sameValue ? "" : "*",
                    unit.channels);
}

std::string notesTable(const std::vector<NoteOutput>& notes) {
  std::string text = " note    time  key   unit 1            unit 2\n";
  for (size_t i = 0; i < notes.size(); ++i) {
    const NoteOutput& note = notes[i];
    text += formatText("  %3zu  %6.3f  %-4s", i + 1, static_cast<double>(note.frame) / kRate,
                       noteName(note.key).c_str());
    if (note.units.empty()) text += "  (nothing sent)";
    for (const UnitOutput& unit : note.units) text += "  " + unitText(unit);
    if (note.unitsLeftOut > 0)
      text += formatText("  and %lld more units", static_cast<long long>(note.unitsLeftOut));
    text += "\n";
  }
  return text;
}

std::string unitSummary(const std::vector<NoteOutput>& notes, size_t unit) {
  const std::vector<int> values = unitValues(notes, unit);
  if (values.empty()) return formatText("\nUnit %zu sent nothing.\n", unit + 1);
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  double sum = 0.0;
  for (int v : values) sum += v;
  std::string text =
      formatText("\nUnit %zu: %zu notes, values %d..%d, mean %.1f\n", unit + 1, values.size(), *low,
                 *high, sum / static_cast<double>(values.size()));
  return text + valueHistogram(values, 8);
}

}  // namespace

void runDemo(std::span<const std::string> args, std::ostream& out, std::ostream&) {
  const ParsedOptions options(args, withLoadOptions({{"plugin", true}, {"block", true}}));
  if (options.has("help")) {
    out << kDemoHelp << kLoadOptionsHelp;
    return;
  }
  if (!options.positionals().empty())
    throw UsageError("unexpected argument '" + options.positionals()[0] + "'");
  const auto blockSize = static_cast<int32_t>(options.integer("block", 512, 1, 1 << 16));
  const std::string path = options.has("plugin") ? options.value("plugin") : findFluxomatic();

  const PreparedMidi midi = prepareMidi(demoPhrase(), std::nullopt, kRate);
  PluginInstance plugin(path, loadOptionsFrom(options));
  for (VstInt32 i = 0; i < plugin.effect().numParams && i < 6; ++i) {
    plugin.setParameter(i, kSettings[i]);
  }
  RenderSettings settings;
  settings.sampleRate = kRate;
  settings.blockSize = blockSize;
  settings.frames = midi.endFrame + static_cast<int64_t>(kRate / 2);
  settings.tempo = &midi.tempo;
  settings.midi = &midi.schedule;
  ControlChangeReport report(midi.schedule, blockSize);
  {
    const ListeningScope listening(plugin.host(), [&report](const SentEvent& e) { report.add(e); });
    render(plugin, settings);
  }

  const std::vector<NoteOutput>& notes = report.notes();
  out << "Fluxomatic demo: " << notes.size() << " notes, four bars of eighths at 120 BPM\n"
      << "Plug-in: " << path << " (" << plugin.text(effGetEffectName) << ")\n\nSettings:\n"
      << settingsText(plugin) << "\nControl Changes per note (value x channels; * = values differ "
      << "between channels):\n"
      << notesTable(notes) << unitSummary(notes, 0) << unitSummary(notes, 1);
}

}  // namespace fluxhost

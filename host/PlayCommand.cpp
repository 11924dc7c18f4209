#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "AudioFile.h"
#include "CommandSupport.h"
#include "Commands.h"
#include "Platform.h"
#include "ProgressLine.h"
#include "Render.h"
#include "SentEventOutput.h"
#include "TextFormat.h"

namespace fluxhost {

namespace {

constexpr const char* kPlayHelp =
    "Usage: fluxhost play PLUGIN [--midi IN.mid] [--audio IN.wav] [OPTIONS]\n"
    "Streams a Standard MIDI File (format 0 or 1) through the plug-in block by block, each\n"
    "event at its frame inside its block, and writes what the plug-in sends. A WAV file\n"
    "given with --audio plays into the plug-in's audio inputs; without it they get silence.\n"
    "The run lasts as long as the longer of the two, plus a tail. On a terminal, a run\n"
    "that takes longer than two seconds shows how far it has come on standard error.\n"
    "\n"
    "Options:\n"
    "      --midi FILE          the MIDI file to play (a file or a pipe of at most 16 MiB)\n"
    "      --audio FILE         a WAV file for the audio inputs\n"
    "      --out FILE           write what the plug-in sent as a Standard MIDI File\n"
    "      --text               print what the plug-in sent: time, block, offset, channel,\n"
    "                           message (the default when no other output is asked for)\n"
    "      --audio-out FILE     write the audio outputs as a 32-bit float WAV file (RF64\n"
    "                           when it passes 4 GiB)\n"
    "      --rate HZ            sample rate (default: the WAV file's, else 44100)\n"
    "      --block FRAMES       block size (default 512)\n"
    "      --tempo BPM          play at this one tempo instead of the file's tempo map\n"
    "      --tail SECONDS       time to run after the input ends (default 1)\n"
    "      --program N          select program N first\n"
    "      --param INDEX=VALUE  set a parameter (0..1) before playing; may be repeated\n";

constexpr double kDefaultRate = 44100.0;
constexpr double kLowestRate = 1000.0;
constexpr double kHighestRate = 768000.0;

std::unique_ptr<AudioFileReader> inputAudio(const ParsedOptions& options) {
  return options.has("audio") ? openAudioFile(options.value("audio")) : nullptr;
}

double sampleRateFor(const ParsedOptions& options, const AudioFileReader* audio) {
  if (audio != nullptr &&
      !(audio->sampleRate() >= kLowestRate && audio->sampleRate() <= kHighestRate)) {
    throw std::runtime_error(
        formatText("'%s' has a sample rate of %.0f Hz; fluxhost plays %.0f to %.0f Hz",
                   options.value("audio").c_str(), audio->sampleRate(), kLowestRate, kHighestRate));
  }
  const double rate = options.number("rate", audio != nullptr ? audio->sampleRate() : kDefaultRate,
                                     kLowestRate, kHighestRate);
  if (audio != nullptr && options.has("rate") && rate != audio->sampleRate()) {
    throw UsageError("--rate " + options.value("rate") + " differs from the WAV file's rate of " +
                     std::to_string(static_cast<long>(audio->sampleRate())) +
                     " Hz (no resampling)");
  }
  return rate;
}

// The frames of the whole run. The length is checked in seconds before any frame
// counts are added, so that no sum can overflow.
int64_t runFrames(int64_t inputFrames, double tail, double rate) {
  const double seconds = static_cast<double>(inputFrames) / rate + tail;
  if (seconds > kLongestRunSeconds) {
    throw std::runtime_error(
        formatText("the input would play for %.0f s; runs over 24 hours are refused", seconds));
  }
  return inputFrames + std::llround(tail * rate);
}

// Where what the plug-in sends goes: the outputs asked for, and a count.
struct SentEventOutputs {
  std::optional<SentEventText> text;
  std::optional<SentEventMidiFile> midiFile;
  int64_t count = 0;

  void add(const SentEvent& event) {
    ++count;
    if (text) text->add(event);
    if (midiFile) midiFile->add(event);
  }
};

void reportAutomation(const PluginInstance& plugin, std::ostream& err) {
  const auto requests = plugin.host().automation();
  for (const AutomationRequest& request : requests) {
    err << "fluxhost: the plug-in automated parameter " << request.index << " to " << request.value
        << " (block " << request.block << ")\n";
  }
  const int64_t more = plugin.host().automationCount() - static_cast<int64_t>(requests.size());
  if (more > 0) err << "fluxhost: ... and " << more << " more automation requests\n";
}

}  // namespace

void runPlay(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const ParsedOptions options(args, withLoadOptions({{"midi", true},
                                                     {"audio", true},
                                                     {"out", true},
                                                     {"text", false},
                                                     {"audio-out", true},
                                                     {"rate", true},
                                                     {"block", true},
                                                     {"tempo", true},
                                                     {"tail", true},
                                                     {"program", true},
                                                     {"param", true}}));
  if (options.has("help")) {
    out << kPlayHelp << kLoadOptionsHelp;
    return;
  }
  const std::string path = onePluginPath(options);
  if (!options.has("midi") && !options.has("audio"))
    throw UsageError("nothing to play: give --midi, --audio or both");
  if ((options.has("audio") || options.has("audio-out")) && !audioFilesSupported()) {
    throw UsageError("this build of fluxhost has no WAV support (--audio, --audio-out)");
  }
  const auto blockSize = static_cast<int32_t>(options.integer("block", 512, 1, 1 << 16));
  const double tail = options.number("tail", 1.0, 0.0, 3600.0);
  const std::optional<double> bpm = options.has("tempo")
                                        ? std::optional(options.number("tempo", 0.0, 1.0, 1000.0))
                                        : std::nullopt;
  const bool text = options.has("text") || (!options.has("out") && !options.has("audio-out"));
  const PluginSettings pluginSettings = settingsFrom(options);

  const std::unique_ptr<AudioFileReader> audio = inputAudio(options);
  const double rate = sampleRateFor(options, audio.get());
  const PreparedMidi midi = prepareMidi(
      options.has("midi") ? readMidiFile(options.value("midi")) : MidiFile{}, bpm, rate);

  RenderSettings settings;
  settings.sampleRate = rate;
  settings.blockSize = blockSize;
  settings.frames =
      runFrames(std::max(midi.endFrame, audio != nullptr ? audio->frames() : 0), tail, rate);
  const double seconds = static_cast<double>(settings.frames) / rate;
  PluginInstance plugin(path, loadOptionsFrom(options));
  SentEventOutputs sent;
  if (text) sent.text.emplace(out, rate);
  if (options.has("out")) sent.midiFile.emplace(options.value("out"), midi.tempo, rate);
  const std::unique_ptr<AudioFileWriter> audioOut =
      options.has("audio-out") ? createAudioFile(options.value("audio-out"), rate,
                                                 static_cast<size_t>(plugin.effect().numOutputs))
                               : nullptr;

  settings.tempo = &midi.tempo;
  settings.midi = &midi.schedule;
  settings.input = audio.get();
  settings.output = audioOut.get();
  {
    const ListeningScope listening(plugin.host(), [&sent](const SentEvent& e) { sent.add(e); });
    applySettings(plugin, pluginSettings);
    ProgressLine progress(err, rate, settings.frames, platform::stderrIsTerminal());
    settings.progress = [&progress](int64_t done, int64_t) { progress.update(done); };
    render(plugin, settings);
  }
  // Before anything goes to the error stream, which flushes standard output first.
  if (sent.text) sent.text->finish();
  if (sent.midiFile) sent.midiFile->finish();
  if (audioOut != nullptr) audioOut->close();
  reportAutomation(plugin, err);
  err << "fluxhost: played " << seconds << " s in " << (settings.frames + blockSize - 1) / blockSize
      << " blocks; " << midi.schedule.events().size() << " MIDI events in, " << sent.count
      << " events out";
  if (audioOut != nullptr) err << "; output peak " << audioOut->peak();
  err << "\n";
}

}  // namespace fluxhost

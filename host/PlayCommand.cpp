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

std::unique_ptr<AudioFileReader> InputAudio(const ParsedOptions& options) {
  return options.Has("audio") ? OpenAudioFile(options.Value("audio")) : nullptr;
}

double SampleRateFor(const ParsedOptions& options, const AudioFileReader* audio) {
  if (audio != nullptr &&
      !(audio->SampleRate() >= kLowestRate && audio->SampleRate() <= kHighestRate)) {
    throw std::runtime_error(
        FormatText("'%s' has a sample rate of %.0f Hz; fluxhost plays %.0f to %.0f Hz",
                   options.Value("audio").c_str(), audio->SampleRate(), kLowestRate, kHighestRate));
  }
  const double rate = options.Number("rate", audio != nullptr ? audio->SampleRate() : kDefaultRate,
                                     kLowestRate, kHighestRate);
  if (audio != nullptr && options.Has("rate") && rate != audio->SampleRate()) {
    throw UsageError("--rate " + options.Value("rate") + " differs from the WAV file's rate of " +
                     std::to_string(static_cast<long>(audio->SampleRate())) +
                     " Hz (no resampling)");
  }
  return rate;
}

// The frames of the whole run. The length is checked in seconds before any frame
// counts are added, so that no sum can overflow.
int64_t RunFrames(int64_t inputFrames, double tail, double rate) {
  const double seconds = static_cast<double>(inputFrames) / rate + tail;
  if (seconds > kLongestRunSeconds) {
    throw std::runtime_error(
        FormatText("the input would play for %.0f s; runs over 24 hours are refused", seconds));
  }
  return inputFrames + std::llround(tail * rate);
}

// Where what the plug-in sends goes: the outputs asked for, and a count.
struct SentEventOutputs {
  std::optional<SentEventText> text;
  std::optional<SentEventMidiFile> midiFile;
  int64_t count = 0;

  void Add(const SentEvent& event) {
    ++count;
    if (text) text->Add(event);
    if (midiFile) midiFile->Add(event);
  }
};

void ReportAutomation(const PluginInstance& plugin, std::ostream& err) {
  const auto requests = plugin.Host().Automation();
  for (const AutomationRequest& request : requests) {
    err << "fluxhost: the plug-in automated parameter " << request.index << " to " << request.value
        << " (block " << request.block << ")\n";
  }
  const int64_t more = plugin.Host().AutomationCount() - static_cast<int64_t>(requests.size());
  if (more > 0) err << "fluxhost: ... and " << more << " more automation requests\n";
}

}  // namespace

void RunPlay(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const ParsedOptions options(args, WithLoadOptions({{"midi", true},
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
  if (options.Has("help")) {
    out << kPlayHelp << kLoadOptionsHelp;
    return;
  }
  const std::string path = OnePluginPath(options);
  if (!options.Has("midi") && !options.Has("audio"))
    throw UsageError("nothing to play: give --midi, --audio or both");
  if ((options.Has("audio") || options.Has("audio-out")) && !AudioFilesSupported()) {
    throw UsageError("this build of fluxhost has no WAV support (--audio, --audio-out)");
  }
  const auto blockSize = static_cast<int32_t>(options.Integer("block", 512, 1, 1 << 16));
  const double tail = options.Number("tail", 1.0, 0.0, 3600.0);
  const std::optional<double> bpm = options.Has("tempo")
                                        ? std::optional(options.Number("tempo", 0.0, 1.0, 1000.0))
                                        : std::nullopt;
  const bool text = options.Has("text") || (!options.Has("out") && !options.Has("audio-out"));
  const PluginSettings pluginSettings = SettingsFrom(options);

  const std::unique_ptr<AudioFileReader> audio = InputAudio(options);
  const double rate = SampleRateFor(options, audio.get());
  const PreparedMidi midi = PrepareMidi(
      options.Has("midi") ? ReadMidiFile(options.Value("midi")) : MidiFile{}, bpm, rate);

  RenderSettings settings;
  settings.sampleRate = rate;
  settings.blockSize = blockSize;
  settings.frames =
      RunFrames(std::max(midi.endFrame, audio != nullptr ? audio->Frames() : 0), tail, rate);
  const double seconds = static_cast<double>(settings.frames) / rate;
  PluginInstance plugin(path, LoadOptionsFrom(options));
  SentEventOutputs sent;
  if (text) sent.text.emplace(out, rate);
  if (options.Has("out")) sent.midiFile.emplace(options.Value("out"), midi.tempo, rate);
  const std::unique_ptr<AudioFileWriter> audioOut =
      options.Has("audio-out") ? CreateAudioFile(options.Value("audio-out"), rate,
                                                 static_cast<size_t>(plugin.Effect().numOutputs))
                               : nullptr;

  settings.tempo = &midi.tempo;
  settings.midi = &midi.schedule;
  settings.input = audio.get();
  settings.output = audioOut.get();
  {
    const ListeningScope listening(plugin.Host(), [&sent](const SentEvent& e) { sent.Add(e); });
    ApplySettings(plugin, pluginSettings);
    ProgressLine progress(err, rate, settings.frames, platform::StderrIsTerminal());
    settings.progress = [&progress](int64_t done, int64_t) { progress.Update(done); };
    Render(plugin, settings);
  }
  // Before anything goes to the error stream, which flushes standard output first.
  if (sent.text) sent.text->Finish();
  if (sent.midiFile) sent.midiFile->Finish();
  if (audioOut != nullptr) audioOut->Close();
  ReportAutomation(plugin, err);
  err << "fluxhost: played " << seconds << " s in " << (settings.frames + blockSize - 1) / blockSize
      << " blocks; " << midi.schedule.Events().size() << " MIDI events in, " << sent.count
      << " events out";
  if (audioOut != nullptr) err << "; output peak " << audioOut->Peak();
  err << "\n";
}

}  // namespace fluxhost

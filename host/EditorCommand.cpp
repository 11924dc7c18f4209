#include <chrono>
#include <optional>

#include "CommandSupport.h"
#include "Commands.h"
#include "FileIo.h"
#include "MouseScript.h"
#include "PluginEditor.h"
#include "TextFormat.h"
#include "png/Png.h"

namespace fluxhost {

namespace {

constexpr const char* kEditorHelp =
    "Usage: fluxhost editor PLUGIN [--set INDEX=VALUE]... [--click X,Y]... [--drag "
    "X1,Y1:X2,Y2]...\n"
    "                       [--png FILE] [--close-after SECONDS]\n"
    "Opens the plug-in's editor in a window of its own (X11, DISPLAY naming the server; or\n"
    "Windows), as hosts do: sample rate 44100 Hz, block size 512, switched on, the window\n"
    "sized from the editor's rectangle, asked again once the editor is open. The editor idles\n"
    "every 20 ms. Once the editor has shown its first picture, the mouse actions run in the\n"
    "order given, as real input (XTEST; SendInput on Windows) at the editor's coordinates,\n"
    "then the picture is saved.\n"
    "\n"
    "Each automation call the plug-in makes prints one line on standard output:\n"
    "  automate INDEX VALUE      e.g. 'automate 0 0.251969' (VALUE with 6 significant digits)\n"
    "\n"
    "The window closes when --close-after has passed since the editor opened; without it,\n"
    "as soon as the mouse actions are done and the picture is saved; with no --close-after,\n"
    "mouse action or --png, when you close it. The editor is closed before the plug-in.\n"
    "\n"
    "Options:\n"
    "      --set INDEX=VALUE    set a parameter (0..1) before the editor opens; may be repeated\n"
    "      --click X,Y          press and release the left button at X,Y\n"
    "      --drag X1,Y1:X2,Y2   press at X1,Y1, move to X2,Y2 in steps of 4 pixels (at most\n"
    "                           64 steps), release\n"
    "      --png FILE           save the window's picture, read back from the screen, as PNG\n"
    "      --close-after SEC    keep the window open this long after the editor opened\n"
    "                           (the actions and the picture come first if they take longer)\n";

constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlockSize = 512;
constexpr double kLongestStay = 24.0 * 3600.0;

}  // namespace

void RunEditor(std::span<const std::string> args, std::ostream& out, std::ostream&) {
  const ParsedOptions options(
      args,
      WithLoadOptions(
          {{"set", true}, {"click", true}, {"drag", true}, {"png", true}, {"close-after", true}}));
  if (options.Has("help")) {
    out << kEditorHelp << kLoadOptionsHelp;
    return;
  }
  const std::string path = OnePluginPath(options);
  const PluginSettings settings = SettingsFrom(options, "set");
  const std::vector<MouseAction> script = MouseScriptFrom(options);
  const std::optional<std::string> pngPath =
      options.Has("png") ? std::optional(options.Value("png")) : std::nullopt;
  const bool closeAfterGiven = options.Has("close-after");
  const auto closeAfter =
      std::chrono::duration<double>(options.Number("close-after", 0.0, 0.0, kLongestStay));

  PluginInstance plugin(path, LoadOptionsFrom(options));
  if ((plugin.Effect().flags & effFlagsHasEditor) == 0)
    throw std::runtime_error("'" + path + "' has no editor (its effFlagsHasEditor flag is clear)");
  plugin.Start(kSampleRate, kBlockSize);
  ApplySettings(plugin, settings);
  plugin.Host().ListenAutomation([&out](int32_t index, float value) {
    out << FormatText("automate %d %g\n", index, static_cast<double>(value)) << std::flush;
  });

  const auto opened = std::chrono::steady_clock::now();
  PluginEditor editor(plugin);
  bool open = editor.Settle();
  for (size_t i = 0; open && i < script.size(); ++i) open = editor.Perform(script[i]);
  if (open && pngPath) {
    if (!script.empty()) open = editor.Settle();
    if (open) WriteBinaryFile(*pngPath, png::Encode(editor.Capture()));
  }
  if (!open && (pngPath || !script.empty()))
    throw std::runtime_error(
        "the window was closed before the mouse actions and the picture were done");
  if (open && closeAfterGiven) {
    const auto left = closeAfter - (std::chrono::steady_clock::now() - opened);
    if (left.count() > 0) editor.RunFor(std::chrono::ceil<std::chrono::milliseconds>(left));
  } else if (open && script.empty() && !pngPath) {
    while (editor.RunFor(std::chrono::seconds(1))) {
    }
  }
  plugin.Host().RethrowListenerFailure();
}

}  // namespace fluxhost

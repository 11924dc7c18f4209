// fluxhost.exe editor on the shipped DLL, run as a process of its own on the desktop: the
// picture it saves equals the headless golden one pixel for pixel (read with our own PNG
// reader), a click on About shows the panel, and a drag on par0 made with the real mouse
// prints the automation the DLL sends. fluxhost.exe info and play on the same DLL: its
// descriptor with the editor, and a MIDI file's Control Changes exactly as on Linux.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "png/Png.h"
#include "testsupport/host/AutomationLines.h"
#include "testsupport/platform/win32/DesktopHost.h"

namespace {

using fluxhost::test::Automation;
using fluxhost::test::AutomationIn;

constexpr DWORD kRunLimit = 60000;  // milliseconds

// Where the test program lies: fluxhost.exe and the DLL are built beside it.
std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

std::string TemporaryFile(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "fluxhost_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct EditorRun {
  DWORD exitCode = 1;
  std::string out;  // its standard output
  std::string err;
  std::optional<png::Picture> picture;  // what it saved with --png
};

// How a run ends: by itself once the picture is saved, or when a person closes the window.
enum class Ending { AfterPicture, ClosedByUser };

// What a person does once the editor shows: the window's close button (WM_CLOSE).
void CloseWhenShown() {
  const uint32_t start = GetTickCount();
  while (GetTickCount() - start < kRunLimit) {
    const HWND window = FindWindowW(L"FluxhostEditorWindow", nullptr);
    if (window != nullptr && GetWindow(window, GW_CHILD) != nullptr) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      return;
    }
    Sleep(20);
  }
  ADD_FAILURE() << "the editor's window never showed";
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// fluxhost.exe ARGS..., its standard streams in files.
EditorRun RunFluxhost(const std::string& args, Ending ending = Ending::AfterPicture) {
  const std::string outPath = TemporaryFile("out.txt");
  const std::string errPath = TemporaryFile("err.txt");
  std::string command = Quoted(BesideThisProgram("fluxhost.exe")) + " " + args;
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, 0, &inherited, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, 0, &inherited, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  EditorRun run;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process)) {
    if (ending == Ending::ClosedByUser) CloseWhenShown();
    if (WaitForSingleObject(process.hProcess, kRunLimit) != WAIT_OBJECT_0)
      TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << command << " (error " << GetLastError() << ")";
  }
  CloseHandle(out);
  CloseHandle(err);
  run.out = FileText(outPath);
  run.err = FileText(errPath);
  for (const std::string& file : {outPath, errPath}) DeleteFileA(file.c_str());
  return run;
}

// fluxhost.exe editor DLL [--png FILE] ARGS...
EditorRun RunEditor(const std::string& args, Ending ending = Ending::AfterPicture) {
  const std::string pngFile = TemporaryFile("editor.png");
  DeleteFileA(pngFile.c_str());
  std::string command = "editor " + Quoted(BesideThisProgram(FLUX_PLUGIN_FILE)) + " ";
  if (ending == Ending::AfterPicture) command += "--png " + Quoted(pngFile) + " ";
  EditorRun run = RunFluxhost(command + args, ending);
  if (std::filesystem::exists(pngFile)) run.picture = png::ReadFile(pngFile);
  DeleteFileA(pngFile.c_str());
  return run;
}

// Standard output as Linux writes it: the C runtime's text mode ends lines with CR LF here.
std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

TEST(FluxhostOnWindows, InfoShowsTheDescriptorWithTheEditorFlag) {
  const EditorRun run = RunFluxhost("info " + Quoted(BesideThisProgram(FLUX_PLUGIN_FILE)));
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  const std::string out = WithoutCarriageReturns(run.out);
  EXPECT_NE(out.find("Effect       Fluxomatic\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Unique ID    QB02 (1363292210)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Flags        25: hasEditor canMono canReplacing\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("Parameters (6)\n"), std::string::npos) << out;
}

TEST(FluxhostOnWindows, PlaysAMidiFileWithTheControlChangesOfTheLinuxBuild) {
  // The phrase of tests/host/FluxomaticPhraseTest.cpp, as a Standard MIDI File (format 0, 480
  // ticks a quarter): Note On at tick 0, Note Off at 240, a Note On of velocity 0 at 300, a
  // Control Change at 360 and a Note On on channel 10 at 480 (0.5 s, frame 22050).
  const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
  // clang-format off
  const unsigned char track[] = {'M', 'T', 'r', 'k', 0, 0, 0, 25,  // then delta time, event:
                                 0x00, 0x90, 60, 100,              // tick 0
                                 0x81, 0x70, 0x80, 60, 64,         // 240
                                 0x3C, 0x90, 62, 0,                // 300
                                 0x3C, 0xB0, 1, 5,                 // 360
                                 0x78, 0x99, 38, 1,                // 480
                                 0x00, 0xFF, 0x2F, 0x00};          // the track's end
  // clang-format on
  const std::string midi = TemporaryFile("phrase.mid");
  {
    std::ofstream file(midi, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    file.write(reinterpret_cast<const char*>(track), sizeof track);
  }
  const EditorRun run =
      RunFluxhost("play " + Quoted(BesideThisProgram(FLUX_PLUGIN_FILE)) + " --midi " +
                  Quoted(midi) + " --text --param 1=0 --param 4=0 --tail 0.1");
  DeleteFileA(midi.c_str());
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  // Both units (controllers 14 and 15, spreads at 0: value 64) on all 16 channels, in the
  // block in which each Note On falls due, at offset 0: what the Linux build prints.
  std::string expected = "    time  block  offset  ch  message\n";
  for (const char* blockStart : {"   0.000      0", "   0.499     43"}) {
    for (const int controller : {14, 15}) {
      for (int channel = 1; channel <= 16; ++channel) {
        expected += std::string(blockStart) + "       0  " + (channel < 10 ? " " : "") +
                    std::to_string(channel) + "  CC " + std::to_string(controller) + " = 64\n";
      }
    }
  }
  EXPECT_EQ(WithoutCarriageReturns(run.out), expected);
}

TEST(FluxhostEditorOnWindows, SavesTheEditorAsOpenedAsTheGoldenPicture) {
  const EditorRun run = RunEditor("");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  ASSERT_TRUE(run.picture) << "no PNG saved";
  EXPECT_TRUE(win32test::MatchesGolden(*run.picture, "editor_program0"));
  EXPECT_EQ(run.out, "");
}

TEST(FluxhostEditorOnWindows, StaysOpenUntilThePersonClosesTheWindow) {
  const EditorRun run = RunEditor("", Ending::ClosedByUser);
  EXPECT_EQ(run.exitCode, 0u) << "not ended by the close (99: still running after a minute)\n"
                              << run.err;
  EXPECT_FALSE(run.picture);
}

TEST(FluxhostEditorOnWindows, ClickOnAboutShowsThePanel) {
  const EditorRun run = RunEditor("--click 400,10");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  ASSERT_TRUE(run.picture);
  EXPECT_TRUE(win32test::MatchesGolden(*run.picture, "editor_about"));
}

TEST(FluxhostEditorOnWindows, DragsOnPar0PrintTheSliderPositionsOver127) {
  // Pressed on the track left of the pointer: the slider pages, and whatever it reports
  // is a position.
  const std::vector<Automation> onTrack = AutomationIn(RunEditor("--drag 70,55:180,55").out);
  ASSERT_FALSE(onTrack.empty()) << "the drag automated nothing";
  for (const Automation& call : onTrack) {
    EXPECT_EQ(call.index, 0);
    EXPECT_NEAR(call.value * 127.0, std::round(call.value * 127.0), 1e-4) << call.value;
  }
  // Pressed on the pointer itself (position 64 of program 0, its middle at 142,55): it
  // follows the mouse to the right, step by step.
  const std::vector<Automation> onPointer = AutomationIn(RunEditor("--drag 142,55:180,55").out);
  ASSERT_GE(onPointer.size(), 5u);
  double last = 64.0 / 127.0;
  for (const Automation& call : onPointer) {
    EXPECT_EQ(call.index, 0);
    EXPECT_GT(call.value, last);
    last = call.value;
  }
}

}  // namespace

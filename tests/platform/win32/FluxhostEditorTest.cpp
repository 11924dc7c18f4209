// fluxhost.exe editor on the shipped DLL, run as a process of its own on the desktop: the
// picture it saves equals the headless golden one pixel for pixel (read with our own PNG
// reader), a click on About shows the panel, and a drag on par0 made with the real mouse
// prints the automation the DLL sends.

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "host/AutomationLines.h"
#include "platform/win32/DesktopHost.h"

namespace {

using fluxhost::test::Automation;
using fluxhost::test::automationIn;

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
  std::optional<win32test::Picture> picture;  // what it saved with --png
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

// fluxhost.exe editor DLL [--png FILE] ARGS..., its standard streams in files.
EditorRun RunEditor(const std::string& args, Ending ending = Ending::AfterPicture) {
  const std::string png = TemporaryFile("editor.png");
  const std::string outPath = TemporaryFile("out.txt");
  const std::string errPath = TemporaryFile("err.txt");
  DeleteFileA(png.c_str());
  std::string command = "\"" + BesideThisProgram("fluxhost.exe") + "\" editor \"" +
                        BesideThisProgram(FLUX_PLUGIN_FILE) + "\" " +
                        (ending == Ending::AfterPicture ? "--png \"" + png + "\" " : "") + args;
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
  run.picture = win32test::ReadPng(png);
  for (const std::string& file : {png, outPath, errPath}) DeleteFileA(file.c_str());
  return run;
}

TEST(FluxhostEditorOnWindows, SavesTheEditorAsOpenedAsTheGoldenPicture) {
  const EditorRun run = RunEditor("");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  ASSERT_TRUE(run.picture) << "no readable PNG saved";
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
  const std::vector<Automation> onTrack = automationIn(RunEditor("--drag 70,55:180,55").out);
  ASSERT_FALSE(onTrack.empty()) << "the drag automated nothing";
  for (const Automation& call : onTrack) {
    EXPECT_EQ(call.index, 0);
    EXPECT_NEAR(call.value * 127.0, std::round(call.value * 127.0), 1e-4) << call.value;
  }
  // Pressed on the pointer itself (position 64 of program 0, its middle at 142,55): it
  // follows the mouse to the right, step by step.
  const std::vector<Automation> onPointer = automationIn(RunEditor("--drag 142,55:180,55").out);
  ASSERT_GE(onPointer.size(), 5u);
  double last = 64.0 / 127.0;
  for (const Automation& call : onPointer) {
    EXPECT_EQ(call.index, 0);
    EXPECT_GT(call.value, last);
    last = call.value;
  }
}

}  // namespace

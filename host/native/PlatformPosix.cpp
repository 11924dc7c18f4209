#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "Platform.h"

namespace fluxhost::platform {

namespace {

const char* volatile g_activity = "starting";
const char* volatile g_pluginPath = "";

void WriteText(const char* text) {
  const ssize_t ignored = write(STDERR_FILENO, text, strlen(text));
  static_cast<void>(ignored);
}

// Only async-signal-safe calls: write and _exit.
extern "C" void ReportCrash(int signalNumber) {
  const char* name = signalNumber == SIGSEGV  ? "segmentation fault"
                     : signalNumber == SIGBUS ? "bus error"
                     : signalNumber == SIGFPE ? "arithmetic fault"
                     : signalNumber == SIGILL ? "illegal instruction"
                                              : "abort";
  if (*g_pluginPath == '\0') {
    WriteText("fluxhost: crashed (");
    WriteText(name);
    WriteText(")\n");
  } else {
    WriteText("fluxhost: the plug-in crashed (");
    WriteText(name);
    WriteText(") while ");
    WriteText(g_activity);
    WriteText(": ");
    WriteText(g_pluginPath);
    WriteText("\n");
  }
  _exit(1);
}

}  // namespace

LibraryHandle OpenLibrary(const std::string& path) {
  // A bare file name would make the loader search its library path, not the
  // current folder the user meant.
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  LibraryHandle result;
  result.handle = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (result.handle == nullptr) {
    const char* reason = dlerror();
    result.error = reason != nullptr ? reason : "unknown reason";
  }
  return result;
}

void* FindSymbol(void* library, const char* name) {
  return dlsym(library, name);
}

void CloseLibrary(void* library) {
  dlclose(library);
}

const char* LibraryExtension() {
  return ".so";
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

void InstallCrashReport() {
  struct sigaction action {};
  action.sa_handler = ReportCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  for (int signalNumber : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    sigaction(signalNumber, &action, nullptr);
  }
}

void SetCrashContext(const char* activity, const char* pluginPath) {
  g_activity = activity;
  g_pluginPath = pluginPath;
}

}  // namespace fluxhost::platform

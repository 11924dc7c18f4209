#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "Platform.h"

namespace fluxhost::platform {

namespace {

const char* volatile g_activity = "starting";
const char* volatile g_pluginPath = "";

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  if (*g_pluginPath == '\0') {
    std::fprintf(stderr, "fluxhost: crashed (exception 0x%08lX)\n",
                 info->ExceptionRecord->ExceptionCode);
  } else {
    std::fprintf(stderr, "fluxhost: the plug-in crashed (exception 0x%08lX) while %s: %s\n",
                 info->ExceptionRecord->ExceptionCode, g_activity, g_pluginPath);
  }
  std::fflush(stderr);
  ExitProcess(1);
}

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                 sizeof text, nullptr);
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

LibraryHandle OpenLibrary(const std::string& path) {
  LibraryHandle result;
  // No message box when a library needs a DLL that is missing.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  result.handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  SetErrorMode(oldMode);
  if (result.handle == nullptr) result.error = SystemMessage(GetLastError());
  return result;
}

void* FindSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

const char* LibraryExtension() {
  return ".dll";
}

std::string ExecutablePath() {
  char buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

bool StderrIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

void InstallCrashReport() {
  SetUnhandledExceptionFilter(ReportCrash);
}

void SetCrashContext(const char* activity, const char* pluginPath) {
  g_activity = activity;
  g_pluginPath = pluginPath;
}

}  // namespace fluxhost::platform

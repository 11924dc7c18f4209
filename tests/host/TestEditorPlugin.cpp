// A plug-in with an X11 editor, written against the bare records, for the host's
// editor command. Its rectangle is 100 x 50 before the editor opens and 200 x 120
// once open. The left half of the window is red, the right half blue at the first
// parameter's strength. A button press or a move with the button down automates
// parameter 0 with x ÷ 199, the release automates parameter 1 with y ÷ 119. With
// the second parameter above one half it is careless: every open makes an X error
// on its own connection.
#include <X11/Xlib.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "vst/VstRecords.h"

namespace {

constexpr short kOpenWidth = 200;
constexpr short kOpenHeight = 120;

struct EditorPlugin {
  AEffect effect{};
  audioMasterCallback host = nullptr;
  float params[2] = {0.0f, 0.0f};
  ERect rect{0, 0, 50, 100};
  Display* display = nullptr;
  Window window = 0;
};

EditorPlugin* Self(AEffect* effect) {
  return static_cast<EditorPlugin*>(effect->object);
}

void Paint(const EditorPlugin& p) {
  GC gc = XCreateGC(p.display, p.window, 0, nullptr);
  XSetForeground(p.display, gc, 0xFF0000);
  XFillRectangle(p.display, p.window, gc, 0, 0, kOpenWidth / 2, kOpenHeight);
  XSetForeground(p.display, gc, static_cast<unsigned long>(std::lround(p.params[0] * 255.0f)));
  XFillRectangle(p.display, p.window, gc, kOpenWidth / 2, 0, kOpenWidth / 2, kOpenHeight);
  XFreeGC(p.display, gc);
  XFlush(p.display);
}

void Automate(EditorPlugin& p, VstInt32 index, float value) {
  p.host(&p.effect, audioMasterAutomate, index, 0, nullptr, value);
}

void OpenEditor(EditorPlugin& p, void* parent) {
  p.display = XOpenDisplay(nullptr);
  if (p.display == nullptr) return;
  p.window =
      XCreateSimpleWindow(p.display, static_cast<Window>(reinterpret_cast<uintptr_t>(parent)), 0, 0,
                          kOpenWidth, kOpenHeight, 0, 0, 0);
  XSelectInput(p.display, p.window,
               ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask);
  XMapWindow(p.display, p.window);
  if (p.params[1] > 0.5f) {
    XMapWindow(p.display, 1);  // no such window: the server answers with an error
    XSync(p.display, False);
  }
  XFlush(p.display);
  p.rect = {0, 0, kOpenHeight, kOpenWidth};
}

void IdleEditor(EditorPlugin& p) {
  if (p.display == nullptr) return;
  while (XPending(p.display) > 0) {
    XEvent event;
    XNextEvent(p.display, &event);
    if (event.type == Expose && event.xexpose.count == 0) Paint(p);
    if (event.type == ButtonPress) Automate(p, 0, static_cast<float>(event.xbutton.x) / 199.0f);
    if (event.type == MotionNotify) Automate(p, 0, static_cast<float>(event.xmotion.x) / 199.0f);
    if (event.type == ButtonRelease) Automate(p, 1, static_cast<float>(event.xbutton.y) / 119.0f);
  }
}

void CloseEditor(EditorPlugin& p) {
  if (p.display == nullptr) return;
  XDestroyWindow(p.display, p.window);
  XCloseDisplay(p.display);
  p.display = nullptr;
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                 float) {
  EditorPlugin& p = *Self(effect);
  switch (opcode) {
    case effClose:
      CloseEditor(p);
      delete &p;
      return 1;
    case effEditGetRect:
      *static_cast<ERect**>(ptr) = &p.rect;
      return 1;
    case effEditOpen:
      OpenEditor(p, ptr);
      return p.display != nullptr ? 1 : 0;
    case effEditIdle:
      IdleEditor(p);
      return 0;
    case effEditClose:
      CloseEditor(p);
      return 0;
    case effGetEffectName:
      std::strcpy(static_cast<char*>(ptr), "Fluxhost Editor Test");
      return 1;
    default:
      return 0;
  }
}

void VSTCALLBACK ProcessReplacing(AEffect*, float**, float**, VstInt32) {}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (index >= 0 && index < 2) Self(effect)->params[index] = value;
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  return index >= 0 && index < 2 ? Self(effect)->params[index] : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  auto* p = new EditorPlugin;
  p->host = host;
  AEffect& e = p->effect;
  e.magic = kEffectMagic;
  e.dispatcher = Dispatcher;
  e.processReplacing = ProcessReplacing;
  e.setParameter = SetParameter;
  e.getParameter = GetParameter;
  e.numParams = 2;
  e.numPrograms = 1;
  e.flags = effFlagsHasEditor | effFlagsCanReplacing;
  e.object = p;
  e.uniqueID = FourCharCode('F', 'h', 'E', 'd');
  return &e;
}

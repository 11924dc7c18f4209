#pragma once
// The editor base class: every editor request the host can make, with a
// harmless default. The plug-in object owns the installed editor.

#include <atomic>

#include "vst/VstRecords.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* owner);
  virtual ~AEffEditor();
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  virtual VstInt32 getRect(ERect** rect);  // writes null, returns 0
  virtual VstInt32 open(void* ptr);        // remembers the parent window, returns 0
  virtual void close();
  virtual void idle();  // runs a pending update
  virtual void update();
  virtual void postUpdate();                        // marks an update for the next idle
  virtual VstInt32 onKeyDown(VstKeyCode& keyCode);  // -1: key not used
  virtual VstInt32 onKeyUp(VstKeyCode& keyCode);    // -1: key not used
  virtual VstInt32 setKnobMode(VstInt32 val);
  virtual bool onWheel(float distance);
  // The host is closing the plug-in, perhaps from inside one of the editor's own calls: the
  // editor leaves the screen now and takes no more input; the object itself goes with the
  // plug-in once the host's calls have returned. The base does nothing.
  virtual void HostClosing() {}

 protected:
  AudioEffect* effect;  // not owned: the plug-in owns this editor
  void* systemWindow = nullptr;
  // postUpdate may come from any thread; idle runs on the user-interface thread.
  std::atomic<VstInt32> updateFlag{0};
  static_assert(std::atomic<VstInt32>::is_always_lock_free);
};

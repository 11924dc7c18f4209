// Every instance the host asks for is an APlugin.

#include "plugin/uPlugin.h"
#include "vst/VstMain.h"

AudioEffect* CreateEffectInstance(audioMasterCallback audioMaster) {
  return new APlugin(audioMaster);
}

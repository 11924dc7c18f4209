#pragma once
// Makes the framework's creatable controls and components known to the class registry, so
// that stored descriptions can name them: Label, Panel, PictureBox, TextBox, Timer and
// PopupMenu. Registering again does nothing.

namespace ui {

void RegisterControlClasses();

}  // namespace ui

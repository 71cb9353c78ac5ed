// The designer's controls (the tool panel and the property grid) join the
// dialog control factory through this one call, made once by a program that
// links the designer library (before it builds dialogs that use them).
#pragma once

void RegisterDesignerControls();

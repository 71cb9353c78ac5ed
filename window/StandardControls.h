// The kind rows of the standard system controls that have no class of their
// own in the window toolkit (check box, radio button, rich edit, list view,
// progress bar, scroll bar, slider, static, tab and tree controls).
#pragma once

// Registers them; framework start-up does it.
void RegisterStandardControlKinds();

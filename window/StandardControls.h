// The kind rows of the standard system controls that have no class of their
// own in the window toolkit (the tree control).
#pragma once

// Registers them; framework start-up does it.
void RegisterStandardControlKinds();

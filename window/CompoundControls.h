// The toolkit's compound controls (tree, media player, browser, Flash,
// view-and-bars container, tabbed documents) as classes of the control
// factory. Framework start-up registers them, which also links each of them
// into every program that starts the framework.
#pragma once

void RegisterCompoundControls();

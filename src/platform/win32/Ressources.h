// Resource numbers shared by the programs' resource script and the Win32 layer. Plain
// defines: the resource compiler reads this file too.
#pragma once

// The manifest that asks for version 6 of the common controls. Above the numbers the loader
// reserves (1 to 16), so that no loader applies it at start: the window host and the message
// boxes activate it when they are first needed.
#define TOLVANE_MANIFESTE_CONTROLES 101

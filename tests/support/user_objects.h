// How many USER objects (windows, menus, icons and cursors, accelerator
// tables) this process holds, for leak checks.
#pragma once

// GetGuiResources where the platform implements it; otherwise (Wine) the
// handles of this process found by asking for every handle the window
// manager can give out. -1 when neither works.
int UserObjectCount();

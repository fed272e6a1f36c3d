// How many GDI objects this process holds, for leak checks.
#pragma once

// GetGuiResources where the platform implements it; otherwise (Wine) the
// used entries of the process's GDI handle table. -1 when neither works.
int GdiObjectCount();

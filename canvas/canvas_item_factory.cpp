#include "canvas/canvas_item_factory.h"

void CCanvasItemFactory::UpdateCursor(int, int, int, int) {}

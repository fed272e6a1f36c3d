// The main window's tools: which one the canvas draws with, and the factory
// that makes its items.
#include "app/lumvex_dlg.h"

void CLumvexDlg::SelectTool(Tool tool) {
    m_tool = tool;
    UpdateButtonPictures();
    m_factory.reset();
    MakeFactory();
}

void CLumvexDlg::MakeFactory() {
    m_factory = RowOf(m_tool).makeFactory(&m_canvas);
}

bool CLumvexDlg::SelectToolOfCommand(WORD id) {
    const ToolRow* row = ToolOfCommand(id);
    if (!row)
        return false;
    SelectTool(row->tool);
    return true;
}

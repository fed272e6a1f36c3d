// The program's one top-level window: run modally for the whole life of the
// process, hidden in the notification area until the user asks for it. Owns
// the canvas and every panel beside it, and routes every command.
#pragma once

#include "app/main_controls.h"
#include "app/main_layout.h"
#include "app/tools.h"
#include "app/tray_icon.h"
#include "canvas/canvas_host.h"
#include "canvas/canvas_item_factory.h"
#include "canvas/canvas_panel.h"
#include "canvas/drawing_static.h"
#include "common/lumvex_dlg_events.h"
#include "common/pictures.h"
#include "common/scroll_axis.h"
#include "controls/button_rgn.h"
#include "controls/color_static_st.h"
#include "framework/dialog.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/profile.h"
#include "palettes/dlg_colors.h"
#include "palettes/dlg_tool_bar.h"
#include "palettes/dlg_zoom.h"
#include "upload/dlg_notify.h"
#include "upload/dlg_status.h"
#include "upload/dlg_send_request.h"

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CAppSettings;
class CLumvexDlgTestDriver;

class CLumvexDlg : public fw::Dialog,
                   public CDlgZoomEvents,
                   public CDlgToolBarEvents,
                   public CNotifier<CLumvexDlgEvents>,
                   private ICanvasHost {
public:
    // The caption of template IDD_MAIN: a later start finds us by it.
    static constexpr wchar_t kCaption[] = L"Tessaly Quillon ";
    static constexpr wchar_t kTrayTip[] = L"Tessaly Quillon";
    static constexpr wchar_t kProductSite[] = L"https://lumvex.example.com/";
    // The logo's name for screen readers: it opens the product site.
    static constexpr wchar_t kLogoName[] = L"Lumvex web site";

    // settings: the record the settings dialogs change and that is saved
    // when Windows asks whether the session may end; it must outlive the
    // window object.
    CLumvexDlg(CAppSettings& settings, fw::Profile profile);
    ~CLumvexDlg() override;

    bool PreTranslateMessage(MSG* message) override;

    // Named operations, reached from commands, keys and the tray icon.
    void OnTakeScreenshot();
    void SelectTool(Tool tool);
    void CopyToClipboard();
    // Writes the flattened picture to path; shows the error box and answers
    // false when nothing could be written.
    bool SaveScreenshotTo(const std::wstring& path);
    void UploadScreenshot();
    void SendScreenshotByEmail();
    void OnSettings();
    void ShowAboutBox();

    // CDlgZoomEvents and CDlgToolBarEvents: the panels reach the same
    // operations as the commands.
    void OnFitToWindow() override;
    void OnActualSize() override;
    void OnSaveToDisk() override;
    void OnRedo() override;
    void OnUndo() override;
    void OnSendEmail() override;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // Enter and Escape neither end nor hide the window.
    void OnOK() override {}
    void OnCancel() override {}
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Tests reach the parts and state through it (tests/support).
    friend class CLumvexDlgTestDriver;

    // ICanvasHost
    CCanvasItemFactory* GetCurrentFactory() override { return m_factory.get(); }
    COLORREF GetCurrentColor() override { return m_colors.GetCurrentColor(); }
    HWND GetMenuOwner() override { return Hwnd(); }

    // Every command id, shortcut and private message, and the operation it
    // runs (lumvex_dlg.cpp).
    struct CommandRow;
    static const CommandRow kCommands[];
    // Operations only commands reach.
    void TakeScreenshotFromMenu();
    void SendEmailFromKeyboard();
    void DeleteSelectedItem();
    void OpenProductSite();
    void Quit();

    // The controls (lumvex_dlg_controls.cpp): one row each, which binding,
    // drawing order, pictures and the layout all read.
    static const MainControlRow kControls[];
    static std::span<const MainControlRow> Controls() noexcept;
    CButtonRgn& ToolButton(Tool tool) noexcept { return m_toolButtons[IndexOf(tool)]; }
    // The row's object when it is a picture button, else null.
    CButtonRgn* ButtonOfRow(const MainControlRow& row);
    void PlaceControls();
    // Gives every button and picture of the table its look at the current
    // DPI, the selected tool's button and the zoom mode's button selected.
    void UpdatePictures();
    void UpdateButtonPictures();
    // What the layout of window (this one, or one in another process) is
    // computed from: its controls' sizes as they are, the logo's as drawn,
    // the column not scrolled.
    static MainLayoutInput MeasureLayoutInput(HWND window, UINT dpi, UINT pictureDpi,
                                              PictureCache& pictures);
    // This window's, the column scrolled as far as it is.
    MainLayoutInput MeasureLayoutInput();
    // The same with the column's pictures at 96 DPI.
    MainLayoutInput MeasureColumnAtPicture96();
    void MoveControlsTo(const MainLayout& layout);
    // The logo at the size the layout leaves it; hidden when it has none.
    void ShowLogo(const MainControlRow& row, const Rect& rect);

    // The view (lumvex_dlg_view.cpp). The column's pictures, all at one
    // scale: the largest up to the window's at which the column fits the
    // window.
    void ChooseColumnScale();
    void RecalcLayout();
    // The window fills the primary monitor's work area (the screen less the
    // taskbar), wherever that lies. Done again when the work area or the
    // display changes: at once while shown, else at the next capture.
    void PlaceOnWorkArea();
    void OnWorkAreaChanged();
    // The surface fitted into the area of itself and its scroll bars, which
    // are hidden.
    void FitSurface();
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);

    // Scrolling (lumvex_dlg_scroll.cpp). The canvas's offsets are what the
    // bars show: every move goes to the canvas, which keeps it within the
    // picture, and the bars then show where the canvas is.
    ScrollAxis CanvasAxis(int bar) const;
    void ScrollCanvasTo(int bar, int position);
    void SyncScrollBars();
    void OnScroll(HWND bar, WORD code);
    void OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam);
    void ScrollColumnTo(int position);

    // The picture's way out (lumvex_dlg_output.cpp).
    void ShowError(const wchar_t* text);
    void DeleteTemporaryFiles();

    // The tools (lumvex_dlg_tools.cpp).
    // The chosen tool's factory, in place of the one before.
    void MakeFactory();
    // Selects the tool whose button or menu entry sent id; false for any
    // other command.
    bool SelectToolOfCommand(WORD id);

    // The notification area and the window's life (lumvex_dlg.cpp).
    void OnTrayNotify(UINT mouseMessage);
    void ShowTrayMenu();
    // While one of our modal boxes is open: brings it forward and answers
    // true.
    bool BringOpenBoxForward();
    void ShowAndRestore();
    void PaintMinimised();
    void OnDestroy();

    CAppSettings& m_settings;
    fw::Profile m_profile;
    fw::Icon m_icon;
    // The window's small icon and the notification area's.
    fw::Icon m_smallIcon;
    fw::GdiBrush m_background;
    CTrayIcon m_tray;
    // The surface outlives the canvas that listens to it.
    CDrawingStatic m_surface;
    CCanvasPanel m_canvas;
    std::unique_ptr<CCanvasItemFactory> m_factory;
    Tool m_tool = Tool::Crop;
    std::vector<std::wstring> m_tempFiles;

    CColorStaticST m_column;
    CColorStaticST m_logo;
    // Indexed by Tool.
    CButtonRgn m_toolButtons[kToolCount];
    CButtonRgn m_undo;
    CButtonRgn m_redo;
    CButtonRgn m_zoomActual;
    CButtonRgn m_zoomFit;
    CColorStaticST m_statusBackground;
    int m_fit = 0;
    // The work area changed while the window could not follow.
    bool m_workAreaChanged = false;
    // The tool column's own scroll bar (a child of this window), used when
    // even its smallest layout is taller than the window.
    HWND m_columnBar = nullptr;
    ScrollAxis m_columnScroll;
    // The DPI the window is laid out for, and its pictures' scale.
    UINT m_dpi = fw::kDefaultDpi;
    UINT m_pictureDpi = fw::kDefaultDpi;
    // The scale the palette and the submit panel were last given.
    UINT m_panelsPictureDpi = 0;
    PictureCache m_pictures;
    // What the picture controls show, by control id.
    std::map<int, fw::GdiBitmap> m_staticPictures;
    CDlgSendRequest m_sendRequest;
    CDlgZoom m_zoomPanel;
    CDlgColors m_colors;
    CDlgStatus m_status;
    // Its window is never created: the keys and the submit panel reach the
    // operations this window implements for it.
    CDlgToolBar m_toolBar;
    CDlgNotify m_notify;
};

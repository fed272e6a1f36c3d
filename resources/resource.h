// Every numeric id of Lumvex: dialog templates, controls, artwork, menus,
// strings, command ids and the private window messages.
//
// Plain #defines only, because lumvex.rc includes this file as well as the
// C++ sources. Control ids are per dialog: the same number can mean different
// controls in different templates (1022 is the Pointer tool in the main window
// and the "Create TQ" radio button in the submit panel). Each role has its own
// name; names that share a number are never used in the same dialog.
#ifndef LUMVEX_RESOURCES_RESOURCE_H
#define LUMVEX_RESOURCES_RESOURCE_H

// ---------------------------------------------------------------------------
// Dialog templates
// ---------------------------------------------------------------------------
#define IDD_ABOUTBOX 100      // CAboutDlg, "About Lumvex"
#define IDD_MAIN 102          // CLumvexDlg, the main window (hidden at start)
#define IDD_SETTINGS 133      // CDlgSettings, upload servers and notifications
#define IDD_UPLOAD_SERVER 136 // CDlgUploadServer, one server URL
#define IDD_SUBMIT_PANEL 153  // CDlgSendRequest, child of IDC_SUBMIT_HOST
#define IDD_COLORS 154        // CDlgColors, child of IDC_PALETTE_HOST
#define IDD_STATUS 157        // CDlgStatus, child of IDC_STATUS_HOST
#define IDD_TEXT_ITEM 162     // CDlgTextItem, the text entry popup
#define IDD_UPLOAD 163        // CDlgUpload, progress of one upload
#define IDD_TOOLBAR 168       // CDlgToolBar (its window is never created)
#define IDD_ZOOM 198          // CDlgZoom, child of the hidden IDC_ZOOM_HOST
#define IDD_NOTIFY 232        // CDlgNotify, layered popup, never shown
#define IDD_SETTINGS_EX 247   // CDlgSettingsEx, the user's own server

// ---------------------------------------------------------------------------
// Menus and strings
// ---------------------------------------------------------------------------
#define IDR_TRAY_MENU 128    // popup "Root": About, Take a screenshot, Settings..., Exit
#define IDR_CONTEXT_MENU 165 // popup "Ctx_Draw_Menu" on the drawing surface

#define IDS_ABOUTBOX 101 // "&About Lumvex..." appended to the system menu

// ---------------------------------------------------------------------------
// Icons and cursors
// ---------------------------------------------------------------------------
#define IDI_PROGRAM_FILE 1    // IDI_LUMVEX again: Explorer shows the lowest icon id
#define IDI_UPLOAD_SERVER 135 // settings dialog, "Upload Server" group
#define IDI_TOOLBAR_EMAIL 218 // toolbar e-mail button
#define IDI_TOOLBAR_REDO 219  // toolbar redo button
#define IDI_TOOLBAR_SAVE 220  // toolbar save button
#define IDI_TOOLBAR_UNDO 221  // toolbar undo button
#define IDI_LUMVEX 224        // application: caption, taskbar, tray, upload dialog
#define IDI_NOTIFICATIONS 231 // settings dialog, "Notifications" group

#define IDCUR_PEN 161 // pen tool cursor, hot spot on the pen tip (bottom left)

// ---------------------------------------------------------------------------
// Bitmaps
// ---------------------------------------------------------------------------
// Every picture below is drawn at 96, 144 and 192 DPI. The 96-DPI one is the
// bitmap resource under the id given here; the others are PNG data
// (RCDATA) under IDB_PICTURES_144 + id and IDB_PICTURES_192 + id, ids 10000
// to 11999 (resources/art/scaled.rc, written by the art generator).
#define IDB_PICTURES_144 10000
#define IDB_PICTURES_192 11000

// About box and main window column
#define IDB_ABOUT 132         // left side of the About box
#define IDB_LOGO 137          // logo at the top of the tool column (IDC_LOGO)
#define IDB_TOOLS_PANEL 197   // card behind the tool buttons (IDC_TOOLS_PICTURE)
#define IDB_COLORS_PANEL 195  // colour palette background, "Color" heading
#define IDB_SUBMIT_PANEL 196  // submit panel background
#define IDB_STATUS_CHANGE 217 // status strip "Change" button (hidden)

// Tool buttons of the main window: normal and selected look
#define IDB_TOOL_POINTER_SEL 199
#define IDB_TOOL_POINTER 200
#define IDB_TOOL_HIGHLIGHT_SEL 201
#define IDB_TOOL_HIGHLIGHT 202
#define IDB_TOOL_PEN 203
#define IDB_TOOL_PEN_SEL 204
#define IDB_TOOL_TEXT 205
#define IDB_TOOL_TEXT_SEL 206
#define IDB_TOOL_ARROW 207
#define IDB_TOOL_ARROW_SEL 208
#define IDB_TOOL_CROP 209
#define IDB_TOOL_CROP_SEL 210

// Undo and Redo buttons of the main window
#define IDB_UNDO 239
#define IDB_REDO 240

// Zoom buttons of the main window column and of the toolbar (84 x 29):
// the "_SEL" image marks the zoom mode in use
#define IDB_ZOOM_FIT_SEL 226
#define IDB_ZOOM_ACTUAL 227
#define IDB_ZOOM_ACTUAL_SEL 228
#define IDB_ZOOM_FIT 229

// Zoom panel (73 x 73 buttons on a card with a "Zoom" heading)
#define IDB_ZOOM_PANEL 194
#define IDB_ZOOMPANEL_FIT_SEL 211
#define IDB_ZOOMPANEL_ACTUAL 212
#define IDB_ZOOMPANEL_ACTUAL_SEL 213
#define IDB_ZOOMPANEL_FIT 214

// Toolbar panel background strip
#define IDB_TOOLBAR_STRIP 215

// Upload dialog
#define IDB_UPLOAD_BANNER 186      // picture at the top of the dialog
#define IDB_UPLOAD_CANCEL 189      // CANCEL button, every state
#define IDB_UPLOAD_CANCEL_MASK 190 // its shape: magenta outside, black inside

// Submit panel buttons (normal / pressed)
#define IDB_SUBMIT_PRESSED 241
#define IDB_SUBMIT 242
#define IDB_EMAIL_PRESSED 243
#define IDB_EMAIL 246
// The submit panel's Save: light, and shaded while pressed.
#define IDB_SAVE_LIGHT 244
#define IDB_SAVE_SHADED 245

// Own-server dialog
#define IDB_MORE_INFO 249        // green "More Info" button
#define IDB_SETTINGS_EX_BACK 250 // whole-dialog picture with the invitation
#define IDB_CANCEL 253           // grey "Cancel" button
#define IDB_CANCEL_PRESSED 254
// Its Save, as wide as Cancel: shaded, and light while pressed
#define IDB_SETTINGS_EX_SAVE 251
#define IDB_SETTINGS_EX_SAVE_PRESSED 252

// ---------------------------------------------------------------------------
// Controls, by dialog
// ---------------------------------------------------------------------------
// About box (IDD_ABOUTBOX)
#define IDC_ABOUT_NOTICE 1000  // read-only multi-line notice text
#define IDC_ABOUT_PICTURE 1001 // IDB_ABOUT down the whole left side

// Main window (IDD_MAIN)
#define IDC_TOOL_COLUMN 1011     // blue column background on the right
#define IDC_LOGO 1012            // logo; a click opens the product site
#define IDC_TOOLS_PICTURE 1013   // IDB_TOOLS_PANEL behind the tool buttons
#define IDC_TOOL_PEN 1014        // tool button, 62 x 62 like the other five
#define IDC_TOOL_HIGHLIGHT 1015  // tool button
#define IDC_TOOL_TEXT 1016       // tool button
#define IDC_TOOL_ARROW 1017      // tool button
#define IDC_TOOL_CROP 1018       // tool button, selected at start
#define IDC_PALETTE_HOST 1020    // placeholder of the colour palette
#define IDC_SUBMIT_HOST 1021     // placeholder of the submit panel
#define IDC_TOOL_POINTER 1022    // tool button
#define IDC_ZOOM_HOST 1023       // invisible placeholder of the zoom panel
#define IDC_STATUS_HOST 1029     // status strip background, parent of IDD_STATUS
#define IDC_REDO 1031            // Redo button, 62 x 31
#define IDC_UNDO 1032            // Undo button, 62 x 31
#define IDC_DRAWING_SURFACE 1034 // the canvas
#define IDC_VSCROLL 1049         // vertical scroll bar of the canvas
#define IDC_HSCROLL 1050         // horizontal scroll bar of the canvas
#define IDC_COLUMN_SCROLL 1051   // the tool column's own bar, made when it is too short
#define IDC_ZOOM_FIT 1065        // "Fit to Window", 84 x 29
#define IDC_ZOOM_ACTUAL 1066     // "Actual Size", 84 x 29

// Settings (IDD_SETTINGS)
#define IDC_SERVER_LIST 1005   // drop-down list of upload servers
#define IDC_SERVER_DELETE 1006 // "Delete"
#define IDC_SERVER_EDIT 1007   // "Edit"
#define IDC_SERVER_ADD 1008    // "Add"
#define IDC_NOTIFICATIONS 1071 // "Enable notifications" check box

// Upload server (IDD_UPLOAD_SERVER)
#define IDC_SERVER_URL 1009 // the URL edit

// Submit panel (IDD_SUBMIT_PANEL)
#define IDC_CREATE_TQ 1022         // radio "Create TQ"
#define IDC_ADD_TO_TQ 1023         // radio "Add to existing TQ"
#define IDC_WORKORDER 1024         // work-order number edit
#define IDC_SUBMIT 1025            // green Submit button
#define IDC_SUBMIT_SAVE 1027       // Save button
#define IDC_SUBMIT_BACKGROUND 1047 // IDB_SUBMIT_PANEL picture
#define IDC_SUBMIT_EMAIL 1059      // Email button

// Colour palette (IDD_COLORS); swatches named by row and column
#define IDC_CURRENT_COLOR 1026     // box showing the current colour
#define IDC_COLORS_BACKGROUND 1047 // IDB_COLORS_PANEL picture
#define IDC_SWATCH_R1C1 1035       // RGB(255, 0, 10), the initial colour
#define IDC_SWATCH_R1C2 1036       // RGB(153, 0, 47)
#define IDC_SWATCH_R1C3 1037       // RGB(255, 126, 0)
#define IDC_SWATCH_R1C5 1038       // RGB(255, 242, 0)
#define IDC_SWATCH_R1C6 1039       // RGB(0, 0, 0)
#define IDC_SWATCH_R2C1 1040       // RGB(168, 231, 29)
#define IDC_SWATCH_R2C2 1041       // RGB(9, 120, 0)
#define IDC_SWATCH_R2C3 1042       // RGB(0, 183, 240)
#define IDC_SWATCH_R2C4 1043       // RGB(0, 32, 234)
#define IDC_SWATCH_R2C5 1044       // RGB(46, 54, 153)
#define IDC_SWATCH_R2C6 1045       // RGB(255, 255, 255)
#define IDC_SWATCH_R1C4 1046       // RGB(255, 194, 14)

// Status strip (IDD_STATUS)
#define IDC_STATUS_CHANGE 1030 // hidden "Change" button
#define IDC_EDITION 1033       // "Tessaly Public edition" link
#define IDC_TELL_SOMEONE 1055  // "Tell someone !" link
#define IDC_SERVER_NAME 1064   // hidden "Posting URL" text

// Text entry popup (IDD_TEXT_ITEM)
#define IDC_TEXT_EDIT 1052 // multi-line edit that fills the popup

// Upload dialog (IDD_UPLOAD)
#define IDC_UPLOAD_BANNER 1048   // picture at the top
#define IDC_UPLOAD_CANCEL 1028   // shaped CANCEL button
#define IDC_UPLOAD_PROGRESS 1053 // progress bar, 0..100
#define IDC_UPLOAD_STATUS 1063   // "Uploading to: ..."

// Toolbar panel (IDD_TOOLBAR)
#define IDC_TOOLBAR_ACTUAL 1019 // "Actual Size", 84 x 29
#define IDC_TOOLBAR_SAVE 1027   // "Save To Disk"
#define IDC_TOOLBAR_REDO 1031   // "Redo"
#define IDC_TOOLBAR_UNDO 1032   // "Undo"
#define IDC_TOOLBAR_EMAIL 1059  // "Send Screenshot by Email"
#define IDC_TOOLBAR_FIT 1065    // "Fit to Window", 84 x 29

// Zoom panel (IDD_ZOOM)
#define IDC_ZOOMPANEL_FIT 1065    // "Fit to Window", 73 x 73
#define IDC_ZOOMPANEL_ACTUAL 1066 // "Actual Size", 73 x 73

// Own-server dialog (IDD_SETTINGS_EX)
#define IDC_SETTINGS_EX_SAVE 1027   // Save button, 86 x 25
#define IDC_SETTINGS_EX_CANCEL 1028 // Cancel button, 86 x 25
#define IDC_SETTINGS_EX_BACK 1047   // IDB_SETTINGS_EX_BACK picture
#define IDC_MORE_INFO 1068          // More Info button, 86 x 25
#define IDC_SERVER_HISTORY 1080     // history combo; "http://" is printed before it

// ---------------------------------------------------------------------------
// Command ids
// ---------------------------------------------------------------------------
#define IDM_ABOUTBOX 16 // system menu entry; compare with the low four bits cleared

#define ID_TRAY_ABOUT 32771           // tray menu "About"
#define ID_TRAY_TAKE_SCREENSHOT 32772 // tray menu; also a left click on the tray icon
#define ID_SHOW_WINDOW 32773          // no menu entry: show the main window
#define ID_TRAY_EXIT 32774            // tray menu "Exit"
#define ID_SETTINGS 32775             // tray menu "Settings...": settings dialog
#define ID_CTX_DELETE_ITEM 32778      // context menu "&Delete Item"
#define ID_CTX_SUBMIT 32779           // context menu "Submit t&o Server"
#define ID_CTX_COPY 32780             // context menu "&Copy to Clipboard"
#define ID_CTX_TOOL_POINTER 32782     // context menu tool entries
#define ID_CTX_TOOL_PEN 32784
#define ID_CTX_TOOL_HIGHLIGHT 32785
#define ID_CTX_TOOL_TEXT 32786
#define ID_CTX_TOOL_ARROW 32787
#define ID_CTX_TOOL_CROP 32788

// Timer of the notification popup; a WM_TIMER with this id hides it.
#define IDT_NOTIFY_HIDE 256

// ---------------------------------------------------------------------------
// Private window messages (written out so that this file does not need
// <windows.h>). Those that only this program sends itself are WM_APP + n:
// on a dialog, WM_USER + 0 to 2 are the dialog manager's DM_GETDEFID,
// DM_SETDEFID and DM_REPOSITION, which the system may send any dialog.
// https://learn.microsoft.com/windows/win32/winmsg/wm-app
// ---------------------------------------------------------------------------
#define WM_TRAY_NOTIFY 0x8001           // shell -> main window, lParam = mouse message
#define WM_CANVAS_UNDO 0x8002           // -> main window: canvas Undo
#define WM_CANVAS_REDO 0x8003           // -> main window: canvas Redo
#define WM_TEXT_ITEM_SHOW_EDITOR 0x8004 // -> a text item's hidden window
#define WM_SUBMIT_SCREENSHOT 0x8005     // submit panel -> main window
#define WM_UPLOAD_FINISHED 0x8006       // upload worker -> upload dialog, wParam = result
#define WM_SAVE_SCREENSHOT 0x8007       // submit panel -> main window
#define WM_EMAIL_SCREENSHOT 0x8008      // submit panel -> main window
// Posted by other instances, earlier versions too: its number stays.
#define WM_EXIT_APP 0x0464 // second instance -> main window: quit (WM_USER + 100)

#endif // LUMVEX_RESOURCES_RESOURCE_H

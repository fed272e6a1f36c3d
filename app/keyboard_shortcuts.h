// The main window's keyboard shortcuts: which command a key press runs, and
// whether the key then still goes to the window that has the keyboard.
#pragma once

#include <windows.h>

enum class ShortcutAction { None, Copy, DeleteItem, Email, Upload, Save, Redo, Undo };

// A WM_KEYDOWN as the main window sees it.
struct KeyPress {
    WPARAM virtualKey = 0;
    bool control = false;
    // AltGr arrives as Ctrl+Alt: AltGr+S is a letter, not Ctrl+S.
    bool alt = false;
    // An auto-repeated key-down (bit 30 of lParam).
    bool repeat = false;
    // An edit control has the keyboard: a text box being typed, a field of
    // a panel.
    bool editHasFocus = false;
};

struct Shortcut {
    ShortcutAction action = ShortcutAction::None;
    // The key belongs to the shortcut and goes no further: passed on after
    // a dialog it opened has closed, with Ctrl up by then, it would reach
    // the focus as a plain letter.
    bool consumed = false;
};

// Ctrl with C, D, E, O, S, Y or Z, and Delete alone (delete the selected
// item). A held key runs its shortcut once. Where an edit has the keyboard,
// copy, delete, undo and redo are the edit's own and the key goes to it.
Shortcut ShortcutFor(const KeyPress& key);

// The key press of a WM_KEYDOWN message, with the modifiers held as the
// message was taken from the queue.
KeyPress KeyPressOf(const MSG& message);

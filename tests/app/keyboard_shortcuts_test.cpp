// Which key presses run a shortcut of the main window, and which keys go on
// to the window that has the keyboard.
#include "app/keyboard_shortcuts.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyboardShortcuts, CtrlRunsOnceAltGrTypesAndEditsKeepTheirOwnKeys) {
    constexpr bool kCtrl = true, kAlt = true, kRepeat = true, kEdit = true;
    const struct {
        KeyPress key;
        ShortcutAction action;
        bool consumed;
        const char* why;
    } rows[] = {
        {{'S', kCtrl}, ShortcutAction::Save, true, "Ctrl+S saves and no 's' follows"},
        {{'S', kCtrl, false, false, kEdit}, ShortcutAction::Save, true, "from a field too"},
        {{'O', kCtrl, false, false, kEdit}, ShortcutAction::Upload, true, "from a text box"},
        {{'E', kCtrl}, ShortcutAction::Email, true, "e-mail"},
        {{'C', kCtrl}, ShortcutAction::Copy, true, "copy"},
        {{'Y', kCtrl}, ShortcutAction::Redo, true, "redo"},
        {{'Z', kCtrl}, ShortcutAction::Undo, true, "undo"},
        {{'D', kCtrl}, ShortcutAction::DeleteItem, true, "delete"},
        {{VK_DELETE}, ShortcutAction::DeleteItem, true, "the Delete key deletes too"},
        {{'S'}, ShortcutAction::None, false, "a plain letter"},
        {{'K', kCtrl}, ShortcutAction::None, false, "no such shortcut"},
        {{VK_DELETE, kCtrl}, ShortcutAction::None, false, "Ctrl+Delete"},
        {{'S', kCtrl, kAlt}, ShortcutAction::None, false, "AltGr+S is a letter"},
        {{'E', kCtrl, kAlt, false, kEdit}, ShortcutAction::None, false, "AltGr+E is the euro"},
        {{'D', kCtrl, false, kRepeat}, ShortcutAction::None, true, "held, it deletes once"},
        {{VK_DELETE, false, false, kRepeat}, ShortcutAction::None, true, "held Delete, once"},
        {{'D', kCtrl, false, false, kEdit}, ShortcutAction::None, false, "the text box stays"},
        {{'C', kCtrl, false, false, kEdit}, ShortcutAction::None, false, "the edit copies"},
        {{'Z', kCtrl, false, false, kEdit}, ShortcutAction::None, false, "the edit undoes"},
        {{'Y', kCtrl, false, false, kEdit}, ShortcutAction::None, false, "the edit redoes"},
        {{VK_DELETE, false, false, false, kEdit}, ShortcutAction::None, false, "deletes text"},
    };
    for (const auto& row : rows) {
        const Shortcut shortcut = ShortcutFor(row.key);
        EXPECT_EQ(shortcut.action, row.action) << row.why;
        EXPECT_EQ(shortcut.consumed, row.consumed) << row.why;
    }
}

} // namespace

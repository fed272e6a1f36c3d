#include "app/keyboard_shortcuts.h"

namespace {

ShortcutAction ControlShortcut(WPARAM virtualKey) {
    switch (virtualKey) {
    case 'C':
        return ShortcutAction::Copy;
    case 'D':
        return ShortcutAction::DeleteItem;
    case 'E':
        return ShortcutAction::Email;
    case 'O':
        return ShortcutAction::Upload;
    case 'S':
        return ShortcutAction::Save;
    case 'Y':
        return ShortcutAction::Redo;
    case 'Z':
        return ShortcutAction::Undo;
    default:
        return ShortcutAction::None;
    }
}

// An edit's own meaning of the key wins there: Ctrl+Z would otherwise undo
// the text box being typed into, Ctrl+D delete it.
bool YieldsToEdit(ShortcutAction action) {
    return action == ShortcutAction::Copy || action == ShortcutAction::DeleteItem ||
           action == ShortcutAction::Undo || action == ShortcutAction::Redo;
}

bool IsEditControl(HWND window) {
    wchar_t name[16]{};
    return ::GetClassNameW(window, name, 16) > 0 && ::lstrcmpiW(name, L"Edit") == 0;
}

} // namespace

Shortcut ShortcutFor(const KeyPress& key) {
    if (key.alt)
        return {};
    ShortcutAction action = ShortcutAction::None;
    if (key.control)
        action = ControlShortcut(key.virtualKey);
    else if (key.virtualKey == VK_DELETE)
        action = ShortcutAction::DeleteItem;
    if (action == ShortcutAction::None || (key.editHasFocus && YieldsToEdit(action)))
        return {};
    // Held down, it ran once: Ctrl+D held would delete item after item.
    if (key.repeat)
        return {ShortcutAction::None, true};
    return {action, true};
}

KeyPress KeyPressOf(const MSG& message) {
    KeyPress key;
    key.virtualKey = message.wParam;
    // Held with this key, not merely pressed somewhere since the last look.
    key.control = ::GetKeyState(VK_CONTROL) < 0;
    key.alt = ::GetKeyState(VK_MENU) < 0;
    key.repeat = (message.lParam & (1 << 30)) != 0;
    key.editHasFocus = IsEditControl(message.hwnd);
    return key;
}

// A dialog whose behaviour each test scripts with callbacks, and which
// records what reached it.
#pragma once

#include "framework/dialog.h"

#include <functional>
#include <vector>

class ScriptedDialog : public fw::Dialog {
public:
    using fw::Dialog::Dialog;

    std::function<void(ScriptedDialog&)> onInit;
    std::function<void(ScriptedDialog&)> onBind;
    // Answer true to swallow the message.
    std::function<bool(const MSG&)> onPreTranslate;
    // Answer true when handled; result is then the message's result.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;
    // Answer false to keep running on the quit message.
    std::function<bool(ScriptedDialog&)> onQuit;

    std::vector<MSG> preTranslated; // every message the loop showed us
    std::vector<UINT> handled;      // WM_APP and above, as HandleMessage saw them
    std::vector<WORD> commands;     // ids reaching OnCommand
    int destroyMessages = 0;        // WM_DESTROY reaching HandleMessage

    bool PreTranslateMessage(MSG* message) override {
        preTranslated.push_back(*message);
        return onPreTranslate && onPreTranslate(*message);
    }

    using fw::Dialog::Bind;

protected:
    bool OnQuitMessage() override { return onQuit ? onQuit(*this) : fw::Dialog::OnQuitMessage(); }
    BOOL OnInitDialog() override {
        const BOOL result = fw::Dialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return result;
    }
    void DoDataExchange() override {
        if (onBind)
            onBind(*this);
    }
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override {
        commands.push_back(id);
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_DESTROY)
            ++destroyMessages;
        if (message >= WM_APP)
            handled.push_back(message);
        if (onMessage && onMessage(message, wParam, lParam, result))
            return true;
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
};

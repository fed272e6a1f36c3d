#include "framework/application.h"

#include "support/message_pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ScriptedApplication : public fw::Application {
public:
    BOOL initResult = TRUE;
    std::vector<std::string> calls;

    BOOL InitInstance() override {
        calls.push_back("init");
        if (initResult)
            ::PostQuitMessage(9);
        return initResult;
    }
    int ExitInstance() override {
        calls.push_back("exit");
        return fw::Application::ExitInstance() + 100;
    }
};

TEST(Application, RunLoopsUntilTheQuitMessageAndAnswersExitInstance) {
    ScriptedApplication app;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(app.Run(instance, L"/exit:1"), 109);
    EXPECT_EQ(app.calls, (std::vector<std::string>{"init", "exit"}));
    EXPECT_EQ(app.Instance(), instance);
    EXPECT_EQ(app.CommandLine(), L"/exit:1");
    EXPECT_FALSE(TakeQuitMessage()) << "the loop took the quit message";
}

TEST(Application, AFailedInitInstanceSkipsTheLoop) {
    ScriptedApplication app;
    app.initResult = FALSE;
    ::PostQuitMessage(4);
    EXPECT_EQ(app.Run(::GetModuleHandleW(nullptr), nullptr), 100);
    EXPECT_EQ(app.calls, (std::vector<std::string>{"init", "exit"}));
    EXPECT_EQ(app.CommandLine(), L"");
    EXPECT_TRUE(TakeQuitMessage()) << "no loop ran to take it";
}

TEST(Application, TheProgramFolderHoldsTheProgramFile) {
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\'));
    EXPECT_EQ(fw::ProgramFolder(), folder);
}

} // namespace

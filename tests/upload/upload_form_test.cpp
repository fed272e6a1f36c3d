// An upload's boundaries, and what a failure is called.
#include "upload/form_boundary.h"
#include "upload/upload_outcome.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <regex>
#include <set>

namespace {

TEST(UploadForm, BoundariesAreFreshRunsOf32LowerCaseHexDigits) {
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string boundary = MakeBoundary();
        EXPECT_TRUE(std::regex_match(boundary, std::regex("[0-9a-f]{32}"))) << boundary;
        seen.insert(boundary);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(UploadOutcome, AFailureIsNamedInWordsTheUserCanActOn) {
    auto with = [](UploadFailure failure) {
        UploadOutcome outcome;
        outcome.failure = failure;
        outcome.host = L"orders.example";
        outcome.timeoutSeconds = 30;
        outcome.status = 404;
        return outcome;
    };
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Unreachable)),
              L"The server orders.example could not be reached.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::TimedOut)),
              L"The server did not answer within 30 seconds.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Status)),
              L"The server answered with status 404.");
    UploadOutcome explained = with(UploadFailure::Status);
    explained.serverText = L"No such work order";
    EXPECT_EQ(DescribeFailure(explained),
              L"The server answered with status 404: No such work order.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::NoPage)),
              L"The server's answer named no page to open.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::None)), L"");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Other)), L"");

    EXPECT_EQ(FailureOfError(ERROR_INTERNET_CANNOT_CONNECT, false), UploadFailure::Unreachable);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_TIMEOUT, true), UploadFailure::Unreachable);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_TIMEOUT, false), UploadFailure::TimedOut);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_CONNECTION_RESET, false),
              UploadFailure::ConnectionLost);

    // Only a short plain first line is shown, as it is.
    struct Case {
        const char* type;
        std::string body;
        const wchar_t* line;
    };
    const Case cases[] = {
        {"text/plain", "No such work order\r\nDetails follow", L"No such work order"},
        {"Text/Plain; charset=utf-8", "  Wrong key \n", L"Wrong key"},
        {"text/html", "No such work order", L""},
        {"text/plainish", "No such work order", L""},
        {"text/plain", std::string(151, 'a'), L""},
        {"text/plain", "Bad \x1B[31m colour", L""},
        {"text/plain", "caf\xC3\xA9", L""},
        {"text/plain", "", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServerTextLine(c.type, c.body), c.line) << c.type << " " << c.body;
}

} // namespace

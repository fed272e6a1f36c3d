// The upload dialog and its worker against real servers on this machine:
// the reference server behind PHP's own multipart parser, canned answers,
// and a scripted peer that reads slowly or hangs up.
#include "upload/dlg_upload.h"

#include "framework/control.h"
#include "framework/text.h"
#include "upload/app_settings.h"
#include "upload/multipart_form.h"
#include "upload/scripted_peer.h"

#include "support/gdi_objects.h"
#include "support/php_server.h"
#include "support/picture.h"
#include "support/message_pump.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <mutex>
#include <regex>
#include <thread>
#include <utility>

namespace {

constexpr wchar_t kKey[] = L"SKYQUOMBIRLA470470";
constexpr DWORD kUploadTimeoutMs = 30000;

// A noisy picture: its JPEG is a few hundred KB, so the picture goes in a
// hundred blocks.
std::string NoisyJpeg(int width = 640, int height = 480) {
    Picture picture{width, height, {}};
    std::uint32_t seed = 12345;
    for (int i = 0; i < width * height; ++i) {
        seed = seed * 1664525u + 1013904223u;
        picture.pixels.push_back(seed >> 8);
    }
    return EncodeJpeg(picture);
}

fw::Stream StreamOf(const std::string& bytes) {
    fw::Stream stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())))
        return {};
    ULONG written = 0;
    stream.get()->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    stream.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return stream;
}

CAppSettings SettingsFor(const std::wstring& server) {
    CAppSettings settings;
    settings.servers = {{server, true}};
    settings.serverIndex = 0;
    settings.securityKey = kKey;
    return settings;
}

// Records the progress bar's positions as they are set.
class ProgressProbe : public fw::Control {
public:
    std::vector<int> positions;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
        if (message == PBM_SETPOS)
            positions.push_back(static_cast<int>(wParam));
        return false;
    }
};

// The upload dialog with the browser left out: the pages it would open are
// written down instead.
class RecordingUpload : public CDlgUpload {
public:
    using CDlgUpload::CDlgUpload;

    std::vector<std::wstring> Pages() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_pages;
    }
    ProgressProbe progress;

protected:
    BOOL OnInitDialog() override {
        progress.Attach(Item(IDC_UPLOAD_PROGRESS)); // before the worker starts
        return CDlgUpload::OnInitDialog();
    }
    void OpenPage(const std::wstring& address) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pages.push_back(address);
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_pages;
};

// Runs the dialog modally; a run that outlasts the timeout is ended from
// outside by a quit message (and fails the test) instead of hanging it.
INT_PTR RunUpload(RecordingUpload& dialog, DWORD timeoutMs = kUploadTimeoutMs) {
    const DWORD thread = ::GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        const DWORD start = ::GetTickCount();
        while (!done && ::GetTickCount() - start < timeoutMs)
            ::Sleep(20);
        if (!done) {
            ADD_FAILURE() << "the upload did not end in time";
            ::PostThreadMessageW(thread, WM_QUIT, 0, 0);
        }
    });
    const INT_PTR result = dialog.DoModal();
    done = true;
    watchdog.join();
    TakeQuitMessage();
    return result;
}

std::wstring FolderOf(const std::wstring& data, const wchar_t* workOrder) {
    return data + L"\\" + workOrder;
}

int PicturesIn(const std::wstring& folder) {
    std::error_code error;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        count += entry.path().extension() == L".jpg" ? 1 : 0;
    return count;
}

// The upload opened the one page of that work order, token and all.
testing::AssertionResult OpenedWorkOrderPage(const RecordingUpload& upload, const PhpServer& server,
                                             const std::wstring& workOrder) {
    const std::vector<std::wstring> pages = upload.Pages();
    const std::wregex page(L"http://" + server.HostAndPort() + L"/Tessaly\\.php\\?workorder=" +
                           workOrder + L"&token=[0-9a-f]{32}");
    if (pages.size() == 1 && std::regex_match(pages[0], page))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << pages.size() << " pages opened, the first: " << (pages.empty() ? L"" : pages[0]);
}

class UploadDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_PEER_RUNNING(m_server);
        ASSERT_FALSE(m_jpeg.empty());
    }

    PhpServer m_server{PeerRouterScript()};
    std::string m_jpeg = NoisyJpeg();
};

TEST_F(UploadDialogTest, TheReferenceServerGetsTheFormAndKeepsThePictureUnderItsWorkOrder) {
    const CAppSettings settings = SettingsFor(m_server.HostAndPort());

    // "Create TQ" with a number typed: a new work order.
    fw::Stream picture = StreamOf(m_jpeg);
    RecordingUpload create(picture.get(), 0, L"4711", settings);
    EXPECT_EQ(RunUpload(create), IDOK);
    EXPECT_TRUE(OpenedWorkOrderPage(create, m_server, L"1001"));
    EXPECT_EQ(PicturesIn(FolderOf(m_server.DataFolder(), L"1001")), 1);

    ASSERT_EQ(RecordedRequestCount(m_server.DataFolder()), 1);
    const RecordedRequest sent = ReadRecordedRequest(m_server.DataFolder(), 1);
    EXPECT_EQ(sent.Value("method"), "POST");
    EXPECT_EQ(sent.Value("uri"), "/Tessaly.php");
    EXPECT_EQ(sent.Value("user_agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)");
    EXPECT_EQ(sent.Value("field.security_key"), "SKYQUOMBIRLA470470");
    EXPECT_EQ(sent.Value("field.workorder_id"), "0");
    EXPECT_EQ(sent.Value("file.file.name"), "Orbicam.jpg");
    EXPECT_EQ(sent.Value("file.file.type"), "application/octet-stream");
    EXPECT_EQ(sent.Value("file.file.error"), "0");
    EXPECT_TRUE(sent.file == m_jpeg) << "the picture arrived changed";
    std::smatch boundary;
    const std::string contentType = sent.Value("content_type");
    ASSERT_TRUE(std::regex_match(contentType, boundary,
                                 std::regex("multipart/form-data; boundary=([0-9a-f]{32})")))
        << contentType;
    // The announced length is exactly what the form takes.
    const MultipartForm form = BuildMultipartForm(boundary[1].str(), fw::ToAnsi(kKey), "0");
    EXPECT_EQ(sent.Value("content_length"), std::to_string(form.BodyLength(m_jpeg.size())));

    // The bar went up to 100 (the dialog shows the latest of the worker's
    // hundred steps whenever it gets to them).
    ASSERT_FALSE(create.progress.positions.empty());
    EXPECT_EQ(create.progress.positions.back(), 100);
    EXPECT_TRUE(std::is_sorted(create.progress.positions.begin(), create.progress.positions.end()));

    // "Add to existing TQ": an empty number creates another work order (the
    // server numbers on from its highest), a number adds to that work order.
    std::filesystem::create_directory(FolderOf(m_server.DataFolder(), L"4711"));
    picture = StreamOf(m_jpeg);
    RecordingUpload emptyNumber(picture.get(), 1, L"", settings);
    EXPECT_EQ(RunUpload(emptyNumber), IDOK);
    EXPECT_EQ(ReadRecordedRequest(m_server.DataFolder(), 2).Value("field.workorder_id"), "0");
    EXPECT_EQ(PicturesIn(FolderOf(m_server.DataFolder(), L"4712")), 1);

    picture = StreamOf(m_jpeg);
    RecordingUpload existing(picture.get(), 1, L"4711", settings);
    EXPECT_EQ(RunUpload(existing), IDOK);
    EXPECT_EQ(ReadRecordedRequest(m_server.DataFolder(), 3).Value("field.workorder_id"), "4711");
    EXPECT_EQ(PicturesIn(FolderOf(m_server.DataFolder(), L"4711")), 1);
    EXPECT_TRUE(OpenedWorkOrderPage(existing, m_server, L"4711"));

    // Requests the server refuses end as failures and store nothing.
    struct Refused {
        const wchar_t* key;
        int mode;
        const wchar_t* workOrder;
        std::string bytes;
    };
    const Refused refused[] = {
        {L"WRONG", 0, L"", m_jpeg},             // wrong key
        {kKey, 1, L"999", m_jpeg},              // unknown work order
        {kKey, 0, L"", std::string(4000, 'x')}, // not a JPEG
        {kKey, 1, L"12; rm", m_jpeg},           // not a number
    };
    for (const Refused& r : refused) {
        CAppSettings other = settings;
        other.securityKey = r.key;
        picture = StreamOf(r.bytes);
        RecordingUpload upload(picture.get(), r.mode, r.workOrder, other);
        EXPECT_EQ(RunUpload(upload), IDCANCEL) << r.workOrder;
        EXPECT_TRUE(upload.Pages().empty());
    }
    EXPECT_EQ(PicturesIn(FolderOf(m_server.DataFolder(), L"4711")), 1);
    EXPECT_FALSE(std::filesystem::exists(FolderOf(m_server.DataFolder(), L"4713")));
}

TEST_F(UploadDialogTest, OnlyAnAcceptedAnswerWithAWebPageCountsAsSuccess) {
    struct Case {
        const wchar_t* path;
        INT_PTR expected;
    };
    const Case cases[] = {
        {L"canned/200/page", IDOK},        {L"canned/302/page", IDOK},
        {L"canned/200/none", IDCANCEL},    {L"canned/302/none", IDCANCEL},
        {L"canned/404/page", IDCANCEL},    {L"canned/500/page", IDCANCEL},
        {L"canned/201/page", IDCANCEL},    {L"canned/302/relative", IDOK},
        {L"canned/302/program", IDCANCEL},
    };
    for (const Case& c : cases) {
        const CAppSettings settings = SettingsFor(m_server.HostAndPort() + L"/" + c.path);
        fw::Stream picture = StreamOf(m_jpeg);
        RecordingUpload upload(picture.get(), 0, L"", settings);
        EXPECT_EQ(RunUpload(upload), c.expected) << c.path;
        const std::vector<std::wstring> pages = upload.Pages();
        if (c.expected == IDOK)
            EXPECT_EQ(pages, std::vector<std::wstring>{L"http://" + m_server.HostAndPort() +
                                                       L"/Tessaly.php?workorder=77"})
                << c.path;
        else
            EXPECT_TRUE(pages.empty()) << c.path;
    }
    // No redirect was followed: one request per upload.
    EXPECT_EQ(RecordedRequestCount(m_server.DataFolder()), static_cast<int>(std::size(cases)));

    // An empty picture is not sent at all.
    fw::Stream empty = StreamOf("");
    RecordingUpload nothing(empty.get(), 0, L"", SettingsFor(m_server.HostAndPort()));
    EXPECT_EQ(RunUpload(nothing), IDCANCEL);
    EXPECT_EQ(RecordedRequestCount(m_server.DataFolder()), static_cast<int>(std::size(cases)));
}

// The dialog's window once it shows, or null.
HWND WaitForUploadWindow() {
    HWND window = nullptr;
    PumpUntil(
        [&] { return (window = ::FindWindowW(L"#32770", L"Uploading to Tessaly")) != nullptr; },
        5000);
    return window;
}

int ProgressOf(HWND window) {
    DWORD_PTR position = 0;
    ::SendMessageTimeoutW(::GetDlgItem(window, IDC_UPLOAD_PROGRESS), PBM_GETPOS, 0, 0, SMTO_NORMAL,
                          2000, &position);
    return static_cast<int>(position);
}

// The boundary the request announced, from the headers a peer received.
std::string AnnouncedBoundary(const std::string& received) {
    std::smatch match;
    std::regex_search(received, match, std::regex("boundary=([0-9a-f]{32})"));
    return match.empty() ? std::string() : match[1].str();
}

class UploadDialogSlowPeerTest : public testing::Test {
protected:
    // Bytes nothing parses: the peer only counts them.
    const std::string m_body = std::string(3 * 1024 * 1024, 'x');
};

TEST_F(UploadDialogSlowPeerTest, StaysResponsiveKeepsRunningOnEnterEscapeAndCloseAndCancels) {
    ScriptedPeer peer({.bytesPerSecond = 1024 * 1024});
    ASSERT_TRUE(peer.IsListening());
    fw::Stream picture = StreamOf(m_body);
    RecordingUpload upload(picture.get(), 0, L"", SettingsFor(peer.HostAndPort()));

    std::thread driver([&] {
        HWND window = WaitForUploadWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ProgressOf(window) >= 2; }, 10000));
        // The peer stops reading until the cancel: however long what follows
        // takes, the body cannot have gone out before it.
        peer.Pause(true);

        // It paints while the worker waits for the slow peer.
        ::InvalidateRect(window, nullptr, TRUE);
        EXPECT_TRUE(PumpUntil([&] { return !::GetUpdateRect(window, nullptr, FALSE); }, 2000));
        // Enter, Escape, the close box and Alt+F4 leave it running.
        ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        DWORD_PTR answer = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer));
        EXPECT_TRUE(::IsWindowVisible(window));
        const int before = ProgressOf(window);
        EXPECT_LT(before, 100);
        if (const std::wstring folder = PictureDirectory(); !folder.empty())
            SaveClientPng(window, folder + L"\\upload_dialog_midway.png");

        // A real click on CANCEL.
        MouseClickAt(ScreenCentre(::GetDlgItem(window, IDC_UPLOAD_CANCEL)));
    });
    EXPECT_EQ(RunUpload(upload), IDABORT);
    driver.join();
    peer.Pause(false);

    EXPECT_TRUE(upload.Pages().empty());
    EXPECT_LT(upload.progress.positions.back(), 100);
    // What the network still held reaches the peer before the connection ends.
    ASSERT_TRUE(PumpUntil([&] { return peer.ConnectionEnded(); }, 20000));
    const std::string received = peer.Received();
    const std::string boundary = AnnouncedBoundary(received);
    ASSERT_FALSE(boundary.empty());
    EXPECT_EQ(received.find("--" + boundary + "--"), std::string::npos)
        << "the closing boundary went out after the cancel";
    EXPECT_LT(peer.BodyBytes(), m_body.size());
}

// Misbehaving peers, each once against the worker and once against the
// dialog: what the upload ends as, what the user is told, that it can always
// be stopped, and that nothing counts as stored that the peer did not take.

// How a run is stopped, once the peer has it stuck.
enum class Stop { None, Cancel, Quit };

struct PeerCase {
    const char* name;
    ScriptedPeer::Manners manners;
    std::size_t bytes = 256 * 1024;
    Stop stop = Stop::None;
    bool holdAnswer = false; // the peer holds its answer until the run has stopped
    bool nobodyListens = false;
    int result = kUploadFailed;
    UploadFailure failure = UploadFailure::None;
    long status = 0;
    const wchar_t* serverText = L"";
    const wchar_t* page = L""; // "$PEER" for the peer's host and port
};

std::string Answer(const char* status, const std::string& headers, const std::string& body = "") {
    return std::string("HTTP/1.1 ") + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

// More than the network buffers between the two ends hold (about 2.6 MB under
// Wine), so that a peer that never reads leaves the worker stuck in a write.
constexpr std::size_t kMoreThanBuffers = 8 * 1024 * 1024;

const PeerCase kPeerCases[] = {
    {.name = "takes the connection and never reads",
     .manners = {.read = false},
     .bytes = kMoreThanBuffers,
     .failure = UploadFailure::TimedOut},
    {.name = "takes the connection and never reads; cancelled",
     .manners = {.read = false},
     .bytes = kMoreThanBuffers,
     .stop = Stop::Cancel,
     .result = kUploadCancelled},
    {.name = "takes the connection and never reads; quit",
     .manners = {.read = false},
     .bytes = kMoreThanBuffers,
     .stop = Stop::Quit,
     .result = kUploadCancelled},
    {.name = "reads and never answers",
     .manners = {.answer = ""},
     .failure = UploadFailure::TimedOut},
    {.name = "reads and never answers; cancelled",
     .manners = {.answer = ""},
     .stop = Stop::Cancel,
     .result = kUploadCancelled},
    {.name = "answers late",
     .manners = {.answerDelayMs = 500},
     .result = kUploadAccepted,
     .page = L"http://$PEER/page"},
    {.name = "answers after a cancel",
     .manners = {},
     .stop = Stop::Cancel,
     .holdAnswer = true,
     .result = kUploadCancelled},
    {.name = "resets the connection mid-body",
     .manners = {.hangUpAfter = 64 * 1024},
     .bytes = 3 * 1024 * 1024,
     .failure = UploadFailure::ConnectionLost},
    {.name = "is not there",
     .manners = {},
     .nobodyListens = true,
     .failure = UploadFailure::Unreachable},
    {.name = "500 with a page",
     .manners = {.answer = Answer("500 Internal Server Error", "Content-Type: text/html\r\n",
                                  "<html><body>Internal error</body></html>")},
     .failure = UploadFailure::Status,
     .status = 500},
    {.name = "404 with a text",
     .manners = {.answer = Answer("404 Not Found", "Content-Type: text/plain; charset=utf-8\r\n",
                                  "No such work order\r\nSee the log.\r\n")},
     .failure = UploadFailure::Status,
     .status = 404,
     .serverText = L"No such work order"},
    {.name = "302 without a Location",
     .manners = {.answer = Answer("302 Found", "")},
     .failure = UploadFailure::NoPage},
    {.name = "302 to a relative Location",
     .manners = {.answer = Answer("302 Found", "Location: /Tessaly.php?workorder=1001\r\n")},
     .result = kUploadAccepted,
     .page = L"http://$PEER/Tessaly.php?workorder=1001"},
    {.name = "302 to a Location of 10,000 characters",
     .manners = {.answer = Answer("302 Found",
                                  "Location: http://$PEER/" + std::string(10000, 'a') + "\r\n")},
     .failure = UploadFailure::NoPage},
    {.name = "302 to a Location with a byte above 0x7F",
     .manners = {.answer = Answer("302 Found", "Location: http://$PEER/a\x81"
                                               "b\r\n")},
     .failure = UploadFailure::NoPage},
    {.name = "302 to the upload address itself, over https",
     .manners = {.answer = Answer("302 Found", "Location: https://127.0.0.1/Tessaly.php\r\n")},
     .failure = UploadFailure::Redirected},
    {.name = "reads at 2 MB/s",
     .manners = {.bytesPerSecond = 2 * 1024 * 1024},
     .bytes = 1024 * 1024,
     .result = kUploadAccepted,
     .page = L"http://$PEER/page"},
};

std::wstring WithPeer(const wchar_t* text, const std::wstring& peer) {
    std::wstring result = text;
    for (size_t at = result.find(L"$PEER"); at != std::wstring::npos;
         at = result.find(L"$PEER", at + peer.size()))
        result.replace(at, 5, peer);
    return result;
}

// A port nobody listens on.
std::wstring ClosedHostAndPort() {
    ScriptedPeer gone({});
    return gone.HostAndPort();
}

// Waits until the peer has the run where the case stops it: stuck in a write
// (the progress stands still), waiting for the answer, or the answer held.
bool WaitUntilStuck(const PeerCase& c, const ScriptedPeer& peer,
                    const std::function<int()>& progress) {
    if (c.manners.read)
        return PumpUntil([&] { return peer.RequestComplete(); }, 20000);
    int last = -1;
    return PumpUntil(
        [&] {
            const int now = progress();
            ::Sleep(300);
            return std::exchange(last, now) == now && now > 0;
        },
        20000);
}

// The worker's events, written down.
class RecordingEvents : public UploadEvents {
public:
    std::vector<std::wstring> Pages() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_pages;
    }
    std::vector<int> Progress() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_progress;
    }
    int LastProgress() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_progress.empty() ? 0 : m_progress.back();
    }

private:
    void OnProgress(int percent) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.push_back(percent);
    }
    void OpenPage(const std::wstring& address) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pages.push_back(address);
    }

    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_pages;
    std::vector<int> m_progress;
};

// What holds after every run, whatever the peer did.
void ExpectNothingClaimedFalsely(const PeerCase& c, const ScriptedPeer& peer,
                                 const std::vector<std::wstring>& pages, int result) {
    const std::wstring page = WithPeer(c.page, peer.HostAndPort());
    EXPECT_EQ(pages, result == kUploadAccepted ? std::vector<std::wstring>{page}
                                               : std::vector<std::wstring>{});
    if (result == kUploadAccepted) {
        EXPECT_TRUE(peer.RequestComplete() && peer.Answered()) << "stored without being taken";
    }
}

TEST(UploadWorkerTest, MisbehavingPeersEndAsWhatTheyDidAndAlwaysLetTheUploadStop) {
    for (const PeerCase& c : kPeerCases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer(c.manners);
        ASSERT_TRUE(peer.IsListening());
        peer.HoldAnswer(c.holdAnswer);
        fw::Stream picture = StreamOf(std::string(c.bytes, 'x'));
        UploadJob job;
        job.url = L"http://" + (c.nobodyListens ? ClosedHostAndPort() : peer.HostAndPort()) +
                  L"/Tessaly.php";
        job.securityKey = kKey;
        job.workOrder = L"0";
        job.picture = picture.get();
        job.stallTimeoutMs = 1500; // short, for the peers that stall
        UploadCancel cancel;
        RecordingEvents events;
        UploadOutcome outcome;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            outcome = RunUpload(job, cancel, events);
            done = true;
        });
        if (c.stop != Stop::None) {
            EXPECT_TRUE(WaitUntilStuck(c, peer, [&] { return events.LastProgress(); }));
            EXPECT_TRUE(cancel.Cancel());
            peer.HoldAnswer(false);
        }
        // The stalled ones end by the timeout at the latest.
        EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 20000));
        worker.join();
        if (c.holdAnswer) {
            EXPECT_TRUE(PumpUntil([&] { return peer.ConnectionEnded(); }, 10000));
        }

        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.serverText, c.serverText);
        if (c.failure == UploadFailure::Unreachable) {
            EXPECT_EQ(outcome.host, L"127.0.0.1");
        }
        if (c.failure == UploadFailure::TimedOut) {
            EXPECT_EQ(outcome.timeoutSeconds, 2u);
        }
        ExpectNothingClaimedFalsely(c, peer, events.Pages(), outcome.result);
        const std::vector<int> progress = events.Progress();
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_FALSE(cancel.Cancel() && outcome.result == kUploadAccepted)
            << "a cancel after the answer was taken";
    }
}

// The same peers in the dialog, with the program's own timeouts: only the
// ones that answer, or are stopped by the user or a quit request. A stop ends
// the dialog at once, long before any timeout, however stuck the worker is.
TEST(UploadDialogPeerTest, MisbehavingPeersShowWhatTheyDidAndCancelAndQuitEndTheDialogAtOnce) {
    for (const PeerCase& c : kPeerCases) {
        if (c.failure == UploadFailure::TimedOut)
            continue; // the worker test waits those out
        SCOPED_TRACE(c.name);
        ScriptedPeer peer(c.manners);
        ASSERT_TRUE(peer.IsListening());
        peer.HoldAnswer(c.holdAnswer);
        fw::Stream picture = StreamOf(std::string(c.bytes, 'x'));
        RecordingUpload upload(
            picture.get(), 0, L"",
            SettingsFor(c.nobodyListens ? ClosedHostAndPort() : peer.HostAndPort()));
        const DWORD loopThread = ::GetCurrentThreadId();
        std::atomic<DWORD> stoppedAt{0};
        std::thread driver;
        if (c.stop != Stop::None) {
            driver = std::thread([&] {
                HWND window = WaitForUploadWindow();
                ASSERT_NE(window, nullptr);
                EXPECT_TRUE(WaitUntilStuck(c, peer, [&] { return ProgressOf(window); }));
                stoppedAt = ::GetTickCount();
                if (c.stop == Stop::Quit)
                    ::PostThreadMessageW(loopThread, WM_QUIT, 7, 0);
                else
                    ::PostMessageW(window, WM_COMMAND, IDC_UPLOAD_CANCEL, 0);
            });
        }
        // A quit request ends even a dialog that would hang; the others get
        // one from a watchdog then.
        const INT_PTR end = c.stop == Stop::Quit ? upload.DoModal() : RunUpload(upload, 20000);
        const DWORD endedAt = ::GetTickCount();
        if (driver.joinable())
            driver.join();
        int quitCode = 0;
        EXPECT_EQ(TakeQuitMessage(&quitCode), c.stop == Stop::Quit) << "the quit request was lost";
        if (c.stop == Stop::Quit) {
            EXPECT_EQ(quitCode, 7);
        }
        if (c.stop != Stop::None) {
            // Well before the 30 s the worker may still be stuck for; the
            // bench measures how soon.
            EXPECT_LT(endedAt - stoppedAt.load(), 5000u) << "the dialog waited for the worker";
            // What the server does after the cancel changes nothing: the
            // worker, let go or not, has taken the late answer once the
            // connection has ended.
            peer.HoldAnswer(false);
            if (c.holdAnswer) {
                EXPECT_TRUE(PumpUntil([&] { return peer.ConnectionEnded(); }, 10000));
            }
        }

        EXPECT_EQ(end, CDlgUpload::EndCodeFor(static_cast<WPARAM>(c.result)));
        UploadOutcome expected;
        expected.failure = c.failure;
        expected.host = L"127.0.0.1";
        expected.status = c.status;
        expected.serverText = c.serverText;
        EXPECT_EQ(upload.FailureCause(), end == IDCANCEL ? DescribeFailure(expected) : L"");
        ExpectNothingClaimedFalsely(c, peer, upload.Pages(),
                                    end == IDOK ? kUploadAccepted : kUploadFailed);
        if (!upload.progress.positions.empty()) {
            EXPECT_TRUE(
                std::is_sorted(upload.progress.positions.begin(), upload.progress.positions.end()));
        }
    }
}

// Upload after upload holds no more GDI objects than after the first few
// (the banner its template loads, which Wine's static control never frees,
// among them).
TEST(UploadDialogPeerTest, RepeatedUploadsLeakNoGdiObjects) {
    const std::wstring nobody = ClosedHostAndPort();
    auto round = [&] {
        fw::Stream picture = StreamOf(std::string(1000, 'x'));
        RecordingUpload upload(picture.get(), 0, L"", SettingsFor(nobody));
        EXPECT_EQ(RunUpload(upload), IDCANCEL);
    };
    const GdiGrowth growth = MeasureGdiGrowth(round, 3, 10, [] { PumpMessages(100); });
    ASSERT_GT(growth.warm, 0) << "no way to count GDI objects here";
    EXPECT_FALSE(growth.Leaks()) << growth.Describe();
}

} // namespace

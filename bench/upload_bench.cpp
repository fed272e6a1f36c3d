#include "bench/upload_bench.h"

#include "framework/file.h"
#include "framework/handles.h"
#include "framework/text.h"
#include "upload/app_settings.h"
#include "upload/dlg_upload.h"
#include "upload/multipart_form.h"

#include "resource.h"

#include "support/php_server.h"
#include "support/picture.h"
#include "support/unix_command.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <winsock2.h>

#include <windows.h>

namespace {

constexpr int kRuns = 7;
constexpr size_t kBodySize = 5 * 1024 * 1024;
constexpr wchar_t kKey[] = L"SKYQUOMBIRLA470470";

double NowMs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A JPEG of exactly kBodySize bytes: a real picture, then bytes that every
// reader skips after its end marker.
std::string FiveMegabyteJpeg() {
    Picture picture{640, 480, {}};
    std::uint32_t seed = 1;
    for (int i = 0; i < picture.width * picture.height; ++i) {
        seed = seed * 1664525u + 1013904223u;
        picture.pixels.push_back(seed >> 8);
    }
    std::string jpeg = EncodeJpeg(picture);
    if (jpeg.empty() || jpeg.size() > kBodySize)
        return {};
    jpeg.resize(kBodySize, '\0');
    return jpeg;
}

// The upload dialog with the browser left out. It times its worker from the
// start to the report, which the dialog handles after every progress update.
class BenchUpload : public CDlgUpload {
public:
    using CDlgUpload::CDlgUpload;
    double Elapsed() const noexcept { return m_end - m_start; }

protected:
    BOOL OnInitDialog() override {
        m_start = NowMs();
        return CDlgUpload::OnInitDialog();
    }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_UPLOAD_FINISHED)
            m_end = NowMs();
        return CDlgUpload::HandleMessage(message, wParam, lParam, result);
    }
    void OpenPage(const std::wstring&) override {}

private:
    double m_start = 0;
    double m_end = 0;
};

// The same request through plain blocking sockets, in the worker's blocks:
// how fast any program under this platform can hand these bytes to the
// server, with no HTTP library in the way. Returns the milliseconds from
// connecting to the status line, or a negative number on failure.
double PostWithSockets(int port, const std::string& jpeg) {
    const std::wstring boundary = MakeBoundary();
    const MultipartForm form = BuildMultipartForm(boundary, kKey, WorkOrderValue(0, L""));
    const double start = NowMs();
    SOCKET peer = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (peer == INVALID_SOCKET)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    auto sendAll = [peer](const char* data, size_t size) {
        while (size > 0) {
            const int sent = ::send(peer, data, static_cast<int>(size), 0);
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<size_t>(sent);
        }
        return true;
    };
    const std::string head = "POST /Tessaly.php HTTP/1.1\r\nHost: 127.0.0.1\r\n" +
                             fw::ToAnsi(ContentTypeHeader(boundary)) +
                             "\r\nContent-Length: " + std::to_string(form.BodyLength(jpeg.size())) +
                             "\r\nConnection: close\r\n\r\n";
    bool ok = ::connect(peer, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
              sendAll(head.data(), head.size()) &&
              sendAll(form.securityKeyPart.data(), form.securityKeyPart.size()) &&
              sendAll(form.workOrderPart.data(), form.workOrderPart.size()) &&
              sendAll(form.fileHeader.data(), form.fileHeader.size());
    const size_t block = PictureBlockSize(jpeg.size());
    for (size_t offset = 0; ok && offset < jpeg.size(); offset += block)
        ok = sendAll(jpeg.data() + offset, std::min(block, jpeg.size() - offset));
    ok = ok && sendAll(form.closing.data(), form.closing.size());
    char status[12] = {};
    ok = ok && ::recv(peer, status, sizeof(status), MSG_WAITALL) == sizeof(status);
    const double elapsed = NowMs() - start;
    ::closesocket(peer);
    return ok && std::string(status + 9, 3) == "302" ? elapsed : -1;
}

} // namespace

void RunUploadBench(std::FILE* out) {
    const std::string jpeg = FiveMegabyteJpeg();
    PhpServer server(ReferenceServerScript());
    if (jpeg.empty() || !server.IsRunning()) {
        std::fprintf(out, "upload-5MB unavailable (%s)\n",
                     jpeg.empty() ? "no picture" : server.Failure().c_str());
        return;
    }
    CAppSettings settings;
    settings.servers = {{server.HostAndPort(), true}};
    settings.serverIndex = 0;
    settings.securityKey = kKey;

    std::vector<double> ours;
    for (int run = 0; run < kRuns; ++run) {
        fw::Stream stream;
        ULONG written = 0;
        if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
            FAILED(stream.get()->Write(jpeg.data(), static_cast<ULONG>(jpeg.size()), &written)) ||
            FAILED(stream.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)))
            return;
        BenchUpload upload(stream.get(), 0, L"", settings);
        const INT_PTR result = upload.DoModal();
        ours.push_back(upload.Elapsed());
        if (result != IDOK) {
            std::fprintf(out, "upload-5MB failed (end code %d)\n", static_cast<int>(result));
            return;
        }
    }
    std::fprintf(out, "upload-5MB %.1f ms\n", Median(ours));

    const std::wstring file = server.DataFolder() + L"\\bench.jpg";
    fw::WriteFileBytes(file, jpeg);
    const std::string address =
        "http://127.0.0.1:" + std::to_string(server.Port()) + "/Tessaly.php";
    std::vector<double> curl;
    for (int run = 0; run < kRuns; ++run) {
        std::unique_ptr<UnixCommand> command =
            UnixCommand::Start(SourceFolder() + "/bench/post_with_curl.sh",
                               {UnixPath(file), address, "SKYQUOMBIRLA470470"});
        const std::string report = command ? command->ReadToEnd(30000) : std::string();
        int status = 0;
        double seconds = 0;
        if (std::sscanf(report.c_str(), "%d %lf", &status, &seconds) != 2 || status != 302) {
            std::fprintf(out, "upload-5MB-curl failed (%s)\n", report.c_str());
            return;
        }
        curl.push_back(seconds * 1000.0);
    }
    std::fprintf(out, "upload-5MB-curl %.1f ms\n", Median(curl));

    WSADATA winsock{};
    if (::WSAStartup(MAKEWORD(2, 2), &winsock) != 0)
        return;
    std::vector<double> sockets;
    for (int run = 0; run < kRuns; ++run) {
        const double elapsed = PostWithSockets(server.Port(), jpeg);
        if (elapsed < 0) {
            std::fprintf(out, "upload-5MB-winsock failed\n");
            break;
        }
        sockets.push_back(elapsed);
    }
    ::WSACleanup();
    if (sockets.size() == kRuns)
        std::fprintf(out, "upload-5MB-winsock %.1f ms\n", Median(sockets));
}

#include "bench/upload_bench.h"

#include "framework/file.h"
#include "framework/handles.h"
#include "upload/app_settings.h"
#include "upload/dlg_upload.h"

#include "resource.h"

#include "support/php_server.h"
#include "support/picture.h"
#include "support/unix_command.h"

#include <algorithm>
#include <functional>
#include <vector>

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
}

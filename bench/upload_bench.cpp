#include "bench/upload_bench.h"

#include "bench/bench_clock.h"
#include "framework/control.h"
#include "framework/handles.h"
#include "upload/app_settings.h"
#include "upload/dlg_upload.h"

#include "resource.h"

#include "upload/scripted_peer.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include <windows.h>

namespace {

constexpr std::size_t kPictureSize = 5 * 1024 * 1024;
constexpr std::size_t kRate = 4 * 1024 * 1024; // bytes a second
constexpr int kRuns = 3;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The positions the progress bar is given, as it is given them.
class ProgressProbe : public fw::Control {
public:
    std::set<int> positions;
    std::atomic<int> last{0};

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
        if (message == PBM_SETPOS) {
            positions.insert(static_cast<int>(wParam));
            last = static_cast<int>(wParam);
        }
        return false;
    }
};

// The upload dialog with the browser left out. It times its run from the
// start to the end of DoModal.
class BenchUpload : public CDlgUpload {
public:
    using CDlgUpload::CDlgUpload;
    ProgressProbe progress;
    double started = 0;
    std::atomic<HWND> window{nullptr};

protected:
    BOOL OnInitDialog() override {
        progress.Attach(Item(IDC_UPLOAD_PROGRESS));
        started = NowMs();
        window = Hwnd();
        return CDlgUpload::OnInitDialog();
    }
    void OpenPage(const std::wstring&) override {}
};

CAppSettings SettingsFor(const ScriptedPeer& peer) {
    CAppSettings settings;
    settings.servers = {{peer.HostAndPort(), true}};
    settings.serverIndex = 0;
    settings.securityKey = CAppSettings::kDefaultSecurityKey;
    return settings;
}

fw::Stream PictureStream() {
    fw::Stream stream;
    const std::string bytes(kPictureSize, 'x'); // the peer only counts them
    ULONG written = 0;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
        FAILED(stream.get()->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) ||
        FAILED(stream.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)))
        return {};
    return stream;
}

// One upload to the peer: its end code, the milliseconds from the cancel (or
// the start) to the end of the run, and the bar's distinct positions.
struct Run {
    INT_PTR end = -1;
    double elapsed = 0;
    std::size_t steps = 0;
};

// Cancelled as soon as cancelWhen says so (never when it is empty).
Run UploadOnce(ScriptedPeer& peer, const std::function<bool(const BenchUpload&)>& cancelWhen) {
    fw::Stream picture = PictureStream();
    BenchUpload upload(picture.get(), 0, L"", SettingsFor(peer));
    std::atomic<bool> over{false};
    std::atomic<double> cancelledAt{0};
    std::thread canceller;
    if (cancelWhen) {
        canceller = std::thread([&] {
            while (!over && !(upload.window && cancelWhen(upload)))
                ::Sleep(1);
            if (over)
                return;
            cancelledAt = NowMs();
            ::PostMessageW(upload.window, WM_COMMAND, IDC_UPLOAD_CANCEL, 0);
        });
    }
    Run run;
    run.end = upload.DoModal();
    const double ended = NowMs();
    over = true;
    if (canceller.joinable())
        canceller.join();
    run.elapsed = ended - (cancelWhen ? cancelledAt.load() : upload.started);
    run.steps = upload.progress.positions.size();
    return run;
}

} // namespace

void RunUploadBench(std::FILE* out) {
    // A 5 MB picture through a reader that takes 4 MB a second: how close
    // the upload comes to what the line allows, and how the bar moves.
    std::vector<double> times;
    std::size_t steps = kPictureSize;
    for (int i = 0; i < kRuns; ++i) {
        ScriptedPeer peer({.bytesPerSecond = kRate});
        const Run run = UploadOnce(peer, nullptr);
        if (run.end != IDOK) {
            std::fprintf(out, "upload-rate-limited failed (end code %d)\n",
                         static_cast<int>(run.end));
            return;
        }
        times.push_back(run.elapsed);
        steps = std::min(steps, run.steps); // the worst run
    }
    const double ideal = static_cast<double>(kPictureSize) * 1000.0 / static_cast<double>(kRate);
    std::fprintf(out, "upload-rate-limited %.0f ideal %.0f\n", Median(times), ideal);

    // Cancels at a tenth, half and nine tenths of the body, and while a peer
    // that never answers keeps the worker waiting: the slowest of them.
    double worst = 0;
    for (const int percent : {10, 50, 90}) {
        ScriptedPeer peer({.bytesPerSecond = kRate});
        const Run run = UploadOnce(
            peer, [percent](const BenchUpload& upload) { return upload.progress.last >= percent; });
        if (run.end != IDABORT) {
            std::fprintf(out, "upload-cancel-latency failed at %d %% (end code %d)\n", percent,
                         static_cast<int>(run.end));
            return;
        }
        worst = std::max(worst, run.elapsed);
    }
    ScriptedPeer silent({.answer = ""});
    const Run waiting =
        UploadOnce(silent, [&silent](const BenchUpload&) { return silent.RequestComplete(); });
    if (waiting.end != IDABORT) {
        std::fprintf(out, "upload-cancel-latency failed while waiting (end code %d)\n",
                     static_cast<int>(waiting.end));
        return;
    }
    worst = std::max(worst, waiting.elapsed);
    std::fprintf(out, "upload-cancel-latency %.0f\n", worst);
    std::fprintf(out, "upload-progress-steps %zu\n", steps);
}

// The editor's waveform view on a two-hour store, drawn offscreen at 1600
// pixels: opening it (the first full drawing) and repainting it at three
// zoom levels, plus moving the play cursor.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "bench/OffscreenApplication.h"
#include "editor/WaveformMapping.h"
#include "editor/ui/WaveformView.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kStoreBytes = 2LL * 3600 * 44100 * 4; // two hours: 1,270,080,000
constexpr std::uint32_t kBufferBytes = 65536;
constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 400;
constexpr double kOpenBudgetMs = 50;
constexpr double kRepaintBudgetMs = 8;
constexpr double kRepaintP99BudgetMs = 16;
constexpr double kCursorBudgetMs = 1;

using Clock = std::chrono::steady_clock;

// Two hours of sound in a store of its own, as a stopped recording leaves it.
class TwoHourStore {
public:
    explicit TwoHourStore(const BenchDirectory& dir)
        : m_settings(settingsIn(dir.path())), m_session(m_settings, m_files)
    {
        m_session.setUp();
        const auto start = Clock::now();
        m_store.emplace(m_settings, m_session);
        appendSound(*m_store, SoundBuffers(), kStoreBytes, kBufferBytes);
        m_store->endRecording();
        std::printf("store: %lld bytes in %zu blocks, built in %.1f s\n",
                    static_cast<long long>(m_store->heldBytes()), m_store->blockCount(),
                    milliseconds(Clock::now() - start) / 1000);
    }
    ~TwoHourStore()
    {
        m_store.reset();
        StderrPrompter prompter;
        m_session.closeSession(prompter);
    }

    const RingStore& store() const { return *m_store; }

private:
    Settings m_settings;
    PosixBlockFiles m_files;
    TempSession m_session;
    std::optional<RingStore> m_store;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

std::vector<double> timed(int runs, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(milliseconds(Clock::now() - start));
    }
    return times;
}

// Prints the figures of one measurement; answers whether they keep the budgets.
bool report(const char* what, const std::vector<double>& times, double medianBudget,
            double p99Budget)
{
    const double median = percentile(times, 0.5);
    const double p99 = percentile(times, 0.99);
    std::printf("%-28s median %.3f ms (budget %.0f), p99 %.3f ms (budget %.0f)\n", what, median,
                medianBudget, p99, p99Budget);
    return median <= medianBudget && p99 <= p99Budget;
}

// Runs a measurement of views on a two-hour store in the directory the
// arguments name; the measurement answers whether it kept its budgets.
int onTwoHourStore(const std::vector<std::string>& args,
                   const std::function<bool(const RingStore&)>& measure)
{
    const OffscreenApplication qt;
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    const TwoHourStore sound(*dir);
    return measure(sound.store()) ? 0 : 1;
}

// Full repaints at three zoom levels, then cursor moves.
bool paintRuns(const RingStore& store)
{
    WaveformMapping mapping(store.heldBytes());
    WaveformView view(store, mapping);
    view.resize(kViewWidth, kViewHeight);
    view.show();
    QCoreApplication::processEvents();

    // Zooming halves the range: the nearest ranges at or below 10 minutes
    // and 10 seconds, scrolled to the end of the store (the farthest from
    // its first block).
    const struct {
        const char* name;
        std::int64_t widest;
    } levels[] = {{"whole store", kStoreBytes},
                  {"10 minutes", 600LL * 44100 * 4},
                  {"10 seconds", 10LL * 44100 * 4}};
    bool kept = true;
    double worstMedian = 0;
    for (const auto& level : levels) {
        while (mapping.viewEnd() - mapping.viewStart() > level.widest) {
            mapping.zoomIn(EditMode::Play, std::nullopt);
        }
        mapping.placeThumb(mapping.scrollBar().limit);
        const auto times = timed(100, [&] {
            view.refresh();
            view.repaint();
        });
        char what[64];
        std::snprintf(what, sizeof what, "repaint %s (%.1f s)", level.name,
                      static_cast<double>(mapping.viewEnd() - mapping.viewStart()) / 176400);
        kept = report(what, times, kRepaintBudgetMs, kRepaintP99BudgetMs) && kept;
        worstMedian = std::max(worstMedian, percentile(times, 0.5));
    }

    PaintCounter paints;
    view.installEventFilter(&paints);
    int x = 0;
    const auto cursorTimes = timed(1000, [&] {
        x = (x + 7) % kViewWidth;
        view.drawCursor(x);
        QCoreApplication::processEvents();
    });
    std::printf("cursor moves: %zu, paint events: %d\n", cursorTimes.size(), paints.count);
    kept = report("cursor move", cursorTimes, kCursorBudgetMs, kRepaintP99BudgetMs) && kept;
    std::printf("median_ms=%.3f (worst full repaint, budget %.0f ms)\n", worstMedian,
                kRepaintBudgetMs);
    return kept;
}

} // namespace

int editorOpen(const std::vector<std::string>& args)
{
    return onTwoHourStore(args, [](const RingStore& store) {
        const auto times = timed(30, [&] {
            WaveformMapping mapping(store.heldBytes());
            WaveformView view(store, mapping);
            view.resize(kViewWidth, kViewHeight);
            view.grab();
        });
        const bool kept = report("open and first drawing", times, kOpenBudgetMs, kOpenBudgetMs);
        std::printf("median_ms=%.3f\n", percentile(times, 0.5));
        return kept;
    });
}

int editorPaint(const std::vector<std::string>& args)
{
    return onTwoHourStore(args, paintRuns);
}

} // namespace sorvella::bench

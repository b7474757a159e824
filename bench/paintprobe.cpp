// Loaded with LD_PRELOAD into the program under measurement (Settings and the baseline alike),
// so both are timed by the very same instrument without a line of their code changed.
//
// It stands in for four Qt entry points that the programs reach through the dynamic linker,
// records when they happen on CLOCK_MONOTONIC (the clock the harness reads before it starts the
// process) and forwards to the real Qt function:
//   QBackingStore::flush  - a window's painted pixels handed to the platform: a completed paint.
//                           Qt Widgets calls it across a library boundary, so it can be replaced.
//   QApplication::exec    - entering the event loop; from here on the first time the loop is
//                           about to block is the program's first idle moment.
//   QObject::startTimer   - timers a program arms itself (the help window's 100 ms timer).
//   QWidget::show         - a program asking for a window to be shown (its part of the latency;
//                           the paint that follows is the toolkit's and the window system's).
//
// Each event is one text line appended to the file named by BENCH_PROBE_LOG:
//   <kind> <ns> <cpu ns> <probe ns> <probe cpu ns> <fields>
// <ns> is CLOCK_MONOTONIC, <cpu ns> the CPU time the process has used so far (all its threads;
// the cost of the start-up even when a busy machine keeps the process waiting), and <probe ns>
// <probe cpu ns> what the probe itself had spent inside the program by then, to be taken off.
//   flush <...> <window width> <height> <region x> <y> <width> <height> <photo x> <photo y> <title>
//   exec <...>
//   block <...>
//   timer <...> <interval ms> <timer type>
//   show <...> <title>                              (top-level windows only)
// <photo x> <photo y> is where one known row of the photograph is in the window after the
// flush (-1 -1: not there), so the harness can tell the first paint that shows the photograph in
// its final place. Looking for it is the probe's only noticeable work (well under 1 ms of CPU).
// One write(2) per line: the program is killed at the end of a run, nothing may sit in a buffer.
//
// With BENCH_PROBE_SNAPSHOT=<file.png> the pixels of the first ten flushes are also saved
// (<file>-<n>.png), to check by eye that the paint the harness times is the full picture.
// Saving is slow: never set it while timing.
//
// With BENCH_PROBE_EXIT_AT_FLUSH=<n> the process ends (exit code 0, without cleaning up) right
// after its n-th flush: a profiler (perf, callgrind) then sees the start-up and nothing else.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QObject>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxLines = 400;       // a run needs a few dozen; a runaway loop must not fill the disk
constexpr int kMaxBlockLines = 20;   // the loop blocks on every turn: only the first turns matter

std::atomic<int> gLines{0};
std::atomic<int> gBlockLines{0};
// Time the probe itself has spent inside the program (looking for the photograph).
long long gSpentNs = 0, gSpentCpuNs = 0;

long long ClockNs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

long long NowNs() { return ClockNs(CLOCK_MONOTONIC); }
long long CpuNs() { return ClockNs(CLOCK_PROCESS_CPUTIME_ID); }

int LogFd() {
    static const int fd = [] {
        const char* path = std::getenv("BENCH_PROBE_LOG");
        if (!path || !*path) return -1;
        return ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }();
    return fd;
}

void WriteLine(const char* text, int length) {
    const int fd = LogFd();
    if (fd < 0 || length <= 0 || gLines.fetch_add(1) >= kMaxLines) return;
    ssize_t written = ::write(fd, text, static_cast<size_t>(length));
    (void)written; // a lost line is a missing event; the harness stops on the ones it needs
}

// One event: its kind, the clocks read when it happened and what the probe had spent by then,
// then the event's own fields.
template <typename... A>
void Log(const char* kind, long long ns, long long cpuNs, const char* format, A... args) {
    char line[512];
    int length = std::snprintf(line, sizeof(line), "%s %lld %lld %lld %lld ", kind, ns, cpuNs,
                               gSpentNs, gSpentCpuNs);
    length += std::snprintf(line + length, sizeof(line) - static_cast<size_t>(length), format, args...);
    if (length >= static_cast<int>(sizeof(line))) length = sizeof(line) - 1;
    line[length - 1] = '\n'; // a cut line still ends as a line
    WriteLine(line, length);
}

// The real function behind a replaced one, looked up once by its mangled name.
template <typename F> F RealFunction(const char* mangledName) {
    void* symbol = dlsym(RTLD_NEXT, mangledName);
    if (!symbol) {
        std::fprintf(stderr, "paintprobe: %s not found: %s\n", mangledName, dlerror());
        std::abort();
    }
    F function;
    static_assert(sizeof(function) == sizeof(symbol));
    std::memcpy(&function, &symbol, sizeof(function));
    return function;
}

// The photograph's signature: one row of it, as the harness decoded it with libjpeg (RRGGBB hex
// per pixel in BENCH_PROBE_PHOTO_ROW). Both programs copy the decoded photograph unscaled, so
// the row appears in the window exactly as given, wherever the photograph is.
const std::vector<uint32_t>& PhotoSignature() {
    static const std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> row;
        const char* hex = std::getenv("BENCH_PROBE_PHOTO_ROW");
        for (size_t i = 0; hex && std::strlen(hex + i) >= 6; i += 6) {
            char digits[7] = {};
            std::memcpy(digits, hex + i, 6);
            row.push_back(static_cast<uint32_t>(std::strtoul(digits, nullptr, 16)));
        }
        return row;
    }();
    return pixels;
}

// Where the signature row starts in the window's pixels, or (-1, -1).
QPoint FindPhotograph(QBackingStore* store, const QWindow* window) {
    const std::vector<uint32_t>& signature = PhotoSignature();
    QPaintDevice* device = store->paintDevice();
    if (signature.empty() || !device || device->devType() != QInternal::Image) return {-1, -1};
    const auto* image = static_cast<const QImage*>(device);
    if (image->depth() != 32) return {-1, -1};
    const int width = std::min(image->width(), window->width());
    const int height = std::min(image->height(), window->height());
    const int length = static_cast<int>(signature.size());
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image->constScanLine(y));
        for (int x = 0; x + length <= width; ++x) {
            if ((row[x] & 0xFFFFFFu) != signature[0]) continue;
            int i = 1;
            while (i < length && (row[x + i] & 0xFFFFFFu) == signature[i]) ++i;
            if (i == length) return {x, y};
        }
    }
    return {-1, -1};
}

// Saves what the backing store holds after one of the first flushes.
void SaveSnapshot(QBackingStore* store) {
    constexpr int kMaxSnapshots = 10;
    static const char* base = std::getenv("BENCH_PROBE_SNAPSHOT");
    static int saved = 0;
    if (!base || !*base || saved >= kMaxSnapshots) return;
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image) return;
    const QString path = QString::fromUtf8(base).replace(".png", QString("-%1.png").arg(++saved));
    static_cast<QImage*>(device)->save(path);
}

void ExitIfAsked() {
    static const int exitAt = [] {
        const char* value = std::getenv("BENCH_PROBE_EXIT_AT_FLUSH");
        return value ? std::atoi(value) : 0;
    }();
    static int flushes = 0;
    if (exitAt > 0 && ++flushes >= exitAt) _exit(0);
}

void WatchForBlocking() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        if (gBlockLines.fetch_add(1) < kMaxBlockLines) Log("block", NowNs(), CpuNs(), "\n");
    });
}

} // namespace

void QBackingStore::flush(const QRegion& region, QWindow* window, const QPoint& offset) {
    using TFlush = void (*)(QBackingStore*, const QRegion&, QWindow*, const QPoint&);
    static const TFlush real = RealFunction<TFlush>("_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint");
    real(this, region, window, offset);
    const long long done = NowNs();
    const long long cpu = CpuNs();
    QWindow* target = window ? window : this->window();
    if (!target) return;
    const QRect box = region.boundingRect();
    const QByteArray title = target->title().toUtf8();
    const QPoint photo = FindPhotograph(this, target);
    Log("flush", done, cpu, "%d %d %d %d %d %d %d %d %s\n", target->width(), target->height(),
        box.x(), box.y(), box.width(), box.height(), photo.x(), photo.y(), title.constData());
    gSpentNs += NowNs() - done;
    gSpentCpuNs += CpuNs() - cpu;
    SaveSnapshot(this);
    ExitIfAsked();
}

int QApplication::exec() {
    using TExec = int (*)();
    static const TExec real = RealFunction<TExec>("_ZN12QApplication4execEv");
    Log("exec", NowNs(), CpuNs(), "\n");
    WatchForBlocking();
    return real();
}

int QObject::startTimer(int interval, Qt::TimerType timerType) {
    using TStartTimer = int (*)(QObject*, int, Qt::TimerType);
    static const TStartTimer real = RealFunction<TStartTimer>("_ZN7QObject10startTimerEiN2Qt9TimerTypeE");
    Log("timer", NowNs(), CpuNs(), "%d %d\n", interval, static_cast<int>(timerType));
    return real(this, interval, timerType);
}

void QWidget::show() {
    using TShow = void (*)(QWidget*);
    static const TShow real = RealFunction<TShow>("_ZN7QWidget4showEv");
    if (isWindow()) {
        const QByteArray title = windowTitle().toUtf8();
        Log("show", NowNs(), CpuNs(), "%s\n", title.constData());
    }
    real(this);
}

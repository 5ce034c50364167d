// The window timed from outside, as a user meets it: the app is started on a
// large listing under an X server, each action is sent as a real key press
// through XTest, and the screen is read every 2 ms until it has not changed for
// 600 ms. It is read through the X server's shared memory (MIT-SHM): a plain
// XGetImage of a 1280x800 screen takes Xvfb some 65 ms, which would be the
// probe's resolution and would hold the app's own drawing up meanwhile; the
// shared read takes under a millisecond. An action's time is from the key to the last change,
// so it counts what the app does after it seems to have answered: layouts
// settled later, rows painted in a second pass, a view that blinks.
//
// Run it where nothing else draws, under a window manager:
//     xvfb-run -a -s "-screen 0 1280x800x24" sh -c 'openbox & sleep 1; build/bench/window-probe'
// window-probe [ENTRIES] [RUNS] [APP] times ENTRIES entries (100000), RUNS
// times each (5), and prints each action's median and its first time; APP is
// another build's app, an older one to compare with.

#include "samplelisting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr qint64 pollMilliseconds = 2;
constexpr qint64 quietMilliseconds = 600;
constexpr qint64 longestWaitMilliseconds = 30000;

// The whole screen, watched: the app is the only window on it. A change is one of
// more pixels than a text cursor's blink turns over.
class ScreenWatch
{
public:
    explicit ScreenWatch(Display *display)
        : m_display(display)
        , m_root(DefaultRootWindow(display))
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, m_root, &attributes);
        m_width = unsigned(attributes.width);
        m_height = unsigned(attributes.height);
        if (!XShmQueryExtension(display))
            qFatal("the X server has no MIT-SHM");
        const int screen = DefaultScreen(display);
        m_image = XShmCreateImage(display, DefaultVisual(display, screen),
                                  unsigned(DefaultDepth(display, screen)), ZPixmap, nullptr,
                                  &m_shared, m_width, m_height);
        if (!m_image || m_image->bits_per_pixel != 32)
            qFatal("the screen is not of 32-bit pixels");
        m_shared.shmid =
            shmget(IPC_PRIVATE, size_t(m_image->bytes_per_line) * m_height, IPC_CREAT | 0600);
        m_shared.shmaddr = m_image->data = static_cast<char *>(shmat(m_shared.shmid, nullptr, 0));
        m_shared.readOnly = False;
        if (m_shared.shmid < 0 || m_shared.shmaddr == reinterpret_cast<char *>(-1) ||
            !XShmAttach(display, &m_shared))
            qFatal("cannot share memory with the X server");
        XSync(display, False);
        shmctl(m_shared.shmid, IPC_RMID, nullptr); // gone once both sides detach
    }

    ~ScreenWatch()
    {
        XShmDetach(m_display, &m_shared);
        XDestroyImage(m_image);
        shmdt(m_shared.shmaddr);
    }

    ScreenWatch(const ScreenWatch &) = delete;
    ScreenWatch &operator=(const ScreenWatch &) = delete;

    // Milliseconds from `start` to the last change before the screen stayed
    // the same for quietMilliseconds, after a first change if `mustChange`;
    // -1 when it never settled.
    [[nodiscard]] double settledAfter(const QElapsedTimer &start, bool mustChange = false) const
    {
        std::vector<quint32> shown = pixels();
        qint64 lastChange = 0;
        bool changed = false;
        while (start.elapsed() < longestWaitMilliseconds) {
            QThread::msleep(pollMilliseconds);
            std::vector<quint32> now = pixels();
            const qint64 at = start.nsecsElapsed();
            if (differing(shown, now) > cursorPixels) {
                shown = std::move(now);
                lastChange = at;
                changed = true;
            } else if ((changed || !mustChange) &&
                       (at - lastChange) / 1000000 >= quietMilliseconds) {
                return changed ? double(lastChange) / 1e6 : 0.0;
            }
        }
        return -1;
    }

    // Waits until the screen has been still for a while.
    void waitUntilStill() const
    {
        QElapsedTimer timer;
        timer.start();
        (void)settledAfter(timer);
    }

    // The middle of the largest window on the screen: the app's list.
    [[nodiscard]] std::pair<int, int> middleOfWindow() const
    {
        Window root = 0;
        Window parent = 0;
        Window *children = nullptr;
        unsigned count = 0;
        std::pair<int, int> middle(int(m_width / 2), int(m_height / 2));
        long largest = 0;
        if (!XQueryTree(m_display, m_root, &root, &parent, &children, &count))
            return middle;
        for (const Window child : std::span(children, count)) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(m_display, child, &attributes);
            const long area = long(attributes.width) * attributes.height;
            if (attributes.map_state == IsViewable && area > largest) {
                largest = area;
                middle = {attributes.x + attributes.width / 2,
                          attributes.y + attributes.height / 2};
            }
        }
        XFree(children);
        return middle;
    }

private:
    static constexpr size_t cursorPixels = 64;

    [[nodiscard]] std::vector<quint32> pixels() const
    {
        if (!XShmGetImage(m_display, m_root, m_image, 0, 0, AllPlanes))
            qFatal("cannot read the screen");
        const auto *first = reinterpret_cast<const quint32 *>(m_image->data);
        return {first, first + size_t(m_image->bytes_per_line / 4) * m_height};
    }

    static size_t differing(const std::vector<quint32> &a, const std::vector<quint32> &b)
    {
        size_t count = 0;
        for (size_t i = 0; i < a.size(); ++i)
            count += a[i] != b[i];
        return count;
    }

    Display *m_display;
    Window m_root;
    unsigned m_width = 0;
    unsigned m_height = 0;
    XShmSegmentInfo m_shared{};
    XImage *m_image = nullptr;
};

// Key presses as a user types them, modifiers held around the key, and clicks.
class Keyboard
{
public:
    explicit Keyboard(Display *display)
        : m_display(display)
    {}

    void press(std::initializer_list<KeySym> modifiers, KeySym key) const
    {
        for (const KeySym modifier : modifiers)
            send(modifier, True);
        send(key, True);
        send(key, False);
        for (const KeySym modifier : modifiers)
            send(modifier, False);
        XFlush(m_display);
    }

    void click(std::pair<int, int> at) const
    {
        XTestFakeMotionEvent(m_display, -1, at.first, at.second, CurrentTime);
        XTestFakeButtonEvent(m_display, Button1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, Button1, False, CurrentTime);
        XFlush(m_display);
    }

private:
    void send(KeySym key, Bool down) const
    {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), down, CurrentTime);
    }

    Display *m_display;
};

struct Action
{
    const char *name;
    std::function<void()> prepare; // untimed, before each run, so that each is the same
    std::function<void()> send;
};

void printTimes(const char *name, std::vector<double> times)
{
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("%-34s %8.0f %8.0f\n", name, times[times.size() / 2], first);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;
    // Closed last, after the screen's watch has let go of its shared memory.
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> connection(XOpenDisplay(nullptr),
                                                                        XCloseDisplay);
    Display *display = connection.get();
    if (!display || entries <= 0 || runs <= 0) {
        std::fprintf(stderr, "usage: window-probe [ENTRIES] [RUNS] [APP], under an X server with "
                             "XTest (see the comment at the top of window_probe.cpp)\n");
        return 2;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        qFatal("the X server has no XTest");
    const ScreenWatch screen(display);
    const Keyboard keys(display);

    // The app's settings and history in a folder of the probe's own, so that
    // every run starts from the same window.
    QTemporaryDir folder;
    const QString listing = folder.filePath(QStringLiteral("listing.txt"));
    QFile file(listing);
    if (!file.open(QIODevice::WriteOnly) || file.write(repeatedSample(entries)) < 0)
        qFatal("cannot write the listing");
    file.close();
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "HOME"})
        environment.insert(QString::fromLatin1(variable), folder.path());
    window.setProcessEnvironment(environment);
    window.setProgram(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(ZEPHLIST_APP));
    window.setArguments({listing});

    std::printf("%d entries, %d runs; ms from the key to the screen settled\n", entries, runs);
    std::printf("%-34s %8s %8s\n", "action", "median", "first");
    QElapsedTimer launch;
    launch.start();
    window.start();
    if (!window.waitForStarted())
        qFatal("cannot start the app");
    const double opened = screen.settledAfter(launch, true);
    if (opened < 0)
        qFatal("the app showed nothing");
    std::printf("%-34s %8.0f %8s\n", "start with the listing, to settled", opened, "");

    const auto sortBy = [&keys](KeySym mnemonic) {
        return [&keys, mnemonic] { keys.press({XK_Alt_L}, mnemonic); };
    };
    const auto search = [&keys](std::initializer_list<KeySym> typed) {
        return [&keys, typed] {
            keys.press({XK_Control_L}, XK_f); // focuses the field, its text selected
            keys.press({}, XK_BackSpace);
            for (const KeySym key : typed)
                keys.press({}, key);
        };
    };
    const auto toList = [&keys, &screen, search] {
        search({})();
        keys.click(screen.middleOfWindow());
        keys.press({XK_Control_L}, XK_Home);
    };
    const std::vector<Action> actions = {
        {"sort by Parent", sortBy(XK_k), sortBy(XK_a)},
        {"sort by UUID", sortBy(XK_k), sortBy(XK_i)},
        {"sort by Name", sortBy(XK_k), sortBy(XK_n)},
        {"search keystroke (UUIDs)", search({}), [&keys] { keys.press({}, XK_e); }},
        {"search cleared", search({XK_e}), [&keys] { keys.press({}, XK_BackSpace); }},
        {"Select All, then End", toList,
         [&keys] {
             keys.press({XK_Control_L}, XK_a);
             keys.press({}, XK_End);
         }},
        // Last, as it brings the sidebar out and narrows the list: from All to
        // the last category.
        {"sidebar category",
         [&keys] {
             keys.press({XK_Control_L}, XK_1);
             keys.press({}, XK_Home);
         },
         [&keys] { keys.press({}, XK_End); }},
    };
    for (const Action &action : actions) {
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            action.prepare();
            screen.waitUntilStill();
            QElapsedTimer timer;
            timer.start();
            action.send();
            const double settled = screen.settledAfter(timer, true);
            if (settled < 0 || window.state() != QProcess::Running) {
                std::fprintf(stderr, "%s: the screen did not change, or the app is gone\n",
                             action.name);
                return 1;
            }
            times.push_back(settled);
        }
        printTimes(action.name, times);
    }
    window.terminate();
    window.waitForFinished();
    return 0;
}

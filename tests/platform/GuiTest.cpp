// kolvex-gallery on the GTK back-end in a real X server: it opens, a click
// injected with xdotool toggles its check box (the gallery reports the new
// state), and the X window has the size of the headless screenshot.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"
#include "platform/core/Strings.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/stat.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace win;

namespace {

struct Rect {
    long x = 0, y = 0, w = 0, h = 0;
};

std::string Bin()
{
    const char* bin = std::getenv("KOLVEX_BIN");
    return bin ? bin : ".";
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, p))
            out += buffer;
        ::pclose(p);
    }
    return out;
}

// A child process whose standard output we read line by line.
struct Child {
    pid_t pid = -1;
    int out = -1;
    std::string pending;

    void Start(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool capture)
    {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        pid = ::fork();
        if (pid == 0) {
            if (capture)
                ::dup2(fds[1], 1);
            ::close(fds[0]);
            ::close(fds[1]);
            for (const auto& e : env)
                ::putenv(const_cast<char*>(e.c_str()));
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = fds[0];
    }

    // The next line, or "" after `seconds`.
    std::string Line(int seconds)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            auto nl = pending.find('\n');
            if (nl != std::string::npos) {
                std::string line = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                return line;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return "";
            pollfd p{out, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return "";
            char buffer[512];
            ssize_t n = ::read(out, buffer, sizeof buffer);
            if (n <= 0)
                return "";
            pending.append(buffer, static_cast<std::size_t>(n));
        }
    }

    int Wait(int seconds)
    {
        for (int i = 0; i < seconds * 20; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            ::usleep(50000);
        }
        return -1;
    }

    ~Child()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0)
            ::close(out);
    }
};

SIZE PngSize(const std::string& file)
{
    SIZE size{};
    HBITMAP bitmap = LoadImageFile(FromUtf8(file));
    GetBitmapSize(bitmap, &size);
    DeleteObject(bitmap);
    return size;
}

}  // namespace

TEST(Gui, GalleryRunsOnTheGtkBackEndInAnXServer)
{
    ASSERT_EQ(testing_support::MissingTools({"Xvfb", "xdotool", "import"}), "") << "tools/setup installs them";
    std::string dir = "/tmp/kolvex-gui-" + std::to_string(::getpid());
    ::mkdir(dir.c_str(), 0700);
    std::string headless = dir + "/headless.png", real = dir + "/x11.png";
    ASSERT_EQ(std::system((Bin() + "/kolvex-gallery --screenshot " + headless + " >/dev/null").c_str()), 0);

    // An X server on a free display; it writes the display number when ready.
    Child server;
    server.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, true);
    std::string number = server.Line(20);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    std::string display = "DISPLAY=:" + number;

    Child gallery;
    gallery.Start({Bin() + "/kolvex-gallery", "--describe"}, {display, "ASAN_OPTIONS=detect_leaks=0"}, true);
    std::map<int, Rect> controls;
    Rect window;
    for (std::string line = gallery.Line(20); line != "ready"; line = gallery.Line(20)) {
        ASSERT_FALSE(line.empty()) << "the gallery did not open";
        std::istringstream in(line);
        std::string what;
        int id;
        Rect r;
        in >> what >> id >> r.x >> r.y >> r.w >> r.h;
        (what == "window" ? window : controls[id]) = r;
    }
    ASSERT_TRUE(controls.count(1101));
    std::string x = display + " xdotool ";
    std::string wid = Shell(x + "search --sync --onlyvisible --name 'Kolvex gallery' | head -1");
    ASSERT_FALSE(wid.empty());
    wid.pop_back();

    const Rect& box = controls[1101];
    Shell(x + "mousemove " + std::to_string(box.x + 6) + " " + std::to_string(box.y + box.h / 2) + " click 1");
    EXPECT_EQ(gallery.Line(10), "command 1101 0 checked=1");

    // A question from a worker thread shows on the UI thread and comes back
    // answered.
    const Rect& push = controls[1121];
    Shell(x + "mousemove " + std::to_string(push.x + push.w / 2) + " " + std::to_string(push.y + push.h / 2) +
          " click 1");
    EXPECT_EQ(gallery.Line(10), "command 1121 0 checked=0");
    std::string question = Shell(x + "search --sync --onlyvisible --name 'Kolvex gallery question' | head -1");
    ASSERT_FALSE(question.empty());
    question.pop_back();
    Shell(x + "key --window " + question + " alt+y");
    EXPECT_EQ(gallery.Line(10), "answer 6");  // IDYES

    Shell(display + " import -window " + wid + " " + real);
    SIZE a = PngSize(headless), b = PngSize(real);
    EXPECT_GT(a.cx, 100);
    EXPECT_EQ(a.cx, b.cx);
    EXPECT_EQ(a.cy, b.cy);
    EXPECT_EQ(a.cx, window.w);

    // Escape presses Cancel, which ends the dialog.
    Shell(x + "key --window " + wid + " Escape");
    EXPECT_EQ(gallery.Line(10), "command 2 0 checked=0");
    EXPECT_EQ(gallery.Line(10), "result 2");
    EXPECT_EQ(gallery.Wait(10), 0);
    std::system(("rm -rf " + dir).c_str());
}

TEST(Gui, WithoutADisplayTheGalleryExplainsWhy)
{
    Child gallery;
    gallery.Start({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", Bin() + "/kolvex-gallery"},
                  {"ASAN_OPTIONS=detect_leaks=0"}, false);
    EXPECT_EQ(gallery.Wait(10), 1);
}

// kolvex-gallery on the GTK back-end in a real X server: it opens, a click
// injected with xdotool toggles its check box (the gallery reports the new
// state), and the X window has the size of the headless screenshot.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"
#include "platform/core/Strings.h"
#include "tests/support/TestFiles.h"

#include "tests/support/ChildProcess.h"

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
using namespace testing_support;

namespace {

struct Rect {
    long x = 0, y = 0, w = 0, h = 0;
};

std::string Bin()
{
    const char* bin = std::getenv("KOLVEX_BIN");
    return bin ? bin : ".";
}

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
    ChildProcess server;
    ASSERT_TRUE(server.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, true));
    std::string number = server.Line(20);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    std::string display = "DISPLAY=:" + number;

    ChildProcess gallery;
    std::string errors = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/kolvex-gallery-" +
                         std::to_string(getpid()) + ".err";
    std::remove(errors.c_str());
    ASSERT_TRUE(gallery.Start(WithErrorsIn(errors, {Bin() + "/kolvex-gallery", "--describe"}),
                              {display, "ASAN_OPTIONS=detect_leaks=0"}, true));
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
    EXPECT_EQ(GtkComplaints(errors), "");
    std::remove(errors.c_str());
    std::system(("rm -rf " + dir).c_str());
}

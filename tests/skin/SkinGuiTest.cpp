// The skinned main window's layout on the GTK back-end in a real X server
// (Xvfb), driven by xdotool: a skinned button lights up under the pointer
// and its click arrives, a caption drag moves the window, and the window's
// X shape has the skin's rounded corners.
#include "SkinTesting.h"

#include "skin/SkinFile.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace skintest;
using namespace testing_support;

namespace {

std::string Bin()
{
    const char* bin = std::getenv("KOLVEX_BIN");
    return bin ? bin : ".";
}

struct Screen {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

Screen Capture(const std::string& display)
{
    std::string file = Folder() + "screen.png";
    Shell(display + " import -window root " + file);
    Screen s;
    win::HBITMAP shot = win::LoadImageFile(Wide(file));
    win::GetBitmapPixels(shot, &s.pixels, &s.width, &s.height);
    win::DeleteObject(shot);
    return s;
}

// Captures the screen until it shows what `shows` looks for, for at most
// ten seconds; the last capture either way, for the checks to describe.
template <class Shows>
Screen CaptureWhen(const std::string& display, Shows&& shows)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Screen s = Capture(display);
    while (!shows(s) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        s = Capture(display);
    }
    return s;
}

// Reads the program's lines until `expected`; the last line read ("" when
// the program fell silent).
std::string LineUntil(ChildProcess& app, const std::string& expected)
{
    std::string line;
    for (line = app.Line(10); !line.empty() && line != expected; line = app.Line(10)) {
    }
    return line;
}

}  // namespace

TEST(SkinGui, TheSkinnedWindowWorksInAnXServer)
{
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        ASSERT_TRUE(OnPath(tool)) << tool << " is missing (tools/setup installs it)";
    ChildProcess server;
    ASSERT_TRUE(server.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, true));
    std::string number = server.Line(20);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    std::string display = "DISPLAY=:" + number;
    std::string x = display + " xdotool ";

    ChildProcess app;
    std::string errors = Folder() + "preview.err";
    std::remove(errors.c_str());
    ASSERT_TRUE(app.Start(WithErrorsIn(errors, {Bin() + "/kolvex-skin-preview"}), {display, "ASAN_OPTIONS=detect_leaks=0"}, true));
    int left = 0, top = 0, width = 0, height = 0;
    for (std::string line = app.Line(20);; line = app.Line(20)) {
        ASSERT_FALSE(line.empty()) << "the window did not open";
        std::istringstream in(line);
        std::string what;
        in >> what;
        if (what == "ready") {
            in >> left >> top >> width >> height;
            break;
        }
    }
    ASSERT_EQ(width, 665);

    // The X shape: the rounded corners are holes onto the (black) root.
    auto shaped = [&](const Screen& s) {
        return s.width > left + width && s.At(left, top) == 0 && s.At(left + width - 1, top) == 0 &&
               s.At(left + width - 1, top + height - 1) == 0 && s.At(left + width / 2, top + 1) != 0 &&
               s.At(left + 12, top + 12) != 0;
    };
    Screen shown = CaptureWhen(display, shaped);
    ASSERT_GT(shown.width, left + width);
    EXPECT_EQ(shown.At(left, top), 0u);
    EXPECT_EQ(shown.At(left + width - 1, top), 0u);
    EXPECT_EQ(shown.At(left + width - 1, top + height - 1), 0u);
    EXPECT_NE(shown.At(left + width / 2, top + 1), 0u);
    EXPECT_NE(shown.At(left + 12, top + 12), 0u);

    // "add" lights up under the pointer, and a click on it arrives.
    SkinFile skin;
    ASSERT_TRUE(skin.Open(Wide(Bin()) + L"/Skin/APEdefault.ini"));
    SkinRect anchor = skin.GetRect(L"add", L"anchor");
    SkinImage faces = LoadImageFile(Wide(Bin()) + L"/Skin/" + skin.GetString(L"add", L"image", L""));
    SkinRect hover = skin.GetRect(L"add", L"hover");
    int ax = left + anchor.x + anchor.width / 2, ay = top + 32 + anchor.y + anchor.height / 2;
    Shell(x + "mousemove " + std::to_string(ax) + " " + std::to_string(ay));
    std::uint32_t lit = PixelOf(faces.Bitmap(), hover.x + 4, hover.y + 18) & 0xFFFFFF;
    int px = left + anchor.x + 4, py = top + 32 + anchor.y + 18;
    shown = CaptureWhen(display, [&](const Screen& s) { return s.At(px, py) == lit; });
    EXPECT_EQ(shown.At(px, py), lit);
    Shell(x + "click 1");
    EXPECT_EQ(app.Line(10), "command 1007");

    // A drag on the caption moves the window, step by step with the pointer.
    int cx = left + 300, cy = top + 16;
    Shell(x + "mousemove --sync " + std::to_string(cx) + " " + std::to_string(cy) + " mousedown 1");
    Shell(x + "mousemove --sync " + std::to_string(cx + 40) + " " + std::to_string(cy + 30));
    std::string halfway = "moved " + std::to_string(left + 40) + " " + std::to_string(top + 30);
    EXPECT_EQ(LineUntil(app, halfway), halfway);
    Shell(x + "mousemove --sync " + std::to_string(cx + 80) + " " + std::to_string(cy + 60));
    std::string expected = "moved " + std::to_string(left + 80) + " " + std::to_string(top + 60);
    EXPECT_EQ(LineUntil(app, expected), expected);
    Shell(x + "mouseup 1");
    std::string geometry = Shell(x + "search --name 'Verdo Ape' getwindowgeometry");
    EXPECT_NE(geometry.find("Position: " + std::to_string(left + 80) + "," + std::to_string(top + 60)),
              std::string::npos)
        << geometry;
    EXPECT_EQ(GtkComplaints(errors), "");
    // The close caption button in the X server: the program's GUI test
    // (tests/app/gui_test.sh) clicks it and sees the program end.
}

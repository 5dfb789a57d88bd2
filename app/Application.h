// The program's life: the skin toolkit comes up, the main window runs
// modally until it closes, and everything goes down again in reverse order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainWindow;
class SkinManager;
class SkinPreload;

class Application {
public:
    // `programFolder` holds the skin, the modules and README.html.
    explicit Application(std::wstring programFolder);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts reading the window's skin on a second thread, so that decoding
    // its images overlaps whatever comes before the window (opening the
    // display); Run hands the result to the skin toolkit.
    void PreloadSkin();

    // Runs the main window until it closes; the process's exit status.
    // `files` are added at once, as "Add files" adds them. With a
    // `socketPath`, files other programs hand over (a second `kolvex
    // FILE…`) are added too, from the first paint on.
    int Run(std::vector<std::wstring> files = {}, std::string socketPath = {});

    // Called once the main window has painted for the first time (start-up
    // measurements hang on it).
    std::function<void(MainWindow&)> onFirstPaint;

    SkinManager* Skin() const { return skin_; }
    MainWindow* Window() const { return mainWindow_; }

private:
    std::wstring programFolder_;
    std::unique_ptr<SkinPreload> preload_;
    SkinManager* skin_ = nullptr;
    MainWindow* mainWindow_ = nullptr;
};

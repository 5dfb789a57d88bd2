#include "app/Application.h"

#include "app/InstanceSocket.h"
#include "app/MainWindow.h"
#include "skin/SkinManager.h"
#include "skin/SkinPreload.h"

#include <new>

Application::Application(std::wstring programFolder) : programFolder_(std::move(programFolder)) { }

Application::~Application() = default;

void Application::PreloadSkin()
{
    preload_ = std::make_unique<SkinPreload>(MainWindow::SkinFolder(programFolder_),
                                             MainWindow::SkinDefinition(programFolder_));
}

int Application::Run(std::vector<std::wstring> files, std::string socketPath)
{
    // Without the toolkit the window runs with the platform's look.
    skin_ = new (std::nothrow) SkinManager;
    if (skin_ && preload_)
        skin_->AdoptPreload(std::move(preload_));
    preload_.reset();
    {
        MainWindow window(skin_, programFolder_);
        window.filesAtStart = std::move(files);
        // Goes before the window: nothing is handed to a window that is gone.
        std::unique_ptr<instance_socket::Listener> listener;
        window.onFirstPaint = [this, &listener, socketPath](MainWindow& shown) {
            if (!socketPath.empty()) {
                win::HWND hwnd = shown.Window();
                listener = std::make_unique<instance_socket::Listener>(
                    socketPath, [hwnd](std::vector<std::wstring> handed) {
                        MainWindow::PostFiles(hwnd, std::move(handed));
                    });
            }
            if (onFirstPaint)
                onFirstPaint(shown);
        };
        mainWindow_ = &window;
        window.DoModal();
        listener.reset();
        mainWindow_ = nullptr;
    }
    delete skin_;
    skin_ = nullptr;
    return 0;
}

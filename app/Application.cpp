#include "app/Application.h"

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

int Application::Run()
{
    // Without the toolkit the window runs with the platform's look.
    skin_ = new (std::nothrow) SkinManager;
    if (skin_ && preload_)
        skin_->AdoptPreload(std::move(preload_));
    preload_.reset();
    {
        MainWindow window(skin_, programFolder_);
        window.onFirstPaint = [this](MainWindow& shown) {
            if (onFirstPaint)
                onFirstPaint(shown);
        };
        mainWindow_ = &window;
        window.DoModal();
        mainWindow_ = nullptr;
    }
    delete skin_;
    skin_ = nullptr;
    return 0;
}

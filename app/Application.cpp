#include "app/Application.h"

#include "app/MainWindow.h"
#include "skin/SkinManager.h"

#include <new>

int Application::Run()
{
    // Without the toolkit the window runs with the platform's look.
    skin_ = new (std::nothrow) SkinManager;
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

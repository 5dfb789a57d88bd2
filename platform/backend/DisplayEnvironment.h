// Choices the display back-end makes through the environment before GTK
// starts (a user's own setting always wins). They are made on the main
// thread before any other thread runs: setting a variable may move the
// environment under a thread that is reading it.
#pragma once

namespace win {

// Safe to call again; only the first call changes anything.
void ChooseDisplayEnvironment();

// The theme GTK is to load while only skinned windows are on screen (they
// paint every pixel themselves, so the desktop theme's style sheets would
// be parsed for nothing), or null when the user chose a theme through
// GTK_THEME and it stays. The display back-end loads the desktop's theme
// before it shows a stock dialog or menu.
const char* SkinOnlyThemeName();

}  // namespace win

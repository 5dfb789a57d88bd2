// The skin toolkit's single entry object. The application makes one at
// start-up, points it at the skin folder, loads a definition file into a
// registry of named elements and applies the element of a frame to a
// window: the window and the controls inside it are then drawn from skin
// pieces. The conversion list is reached only through the list operations,
// by the list's skin name ("mmlist").
//
// Everything here runs on the thread that owns the skinned windows.
#pragma once

#include "platform/core/Types.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SkinElement;
class SkinFrame;
class SkinMultimediaList;
class SkinPreload;

class SkinManager {
public:
    SkinManager();
    virtual ~SkinManager();
    SkinManager(const SkinManager&) = delete;
    SkinManager& operator=(const SkinManager&) = delete;

    // Takes `window` over with the frame element `name` and then every
    // push button, text label and multimedia list inside it that the skin
    // describes. 1 when the window was taken over, 0 when there is no
    // window or no element of that name.
    virtual int ApplySkin(win::HWND window, const std::wstring& name);

    // The folder of the skin's images, with its trailing separator ("/").
    void SetSkinDirectory(const std::wstring& directory);
    const std::wstring& SkinDirectory() const { return skinDirectory_; }
    // Reads a definition file into the registry (a later section of the same
    // name replaces the earlier one). 1 on success, 0 when the file cannot
    // be opened.
    int LoadSkin(const std::wstring& path);
    // A load started before the window existed (SkinPreload.h): LoadSkin
    // takes its elements instead of reading the file again when it is for
    // the same file and skin directory.
    void AdoptPreload(std::unique_ptr<SkinPreload> preload);

    // --- the multimedia list, by its skin name ---------------------------
    // 1 when the list exists (whether or not the row could be made).
    int ListAddItem(const std::wstring& list, const std::wstring& name, win::UINT key);
    // 1 when a row with that key was removed.
    int ListRemoveItem(const std::wstring& list, win::UINT key);
    // State 3 toggles the row's check mark once the list has handled the
    // click it posts (after this call returns); other states do nothing.
    // 1 when the row exists.
    int ListSetItemState(const std::wstring& list, int state, win::UINT key);
    // The row's second text, redrawn at once. 1 when the row exists.
    int ListSetItemInfo(const std::wstring& list, const std::wstring& info, win::UINT key);
    // Why the row's conversion failed, shown in its tip (empty: it did
    // not). 1 when the row exists.
    int ListSetItemReason(const std::wstring& list, const std::wstring& reason, win::UINT key);
    // Keeps the row a batch is converting in view unless the person
    // scrolled away from it (see SkinMultimediaList::FollowItem).
    int ListFollowItem(const std::wstring& list, win::UINT key, bool restart);
    // The smallest checked key, or -1.
    int ListFindFirstChecked(const std::wstring& list);
    // The smallest checked key greater than `key`, or -1.
    int ListFindNextChecked(const std::wstring& list, win::UINT key);

    // The element registered under `name` (exact comparison), or null.
    SkinElement* Find(const std::wstring& name) const;
    // Registers `element` under its name; the manager owns it from now on.
    // An element it displaces stays alive (it may still skin a control)
    // until the manager goes.
    void Register(std::unique_ptr<SkinElement> element);

    // Takes one control inside a window skinned by `frame` over, when its
    // class, exact style and text call for it.
    void Classify(win::HWND control, SkinFrame& frame);

private:
    SkinMultimediaList* FindList(const std::wstring& name) const;

    std::wstring skinDirectory_;
    std::map<std::wstring, SkinElement*> registry_;
    std::vector<std::unique_ptr<SkinElement>> owned_;
    std::unique_ptr<SkinPreload> preload_;
};

// The custom control class of the multimedia list ("MiniWnd"); registered
// once per process, before a dialog that holds such a control is created.
// Safe to call again.
void RegisterMiniWndClass();

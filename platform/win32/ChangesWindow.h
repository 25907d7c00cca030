// Every change since the program started, in a window of its own: a list of
// the change log, newest first, that follows the log while it is open. The
// user's place in it stays with its entries as new ones come in on top.
// Ctrl+C copies the selected entries with a header line, Ctrl+A selects
// all, Esc closes. It follows its monitor's DPI and the system's colours.
// Entries of today show their time, earlier ones their date too, and the
// list notices the day turn; a copy always carries the date.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>

#include "monitor/ChangeLog.h"
#include "platform/win32/DpiScale.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/Win32Locale.h"

namespace kestrova::win32 {

class ChangesWindow {
public:
    // Created hidden. Throws std::system_error when the window cannot be.
    // `copyFailed` tells the user that the clipboard was busy.
    ChangesWindow(HINSTANCE instance, HWND owner, ChangeLog& log,
                  std::function<void()> copyFailed);
    ~ChangesWindow();
    ChangesWindow(const ChangesWindow&) = delete;
    ChangesWindow& operator=(const ChangesWindow&) = delete;

    // Shows the window, or brings it to the front, with the list focused.
    void Show();
    // Hidden, not destroyed: it comes back as the user left it.
    void Hide();

    HWND hwnd() const { return hwnd_; }
    HWND list() const { return list_; }
    HWND note() const { return note_; }
    bool CopySelection() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();
    void ApplyDpi(unsigned dpi);
    void LayOut();
    void FollowLog();
    bool OnKey(WPARAM key);
    void FillDisplayInfo(LVITEMW& item) const;
    void FitTimeColumn();
    void FollowDay();

    HINSTANCE instance_;
    ChangeLog& log_;
    std::function<void()> copyFailed_;
    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HWND note_ = nullptr;
    DpiScale scale_;
    unique_hfont font_;
    std::uint64_t shownAdded_ = 0;  // log_.Added() when the list last caught up
    Win32Locale locale_;
    LocalTime today_;  // entries of this day show their time alone
};

}  // namespace kestrova::win32

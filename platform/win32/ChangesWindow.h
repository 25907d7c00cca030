// Every change since the program started, in a window of its own: a list of
// the change log, newest first, that follows the log while it is open. The
// user's place in it stays with its entries as new ones come in on top.
// Ctrl+C copies the selected entries with a header line, Ctrl+A selects
// all, Esc closes and hands the activation back to the main window. It opens
// centred on the main window and follows its monitor's DPI, the system's
// colours and the message font; each opening takes the DPI of the monitor it
// is placed on before it shows, since a hidden window is not promised
// WM_DPICHANGED. Entries of today show their time, earlier ones their date
// too, and the list notices the day turn; a copy always carries the date.
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

struct DpiSources;

class ChangesWindow {
public:
    // What a test replaces; each empty member is the real thing.
    struct Seams {
        const DpiSources* dpi = nullptr;
        // The parts made once the window exists, each of which can fail.
        enum class Part { Note, List, Callback };
        // Runs as each part is made; what it throws is that part failing.
        std::function<void(Part)> made;
    };

    // Created hidden. Throws std::system_error when the window or a part of
    // it cannot be made, and then leaves neither behind, nor a callback in
    // the log. `copyFailed` tells the user that the clipboard was busy.
    ChangesWindow(HINSTANCE instance, HWND owner, ChangeLog& log,
                  std::function<void()> copyFailed);
    ChangesWindow(HINSTANCE instance, HWND owner, ChangeLog& log,
                  std::function<void()> copyFailed, Seams seams);
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
    void CreateChildren(const std::function<void(Seams::Part)>& made);
    void ApplyDpi(unsigned dpi);
    void RescaleTo(unsigned dpi);
    void ApplyFont();
    void PlaceOnOwner();
    void CentreOn(HWND owner);
    void LayOut();
    void FollowLog();
    bool OnKey(WPARAM key);
    void FillDisplayInfo(LVITEMW& item) const;
    void FitTimeColumn();
    void FollowDay();

    HINSTANCE instance_;
    ChangeLog& log_;
    std::function<void()> copyFailed_;
    const DpiSources& dpiSources_;
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

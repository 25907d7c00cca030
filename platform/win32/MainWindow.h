// The main window: a borderless black popup that creates its controls from
// the control table, hosts Form1 and routes each message to Form1's handler
// for it. Behaviour lives in Form1, colours in WindowColours; what is here is
// Win32 plumbing: creation, z-order and tab order, fonts, DPI, the clipboard
// and a boundary that no C++ exception crosses.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "platform/win32/DpiScale.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/Win32MessageBox.h"  // also keeps kestrova::MessageBox's name
#include "window/ControlTable.h"

namespace kestrova {
class Form1;
class RpcEndpoint;
class WmiConnector;
class Shell;
class Environment;
class VersionInfo;
class Clock;
class Locale;
class Desk;
enum class DeskEvent;
}  // namespace kestrova

namespace kestrova::win32 {

class ChangesWindow;
class ChildControl;
struct DpiSources;
class Win32Desk;
class Win32Label;
class Win32PictureBox;
class Win32TextBox;
class Win32CommandButton;
class Win32ListView;
class Win32Window;
class Win32Timer;
class WindowColours;

class MainWindow {
public:
    // What a test replaces so that a run is deterministic and never blocks:
    // each empty member is the real thing.
    struct Seams {
        RpcEndpoint* rpc = nullptr;
        WmiConnector* wmi = nullptr;
        Shell* shell = nullptr;
        MessageBoxFunction showMessage;  // MessageBoxW's shape
        // Runs once the window exists and is placed, before its controls are
        // created: what reaches a window that is still being built.
        std::function<void(HWND)> windowCreated;
        // Whether high contrast is on, asked at start-up and at every change
        // of scheme (Wine cannot switch it on).
        std::function<bool()> highContrast;
        // Where the DPI of each window is asked (a test hides the newer ways).
        const DpiSources* dpi = nullptr;
    };

    // Creates the window hidden, its controls and Form1, runs Form_Load,
    // shows the window with `showCommand` and lays it out. Throws
    // std::system_error when the window or a control cannot be created.
    MainWindow(HINSTANCE instance, int showCommand);
    MainWindow(HINSTANCE instance, int showCommand, Seams seams);
    // Destroys the window if it still exists, without ending the message loop.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null once the window is destroyed (Form1 unloaded it).
    HWND hwnd() const { return hwnd_; }
    const DpiScale& scale() const { return scale_; }

    // Control ids start above IDOK and IDCANCEL, which IsDialogMessage sends
    // for Enter and Esc.
    static constexpr int kFirstControlId = 100;
    static constexpr int ControlIdOf(ControlId id) {
        return kFirstControlId + static_cast<int>(id);
    }
    static constexpr UINT_PTR kPingTimerId = 1;

    // F8 and Shift+F8 go to the next and the previous change; Tab and
    // Shift+Tab move the keyboard focus. For the message loop.
    bool PreTranslate(MSG& message);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TitleLabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclassId, DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleTitleMouse(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

    void CreateWindowAtDefaultPlace();
    void CreateControls();
    void ApplyFont();
    void ApplyWindowIcons();
    void OnCommand(int controlId, int code);
    void OnDpiChanged(unsigned dpi, const RECT& suggested);
    void ShowChanges();
    void OnDeskEvent(DeskEvent event);
    void TellCopyFailed();
    HWND FirstTabStop() const;

    // Runs a Form1 handler; an exception ends there and is reported once.
    template <class Handler>
    void Call(Handler&& handler) noexcept;
    void ReportUnexpected(const char* what) noexcept;

    HINSTANCE instance_;
    const DpiSources& dpiSources_;
    DpiScale scale_;

    std::unique_ptr<RpcEndpoint> ownRpc_;
    std::unique_ptr<WmiConnector> ownWmi_;
    std::unique_ptr<Shell> ownShell_;
    RpcEndpoint& rpc_;
    WmiConnector& wmi_;
    Shell& shell_;
    MessageBoxFunction showMessage_;
    std::unique_ptr<const Environment> environment_;
    std::unique_ptr<const VersionInfo> versionInfo_;
    std::unique_ptr<const Clock> clock_;
    std::unique_ptr<const Locale> locale_;
    std::unique_ptr<Win32Desk> desk_;

    HWND hwnd_ = nullptr;
    unique_hfont font_;
    unique_hicon bigIcon_;
    unique_hicon smallIcon_;

    std::unique_ptr<Win32Label> lblCaption_;
    std::unique_ptr<Win32PictureBox> close_;
    std::unique_ptr<Win32TextBox> txtComputer_;
    std::unique_ptr<Win32CommandButton> cmdSwitch_;
    std::unique_ptr<Win32Label> label3_;
    std::unique_ptr<Win32TextBox> txtFreq_;
    std::unique_ptr<Win32Label> lblTime_;
    std::unique_ptr<Win32ListView> adaptors_;
    std::unique_ptr<Win32Label> website_;
    std::array<ChildControl*, kControlTable.size()> children_{};  // in table order
    std::unique_ptr<WindowColours> colours_;

    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32Timer> timer_;
    std::unique_ptr<MessageBox> messageBox_;
    std::unique_ptr<Form1> form_;  // it refers to everything above
    std::unique_ptr<ChangesWindow> changes_;  // shows form_'s change log; created when asked

    HWND lastFocus_ = nullptr;  // restored when the window is activated again
    bool loaded_ = false;       // Form_Load has run; layout may run
    bool ownerDestroying_ = false;
    bool unexpectedReported_ = false;
};

}  // namespace kestrova::win32

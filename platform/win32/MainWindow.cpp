#include "platform/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/win32/ChangesWindow.h"
#include "platform/win32/DefaultPlace.h"
#include "platform/win32/MessageFont.h"
#include "platform/win32/DeskMessages.h"
#include "platform/win32/StatusImageList.h"
#include "platform/win32/User32Entry.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Desk.h"
#include "platform/win32/Win32CommandButton.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Label.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32PictureBox.h"
#include "platform/win32/Win32RpcEndpoint.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32TextBox.h"
#include "platform/win32/Win32Timer.h"
#include "platform/win32/Win32VersionInfo.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32Wmi.h"
#include "platform/win32/WindowColours.h"
#include "platform/win32/WindowDpi.h"
#include "resources/ResourceIds.h"
#include "window/Form1.h"

namespace kestrova::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KestrovaMainWindow";
// No caption, no sizing frame and no system menu: the title label is the
// caption bar and the close picture its button. WS_MINIMIZEBOX still lets the
// taskbar button minimise the window.
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

// The class brush paints the form until its colours exist: the stock black
// one, which matches the form only while the form is black.
static_assert(kFormBackColour == Rgb{0, 0, 0});

// The control table's places were measured for an 8-point font; a larger
// message font would be cut off by the 255-twip-high labels and buttons.
constexpr int kFontPoints = 8;

int SystemMetricForDpi(int metric, int sizeAt96, const DpiScale& scale) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    if (const auto forDpi = User32Entry<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi")) {
        if (const int size = forDpi(metric, scale.Dpi()); size > 0) return size;
    }
    return scale.Scale96(sizeAt96);
}

[[noreturn]] void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, int showCommand)
    : MainWindow(instance, showCommand, Seams{}) {}

MainWindow::MainWindow(HINSTANCE instance, int showCommand, Seams seams)
    : instance_(instance),
      dpiSources_(seams.dpi ? *seams.dpi : DpiSources::System()),
      ownRpc_(seams.rpc ? nullptr : std::make_unique<Win32RpcEndpoint>()),
      ownWmi_(seams.wmi ? nullptr : std::make_unique<Win32WmiConnector>()),
      ownShell_(seams.shell ? nullptr : std::make_unique<Win32Shell>()),
      rpc_(seams.rpc ? *seams.rpc : *ownRpc_),
      wmi_(seams.wmi ? *seams.wmi : *ownWmi_),
      shell_(seams.shell ? *seams.shell : *ownShell_),
      showMessage_(seams.showMessage ? std::move(seams.showMessage)
                                     : MessageBoxFunction(&::MessageBoxW)),
      environment_(std::make_unique<Win32Environment>()),
      versionInfo_(std::make_unique<Win32VersionInfo>()),
      clock_(std::make_unique<Win32Clock>()),
      locale_(std::make_unique<Win32Locale>()) {
    CreateWindowAtDefaultPlace();
    try {
        if (seams.windowCreated) seams.windowCreated(hwnd_);
        CreateControls();
        colours_ = std::make_unique<WindowColours>(
            WindowColours::Controls{hwnd_, children_, *cmdSwitch_, *close_, *adaptors_},
            std::move(seams.highContrast));
        ApplyFont();
        ApplyWindowIcons();

        timer_ = std::make_unique<Win32Timer>(hwnd_, kPingTimerId, kStartupTimerInterval);
        window_ = std::make_unique<Win32Window>(hwnd_, scale_);
        desk_ = std::make_unique<Win32Desk>(hwnd_);
        Text title = versionInfo_->ProductName();
        if (title.empty()) title = u"Kestrova";
        messageBox_ = std::make_unique<Win32MessageBox>(hwnd_, std::move(title), showMessage_);
        adaptors_->OnCopyFailed([this] { TellCopyFailed(); });
        adaptors_->OnShowChanges([this] { Call([this] { ShowChanges(); }); });
        adaptors_->ReadSeenWith([this] { return form_->SeenNow(); });
        form_ = std::make_unique<Form1>(
            Form1::Controls{*window_, *lblCaption_, *close_, *txtComputer_, *cmdSwitch_, *txtFreq_,
                            *lblTime_, *adaptors_, *website_, *timer_},
            Form1::Services{rpc_, wmi_, shell_, *messageBox_, *environment_, *versionInfo_,
                            *clock_, *locale_, *desk_});

        form_->Form_Load();
        desk_->WatchSession();
        loaded_ = true;
        // The period box comes first in the tab order: the first thing a user
        // changes before pressing ON.
        lastFocus_ = FirstTabStop();
        // Laid out while still hidden as well: under Wine each resize of the
        // list view in a visible window took 15 to 18 ms, over a quarter of
        // the start-up. The call after ShowWindow stays, for a show command
        // that changes the size; otherwise it moves nothing.
        form_->Form_Resize();
        ShowWindow(hwnd_, showCommand);
        form_->Form_Resize();
        // Over the window it concerns; the table works on without lights.
        if (!HasStatusImages(adaptors_->hwnd())) {
            messageBox_->Show(u"Kestrova could not load the status lights: the table shows its "
                              u"rows without them.",
                              MB_OK | MB_ICONWARNING);
        }
    } catch (...) {
        // The destructor will not run for a constructor that throws.
        ownerDestroying_ = true;
        if (hwnd_) DestroyWindow(hwnd_);
        throw;
    }
}

MainWindow::~MainWindow() {
    ownerDestroying_ = true;
    if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::PreTranslate(MSG& message) {
    if (!hwnd_) return false;
    // Wherever the focus is in the window: before the dialog manager hands
    // the key to the focused control. With no change to go to, nothing
    // happens, and the key goes nowhere else either.
    if (message.message == WM_KEYDOWN && message.wParam == VK_F8 && adaptors_ &&
        GetKeyState(VK_CONTROL) >= 0 && (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd))) {
        adaptors_->GoToChange(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message);
}

void MainWindow::CreateWindowAtDefaultPlace() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(instance_, kClassName, &windowClass)) {
        windowClass = WNDCLASSEXW{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DROPSHADOW;  // a borderless window would melt into what is behind
        windowClass.lpfnWndProc = &MainWindow::WindowProc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        // LR_SHARED: class icons live as long as the class and shared ones
        // are never destroyed. The window gets icons at its own DPI later.
        windowClass.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_KESTROVA),
                                                          IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                          GetSystemMetrics(SM_CYICON), LR_SHARED));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(IDI_KESTROVA), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        if (!RegisterClassExW(&windowClass)) ThrowLastError("registering the window class");
    }

    // Where the system puts a new window now, on that monitor, at that
    // monitor's DPI.
    const POINT place = SystemDefaultPlace(instance_);
    const HWND created = CreateWindowExW(kExStyle, kClassName, L"", kStyle, place.x, place.y, 1, 1,
                                         nullptr, nullptr, instance_, this);
    if (!created) ThrowLastError("creating the main window");
    hwnd_ = created;
    scale_.SetDpi(WindowDpi(hwnd_, dpiSources_));

    RECT frame{0, 0, scale_.ToPixels(kFormWidth), scale_.ToPixels(kFormHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT at = KeptOnWorkArea(place, size);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::CreateControls() {
    // Windowed controls first, in tab order, then the labels, each placed
    // just below the one before it: the labels end up beneath everything
    // they overlap (Label3 under txtFreq, lblCaption under Close), and Tab,
    // which follows the z-order, visits the focusable controls by tab index.
    std::array<std::size_t, kControlTable.size()> order{};
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        const ControlEntry& x = kControlTable[a];
        const ControlEntry& y = kControlTable[b];
        const bool xLabel = x.kind == ControlKind::Label;
        const bool yLabel = y.kind == ControlKind::Label;
        if (xLabel != yLabel) return yLabel;
        return x.tabIndex < y.tabIndex;
    });

    HWND previous = HWND_TOP;
    for (std::size_t index : order) {
        const ControlEntry& entry = kControlTable[index];
        const int id = ControlIdOf(entry.id);
        ChildControl* child = nullptr;
        switch (entry.id) {
            case ControlId::lblCaption:
                lblCaption_ =
                    std::make_unique<Win32Label>(hwnd_, id, entry.place, scale_, entry.text);
                child = lblCaption_.get();
                break;
            case ControlId::Close:
                // The picture's name is for screen readers; it is never drawn.
                close_ = std::make_unique<Win32PictureBox>(hwnd_, id, entry.place, scale_,
                                                           instance_, IDI_CLOSE, u"Close");
                child = close_.get();
                break;
            case ControlId::txtComputer:
                txtComputer_ =
                    std::make_unique<Win32TextBox>(hwnd_, id, entry.place, scale_, entry.text);
                child = txtComputer_.get();
                break;
            case ControlId::cmdSwitch:
                cmdSwitch_ = std::make_unique<Win32CommandButton>(hwnd_, id, entry.place, scale_,
                                                                  entry.text);
                child = cmdSwitch_.get();
                break;
            case ControlId::Label3:
                label3_ = std::make_unique<Win32Label>(hwnd_, id, entry.place, scale_, entry.text);
                child = label3_.get();
                break;
            case ControlId::txtFreq:
                txtFreq_ = std::make_unique<Win32TextBox>(hwnd_, id, entry.place, scale_, entry.text);
                child = txtFreq_.get();
                break;
            case ControlId::lblTime:
                lblTime_ = std::make_unique<Win32Label>(hwnd_, id, entry.place, scale_, entry.text);
                child = lblTime_.get();
                break;
            case ControlId::Adaptors:
                adaptors_ = std::make_unique<Win32ListView>(hwnd_, id, entry.place, scale_);
                if (!adaptors_->hwnd()) ThrowLastError("creating the adapter table");
                child = adaptors_.get();
                break;
            case ControlId::website:
                website_ = std::make_unique<Win32Label>(hwnd_, id, entry.place, scale_, entry.text);
                child = website_.get();
                break;
        }
        children_[index] = child;

        // Every child clips its overlapping siblings, so a label repainting
        // never draws over a text box that lies above it.
        const HWND hwnd = child->hwnd();
        SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPSIBLINGS);
        SetWindowPos(hwnd, previous, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        previous = hwnd;
    }

    // A static control with SS_NOTIFY gets its own mouse messages, so the
    // title drag is a subclass of the label rather than hit-testing in here.
    if (!SetWindowSubclass(lblCaption_->hwnd(), &MainWindow::TitleLabelProc, 0,
                           reinterpret_cast<DWORD_PTR>(this))) {
        ThrowLastError("subclassing the title label");
    }
}

void MainWindow::ApplyFont() {
    // At the size the control places were made for.
    unique_hfont font = CreateMessageFont(kFontPoints, scale_.Dpi());
    if (!font) return;  // the controls keep the font they have
    for (ChildControl* child : children_) {
        if (child) {
            SendMessageW(child->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        }
    }
    // The old font goes only now that no control uses it any more.
    font_ = std::move(font);
}

void MainWindow::ApplyWindowIcons() {
    auto load = [this](int metricX, int at96) {
        const int size = SystemMetricForDpi(metricX, at96, scale_);
        return unique_hicon(static_cast<HICON>(LoadImageW(
            instance_, MAKEINTRESOURCEW(IDI_KESTROVA), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    unique_hicon big = load(SM_CXICON, 32);
    unique_hicon small = load(SM_CXSMICON, 16);
    if (big) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    if (small) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer shows the old icons once the new ones are set.
    if (big) bigIcon_ = std::move(big);
    if (small) smallIcon_ = std::move(small);
}

HWND MainWindow::FirstTabStop() const {
    return GetNextDlgTabItem(hwnd_, nullptr, FALSE);
}

// Said in a box: a beep goes unnoticed, and the time label would be written
// over by the next refresh.
void MainWindow::OnDeskEvent(DeskEvent event) {
    if (form_) Call([this, event] { form_->Desk_Changed(event); });
}

void MainWindow::TellCopyFailed() {
    messageBox_->Show(u"Kestrova could not copy the rows: another program may be using the "
                      u"clipboard. Try again in a moment.",
                      MB_OK | MB_ICONWARNING);
}

void MainWindow::ShowChanges() {
    if (!changes_) {
        ChangesWindow::Seams seams;
        seams.dpi = &dpiSources_;
        changes_ = std::make_unique<ChangesWindow>(instance_, hwnd_, form_->Changes(),
                                                   [this] { TellCopyFailed(); }, seams);
    }
    changes_->Show();
}

template <class Handler>
void MainWindow::Call(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        ReportUnexpected(e.what());
    } catch (...) {
        ReportUnexpected(nullptr);
    }
}

void MainWindow::ReportUnexpected(const char* what) noexcept {
    // Once per run: a fault in a timer handler would otherwise stack up a
    // box a second.
    if (unexpectedReported_) return;
    unexpectedReported_ = true;
    try {
        Text prompt = u"Kestrova ran into an unexpected problem and left what it was doing";
        if (what && *what) prompt += u": " + AsciiToText(what);
        prompt += u".";
        if (messageBox_) messageBox_->Show(prompt, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing left to tell the user with.
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Whether anybody can see the window, before what else the message does.
    if (const std::optional<DeskEvent> event = DeskEventOf(message, wParam)) OnDeskEvent(*event);
    // Colours answer their own questions and follow a change of scheme first.
    if (colours_) {
        if (const std::optional<LRESULT> answer = colours_->OnMessage(message, wParam, lParam)) {
            return *answer;
        }
    }
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                OnCommand(LOWORD(wParam), HIWORD(wParam));
                return 0;
            }
            break;

        case WM_TIMER:
            if (wParam == kPingTimerId && form_) {
                Call([this] { form_->tmrPing_Timer(); });
                return 0;
            }
            break;

        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) return 0;
            // Form_Resize reads the client size itself.
            if (loaded_ && form_) Call([this] { form_->Form_Resize(); });
            return 0;

        case WM_CLOSE:
            // Alt+F4 and the taskbar's Close go the way the close picture
            // goes, so a close during a refresh waits for it; one that comes
            // while the window is being built waits for the message loop.
            if (form_) {
                Call([this] { form_->Close_Click(); });
            } else {
                PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            }
            return 0;

        case WM_DESTROY:
            if (desk_) desk_->StopWatchingSession();
            // A window the program's owner tears down (a test, a failed
            // start) must not end that owner's message loop.
            if (!ownerDestroying_) PostQuitMessage(0);
            return 0;

        case WM_WTSSESSION_CHANGE:
            return 0;

        case WM_POWERBROADCAST:
            return TRUE;

        case WM_ACTIVATE:
            // A dialog-like window hands the focus back to the control that
            // had it, or to the first tab stop.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else if (HIWORD(wParam) == 0) {  // not minimised
                HWND target = lastFocus_;
                if (!target || !IsChild(hwnd_, target) || !IsWindowEnabled(target)) {
                    target = FirstTabStop();
                }
                if (!target) break;  // nothing to focus: the window itself takes it
                SetFocus(target);
            }
            return 0;

        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (cmdSwitch_ && item.hwndItem == cmdSwitch_->hwnd()) {
                Call([&] { cmdSwitch_->Draw(item); });
                return TRUE;
            }
            if (close_ && item.hwndItem == close_->hwnd()) {
                Call([&] { close_->Draw(item); });
                return TRUE;
            }
            break;
        }

        case WM_SETCURSOR:
            // The link looks like one.
            if (website_ && reinterpret_cast<HWND>(wParam) == website_->hwnd() &&
                LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;

        case WM_DPICHANGED: {
            const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
            Call([&] { OnDpiChanged(HIWORD(wParam), suggested); });
            return 0;
        }

        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS) ApplyFont();
            break;

        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCommand(int controlId, int code) {
    if (!form_) return;
    if (controlId == ControlIdOf(ControlId::cmdSwitch)) {
        // An owner-drawn button turns the second click of a double-click into
        // BN_DOUBLECLICKED instead of a click; a push button counts both.
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
            Call([this] { form_->cmdSwitch_Click(); });
        }
    } else if (controlId == ControlIdOf(ControlId::Close)) {
        if (code == STN_CLICKED) Call([this] { form_->Close_Click(); });
    } else if (controlId == ControlIdOf(ControlId::website)) {
        if (code == STN_CLICKED) Call([this] { form_->website_Click(); });
    }
}

bool MainWindow::HandleTitleMouse(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!form_) return false;
    // Signed: while the mouse is captured it can be left of or above the label.
    const float x = scale_.ToTwips(static_cast<short>(LOWORD(lParam)));
    const float y = scale_.ToTwips(static_cast<short>(HIWORD(lParam)));
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // the second press of a double-click
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            // Captured, so the window follows a fast mouse that leaves it.
            SetCapture(label);
            Call([&] { form_->lblCaption_MouseDown(x, y); });
            return true;
        case WM_MOUSEMOVE:
            Call([&] { form_->lblCaption_MouseMove(x, y); });
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // The release ends the drag before the capture goes, so the
            // capture change our own release causes finds it ended.
            Call([&] { form_->lblCaption_MouseUp(x, y); });
            if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == label) {
                ReleaseCapture();
            }
            return true;
        case WM_CAPTURECHANGED:
            Call([this] { form_->lblCaption_LostCapture(); });
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK MainWindow::TitleLabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclassId, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &MainWindow::TitleLabelProc, subclassId);
    } else if (reinterpret_cast<MainWindow*>(self)->HandleTitleMouse(hwnd, message, wParam,
                                                                     lParam)) {
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Also while the window is being placed, before the controls exist (placed
// across two monitors of different DPI): they are then created at this DPI.
void MainWindow::OnDpiChanged(unsigned dpi, const RECT& suggested) {
    scale_.SetDpi(dpi);
    ApplyFont();
    // Every place is kept in twips, so the same places come out at the new DPI.
    for (ChildControl* child : children_) {
        if (child) child->ApplyPlace();
    }
    if (adaptors_) adaptors_->OnDpiChanged();
    if (close_) close_->ReloadIcon();
    ApplyWindowIcons();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The suggested rectangle may keep the pixel size (a DPI change that
    // only moves the window), and then no WM_SIZE arrives.
    if (loaded_) form_->Form_Resize();
}

}  // namespace kestrova::win32

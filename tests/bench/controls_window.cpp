// The second start-up yardstick: Kestrova's window with Kestrova's controls
// and nothing else. The class, the place, the hidden creation, the controls
// (through the program's own wrappers, stacked in the same order), the
// 13-column list view with its header and lights, the message font and the
// one layout before the window is shown are done as the program does them;
// colours, icons per DPI, tips, screen-reader names, COM, the version
// resource, the timer and the program's logic are left out. The program
// measured against this window shows what its own extras cost; this window
// measured against the minimal one shows what the controls cost the platform.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "inventory/AdapterColumns.h"
#include "inventory/StatusImages.h"
#include "platform/win32/AdapterListWindow.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/DefaultPlace.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/MessageFont.h"
#include "platform/win32/StatusImageList.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommandButton.h"
#include "platform/win32/Win32Label.h"
#include "platform/win32/Win32PictureBox.h"
#include "platform/win32/Win32TextBox.h"
#include "resources/ResourceIds.h"
#include "window/ControlTable.h"
#include "window/FormLayout.h"

namespace {

using namespace kestrova;
using namespace kestrova::win32;

constexpr wchar_t kClassName[] = L"KestrovaBenchControls";
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kFirstControlId = 100;

// The adapter table as the program's list creates it, without what the
// program adds to it (subclasses, tip, names).
class ListControl final : public ChildControl {
public:
    ListControl(HWND parent, int id, const ControlPlace& place, const DpiScale& scale)
        : ChildControl(CreateAdapterList(parent, id, scale), place, scale) {}
};

struct Window {
    HWND hwnd = nullptr;
    DpiScale scale;
    std::array<std::unique_ptr<ChildControl>, kControlTable.size()> children;  // in table order
    Win32CommandButton* button = nullptr;
    Win32PictureBox* picture = nullptr;
    unique_hfont font;
};

Window* g_window = nullptr;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (g_window && g_window->button && item.hwndItem == g_window->button->hwnd()) {
                g_window->button->Draw(item);
                return TRUE;
            }
            if (g_window && g_window->picture && item.hwndItem == g_window->picture->hwnd()) {
                g_window->picture->Draw(item);
                return TRUE;
            }
            break;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::unique_ptr<ChildControl> CreateChild(Window& w, HINSTANCE instance, const ControlEntry& entry) {
    const int id = kFirstControlId + static_cast<int>(entry.id);
    switch (entry.kind) {
        case ControlKind::Label:
            return std::make_unique<Win32Label>(w.hwnd, id, entry.place, w.scale, entry.text);
        case ControlKind::TextBox:
            return std::make_unique<Win32TextBox>(w.hwnd, id, entry.place, w.scale, entry.text);
        case ControlKind::CommandButton: {
            auto button =
                std::make_unique<Win32CommandButton>(w.hwnd, id, entry.place, w.scale, entry.text);
            w.button = button.get();
            return button;
        }
        case ControlKind::PictureBox: {
            auto picture = std::make_unique<Win32PictureBox>(w.hwnd, id, entry.place, w.scale,
                                                             instance, IDI_CLOSE, u"Close");
            w.picture = picture.get();
            return picture;
        }
        case ControlKind::ListView:
            return std::make_unique<ListControl>(w.hwnd, id, entry.place, w.scale);
    }
    return nullptr;
}

// Windowed controls first in tab order, then the labels, each just below the
// one before: the program's z-order and tab order.
void CreateControls(Window& w, HINSTANCE instance) {
    std::array<std::size_t, kControlTable.size()> order{};
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        const bool aLabel = kControlTable[a].kind == ControlKind::Label;
        const bool bLabel = kControlTable[b].kind == ControlKind::Label;
        if (aLabel != bLabel) return bLabel;
        return kControlTable[a].tabIndex < kControlTable[b].tabIndex;
    });
    HWND previous = HWND_TOP;
    for (std::size_t index : order) {
        w.children[index] = CreateChild(w, instance, kControlTable[index]);
        const HWND hwnd = w.children[index]->hwnd();
        SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPSIBLINGS);
        SetWindowPos(hwnd, previous, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        previous = hwnd;
    }
}

ChildControl& Child(Window& w, ControlId id) {
    return *w.children[static_cast<std::size_t>(id)];
}

// The program's layout of its window at start-up, once, while hidden.
void LayOutOnce(Window& w) {
    const float listTop = Child(w, ControlId::Adaptors).place().top;
    const FormLayout layout = LayOut(kFormWidth, kFormHeight, listTop);
    Child(w, ControlId::lblCaption).SetWidthTwips(layout.captionWidth);
    Child(w, ControlId::Close).SetLeftTwips(layout.closeLeft);
    Child(w, ControlId::website).SetWidthTwips(layout.websiteWidth);
    Child(w, ControlId::website).SetTopTwips(layout.websiteTop);
    Child(w, ControlId::Adaptors).SetWidthTwips(layout.adaptorsWidth);
    Child(w, ControlId::Adaptors).SetHeightTwips(layout.adaptorsHeight);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DROPSHADOW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTROVA), IMAGE_ICON,
                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTROVA), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!RegisterClassExW(&windowClass)) return 1;

    Window w;
    g_window = &w;
    const POINT place = SystemDefaultPlace(instance);
    w.hwnd = CreateWindowExW(kExStyle, kClassName, L"", kStyle, place.x, place.y, 1, 1, nullptr,
                             nullptr, instance, nullptr);
    if (!w.hwnd) return 1;
    w.scale.SetDpi(GetDpiForWindow(w.hwnd));
    RECT frame{0, 0, w.scale.ToPixels(kFormWidth), w.scale.ToPixels(kFormHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT at = KeptOnWorkArea(place, size);
    SetWindowPos(w.hwnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    CreateControls(w, instance);
    w.font = CreateMessageFont(8, w.scale.Dpi());
    for (const auto& child : w.children) {
        SendMessageW(child->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(w.font.get()), TRUE);
    }
    LayOutOnce(w);
    ShowWindow(w.hwnd, showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(w.hwnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    g_window = nullptr;
    return 0;
}

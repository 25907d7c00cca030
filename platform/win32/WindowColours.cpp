#include "platform/win32/WindowColours.h"

#include <commctrl.h>

#include <utility>

#include "platform/win32/ChildControl.h"
#include "platform/win32/Win32CommandButton.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Win32PictureBox.h"
#include "window/ControlColours.h"

namespace kestrova::win32 {

namespace {

static_assert(kActiveCaptionColour == COLOR_ACTIVECAPTION);
static_assert(kWindowColour == COLOR_WINDOW);
static_assert(kWindowTextColour == COLOR_WINDOWTEXT);
static_assert(kCaptionTextColour == COLOR_CAPTIONTEXT);
static_assert(kHighlightTextColour == COLOR_HIGHLIGHTTEXT);
static_assert(kButtonFaceColour == COLOR_BTNFACE);
static_assert(kButtonTextColour == COLOR_BTNTEXT);
static_assert(kHotLightColour == COLOR_HOTLIGHT);

struct SystemPair {
    int back;
    int fore;
};

// What a control without colours of its own shows: the window pair in text
// boxes and lists, the button pair elsewhere, as on a dialog.
SystemPair SystemDefaults(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ListView:
            return {COLOR_WINDOW, COLOR_WINDOWTEXT};
        case ControlKind::Label:
        case ControlKind::PictureBox:
        case ControlKind::CommandButton:
            break;
    }
    return {COLOR_BTNFACE, COLOR_BTNTEXT};
}

// The message a control asks its parent for its colours with; 0 for the
// controls that are told theirs.
UINT AskedWith(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::PictureBox:
            return WM_CTLCOLORSTATIC;
        case ControlKind::TextBox:
            return WM_CTLCOLOREDIT;
        case ControlKind::CommandButton:
        case ControlKind::ListView:
            break;
    }
    return 0;
}

COLORREF Resolve(const ControlColour& colour, int defaultIndex) {
    switch (colour.source) {
        case ControlColour::Source::Rgb:
            return RGB(colour.rgb.red, colour.rgb.green, colour.rgb.blue);
        case ControlColour::Source::System:
            return GetSysColor(colour.systemIndex);
        case ControlColour::Source::Default:
            break;
    }
    return GetSysColor(defaultIndex);
}

constexpr std::size_t Index(ControlId id) {
    return static_cast<std::size_t>(id);
}

}  // namespace

bool SystemHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

WindowColours::WindowColours(const Controls& controls, std::function<bool()> highContrast)
    : controls_(controls),
      highContrast_(highContrast ? std::move(highContrast)
                                 : std::function<bool()>(&SystemHighContrast)) {
    Follow();
}

std::optional<LRESULT> WindowColours::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return Answer(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND: {
            if (!formBrush_) return std::nullopt;
            RECT client{};
            GetClientRect(controls_.form, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, formBrush_.get());
            return 1;
        }
        case WM_SYSCOLORCHANGE:
            // Common controls learn of it only from their parent; the list
            // takes the system's colours first, then ours again.
            SendMessageW(controls_.list.hwnd(), WM_SYSCOLORCHANGE, wParam, lParam);
            Follow();
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) Follow();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> WindowColours::Answer(UINT message, HDC dc, HWND control) const {
    for (std::size_t i = 0; i < kControlTable.size(); ++i) {
        const ChildControl* child = controls_.children[i];
        if (!child || child->hwnd() != control) continue;
        // A disabled text box asks with WM_CTLCOLORSTATIC; it keeps the
        // system's colours for disabled text.
        const Resolved& colours = resolved_[i];
        if (!colours.brush || AskedWith(kControlTable[i].kind) != message) return std::nullopt;
        SetTextColor(dc, colours.fore);
        SetBkColor(dc, colours.back);
        SetBkMode(dc, OPAQUE);
        return reinterpret_cast<LRESULT>(colours.brush.get());
    }
    return std::nullopt;
}

void WindowColours::Follow() {
    const bool highContrast = highContrast_();
    for (std::size_t i = 0; i < kControlTable.size(); ++i) {
        const ControlEntry& entry = kControlTable[i];
        const ColourPair pair = ControlColours(entry.id, highContrast);
        const SystemPair defaults = SystemDefaults(entry.kind);
        Resolved& colours = resolved_[i];
        colours.back = Resolve(pair.back, defaults.back);
        colours.fore = Resolve(pair.fore, defaults.fore);
        // A control left wholly to the system (a text box on the usual
        // scheme) is not answered: it draws exactly as it would anywhere.
        const bool answered = AskedWith(entry.kind) != 0 && pair != ColourPair{};
        colours.brush.reset(answered ? CreateSolidBrush(colours.back) : nullptr);
    }

    const Resolved& button = resolved_[Index(ControlId::cmdSwitch)];
    controls_.button.SetColours(button.back, button.fore);
    controls_.closePicture.SetBackColour(resolved_[Index(ControlId::Close)].back);
    const Resolved& list = resolved_[Index(ControlId::Adaptors)];
    const HWND listWindow = controls_.list.hwnd();
    SendMessageW(listWindow, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(list.back));
    SendMessageW(listWindow, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(list.back));
    SendMessageW(listWindow, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(list.fore));
    controls_.list.SetHighContrast(highContrast);
    formBrush_.reset(CreateSolidBrush(Resolve(FormColours(highContrast).back, COLOR_WINDOW)));

    RedrawWindow(controls_.form, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace kestrova::win32

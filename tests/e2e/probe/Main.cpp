// kestrova_probe: looks at and drives the running Kestrova from another
// process under the same wineserver, as an automation tool would. The shell
// drivers in tests/e2e call one sub-command at a time; checks print one
// PASS or FAIL line each (a failure with what was expected and what was
// seen) and exit non-zero when any failed.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "NativeWmi.h"
#include "TableView.h"
#include "SeenWindows.h"
#include "TargetWindow.h"
#include "TextWatch.h"
#include "monitor/PollingSwitch.h"
#include "window/ControlTable.h"

namespace kestrova::e2e {
namespace {

// What the user is promised, written out here rather than read from the
// program's own tables, so that a slip in those tables shows up.
struct Column {
    const wchar_t* header;
    int widthTwips;
};
constexpr Column kTableColumns[] = {
    {L"Mac", 1700},  {L"Description", 4000}, {L"IP", 1350},     {L"Gateway", 1350},
    {L"DNS", 1350},  {L"DHCP", 750},         {L"IP 2", 1300},   {L"IP 3", 1300},
    {L"DNS 2", 1300}, {L"DNS 3", 1300},      {L"Domain", 1300}, {L"MTU", 750},
    {L"Service Name", 1440},
};
constexpr int kColumns = static_cast<int>(std::size(kTableColumns));

constexpr float kClientWidthTwips = 10185.0f;  // 679 x 234 px at 96 DPI
constexpr float kClientHeightTwips = 3510.0f;

struct StartText {
    ControlId id;
    const wchar_t* text;
};
constexpr StartText kStartTexts[] = {
    {ControlId::lblCaption, L"Kestrova from kestrova.example"},
    {ControlId::cmdSwitch, L"ON"},
    {ControlId::Label3, L"Freq."},
    {ControlId::txtFreq, L"60"},
    {ControlId::lblTime, L""},
    {ControlId::website, L"kestrova.example"},
};

struct LightColour {
    Light light;
    int red, green, blue;
};
constexpr LightColour kLightColours[] = {
    {Light::Green, 76, 255, 0},
    {Light::Yellow, 255, 216, 0},
    {Light::Red, 255, 0, 0},
};

std::wstring Wide(TextView text) {
    return std::wstring(text.begin(), text.end());
}

void Print(const std::wstring& line) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);
    bytes.push_back('\n');
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

// Control characters made visible, so an expected/seen pair shows what
// differs (a tab, a line break) on one line.
std::wstring Shown(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\t') out += L"\\t";
        else if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else out.push_back(c);
    }
    return out + L"\"";
}

std::wstring RectText(const RECT& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
           std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top);
}

class Checks {
public:
    void Equal(const std::wstring& what, const std::wstring& expected, const std::wstring& seen) {
        That(what, expected == seen, L"expected " + Shown(expected) + L", saw " + Shown(seen));
    }
    void That(const std::wstring& what, bool ok, const std::wstring& detail) {
        if (ok) {
            Print(L"PASS " + what);
        } else {
            ++failed_;
            Print(L"FAIL " + what + L": " + detail);
        }
    }
    int Status() const { return failed_ == 0 ? 0 : 1; }

private:
    int failed_ = 0;
};

int Error(const std::wstring& message) {
    Print(L"FAIL " + message);
    return 2;
}

HWND TheMainWindow() {
    const std::vector<HWND> found = FindMainWindows();
    return found.size() == 1 ? found.front() : nullptr;
}

// ---- where the controls must be ---------------------------------------------

long ToPixels(float twips, unsigned dpi) {
    return std::lround(static_cast<double>(twips) * dpi / 1440.0);
}

RECT PixelsOf(const ControlPlace& place, unsigned dpi) {
    // Each edge on its own, so controls that meet in twips meet in pixels.
    return RECT{ToPixels(place.left, dpi), ToPixels(place.top, dpi),
                ToPixels(place.left + place.width, dpi), ToPixels(place.top + place.height, dpi)};
}

// The start-up places after the first layout: the title bar, the table and
// the link stretch across the client area; the close picture keeps 485 twips
// from the right edge; the link takes the bottom 500 twips and the table
// reaches down to it.
ControlPlace LaidOut(const ControlEntry& entry, float formWidth, float formHeight) {
    ControlPlace place = entry.place;
    switch (entry.id) {
        case ControlId::lblCaption:
            place.width = formWidth;
            break;
        case ControlId::Close:
            place.left = formWidth - 485.0f;
            break;
        case ControlId::Adaptors: {
            place.width = formWidth;
            const float height = formHeight - place.top - 500.0f;
            place.height = height > 0.0f ? height : 0.0f;
            break;
        }
        case ControlId::website:
            place.width = formWidth;
            place.top = formHeight - 500.0f;
            break;
        default:
            break;
    }
    return place;
}

float FormTwips(float twips, unsigned dpi) {
    const long pixels = ToPixels(twips, dpi);
    return static_cast<float>(static_cast<double>(pixels) * 1440.0 / dpi);
}

int CheckLayout(unsigned dpi) {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    Checks checks;

    RECT client{};
    GetClientRect(main, &client);
    const long width = ToPixels(kClientWidthTwips, dpi);
    const long height = ToPixels(kClientHeightTwips, dpi);
    checks.Equal(L"client size", std::to_wstring(width) + L"x" + std::to_wstring(height),
                 std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom));

    const float formWidth = FormTwips(kClientWidthTwips, dpi);
    const float formHeight = FormTwips(kClientHeightTwips, dpi);
    const float formWidth96 = FormTwips(kClientWidthTwips, 96);
    const float formHeight96 = FormTwips(kClientHeightTwips, 96);
    // Both roundings (at 96 DPI and here) may each be half a pixel off.
    const double slack = 0.5 * dpi / 96.0 + 0.5;
    for (const ControlEntry& entry : kControlTable) {
        const std::wstring name = Wide(entry.name);
        const HWND control = ControlOf(main, entry.id);
        if (!control) {
            checks.That(name + L" exists", false, L"no child with its id");
            continue;
        }
        const RECT seen = RectInParent(control);
        const RECT expected = PixelsOf(LaidOut(entry, formWidth, formHeight), dpi);
        checks.Equal(name + L" place", RectText(expected), RectText(seen));
        if (dpi != 96) {
            const RECT at96 = PixelsOf(LaidOut(entry, formWidth96, formHeight96), 96);
            const double k = dpi / 96.0;
            const bool scaled = std::fabs(seen.left - at96.left * k) <= slack &&
                                std::fabs(seen.top - at96.top * k) <= slack &&
                                std::fabs(seen.right - at96.right * k) <= slack &&
                                std::fabs(seen.bottom - at96.bottom * k) <= slack;
            wchar_t factor[16];
            std::swprintf(factor, 16, L"%g", k);
            checks.That(name + L" is its 96-DPI place scaled by " + factor, scaled,
                        L"96-DPI place " + RectText(at96) + L", here " + RectText(seen));
        }
    }

    RemoteList list(ControlOf(main, ControlId::Adaptors));
    for (int column = 0; column < kColumns; ++column) {
        const auto header = list.Column(column);
        const long expected = ToPixels(static_cast<float>(kTableColumns[column].widthTwips), dpi);
        checks.Equal(L"column " + std::to_wstring(column + 1) + L" width", std::to_wstring(expected),
                     header ? std::to_wstring(header->width) : L"<unreadable>");
    }
    return checks.Status();
}

// ---- start-up texts ---------------------------------------------------------

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[1024]{};
    const DWORD size = GetEnvironmentVariableW(name, value, 1024);
    return size < 1024 ? std::wstring(value, size) : std::wstring();
}

int CheckStartup() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    Checks checks;
    auto text = [main](ControlId id) {
        return TextOf(ControlOf(main, id)).value_or(L"<no answer>");
    };

    for (const StartText& start : kStartTexts) {
        checks.Equal(Wide(EntryOf(start.id).name) + L" text", start.text, text(start.id));
    }
    checks.Equal(L"computer box holds GetComputerNameW", ComputerName(),
                 text(ControlId::txtComputer));
    checks.Equal(L"computer box holds COMPUTERNAME", EnvironmentValue(L"COMPUTERNAME"),
                 text(ControlId::txtComputer));

    RemoteList list(ControlOf(main, ControlId::Adaptors));
    for (int column = 0; column < kColumns; ++column) {
        const auto header = list.Column(column);
        checks.Equal(L"column " + std::to_wstring(column + 1) + L" header",
                     kTableColumns[column].header,
                     header ? header->text : L"<unreadable>");
    }
    checks.Equal(L"no column after the last", L"<unreadable>",
                 list.Column(kColumns) ? L"a column" : L"<unreadable>");
    checks.Equal(L"rows", L"0", std::to_wstring(list.RowCount()));

    const HWND time = ControlOf(main, ControlId::lblTime);
    checks.That(L"lblTime visible", IsWindowVisible(time) != FALSE, L"hidden");
    const RECT timeRect = ScreenRect(time);
    for (const ControlEntry& entry : kControlTable) {
        if (entry.id == ControlId::lblTime) continue;
        RECT overlap{};
        const RECT other = ScreenRect(ControlOf(main, entry.id));
        checks.That(L"lblTime not covered by " + Wide(entry.name),
                    !IntersectRect(&overlap, &timeRect, &other),
                    L"lblTime " + RectText(timeRect) + L" meets " + RectText(other));
    }
    return checks.Status();
}

// ---- state and actions ------------------------------------------------------

struct DialogSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM search) {
    auto& s = *reinterpret_cast<DialogSearch*>(search);
    wchar_t name[16]{};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770" && GetWindow(hwnd, GW_OWNER) == s.owner &&
        IsWindowVisible(hwnd)) {
        s.found.push_back(hwnd);
    }
    return TRUE;
}

std::vector<HWND> DialogsOf(HWND owner) {
    DialogSearch search{owner, {}};
    EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM texts) {
    wchar_t name[16]{};
    GetClassNameW(hwnd, name, 16);
    if (_wcsicmp(name, L"Static") == 0) {
        const std::wstring text = TextOf(hwnd).value_or(L"");
        if (!text.empty()) reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(text);
    }
    return TRUE;
}

int State() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    auto text = [main](ControlId id) {
        return TextOf(ControlOf(main, id)).value_or(L"<no answer>");
    };
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    Print(L"switch=" + text(ControlId::cmdSwitch));
    Print(L"freq=" + text(ControlId::txtFreq));
    Print(L"freq_enabled=" +
          std::to_wstring(IsWindowEnabled(ControlOf(main, ControlId::txtFreq)) ? 1 : 0));
    Print(L"computer=" + text(ControlId::txtComputer));
    Print(L"time=" + text(ControlId::lblTime));
    Print(L"rows=" + std::to_wstring(list.RowCount()));
    Print(L"dialogs=" + std::to_wstring(DialogsOf(main).size()));
    return 0;
}

// The answer to the period warning: owned by the main window, titled with
// the product name, saying why; closed with its OK button.
int AnswerRefusal() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    std::vector<HWND> dialogs;
    for (int i = 0; i < 50 && dialogs.empty(); ++i) {
        dialogs = DialogsOf(main);
        if (dialogs.empty()) Sleep(100);
    }
    if (dialogs.size() != 1) {
        return Error(L"one warning box owned by the window within 5 s: saw " +
                     std::to_wstring(dialogs.size()));
    }
    Checks checks;
    const HWND box = dialogs.front();
    checks.Equal(L"warning box caption", L"Kestrova", TextOf(box).value_or(L"<no answer>"));
    std::vector<std::wstring> texts;
    EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    std::wstring said;
    for (const std::wstring& t : texts) said += said.empty() ? t : L" | " + t;
    checks.Equal(L"warning box text", Wide(kPeriodRefused), said);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    bool closed = false;
    for (int i = 0; i < 50 && !closed; ++i) {
        closed = !IsWindow(box) || !IsWindowVisible(box);
        if (!closed) Sleep(100);
    }
    checks.That(L"warning box closed by OK", closed, L"still open after 5 s");
    return checks.Status();
}

int Rows() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    for (const auto& row : list.Rows(kColumns)) {
        std::wstring line;
        for (const auto& cell : row) line += (line.empty() ? L"" : L"\t") + cell;
        Print(line);
    }
    return 0;
}

int CheckRows() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    const WmiTruth truth = ReadAdaptersNatively();
    if (!truth.error.empty()) return Error(L"native WMI read: " + truth.error);
    Checks checks;
    checks.That(L"WMI has adapters to compare", !truth.rows.empty(), L"the query returned none");
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    const auto rows = list.Rows(kColumns);
    checks.Equal(L"row count", std::to_wstring(truth.rows.size()), std::to_wstring(rows.size()));
    for (std::size_t r = 0; r < rows.size() && r < truth.rows.size(); ++r) {
        std::wstring differences;
        for (std::size_t c = 0; c < static_cast<std::size_t>(kColumns); ++c) {
            if (truth.rows[r].cells[c] == rows[r][c]) continue;
            differences += L"; " + std::wstring(kTableColumns[c].header) + L" expected " +
                           Shown(truth.rows[r].cells[c]) + L", saw " + Shown(rows[r][c]);
        }
        checks.That(L"row " + std::to_wstring(r + 1) + L" (" + truth.rows[r].cells[1] +
                        L") equals WMI in all 13 columns",
                    differences.empty(), differences.substr(differences.empty() ? 0 : 2));
    }
    return checks.Status();
}

const LightColour& ColourOf(Light light) {
    for (const LightColour& colour : kLightColours) {
        if (colour.light == light) return colour;
    }
    return kLightColours[0];
}

// One line per row: the screen rectangle of its light, the colour its
// status calls for ("x y width height r g b name"). The shell samples the
// screenshot there.
int Lights() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    const WmiTruth truth = ReadAdaptersNatively();
    if (!truth.error.empty()) return Error(L"native WMI read: " + truth.error);
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    if (list.RowCount() != static_cast<int>(truth.rows.size())) {
        return Error(L"table has " + std::to_wstring(list.RowCount()) + L" rows, WMI " +
                     std::to_wstring(truth.rows.size()));
    }
    for (std::size_t r = 0; r < truth.rows.size(); ++r) {
        const auto icon = list.ItemScreenRect(static_cast<int>(r), LVIR_ICON);
        if (!icon) return Error(L"icon rectangle of row " + std::to_wstring(r + 1));
        const LightColour& image = ColourOf(truth.rows[r].light);
        Print(std::to_wstring(icon->left) + L" " + std::to_wstring(icon->top) + L" " +
              std::to_wstring(icon->right - icon->left) + L" " +
              std::to_wstring(icon->bottom - icon->top) + L" " + std::to_wstring(image.red) + L" " +
              std::to_wstring(image.green) + L" " + std::to_wstring(image.blue) + L" " +
              NameOf(truth.rows[r].light));
    }
    return 0;
}

int PrintRect(const RECT& r) {
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) +
          L" " + std::to_wstring(r.bottom));
    return 0;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

int ClearClipboard() {
    if (!OpenClipboard(nullptr)) return Error(L"open the clipboard");
    EmptyClipboard();
    CloseClipboard();
    return 0;
}

// The clipboard must hold the header line and every row, tab-separated,
// each line ended by CR LF, as the table itself shows them.
int CheckClipboard() {
    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    std::wstring expected;
    for (int c = 0; c < kColumns; ++c) {
        const auto header = list.Column(c);
        expected += (c ? L"\t" : L"") + (header ? header->text : L"<unreadable>");
    }
    expected += L"\r\n";
    const auto rows = list.Rows(kColumns);
    for (const auto& row : rows) {
        for (int c = 0; c < kColumns; ++c) expected += (c ? L"\t" : L"") + row[c];
        expected += L"\r\n";
    }
    std::wstring seen;
    for (int i = 0; i < 30 && seen.empty(); ++i) {
        seen = ClipboardText();
        if (seen.empty()) Sleep(100);
    }
    Checks checks;
    checks.That(L"table has rows to copy", !rows.empty(), L"it is empty");
    checks.Equal(L"clipboard text", expected, seen);
    return checks.Status();
}

int PrintPlace(const RemoteList& list) {
    const std::optional<TablePlace> place = PlaceOf(list);
    if (!place) return Error(L"the table's place");
    std::wstring selected;
    for (const std::wstring& row : place->selected) selected += (selected.empty() ? L"" : L",") + row;
    Print(L"rows=" + std::to_wstring(place->rows));
    Print(L"top_index=" + std::to_wstring(place->topIndex));
    Print(L"top=" + place->top);
    Print(L"focused=" + place->focused);
    Print(L"selected=" + selected);
    Print(L"scroll_x=" + std::to_wstring(place->scrollX));
    return 0;
}

// The header's arrows, one word per column: none, up or down.
int PrintSortArrows(const RemoteList& list) {
    std::wstring words;
    for (int column = 0; column < kColumns; ++column) {
        const std::optional<int> format = list.HeaderFormat(column);
        if (!format) return Error(L"header item " + std::to_wstring(column));
        const wchar_t* word = (*format & HDF_SORTUP)     ? L"up"
                              : (*format & HDF_SORTDOWN) ? L"down"
                                                         : L"none";
        words += (words.empty() ? L"" : L" ") + std::wstring(word);
    }
    Print(words);
    return 0;
}

int CheckSorted(const RemoteList& list, int column, bool ascending) {
    const WmiTruth truth = ReadAdaptersNatively();
    if (!truth.error.empty()) return Error(L"native WMI read: " + truth.error);
    std::vector<std::wstring> wmiOrder;
    for (const ExpectedRow& row : truth.rows) wmiOrder.push_back(row.cells[0]);
    const auto rows = list.Rows(kColumns);
    Checks checks;
    const std::optional<std::wstring> fault = SortFault(rows, column, ascending, wmiOrder);
    checks.That(std::wstring(L"rows sorted by ") + kTableColumns[column].header +
                    (ascending ? L" ascending" : L" descending"),
                !fault, fault.value_or(L""));
    checks.Equal(L"row count", std::to_wstring(truth.rows.size()), std::to_wstring(rows.size()));
    return checks.Status();
}

int WaitFor(bool present, double seconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const std::size_t count = FindMainWindows().size();
        if (present ? count == 1 : count == 0) {
            if (present) Print(L"window=" + std::to_wstring(reinterpret_cast<UINT_PTR>(TheMainWindow())));
            return 0;
        }
        if (GetTickCount() - start > seconds * 1000.0) {
            return Error(std::wstring(present ? L"one" : L"no") + L" Kestrova window within " +
                         std::to_wstring(seconds) + L" s: saw " + std::to_wstring(count));
        }
        Sleep(100);
    }
}

// What the system's resolver says of a name, asked directly: the code a
// refresh of that name must show ("resolves" when it does).
int ResolverCode(const std::wstring& name) {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return Error(L"WSAStartup");
    ADDRINFOW* found = nullptr;
    const int error = GetAddrInfoW(name.c_str(), nullptr, nullptr, &found);
    if (found) FreeAddrInfoW(found);
    WSACleanup();
    if (error == 0) {
        Print(L"resolves");
        return 0;
    }
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(HRESULT_FROM_WIN32(error)));
    Print(code);
    return 0;
}

std::wstring Milliseconds(double ms) {
    return std::to_wstring(static_cast<long long>(ms + 0.5));
}

// With `typeInto`, `typed` goes into that control first, on the watch's clock.
int Watch(HWND control, const std::wstring& needle, double seconds, UINT patienceMs,
          HWND typeInto, const std::wstring& typed) {
    const TextWatch watch = WatchText(control, needle, seconds, patienceMs, [&] {
        return !typeInto || SetTextOf(typeInto, typed);
    });
    if (!watch.started) return Error(L"WM_SETTEXT before watching");
    std::wstring matches;
    for (double at : watch.matchesMs) matches += (matches.empty() ? L"" : L" ") + Milliseconds(at);
    Print(L"polls=" + std::to_wstring(watch.polls));
    Print(L"unanswered=" + std::to_wstring(watch.unanswered));
    Print(L"longest_answer_ms=" + Milliseconds(watch.longestAnswerMs));
    Print(L"first_match_ms=" + (watch.firstMatchMs < 0 ? L"-1" : Milliseconds(watch.firstMatchMs)));
    Print(L"match_times_ms=" + matches);
    Print(L"last_text=" + watch.lastText);
    return 0;
}

void DeclareDpiAwareness() {
    // Unaware, the probe would see the window in scaled coordinates.
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
            GetProcAddress(user32, "SetProcessDpiAwarenessContext")))) {
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    }
}

int Usage() {
    Print(L"usage: kestrova_probe wait-window [s] | wait-gone [s] | check-layout <dpi> |\n"
          L"  check-startup | state | set <control> <text> | click <control> | close |\n"
          L"  answer-refusal | rows | check-rows | lights | rect <control> | window-rect |\n"
          L"  row-rect <row> | clear-clipboard | check-clipboard | system-dpi |\n"
          L"  place | show-row <row> | scroll <dx> | header-rect <column> | sort-arrows |\n"
          L"  check-sorted <column> up|down | resolver-code <name> |\n"
          L"  hold-front <s> | front | foreground | tip | changes-visible | changes-rows |\n"
          L"  clipboard | input-pad <s> | post <message> <wparam> | minimize | restore |\n"
          L"  iconic |\n"
          L"  watch-text <control> <needle> <s> <patience-ms> [<control> <text to type first>]");
    return 2;
}

int Run(const std::vector<std::wstring>& args) {
    if (args.empty()) return Usage();
    const std::wstring& command = args[0];
    const auto number = [&args](std::size_t i, double fallback) {
        return args.size() > i ? std::wcstod(args[i].c_str(), nullptr) : fallback;
    };

    if (command == L"wait-window") return WaitFor(true, number(1, 20));
    if (command == L"wait-gone") return WaitFor(false, number(1, 10));
    if (command == L"check-layout") return CheckLayout(static_cast<unsigned>(number(1, 96)));
    if (command == L"check-startup") return CheckStartup();
    if (command == L"state") return State();
    if (command == L"answer-refusal") return AnswerRefusal();
    if (command == L"rows") return Rows();
    if (command == L"check-rows") return CheckRows();
    if (command == L"lights") return Lights();
    if (command == L"clear-clipboard") return ClearClipboard();
    if (command == L"check-clipboard") return CheckClipboard();
    if (command == L"resolver-code" && args.size() == 2) return ResolverCode(args[1]);
    if (command == L"system-dpi") {
        const HDC screen = GetDC(nullptr);
        Print(std::to_wstring(GetDeviceCaps(screen, LOGPIXELSY)));
        ReleaseDC(nullptr, screen);
        return 0;
    }

    if (command == L"hold-front") return HoldFront(number(1, 30));
    if (command == L"input-pad") return InputPad(number(1, 30));
    if (command == L"clipboard") {
        Print(ClipboardText());
        return 0;
    }

    const HWND main = TheMainWindow();
    if (!main) return Error(L"exactly one Kestrova window");
    if (command == L"close") return PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == L"front") return SetForegroundWindow(main) ? 0 : Error(L"SetForegroundWindow");
    // What Windows itself would send or do: a session locked, a computer
    // suspended, a window minimized by its taskbar button.
    if (command == L"post" && args.size() == 3) {
        return PostMessageW(main, static_cast<UINT>(number(1, 0)), static_cast<WPARAM>(number(2, 0)), 0)
                   ? 0
                   : Error(L"PostMessageW");
    }
    if (command == L"minimize") return ShowWindowAsync(main, SW_SHOWMINIMIZED) ? 0 : 1;
    if (command == L"restore") return ShowWindowAsync(main, SW_RESTORE) ? 0 : 1;
    if (command == L"iconic") {
        Print(IsIconic(main) ? L"1" : L"0");
        return 0;
    }
    if (command == L"foreground") {
        Print(ForegroundOwner(main));
        return 0;
    }
    if (command == L"tip") {
        const std::optional<std::wstring> tip = VisibleTipText(main);
        if (!tip) return Error(L"no tip shown");
        Print(*tip);
        return 0;
    }
    if (command == L"changes-rows" || command == L"changes-visible") {
        const HWND changes = ChangesWindowOf(main);
        if (command == L"changes-visible") {
            Print(changes && IsWindowVisible(changes) ? L"1" : L"0");
            return 0;
        }
        if (!changes) return Error(L"no window of changes");
        RemoteList rows(FindWindowExW(changes, nullptr, WC_LISTVIEWW, nullptr));
        for (const auto& row : rows.Rows(5)) {
            std::wstring line;
            for (const auto& cell : row) line += (line.empty() ? L"" : L"\t") + cell;
            Print(line);
        }
        return 0;
    }
    if (command == L"window-rect") return PrintRect(ScreenRect(main));
    RemoteList list(ControlOf(main, ControlId::Adaptors));
    const int at = static_cast<int>(number(1, 0));
    if (command == L"row-rect" && args.size() == 2) {
        const auto rect = list.ItemScreenRect(at, LVIR_LABEL);
        return rect ? PrintRect(*rect) : Error(L"no such row");
    }
    if (command == L"place") return PrintPlace(list);
    if (command == L"show-row" && args.size() == 2) {
        return list.Ask(LVM_ENSUREVISIBLE, static_cast<WPARAM>(at), FALSE) ? 0 : 1;
    }
    if (command == L"scroll" && args.size() == 2) {
        return list.Ask(LVM_SCROLL, static_cast<WPARAM>(at), 0) ? 0 : 1;
    }
    if (command == L"header-rect" && args.size() == 2) {
        const auto rect = list.HeaderScreenRect(at);
        return rect ? PrintRect(*rect) : Error(L"no such column");
    }
    if (command == L"sort-arrows") return PrintSortArrows(list);
    if (command == L"check-sorted" && args.size() == 3 && at >= 0 && at < kColumns) {
        return CheckSorted(list, at, args[2] == L"up");
    }

    if (args.size() < 2) return Usage();
    const auto id = ControlNamed(args[1]);
    if (!id) return Error(L"no control named " + args[1]);
    const HWND control = ControlOf(main, *id);
    if (command == L"rect") return PrintRect(ScreenRect(control));
    if (command == L"watch-text" && (args.size() == 5 || args.size() == 7)) {
        HWND typeInto = nullptr;
        if (args.size() == 7) {
            const auto other = ControlNamed(args[5]);
            if (!other) return Error(L"no control named " + args[5]);
            typeInto = ControlOf(main, *other);
        }
        return Watch(control, args[2], number(3, 5), static_cast<UINT>(number(4, 500)), typeInto,
                     args.size() == 7 ? args[6] : std::wstring());
    }
    // Posted, not sent: a press that opens a modal box would keep a sent
    // message, and the probe, waiting until the box is closed.
    if (command == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == L"set" && args.size() == 3) {
        return SetTextOf(control, args[2]) ? 0 : Error(L"WM_SETTEXT to " + args[1]);
    }
    return Usage();
}

}  // namespace
}  // namespace kestrova::e2e

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // LF line ends for the shell
    kestrova::e2e::DeclareDpiAwareness();
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return kestrova::e2e::Run(args);
}

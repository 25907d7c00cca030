#include "TextWatch.h"

#include <algorithm>

namespace kestrova::e2e {

namespace {

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

}  // namespace

TextWatch WatchText(HWND control, const std::wstring& needle, double seconds, UINT patienceMs,
                    const std::function<bool()>& first) {
    TextWatch watch;
    const double start = NowMs();
    watch.started = first();
    if (!watch.started) return watch;
    std::wstring previous;
    while (NowMs() - start < seconds * 1000.0) {
        wchar_t text[512]{};
        DWORD_PTR copied = 0;
        const double sent = NowMs();
        // SMTO_NORMAL: the patience alone decides, not the system's own idea
        // of a hung window.
        const bool answered =
            SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                                SMTO_NORMAL, patienceMs, &copied) != 0;
        const double back = NowMs();
        ++watch.polls;
        watch.longestAnswerMs = std::max(watch.longestAnswerMs, back - sent);
        if (!answered) {
            ++watch.unanswered;
            continue;
        }
        const std::wstring now(text, std::min<DWORD_PTR>(copied, 511));
        if (now.find(needle) != std::wstring::npos && now != previous) {
            if (watch.firstMatchMs < 0) watch.firstMatchMs = back - start;
            watch.matchesMs.push_back(back - start);
        }
        previous = now;
        Sleep(20);
    }
    watch.lastText = previous;
    return watch;
}

}  // namespace kestrova::e2e

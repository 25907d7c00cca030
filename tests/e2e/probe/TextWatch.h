// Watching a control's text from outside, one WM_GETTEXT at a time: how
// long the owning thread takes to answer, and when the text shows what is
// awaited. A thread that stops answering for seconds shows up here as
// unanswered polls, however the program looks on screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kestrova::e2e {

struct TextWatch {
    bool started = false;  // `first` succeeded
    int polls = 0;
    int unanswered = 0;             // not answered within the patience
    double longestAnswerMs = 0;     // of all polls, answered or not
    double firstMatchMs = -1;       // from the start; -1: never
    std::vector<double> matchesMs;  // each time a new text containing the needle was seen
    std::wstring lastText;
};

// Starts the clock, runs `first` (typing something, say), then polls
// `control` for `seconds`, about every 20 ms, each WM_GETTEXT allowed
// `patienceMs`. Nothing is polled when `first` fails.
TextWatch WatchText(HWND control, const std::wstring& needle, double seconds, UINT patienceMs,
                    const std::function<bool()>& first);

}  // namespace kestrova::e2e

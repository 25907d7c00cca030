// Another program holding the clipboard open, as clipboard history, remote
// desktop or Office do for a moment: a thread of this process opens it with a
// window of its own and keeps it open until told to let go.
#pragma once

#include <windows.h>

#include <chrono>
#include <future>
#include <thread>

namespace kestrova::win32 {

class ClipboardHolder {
public:
    ClipboardHolder() : thread_([this] { Hold(); }) {
        auto opened = opened_.get_future();
        holding_ = opened.wait_for(std::chrono::seconds(10)) == std::future_status::ready &&
                   opened.get();
        if (!holding_) LetGo();
    }
    ~ClipboardHolder() { LetGo(); }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    // Whether the other thread has the clipboard open.
    bool Holding() const { return holding_; }

    // Returns once the clipboard is closed again.
    void LetGo() {
        if (!thread_.joinable()) return;
        letGo_.set_value();
        thread_.join();
        holding_ = false;
    }

private:
    void Hold() {
        const HWND own = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
        const bool opened = own && OpenClipboard(own);
        opened_.set_value(opened);
        letGo_.get_future().wait();
        if (opened) CloseClipboard();
        if (own) DestroyWindow(own);
    }

    std::promise<bool> opened_;
    std::promise<void> letGo_;
    bool holding_ = false;
    std::thread thread_;  // last: it starts at once and uses the members above
};

}  // namespace kestrova::win32

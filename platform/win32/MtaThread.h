// A thread of the process's multithreaded apartment for the life of the
// object. What is marshaled on it belongs to that apartment: calls from
// other processes into such an object run on COM's own threads, never
// behind the user-interface thread's messages.
#pragma once

#include <windows.h>

#include <functional>

namespace kestrova::win32 {

class MtaThread {
public:
    // `enter` runs on the thread once it is in the apartment; `leave` runs
    // there before the thread leaves it: when the object goes, or at once
    // when `enter` answers false, so that what `enter` made goes in its
    // own apartment. Neither runs when the thread or the apartment could
    // not be had.
    MtaThread(std::function<bool()> enter, std::function<void()> leave);
    // Waits until `leave` has run, answering what other threads send to
    // this one meanwhile: `enter` and `leave` may send to its windows.
    ~MtaThread();
    MtaThread(const MtaThread&) = delete;
    MtaThread& operator=(const MtaThread&) = delete;

    // Waits, answering only sent messages as the destructor does, until
    // `enter` has answered true or the thread has ended, at most
    // `milliseconds`. True when `enter` answered true in time.
    bool WaitEntered(DWORD milliseconds);
    // The thread is gone before the object: `enter` answered false, or the
    // thread or the apartment could not be had.
    bool Ended() const;

private:
    static DWORD WINAPI Run(void* self);

    std::function<bool()> enter_;
    std::function<void()> leave_;
    HANDLE stop_ = nullptr;
    HANDLE entered_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace kestrova::win32

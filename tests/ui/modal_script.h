// Drives a modal loop from inside: steps run one by one while the loop of this thread pumps,
// each when the loop picks up a kick message posted after everything the previous step posted.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

class ModalScript {
public:
    using Step = std::function<void()>;

    // Starts hooking and posts the first kick; call just before DoModal. When the steps have
    // not all run after `timeoutMs`, every window of the thread is destroyed to end the loop.
    explicit ModalScript(std::vector<Step> steps, UINT timeoutMs = 5000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool AllStepsRan() const { return m_next == m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

private:
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);
    static void CALLBACK OnTimeout(HWND, UINT, UINT_PTR, DWORD);
    void Kick();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_timedOut = false;
    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
};

// The top-level dialog of this thread with caption `title`, or null.
HWND FindThreadDialog(const wchar_t* title);

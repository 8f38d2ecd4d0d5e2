#include "tests/ui/modal_script.h"

namespace {

const UINT kKick = WM_APP + 0x3A5;
ModalScript* g_script = nullptr;

BOOL CALLBACK DestroyThreadWindow(HWND hwnd, LPARAM)
{
    DestroyWindow(hwnd);
    return TRUE;
}

struct DialogSearch {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    wchar_t className[16] = {};
    wchar_t text[128] = {};
    GetClassNameW(hwnd, className, 16);
    GetWindowTextW(hwnd, text, 128);
    if (lstrcmpW(className, L"#32770") == 0 && lstrcmpW(text, search->title) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ModalScript::ModalScript(std::vector<Step> steps, UINT timeoutMs) : m_steps(std::move(steps))
{
    g_script = this;
    m_hook = SetWindowsHookExW(WH_GETMESSAGE, &ModalScript::GetMessageHook, nullptr, GetCurrentThreadId());
    m_timer = SetTimer(nullptr, 0, timeoutMs, &ModalScript::OnTimeout);
    Kick();
}

ModalScript::~ModalScript()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    if (m_timer)
        KillTimer(nullptr, m_timer);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, kKick, kKick, PM_REMOVE)) {
    }
    g_script = nullptr;
}

void ModalScript::Kick()
{
    PostThreadMessageW(GetCurrentThreadId(), kKick, 0, 0);
}

LRESULT CALLBACK ModalScript::GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg->message == kKick && !msg->hwnd && g_script) {
        msg->message = WM_NULL;
        ModalScript* self = g_script;
        if (self->m_next < self->m_steps.size()) {
            Step step = self->m_steps[self->m_next++];
            step();
            if (self->m_next < self->m_steps.size())
                self->Kick();
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void CALLBACK ModalScript::OnTimeout(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_script)
        return;
    g_script->m_timedOut = true;
    KillTimer(nullptr, g_script->m_timer);
    g_script->m_timer = 0;
    EnumThreadWindows(GetCurrentThreadId(), &DestroyThreadWindow, 0);
}

HWND FindThreadDialog(const wchar_t* title)
{
    DialogSearch search{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

#include "win/subclass.h"

#include <cstdint>
#include <cstring>

namespace win {

namespace detail {

// A link's window procedure is the code at its start: it puts the link where the window
// handle was (i686: the first stack argument; x86_64: rcx) and jumps to LinkProcedure, which
// takes the handle from the link.
struct ProcedureLink {
    unsigned char code[24];
    Subclass* owner;   // null once the object left and the link stayed in the chain
    WNDPROC previous;  // the procedure before this link
    HWND hwnd;
    bool finalMessage;  // WM_NCDESTROY is under way: the procedure gives the link back
    ProcedureLink* nextFree;

    static LRESULT CALLBACK Procedure(ProcedureLink* link, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace detail

namespace {

using detail::ProcedureLink;

// Links come from executable pages of their own and go back to a free list, so a window made
// after another one went reuses its link's address: the platform keeps a table of every
// distinct window procedure it has seen, which must not grow with each window made.
class LinkPool {
public:
    LinkPool() { ::InitializeCriticalSection(&m_lock); }

    ProcedureLink* Take()
    {
        ::EnterCriticalSection(&m_lock);
        if (!m_free)
            Grow();
        ProcedureLink* link = m_free;
        if (link) {
            m_free = link->nextFree;
            ++m_live;
        }
        ::LeaveCriticalSection(&m_lock);
        return link;
    }

    void Give(ProcedureLink* link)
    {
        ::EnterCriticalSection(&m_lock);
        link->owner = nullptr;
        link->previous = nullptr;
        link->hwnd = nullptr;
        link->finalMessage = false;
        link->nextFree = m_free;
        m_free = link;
        --m_live;
        ::LeaveCriticalSection(&m_lock);
    }

    long Live()
    {
        ::EnterCriticalSection(&m_lock);
        long live = m_live;
        ::LeaveCriticalSection(&m_lock);
        return live;
    }

private:
    void Grow()
    {
        const SIZE_T bytes = 64 * 1024;
        void* block = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
        if (!block)
            return;
        auto* links = static_cast<ProcedureLink*>(block);
        const SIZE_T count = bytes / sizeof(ProcedureLink);
        for (SIZE_T i = count; i-- > 0;) {
            WriteCode(links[i]);
            links[i].nextFree = m_free;
            m_free = &links[i];
        }
        ::FlushInstructionCache(::GetCurrentProcess(), block, bytes);
    }

    // The code never changes after the block is made: the link's address is fixed.
    static void WriteCode(ProcedureLink& link)
    {
        unsigned char* p = link.code;
        const auto put = [&p](const void* bytes, std::size_t n) {
            std::memcpy(p, bytes, n);
            p += n;
        };
        const std::uintptr_t self = reinterpret_cast<std::uintptr_t>(&link);
        const std::uintptr_t target = reinterpret_cast<std::uintptr_t>(&ProcedureLink::Procedure);
#if defined(_M_X64) || defined(__x86_64__)
        const unsigned char movRcx[] = {0x48, 0xB9};  // mov rcx, imm64
        const unsigned char movRax[] = {0x48, 0xB8};  // mov rax, imm64
        const unsigned char jmpRax[] = {0xFF, 0xE0};  // jmp rax
        put(movRcx, sizeof(movRcx));
        put(&self, 8);
        put(movRax, sizeof(movRax));
        put(&target, 8);
        put(jmpRax, sizeof(jmpRax));
#elif defined(_M_IX86) || defined(__i386__)
        const unsigned char movArg[] = {0xC7, 0x44, 0x24, 0x04};  // mov dword [esp+4], imm32
        const unsigned char movEax = 0xB8;                         // mov eax, imm32
        const unsigned char jmpEax[] = {0xFF, 0xE0};               // jmp eax
        put(movArg, sizeof(movArg));
        put(&self, 4);
        put(&movEax, 1);
        put(&target, 4);
        put(jmpEax, sizeof(jmpEax));
#else
#error "window procedure thunks are written for x86 and x86-64 only"
#endif
        std::memset(p, 0xCC, link.code + sizeof(link.code) - p);  // int3 after the jump
    }

    CRITICAL_SECTION m_lock;
    ProcedureLink* m_free = nullptr;
    long m_live = 0;
};

LinkPool& Pool()
{
    static LinkPool pool;  // never destroyed before the last window: links outlive objects
    return pool;
}

WNDPROC ProcedureOf(const ProcedureLink* link)
{
    return reinterpret_cast<WNDPROC>(const_cast<unsigned char*>(link->code));
}

}  // namespace

LRESULT CALLBACK ProcedureLink::Procedure(ProcedureLink* link, UINT msg, WPARAM wp, LPARAM lp)
{
    const HWND hwnd = link->hwnd;
    const WNDPROC previous = link->previous;
    Subclass* owner = link->owner;
    if (msg == WM_NCDESTROY) {
        // Last message of the window: nothing reaches this link after it, wherever it stands.
        link->finalMessage = true;
        if (owner) {
            owner->OnFinalMessage();
            if (link->owner)  // the handler may have detached already
                owner->Forget();
        }
        link->owner = nullptr;
        const LRESULT result = ::CallWindowProcW(previous, hwnd, msg, wp, lp);
        Pool().Give(link);
        return result;
    }
    if (!owner)
        return ::CallWindowProcW(previous, hwnd, msg, wp, lp);
    return owner->OnSubclassMessage(msg, wp, lp);
}

Subclass::~Subclass()
{
    DetachFrom();
}

bool Subclass::AttachTo(HWND hwnd)
{
    DWORD process = 0;
    if (m_pLink || !hwnd || !::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId())
        return false;
    ProcedureLink* link = Pool().Take();
    if (!link)
        return false;
    link->hwnd = hwnd;
    link->owner = this;
    link->finalMessage = false;
    link->previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!link->previous) {
        Pool().Give(link);
        return false;
    }
    m_pLink = link;
    m_hAttached = hwnd;
    m_prevProc = link->previous;
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcedureOf(link)));
    return true;
}

void Subclass::Forget()
{
    m_pLink->owner = nullptr;
    m_pLink = nullptr;
    m_hAttached = nullptr;
    m_prevProc = nullptr;
}

HWND Subclass::DetachFrom()
{
    ProcedureLink* link = m_pLink;
    const HWND hwnd = m_hAttached;
    if (!link)
        return nullptr;
    Forget();
    // Out of the chain only while in front; behind a later procedure the link forwards until
    // the window goes (and is given back then). During WM_NCDESTROY the procedure gives it back.
    if (!link->finalMessage &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == ProcedureOf(link)) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous));
        Pool().Give(link);
    }
    return hwnd;
}

HWND Subclass::GetAttachedWindow() const
{
    return m_hAttached;
}

LRESULT Subclass::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const
{
    if (!m_prevProc)
        return ::DefWindowProcW(m_hAttached, msg, wp, lp);
    return ::CallWindowProcW(m_prevProc, m_hAttached, msg, wp, lp);
}

long LiveProcedureLinks()
{
    return Pool().Live();
}

}  // namespace win

#include "win/accessible.h"

#include "win/window.h"

#include <oleacc.h>
#include <ole2.h>

#include <new>

namespace win {

bool AccessibleParts::Name(int, std::wstring&) const { return false; }
bool AccessibleParts::Role(int, long&) const { return false; }
bool AccessibleParts::State(int, long&) const { return false; }
bool AccessibleParts::KeyboardShortcut(int, std::wstring&) const { return false; }
bool AccessibleParts::Location(int, RECT&) const { return false; }
bool AccessibleParts::FocusedItem(int&) const { return false; }
bool AccessibleParts::SelectedItem(int&) const { return false; }
bool AccessibleParts::DoDefaultAction(int) { return false; }

bool AccessibleLabel::Name(int item, std::wstring& name) const
{
    if (item != 0 || m_name.empty())
        return false;
    name = m_name;
    return true;
}

bool AccessibleLabel::Role(int item, long& role) const
{
    if (item != 0 || m_role == 0)
        return false;
    role = m_role;
    return true;
}

std::wstring TextWithoutMnemonic(const std::wstring& caption)
{
    std::wstring text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size())
            ++i;  // the marked character (or the second "&" of "&&") stays
        else if (caption[i] == L'&')
            continue;
        text += caption[i];
    }
    return text;
}

std::wstring MnemonicShortcut(const std::wstring& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&') {
            wchar_t key[2] = {caption[i + 1], 0};
            ::CharUpperW(key);
            return std::wstring(L"Alt+") + key;
        }
        ++i;
    }
    return std::wstring();
}

namespace {

// oleacc and oleaut32 from the system folder on the first reader's request: a start that no
// reader asks anything of does not pay for loading them.
struct AccessibilityFunctions {
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) resultFromObject = nullptr;
    decltype(&::SysAllocStringLen) allocString = nullptr;
    decltype(&::SysStringLen) stringLength = nullptr;
    decltype(&::SysFreeString) freeString = nullptr;

    bool Complete() const
    {
        return createStandard && resultFromObject && allocString && stringLength && freeString;
    }
};

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return ::LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

template <typename Fn>
void Find(HMODULE module, const char* name, Fn& fn)
{
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// Loaded once and kept for the life of the process: objects handed to readers call into them.
const AccessibilityFunctions& Functions()
{
    static const AccessibilityFunctions functions = [] {
        AccessibilityFunctions f;
        const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
        const HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
        Find(oleacc, "CreateStdAccessibleObject", f.createStandard);
        Find(oleacc, "LresultFromObject", f.resultFromObject);
        Find(oleaut, "SysAllocStringLen", f.allocString);
        Find(oleaut, "SysStringLen", f.stringLength);
        Find(oleaut, "SysFreeString", f.freeString);
        return f;
    }();
    return functions;
}

// VariantInit's whole work, without oleaut32.
void InitVariant(VARIANT* out)
{
    ::ZeroMemory(out, sizeof(*out));  // VT_EMPTY
}

// A name as the standard object may give it for an item whose text starts or ends with a line
// break (a list's labels): without the breaks.
std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L"\r\n");
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(L"\r\n") - first + 1);
}

HRESULT ReturnText(const std::wstring& text, BSTR* out)
{
    *out = Functions().allocString(text.c_str(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetItem(VARIANT* out, int item)
{
    InitVariant(out);
    out->vt = VT_I4;
    out->lVal = item;
}

class ClientAccessible final : public IAccessible, public IOleWindow {
public:
    ClientAccessible(HWND window, IAccessible* standard) : m_hWnd(window), m_standard(standard) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
            *object = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *object = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch: screen readers call IAccessible directly.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = m_hWnd;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        return m_standard ? m_standard->get_accParent(parent) : S_FALSE;
    }
    STDMETHODIMP get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        if (AccessibleParts* parts = Parts(); parts && parts->ItemCount() >= 0) {
            *count = parts->ItemCount();
            return S_OK;
        }
        *count = 0;
        return m_standard ? m_standard->get_accChildCount(count) : S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (OwnItems()) {
            int item = 0;
            return ItemOf(child, item) ? S_FALSE : E_INVALIDARG;  // items are simple elements
        }
        return m_standard ? m_standard->get_accChild(child, object) : E_INVALIDARG;
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, &AccessibleParts::Name, &IAccessible::get_accName, true);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override
    {
        return Text(child, value, nullptr, &IAccessible::get_accValue, false);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override
    {
        return Text(child, description, nullptr, &IAccessible::get_accDescription, false);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override
    {
        return Text(child, help, nullptr, &IAccessible::get_accHelp, false);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return Text(child, shortcut, &AccessibleParts::KeyboardShortcut, &IAccessible::get_accKeyboardShortcut, false);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Text(child, action, nullptr, &IAccessible::get_accDefaultAction, false);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        return Number(child, role, &AccessibleParts::Role, &IAccessible::get_accRole);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override
    {
        return Number(child, state, &AccessibleParts::State, &IAccessible::get_accState);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        return m_standard && !IsOwnItem(item) ? m_standard->get_accHelpTopic(file, child, topic) : S_FALSE;
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override
    {
        return Choice(focus, &AccessibleParts::FocusedItem, &IAccessible::get_accFocus);
    }
    STDMETHODIMP get_accSelection(VARIANT* selection) override
    {
        return Choice(selection, &AccessibleParts::SelectedItem, &IAccessible::get_accSelection);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override
    {
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        if (IsOwnItem(item))
            return DISP_E_MEMBERNOTFOUND;
        return m_standard ? m_standard->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        RECT rc{};
        AccessibleParts* parts = Parts();
        const bool ours = parts && parts->Location(item, rc);
        if (!ours && m_standard && !IsOwnItem(item))
            return m_standard->accLocation(left, top, width, height, child);
        if (!ours && (item != 0 || !::GetWindowRect(m_hWnd, &rc)))
            return S_FALSE;
        *left = rc.left;
        *top = rc.top;
        *width = rc.right - rc.left;
        *height = rc.bottom - rc.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        InitVariant(end);
        int item = 0;
        if (!ItemOf(start, item))
            return E_INVALIDARG;
        AccessibleParts* parts = Parts();
        if (!OwnItems() || (item == 0 && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return m_standard ? m_standard->accNavigate(direction, start, end) : S_FALSE;
        const int count = parts->ItemCount();
        int target = 0;
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
            target = 1;
            break;
        case NAVDIR_LASTCHILD:
            target = count;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_RIGHT:
            target = item + 1;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_LEFT:
            target = item - 1;
            break;
        default:
            return S_FALSE;
        }
        if (target < 1 || target > count)
            return S_FALSE;
        SetItem(end, target);
        return S_OK;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override
    {
        if (!hit)
            return E_POINTER;
        InitVariant(hit);
        if (!OwnItems())
            return m_standard ? m_standard->accHitTest(x, y, hit) : S_FALSE;
        const POINT point{x, y};
        AccessibleParts* parts = Parts();
        for (int item = 1; item <= parts->ItemCount(); ++item) {
            RECT rc{};
            if (parts->Location(item, rc) && ::PtInRect(&rc, point)) {
                SetItem(hit, item);
                return S_OK;
            }
        }
        RECT window{};
        if (::GetWindowRect(m_hWnd, &window) && ::PtInRect(&window, point)) {
            SetItem(hit, CHILDID_SELF);
            return S_OK;
        }
        return S_FALSE;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override
    {
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        if (AccessibleParts* parts = Parts(); parts && parts->DoDefaultAction(item))
            return S_OK;
        if (m_standard && !IsOwnItem(item))
            return m_standard->accDoDefaultAction(child);
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ClientAccessible()
    {
        if (m_standard)
            m_standard->Release();
    }

    // The window's answers, while its framework object is there.
    AccessibleParts* Parts() const
    {
        Window* window = ::IsWindow(m_hWnd) ? Window::FromHandle(m_hWnd) : nullptr;
        return window ? window->GetAccessibleParts() : nullptr;
    }
    bool OwnItems() const
    {
        AccessibleParts* parts = Parts();
        return parts && parts->ItemCount() >= 0;
    }
    bool IsOwnItem(int item) const { return item > 0 && OwnItems(); }

    // The item a VARIANT names: 0 for the window itself, 1..n for its items.
    bool ItemOf(const VARIANT& child, int& item) const
    {
        if (child.vt != VT_I4 && child.vt != VT_I2)
            return false;
        item = child.vt == VT_I4 ? static_cast<int>(child.lVal) : child.iVal;
        if (item == CHILDID_SELF)
            return true;
        long count = 0;
        const_cast<ClientAccessible*>(this)->get_accChildCount(&count);
        return item >= 1 && item <= count;
    }

    using PartsText = bool (AccessibleParts::*)(int, std::wstring&) const;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    HRESULT Text(VARIANT child, BSTR* out, PartsText ours, StandardText theirs, bool trim)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        std::wstring text;
        if (AccessibleParts* parts = Parts(); ours && parts && (parts->*ours)(item, text))
            return ReturnText(text, out);
        if (!m_standard || IsOwnItem(item))
            return S_FALSE;
        const HRESULT result = (m_standard->*theirs)(child, out);
        if (trim && result == S_OK && *out) {
            const std::wstring trimmed = Trimmed(*out);
            if (trimmed.size() != Functions().stringLength(*out)) {
                Functions().freeString(*out);
                return ReturnText(trimmed, out);
            }
        }
        return result;
    }

    using PartsNumber = bool (AccessibleParts::*)(int, long&) const;
    using StandardNumber = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
    HRESULT Number(VARIANT child, VARIANT* out, PartsNumber ours, StandardNumber theirs)
    {
        if (!out)
            return E_POINTER;
        InitVariant(out);
        int item = 0;
        if (!ItemOf(child, item))
            return E_INVALIDARG;
        long value = 0;
        if (AccessibleParts* parts = Parts(); parts && (parts->*ours)(item, value)) {
            SetItem(out, static_cast<int>(value));
            return S_OK;
        }
        if (!m_standard || IsOwnItem(item))
            return S_FALSE;
        return (m_standard->*theirs)(child, out);
    }

    using PartsChoice = bool (AccessibleParts::*)(int&) const;
    using StandardChoice = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT*);
    HRESULT Choice(VARIANT* out, PartsChoice ours, StandardChoice theirs)
    {
        if (!out)
            return E_POINTER;
        InitVariant(out);
        int item = 0;
        AccessibleParts* parts = Parts();
        if (parts && (parts->*ours)(item)) {
            SetItem(out, item);
            return S_OK;
        }
        if (OwnItems() || !m_standard)
            return S_FALSE;  // none of the window's own items
        return (m_standard->*theirs)(out);
    }

    LONG m_refs = 1;
    HWND m_hWnd;
    IAccessible* m_standard;  // owned reference, or null
};

}  // namespace

IAccessible* CreateClientAccessible(HWND window)
{
    if (!Functions().Complete())
        return nullptr;
    IAccessible* standard = nullptr;
    if (FAILED(Functions().createStandard(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))))
        standard = nullptr;
    IAccessible* object = new (std::nothrow) ClientAccessible(window, standard);
    if (!object && standard)
        standard->Release();
    return object;
}

LRESULT AnswerClientObjectRequest(HWND window, WPARAM wParam)
{
    IAccessible* object = CreateClientAccessible(window);
    if (!object)
        return 0;
    const LRESULT result = Functions().resultFromObject(IID_IAccessible, wParam, object);
    object->Release();  // the result holds its own reference
    return result;
}

}  // namespace win

// What a window tells a screen reader through the accessibility interface (IAccessible of its
// client area): the system's standard object for the window's class, with the answers a window
// gives of itself taking precedence. A window drawn by the program (owner-drawn buttons, a
// painted tab strip) names its parts here; a control the system knows keeps its own answers.
#pragma once
#include <windows.h>

#include <string>

struct IAccessible;

namespace win {

// The answers of one window, for the window itself (item 0) or one of its items (1..n, parts
// without windows of their own). Each returns false to leave the question to the standard object.
class AccessibleParts {
public:
    // How many items the window has; -1 leaves the count (and the items) to the standard object.
    virtual int ItemCount() const { return -1; }
    virtual bool Name(int item, std::wstring& name) const;
    virtual bool Role(int item, long& role) const;
    virtual bool State(int item, long& state) const;
    virtual bool KeyboardShortcut(int item, std::wstring& shortcut) const;
    // The item's rectangle in screen coordinates.
    virtual bool Location(int item, RECT& screen) const;
    // The item that has the keyboard focus (0: the window itself); false: none of them.
    virtual bool FocusedItem(int& item) const;
    // The selected item; false: none.
    virtual bool SelectedItem(int& item) const;
    // Does what the item is for (clicks a button, makes a tab current); false when it cannot.
    virtual bool DoDefaultAction(int item);

protected:
    ~AccessibleParts() = default;
};

// A name and a role for a window the standard object leaves unnamed (a view named by its tab).
class AccessibleLabel : public AccessibleParts {
public:
    AccessibleLabel() = default;
    AccessibleLabel(std::wstring name, long role) : m_name(std::move(name)), m_role(role) {}
    bool Name(int item, std::wstring& name) const override;
    bool Role(int item, long& role) const override;

private:
    std::wstring m_name;
    long m_role = 0;
};

// The text of a caption as a screen reader says it: without the "&" marks of its mnemonic
// ("&&" stays one "&").
std::wstring TextWithoutMnemonic(const std::wstring& caption);
// The mnemonic's key of a caption as the keyboard shortcut ("Alt+O"), or empty.
std::wstring MnemonicShortcut(const std::wstring& caption);

// The accessible object of `window`'s client area, answering through the framework object of
// the window (looked up at every call, so the object may outlive the window); one reference for
// the caller, or null.
IAccessible* CreateClientAccessible(HWND window);

// The answer to WM_GETOBJECT for the client area of `window` with the object above.
LRESULT AnswerClientObjectRequest(HWND window, WPARAM wParam);

}  // namespace win

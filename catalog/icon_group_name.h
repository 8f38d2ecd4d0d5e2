// The name of one icon-group resource: an integer id or an owned copy of a text name.
#pragma once
#include <windows.h>

#include <string>

class IconGroupName {
public:
    // Copies a name handed out by the resource enumeration (valid only during its callback).
    void Assign(LPCWSTR name)
    {
        m_bSet = true;
        m_bText = !IS_INTRESOURCE(name);
        m_nId = m_bText ? 0 : static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        m_strText = m_bText ? std::wstring(name) : std::wstring();
    }
    void Clear()
    {
        m_bSet = false;
        m_bText = false;
        m_nId = 0;
        m_strText.clear();
        m_strText.shrink_to_fit();
    }
    bool IsSet() const { return m_bSet; }
    bool IsText() const { return m_bText; }
    // The name as resource functions take it; valid while this object is unchanged.
    LPCWSTR Get() const { return m_bText ? m_strText.c_str() : MAKEINTRESOURCEW(m_nId); }

private:
    bool m_bSet = false;
    bool m_bText = false;
    WORD m_nId = 0;
    std::wstring m_strText;
};

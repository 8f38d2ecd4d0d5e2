#include "ui/name_tip.h"

#include "catalog/app_info.h"
#include "ui/entry_list.h"

namespace {

const int kWidestTip = 400;  // longer names wrap

}  // namespace

void CNameTip::Attach(const win::ListCtrl& list)
{
    if (m_tip.Create(list.GetSafeHwnd()))
        m_tip.SetMaxWidth(kWidestTip);
}

void CNameTip::OnMouseEvent(const win::ListCtrl& list, UINT msg, POINT client)
{
    if (msg == WM_MOUSEMOVE) {
        const int item = list.HitTest(client);
        if (item != m_nItem) {
            m_nItem = item;
            m_tip.Pop();  // another row's name, if any, after the usual wait
        }
    }
    m_tip.Relay(msg, client);
}

bool CNameTip::OnNotify(const win::ListCtrl& list, NMHDR* hdr)
{
    if (!hdr || !m_tip.GetSafeHwnd() || hdr->hwndFrom != m_tip.GetSafeHwnd() || hdr->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
    const CAppInfo* entry = m_nItem >= 0 ? entry_list::EntryAt(list, m_nItem) : nullptr;
    m_text = entry && entry_list::NameCutShort(list, m_nItem) ? entry->m_strAppName : std::wstring();
    info->szText[0] = L'\0';
    info->hinst = nullptr;
    info->lpszText = &m_text[0];  // stays valid until the tip asks again
    return true;
}

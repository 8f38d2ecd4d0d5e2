#include "catalog/category_names.h"
#include "res/resource.h"
#include "win/resource_module.h"

CCategoryNames::CCategoryNames()
{
    for (int position = 0; position < kNamedCategoryCount; ++position)
        m_strCaptions[position] = LoadResString(IDS_CATEGORY_FIRST + position);
    m_strCaptions[kOthersPosition] = LoadResString(IDS_CATEGORY_OTHERS);
}

CCategoryNames::~CCategoryNames() = default;

const std::wstring& CCategoryNames::Caption(int position) const
{
    static const std::wstring none;
    return position >= 0 && position < kCategoryCaptionCount ? m_strCaptions[position] : none;
}
